#include "editor_bench.h"

#include "form/editor_widgets.h"
#include "form/form_items.h"

namespace telmora {

namespace {
constexpr double kBoxTop = 3600, kBoxBottom = 3600 + 735;
} // namespace

class AnalogEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void OutputEntries_AreHeldWithinTheOutputScale();
    void OutputAtEitherEnd_PutsTheMeetingPointOnTheBoxEdge();
    void ModeChange_ThereAndBack_KeepsEveryHandleInPlace();
    void EndpointPlacement_MovesHandlesBoxAndLineEnds();
    void OddEndpoints_StayAsTypedAndArePlacedByTheirLeadingNumber();
    void DragPastTheBarOrBox_GivesTheirEnds();
    void RightPress_DragsAHandleAndOpensThePopUpOnlyOnTheArea();
};

// The limits are the core's; here, that each box is held to the scale of the mode.
void AnalogEditorTest::OutputEntries_AreHeldWithinTheOutputScale() {
    EditorBench b;
    AnalogEditor& a = b.editors.Analog();
    const struct {
        QLineEdit* box;
        float max; // 20 in current mode, 10 in voltage mode
        const char* entry;
        const char* shown;
    } cases[] = {{a.NearOutputBox(), 20, "25", "20.0"}, {a.FarOutputBox(), 10, "12", "10.0"}};
    for (const auto& c : cases) {
        b.config.AnalogOutputMax = c.max;
        EditorBench::Enter(c.box, c.entry);
        QCOMPARE(c.box->text(), QString(c.shown));
    }
}

void AnalogEditorTest::OutputAtEitherEnd_PutsTheMeetingPointOnTheBoxEdge() {
    EditorBench b;
    AnalogEditor& a = b.editors.Analog();
    auto* upper = b.Control("lblAnalogLeftTop");
    auto* lower = b.Control("lblAnalogLeftBottom");
    auto* left = b.Control<FormLine>("linAnalogLeft");
    auto* mid = b.Control<FormLine>("linAnalogMid");
    EditorBench::Enter(a.NearOutputBox(), "0");
    QCOMPARE(b.geometry.Top(upper), kBoxTop);
    QCOMPARE(b.geometry.Height(upper), 735.0); // the upper handle fills the whole side
    QCOMPARE(b.geometry.Top(lower), kBoxBottom);
    QCOMPARE(b.geometry.Height(lower), 0.0);
    QCOMPARE(b.geometry.LineEnd(left).Y, kBoxBottom);
    QCOMPARE(b.geometry.LineStart(mid).Y, kBoxBottom);
    QCOMPARE(b.geometry.Top(a.NearOutputBox()), kBoxBottom - 285 / 2.0);
    QCOMPARE(b.geometry.Top(b.Control("lblAnalogNearOutputUnits")),
             b.geometry.Top(a.NearOutputBox()) + 285);

    EditorBench::Enter(a.FarOutputBox(), "20");
    QCOMPARE(b.geometry.Height(b.Control("lblAnalogRightTop")), 0.0);
    QCOMPARE(b.geometry.Top(b.Control("lblAnalogRightBottom")), kBoxTop);
    QCOMPARE(b.geometry.LineEnd(mid).Y, kBoxTop);
    QCOMPARE(b.geometry.LineStart(b.Control<FormLine>("linAnalogRight")).Y, kBoxTop);
    // The left end of the left line and the right end of the right line keep their places.
    QCOMPARE(b.geometry.LineStart(left).X, 720.0);
    QCOMPARE(b.geometry.LineEnd(b.Control<FormLine>("linAnalogRight")).X, 7440.0);
}

void AnalogEditorTest::ModeChange_ThereAndBack_KeepsEveryHandleInPlace() {
    EditorBench b;
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

    const struct {
        const char* mode;
        QColor colour;
        float max;
        const char* near;
        const char* far;
        const char* units;
    } modes[] = {{"Voltage", kEditorRed, 10, "2.0", "10.0", "volts"},
                 {"Current", kEditorGreen, 20, "4.0", "20.0", "ma"}};
    for (const auto& m : modes) {
        QTest::mouseClick(a.ModeLabel(), Qt::LeftButton);
        QCOMPARE(a.ModeLabel()->text(), QString(m.mode));
        QCOMPARE(Background(a.ModeLabel()), m.colour);
        QCOMPARE(b.config.AnalogOutputMax, m.max);
        QCOMPARE(a.NearOutputBox()->text() + " " + a.FarOutputBox()->text(),
                 QString(m.near) + " " + m.far);
        for (const char* units : {"lblAnalogNearOutputUnits", "lblAnalogFarOutputUnits"}) {
            QCOMPARE(b.Control<QLabel>(units)->text(), QString(m.units));
        }
        QCOMPARE(handles(), before);
    }
    // An output box still being typed in is carried over by its leading number.
    a.NearOutputBox()->setText("6 mA");
    QTest::mouseClick(a.ModeLabel(), Qt::LeftButton);
    QCOMPARE(a.NearOutputBox()->text(), QString("3.0"));
}

