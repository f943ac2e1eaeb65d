// The output editors on the main window showing family B's factory configuration: the
// range boxes, the switch rows and the analog editor as the user types, drags and clicks.
// Each scenario writes what its controls show and where they stand in twips after every
// step, compared once with editors_qttest.golden (the figures are the core's, tested
// there); the pointer meeting the bar at a resized window is checked in pixels.
#include "../app/app_test_support.h"
#include "../support/golden.h"
#include "app/main_window.h"
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

namespace telmora {

namespace {

QString Num(double value) {
    return QString::number(value, 'g', 7);
}

// The editors on the main window, which opens showing family B's factory configuration.
struct Bench {
    explicit Bench(QStringList& out) : out(out) { window.show(); }
    template <typename T = QLabel> T* Control(const QString& name) {
        T* control = surface.findChild<T*>(name);
        if (control == nullptr) {
            qFatal("no control named %s", qPrintable(name));
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
    // The meeting point as the bar is drawn on the screen, in surface pixels.
    double Pixel(double setpoint, double min, double max) {
        const QRect bar = editors.Range().RangeBar()->geometry();
        return DistanceToX({float(bar.left()), float(bar.width())}, float(setpoint), float(min),
                           float(max));
    }

    // A control's text, colour, checked menu entries and spoken name, and its place in twips.
    QString Describe(const QString& name) {
        QWidget* w = Control<QWidget>(name);
        if (auto* line = qobject_cast<FormLine*>(w)) {
            const TwipPoint a = geometry.LineStart(line), b = geometry.LineEnd(line);
            return name + " " + Num(a.X) + "," + Num(a.Y) + " to " + Num(b.X) + "," + Num(b.Y);
        }
        QString s = name + " '" + w->property("text").toString() + "'";
        if (auto* label = qobject_cast<QLabel*>(w); label && label->autoFillBackground()) {
            s += " " + Background(label).name();
        }
        if (auto* menu = surface.findChild<QMenu*>("mnu" + name.mid(3))) {
            for (const QAction* entry : menu->actions()) {
                s += entry->isChecked() ? " [" + entry->objectName() + "]" : "";
            }
        }
        s += qobject_cast<OptionLabel*>(w) ? " \"" + w->accessibleName() + "\"" : "";
        const TwipRect r = geometry.Rect(w);
        return s + " " + Num(r.Left) + "," + Num(r.Top) + " " + Num(r.Width) + "x" + Num(r.Height);
    }
    // Records a step, then the named controls, the record and what is being dragged.
    void Step(const QString& what, const QStringList& names) {
        out << "> " + what;
        Show(names);
    }
    void Show(const QStringList& names) {
        for (const QString& name : names) {
            out << "  " + Describe(name);
        }
        const SensorConfig& c = config;
        out << "  record range " + Num(c.MinRange) + " to " + Num(c.MaxRange) + ", " +
                   QString::number(c.NumberOfPulses) + " pulses, sw1 " + Num(c.Sw1Setpoint) +
                   " hyst " + Num(c.Sw1Hyst) + ", sw4 hyst " + Num(c.Sw4Hyst) + ", analog max " +
                   Num(c.AnalogOutputMax);
        AnalogEditor& a = editors.Analog();
        QString held;
        for (int n = 1; n <= 4; ++n) {
            held += editors.Sw(n).Dragging() ? QString(" sw%1").arg(n) : "";
            held += editors.Sw(n).PopUp().Menu->isVisible() ? QString(" sw%1 menu").arg(n) : "";
        }
        const std::pair<bool, const char*> analog[] = {
            {a.AnalogNearEndpointDragging(), " near endpoint"},
            {a.AnalogFarEndpointDragging(), " far endpoint"},
            {a.AnalogNearOutputDragging(), " near output"},
            {a.AnalogFarOutputDragging(), " far output"},
            {a.PopUpMenu()->isVisible(), " analog menu"}};
        for (const auto& [on, what] : analog) {
            held += on ? what : "";
        }
        out << "  held" + (held.isEmpty() ? " nothing" : held);
    }
    // Types into the box named `box` and records the step.
    void Type(const QString& box, const QString& text, const QStringList& names) {
        out << "> " + box + " <- " + text;
        Enter(Control<QLineEdit>(box), text);
        Show(names);
    }

    QStringList& out;
    app_test::Sandbox sandbox;
    MainWindow window;
    OutputEditors& editors = window.Editors();
    SensorConfig& config = window.Config();
    FormSurface& surface = window.Surface();
    FormGeometry& geometry = window.Geometry();
};

const QStringList kRange = {"txtMinRange", "txtMaxRange"};

void RangeBoxes(Bench& b) {
    // Each box is held against the other; the keypad's Enter applies as well; a single
    // pulse below the family's near limit; the maximum leaves the count alone.
    b.SetRange("6.5", "221.72");
    b.Type("txtMinRange", "300", kRange);
    b.Type("txtMinRange", "6.5", kRange);
    b.Type("txtMaxRange", "3", kRange);
    b.Type("txtMaxRange", "1e999", kRange);
    b.editors.Range().MaxRangeBox()->setText("100");
    QTest::keyClick(b.editors.Range().MaxRangeBox(), Qt::Key_Enter, Qt::KeypadModifier);
    b.Step("txtMaxRange 100, keypad Enter", kRange);
    b.window.SetFamily(SensorFamily::A);
    b.Type("txtMinRange", "6.5", {});
    b.Type("txtMinRange", "6.49", {});
    b.window.SetFamily(SensorFamily::B);
    b.Type("txtMinRange", "8", {});
    b.config.NumberOfPulses = 7;
    b.Type("txtMaxRange", "100", {});
}

void TypedThenShown(Bench& b) {
    // Enter stores the typed number itself; applying again stores the shown one; so does
    // leaving the box.
    for (const char* box : {"txtMaxRange", "txtSw1Hyst"}) {
        b.Type(box, box == kRange[1] ? "221.724" : "1.234", {box});
        QTest::keyClick(b.Control<QLineEdit>(box), Qt::Key_Return);
        b.Step("Enter again", {box});
    }
    b.Type("txtSw4Hyst", "wide", {"txtSw4Hyst"});
    b.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&b.window));
    QLineEdit* max = b.editors.Range().MaxRangeBox();
    QLineEdit* min = b.editors.Range().MinRangeBox();
    max->setFocus();
    max->setText("221.726");
    min->setFocus();
    b.Step("txtMaxRange 221.726, focus leaves", kRange);
    min->setText("6.504");
    max->setFocus();
    b.Step("txtMinRange 6.504, focus leaves", kRange);
}

void RangeChange(Bench& b) {
    // Every output moves and keeps its text; the chart's captions follow each range as
    // applied (limits included) or shown from a record (no limits).
    b.SetRange("8", "221.72");
    RangeEditor& range = b.editors.Range();
    QObject::connect(&range, &RangeEditor::MinRangeShown, [&b](auto t) { b.out << "  min " + t; });
    QObject::connect(&range, &RangeEditor::MaxRangeShown, [&b](auto t) { b.out << "  max " + t; });
    QStringList outputs = {"lblAnalogTopRight", "txtAnalogFarEndpoint"};
    for (int n = 1; n <= 4; ++n) {
        outputs << QString("lblSw%1Right").arg(n) << QString("txtSw%1Setpoint").arg(n);
    }
    b.Type("txtMaxRange", "100", outputs);
    b.Type("txtMinRange", "12.345", {});
    b.Type("txtMaxRange", "1234.5", {});
    b.out << "> a record shows 6.50 to 1234.50";
    range.ShowRange("6.50", "1234.50");
    b.Show(kRange);
}

void Setpoints(Bench& b) {
    // Beyond the range the value stays, as far as the sensor holds it, and the handle on that
    // side shrinks to nothing; text with a leading number is shown as that number; a range
    // box still being typed in ("abc" reads as 0) does not upset a placement.
    b.SetRange("6.5", "221.72");
    const QStringList row = {"lblSw2Left", "lblSw2Right", "txtSw2Setpoint", "lblSw2SetpointUnits"};
    for (const char* entry : {"114.11", "500", "-20", "12.5 inches"}) {
        b.Type("txtSw2Setpoint", entry, row);
    }
    b.editors.Range().MaxRangeBox()->setText("abc");
    b.Type("txtSw2Setpoint", "100", row);
}

void Drags(Bench& b) {
    // Each handle pressed with a button that drags it, moved past both ends of its bar or
    // box (surface pixels), then released; a drag writes no record.
    b.SetRange("6.5", "221.72");
    const std::tuple<const char*, Qt::MouseButton, const char*, QPoint, QPoint> cases[] = {
        {"lblSw1Left", Qt::LeftButton, "txtSw1Setpoint", {2000, 50}, {-300, 50}},
        {"lblSw1Right", Qt::MiddleButton, "txtSw1Setpoint", {-300, 50}, {2000, 50}},
        {"lblAnalogTopLeft", Qt::LeftButton, "txtAnalogFarEndpoint", {3000, 230}, {-3000, 230}},
        {"lblAnalogRightTop", Qt::LeftButton, "txtAnalogFarOutput", {500, 2000}, {500, -2000}},
        {"lblAnalogLeftTop", Qt::RightButton, "txtAnalogNearOutput", {40, 2000}, {40, -2000}}};
    for (const auto& [name, button, box, first, second] : cases) {
        QWidget* handle = b.Control<QWidget>(name);
        QTest::mousePress(handle, button, {}, {2, 2});
        const char* pressed = button == Qt::LeftButton     ? "left"
                              : button == Qt::MiddleButton ? "middle"
                                                           : "right";
        b.Step(QString("press %1 with the %2 button").arg(name, pressed), {});
        for (const QPoint to : {first, second}) {
            QTest::mouseMove(handle, handle->mapFrom(&b.surface, to));
            b.Step(QString("move to %1,%2").arg(to.x()).arg(to.y()), {box});
        }
        QTest::mouseRelease(handle, button, {}, {2, 2});
        b.Step("release", {});
    }
}

void PopUps(Bench& b) {
    // The pointer passing over the handles with no button held moves nothing; a right press
    // on a switch handle opens its pop-up and never drags; the analog editor's opens on a
    // right press on its area, not on a left click.
    SwitchEditor& sw = b.editors.Sw(2);
    for (const auto& [handle, at] :
         {std::pair(sw.NearHandle(), QPoint(3, 3)), std::pair(sw.FarHandle(), QPoint(100, 3))}) {
        QMouseEvent move(QEvent::MouseMove, at, handle->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
    }
    const QStringList row = {"lblSw2Right", "txtSw2Setpoint"};
    b.Step("moves over the handles", row);
    QTest::mousePress(sw.FarHandle(), Qt::RightButton, {}, {5, 5});
    QTest::mouseMove(sw.FarHandle(), {200, 5});
    b.Step("right press on lblSw2Right, move", row);
    sw.PopUp().Menu->close();
    QTest::mouseRelease(sw.FarHandle(), Qt::RightButton, {}, {200, 5});
    QWidget* back = b.Control("lblAnalogBack");
    QTest::mouseClick(back, Qt::LeftButton, {}, {20, 20});
    b.Step("left click on lblAnalogBack", {});
    QTest::mousePress(back, Qt::RightButton, {}, {20, 20});
    b.Step("right press on lblAnalogBack", {});
    b.editors.Analog().PopUpMenu()->close();
    QTest::mouseRelease(back, Qt::RightButton, {}, {20, 20});
}

void AnalogOutputs(Bench& b) {
    // Each box is held to the scale of the mode (20 in current mode, 10 in voltage mode); at
    // either end of the scale the meeting point lies on the box's edge.
    b.config.AnalogOutputMax = 10;
    b.Type("txtAnalogFarOutput", "12", {"txtAnalogFarOutput"});
    b.config.AnalogOutputMax = 20;
    b.Type("txtAnalogNearOutput", "25", {"txtAnalogNearOutput"});
    b.Type("txtAnalogNearOutput", "0",
           {"lblAnalogLeftTop", "lblAnalogLeftBottom", "linAnalogLeft", "linAnalogMid",
            "txtAnalogNearOutput", "lblAnalogNearOutputUnits"});
    b.Type("txtAnalogFarOutput", "20",
           {"lblAnalogRightTop", "lblAnalogRightBottom", "linAnalogMid", "linAnalogRight"});
}

void AnalogModes(Bench& b) {
    // The mode there and back keeps every handle in place; an output box still being typed in
    // is carried over by its leading number.
    const QStringList shown = {"lblAnalogMode",           "txtAnalogNearOutput",
                               "txtAnalogFarOutput",      "lblAnalogNearOutputUnits",
                               "lblAnalogFarOutputUnits", "lblAnalogLeftTop",
                               "lblAnalogLeftBottom",     "lblAnalogRightTop",
                               "lblAnalogRightBottom",    "lblAnalogTopRight",
                               "lblAnalogBottomRight"};
    b.Step("as opened", shown);
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(b.editors.Analog().ModeLabel(), Qt::LeftButton);
        b.Step("click lblAnalogMode", shown);
    }
    b.editors.Analog().NearOutputBox()->setText("6 mA");
    QTest::mouseClick(b.editors.Analog().ModeLabel(), Qt::LeftButton);
    b.Step("txtAnalogNearOutput 6 mA, click lblAnalogMode", {"txtAnalogNearOutput"});
}

void AnalogEndpoints(Bench& b) {
    // Text with a leading number stays as typed and is placed by it; beyond the sensor's
    // largest distance, at the bar's end; a near endpoint beyond the far one is accepted.
    b.SetRange("0", "100");
    b.editors.Range().ShowRange("0.00", "100.00"); // bounds exactly 0 and 100
    const QStringList far = {"lblAnalogTopLeft",     "lblAnalogTopRight",
                             "txtAnalogFarEndpoint", "lblAnalogFarEndpointUnits",
                             "linAnalogFarSetpoint", "linAnalogMid",
                             "linAnalogRight"};
    for (const char* entry : {"40 in", "400", "50"}) {
        b.Type("txtAnalogFarEndpoint", entry, far);
    }
    const QStringList near = {"lblAnalogBottomLeft", "linAnalogLeft", "linAnalogMid",
                              "linAnalogNearSetpoint", "txtAnalogNearEndpoint"};
    b.Type("txtAnalogNearEndpoint", "0", near);
    b.Type("txtAnalogNearEndpoint", "80", near);
}

void OptionLabels(Bench& b) {
    // Clicking a label steps its caption; choosing its pop-up entry (caption given) sets it;
    // either way only that entry of its submenu is checked. "Off" is no analog power-up
    // state; choosing the entry already checked keeps it checked.
    const std::pair<const char*, const char*> steps[] = {
        {"lblSw3Mode", nullptr},        {"lblSw3Mode", nullptr},
        {"lblSw3EchoLoss", nullptr},    {"lblSw3EchoLoss", nullptr},
        {"lblSw3EchoLoss", nullptr},    {"lblSw3PowerUp", nullptr},
        {"lblSw3PowerUp", nullptr},     {"lblSw2EchoLoss", "Off"},
        {"lblSw2EchoLoss", "Off"},      {"lblSw2Mode", "Wind"},
        {"lblSw2PowerUp", "On"},        {"lblSw2PowerUp", "On"},
        {"lblAnalogEchoLoss", nullptr}, {"lblAnalogEchoLoss", nullptr},
        {"lblAnalogEchoLoss", nullptr}, {"lblAnalogPowerUp", nullptr},
        {"lblAnalogPowerUp", nullptr},  {"lblAnalogPowerUp", nullptr},
        {"lblAnalogPowerUp", "High"},   {"lblAnalogPowerUp", "High"},
        {"lblAnalogEchoLoss", "High"}};
    b.Control("lblAnalogPowerUp")->setText("Off"); // its design caption
    for (const auto& [name, entry] : steps) {
        if (entry != nullptr) {
            b.Control<QAction>("mnu" + QString(name).mid(3) + entry)->trigger();
        } else {
            QTest::mouseClick(b.Control(name), Qt::LeftButton);
        }
        b.Step(entry != nullptr ? QString("menu %1 %2").arg(name, entry) : QString("click ") + name,
               {name});
    }
    b.Step("the others untouched", {"lblSw1EchoLoss"});
    // Other buttons step to the first state, as does an odd caption.
    QTest::mouseClick(b.Control("lblSw3PowerUp"), Qt::RightButton);
    b.Step("right click lblSw3PowerUp", {"lblSw3PowerUp"});
    b.Control("lblSw3Mode")->setText("888");
    QTest::mouseClick(b.Control("lblSw3Mode"), Qt::LeftButton);
    b.Step("lblSw3Mode 888, click", {"lblSw3Mode"});
    // Reversing the polarity twice brings back the captions and colours.
    for (int i = 0; i < 2; ++i) {
        b.editors.Sw(1).PopUp().Polarity->trigger();
        b.Step("reverse polarity of switch 1", {"lblSw1Left", "lblSw1Right"});
    }
}

} // namespace

class EditorsTest : public QObject {
    Q_OBJECT
  private slots:
    void Scenarios_ShowTheGoldenTextsAndPlaces();
    void Resized_DragsAndPlacementsMeetTheBarAsDrawn();
};

void EditorsTest::Scenarios_ShowTheGoldenTextsAndPlaces() {
    QStringList out;
    const std::pair<const char*, void (*)(Bench&)> scenarios[] = {
        {"range boxes", RangeBoxes},
        {"typed then shown", TypedThenShown},
        {"range change", RangeChange},
        {"setpoints", Setpoints},
        {"drags", Drags},
        {"pop-ups", PopUps},
        {"analog outputs", AnalogOutputs},
        {"analog mode", AnalogModes},
        {"analog endpoints", AnalogEndpoints},
        {"option labels", OptionLabels}};
    for (const auto& [name, run] : scenarios) {
        out << QString("== ") + name;
        Bench b(out);
        run(b);
    }
    // Numbers are read with a period whatever the locale.
    out << "== german locale";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        Bench b(out);
        b.Type("txtMinRange", "12.5", {"txtMinRange"});
        b.Type("txtMinRange", "12,5", {"txtMinRange"});
    }
    QLocale::setDefault(QLocale::c());
    const std::string diff =
        test::GoldenDiff((out.join('\n') + '\n').toStdString(), TELMORA_GOLDEN);
    QVERIFY2(diff.empty(), diff.c_str());
}

// Every control scaling with the window and back is checked on the main window; here, that
// the pointer and the placement code meet the bar as drawn at the new size.
void EditorsTest::Resized_DragsAndPlacementsMeetTheBarAsDrawn() {
    QStringList out;
    Bench b(out);
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

} // namespace telmora

QTEST_MAIN(telmora::EditorsTest)
#include "editors_qttest.moc"
