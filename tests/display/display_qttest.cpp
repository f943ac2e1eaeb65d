// The display's window parts. Scenarios of readings, clicks, timer ticks and log commands
// write what the boxes, meter, gauges, chart head, log file and messages show after each
// step, compared once with display_qttest.golden (the figures are the core's, tested
// there); the print command and the window's paint cadence are checked here, and at each
// screen scale its ctest entry sets (QT_SCALE_FACTOR, QT_FONT_DPI) the window opens at its
// design size and the strip chart (box, trace, print redraw) draws only in its design
// rectangle, through resizes while readings arrive, redraws beyond the maximum, resets
// and wraps.
#include "../app/app_test_support.h"
#include "../support/golden.h"
#include "app/main_window.h"
#include "display/ui/data_log_command.h"
#include "display/ui/live_gauges_view.h"
#include "display/ui/measurement_display.h"
#include "display/ui/paint_cadence.h"
#include "display/ui/print_screen.h"
#include "display/ui/strip_chart_view.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QComboBox>
#include <QFileDialog>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <array>
#include <cmath>
#include <functional>
#include <optional>

namespace telmora {

using app_test::NextModal;

namespace {

// The display on the main window, which holds the range bar's and analog editor's controls
// that the gauges and the print command read; no port is opened. The window is not shown,
// so a reading's boxes and gauges change at once, paints or not.
struct Bench {
    explicit Bench(QStringList& out) : out(out) {}
    template <typename T = QWidget> T* Control(const QString& name) {
        T* control = surface.findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control named %s", qPrintable(name));
        }
        return control;
    }
    QString Text(const char* name) { return Control(name)->property("text").toString(); }
    void Set(const char* name, const char* text) { Control(name)->setProperty("text", text); }
    void Click(const char* name) { QTest::mouseClick(Control<QPushButton>(name), Qt::LeftButton); }
    const StripChart& Chart() { return display->Chart().Model(); }
    // Records a step and what the window shows after it: the figures, the marker's box, the
    // meter, each gauge (in brackets when hidden) with its place in twips, the chart's head.
    void Step(const QString& what) {
        out << "> " + what;
        QStringList figures;
        for (const char* name : {"txtCurrDistance", "txtAveDistance", "txtSDDistance",
                                 "txtMaxDistance", "txtMinDistance", "txtNumOfSamples"}) {
            figures << Text(name);
        }
        out << "  figures " + figures.join(' ') + " on " +
                   Control("txtCurrDistance")->palette().color(QPalette::Base).name() +
                   ", marker " + Text("txtCurrentDistance") + ", meter " + Text("lblVoltMeter");
        QString gauges = "  gauges";
        for (const char* name :
             {"Frame1", "fraVoltmeter", "linTargetLineTop", "linTargetLineBottom", "shpEcho"}) {
            QWidget* w = Control(name);
            gauges += QString(w->isHidden() ? " (%1 " : " %1 ").arg(name);
            if (auto* line = qobject_cast<FormLine*>(w)) {
                const TwipPoint a = geometry.LineStart(line), b = geometry.LineEnd(line);
                gauges += QString("%1,%2-%3,%4").arg(a.X).arg(a.Y).arg(b.X).arg(b.Y);
            } else {
                gauges += QString::number(geometry.Left(w));
            }
            gauges += w->isHidden() ? ")" : "";
        }
        out << gauges;
        out << QString("  chart head %1,%2").arg(Chart().ChartX()).arg(Chart().ChartY());
    }
    void Head(const QString& what) {
        out << QString("> %1: chart head %2,%3")
                   .arg(what)
                   .arg(Chart().ChartX())
                   .arg(Chart().ChartY());
    }

