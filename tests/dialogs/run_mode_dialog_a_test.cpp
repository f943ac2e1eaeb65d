#include "dialogs/run_mode_dialog_a.h"

#include "dialog_test_support.h"

#include <QFrame>
#include <QGroupBox>

using namespace telmora;
using namespace telmora::dialog_test;

namespace {
const QStringList kRunModes = {"optContinuousRS232", "optContinuousNoRS232", "optPolledHold",
                               "optExternalTrigger"};

SensorConfig RecordWithRunMode(int runMode, bool pbEnabled = true) {
    SensorConfig config;
    LoadFactoryDefaultsA(config);
    config.RunMode = static_cast<std::int16_t>(runMode);
    config.PBEnabled = pbEnabled;
    return config;
}

// Types `text` into `box` and presses OK on an otherwise unchanged dialog.
SensorConfig OkWithTyped(const char* box, const QString& text) {
    SensorConfig config = RecordWithRunMode(3);
    RunModeDialogA dialog(config);
    Show(dialog);
    Type(&dialog, box, text);
    Click(&dialog, "cmdOK");
    return config;
}
} // namespace

class RunModeDialogATest : public QObject {
    Q_OBJECT
  private slots:
    void Controls_CarryTheirCaptionsTooltipsAndSpokenNames_data();
    void Controls_CarryTheirCaptionsTooltipsAndSpokenNames();
    void Window_IsModalWithItsTitleAndGroups();

    void Load_ShowsStoredRunMode_data();
    void Load_ShowsStoredRunMode();
    void Load_ShowsNumbersAndPushButtonChoice_data();
    void Load_ShowsNumbersAndPushButtonChoice();

    void OptionClicks_EnablePrimingAndPushButtonByRunMode_data();
    void OptionClicks_EnablePrimingAndPushButtonByRunMode();
    void PolledAfterTrigger_ReenablesPushButtonButKeepsDisabledChosen();

    void Ok_StoresChosenRunModeAndPushButton_data();
    void Ok_StoresChosenRunModeAndPushButton();
    void Ok_ForeignRunMode_IsStoredAsContinuousRS232();
    void Ok_Interval_IsTypedMillisecondsWithinLimits_data();
    void Ok_Interval_IsTypedMillisecondsWithinLimits();
    void Ok_Pulses_AreForcedFrom1To10_data();
    void Ok_Pulses_AreForcedFrom1To10();
    void Ok_PrimingCycles_AreForcedFrom0To255_data();
    void Ok_PrimingCycles_AreForcedFrom0To255();
    void Ok_PrimingCycles_AreReadWhileTheBoxIsDisabled();

    void CancelAndCloseBox_KeepEveryField_data();
    void CancelAndCloseBox_KeepEveryField();
};

void RunModeDialogATest::Controls_CarryTheirCaptionsTooltipsAndSpokenNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("RS232") << "optContinuousRS232"
                           << "Continuous (RS232)"
                           << "Sensor runs continuously with RS-232 output";
    QTest::newRow("No RS232") << "optContinuousNoRS232"
                              << "Continuous (No RS232)"
                              << "Sensor runs continuously without RS-232 output";
    QTest::newRow("Polled") << "optPolledHold"
                            << "Polled (Hold)"
                            << "Sensor waits for commands from external computer";
    QTest::newRow("Trigger") << "optExternalTrigger"
                             << "External Trigger"
                             << "Sensor waits for External Trigger signal to go low";
    QTest::newRow("priming label") << "lblPrimingCycles"
                                   << "Priming Cycles"
                                   << "";
    QTest::newRow("priming") << "txtPrimingCycles"
                             << ""
                             << "Number of cycles to run before taking measurement (0 to 255)";
    QTest::newRow("PB frame") << "fraPBSwitch"
                              << "PushButton Switch"
                              << "";
    QTest::newRow("PB on") << "optPBEnabled"
                           << "Enabled"
                           << "Click to enable pushbutton programming";
    QTest::newRow("PB off") << "optPBDisabled"
                            << "Disabled"
                            << "Click to disable pushbutton programming";
    QTest::newRow("timing frame") << "fraPwrTiming"
                                  << "Pwr / Timing"
                                  << "";
    QTest::newRow("pulses label") << "Label1"
                                  << "# Pulses"
                                  << "";
    QTest::newRow("pulses") << "txtNumberOfPulses"
                            << ""
                            << "Number of ultrasonic pulses (1 to 10)";
    QTest::newRow("interval label") << "Label5"
                                    << "Interval"
                                    << "";
    QTest::newRow("interval") << "txtInterval"
                              << ""
                              << "Measurement interval in milliseconds";
    QTest::newRow("OK") << "cmdOK"
                        << "OK"
                        << "Click to accept changes";
    QTest::newRow("Cancel") << "cmdCancel"
                            << "Cancel"
                            << "Click to return without changes";
}

