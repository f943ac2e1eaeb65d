#include "editor_bench.h"

#include "form/editor_widgets.h"

namespace telmora {

class SwitchEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void Placement_CentresTheBoxOnTheMeetingPoint();
    void OddSetpoints_AreHeldToWhatTheSensorHolds_AndStopAtTheBarEnds();
    void DragPastEitherEnd_GivesTheRangeEnds();
    void DragWithAnyButtonButTheRight_MovesTheSetpoint();
    void RightPressOrBareMove_OpensThePopUpOrNothingButNeverDrags();
    void WidthBox_ShowsTwoDecimalsAndStoresTheTypedNumberOnce();
};

void SwitchEditorTest::Placement_CentresTheBoxOnTheMeetingPoint() {
    EditorBench b;
    b.SetRange("6.5", "221.72");
    SwitchEditor& sw = b.editors.Sw(2);
    EditorBench::Enter(sw.SetpointBox(), "114.11");
    const double x = 840 + 6495 / 2.0;
    QCOMPARE(sw.SetpointBox()->text(), QString("114.11"));
    QVERIFY(std::abs(b.geometry.Left(sw.FarHandle()) - x) < 0.5);
    QCOMPARE(b.geometry.Left(sw.NearHandle()), 840.0);
    QCOMPARE(b.geometry.Width(sw.NearHandle()), b.geometry.Left(sw.FarHandle()) - 840);
    QCOMPARE(b.geometry.Width(sw.FarHandle()), 7335 - b.geometry.Left(sw.FarHandle()));
    QCOMPARE(b.geometry.Left(sw.SetpointBox()), b.geometry.Left(sw.FarHandle()) - 615 / 2.0);
    QCOMPARE(b.geometry.Left(sw.SetpointUnits()), b.geometry.Left(sw.SetpointBox()) + 615);
    // The tops never change.
    QCOMPARE(b.geometry.Top(sw.NearHandle()), 1200.0);
    QCOMPARE(b.geometry.Top(sw.SetpointBox()), 1080.0);
}

void SwitchEditorTest::OddSetpoints_AreHeldToWhatTheSensorHolds_AndStopAtTheBarEnds() {
    EditorBench b;
    b.SetRange("6.5", "221.72");
    SwitchEditor& sw = b.editors.Sw(3);
    // Beyond the range the value stays and the handle on that side shrinks to nothing.
    const struct {
        const char* entry;
        const char* shown;
        double meeting;
    } cases[] = {{"500", "221.77", 7335}, {"-20", "0.00", 840}};
    for (const auto& c : cases) {
        EditorBench::Enter(sw.SetpointBox(), c.entry);
        QCOMPARE(sw.SetpointBox()->text(), QString(c.shown));
        QCOMPARE(b.geometry.Left(sw.FarHandle()), c.meeting);
        QCOMPARE(b.geometry.Width(c.meeting == 840 ? sw.NearHandle() : sw.FarHandle()), 0.0);
    }
    // Text with a leading number is shown as that number (the analog endpoints keep theirs).
    EditorBench::Enter(sw.SetpointBox(), "12.5 inches");
    QCOMPARE(sw.SetpointBox()->text(), QString("12.50"));
    // A range box still being typed in does not upset a placement: "abc" reads as 0, below
    // the minimum, so every setpoint stands on the left edge.
    b.editors.Range().MaxRangeBox()->setText("abc");
    EditorBench::Enter(sw.SetpointBox(), "100");
    QCOMPARE(sw.SetpointBox()->text(), QString("100.00"));
    QCOMPARE(b.geometry.Left(sw.FarHandle()), 840.0);
}

void SwitchEditorTest::DragPastEitherEnd_GivesTheRangeEnds() {
    EditorBench b;
    b.SetRange("6.5", "221.72");
    SwitchEditor& sw = b.editors.Sw(1);
    QTest::mousePress(sw.NearHandle(), Qt::LeftButton, {}, {5, 5});
    QVERIFY(sw.Dragging());
    QTest::mouseMove(sw.NearHandle(), sw.NearHandle()->mapFrom(&b.surface, QPoint(2000, 50)));
    QCOMPARE(sw.SetpointBox()->text(), QString("221.72"));
    QCOMPARE(b.geometry.Width(sw.FarHandle()), 0.0);
    QTest::mouseMove(sw.NearHandle(), sw.NearHandle()->mapFrom(&b.surface, QPoint(-300, 50)));
    QCOMPARE(sw.SetpointBox()->text(), QString("6.50"));
    QCOMPARE(b.geometry.Width(sw.NearHandle()), 0.0);
    QTest::mouseRelease(sw.NearHandle(), Qt::LeftButton, {}, {5, 5});
    QVERIFY(!sw.Dragging());
    // The record is not written by a drag.
    QCOMPARE(b.config.Sw1Setpoint, 12.0f);
}

void SwitchEditorTest::DragWithAnyButtonButTheRight_MovesTheSetpoint() {
    EditorBench b;
    b.SetRange("1", "101");
    SwitchEditor& sw = b.editors.Sw(4);
    const QRect bar = b.editors.Range().RangeBar()->geometry();
    // The pointer's precision is checked on the resized editors.
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
        sw.SetpointBox()->setText("10");
        sw.Place();
        b.Drag(sw.FarHandle(), {bar.center().x(), 150}, button);
        QVERIFY(std::abs(sw.SetpointBox()->text().toDouble() - 51) <= 100.0 / bar.width());
        QVERIFY(std::abs(sw.FarHandle()->x() - bar.center().x()) <= 1);
        QVERIFY(!sw.Dragging());
    }
}

void SwitchEditorTest::RightPressOrBareMove_OpensThePopUpOrNothingButNeverDrags() {
    EditorBench b;
    SwitchEditor& sw = b.editors.Sw(2);
    const QString before = sw.SetpointBox()->text();
    const double meeting = b.geometry.Left(sw.FarHandle());
    EditorBench::Hover(sw.NearHandle(), {3, 3});
    EditorBench::Hover(sw.FarHandle(), {100, 3});
    QCOMPARE(sw.SetpointBox()->text(), before);
    QCOMPARE(b.geometry.Left(sw.FarHandle()), meeting);
    QTest::mousePress(sw.FarHandle(), Qt::RightButton, {}, {5, 5});
    QVERIFY(sw.PopUp().Menu->isVisible());
    QVERIFY(!sw.Dragging());
    QTest::mouseMove(sw.FarHandle(), {200, 5});
    QCOMPARE(sw.SetpointBox()->text(), before);
    sw.PopUp().Menu->close();
    QTest::mouseRelease(sw.FarHandle(), Qt::RightButton, {}, {200, 5});
}

void SwitchEditorTest::WidthBox_ShowsTwoDecimalsAndStoresTheTypedNumberOnce() {
    EditorBench b;
    QLineEdit* width = b.editors.Sw(1).WidthBox();
    EditorBench::Enter(width, "1.234");
    QCOMPARE(width->text(), QString("1.23"));
    QCOMPARE(b.config.Sw1Hyst, 1.234f);
    QTest::keyClick(width, Qt::Key_Return);
    QCOMPARE(b.config.Sw1Hyst, 1.23f);
    EditorBench::Enter(b.editors.Sw(4).WidthBox(), "wide");
    QCOMPARE(b.editors.Sw(4).WidthBox()->text(), QString("0.00"));
    QCOMPARE(b.config.Sw4Hyst, 0.0f);
    QCOMPARE(b.config.Sw1Hyst, 1.23f);
}

} // namespace telmora

QTEST_MAIN(telmora::SwitchEditorTest)
#include "switch_editor_qttest.moc"
