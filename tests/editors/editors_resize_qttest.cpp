#include "editor_bench.h"

#include "form/form_items.h"

namespace telmora {

// Every control scaling with the window and back is checked on the main window; here, that
// the pointer and the placement code meet the bar as drawn at the new size.
class EditorsResizeTest : public QObject {
    Q_OBJECT
  private slots:
    void DragAfterResize_LandsOnTheSetpointUnderThePointer();
    void PlacementAfterResize_StandsOnTheBarAsDrawn();
};

namespace {

// Places every output somewhere other than its design place.
void MoveEverything(EditorBench& b) {
    b.SetRange("6.5", "221.72");
    const char* setpoints[] = {"20", "77.7", "150", "210"};
    for (int n = 1; n <= 4; ++n) {
        EditorBench::Enter(b.editors.Sw(n).SetpointBox(), setpoints[n - 1]);
    }
    AnalogEditor& a = b.editors.Analog();
    EditorBench::Enter(a.NearEndpointBox(), "33.3");
    EditorBench::Enter(a.FarEndpointBox(), "180");
    EditorBench::Enter(a.NearOutputBox(), "5.5");
    EditorBench::Enter(a.FarOutputBox(), "17");
}

// The meeting point of a switch as the bar is drawn on the screen: where the setpoint
// stands between the bar's first and last pixel.
double MeetingPixel(EditorBench& b, double setpoint, double min, double max) {
    const QRect bar = b.editors.Range().RangeBar()->geometry();
    return bar.left() + bar.width() * (setpoint - min) / (max - min);
}

} // namespace

void EditorsResizeTest::DragAfterResize_LandsOnTheSetpointUnderThePointer() {
    EditorBench b;
    MoveEverything(b);
    b.surface.resize(b.surface.size() * 3 / 2);
    const QRect bar = b.editors.Range().RangeBar()->geometry();
    const double perPixel = (221.72 - 6.5) / bar.width();

    SwitchEditor& sw = b.editors.Sw(2);
    for (int x : {bar.left() + 40, bar.center().x(), bar.right() - 7}) {
        b.Drag(sw.NearHandle(), {x, sw.NearHandle()->y() + 5});
        const double expected = 6.5 + (221.72 - 6.5) * (x - bar.left()) / bar.width();
        QVERIFY2(std::abs(sw.SetpointBox()->text().toDouble() - expected) <= perPixel,
                 qPrintable(sw.SetpointBox()->text() + " for " + QString::number(expected)));
        QVERIFY(std::abs(sw.FarHandle()->x() - x) <= 1);
        QVERIFY(std::abs(sw.SetpointBox()->geometry().center().x() - x) <= 1);
    }

    AnalogEditor& a = b.editors.Analog();
    const int x = bar.left() + bar.width() / 3;
    b.Drag(b.Control("lblAnalogTopRight"), {x, 0});
    const double expected = 6.5 + (221.72 - 6.5) * (x - bar.left()) / bar.width();
    QVERIFY(std::abs(a.FarEndpointBox()->text().toDouble() - expected) <= perPixel);
    QVERIFY(std::abs(b.Control("lblAnalogTopRight")->x() - x) <= 1);

    const QRect box = b.Control("shpAnalogBox")->geometry();
    const int y = box.top() + box.height() / 4;
    b.Drag(b.Control("lblAnalogRightBottom"), {0, y});
    const double output = 20.0 * (box.top() + box.height() - y) / box.height();
    QVERIFY2(std::abs(a.FarOutputBox()->text().toDouble() - output) <= 20.0 / box.height() + 0.05,
             qPrintable(a.FarOutputBox()->text()));
}

void EditorsResizeTest::PlacementAfterResize_StandsOnTheBarAsDrawn() {
    EditorBench b;
    b.SetRange("6.5", "221.72");
    b.surface.resize(b.surface.size() * 3 / 2);
    SwitchEditor& sw = b.editors.Sw(1);
    EditorBench::Enter(sw.SetpointBox(), "100");
    QVERIFY(std::abs(sw.FarHandle()->x() - MeetingPixel(b, 100, 6.5, 221.72)) <= 1);
    // A range applied at the new size moves every switch on the bar as drawn.
    EditorBench::Enter(b.editors.Range().MaxRangeBox(), "150");
    QVERIFY(std::abs(sw.FarHandle()->x() - MeetingPixel(b, 100, 6.5, 150)) <= 1);
    b.surface.resize(b.surface.size() * 2 / 3);
    QVERIFY(std::abs(sw.FarHandle()->x() - MeetingPixel(b, 100, 6.5, 150)) <= 1);
}

} // namespace telmora

QTEST_MAIN(telmora::EditorsResizeTest)
#include "editors_resize_qttest.moc"