void RunModeDialogATest::Controls_CarryTheirCaptionsTooltipsAndSpokenNames() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    SensorConfig config = RecordWithRunMode(1);
    RunModeDialogA dialog(config);
    QWidget* control = Find<QWidget>(&dialog, qPrintable(name));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QCOMPARE(button->text(), caption);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), caption);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        QCOMPARE(group->title(), caption);
    }
    QCOMPARE(control->toolTip(), tooltip);
    QCOMPARE(ControlsWithoutSpokenName(&dialog), QStringList());
}

void RunModeDialogATest::Window_IsModalWithItsTitleAndGroups() {
    SensorConfig config = RecordWithRunMode(1);
    RunModeDialogA dialog(config);
    QCOMPARE(dialog.objectName(), QString("frmRunModeA"));
    QCOMPARE(dialog.windowTitle(), QString("Kelvo-A Processing Parameters"));
    QVERIFY(dialog.isModal());
    auto* runMode = Find<QGroupBox>(&dialog, "fraRunMode");
    for (const QString& option : kRunModes) {
        QVERIFY(runMode->isAncestorOf(Find<QWidget>(&dialog, qPrintable(option))));
    }
    // The rectangle marks the modes that prime, with the priming input.
    auto* shape = Find<QFrame>(&dialog, "Shape1");
    for (const char* inside : {"optPolledHold", "optExternalTrigger", "txtPrimingCycles"}) {
        QVERIFY2(shape->isAncestorOf(Find<QWidget>(&dialog, inside)), inside);
    }
    for (const char* outside : {"optContinuousRS232", "optContinuousNoRS232"}) {
        QVERIFY2(!shape->isAncestorOf(Find<QWidget>(&dialog, outside)), outside);
    }
    auto* timing = Find<QGroupBox>(&dialog, "fraPwrTiming");
    QVERIFY(timing->isAncestorOf(Find<QWidget>(&dialog, "txtInterval")));
    QVERIFY(timing->isAncestorOf(Find<QWidget>(&dialog, "txtNumberOfPulses")));
    // Run mode and push button are separate groups.
    Show(dialog);
    Click(&dialog, "optPolledHold");
    Click(&dialog, "optPBEnabled");
    QCOMPARE(CheckedAmong(&dialog, kRunModes), QStringList{"optPolledHold"});
    QVERIFY(IsChecked(&dialog, "optPBEnabled"));
    QVERIFY(!IsChecked(&dialog, "optPBDisabled"));
}

void RunModeDialogATest::Load_ShowsStoredRunMode_data() {
    QTest::addColumn<int>("runMode");
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("priming");
    QTest::addColumn<bool>("pbSwitch");
    QTest::addColumn<QString>("pbChoice");
    QTest::newRow("1") << 1 << "optContinuousRS232" << false << true << "optPBEnabled";
    QTest::newRow("2") << 2 << "optContinuousNoRS232" << false << true << "optPBEnabled";
    QTest::newRow("3") << 3 << "optPolledHold" << true << true << "optPBEnabled";
    QTest::newRow("7") << 7 << "optExternalTrigger" << true << false << "optPBDisabled";
    // Family B's modes and unknown codes show as continuous with priming open.
    for (int runMode : {4, 5, 6, 8, 0, -1, 99}) {
        QTest::addRow("foreign %d", runMode)
            << runMode << "optContinuousRS232" << true << true << "optPBEnabled";
    }
}