    QStringList& out;
    app_test::Sandbox sandbox;
    MainWindow window;
    MeasurementDisplay* display = &window.Display();
    FormSurface& surface = window.Surface();
    FormGeometry& geometry = window.Geometry();
};

void Readings(Bench& b) {
    // Readings reach every box, the log, the chart and the gauges, beyond the maximum at the
    // bar's end; a lost echo shows "Lost!!" on red and is charted on the top edge; a reset
    // shows zeros and the minimum starts afresh, not from the zero shown. The meter reads
    // the analog boxes and the echo loss level: a lost echo on "NC" keeps the reading; boxes
    // holding no number read as 0 and never stop the meter. Steps: a reading, a button to
    // click, or a control's new text.
    QTemporaryDir folder;
    QVERIFY(b.display->Log().StartLog(folder.filePath("run.log")));
    const QString steps = "10 14 12 500 0 22 0 cmdResetStats 12.5 txtAnalogNearEndpoint=12.00 "
                          "txtAnalogFarEndpoint=100.00 txtAnalogNearOutput=10.0 "
                          "txtAnalogFarOutput=0.0 34 0 lblAnalogEchoLoss=High 0 "
                          "txtAnalogNearEndpoint=abc txtAnalogFarEndpoint= 50";
    for (const QString& step : steps.split(' ')) {
        if (step.startsWith("cmd")) {
            QTest::mouseClick(b.Control<QPushButton>(step), Qt::LeftButton);
        } else if (step.contains('=')) {
            b.Control(step.section('=', 0, 0))->setProperty("text", step.section('=', 1));
        } else {
            b.display->ShowReading(step.toFloat());
        }
        b.Step(step);
    }
    b.out << "  log";
    const QByteArray log = app_test::ReadAll(folder.filePath("run.log"));
    for (const QByteArray& line : log.trimmed().split('\n')) {
        b.out << "  " + QString::fromLatin1(line.mid(8)).trimmed(); // after the time of day
    }
}

void Paced(Bench& b) {
    // A shown window shows the latest reading when it paints: a burst ends with its last
    // reading everywhere, the gauges included; "Reset Stats" before the paint is not undone
    // by the figures of a reading counted before it; a lost echo shows as such.
    b.display->Gauges().Timer2().stop(); // the echo symbol stays put
    b.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.window));
    const QString steps = "10 14 12 paint 20 cmdResetStats paint 0 paint";
    for (const QString& step : steps.split(' ')) {
        if (step == "paint")
            QTest::qWait(250);
        else if (step.startsWith("cmd"))
            b.Click(qPrintable(step));
        else
            b.display->ShowReading(step.toFloat());
        b.Step(step);
    }
}

void Silence(Bench& b) {
    // Deliveries every 2.5 s keep the gauges up; about 5 s after the last they hide and the
    // echo travels on to the bar's end. Ticks of 50 ms; a step where the gauges change.
    LiveGaugesView& gauges = b.display->Gauges();
    b.out << QString("  tick %1 ms, running %2")
                 .arg(gauges.Timer2().interval())
                 .arg(gauges.Timer2().isActive());
    gauges.Timer2().stop(); // the test drives the ticks
    b.Step("before any reading");
    b.display->ShowReading(50.0f);
    b.Step("50");
    double farthest = 0;
    for (int tick = 1; tick <= 501; ++tick) {
        if (tick <= 300 && tick % 50 == 0) {
            b.display->NoteReceiveEvent();
        }
        const bool up = !b.Control("Frame1")->isHidden();
        gauges.Timer2Timer();
        farthest = std::max(farthest, b.geometry.Left(b.Control("shpEcho")));
        if (up != !b.Control("Frame1")->isHidden()) {
            b.Step(QString("tick %1").arg(tick));
        }
    }
    b.Step(QString("tick 501, the echo went as far as %1").arg(farthest));
    b.display->ShowReading(50.0f);
    b.Step("50");
}

void ChartControls(Bench& b) {
    // Stop holds the chart and Start resumes it; the speed bar runs from 1, its maximum and a
    // page of 10 down set the spacing; a resize leaves the sweep where it stood; reset erases
    // at once, also while stopped, keeping only the empty box. Shown for the resizes, the
    // window is read for the chart's head only.
    b.window.show();
    auto* speed = b.Control<QScrollBar>("hsbChartSpeed");
    const auto read = [&b](const QString& what) {
        b.display->ShowReading(50.0f);
        b.Head(what + ", reading 50");
    };
    read("as opened");
    b.Click("cmdStripChartStop");
    read("stop");
    b.Click("cmdStripChartStart");
    speed->setValue(1000);
    read(QString("start, speed %1 to %2").arg(speed->minimum()).arg(speed->value()));
    speed->triggerAction(QAbstractSlider::SliderPageStepSub);
    read(QString("page down to %1").arg(speed->value()));
    const QSize design = b.surface.size();
    for (const QSize size : {design * 3 / 2, design}) {
        b.window.resize(b.window.size() + size - b.surface.size());
        QTRY_COMPARE(b.surface.size(), size);
    }
    read("resized to 150% and back");
    b.display->Chart().FlushDrawing();
    b.Click("cmdStripChartStop");
    b.Click("CmdStripChartRedraw");
    b.Head(
        QString("stop, reset: %1 operations kept").arg(b.display->Chart().RetainedTrace().size()));
}

