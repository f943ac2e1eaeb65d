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
#include <QApplication>
#include <QKeySequence>
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
        last = Snapshot(); // set up, not a step
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
    QString Describe(QWidget* w) {
        const QString name = w->objectName();
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
    // Every placed control, the record and what is being dragged or has its pop-up open.
    QMap<QString, QString> Snapshot() {
        QMap<QString, QString> now;
        // The echo symbol is left out: the gauge timer moves it whenever events are processed.
        for (QWidget* w : surface.findChildren<QWidget*>()) {
            if (!w->objectName().isEmpty() && geometry.IsPlaced(w) &&
                w->objectName() != "shpEcho") {
                now[w->objectName()] = Describe(w);
            }
        }
        const SensorConfig& c = config;
        now["~record"] = "record range " + Num(c.MinRange) + " to " + Num(c.MaxRange) + ", " +
                         QString::number(c.NumberOfPulses) + " pulses, sw1 " + Num(c.Sw1Setpoint) +
                         " hyst " + Num(c.Sw1Hyst) + ", sw4 hyst " + Num(c.Sw4Hyst) +
                         ", analog max " + Num(c.AnalogOutputMax);
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
        now["~held"] = "held" + (held.isEmpty() ? " nothing" : held);
        return now;
    }
    // Records a step, then what changed with it, and the controls in `shown` in any case.
    void Step(const QString& what, const QStringList& shown = {}) {
        out << "> " + what;
        const QMap<QString, QString> now = Snapshot();
        for (auto it = now.begin(); it != now.end(); ++it) {
            if (last.value(it.key()) != it.value() || shown.contains(it.key())) {
                out << "  " + it.value();
            }
        }
        last = now;
    }
    // Types into the box named `box` and records the step.
    void Type(const QString& box, const QString& text) {
        Enter(Control<QLineEdit>(box), text);
        Step(box + " <- " + text, {box});
    }
    // Steps apart by "|": "box=text" typed and entered, "mnuX:Entry" chosen from lblX's
    // pop-up, "lblX" clicked; the label is shown after each, changed or not.
    void Run(const QString& steps) {
        for (const QString& step : steps.split('|')) {
            if (step.contains('=')) {
                Type(step.section('=', 0, 0), step.section('=', 1));
                continue;
            }
            const QString label = "lbl" + step.section(':', 0, 0).mid(3);
            if (step.startsWith("mnu")) {
                Control<QAction>(step.section(':', 0, 0) + step.section(':', 1))->trigger();
            } else {
                QTest::mouseClick(Control(step), Qt::LeftButton);
            }
            Step(step, {label});
        }
    }

    QStringList& out;
    app_test::Sandbox sandbox;
    MainWindow window;
    OutputEditors& editors = window.Editors();
    SensorConfig& config = window.Config();
    FormSurface& surface = window.Surface();
    FormGeometry& geometry = window.Geometry();
    QMap<QString, QString> last = Snapshot();
};

void RangeBoxes(Bench& b) {
    // Each box is held against the other; the keypad's Enter applies as well; a single
    // pulse below the family's near limit; the maximum leaves the count alone.
    b.SetRange("6.5", "221.72");
    b.Run("txtMinRange=300|txtMinRange=6.5|txtMaxRange=3|txtMaxRange=1e999");
    b.editors.Range().MaxRangeBox()->setText("100");
    QTest::keyClick(b.editors.Range().MaxRangeBox(), Qt::Key_Enter, Qt::KeypadModifier);
    b.Step("txtMaxRange 100, keypad Enter");
    b.window.SetFamily(SensorFamily::A);
    b.Run("txtMinRange=6.5|txtMinRange=6.49");
    b.window.SetFamily(SensorFamily::B);
    b.Run("txtMinRange=8");
    b.config.NumberOfPulses = 7;
    b.Run("txtMaxRange=100");
}