void RunModeDialogATest::Load_ShowsStoredRunMode() {
    QFETCH(int, runMode);
    QFETCH(QString, option);
    QFETCH(bool, priming);
    QFETCH(bool, pbSwitch);
    QFETCH(QString, pbChoice);
    SensorConfig config = RecordWithRunMode(runMode, true);
    const SensorConfig before = config;
    RunModeDialogA dialog(config);
    QCOMPARE(CheckedAmong(&dialog, kRunModes), QStringList{option});
    QCOMPARE(IsEnabled(&dialog, "txtPrimingCycles"), priming);
    QCOMPARE(IsEnabled(&dialog, "lblPrimingCycles"), priming);
    QCOMPARE(IsEnabled(&dialog, "fraPBSwitch"), pbSwitch);
    QCOMPARE(IsEnabled(&dialog, "optPBEnabled"), pbSwitch);
    QCOMPARE(IsEnabled(&dialog, "optPBDisabled"), pbSwitch);
    QCOMPARE(CheckedAmong(&dialog, {"optPBEnabled", "optPBDisabled"}), QStringList{pbChoice});
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

void RunModeDialogATest::Load_ShowsNumbersAndPushButtonChoice_data() {
    QTest::addColumn<float>("interval");
    QTest::addColumn<bool>("pbEnabled");
    QTest::addColumn<QString>("intervalText");
    QTest::newRow("100 ms") << 0.1f << true << "100";
    QTest::newRow("33.3 ms shows whole") << 0.0333f << false << "33";
    QTest::newRow("factory 50 ms") << 0.05f << true << "50";
    QTest::newRow("longest") << 0.524f << false << "524";
    QTest::newRow("shortest") << 0.001f << true << "1";
}

void RunModeDialogATest::Load_ShowsNumbersAndPushButtonChoice() {
    QFETCH(float, interval);
    QFETCH(bool, pbEnabled);
    QFETCH(QString, intervalText);
    SensorConfig config = RecordWithRunMode(1, pbEnabled);
    config.Interval = interval;
    config.NumberOfPulses = 6;
    config.PrimingCycles = 200;
    RunModeDialogA dialog(config);
    QCOMPARE(TextOf(&dialog, "txtInterval"), intervalText);
    QCOMPARE(TextOf(&dialog, "txtNumberOfPulses"), QString("6"));
    QCOMPARE(TextOf(&dialog, "txtPrimingCycles"), QString("200"));
    QCOMPARE(IsChecked(&dialog, "optPBEnabled"), pbEnabled);
    QCOMPARE(IsChecked(&dialog, "optPBDisabled"), !pbEnabled);
}

void RunModeDialogATest::OptionClicks_EnablePrimingAndPushButtonByRunMode_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("priming");
    QTest::addColumn<bool>("pbSwitch");
    // From each mode with the opposite enabling, so every click must change something.
    QTest::newRow("RS232") << "optExternalTrigger"
                           << "optContinuousRS232" << false << true;
    QTest::newRow("No RS232") << "optExternalTrigger"
                              << "optContinuousNoRS232" << false << true;
    QTest::newRow("Polled") << "optContinuousRS232"
                            << "optPolledHold" << true << true;
    QTest::newRow("Trigger") << "optContinuousRS232"
                             << "optExternalTrigger" << true << false;
}

