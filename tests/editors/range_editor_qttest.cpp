#include "editor_bench.h"

#include "form/editor_widgets.h"

#include <QLocale>

namespace telmora {

class RangeEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void Entries_AreLimitedAndShownWithTwoDecimals();
    void PulseCount_FollowsTheFamilysNearLimit();
    void LeavingABox_AppliesTheShownValueOnce();
    void RangeChange_MovesEveryOutputAndKeepsTheirTexts();
    void ChartCaptions_RepeatTheAppliedRange();
    void NumbersReadWithAPeriod_WhateverTheLocale();
};

// The limits themselves are checked on the scale functions; here, that each box is held
// against the other one.
void RangeEditorTest::Entries_AreLimitedAndShownWithTwoDecimals() {
    EditorBench b;
    RangeEditor& range = b.editors.Range();
    const struct {
        QLineEdit* box;
        const char* entry;
        float stored;
        const char* shown;
    } cases[] = {{range.MinRangeBox(), "300", 6.5f, "6.50"}, // refused: above the maximum
                 {range.MinRangeBox(), "6.5", 6.5f, "6.50"},
                 {range.MaxRangeBox(), "3", 221.72f, "221.72"}, // refused: below the minimum
                 {range.MaxRangeBox(), "1e999", 443.54f, "443.54"}};
    b.SetRange("6.5", "221.72");
    for (const auto& c : cases) {
        EditorBench::Enter(c.box, c.entry);
        QCOMPARE(c.box == range.MinRangeBox() ? b.config.MinRange : b.config.MaxRange, c.stored);
        QCOMPARE(c.box->text(), QString(c.shown));
    }
    // The keypad's Enter applies as well.
    range.MaxRangeBox()->setText("100");
    QTest::keyClick(range.MaxRangeBox(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(b.config.MaxRange, 100.0f);
}

void RangeEditorTest::PulseCount_FollowsTheFamilysNearLimit() {
    EditorBench b;
    QLineEdit* min = b.editors.Range().MinRangeBox();
    b.family = {true, false};
    EditorBench::Enter(min, "6.49");
    QCOMPARE(b.config.NumberOfPulses, 1);
    b.family = {false, true};
    EditorBench::Enter(min, "8");
    QCOMPARE(b.config.NumberOfPulses, 10);
    b.config.NumberOfPulses = 7; // the maximum leaves it alone
    EditorBench::Enter(b.editors.Range().MaxRangeBox(), "100");
    QCOMPARE(b.config.NumberOfPulses, 7);
}

void RangeEditorTest::LeavingABox_AppliesTheShownValueOnce() {
    EditorBench b;
    QLineEdit* max = b.editors.Range().MaxRangeBox();
    QLineEdit* min = b.editors.Range().MinRangeBox();
    // Enter stores the typed number itself; applying again stores the shown one.
    EditorBench::Enter(max, "221.724");
    QCOMPARE(b.config.MaxRange, 221.724f);
    QCOMPARE(max->text(), QString("221.72"));
    QTest::keyClick(max, Qt::Key_Return);
    QCOMPARE(b.config.MaxRange, 221.72f);

    b.surface.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&b.surface));
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

void RangeEditorTest::RangeChange_MovesEveryOutputAndKeepsTheirTexts() {
    EditorBench b;
    b.SetRange("8", "221.72");
    QList<double> before;
    for (int n = 1; n <= 4; ++n) {
        before << b.geometry.Left(b.editors.Sw(n).FarHandle());
    }
    const double farEndpointBefore = b.geometry.Left(b.Control("lblAnalogTopRight"));
    EditorBench::Enter(b.editors.Range().MaxRangeBox(), "100");
    for (int n = 1; n <= 4; ++n) {
        SwitchEditor& sw = b.editors.Sw(n);
        QVERIFY2(b.geometry.Left(sw.FarHandle()) > before[n - 1] + 1,
                 qPrintable(QString::number(n)));
        QCOMPARE(sw.SetpointBox()->text(),
                 QString::fromStdString(FormatTwoDecimals(Switch(b.config, n).Setpoint)));
    }
    QVERIFY(b.geometry.Left(b.Control("lblAnalogTopRight")) > farEndpointBefore + 1);
    QCOMPARE(b.editors.Analog().FarEndpointBox()->text(), QString("30.00"));
}

void RangeEditorTest::ChartCaptions_RepeatTheAppliedRange() {
    EditorBench b;
    // The strip chart's captions follow what the editor emits: each range as it was applied
    // (limits included) or shown from a record (no limits).
    RangeEditor& range = b.editors.Range();
    QStringList mins;
    QStringList maxes;
    connect(&range, &RangeEditor::MinRangeShown, this, [&mins](const QString& t) { mins << t; });
    connect(&range, &RangeEditor::MaxRangeShown, this, [&maxes](const QString& t) { maxes << t; });
    EditorBench::Enter(range.MinRangeBox(), "12.345");
    QCOMPARE(mins, QStringList({"12.35"}));
    QVERIFY(maxes.isEmpty());
    EditorBench::Enter(range.MaxRangeBox(), "1234.5");
    QCOMPARE(maxes, QStringList({"443.54"}));
    range.ShowRange("6.50", "1234.50");
    QCOMPARE(mins, QStringList({"12.35", "6.50"}));
    QCOMPARE(maxes, QStringList({"443.54", "1234.50"}));
    QCOMPARE(range.MaxRangeBox()->text(), QString("1234.50"));
}

void RangeEditorTest::NumbersReadWithAPeriod_WhateverTheLocale() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EditorBench b;
    EditorBench::Enter(b.editors.Range().MinRangeBox(), "12.5");
    QCOMPARE(b.config.MinRange, 12.5f);
    EditorBench::Enter(b.editors.Range().MinRangeBox(), "12,5");
    QCOMPARE(b.config.MinRange, 12.0f);
    QCOMPARE(b.editors.Range().MinRangeBox()->text(), QString("12.00"));
    QLocale::setDefault(QLocale::c());
}

} // namespace telmora

QTEST_MAIN(telmora::RangeEditorTest)
#include "range_editor_qttest.moc"
