#include "display_bench.h"

#include "form/form_items.h"
#include "display/ui/live_gauges_view.h"
#include "display/ui/print_screen.h"
#include "display/ui/statistics_panel.h"
#include "display/ui/strip_chart_view.h"
#include "editors/scale.h"

#include <QFile>
#include <QImage>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>

#include <array>

namespace telmora {

class MeasurementDisplayTest : public QObject {
    Q_OBJECT
  private slots:
    void Reading_UpdatesStatisticsChartAndGaugesBeyondTheMaximumAtTheBarEnd();
    void LostEchoAndReset_ShowLostOnRedThenZerosCountingAfresh();
    void ChartButtons_StopStartAndResetTheTrace();
    void ChartSpeed_ScrollBarSetsTheSpacingOfLaterPoints();
    void ChartTrace_SurvivesRepaintAndResize();
    void Meter_ReadsTheAnalogBoxesAndTheEchoLossLevel();
    void Silence_HidesTheGaugesAfterAbout5Seconds();
    void Controls_HaveTheirCaptionsAndTooltips();
    void Print_RedrawsOnThePrintScaleAndGivesOnePagePerCopy_data();
    void Print_RedrawsOnThePrintScaleAndGivesOnePagePerCopy();
    void PrintCancelled_PrintsNothing();
};

void MeasurementDisplayTest::Reading_UpdatesStatisticsChartAndGaugesBeyondTheMaximumAtTheBarEnd() {
    DisplayBench b;
    b.display->ShowReading(10.0f);
    b.display->ShowReading(12.0f);
    QCOMPARE(QStringList({b.Text("txtCurrDistance"), b.Text("txtAveDistance"),
                          b.Text("txtNumOfSamples"), b.Text("txtCurrentDistance")}),
             QStringList({"12.00", "11.00", "2", "12.00"}));
    const StripChart& chart = b.display->Chart().Model();
    QCOMPARE(chart.ChartX(), 120.0f + 80.0f);
    QCOMPARE(chart.ChartPoints().at(80), 12.0f);
    QCOMPARE(b.Visible({"Frame1", "linTargetLineTop"}).size(), 2);
    const double x = DistanceToX({840, 6495}, 12.0f, 8.0f, 221.77f);
    const FormGeometry& g = b.geometry;
    auto* top = b.Control<FormLine>("linTargetLineTop");
    QCOMPARE(
        QList<double>({g.Left(b.Control("Frame1")), g.Left(b.Control("fraVoltmeter")),
                       g.LineStart(top).x, g.LineEnd(top).x, g.LineStart(top).y, g.LineEnd(top).y}),
        QList<double>({x, x, x, x, 2520, 600}));
    b.display->ShowReading(500.0f);
    const double barEnd = 840.0 + 6495.0;
    QCOMPARE(QList<double>({g.Left(b.Control("Frame1")), g.Left(b.Control("fraVoltmeter")),
                            g.LineStart(b.Control<FormLine>("linTargetLineBottom")).x}),
             QList<double>({barEnd, barEnd, barEnd}));
}

void MeasurementDisplayTest::LostEchoAndReset_ShowLostOnRedThenZerosCountingAfresh() {
    DisplayBench b;
    auto* current = b.Control<QLineEdit>("txtCurrDistance");
    const auto background = [current] { return current->palette().color(QPalette::Base); };
    b.display->ShowReading(20.0f);
    b.display->ShowReading(0.0f);
    QCOMPARE(current->text(), QString("Lost!!"));
    QCOMPARE(background(), QColor(255, 0, 0));
    QCOMPARE(b.Text("txtNumOfSamples") + " " + b.Text("txtCurrentDistance"), QString("1 0.00"));
    QCOMPARE(b.Visible({"Frame1", "linTargetLineTop", "linTargetLineBottom", "fraVoltmeter"}),
             QStringList({"fraVoltmeter"}));
    // A lost echo is still charted, on the top edge.
    QCOMPARE(b.display->Chart().Model().ChartY(), std::int16_t(5520));
    b.display->ShowReading(22.0f);
    QCOMPARE(current->text(), QString("22.00"));
    QCOMPARE(background(), QColor(255, 255, 255));

    b.display->ShowReading(0.0f);
    QTest::mouseClick(b.Control<QPushButton>("cmdResetStats"), Qt::LeftButton);
    QCOMPARE(QStringList({b.Text("txtCurrDistance"), b.Text("txtAveDistance"),
                          b.Text("txtSDDistance"), b.Text("txtMaxDistance"),
                          b.Text("txtMinDistance"), b.Text("txtNumOfSamples")}),
             QStringList({"0.00", "0.00", "0.00", "0.00", "0.00", "0"}));
    QCOMPARE(background(), QColor(255, 255, 255));
    // The minimum starts afresh, not from the zero shown.
    b.display->ShowReading(12.5f);
    QCOMPARE(b.Text("txtMinDistance") + " " + b.Text("txtNumOfSamples"), QString("12.50 1"));
}

void MeasurementDisplayTest::ChartButtons_StopStartAndResetTheTrace() {
    DisplayBench b;
    StripChartView& chart = b.display->Chart();
    b.display->ShowReading(50.0f);
    b.display->ShowReading(60.0f);
    QTest::mouseClick(b.Control<QPushButton>("cmdStripChartStop"), Qt::LeftButton);
    b.display->ShowReading(70.0f);
    QCOMPARE(chart.Model().ChartX(), 200.0f);
    QTest::mouseClick(b.Control<QPushButton>("cmdStripChartStart"), Qt::LeftButton);
    b.display->ShowReading(70.0f);
    QCOMPARE(chart.Model().ChartX(), 240.0f);
    chart.FlushDrawing();
    QTest::mouseClick(b.Control<QPushButton>("cmdStripChartStop"), Qt::LeftButton);
    QTest::mouseClick(b.Control<QPushButton>("CmdStripChartRedraw"), Qt::LeftButton);
    // Reset erases at once, also while stopped: only the empty box is retained.
    QCOMPARE(chart.Model().ChartX(), 120.0f);
    QCOMPARE(chart.RetainedTrace().size(), std::size_t(3));
    QCOMPARE(chart.RetainedTrace()[0].kind, DrawOp::Kind::FillBackground);
}

void MeasurementDisplayTest::ChartSpeed_ScrollBarSetsTheSpacingOfLaterPoints() {
    DisplayBench b;
    auto* speed = b.Control<QScrollBar>("hsbChartSpeed");
    QCOMPARE(speed->minimum(), 1);
    b.display->ShowReading(50.0f);
    speed->setValue(80);
    b.display->ShowReading(50.0f);
    speed->triggerAction(QAbstractSlider::SliderPageStepSub);
    b.display->ShowReading(50.0f);
    // 40 at start-up, then the maximum, then one page of 10 down.
    QCOMPARE(b.display->Chart().Model().ChartX(), 120.0f + 40 + 80 + 70);
}

namespace {

// Dark pixels of the trace inside the chart box of a picture of the surface.
int TracePixels(DisplayBench& b) {
    const QImage shot = b.surface.grab().toImage();
    const TwipRect box = b.geometry.Rect(b.Control("StripChartBox"));
    const QRect inner(static_cast<int>(box.left / b.geometry.TwipsPerPixelX()) + 3,
                      static_cast<int>(box.top / b.geometry.TwipsPerPixelY()) + 3,
                      static_cast<int>(box.width / b.geometry.TwipsPerPixelX()) - 6,
                      static_cast<int>(box.height / b.geometry.TwipsPerPixelY()) - 6);
    int dark = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
            if (qGray(shot.pixel(x, y)) < 100) {
                ++dark;
            }
        }
    }
    return dark;
}

