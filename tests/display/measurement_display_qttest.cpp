// The measurement display on a form surface: readings reach the boxes, chart and gauges
// (the figures themselves are the core's, tested there); the chart's buttons, speed bar,
// repaint and print; the gauges' silence timer.
#include "../app/app_test_support.h"
#include "config/sensor_config.h"
#include "display/statistics.h"
#include "display/ui/editor_controls.h"
#include "display/ui/live_gauges_view.h"
#include "display/ui/measurement_display.h"
#include "display/ui/print_screen.h"
#include "display/ui/strip_chart_view.h"
#include "editors/scale.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QImage>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

namespace telmora {

using app_test::NextModal;

namespace {

constexpr double kBarEnd = 840.0 + 6495.0;

// The display with stand-ins for the range bar's and analog editor's controls, which the
// gauges and the print command read.
struct Bench {
    Bench() : geometry(surface) {
        config.MinRange = 8.0f;
        config.MaxRange = 221.77f;
        surface.resize(geometry.DesignSizePixels());
        Add<QLabel>("lblRange", "", {840, 360, 6495, 135});
        Add<QLineEdit>("txtMaxRange", "221.77", {6960, 0, 615, 225});
        Add<QLineEdit>("txtAnalogNearEndpoint", "12.00", {1560, 4560, 615, 285});
        Add<QLineEdit>("txtAnalogFarEndpoint", "100.00", {5760, 3120, 615, 285});
        Add<QLineEdit>("txtAnalogNearOutput", "4.0", {120, 3720, 495, 285});
        Add<QLineEdit>("txtAnalogFarOutput", "20.0", {7560, 3480, 495, 285});
        Add<QLabel>("lblAnalogEchoLoss", "NC", {8400, 3480, 495, 255});
        const EditorControls editors{
            .lblRange = Control("lblRange"),
            .txtMaxRange = Control<QLineEdit>("txtMaxRange"),
            .txtAnalogNearEndpoint = Control<QLineEdit>("txtAnalogNearEndpoint"),
            .txtAnalogFarEndpoint = Control<QLineEdit>("txtAnalogFarEndpoint"),
            .txtAnalogNearOutput = Control<QLineEdit>("txtAnalogNearOutput"),
            .txtAnalogFarOutput = Control<QLineEdit>("txtAnalogFarOutput"),
            .lblAnalogEchoLoss = Control<QLabel>("lblAnalogEchoLoss")};
        display = new MeasurementDisplay(surface, geometry, config, editors, &surface);
        display->StartUp();
        surface.show();
    }
    template <typename T> void Add(const char* name, const char* text, TwipRect design) {
        auto* control = new T(text, &surface);
        control->setObjectName(name);
        geometry.Place(control, design);
    }
    template <typename T = QWidget> T* Control(const char* name) {
        T* control = surface.findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control named %s", name);
        }
        return control;
    }
    QString Text(const char* name) { return Control(name)->property("text").toString(); }
    void Set(const char* name, const char* text) { Control(name)->setProperty("text", text); }
    void Click(const char* name) { QTest::mouseClick(Control<QPushButton>(name), Qt::LeftButton); }
    QStringList Gauges() {
        QStringList visible;
        for (const char* name :
             {"Frame1", "linTargetLineTop", "linTargetLineBottom", "fraVoltmeter"}) {
            if (Control(name)->isVisible()) {
                visible << name;
            }
        }
        return visible;
    }
    double Left(const char* name) { return geometry.Left(Control(name)); }
    const StripChart& Chart() { return display->Chart().Model(); }