void RunModeDialogATest::OptionClicks_EnablePrimingAndPushButtonByRunMode() {
    QFETCH(QString, from);
    QFETCH(QString, option);
    QFETCH(bool, priming);
    QFETCH(bool, pbSwitch);
    SensorConfig config = RecordWithRunMode(1, true);
    RunModeDialogA dialog(config);
    Show(dialog);
    Click(&dialog, qPrintable(from));
    Click(&dialog, qPrintable(option));
    QCOMPARE(CheckedAmong(&dialog, kRunModes), QStringList{option});
    QCOMPARE(IsEnabled(&dialog, "txtPrimingCycles"), priming);
    QCOMPARE(IsEnabled(&dialog, "lblPrimingCycles"), priming);
    QCOMPARE(IsEnabled(&dialog, "fraPBSwitch"), pbSwitch);
    QCOMPARE(IsEnabled(&dialog, "optPBEnabled"), pbSwitch);
    QCOMPARE(IsEnabled(&dialog, "optPBDisabled"), pbSwitch);
    if (!pbSwitch) {
        QVERIFY(IsChecked(&dialog, "optPBDisabled"));
    }
}

void RunModeDialogATest::PolledAfterTrigger_ReenablesPushButtonButKeepsDisabledChosen() {
    SensorConfig config = RecordWithRunMode(1, true);
    RunModeDialogA dialog(config);
    Show(dialog);
    QVERIFY(IsChecked(&dialog, "optPBEnabled"));
    Click(&dialog, "optExternalTrigger");
    Click(&dialog, "optPolledHold");
    QVERIFY(IsEnabled(&dialog, "fraPBSwitch"));
    QVERIFY(IsEnabled(&dialog, "optPBEnabled"));
    QVERIFY(IsChecked(&dialog, "optPBDisabled"));
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.RunMode), 3);
    QVERIFY(!config.PBEnabled);
}

void RunModeDialogATest::Ok_StoresChosenRunModeAndPushButton_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("runMode");
    QTest::addColumn<bool>("pbEnabled");
    QTest::newRow("RS232, PB on") << 3 << QStringList{"optContinuousRS232", "optPBEnabled"} << 1
                                  << true;
    QTest::newRow("No RS232, PB off")
        << 1 << QStringList{"optContinuousNoRS232", "optPBDisabled"} << 2 << false;
    QTest::newRow("Polled after trigger, PB on")
        << 7 << QStringList{"optPolledHold", "optPBEnabled"} << 3 << true;
    // A trigger forces push-button programming off whatever was chosen before.
    QTest::newRow("trigger after PB on")
        << 1 << QStringList{"optPBEnabled", "optExternalTrigger"} << 7 << false;
    QTest::newRow("stored trigger with PB on") << 7 << QStringList() << 7 << false;
}

void RunModeDialogATest::Ok_StoresChosenRunModeAndPushButton() {
    QFETCH(int, stored);
    QFETCH(QStringList, clicks);
    QFETCH(int, runMode);
    QFETCH(bool, pbEnabled);
    SensorConfig config = RecordWithRunMode(stored, !pbEnabled);
    if (stored == 7) {
        config.PBEnabled = true;
    }
    RunModeDialogA dialog(config);
    Show(dialog);
    for (const QString& name : clicks) {
        Click(&dialog, qPrintable(name));
    }
    Click(&dialog, "cmdOK");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(int(config.RunMode), runMode);
    QCOMPARE(config.PBEnabled, pbEnabled);
}

void RunModeDialogATest::Ok_ForeignRunMode_IsStoredAsContinuousRS232() {
    SensorConfig config = RecordWithRunMode(5);
    RunModeDialogA dialog(config);
    Show(dialog);
    Type(&dialog, "txtPrimingCycles", "12");
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.RunMode), 1);
    QCOMPARE(int(config.PrimingCycles), 12);
}

void RunModeDialogATest::Ok_Interval_IsTypedMillisecondsWithinLimits_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<float>("seconds");
    QTest::newRow("1000 is cut") << "1000" << 0.524f;
    QTest::newRow("600 is cut") << "600" << 0.524f;
    QTest::newRow("524") << "524" << 0.524f;
    QTest::newRow("0") << "0" << 0.001f;
    QTest::newRow("0.5 is raised") << "0.5" << 0.001f;
    QTest::newRow("2.5 is not rounded") << "2.5" << 0.0025f;
    QTest::newRow("33.3") << "33.3" << 0.0333f;
    QTest::newRow("100") << "100" << 0.1f;
    QTest::newRow("letters") << "fast" << 0.001f;
    QTest::newRow("empty") << "" << 0.001f;
    QTest::newRow("99999") << "99999" << 0.524f;
}