void TypedThenShown(Bench& b) {
    // Enter stores the typed number itself; applying again stores the shown one; so does
    // leaving the box.
    for (const char* box : {"txtMaxRange", "txtSw1Hyst"}) {
        b.Type(box, box == QString("txtMaxRange") ? "221.724" : "1.234");
        QTest::keyClick(b.Control<QLineEdit>(box), Qt::Key_Return);
        b.Step("Enter again", {box});
    }
    b.Run("txtSw4Hyst=wide");
    b.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&b.window));
    QLineEdit* max = b.editors.Range().MaxRangeBox();
    QLineEdit* min = b.editors.Range().MinRangeBox();
    max->setFocus();
    max->setText("221.726");
    min->setFocus();
    b.Step("txtMaxRange 221.726, focus leaves");
    min->setText("6.504");
    max->setFocus();
    b.Step("txtMinRange 6.504, focus leaves");
}

void RangeChange(Bench& b) {
    // Every output moves and keeps its text; the chart's captions follow each range as
    // applied (limits included) or shown from a record (no limits).
    b.SetRange("8", "221.72");
    RangeEditor& range = b.editors.Range();
    QObject::connect(&range, &RangeEditor::MinRangeShown, [&b](auto t) { b.out << "  min " + t; });
    QObject::connect(&range, &RangeEditor::MaxRangeShown, [&b](auto t) { b.out << "  max " + t; });
    b.Run("txtMaxRange=100|txtMinRange=12.345|txtMaxRange=1234.5");
    range.ShowRange("6.50", "1234.50");
    b.Step("a record shows 6.50 to 1234.50");
}

void Setpoints(Bench& b) {
    // Beyond the range the value stays, as far as the sensor holds it, and the handle on that
    // side shrinks to nothing; text with a leading number is shown as that number; a range
    // box still being typed in ("abc" reads as 0) does not upset a placement.
    b.SetRange("6.5", "221.72");
    b.Run("txtSw2Setpoint=114.11|txtSw2Setpoint=500|txtSw2Setpoint=-20|"
          "txtSw2Setpoint=12.5 inches");
    b.editors.Range().MaxRangeBox()->setText("abc");
    b.Run("txtSw2Setpoint=100");
}

