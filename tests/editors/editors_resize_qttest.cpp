#include "editor_bench.h"

#include "form/form_items.h"

namespace telmora {

class EditorsResizeTest : public QObject {
    Q_OBJECT
  private slots:
    void ResizeTo150PercentAndBack_LeavesEveryControlWhereItsTwipsSay();
    void DragAfterResize_LandsOnTheSetpointUnderThePointer();
    void PlacementAfterResize_StandsOnTheBarAsDrawn();
};

namespace {

// Every control of the editors that the geometry layer places, lines apart.
QList<QWidget*> PlacedControls(EditorBench& b) {
    QList<QWidget*> controls;
    for (QWidget* w : b.surface.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (b.geometry.IsPlaced(w) && qobject_cast<FormLine*>(w) == nullptr) {
            controls << w;
        }
    }
    return controls;
}

QList<FormLine*> Lines(EditorBench& b) {
    return b.surface.findChildren<FormLine*>();
}

// The pixels a control covers when it stands exactly where its twips say.
QRect PixelsOf(const EditorBench& b, const TwipRect& r) {
    const double px = b.geometry.TwipsPerPixelX(), py = b.geometry.TwipsPerPixelY();
    const int left = static_cast<int>(std::lround(r.left / px));
    const int top = static_cast<int>(std::lround(r.top / py));
    const int right = static_cast<int>(std::lround((r.left + r.width) / px));
    const int bottom = static_cast<int>(std::lround((r.top + r.height) / py));
    return {left, top, right - left, bottom - top};
}

bool Near(double a, double b) {
    return std::abs(a - b) < 1e-6 * std::max(1.0, std::abs(b));
}

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

void EditorsResizeTest::ResizeTo150PercentAndBack_LeavesEveryControlWhereItsTwipsSay() {
    EditorBench b;
    MoveEverything(b);
    const QList<QWidget*> controls = PlacedControls(b);
    // Range 6, switch rows 4 x 9 with 4 column headers, analog area 33.
    QCOMPARE(controls.size(), 79);
    QHash<QWidget*, TwipRect> twips;
    QHash<QWidget*, QRect> pixels;
    for (QWidget* w : controls) {
        twips[w] = b.geometry.Rect(w);
        pixels[w] = w->geometry();
    }
    QHash<FormLine*, std::pair<TwipPoint, TwipPoint>> ends;
    for (FormLine* line : Lines(b)) {
        ends[line] = {b.geometry.LineStart(line), b.geometry.LineEnd(line)};
    }

    // Out to 150 % and back: twips scale with the window, pixels follow the twips.
    const QSize design = b.surface.size();
    for (const double scale : {1.5, 1.0}) {
        b.surface.resize(scale == 1.0 ? design : design * 3 / 2);
        for (QWidget* w : controls) {
            const TwipRect was = twips[w], now = b.geometry.Rect(w);
            QVERIFY2(Near(now.left, was.left * scale) && Near(now.top, was.top * scale) &&
                         Near(now.width, was.width * scale) && Near(now.height, was.height * scale),
                     qPrintable(w->objectName()));
            QCOMPARE(w->geometry(), scale == 1.0 ? pixels[w] : PixelsOf(b, now));
        }
        for (FormLine* line : Lines(b)) {
            const auto& [start, end] = ends[line];
            const TwipPoint nowStart = b.geometry.LineStart(line),
                            nowEnd = b.geometry.LineEnd(line);
            QVERIFY2(Near(nowStart.x, start.x * scale) && Near(nowStart.y, start.y * scale) &&
                         Near(nowEnd.x, end.x * scale) && Near(nowEnd.y, end.y * scale),
                     qPrintable(line->objectName()));
        }
    }
}

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