void RunModeDialogATest::Ok_Interval_IsTypedMillisecondsWithinLimits() {
    QFETCH(QString, typed);
    QFETCH(float, seconds);
    QCOMPARE(OkWithTyped("txtInterval", typed).Interval, seconds);
}

void RunModeDialogATest::Ok_Pulses_AreForcedFrom1To10_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("pulses");
    QTest::newRow("0") << "0" << 1;
    QTest::newRow("11") << "11" << 10;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("10") << "10" << 10;
    QTest::newRow("4.5 to even") << "4.5" << 4;
    QTest::newRow("5.5 to even") << "5.5" << 6;
    QTest::newRow("letters") << "x" << 1;
    QTest::newRow("99999") << "99999" << 10;
    QTest::newRow("65537 would wrap to 1") << "65537" << 10;
    QTest::newRow("-65531 would wrap to 5") << "-65531" << 1;
}

void RunModeDialogATest::Ok_Pulses_AreForcedFrom1To10() {
    QFETCH(QString, typed);
    QFETCH(int, pulses);
    QCOMPARE(int(OkWithTyped("txtNumberOfPulses", typed).NumberOfPulses), pulses);
}

void RunModeDialogATest::Ok_PrimingCycles_AreForcedFrom0To255_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("cycles");
    QTest::newRow("300") << "300" << 255;
    QTest::newRow("-5") << "-5" << 0;
    QTest::newRow("255") << "255" << 255;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("2.5 to even") << "2.5" << 2;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("99999") << "99999" << 255;
    QTest::newRow("65536 would wrap to 0") << "65536" << 255;
}

void RunModeDialogATest::Ok_PrimingCycles_AreForcedFrom0To255() {
    QFETCH(QString, typed);
    QFETCH(int, cycles);
    QCOMPARE(int(OkWithTyped("txtPrimingCycles", typed).PrimingCycles), cycles);
}

void RunModeDialogATest::Ok_PrimingCycles_AreReadWhileTheBoxIsDisabled() {
    SensorConfig config = RecordWithRunMode(3);
    RunModeDialogA dialog(config);
    Show(dialog);
    Type(&dialog, "txtPrimingCycles", "77");
    Click(&dialog, "optContinuousNoRS232");
    QVERIFY(!IsEnabled(&dialog, "txtPrimingCycles"));
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.PrimingCycles), 77);
    QCOMPARE(int(config.RunMode), 2);
}

void RunModeDialogATest::CancelAndCloseBox_KeepEveryField_data() {
    QTest::addColumn<int>("runMode");
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << 3 << false;
    QTest::newRow("close box") << 3 << true;
    QTest::newRow("Cancel, foreign mode") << 5 << false;
    QTest::newRow("Cancel, trigger with PB on") << 7 << false;
}

void RunModeDialogATest::CancelAndCloseBox_KeepEveryField() {
    QFETCH(int, runMode);
    QFETCH(bool, closeBox);
    SensorConfig config = UnusualRecord();
    config.RunMode = static_cast<std::int16_t>(runMode);
    const SensorConfig before = config;
    RunModeDialogA dialog(config);
    Show(dialog);
    Click(&dialog, "optPolledHold");
    Type(&dialog, "txtPrimingCycles", "250");
    Type(&dialog, "txtInterval", "10");
    Type(&dialog, "txtNumberOfPulses", "2");
    Click(&dialog, "optExternalTrigger");
    if (closeBox) {
        dialog.close();
    } else {
        Click(&dialog, "cmdCancel");
    }
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

QTEST_MAIN(RunModeDialogATest)
#include "run_mode_dialog_a_test.moc"