void Drags(Bench& b) {
    // Each handle pressed with a button that drags it, moved past both ends of its bar or
    // box (surface pixels), then released; a drag writes no record.
    b.SetRange("6.5", "221.72");
    const std::tuple<const char*, Qt::MouseButton, QPoint, QPoint> cases[] = {
        {"lblSw1Left", Qt::LeftButton, {2000, 50}, {-300, 50}},
        {"lblSw1Right", Qt::MiddleButton, {-300, 50}, {2000, 50}},
        {"lblAnalogTopLeft", Qt::LeftButton, {3000, 230}, {-3000, 230}},
        {"lblAnalogRightTop", Qt::LeftButton, {500, 2000}, {500, -2000}},
        {"lblAnalogLeftTop", Qt::RightButton, {40, 2000}, {40, -2000}}};
    for (const auto& [name, button, first, second] : cases) {
        QWidget* handle = b.Control<QWidget>(name);
        QTest::mousePress(handle, button, {}, {2, 2});
        b.Step(QString("press %1 with button %2").arg(name).arg(int(button)));
        for (const QPoint to : {first, second}) {
            QTest::mouseMove(handle, handle->mapFrom(&b.surface, to));
            b.Step(QString("move to %1,%2").arg(to.x()).arg(to.y()));
        }
        QTest::mouseRelease(handle, button, {}, {2, 2});
        b.Step("release");
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
    b.Step("moves over the handles");
    QTest::mousePress(sw.FarHandle(), Qt::RightButton, {}, {5, 5});
    QTest::mouseMove(sw.FarHandle(), {200, 5});
    b.Step("right press on lblSw2Right, move");
    sw.PopUp().Menu->close();
    QTest::mouseRelease(sw.FarHandle(), Qt::RightButton, {}, {200, 5});
    QWidget* back = b.Control("lblAnalogBack");
    QTest::mouseClick(back, Qt::LeftButton, {}, {20, 20});
    b.Step("left click on lblAnalogBack");
    QTest::mousePress(back, Qt::RightButton, {}, {20, 20});
    b.Step("right press on lblAnalogBack");
    b.editors.Analog().PopUpMenu()->close();
    QTest::mouseRelease(back, Qt::RightButton, {}, {20, 20});
}

void Analog(Bench& b) {
    // Each output box is held to the scale of the mode (20 in current mode, 10 in voltage
    // mode); at either end of the scale the meeting point lies on the box's edge. The mode
    // there and back keeps every handle in place; an output box still being typed in is
    // carried over by its leading number. An endpoint with a leading number stays as typed
    // and is placed by it; beyond the sensor's largest distance, at the bar's end; a near
    // endpoint beyond the far one is accepted.
    b.config.AnalogOutputMax = 10;
    b.Run("txtAnalogFarOutput=12");
    b.config.AnalogOutputMax = 20;
    b.Run("txtAnalogNearOutput=25|txtAnalogNearOutput=0|txtAnalogFarOutput=20|lblAnalogMode|"
          "lblAnalogMode|txtAnalogNearOutput=6 mA|lblAnalogMode");
    b.SetRange("0", "100");
    b.editors.Range().ShowRange("0.00", "100.00"); // bounds exactly 0 and 100
    b.Step("range 0.00 to 100.00");
    b.Run("txtAnalogFarEndpoint=40 in|txtAnalogFarEndpoint=400|txtAnalogFarEndpoint=50|"
          "txtAnalogNearEndpoint=0|txtAnalogNearEndpoint=80");
}

void OptionLabels(Bench& b) {
    // Clicking a label steps its caption, choosing its pop-up entry sets it; either way only
    // that entry of its submenu is checked, also when it was checked already. "Off" is no
    // analog power-up state. Other buttons step to the first state, as does an odd caption.
    b.Control("lblAnalogPowerUp")->setText("Off");
    b.Step("lblAnalogPowerUp given its design caption");
    b.Run("lblSw3Mode|lblSw3Mode|lblSw3EchoLoss|lblSw3EchoLoss|lblSw3EchoLoss|lblSw3PowerUp|"
          "lblSw3PowerUp|mnuSw2EchoLoss:Off|mnuSw2EchoLoss:Off|mnuSw2Mode:Wind|mnuSw2PowerUp:On|"
          "mnuSw2PowerUp:On|lblAnalogEchoLoss|lblAnalogEchoLoss|lblAnalogEchoLoss|"
          "lblAnalogPowerUp|lblAnalogPowerUp|lblAnalogPowerUp|mnuAnalogPowerUp:High|"
          "mnuAnalogPowerUp:High|mnuAnalogEchoLoss:High");
    QTest::mouseClick(b.Control("lblSw3PowerUp"), Qt::RightButton);
    b.Step("right click lblSw3PowerUp", {"lblSw3PowerUp"});
    b.Control("lblSw3Mode")->setText("888");
    b.Step("lblSw3Mode given an odd caption");
    b.Run("lblSw3Mode");
    // Reversing the polarity twice brings back the captions and colours.
    for (int i = 0; i < 2; ++i) {
        b.editors.Sw(1).PopUp().Polarity->trigger();
        b.Step("reverse polarity of switch 1");
    }
}

// Keys as a user presses them, apart by "|" ("Shift+Left*3" three times): to the open
// pop-up, else to the control with the focus; each is recorded with the focus after it.
void Keys(Bench& b, const QString& script) {
    for (const QString& step : script.split('|')) {
        const QKeyCombination key = QKeySequence(step.section('*', 0, 0))[0];
        for (int i = qMax(1, step.section('*', 1).toInt()); i > 0; --i) {
            QWidget* popUp = QApplication::activePopupWidget();
            QTest::keyClick(popUp ? popUp : QApplication::focusWidget(), key.key(),
                            key.keyboardModifiers());
        }
        b.Step(step + ", focus on " + QApplication::focusWidget()->objectName());
    }
}

void Keyboard(Bench& b) {
    b.window.activateWindow(); // Tab's reach round the window is the accessibility check's
    QVERIFY(QTest::qWaitForWindowActive(&b.window));
    // Arrows step 0.01 inch, with Shift 0.1, held at the bar's ends as a drag is; the
    // pop-up opens from the keyboard and its entries answer their access keys.
    b.SetRange("6.5", "221.72");
    b.editors.Sw(1).SetpointBox()->setFocus();
    Keys(b, "Ctrl+A|7|Return|Tab|Right|Shift+Up|Down|Shift+Left*9|Shift+F10|R|Tab|Space|"
            "Shift+Tab|Menu|Esc|Shift+F10|E|F");
    // An analog output steps by 0.1 within its scale; its pairs open the area's pop-up.
    b.editors.Analog().NearOutputBox()->setFocus();
    Keys(b, "Tab|Shift+Up*2|Down|Shift+Down*200|Shift+F10|P|H");
}

} // namespace