    SensorConfig config;
    FormSurface surface;
    FormGeometry geometry;
    MeasurementDisplay* display = nullptr;
};

// Dark pixels of the trace inside the chart box of a picture of the surface.
int TracePixels(Bench& b) {
    const QImage shot = b.surface.grab().toImage();
    const TwipRect box = b.geometry.Rect(b.Control("StripChartBox"));
    const double x = b.geometry.TwipsPerPixelX(), y = b.geometry.TwipsPerPixelY();
    int dark = 0;
    for (int row = int(box.Top / y) + 3; row <= int((box.Top + box.Height) / y) - 4; ++row) {
        for (int col = int(box.Left / x) + 3; col <= int((box.Left + box.Width) / x) - 4; ++col) {
            dark += qGray(shot.pixel(col, row)) < 100;
        }
    }
    return dark;
}

int PdfPages(const QString& path) {
    static const QRegularExpression page(R"(/Type\s*/Page[^s])");
    return static_cast<int>(QString::fromLatin1(app_test::ReadAll(path)).count(page));
}

} // namespace

class MeasurementDisplayTest : public QObject {
    Q_OBJECT
  private slots:
    void Reading_ReachesEveryBoxTheChartAndTheGaugesBeyondTheMaximumAtTheBarEnd();
    void LostEchoAndReset_ShowLostOnRedThenZerosCountingAfresh();
    void ChartControls_StopStartResetAndSpeed();
    void ChartTrace_SurvivesRepaintAndResize();
    void Meter_ReadsTheAnalogBoxesAndTheEchoLossLevel();
    void Silence_HidesTheGaugesAfterAbout5Seconds();
    void Print_RedrawsTheChartAndGivesOnePagePerCopy_data();
    void Print_RedrawsTheChartAndGivesOnePagePerCopy();
};

void MeasurementDisplayTest::
    Reading_ReachesEveryBoxTheChartAndTheGaugesBeyondTheMaximumAtTheBarEnd() {
    Bench b;
    Statistics stats;
    InitStats(stats);
    for (float d : {10.0f, 14.0f, 12.0f}) {
        b.display->ShowReading(d);
        DoStats(stats, d);
    }
    const StatsTexts t = FormatStats(stats, 12.0f);
    QCOMPARE(
        QStringList({b.Text("txtCurrDistance"), b.Text("txtAveDistance"), b.Text("txtSDDistance"),
                     b.Text("txtMaxDistance"), b.Text("txtMinDistance"), b.Text("txtNumOfSamples"),
                     b.Text("txtCurrentDistance")}),
        QStringList({"12.00", t.AveDistance.c_str(), t.SDDistance.c_str(), t.MaxDistance.c_str(),
                     t.MinDistance.c_str(), "3", "12.00"}));
    QCOMPARE(b.Chart().ChartPoints().at(120), 12.0f);
    const double x = DistanceToX({840, 6495}, 12.0f, 8.0f, 221.77f);
    auto* top = b.Control<FormLine>("linTargetLineTop");
    const FormGeometry& g = b.geometry;
    QCOMPARE(QList<double>({b.Left("Frame1"), b.Left("fraVoltmeter"), g.LineStart(top).X,
                            g.LineEnd(top).X, g.LineStart(top).Y, g.LineEnd(top).Y}),
             QList<double>({x, x, x, x, 2520, 600}));
    b.display->ShowReading(500.0f);
    QCOMPARE(QList<double>({b.Left("Frame1"), b.Left("fraVoltmeter"),
                            g.LineStart(b.Control<FormLine>("linTargetLineBottom")).X}),
             QList<double>({kBarEnd, kBarEnd, kBarEnd}));
}

