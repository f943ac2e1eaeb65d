// The output editors on the main window showing family B's factory configuration: the
// range boxes, the switch rows and the analog editor as the user types, drags and clicks,
// at the design size and resized (the figures themselves are the core's, tested there).
#include "../app/app_test_support.h"
#include "app/main_window.h"
#include "config/number_text.h"
#include "config/sensor_config.h"
#include "editors/scale.h"
#include "editors/ui/output_editors.h"
#include "form/editor_widgets.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QAction>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

#include <cmath>
#include <tuple>

namespace telmora {

namespace {

QString Two(float value) {
    return QString::fromStdString(FormatTwoDecimals(value));
}

// The editors on the main window, which opens showing family B's factory configuration.
struct Bench {
    Bench() { window.show(); }
    template <typename T = QLabel> T* Control(const char* name) {
        T* control = surface.findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control named %s", name);
        }
        return control;
    }
    // Types `text` into an empty box and presses Enter.
    static void Enter(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void SetRange(const QString& min, const QString& max) {
        Enter(editors.Range().MaxRangeBox(), "443.54");
        Enter(editors.Range().MinRangeBox(), min);
        Enter(editors.Range().MaxRangeBox(), max);
    }
    // A user's drag to `to` (surface pixels): every event goes to the handle the button
    // went down on, in its coordinates.
    void Drag(QWidget* handle, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(handle, button, {}, handle->rect().center());
        QTest::mouseMove(handle, handle->mapFrom(&surface, to));
        QTest::mouseRelease(handle, button, {}, handle->mapFrom(&surface, to));
    }
    void Resize(double factor) {
        const QSize target = geometry.DesignSizePixels() * factor;
        window.resize(window.size() + target - surface.size());
        QVERIFY(QTest::qWaitFor([&] { return surface.size() == target; }));
    }
    // Places in twips as the layout holds them, in single precision.
    float Left(QWidget* w) const { return static_cast<float>(geometry.Left(w)); }
    float Width(QWidget* w) const { return static_cast<float>(geometry.Width(w)); }
    FormLine* Line(const char* name) { return Control<FormLine>(name); }
    // Where a distance meets the range bar at its design place, in twips.
    static double X(float d, float min, float max) { return DistanceToX({840, 6495}, d, min, max); }
    // The meeting point as the bar is drawn on the screen, in surface pixels.
    double Pixel(double setpoint, double min, double max) {
        const QRect bar = editors.Range().RangeBar()->geometry();
        return DistanceToX({float(bar.left()), float(bar.width())}, float(setpoint), float(min),
                           float(max));
    }

    app_test::Sandbox sandbox;
    MainWindow window;
    OutputEditors& editors = window.Editors();
    SensorConfig& config = window.Config();
    FormSurface& surface = window.Surface();
    FormGeometry& geometry = window.Geometry();
};

} // namespace

class EditorsTest : public QObject {
    Q_OBJECT
  private slots:
    void RangeEntries_AreLimitedAgainstEachOtherAndSetThePulseCount();
    void Boxes_StoreTheTypedNumberThenTheShownOne();
    void RangeChange_MovesEveryOutputKeepsTheirTextsAndTellsTheChart();
    void Numbers_AreReadWithAPeriodWhateverTheLocale();
    void Setpoints_PlaceTheHandlesAndBoxAndStopAtTheBarEnds();
    void Drags_StayWithinTheRangeOrTheOutputScaleAndWriteNoRecord();
    void RightPressOrBareMove_OpensThePopUpOnTheAreaOnlyAndNeverDrags();
    void AnalogOutputs_AreHeldToTheScaleAndMeetTheBoxEdges();
    void AnalogModeChange_ThereAndBack_KeepsEveryHandleInPlace();
    void AnalogEndpoints_MoveHandlesBoxAndLineEndsAndKeepOddTexts();
    void Resized_DragsAndPlacementsMeetTheBarAsDrawn();
    void OptionLabels_ClicksAndMenuEntriesSetCaptionColourAndOneCheckMark();
    void OptionLabels_OddCaptionsOtherButtonsAndPolarity();
};

// The limits themselves are the core's; here, that each box is held against the other.
void EditorsTest::RangeEntries_AreLimitedAgainstEachOtherAndSetThePulseCount() {
    Bench b;
    RangeEditor& range = b.editors.Range();
    // Box, entry, value stored, text shown.
    const std::tuple<QLineEdit*, const char*, float, const char*> cases[] = {
        {range.MinRangeBox(), "300", 6.5f, "6.50"}, // refused: above the maximum
        {range.MinRangeBox(), "6.5", 6.5f, "6.50"},
        {range.MaxRangeBox(), "3", 221.72f, "221.72"}, // refused: below the minimum
        {range.MaxRangeBox(), "1e999", 443.54f, "443.54"}};
    b.SetRange("6.5", "221.72");
    for (const auto& [box, entry, stored, shown] : cases) {
        Bench::Enter(box, entry);
        QCOMPARE(box == range.MinRangeBox() ? b.config.MinRange : b.config.MaxRange, stored);
        QCOMPARE(box->text(), QString(shown));
    }
    // The keypad's Enter applies as well.
    range.MaxRangeBox()->setText("100");
    QTest::keyClick(range.MaxRangeBox(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(b.config.MaxRange, 100.0f);
    // A single pulse below the family's near limit; the maximum leaves the count alone.
    b.window.SetFamily(SensorFamily::A);
    Bench::Enter(range.MinRangeBox(), "6.49");
    QCOMPARE(b.config.NumberOfPulses, 1);
    b.window.SetFamily(SensorFamily::B);
    Bench::Enter(range.MinRangeBox(), "8");
    QCOMPARE(b.config.NumberOfPulses, 10);
    b.config.NumberOfPulses = 7;
    Bench::Enter(range.MaxRangeBox(), "100");
    QCOMPARE(b.config.NumberOfPulses, 7);
}

void EditorsTest::Boxes_StoreTheTypedNumberThenTheShownOne() {
    Bench b;
    QLineEdit* max = b.editors.Range().MaxRangeBox();
    QLineEdit* min = b.editors.Range().MinRangeBox();
    // Enter stores the typed number itself; applying again stores the shown one.
    const std::tuple<QLineEdit*, float*, const char*, float, const char*> boxes[] = {
        {max, &b.config.MaxRange, "221.724", 221.724f, "221.72"},
        {b.editors.Sw(1).WidthBox(), &b.config.Sw1Hyst, "1.234", 1.234f, "1.23"}};
    for (const auto& [box, stored, entry, typed, shown] : boxes) {
        Bench::Enter(box, entry);
        QCOMPARE(*stored, typed);
        QCOMPARE(box->text(), QString(shown));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(*stored, QString(shown).toFloat());
    }
    Bench::Enter(b.editors.Sw(4).WidthBox(), "wide");
    QCOMPARE(b.editors.Sw(4).WidthBox()->text(), QString("0.00"));
    QCOMPARE(b.config.Sw4Hyst, 0.0f);
    QCOMPARE(b.config.Sw1Hyst, 1.23f);
    // Leaving a box applies it as well.
    b.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&b.window));
    max->setFocus();
    max->setText("221.726");
    min->setFocus();
    QCOMPARE(max->text(), QString("221.73"));
    QCOMPARE(b.config.MaxRange, 221.73f);
    min->setText("6.504");
    max->setFocus();
    QCOMPARE(min->text(), QString("6.50"));
    QCOMPARE(b.config.MinRange, 6.504f);
}

// The strip chart's captions follow what the editor emits: each range as it was applied
// (limits included) or shown from a record (no limits).
void EditorsTest::RangeChange_MovesEveryOutputKeepsTheirTextsAndTellsTheChart() {
    Bench b;
    RangeEditor& range = b.editors.Range();
    b.SetRange("8", "221.72");
    QStringList mins;
    QStringList maxes;
    connect(&range, &RangeEditor::MinRangeShown, this, [&mins](const QString& t) { mins << t; });
    connect(&range, &RangeEditor::MaxRangeShown, this, [&maxes](const QString& t) { maxes << t; });
    Bench::Enter(range.MaxRangeBox(), "100");
    for (int n = 1; n <= 4; ++n) {
        SwitchEditor& sw = b.editors.Sw(n);
        const float setpoint = Switch(b.config, n).Setpoint;
        QVERIFY2(std::abs(b.Left(sw.FarHandle()) - Bench::X(setpoint, 8, 100)) < 0.5,
                 qPrintable(QString::number(n)));
        QCOMPARE(sw.SetpointBox()->text(), Two(setpoint));
    }
    QVERIFY(std::abs(b.Left(b.Control("lblAnalogTopRight")) - Bench::X(30, 8, 100)) < 0.5);
    QCOMPARE(b.editors.Analog().FarEndpointBox()->text(), QString("30.00"));
    Bench::Enter(range.MinRangeBox(), "12.345");
    Bench::Enter(range.MaxRangeBox(), "1234.5");
    range.ShowRange("6.50", "1234.50");
    QCOMPARE(mins, QStringList({"12.35", "6.50"}));
    QCOMPARE(maxes, QStringList({"100.00", "443.54", "1234.50"}));
    QCOMPARE(range.MaxRangeBox()->text(), QString("1234.50"));
}

void EditorsTest::Numbers_AreReadWithAPeriodWhateverTheLocale() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Bench b;
    Bench::Enter(b.editors.Range().MinRangeBox(), "12.5");
    QCOMPARE(b.config.MinRange, 12.5f);
    Bench::Enter(b.editors.Range().MinRangeBox(), "12,5");
    QCOMPARE(b.config.MinRange, 12.0f);
    QCOMPARE(b.editors.Range().MinRangeBox()->text(), QString("12.00"));
    QLocale::setDefault(QLocale::c());
}