void ChartExport(Bench& b) {
    // The chart's right-click menu keeps what the chart shows: its readings as CSV (times
    // as the log writes them), the box as a PNG of the screen's pixels.
    b.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.window));
    for (float d : {10.0f, 0.0f, 30.0f}) {
        b.display->ShowReading(d);
    }
    StripChartView& chart = b.display->Chart();
    QWidget* box = b.Control("StripChartBox");
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, box->rect().center(),
                                 box->mapToGlobal(box->rect().center()));
    QApplication::sendEvent(box, &rightClick);
    QStringList entries;
    for (const QAction* entry : chart.ContextMenu()->actions()) {
        entries << entry->text();
    }
    b.out << QString("right click: menu %1 (%2)")
                 .arg(chart.ContextMenu()->isVisible() ? "shown" : "hidden", entries.join(", "));
    chart.ContextMenu()->close();
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_F10, Qt::ShiftModifier);
    b.out
        << QString("Shift+F10: menu %1").arg(chart.ContextMenu()->isVisible() ? "shown" : "hidden");
    chart.ContextMenu()->close();
    QTemporaryDir dir;
    QString error;
    const bool data = chart.SaveChartData(dir.filePath("chart.csv"), error);
    b.out << QString("data saved %1: ").arg(data) +
                 QString(app_test::ReadAll(dir.filePath("chart.csv")))
                     .replace(
                         QRegularExpression("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}"),
                         "<time>")
                     .replace("\r\n", " | ");
    const bool image = chart.SaveChartImage(dir.filePath("chart.png"), error);
    const QSize expected = b.Control("StripChartBox")->size() * b.surface.devicePixelRatio();
    b.out << QString("image saved %1%2, %3 the box with its outline")
                 .arg(image)
                 .arg(error)
                 .arg(QImage(dir.filePath("chart.png")).size().width() > expected.width()
                          ? "covers"
                          : "misses");
}

// The log command on a bare window, its menu entry, and a clock the test sets.
struct LogBench {
    explicit LogBench(QStringList& out) : out(out) { log.SetMenuEntry(&entry); }
    QString Local(QString text) {
        return text.replace(folder.path(), "<folder>").replace('\n', "\\n");
    }
    // Records a step, the entry's caption, the log's state, the file (no path: none read)
    // and the message the user was shown.
    void Step(const QString& what, const QString& path = {}) {
        QString file = path.isEmpty() ? "" : ", file: " + app_test::ReadAll(path);
        out << (what.isEmpty() ? QStringList() : QStringList{"> " + Local(what)});
        out << "  entry " + entry.text() + (log.LogActive() ? ", logging" : ", stopped") +
                   file.replace("\r\n", "|");
        if (auto* message = window.findChild<QMessageBox*>("msgDataLog")) {
            out << "  " + message->windowTitle() + ": " + Local(message->text());
            delete message;
        }
    }

    QStringList& out;
    QTemporaryDir folder;
    QDateTime now{QDate(2026, 12, 7), QTime(7, 5, 9, 250)};
    QAction entry{"&Log Data"};
    QWidget window;
    DataLogCommand log{&window, [this] { return now; }};
};

void LogWrites(LogBench& b, const QString& name) {
    // One line a reading, in the file as it is written (two in one second, a lost echo
    // too): text lines with the time of day, or CSV under its header with the date and the
    // milliseconds; stopped from the menu, nothing more is written.
    QObject::connect(&b.log, &DataLogCommand::LogChanged,
                     [&b](const QString& path) { b.out << "  announced '" + b.Local(path) + "'"; });
    const QString path = b.folder.filePath(name);
    QVERIFY(b.log.StartLog(path));
    b.Step("started " + path, path);
    for (const auto& [d, ms] : {std::pair(123.456f, 6), {12.0f, 745}, {0.0f, 1}}) {
        b.log.WriteReading(d);
        b.now = b.now.addMSecs(ms);
        b.Step(QString("reading %1").arg(d), path);
    }
    b.out << "> menu entry";
    b.log.mnuLogDataToFileClick();
    b.Step({}, path);
    b.log.WriteReading(50.0f);
    b.Step("reading 50", path);
}