void AnalogEditorTest::EndpointPlacement_MovesHandlesBoxAndLineEnds() {
    EditorBench b;
    b.SetRange("0", "100");
    AnalogEditor& a = b.editors.Analog();
    b.editors.Range().ShowRange("0.00", "100.00"); // bounds exactly 0 and 100
    EditorBench::Enter(a.FarEndpointBox(), "50");
    QCOMPARE(a.FarEndpointBox()->text(), QString("50.00"));
    const double x = 840 + 6495 / 2.0;
    QCOMPARE(b.geometry.Width(b.Control("lblAnalogTopLeft")), x - 840);
    QCOMPARE(b.geometry.Left(b.Control("lblAnalogTopRight")), x);
    QCOMPARE(b.geometry.Width(b.Control("lblAnalogTopRight")), 7335 - x);
    QCOMPARE(b.geometry.Left(a.FarEndpointBox()), x - 615 / 2.0);
    QCOMPARE(b.geometry.Left(b.Control("lblAnalogFarEndpointUnits")), x + 615 / 2.0);
    auto* farMark = b.Control<FormLine>("linAnalogFarSetpoint");
    QCOMPARE(b.geometry.LineEnd(farMark).X, x);
    QCOMPARE(b.geometry.LineStart(farMark).Y, 3480.0); // tops and bottoms stay
    QCOMPARE(b.geometry.LineEnd(farMark).Y, 4440.0);
    QCOMPARE(b.geometry.LineEnd(b.Control<FormLine>("linAnalogMid")).X, x);
    QCOMPARE(b.geometry.LineStart(b.Control<FormLine>("linAnalogRight")).X, x);

    EditorBench::Enter(a.NearEndpointBox(), "0");
    QCOMPARE(b.geometry.Width(b.Control("lblAnalogBottomLeft")), 0.0);
    QCOMPARE(b.geometry.LineEnd(b.Control<FormLine>("linAnalogLeft")).X, 840.0);
    QCOMPARE(b.geometry.LineStart(b.Control<FormLine>("linAnalogMid")).X, 840.0);
    QCOMPARE(b.geometry.LineStart(b.Control<FormLine>("linAnalogNearSetpoint")).X, 840.0);
}

void AnalogEditorTest::OddEndpoints_StayAsTypedAndArePlacedByTheirLeadingNumber() {
    EditorBench b;
    b.editors.Range().ShowRange("0.00", "100.00");
    AnalogEditor& a = b.editors.Analog();
    const struct {
        const char* entry;
        const char* shown;
        double left;
    } cases[] = {{"40 in", "40 in", 840 + 6495 * 0.4},
                 {"400", "221.77", 7335}}; // beyond the sensor: its largest, at the bar's end
    for (const auto& c : cases) {
        EditorBench::Enter(a.FarEndpointBox(), c.entry);
        QCOMPARE(a.FarEndpointBox()->text(), QString(c.shown));
        QCOMPARE(b.geometry.Left(b.Control("lblAnalogTopRight")), c.left);
    }
    // A near endpoint beyond the far one is accepted; the middle line runs backwards.
    EditorBench::Enter(a.FarEndpointBox(), "50");
    EditorBench::Enter(a.NearEndpointBox(), "80");
    QCOMPARE(a.NearEndpointBox()->text(), QString("80.00"));
    auto* mid = b.Control<FormLine>("linAnalogMid");
    QVERIFY(b.geometry.LineStart(mid).X > b.geometry.LineEnd(mid).X);
}

void AnalogEditorTest::DragPastTheBarOrBox_GivesTheirEnds() {
    EditorBench b;
    b.SetRange("6.5", "221.72");
    AnalogEditor& a = b.editors.Analog();
    QWidget* handle = b.Control("lblAnalogTopLeft");
    QTest::mousePress(handle, Qt::LeftButton, {}, {2, 2});
    QVERIFY(a.AnalogFarEndpointDragging());
    QVERIFY(!a.AnalogNearEndpointDragging());
    QTest::mouseMove(handle, handle->mapFrom(&b.surface, QPoint(3000, 230)));
    QCOMPARE(a.FarEndpointBox()->text(), QString("221.72"));
    QTest::mouseMove(handle, handle->mapFrom(&b.surface, QPoint(-3000, 230)));
    QCOMPARE(a.FarEndpointBox()->text(), QString("6.50"));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, {2, 2});
    QVERIFY(!a.AnalogFarEndpointDragging());
    // Below and above the output box: exactly zero and the maximum.
    b.Drag(b.Control("lblAnalogRightTop"), {500, 2000});
    QCOMPARE(a.FarOutputBox()->text(), QString("0.0"));
    b.Drag(b.Control("lblAnalogRightTop"), {500, -2000});
    QCOMPARE(a.FarOutputBox()->text(), QString("20.0"));
}

void AnalogEditorTest::RightPress_DragsAHandleAndOpensThePopUpOnlyOnTheArea() {
    EditorBench b;
    AnalogEditor& a = b.editors.Analog();
    QWidget* handle = b.Control("lblAnalogLeftTop");
    QTest::mousePress(handle, Qt::RightButton, {}, {2, 2});
    QVERIFY(a.AnalogNearOutputDragging());
    QVERIFY(!a.PopUpMenu()->isVisible());
    QTest::mouseMove(handle, handle->mapFrom(&b.surface, QPoint(40, 2000)));
    QCOMPARE(a.NearOutputBox()->text(), QString("0.0"));
    QTest::mouseRelease(handle, Qt::RightButton, {}, {2, 2});
    QVERIFY(!a.AnalogNearOutputDragging());

    QWidget* back = b.Control("lblAnalogBack");
    QTest::mouseClick(back, Qt::LeftButton, {}, {20, 20});
    QVERIFY(!a.PopUpMenu()->isVisible());
    QTest::mousePress(back, Qt::RightButton, {}, {20, 20});
    QVERIFY(a.PopUpMenu()->isVisible());
    a.PopUpMenu()->close();
    QTest::mouseRelease(back, Qt::RightButton, {}, {20, 20});
}

} // namespace telmora

QTEST_MAIN(telmora::AnalogEditorTest)
#include "analog_editor_qttest.moc"