void MeasurementDisplayTest::LostEchoAndReset_ShowLostOnRedThenZerosCountingAfresh() {
    Bench b;
    auto* current = b.Control<QLineEdit>("txtCurrDistance");
    const auto background = [current] { return current->palette().color(QPalette::Base); };
    b.display->ShowReading(20.0f);
    b.display->ShowReading(0.0f);
    QCOMPARE(b.Text("txtCurrDistance") + " " + b.Text("txtNumOfSamples"), QString("Lost!! 1"));
    QCOMPARE(background(), QColor(255, 0, 0));
    QCOMPARE(b.Gauges(), QStringList({"fraVoltmeter"}));
    QCOMPARE(b.Chart().ChartY(), std::int16_t(5520)); // still charted, on the top edge
    b.display->ShowReading(22.0f);
    QCOMPARE(background(), QColor(255, 255, 255));

    b.display->ShowReading(0.0f);
    b.Click("cmdResetStats");
    QCOMPARE(QStringList({b.Text("txtCurrDistance"), b.Text("txtAveDistance"),
                          b.Text("txtSDDistance"), b.Text("txtMaxDistance"),
                          b.Text("txtMinDistance"), b.Text("txtNumOfSamples")}),
             QStringList({"0.00", "0.00", "0.00", "0.00", "0.00", "0"}));
    QCOMPARE(background(), QColor(255, 255, 255));
    b.display->ShowReading(12.5f); // the minimum starts afresh, not from the zero shown
    QCOMPARE(b.Text("txtMinDistance") + " " + b.Text("txtNumOfSamples"), QString("12.50 1"));
}

void MeasurementDisplayTest::ChartControls_StopStartResetAndSpeed() {
    Bench b;
    StripChartView& chart = b.display->Chart();
    b.display->ShowReading(50.0f);
    b.Click("cmdStripChartStop");
    b.display->ShowReading(70.0f);
    QCOMPARE(b.Chart().ChartX(), 160.0f);
    b.Click("cmdStripChartStart");
    auto* speed = b.Control<QScrollBar>("hsbChartSpeed");
    QCOMPARE(speed->minimum(), 1);
    speed->setValue(80);
    b.display->ShowReading(50.0f);
    speed->triggerAction(QAbstractSlider::SliderPageStepSub);
    b.display->ShowReading(50.0f);
    QCOMPARE(b.Chart().ChartX(), 160.0f + 80 + 70); // the maximum, then one page of 10 down
    chart.FlushDrawing();
    // Reset erases at once, also while stopped: only the empty box is retained.
    b.Click("cmdStripChartStop");
    b.Click("CmdStripChartRedraw");
    QCOMPARE(b.Chart().ChartX(), 120.0f);
    QCOMPARE(chart.RetainedTrace().size(), std::size_t(3));
}

void MeasurementDisplayTest::ChartTrace_SurvivesRepaintAndResize() {
    Bench b;
    QCOMPARE(TracePixels(b), 0);
    for (int i = 0; i < 100; ++i) {
        b.display->ShowReading(i % 2 == 0 ? 20.0f : 200.0f);
    }
    QTRY_VERIFY_WITH_TIMEOUT(TracePixels(b) > 500, 5000); // painting waits for the cadence
    const int before = TracePixels(b);
    b.surface.repaint();
    QCOMPARE(TracePixels(b), before);
    const QSize design = b.surface.size();
    b.surface.resize(design * 3 / 2);
    QVERIFY(TracePixels(b) > before); // the zig-zag is 1.5 times as tall and wide
    b.surface.resize(design);
    QCOMPARE(TracePixels(b), before);
    b.display->ShowReading(100.0f); // continues the sweep in the box as it stands now
    QCOMPARE(b.Chart().ChartX(), 120.0f + 101 * 40);
}

void MeasurementDisplayTest::Meter_ReadsTheAnalogBoxesAndTheEchoLossLevel() {
    Bench b;
    b.Set("txtAnalogNearOutput", "10.0");
    b.Set("txtAnalogFarOutput", "0.0");
    b.display->ShowReading(34.0f);
    b.display->ShowReading(0.0f); // a lost echo on "NC" keeps the reading
    QCOMPARE(b.Text("lblVoltMeter"), QString("7.5"));
    b.Set("lblAnalogEchoLoss", "High");
    b.display->ShowReading(0.0f);
    QCOMPARE(b.Text("lblVoltMeter"), QString("0.0"));
    // Boxes holding no number read as 0 and never stop the meter.
    b.Set("txtAnalogNearEndpoint", "abc");
    b.Set("txtAnalogFarEndpoint", "");
    b.display->ShowReading(50.0f);
    QCOMPARE(b.Text("lblVoltMeter"), QString("0.0"));
}