int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    static const QRegularExpression page(R"(/Type\s*/Page[^s])");
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
}

} // namespace

void MeasurementDisplayTest::ChartTrace_SurvivesRepaintAndResize() {
    DisplayBench b;
    QCOMPARE(TracePixels(b), 0);
    for (int i = 0; i < 100; ++i) {
        b.display->ShowReading(i % 2 == 0 ? 20.0f : 200.0f);
    }
    // Painting waits for the chart's cadence.
    QTRY_VERIFY_WITH_TIMEOUT(TracePixels(b) > 500, 5000);
    const int before = TracePixels(b);
    b.surface.repaint();
    QCOMPARE(TracePixels(b), before);
    const QSize design = b.surface.size();
    b.surface.resize(design * 3 / 2);
    QVERIFY(TracePixels(b) > before); // the zig-zag is 1.5 times as tall and wide
    b.surface.resize(design);
    QCOMPARE(TracePixels(b), before);
    // The next point continues the sweep in the box as it stands now.
    b.display->ShowReading(100.0f);
    QCOMPARE(b.display->Chart().Model().ChartX(), 120.0f + 101 * 40);
}

void MeasurementDisplayTest::Meter_ReadsTheAnalogBoxesAndTheEchoLossLevel() {
    DisplayBench b;
    auto* meter = b.Control<QLabel>("lblVoltMeter");
    b.display->ShowReading(56.0f);
    QCOMPARE(meter->text(), QString("12.0"));
    // A falling output; a lost echo keeps the reading on "NC" and shows a level otherwise.
    b.nearOutput->setText("10.0");
    b.farOutput->setText("0.0");
    b.display->ShowReading(34.0f);
    b.display->ShowReading(0.0f);
    QCOMPARE(meter->text(), QString("7.5"));
    b.echoLoss->setText("High");
    b.display->ShowReading(0.0f);
    QCOMPARE(meter->text(), QString("0.0"));
    // Boxes holding no number read as 0 and never stop the meter.
    b.nearEndpoint->setText("abc");
    b.farEndpoint->setText("");
    b.display->ShowReading(50.0f);
    QCOMPARE(meter->text(), QString("0.0"));
}