void EditorsTest::Setpoints_PlaceTheHandlesAndBoxAndStopAtTheBarEnds() {
    Bench b;
    b.SetRange("6.5", "221.72");
    SwitchEditor& sw = b.editors.Sw(2);
    // Beyond the range the value stays, as far as the sensor holds it, and the handle on
    // that side shrinks to nothing; text with a leading number is shown as that number.
    const std::tuple<const char*, const char*, float> cases[] = {{"114.11", "114.11", 114.11f},
                                                                 {"500", "221.77", 221.72f},
                                                                 {"-20", "0.00", 6.5f},
                                                                 {"12.5 inches", "12.50", 12.5f}};
    for (const auto& [entry, shown, at] : cases) {
        Bench::Enter(sw.SetpointBox(), entry);
        QCOMPARE(sw.SetpointBox()->text(), QString(shown));
        const float x = b.Left(sw.FarHandle());
        QCOMPARE(x, Bench::X(at, 6.5f, 221.72f));
        // The box centred on the meeting point, its units beside it, the tops unchanged.
        QCOMPARE(
            QList<float>({b.Left(sw.NearHandle()), b.Width(sw.NearHandle()),
                          b.Width(sw.FarHandle()), b.Left(sw.SetpointBox()),
                          b.Left(sw.SetpointUnits()), float(b.geometry.Top(sw.NearHandle())),
                          float(b.geometry.Top(sw.SetpointBox()))}),
            QList<float>({840, x - 840, 7335 - x, x - 615 / 2.0f, x + 615 / 2.0f, 1200, 1080}));
    }
    // A range box still being typed in does not upset a placement: "abc" reads as 0, below
    // the minimum, so every setpoint stands on the left edge.
    b.editors.Range().MaxRangeBox()->setText("abc");
    Bench::Enter(sw.SetpointBox(), "100");
    QCOMPARE(sw.SetpointBox()->text(), QString("100.00"));
    QCOMPARE(b.Left(sw.FarHandle()), 840.0f);
}