void MeasurementDisplayTest::Silence_HidesTheGaugesAfterAbout5Seconds() {
    Bench b;
    LiveGaugesView& gauges = b.display->Gauges();
    QCOMPARE(gauges.Timer2().interval(), 50);
    QVERIFY(gauges.Timer2().isActive());
    gauges.Timer2().stop();              // the test drives the ticks
    QCOMPARE(b.Gauges(), QStringList()); // nothing to show before the first reading
    b.display->ShowReading(50.0f);
    for (int tick = 1; tick <= 300; ++tick) { // deliveries every 2.5 s keep them up
        if (tick % 50 == 0) {
            b.display->NoteReceiveEvent();
        }
        gauges.Timer2Timer();
    }
    b.display->NoteReceiveEvent();
    for (int tick = 1; tick <= 100; ++tick) {
        gauges.Timer2Timer();
    }
    QCOMPARE(b.Gauges().size(), 4);
    gauges.Timer2Timer(); // the 101st tick without a delivery
    QCOMPARE(b.Gauges(), QStringList());
    QCOMPARE(b.Left("Frame1"), kBarEnd);
    double farthest = 0; // the echo then travels to the right end of the bar
    for (int tick = 0; tick < 100; ++tick) {
        gauges.Timer2Timer();
        farthest = std::max(farthest, b.Left("shpEcho"));
    }
    QCOMPARE(farthest, kBarEnd);
    b.display->ShowReading(50.0f);
    QCOMPARE(b.Gauges().size(), 4);
}

void MeasurementDisplayTest::Print_RedrawsTheChartAndGivesOnePagePerCopy_data() {
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("maxRange");
    QTest::addColumn<bool>("redrawn"); // a maximum that is no positive number skips it
    QTest::newRow("cancelled") << 0 << "221.77" << true; // 0 copies: the dialog is cancelled
    QTest::newRow("one copy") << 1 << "221.77" << true;
    QTest::newRow("three copies") << 3 << "221.77" << true;
    QTest::newRow("maximum inches") << 1 << "inches" << false;
}

void MeasurementDisplayTest::Print_RedrawsTheChartAndGivesOnePagePerCopy() {
    QFETCH(int, copies);
    QFETCH(QString, maxRange);
    QFETCH(bool, redrawn);
    Bench b;
    QTemporaryDir folder;
    for (int i = 1; i <= 10; ++i) {
        b.display->ShowReading(i == 3 ? 110.885f : 20.0f);
    }
    StripChartView& chart = b.display->Chart();
    chart.FlushDrawing();
    const std::vector<DrawOp> live = chart.RetainedTrace();
    b.Control<QLineEdit>("txtMaxRange")->setText(maxRange);
    const QString pdf = folder.filePath("out.pdf");
    b.display->Print().Printer().setOutputFormat(QPrinter::PdfFormat);
    b.display->Print().Printer().setOutputFileName(pdf);
    std::vector<DrawOp> shown;
    NextModal modal([&, copies](QWidget* modal) {
        shown = chart.RetainedTrace(); // what the dialog comes up over
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        QVERIFY(dialog != nullptr);
        dialog->printer()->setCopyCount(qMax(copies, 1));
        dialog->done(copies > 0 ? QDialog::Accepted : QDialog::Rejected);
    });
    b.display->mnuFilePrintClick();
    QVERIFY(modal.Seen());
    QCOMPARE(PdfPages(pdf), copies);                                     // none when cancelled
    QCOMPARE(b.display->Print().Printer().copyCount(), qMax(copies, 1)); // kept for the next
    // Redrawn: the box erased, then elements 0, 40, ..., 360 on the print scale.
    QCOMPARE(shown.size(), redrawn ? std::size_t(3 + 10) : live.size());
    QCOMPARE(shown == live, !redrawn);
}

} // namespace telmora

QTEST_MAIN(telmora::MeasurementDisplayTest)
#include "measurement_display_qttest.moc"