void MeasurementDisplayTest::Silence_HidesTheGaugesAfterAbout5Seconds() {
    DisplayBench b;
    LiveGaugesView& gauges = b.display->Gauges();
    QCOMPARE(gauges.Timer2().interval(), 50);
    QVERIFY(gauges.Timer2().isActive());
    gauges.Timer2().stop(); // the test drives the ticks
    const auto gaugesShown = [&b] {
        return b.Visible({"Frame1", "linTargetLineTop", "linTargetLineBottom", "fraVoltmeter"});
    };
    QCOMPARE(gaugesShown(), QStringList()); // nothing to show before the first reading
    b.display->ShowReading(50.0f);
    // Deliveries every 2.5 s keep the gauges up.
    for (int tick = 1; tick <= 300; ++tick) {
        if (tick % 50 == 0) {
            b.display->NoteReceiveEvent();
        }
        gauges.Timer2Timer();
    }
    QCOMPARE(gaugesShown().size(), 4);
    b.display->NoteReceiveEvent();
    for (int tick = 1; tick <= 100; ++tick) {
        gauges.Timer2Timer();
    }
    QCOMPARE(gaugesShown().size(), 4);
    gauges.Timer2Timer(); // the 101st tick without a delivery
    QCOMPARE(gaugesShown(), QStringList());
    QCOMPARE(b.geometry.Left(b.Control("Frame1")), 840.0 + 6495.0);
    // The echo then travels to the right end of the bar.
    double farthest = 0;
    for (int tick = 0; tick < 100; ++tick) {
        gauges.Timer2Timer();
        farthest = std::max(farthest, b.geometry.Left(b.Control("shpEcho")));
    }
    QCOMPARE(farthest, 840.0 + 6495.0);
    b.display->ShowReading(50.0f); // brings them back
    QCOMPARE(gaugesShown().size(), 4);
}