void EditorsTest::Drags_StayWithinTheRangeOrTheOutputScaleAndWriteNoRecord() {
    Bench b;
    b.SetRange("6.5", "221.72");
    SwitchEditor& sw = b.editors.Sw(1);
    AnalogEditor& a = b.editors.Analog();
    // Each handle pressed with a button that drags it and moved past both ends of its bar
    // or box (surface pixels), then released.
    const struct {
        QWidget* handle;
        Qt::MouseButton button;
        std::function<bool()> dragging;
        QLineEdit* box;
        QPoint past[2];
        const char* shown[2];
    } cases[] = {
        {sw.NearHandle(),
         Qt::LeftButton,
         [&sw] { return sw.Dragging(); },
         sw.SetpointBox(),
         {{2000, 50}, {-300, 50}},
         {"221.72", "6.50"}},
        {sw.FarHandle(),
         Qt::MiddleButton,
         [&sw] { return sw.Dragging(); },
         sw.SetpointBox(),
         {{-300, 50}, {2000, 50}},
         {"6.50", "221.72"}},
        {b.Control("lblAnalogTopLeft"),
         Qt::LeftButton,
         [&a] { return a.AnalogFarEndpointDragging() && !a.AnalogNearEndpointDragging(); },
         a.FarEndpointBox(),
         {{3000, 230}, {-3000, 230}},
         {"221.72", "6.50"}},
        {b.Control("lblAnalogRightTop"),
         Qt::LeftButton,
         [&a] { return a.AnalogFarOutputDragging(); },
         a.FarOutputBox(),
         {{500, 2000}, {500, -2000}},
         {"0.0", "20.0"}}, // below and above the box: exactly zero and the maximum
        {b.Control("lblAnalogLeftTop"),
         Qt::RightButton,
         [&a] { return a.AnalogNearOutputDragging(); },
         a.NearOutputBox(),
         {{40, 2000}, {40, -2000}},
         {"0.0", "20.0"}},
    };
    for (const auto& c : cases) {
        QTest::mousePress(c.handle, c.button, {}, {2, 2});
        QVERIFY(c.dragging());
        QVERIFY(!a.PopUpMenu()->isVisible() && !sw.PopUp().Menu->isVisible());
        for (int i = 0; i < 2; ++i) {
            QTest::mouseMove(c.handle, c.handle->mapFrom(&b.surface, c.past[i]));
            QCOMPARE(c.box->text(), QString(c.shown[i]));
        }
        QTest::mouseRelease(c.handle, c.button, {}, {2, 2});
        QVERIFY(!c.dragging());
    }
    QCOMPARE(b.config.Sw1Setpoint, 12.0f); // a drag writes no record
}

