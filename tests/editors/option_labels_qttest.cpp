#include "editor_bench.h"

#include "form/editor_widgets.h"

namespace telmora {

class OptionLabelsTest : public QObject {
    Q_OBJECT
  private slots:
    void ClicksAndMenuEntries_SetCaptionColourAndOneCheckMark();
    void OddCaptionsAndOtherButtons_StepToTheFirstStateOrDoNothing();
    void ReversePolarityTwice_BringsBackTheCaptionsAndColours();
};

// Steps in order on one bench: clicking a label, or choosing its pop-up entry, gives the
// caption and colour and checks only that entry of the label's submenu (lblX: mnuX).
void OptionLabelsTest::ClicksAndMenuEntries_SetCaptionColourAndOneCheckMark() {
    const QColor any; // the power-up labels' colours are not checked
    const struct {
        const char* label;
        bool byMenu;
        const char* caption;
        QColor colour;
    } steps[] = {{"lblSw3Mode", false, "Wind", kEditorMagenta},
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
                 // The design caption "Off" is no power-up state; clicks run "Low", "High", "Low".
                 {"lblAnalogPowerUp", false, "Low", any},
                 {"lblAnalogPowerUp", false, "High", any},
                 {"lblAnalogPowerUp", false, "Low", any},
                 {"lblAnalogPowerUp", true, "High", any},
                 {"lblAnalogPowerUp", true, "High", any},
                 {"lblAnalogEchoLoss", true, "High", kEditorRed}};
    EditorBench b;
    QCOMPARE(b.Control<QLabel>("lblAnalogPowerUp")->text(), QString("Off"));
    for (const auto& s : steps) {
        auto* label = b.Control<QLabel>(s.label);
        const QString menu = "mnu" + QString(s.label).mid(3);
        if (s.byMenu) {
            b.Control<QAction>(qPrintable(menu + s.caption))->trigger();
        } else {
            QTest::mouseClick(label, Qt::LeftButton);
        }
        QStringList checked;
        for (const QString& name : b.Entries(qPrintable(menu))) {
            if (b.Control<QAction>(qPrintable(name))->isChecked()) {
                checked << name;
            }
        }
        QVERIFY2(
            label->text() == s.caption && (!s.colour.isValid() || Background(label) == s.colour) &&
                checked == QStringList{menu + s.caption},
            qPrintable(
                QString("%1 '%2' with %3 checked").arg(s.label, label->text(), checked.join(' '))));
    }
    QCOMPARE(b.Control("lblAnalogEchoLoss")->accessibleName(),
             QString("Analog echo loss response: High"));
    // The other switches are untouched.
    QCOMPARE(b.editors.Sw(1).EchoLossLabel()->text(), QString("NC"));
}

void OptionLabelsTest::OddCaptionsAndOtherButtons_StepToTheFirstStateOrDoNothing() {
    EditorBench b;
    SwitchEditor& sw = b.editors.Sw(3);
    QTest::mouseClick(sw.PowerUpLabel(), Qt::RightButton);
    QCOMPARE(sw.PowerUpLabel()->text(), QString("Off"));
    sw.ModeLabel()->setText("888");
    QTest::mouseClick(sw.ModeLabel(), Qt::LeftButton);
    QCOMPARE(sw.ModeLabel()->text(), QString("Hyst"));
    QCOMPARE(sw.ModeLabel()->accessibleName(), QString("Switch 3 mode: Hyst"));
}

void OptionLabelsTest::ReversePolarityTwice_BringsBackTheCaptionsAndColours() {
    EditorBench b;
    SwitchEditor& sw = b.editors.Sw(1);
    for (const bool reversed : {true, false}) {
        sw.PopUp().Polarity->trigger();
        QCOMPARE(sw.NearHandle()->text(), QString(reversed ? "On" : "Off"));
        QCOMPARE(Background(sw.NearHandle()), reversed ? kEditorRed : kEditorGreen);
        QCOMPARE(sw.FarHandle()->text(), QString(reversed ? "Off" : "On"));
        QCOMPARE(Background(sw.FarHandle()), reversed ? kEditorGreen : kEditorRed);
    }
}

} // namespace telmora

QTEST_MAIN(telmora::OptionLabelsTest)
#include "option_labels_qttest.moc"