// The file dialog, then the question before replacing a file, answered with `answer`
// (0: the dialog is cancelled; Save: the CSV type).
void ChooseFile(LogBench& b, int answer) {
    // The CSV type chosen in the dialog, with a new name typed without its extension.
    const bool csv = answer == QMessageBox::Save;
    const QString path = b.folder.filePath(csv ? "new.csv" : "old.log");
    QFile old(path);
    QVERIFY(csv || (old.open(QIODevice::WriteOnly) && old.write("an earlier run\r\n") > 0));
    old.close();
    std::optional<NextModal> question;
    b.out << "> menu entry, " + b.Local(path) + (csv ? " not there" : " there");
    NextModal modal([&](QWidget* shown) {
        auto* dialog = qobject_cast<QFileDialog*>(shown);
        auto* name = shown->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(dialog != nullptr && name != nullptr);
        b.out << "  dialog '" + dialog->windowTitle() + "', suffix " + dialog->defaultSuffix() +
                     ", " + dialog->nameFilters().join(';') +
                     (dialog->acceptMode() == QFileDialog::AcceptSave ? ", to save" : ", to open");
        if (answer == 0) {
            return dialog->reject();
        }
        if (csv) {
            QTest::keyClick(shown->findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
            name->setText(b.folder.filePath("new"));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return;
        }
        question.emplace(
            [&b, answer](QWidget* asked) {
                auto* box = qobject_cast<QMessageBox*>(asked);
                QVERIFY(box != nullptr);
                b.out << "  asked '" + b.Local(box->text()) + "'";
                box->button(QMessageBox::StandardButton(answer))->click();
            },
            10000, dialog);
        // Typed as a whole path, the choice does not wait on the dialog's folder listing.
        name->setText(path);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    b.log.mnuLogDataToFileClick();
    b.Step("answered", path);
    b.log.WriteReading(10.0f);
    b.Step("reading 10", path);
}

void FileErrors(LogBench& b) {
    // A file that cannot be created, a device that is no log file, and a write that fails
    // while logging (the file was deleted): the log stops and the user is told.
    const QString gone = b.folder.filePath("gone.log");
    for (const QString& path : {b.folder.filePath("missing/x.log"), QString("/dev/full"), gone}) {
        const bool started = b.log.StartLog(path);
        b.Step(QString("start %1: %2").arg(path, started ? "started" : "refused"));
        if (started) {
            QVERIFY(QFile::remove(gone));
            b.log.WriteReading(10.0f);
            b.Step("file deleted, reading 10");
        }
    }
}

// A value box whose paints are counted.
class CountingBox : public QWidget {
  public:
    using QWidget::QWidget;
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// The chart box at the design size, in twips.
constexpr double kBoxLeft = 120, kBoxTop = 5520, kBoxWidth = 8172, kBoxHeight = 1812;

// The chart box in the surface's device pixels, at the window's current scale.
QRect BoxInDevicePixels(MainWindow& window) {
    const FormGeometry& g = window.Geometry();
    const double dpr = window.Surface().devicePixelRatioF();
    const double x = g.ScaleX() * dpr / g.TwipsPerPixelX();
    const double y = g.ScaleY() * dpr / g.TwipsPerPixelY();
    return QRect(
        QPoint(qRound(kBoxLeft * x), qRound(kBoxTop * y)),
        QPoint(qRound((kBoxLeft + kBoxWidth) * x) - 1, qRound((kBoxTop + kBoxHeight) * y) - 1));
}

// Pixels where `a` and `b` differ (or, without `b`, that `a` paints), outside and inside
// `box` (widened by `margin` for the outline's pen), and those on the middle half of each
// edge of the box (left, right, top, bottom).
struct Drawn {
    int outside = 0;
    int inside = 0;
    std::array<int, 4> edges = {};
};

Drawn Compare(const QImage& a, const QImage* b, QRect box, int margin) {
    Drawn d;
    const QRect loose = box.adjusted(-margin, -margin, margin, margin);
    const QRect interior = box.adjusted(margin + 1, margin + 1, -margin - 1, -margin - 1);
    const QPoint mid = box.center();
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (b != nullptr ? a.pixel(x, y) == b->pixel(x, y) : qAlpha(a.pixel(x, y)) == 0) {
                continue;
            }
            d.outside += loose.contains(x, y) ? 0 : 1;
            d.inside += interior.contains(x, y) ? 1 : 0;
            const bool midY = std::abs(y - mid.y()) < box.height() / 4;
            const bool midX = std::abs(x - mid.x()) < box.width() / 4;
            d.edges[0] += midY && std::abs(x - box.left()) <= margin ? 1 : 0;
            d.edges[1] += midY && std::abs(x - box.right()) <= margin ? 1 : 0;
            d.edges[2] += midX && std::abs(y - box.top()) <= margin ? 1 : 0;
            d.edges[3] += midX && std::abs(y - box.bottom()) <= margin ? 1 : 0;
        }
    }
    return d;
}

void Stream(MainWindow& window, int readings, float far = 200.0f, int speed = 40) {
    window.findChild<QScrollBar*>("hsbChartSpeed")->setValue(speed);
    for (int i = 0; i < readings; ++i) {
        window.Display().ShowReading(i % 2 == 0 ? 20.0f : far);
    }
}

// Resizes the window to `factor` of its design size after readings have arrived.
void Resize(MainWindow& window, double factor) {
    Stream(window, 30);
    const QSize target = window.Geometry().DesignSizePixels() * factor;
    window.resize(window.size() + target - window.Surface().size());
    QTRY_COMPARE(window.Surface().size(), target);
}

} // namespace

class DisplayTest : public QObject {
    Q_OBJECT
  private slots:
    void Scenarios_ShowTheGoldenBoxesGaugesChartAndLog();
    void Print_RedrawsTheChartAndGivesOnePagePerCopy();
    void PaintCadence_PaintsHeldChangesOnceTogetherWhenTheIntervalEnds();
    void Window_OpensAtDesignSizeAndDrawsTheChartOnlyInItsBox_data();
    void Window_OpensAtDesignSizeAndDrawsTheChartOnlyInItsBox();
};

void DisplayTest::Scenarios_ShowTheGoldenBoxesGaugesChartAndLog() {
    QStringList out;
    const std::pair<const char*, void (*)(Bench&)> scenarios[] = {{"readings", Readings},
                                                                  {"paced", Paced},
                                                                  {"silence", Silence},
                                                                  {"chart controls", ChartControls},
                                                                  {"chart export", ChartExport}};
    for (const auto& [name, run] : scenarios) {
        out << QString("== ") + name;
        Bench b(out);
        run(b);
    }
    const std::pair<const char*, void (*)(LogBench&)> logScenarios[] = {
        {"log", [](LogBench& b) { LogWrites(b, "run.log"); }},
        {"csv log", [](LogBench& b) { LogWrites(b, "run.csv"); }},
        {"choose file, replace", [](LogBench& b) { ChooseFile(b, QMessageBox::Yes); }},
        {"choose file, keep", [](LogBench& b) { ChooseFile(b, QMessageBox::No); }},
        {"choose file, cancel", [](LogBench& b) { ChooseFile(b, 0); }},
        {"choose file, CSV type", [](LogBench& b) { ChooseFile(b, QMessageBox::Save); }},
        {"file errors", FileErrors}};
    for (const auto& [name, run] : logScenarios) {
        out << QString("== ") + name;
        LogBench b(out);
        run(b);
    }
    const std::string diff =
        test::GoldenDiff((out.join('\n') + '\n').toStdString(), TELMORA_GOLDEN);
    QVERIFY2(diff.empty(), diff.c_str());
}

void DisplayTest::Print_RedrawsTheChartAndGivesOnePagePerCopy() {
    // 0 copies: the dialog is cancelled; a maximum that is no positive number skips the
    // redraw.
    const struct {
        int copies;
        const char* maxRange;
    } cases[] = {{0, "221.77"}, {1, "221.77"}, {3, "221.77"}, {1, "inches"}};
    for (const auto& [copies, maxRange] : cases) {
        QStringList out;
        Bench b(out);
        b.window.show();
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
void DisplayTest::PaintCadence_PaintsHeldChangesOnceTogetherWhenTheIntervalEnds() {
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

void DisplayTest::Window_OpensAtDesignSizeAndDrawsTheChartOnlyInItsBox_data() {
    QTest::addColumn<QString>("steps");
    // r: 60 readings, b: 60 readings reaching 500 inches, L, S, D: 30 readings, then a resize
    // to 150%, 80% or 100%, p: print redraw with a maximum range of 100, 0: chart reset,
    // w: 130 readings at the fastest speed (a wrap).
    QTest::newRow("streaming") << "r";
    QTest::newRow("resized while streaming") << "rLSD";
    QTest::newRow("print beyond the maximum") << "bp";
    QTest::newRow("print, then readings") << "bpr";
    QTest::newRow("print, reset, readings") << "bp0r";
    QTest::newRow("print, wrap") << "bpw";
}

void DisplayTest::Window_OpensAtDesignSizeAndDrawsTheChartOnlyInItsBox() {
    QFETCH(QString, steps);
    app_test::Sandbox sandbox;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The window opens at its design size (11880 x 7800 twips) at the screen's scale.
    const double dpr = window.Surface().devicePixelRatioF();
    const double devicePixelsPerTwip = window.Surface().logicalDpiX() * dpr / 1440;
    QCOMPARE(window.Surface().size() * dpr,
             QSize(qRound(11880 * devicePixelsPerTwip), qRound(7800 * devicePixelsPerTwip)));
    // The marker's box shows a three-digit distance whole: both ends of the text lie inside
    // the box (a box too narrow scrolls, and showed "35.50" for 135.50).
    auto* marker = window.findChild<QLineEdit*>("txtCurrentDistance");
    marker->setText("888.88");
    for (const int end : {0, 6}) {
        marker->setCursorPosition(end);
        const QRect cursor = marker->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY2(marker->rect().contains(cursor.center()), qPrintable(steps));
    }
    StripChartView& chart = window.Display().Chart();
    const QHash<QChar, std::function<void()>> act{
        {'r', [&] { Stream(window, 60); }},  {'b', [&] { Stream(window, 60, 500.0f); }},
        {'L', [&] { Resize(window, 1.5); }}, {'S', [&] { Resize(window, 0.8); }},
        {'D', [&] { Resize(window, 1.0); }}, {'p', [&] { QVERIFY(chart.RedrawForPrint("100")); }},
        {'0', [&] { chart.ChartReset(); }},  {'w', [&] { Stream(window, 130, 200.0f, 80); }},
    };
    const int margin = static_cast<int>(std::ceil(dpr));
    // What the trace paints on the screen (against the surface with the trace hidden) and
    // its vector copy for the printout (onto a transparent page of the window's size).
    const auto drawn = [&] {
        chart.FlushDrawing();
        const QRect box = BoxInDevicePixels(window);
        const auto grab = [&](bool trace) {
            chart.SetTraceHidden(!trace);
            return window.Surface().grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage hidden = grab(false);
        const QImage shown = grab(true);
        QImage page(shown.size(), QImage::Format_ARGB32_Premultiplied);
        page.setDevicePixelRatio(dpr);
        page.fill(Qt::transparent);
        QPainter painter(&page);
        chart.PaintTraceInPixels(painter);
        painter.end();
        return std::tuple(box, Compare(shown, &hidden, box, margin),
                          Compare(page, nullptr, box, margin));
    };
    // After every step nothing differs outside the box (the Description row, the analog
    // editor above), at every size the window passes through.
    for (const QChar step : steps) {
        act[step]();
        const auto [box, screen, printed] = drawn();
        QVERIFY2(screen.outside == 0 && printed.outside == 0,
                 qPrintable(
                     QString("%1 %2 after %3").arg(screen.outside).arg(printed.outside).arg(step)));
    }
    QCOMPARE(window.Geometry().ScaleX(), 1.0);
    const auto [box, screen, printed] = drawn();
    QVERIFY2(screen.inside > 20 * margin, qPrintable(QString::number(screen.inside)));
    for (const int edge : screen.edges) {
        QVERIFY(edge >= box.height() / 4);
    }
    QVERIFY(printed.inside > 20 * margin);
}

} // namespace telmora

// A laptop's screen of 1920 x 1200 pixels (Qt's offscreen screen is 800 square): at 200%
// the window fits in it, but not in the two thirds of it that Qt gives a window by default.
int main(int argc, char** argv) {
    QTemporaryFile screens;
    if (!screens.open() ||
        screens.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1920,
                      "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0) {
        return 1;
    }
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    telmora::DisplayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "display_qttest.moc"
