// The measurement display on the main window: readings reach the boxes, log, chart and gauges
// (the figures themselves are the core's, tested there); the chart's buttons, speed bar and
// print; the gauges' silence timer; the window's paint cadence.
#include "../app/app_test_support.h"
#include "app/main_window.h"
#include "config/sensor_config.h"
#include "display/ui/data_log_command.h"
#include "display/ui/live_gauges_view.h"
#include "display/ui/measurement_display.h"
#include "display/ui/paint_cadence.h"
#include "display/ui/print_screen.h"
#include "display/ui/strip_chart_view.h"
#include "editors/scale.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

namespace telmora {

using app_test::NextModal;

namespace {

constexpr double kBarEnd = 840.0 + 6495.0;

// The display on the main window, which holds the range bar's and analog editor's controls
// that the gauges and the print command read; no port is opened.
struct Bench {
    Bench() { window.show(); }
    template <typename T = QWidget> T* Control(const char* name) {
        T* control = surface.findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control named %s", name);
        }
        return control;
    }
    QStringList Texts(const QStringList& names) {
        QStringList texts;
        for (const QString& name : names) {
            texts << Control(qPrintable(name))->property("text").toString();
        }
        return texts;
    }
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

    app_test::Sandbox sandbox;
    MainWindow window;
    MeasurementDisplay* display = &window.Display();
    FormSurface& surface = window.Surface();
    FormGeometry& geometry = window.Geometry();
};

// A value box whose paints are counted.
class CountingBox : public QWidget {
  public:
    using QWidget::QWidget;
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

const QStringList kFigures = {"txtCurrDistance", "txtAveDistance", "txtSDDistance",
                              "txtMaxDistance",  "txtMinDistance", "txtNumOfSamples"};

} // namespace

class MeasurementDisplayTest : public QObject {
    Q_OBJECT
  private slots:
    void Reading_ReachesEveryBoxTheLogTheChartAndTheGaugesBeyondTheMaximumAtTheBarEnd();
    void LostEchoAndReset_ShowLostOnRedThenZerosCountingAfresh();
    void ChartControls_StopStartResetAndSpeed();
    void Meter_ReadsTheAnalogBoxesAndTheEchoLossLevel();
    void Silence_HidesTheGaugesAfterAbout5Seconds();
    void Print_RedrawsTheChartAndGivesOnePagePerCopy();
    void PaintCadence_PaintsHeldChangesOnceTogetherWhenTheIntervalEnds();
};

void MeasurementDisplayTest::
    Reading_ReachesEveryBoxTheLogTheChartAndTheGaugesBeyondTheMaximumAtTheBarEnd() {
    Bench b;
    QTemporaryDir folder;
    QVERIFY(b.display->Log().StartLog(folder.filePath("run.log")));
    for (float d : {10.0f, 14.0f, 12.0f}) {
        b.display->ShowReading(d);
    }
    QCOMPARE(b.Texts(kFigures + QStringList{"txtCurrentDistance"}),
             QStringList({"12.00", "12.00", "1.63", "14.00", "10.00", "3", "12.00"}));
    QCOMPARE(app_test::ReadAll(folder.filePath("run.log")).count(" 12.00\r\n"), 1);
    QCOMPARE(b.Chart().ChartPoints().at(120), 12.0f);
    const double x =
        DistanceToX({840, 6495}, 12.0f, b.window.Config().MinRange, b.window.Config().MaxRange);
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
    QCOMPARE(b.Texts({"txtCurrDistance", "txtNumOfSamples"}), QStringList({"Lost!!", "1"}));
    QCOMPARE(background(), QColor(255, 0, 0));
    QCOMPARE(b.Gauges(), QStringList({"fraVoltmeter"}));
    QCOMPARE(b.Chart().ChartY(), std::int16_t(5520)); // still charted, on the top edge
    b.display->ShowReading(22.0f);
    QCOMPARE(background(), QColor(255, 255, 255));

    b.display->ShowReading(0.0f);
    b.Click("cmdResetStats");
    QCOMPARE(b.Texts(kFigures), QStringList({"0.00", "0.00", "0.00", "0.00", "0.00", "0"}));
    QCOMPARE(background(), QColor(255, 255, 255));
    b.display->ShowReading(12.5f); // the minimum starts afresh, not from the zero shown
    QCOMPARE(b.Texts({"txtMinDistance", "txtNumOfSamples"}), QStringList({"12.50", "1"}));
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
    const QSize design = b.surface.size();          // a resize leaves the sweep where it stood
    for (const QSize size : {design * 3 / 2, design}) {
        b.window.resize(b.window.size() + size - b.surface.size());
        QTRY_COMPARE(b.surface.size(), size);
    }
    b.display->ShowReading(50.0f);
    QCOMPARE(b.Chart().ChartX(), 160.0f + 80 + 70 + 70);
    chart.FlushDrawing();
    // Reset erases at once, also while stopped: only the empty box is retained.
    b.Click("cmdStripChartStop");
    b.Click("CmdStripChartRedraw");
    QCOMPARE(b.Chart().ChartX(), 120.0f);
    QCOMPARE(chart.RetainedTrace().size(), std::size_t(3));
}

void MeasurementDisplayTest::Meter_ReadsTheAnalogBoxesAndTheEchoLossLevel() {
    Bench b;
    b.Set("txtAnalogNearEndpoint", "12.00");
    b.Set("txtAnalogFarEndpoint", "100.00");
    b.Set("txtAnalogNearOutput", "10.0");
    b.Set("txtAnalogFarOutput", "0.0");
    b.display->ShowReading(34.0f);
    b.display->ShowReading(0.0f); // a lost echo on "NC" keeps the reading
    QCOMPARE(b.Texts({"lblVoltMeter"}), QStringList({"7.5"}));
    b.Set("lblAnalogEchoLoss", "High");
    b.display->ShowReading(0.0f);
    QCOMPARE(b.Texts({"lblVoltMeter"}), QStringList({"0.0"}));
    // Boxes holding no number read as 0 and never stop the meter.
    b.Set("txtAnalogNearEndpoint", "abc");
    b.Set("txtAnalogFarEndpoint", "");
    b.display->ShowReading(50.0f);
    QCOMPARE(b.Texts({"lblVoltMeter"}), QStringList({"0.0"}));
}

void MeasurementDisplayTest::Silence_HidesTheGaugesAfterAbout5Seconds() {
    Bench b;
    LiveGaugesView& gauges = b.display->Gauges();
    QCOMPARE(gauges.Timer2().interval(), 50);
    QVERIFY(gauges.Timer2().isActive());
    gauges.Timer2().stop();              // the test drives the ticks
    QCOMPARE(b.Gauges(), QStringList()); // nothing to show before the first reading
    b.display->ShowReading(50.0f);
    double farthest = 0; // the echo travels to the right end of the bar once they hide
    for (int tick = 1; tick <= 501; ++tick) {
        if (tick <= 300 && tick % 50 == 0) { // deliveries every 2.5 s keep them up
            b.display->NoteReceiveEvent();
        }
        gauges.Timer2Timer();
        QCOMPARE(b.Gauges().size(), tick < 400 ? 4 : 0); // hidden 101 ticks after a delivery
        farthest = std::max(farthest, b.Left("shpEcho"));
    }
    QCOMPARE(QList<double>({b.Left("Frame1"), farthest}), QList<double>({kBarEnd, kBarEnd}));
    b.display->ShowReading(50.0f);
    QCOMPARE(b.Gauges().size(), 4);
}

void MeasurementDisplayTest::Print_RedrawsTheChartAndGivesOnePagePerCopy() {
    // 0 copies: the dialog is cancelled; a maximum that is no positive number skips the
    // redraw.
    const struct {
        int copies;
        const char* maxRange;
    } cases[] = {{0, "221.77"}, {1, "221.77"}, {3, "221.77"}, {1, "inches"}};
    for (const auto& [copies, maxRange] : cases) {
        Bench b;
        QTemporaryDir folder;
        for (int i = 1; i <= 10; ++i) {
            b.display->ShowReading(i == 3 ? 110.885f : 20.0f);
        }
        StripChartView& chart = b.display->Chart();
        chart.FlushDrawing();
        const std::vector<DrawOp> live = chart.RetainedTrace();
        b.Set("txtMaxRange", maxRange);
        const QString pdf = folder.filePath("out.pdf");
        QPrinter& printer = b.display->Print().Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        std::vector<DrawOp> shown;
        NextModal modal([&, copies = copies](QWidget* modal) {
            shown = chart.RetainedTrace(); // what the dialog comes up over
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            QVERIFY(dialog != nullptr);
            dialog->printer()->setCopyCount(qMax(copies, 1));
            dialog->done(copies > 0 ? QDialog::Accepted : QDialog::Rejected);
        });
        b.display->mnuFilePrintClick();
        QVERIFY(modal.Seen());
        static const QRegularExpression page(R"(/Type\s*/Page[^s])");
        QCOMPARE(QString::fromLatin1(app_test::ReadAll(pdf)).count(page), copies);
        QCOMPARE(printer.copyCount(), qMax(copies, 1)); // kept for the next
        // Redrawn: the box erased, then elements 0, 40, ..., 360 on the print scale.
        const bool redrawn = QString(maxRange) != "inches";
        QCOMPARE(shown.size(), redrawn ? std::size_t(3 + 10) : live.size());
        QCOMPARE(shown == live, !redrawn);
    }
}

void MeasurementDisplayTest::PaintCadence_PaintsHeldChangesOnceTogetherWhenTheIntervalEnds() {
    QWidget top;
    CountingBox box(&top);
    auto* cadence = new PaintCadence(&top, 1000); // long: a stalled machine stays inside it
    top.resize(200, 100);
    box.setGeometry(10, 10, 50, 20);
    top.show();
    QVERIFY(QTest::qWaitForWindowExposed(&top));
    QVERIFY(QTest::qWaitFor([&box] { return box.paints > 0; }));
    QTest::qWait(1100); // after a quiet interval the first change is painted at once
    const int before = box.paints;
    for (int i = 0; i < 6; ++i) { // the next ones are held for one paint at the interval's end
        box.update();
        QCoreApplication::processEvents();
        QCOMPARE(box.paints, before + 1);
    }
    QVERIFY(cadence->HeldPaints() >= 1);
    QTRY_COMPARE_WITH_TIMEOUT(box.paints, before + 2, 5000);
    QTest::qWait(1100);
    QCOMPARE(box.paints, before + 2);
}

} // namespace telmora

QTEST_MAIN(telmora::MeasurementDisplayTest)
#include "measurement_display_qttest.moc"