void MeasurementDisplayTest::Controls_HaveTheirCaptionsAndTooltips() {
    DisplayBench b;
    const QList<std::array<const char*, 3>> captions = {
        {"cmdResetStats", "Reset Stats", ""},
        {"cmdStripChartStart", "Start", "Restarts the chart"},
        {"cmdStripChartStop", "Stop", "Stops the chart"},
        {"CmdStripChartRedraw", "Reset", "Erases and restarts the chart at the far left"},
        {"lblStripChartControl", "Chart Control", ""},
        {"lblChartSpeed", "Chart Speed", ""},
        {"Label3", "Target", ""},
        {"lblVoltMeter", "", "Meter indicating analog output"}};
    for (const auto& [name, text, tip] : captions) {
        QWidget* control = b.Control(name);
        const QString shown = control->property("text").toString();
        QVERIFY2(*text == 0 || shown == text, name);
        QVERIFY2(*tip == 0 || control->toolTip() == tip, name);
    }
}

void MeasurementDisplayTest::Print_RedrawsOnThePrintScaleAndGivesOnePagePerCopy_data() {
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("maxRange");
    QTest::addColumn<bool>("redrawn"); // a maximum that is no positive number skips it
    QTest::newRow("one copy") << 1 << "221.77" << true;
    QTest::newRow("three copies") << 3 << "221.77" << true;
    QTest::newRow("maximum 0") << 1 << "0" << false;
    QTest::newRow("maximum inches") << 1 << "inches" << false;
}

void MeasurementDisplayTest::Print_RedrawsOnThePrintScaleAndGivesOnePagePerCopy() {
    QFETCH(int, copies);
    QFETCH(QString, maxRange);
    QFETCH(bool, redrawn);
    DisplayBench b;
    QTemporaryDir folder;
    for (int i = 1; i <= 10; ++i) {
        b.display->ShowReading(i == 3 ? 110.885f : 20.0f); // the head ends at L + 400
    }
    StripChartView& chart = b.display->Chart();
    chart.FlushDrawing();
    const std::vector<DrawOp> live = chart.RetainedTrace();
    b.txtMaxRange->setText(maxRange);
    const QString pdf = folder.filePath("out.pdf");
    std::vector<DrawOp> shown;
    NextModal modal([&, pdf, copies](QWidget* modal) {
        shown = chart.RetainedTrace(); // what the dialog comes up over
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        QVERIFY(dialog != nullptr);
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(pdf);
        dialog->printer()->setCopyCount(copies);
        dialog->done(QDialog::Accepted);
    });
    b.display->mnuFilePrintClick();
    QCOMPARE(PdfPages(pdf), copies);
    // The printer keeps the user's choice of copies for the next print.
    QCOMPARE(b.display->Print().Printer().copyCount(), copies);
    if (!redrawn) {
        QVERIFY(shown == live);
        return;
    }
    // The box is erased, then elements 0, 40, ..., 360 are drawn; 110.885 of 221.77 lies
    // at mid-height whatever the minimum range.
    QCOMPARE(shown.size(), std::size_t(3 + 10));
    QCOMPARE(shown[0].kind, DrawOp::Kind::FillBackground);
    QCOMPARE(shown.back().x2, 120.0f + 360);
    QCOMPARE(shown[3 + 3].y2, 5520.0f + 906);
    QCOMPARE(chart.Model().ChartX(), 520.0f);
    QCOMPARE(chart.Model().ChartY(), std::int16_t(shown.back().y2));
}

void MeasurementDisplayTest::PrintCancelled_PrintsNothing() {
    DisplayBench b;
    QTemporaryDir folder;
    const QString pdf = folder.filePath("cancelled.pdf");
    b.display->Print().Printer().setOutputFormat(QPrinter::PdfFormat);
    b.display->Print().Printer().setOutputFileName(pdf);
    NextModal modal([](QWidget* dialog) { dialog->close(); });
    b.display->mnuFilePrintClick();
    QVERIFY(modal.Seen());
    QVERIFY(!QFile::exists(pdf));
}

} // namespace telmora

QTEST_MAIN(telmora::MeasurementDisplayTest)
#include "measurement_display_qttest.moc"