void EditorsTest::RightPressOrBareMove_OpensThePopUpOnTheAreaOnlyAndNeverDrags() {
    Bench b;
    SwitchEditor& sw = b.editors.Sw(2);
    const QString before = sw.SetpointBox()->text();
    const double meeting = b.Left(sw.FarHandle());
    // Moves with no button held, as the pointer passing over the handles.
    for (const auto& [handle, at] :
         {std::pair(sw.NearHandle(), QPoint(3, 3)), std::pair(sw.FarHandle(), QPoint(100, 3))}) {
        QMouseEvent move(QEvent::MouseMove, at, handle->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
    }
    QCOMPARE(sw.SetpointBox()->text(), before);
    QCOMPARE(b.Left(sw.FarHandle()), meeting);
    QTest::mousePress(sw.FarHandle(), Qt::RightButton, {}, {5, 5});
    QVERIFY(sw.PopUp().Menu->isVisible());
    QVERIFY(!sw.Dragging());
    QTest::mouseMove(sw.FarHandle(), {200, 5});
    QCOMPARE(sw.SetpointBox()->text(), before);
    sw.PopUp().Menu->close();
    QTest::mouseRelease(sw.FarHandle(), Qt::RightButton, {}, {200, 5});
    // The analog editor's comes up on a right press on its area, not on a left click.
    AnalogEditor& a = b.editors.Analog();
    QWidget* back = b.Control("lblAnalogBack");
    QTest::mouseClick(back, Qt::LeftButton, {}, {20, 20});
    QVERIFY(!a.PopUpMenu()->isVisible());
    QTest::mousePress(back, Qt::RightButton, {}, {20, 20});
    QVERIFY(a.PopUpMenu()->isVisible());
    a.PopUpMenu()->close();
    QTest::mouseRelease(back, Qt::RightButton, {}, {20, 20});
}

void EditorsTest::AnalogOutputs_AreHeldToTheScaleAndMeetTheBoxEdges() {
    Bench b;
    AnalogEditor& a = b.editors.Analog();
    // Each box is held to the scale of the mode: 20 in current mode, 10 in voltage mode.
    b.config.AnalogOutputMax = 10;
    Bench::Enter(a.FarOutputBox(), "12");
    QCOMPARE(a.FarOutputBox()->text(), QString("10.0"));
    b.config.AnalogOutputMax = 20;
    Bench::Enter(a.NearOutputBox(), "25");
    QCOMPARE(a.NearOutputBox()->text(), QString("20.0"));
    // At either end of the scale the meeting point lies on the box's edge (3600 to 4335).
    Bench::Enter(a.NearOutputBox(), "0");
    const FormGeometry& g = b.geometry;
    const auto rect = [&b](const char* name) { return b.geometry.Rect(b.Control(name)); };
    QCOMPARE(
        QList<double>({rect("lblAnalogLeftTop").Top, rect("lblAnalogLeftTop").Height,
                       rect("lblAnalogLeftBottom").Top, rect("lblAnalogLeftBottom").Height,
                       g.LineEnd(b.Line("linAnalogLeft")).Y, g.LineStart(b.Line("linAnalogMid")).Y,
                       g.Top(a.NearOutputBox()), rect("lblAnalogNearOutputUnits").Top}),
        QList<double>({3600, 735, 4335, 0, 4335, 4335, 4335 - 285 / 2.0, 4335 + 285 / 2.0}));
    Bench::Enter(a.FarOutputBox(), "20");
    QCOMPARE(QList<double>({rect("lblAnalogRightTop").Height, rect("lblAnalogRightBottom").Top,
                            g.LineEnd(b.Line("linAnalogMid")).Y,
                            g.LineStart(b.Line("linAnalogRight")).Y}),
             QList<double>({0, 3600, 3600, 3600}));
    // The left end of the left line and the right end of the right line keep their places.
    QCOMPARE(g.LineStart(b.Line("linAnalogLeft")).X, 720.0);
    QCOMPARE(g.LineEnd(b.Line("linAnalogRight")).X, 7440.0);
}

void EditorsTest::AnalogModeChange_ThereAndBack_KeepsEveryHandleInPlace() {
    Bench b;
    AnalogEditor& a = b.editors.Analog();
    const auto handles = [&b] {
        QList<double> places;
        for (const char* name :
             {"lblAnalogLeftTop", "lblAnalogLeftBottom", "lblAnalogRightTop",
              "lblAnalogRightBottom", "lblAnalogTopRight", "lblAnalogBottomRight"}) {
            const TwipRect r = b.geometry.Rect(b.Control(name));
            places << r.Left << r.Top << r.Height;
        }
        return places;
    };
    const QList<double> before = handles();
    // Caption, colour, output maximum, output boxes, units.
    const std::tuple<const char*, QColor, float, const char*, const char*> modes[] = {
        {"Voltage", kEditorRed, 10, "2.0 10.0", "volts"},
        {"Current", kEditorGreen, 20, "4.0 20.0", "ma"}};
    for (const auto& [mode, colour, max, outputs, units] : modes) {
        QTest::mouseClick(a.ModeLabel(), Qt::LeftButton);
        QCOMPARE(a.ModeLabel()->text(), QString(mode));
        QCOMPARE(Background(a.ModeLabel()), colour);
        QCOMPARE(b.config.AnalogOutputMax, max);
        QCOMPARE(a.NearOutputBox()->text() + " " + a.FarOutputBox()->text(), QString(outputs));
        QCOMPARE(b.Control("lblAnalogNearOutputUnits")->text(), QString(units));
        QCOMPARE(b.Control("lblAnalogFarOutputUnits")->text(), QString(units));
        QCOMPARE(handles(), before);
    }
    // An output box still being typed in is carried over by its leading number.
    a.NearOutputBox()->setText("6 mA");
    QTest::mouseClick(a.ModeLabel(), Qt::LeftButton);
    QCOMPARE(a.NearOutputBox()->text(), QString("3.0"));
}

void EditorsTest::AnalogEndpoints_MoveHandlesBoxAndLineEndsAndKeepOddTexts() {
    Bench b;
    b.SetRange("0", "100");
    AnalogEditor& a = b.editors.Analog();
    b.editors.Range().ShowRange("0.00", "100.00"); // bounds exactly 0 and 100
    // Text with a leading number stays as typed and is placed by it; beyond the sensor's
    // largest distance, that one at the bar's end.
    const std::tuple<const char*, const char*, float> cases[] = {
        {"40 in", "40 in", 40}, {"400", "221.77", 100}, {"50", "50.00", 50}};
    for (const auto& [entry, shown, at] : cases) {
        Bench::Enter(a.FarEndpointBox(), entry);
        QCOMPARE(a.FarEndpointBox()->text(), QString(shown));
        QCOMPARE(b.Left(b.Control("lblAnalogTopRight")), Bench::X(at, 0, 100));
    }
    const double x = Bench::X(50, 0, 100);
    const FormGeometry& g = b.geometry;
    FormLine* farMark = b.Line("linAnalogFarSetpoint");
    QCOMPARE(QList<double>(
                 {b.Width(b.Control("lblAnalogTopLeft")), b.Width(b.Control("lblAnalogTopRight")),
                  b.Left(a.FarEndpointBox()), b.Left(b.Control("lblAnalogFarEndpointUnits")),
                  g.LineEnd(farMark).X, g.LineStart(farMark).Y, g.LineEnd(farMark).Y,
                  g.LineEnd(b.Line("linAnalogMid")).X, g.LineStart(b.Line("linAnalogRight")).X}),
             QList<double>({x - 840, 7335 - x, x - 615 / 2.0, x + 615 / 2.0, x, 3480, 4440, x, x}));
    Bench::Enter(a.NearEndpointBox(), "0");
    QCOMPARE(
        QList<double>({b.Width(b.Control("lblAnalogBottomLeft")),
                       g.LineEnd(b.Line("linAnalogLeft")).X, g.LineStart(b.Line("linAnalogMid")).X,
                       g.LineStart(b.Line("linAnalogNearSetpoint")).X}),
        QList<double>({0, 840, 840, 840}));
    // A near endpoint beyond the far one is accepted; the middle line runs backwards.
    Bench::Enter(a.NearEndpointBox(), "80");
    QCOMPARE(a.NearEndpointBox()->text(), QString("80.00"));
    QVERIFY(g.LineStart(b.Line("linAnalogMid")).X > g.LineEnd(b.Line("linAnalogMid")).X);
}

// Every control scaling with the window and back is checked on the main window; here, that
// the pointer and the placement code meet the bar as drawn at the new size.
void EditorsTest::Resized_DragsAndPlacementsMeetTheBarAsDrawn() {
    Bench b;
    b.SetRange("6.5", "221.72");
    const char* setpoints[] = {"20", "77.7", "150", "210"}; // all away from their places
    for (int n = 1; n <= 4; ++n) {
        Bench::Enter(b.editors.Sw(n).SetpointBox(), setpoints[n - 1]);
    }
    AnalogEditor& a = b.editors.Analog();
    Bench::Enter(a.NearEndpointBox(), "33.3");
    Bench::Enter(a.FarEndpointBox(), "180");
    Bench::Enter(a.NearOutputBox(), "5.5");
    Bench::Enter(a.FarOutputBox(), "17");
    b.Resize(1.5);
    const QRect bar = b.editors.Range().RangeBar()->geometry();
    // A setpoint dragged to a pixel is the distance at that pixel, give or take one.
    const auto underPointer = [&b](QLineEdit* box, int x) {
        return std::abs(b.Pixel(box->text().toDouble(), 6.5, 221.72) - x) <= 1;
    };
    SwitchEditor& sw = b.editors.Sw(2);
    for (int x : {bar.left() + 40, bar.center().x(), bar.right() - 7}) {
        b.Drag(sw.NearHandle(), {x, sw.NearHandle()->y() + 5});
        QVERIFY2(underPointer(sw.SetpointBox(), x), qPrintable(sw.SetpointBox()->text()));
        QVERIFY(std::abs(sw.FarHandle()->x() - x) <= 1);
        QVERIFY(std::abs(sw.SetpointBox()->geometry().center().x() - x) <= 1);
    }
    const int x = bar.left() + bar.width() / 3;
    b.Drag(b.Control("lblAnalogTopRight"), {x, 0});
    QVERIFY(underPointer(a.FarEndpointBox(), x));
    QVERIFY(std::abs(b.Control("lblAnalogTopRight")->x() - x) <= 1);
    const QRect box = b.Control<QWidget>("shpAnalogBox")->geometry();
    const int y = box.top() + box.height() / 4;
    b.Drag(b.Control("lblAnalogRightBottom"), {0, y});
    // The output is placed from its box: the meeting point lands under the pointer.
    QVERIFY2(std::abs(b.Control("lblAnalogRightBottom")->y() - y) <= 1,
             qPrintable(a.FarOutputBox()->text()));

    // Placed from a typed setpoint, and again by a range applied at the new size and on
    // the way back.
    SwitchEditor& sw1 = b.editors.Sw(1);
    Bench::Enter(sw1.SetpointBox(), "100");
    QVERIFY(std::abs(sw1.FarHandle()->x() - b.Pixel(100, 6.5, 221.72)) <= 1);
    Bench::Enter(b.editors.Range().MaxRangeBox(), "150");
    QVERIFY(std::abs(sw1.FarHandle()->x() - b.Pixel(100, 6.5, 150)) <= 1);
    b.Resize(1.0);
    QVERIFY(std::abs(sw1.FarHandle()->x() - b.Pixel(100, 6.5, 150)) <= 1);
}

// Steps in order on one bench: clicking a label, or choosing its pop-up entry, gives the
// caption and colour and checks only that entry of the label's submenu (lblX: mnuX).
void EditorsTest::OptionLabels_ClicksAndMenuEntriesSetCaptionColourAndOneCheckMark() {
    const QColor any; // the power-up labels' colours are not checked
    // Label, chosen from its menu (or clicked), caption and colour then.
    const std::tuple<const char*, bool, const char*, QColor> steps[] = {
        {"lblSw3Mode", false, "Wind", kEditorMagenta},
        {"lblSw3Mode", false, "Hyst", kEditorCyan},
        {"lblSw3EchoLoss", false, "On", kEditorRed},
        {"lblSw3EchoLoss", false, "Off", kEditorGreen},
        {"lblSw3EchoLoss", false, "NC", kEditorYellow},
        {"lblSw3PowerUp", false, "On", any},
        {"lblSw3PowerUp", false, "Off", any},
        // Choosing the entry that is already checked keeps it checked.
        {"lblSw2EchoLoss", true, "Off", kEditorGreen},
        {"lblSw2EchoLoss", true, "Off", kEditorGreen},
        {"lblSw2Mode", true, "Wind", kEditorMagenta},
        {"lblSw2PowerUp", true, "On", any},
        {"lblSw2PowerUp", true, "On", any},
        {"lblAnalogEchoLoss", false, "Low", kEditorGreen},
        {"lblAnalogEchoLoss", false, "High", kEditorRed},
        {"lblAnalogEchoLoss", false, "NC", kEditorYellow},
        // "Off" is no power-up state; clicks run "Low", "High", "Low".
        {"lblAnalogPowerUp", false, "Low", any},
        {"lblAnalogPowerUp", false, "High", any},
        {"lblAnalogPowerUp", false, "Low", any},
        {"lblAnalogPowerUp", true, "High", any},
        {"lblAnalogPowerUp", true, "High", any},
        {"lblAnalogEchoLoss", true, "High", kEditorRed}};
    Bench b;
    b.Control("lblAnalogPowerUp")->setText("Off"); // its design caption
    for (const auto& [name, byMenu, caption, colour] : steps) {
        auto* label = b.Control(name);
        const QString menu = "mnu" + QString(name).mid(3);
        if (byMenu) {
            b.Control<QAction>(qPrintable(menu + caption))->trigger();
        } else {
            QTest::mouseClick(label, Qt::LeftButton);
        }
        QStringList checked;
        for (const QAction* entry : b.Control<QMenu>(qPrintable(menu))->actions()) {
            if (entry->isChecked()) {
                checked << entry->objectName();
            }
        }
        QVERIFY2(
            label->text() == caption && (!colour.isValid() || Background(label) == colour) &&
                checked == QStringList{menu + caption},
            qPrintable(
                QString("%1 '%2' with %3 checked").arg(name, label->text(), checked.join(' '))));
    }
    QCOMPARE(b.Control("lblAnalogEchoLoss")->accessibleName(),
             QString("Analog echo loss response: High"));
    QCOMPARE(b.editors.Sw(1).EchoLossLabel()->text(), QString("NC")); // the others untouched
}

void EditorsTest::OptionLabels_OddCaptionsOtherButtonsAndPolarity() {
    Bench b;
    // Other buttons step to the first state; an odd caption steps to the first state.
    SwitchEditor& sw3 = b.editors.Sw(3);
    QTest::mouseClick(sw3.PowerUpLabel(), Qt::RightButton);
    QCOMPARE(sw3.PowerUpLabel()->text(), QString("Off"));
    sw3.ModeLabel()->setText("888");
    QTest::mouseClick(sw3.ModeLabel(), Qt::LeftButton);
    QCOMPARE(sw3.ModeLabel()->text(), QString("Hyst"));
    QCOMPARE(sw3.ModeLabel()->accessibleName(), QString("Switch 3 mode: Hyst"));
    // Reversing the polarity twice brings back the captions and colours.
    SwitchEditor& sw = b.editors.Sw(1);
    const bool opened = sw.NearHandle()->text() == "On"; // as the window's record has it
    for (const bool reversed : {!opened, opened}) {
        sw.PopUp().Polarity->trigger();
        QCOMPARE(sw.NearHandle()->text() + " " + sw.FarHandle()->text(),
                 QString(reversed ? "On Off" : "Off On"));
        QCOMPARE(Background(sw.NearHandle()), reversed ? kEditorRed : kEditorGreen);
        QCOMPARE(Background(sw.FarHandle()), reversed ? kEditorGreen : kEditorRed);
    }
}

} // namespace telmora

QTEST_MAIN(telmora::EditorsTest)
#include "editors_qttest.moc"