class EditorsTest : public QObject {
    Q_OBJECT
  private slots:
    void Scenarios_ShowTheGoldenTextsAndPlaces();
    void Resized_DragsAndPlacementsMeetTheBarAsDrawn();
    void Keyboard_FocusFrameShowsAtEveryScaleAndAccessKeysAreUnique();
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
        {"analog editor", Analog},
        {"option labels", OptionLabels},
        {"keyboard", Keyboard}};
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
        b.Run("txtMinRange=12.5|txtMinRange=12,5");
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
    // Every output away from its place.
    b.Run("txtSw1Setpoint=20|txtSw2Setpoint=77.7|txtSw3Setpoint=150|txtSw4Setpoint=210|"
          "txtAnalogNearEndpoint=33.3|txtAnalogFarEndpoint=180|txtAnalogNearOutput=5.5|"
          "txtAnalogFarOutput=17");
    AnalogEditor& a = b.editors.Analog();
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

void EditorsTest::Keyboard_FocusFrameShowsAtEveryScaleAndAccessKeysAreUnique() {
    QStringList out;
    Bench b(out);
    b.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&b.window));
    // A handle's top and bottom edges turn black with the focus, on the thick switch strips
    // and the thin analog ones, at the design size and twice it; so do the second strip's.
    const auto framed = [](QWidget* handle) {
        const QImage image = handle->grab().toImage();
        int black = 0;
        for (int x = 0; x < image.width(); ++x) {
            black += image.pixelColor(x, 0) == Qt::black &&
                     image.pixelColor(x, image.height() - 1) == Qt::black;
        }
        return black > image.width() / 4;
    };
    for (double factor : {1.0, 2.0}) {
        b.Resize(factor);
        for (const auto& [name, partner] : {std::pair("lblSw3Left", "lblSw3Right"),
                                            {"lblAnalogTopLeft", "lblAnalogTopRight"},
                                            {"lblAnalogLeftTop", "lblAnalogLeftBottom"}}) {
            QWidget *handle = b.Control(name), *second = b.Control(partner);
            b.editors.Range().MinRangeBox()->setFocus();
            QVERIFY2(!framed(handle) && !framed(second), name);
            handle->setFocus(Qt::TabFocusReason);
            QVERIFY2(framed(handle) && framed(second), name);
        }
    }
    // Every entry of every pop-up and its submenus has an access key of its own.
    for (QMenu* popUp : b.editors.PopUpMenus()) {
        for (QMenu* menu : popUp->findChildren<QMenu*>() + QList<QMenu*>{popUp}) {
            QStringList keys;
            for (QAction* entry : menu->actions()) {
                keys << (entry->isSeparator() ? "-"
                                              : QKeySequence::mnemonic(entry->text()).toString());
            }
            keys.removeAll("-");
            QVERIFY2(!keys.contains("") && keys.removeDuplicates() == 0, qPrintable(menu->title()));
        }
    }
}

} // namespace telmora

QTEST_MAIN(telmora::EditorsTest)
#include "editors_qttest.moc"
