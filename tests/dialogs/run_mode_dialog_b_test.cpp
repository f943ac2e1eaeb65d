#include "dialogs/run_mode_dialog_b.h"

#include "dialog_test_support.h"

#include <QFrame>
#include <QGroupBox>

using namespace telmora;
using namespace telmora::dialog_test;

namespace {
// In code order, so index + 1 is the run mode.
const char* const kRunModeNames[] = {"optContinuousRS232", "optContinuousNoRS232", "optPolledHold",
                                     "optPolledRun",       "optRS485Hold",         "optRS485Run",
                                     "optExternalTrigger"};
const QStringList kRunModes = {std::begin(kRunModeNames), std::end(kRunModeNames)};

const char* OptionOf(int runMode) {
    return kRunModeNames[runMode - 1];
}

struct Enabling {
    bool node;
    bool priming;
    bool pbSwitch;
};

Enabling EnablingOf(int runMode) {
    return {runMode == 5 || runMode == 6, runMode >= 3, runMode != 7};
}

SensorConfig RecordWithRunMode(int runMode, bool pbEnabled = true) {
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    config.RunMode = static_cast<std::int16_t>(runMode);
    config.PBEnabled = pbEnabled;
    config.NodeAddress = 12;
    return config;
}

SensorConfig OkWithTyped(const char* box, const QString& text) {
    SensorConfig config = RecordWithRunMode(5);
    RunModeDialogB dialog(config);
    Show(dialog);
    Type(&dialog, box, text);
    Click(&dialog, "cmdOK");
    return config;
}

void VerifyEnabling(const QWidget* dialog, const Enabling& expected) {
    QCOMPARE(IsEnabled(dialog, "txtNodeAddress"), expected.node);
    QCOMPARE(IsEnabled(dialog, "lblNodeAddress"), expected.node);
    QCOMPARE(IsEnabled(dialog, "txtPrimingCycles"), expected.priming);
    QCOMPARE(IsEnabled(dialog, "lblPrimingCycles"), expected.priming);
    QCOMPARE(IsEnabled(dialog, "fraPBSwitch"), expected.pbSwitch);
    QCOMPARE(IsEnabled(dialog, "optPBEnabled"), expected.pbSwitch);
    QCOMPARE(IsEnabled(dialog, "optPBDisabled"), expected.pbSwitch);
    // Temperature compensation never depends on the run mode.
    QVERIFY(IsEnabled(dialog, "optTempCompOn"));
    QVERIFY(IsEnabled(dialog, "optTempCompOff"));
}
} // namespace

class RunModeDialogBTest : public QObject {
    Q_OBJECT
  private slots:
    void Controls_CarryTheirCaptionsTooltipsAndSpokenNames_data();
    void Controls_CarryTheirCaptionsTooltipsAndSpokenNames();
    void Window_IsModalWithItsTitleAndGroups();

    void Load_ShowsStoredRunMode_data();
    void Load_ShowsStoredRunMode();
    void Load_ShowsNumbersAndChoices_data();
    void Load_ShowsNumbersAndChoices();

    void OptionClicks_EnableInputsByRunMode_data();
    void OptionClicks_EnableInputsByRunMode();

    void Ok_RunModeThatOnlyTheSensorSets_IsKeptUnlessChanged();
    void Ok_UnknownRunMode_IsStoredAsContinuousRS232();
    void Ok_ExternalTrigger_StoresPushButtonOff_data();
    void Ok_ExternalTrigger_StoresPushButtonOff();
    void Ok_TempCompIsStoredInEveryRunMode_data();
    void Ok_TempCompIsStoredInEveryRunMode();
    void Ok_Interval_IsTypedMillisecondsWithinLimits_data();
    void Ok_Interval_IsTypedMillisecondsWithinLimits();
    void Ok_WholeNumbers_AreForcedIntoTheirLimits_data();
    void Ok_WholeNumbers_AreForcedIntoTheirLimits();
    void Ok_DisabledInputsAreStillRead();

    void CancelAndCloseBox_KeepEveryField_data();
    void CancelAndCloseBox_KeepEveryField();
};

void RunModeDialogBTest::Controls_CarryTheirCaptionsTooltipsAndSpokenNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("1") << "optContinuousRS232"
                       << "Continuous (RS232)"
                       << "Sensor runs continuously with RS-232 output";
    QTest::newRow("2") << "optContinuousNoRS232"
                       << "Continuous (No RS232)"
                       << "Sensor runs continuously without RS-232 output";
    QTest::newRow("3") << "optPolledHold"
                       << "Polled (Hold)"
                       << "Sensor waits for instructions from external computer";
    QTest::newRow("4") << "optPolledRun"
                       << "Polled (Run)"
                       << "Sensor waits for instructions from external computer but runs "
                          "continuously after 30 to 60 seconds";
    QTest::newRow("5") << "optRS485Hold"
                       << "RS485 Network (Hold)"
                       << "Sensor waits for network command";
    QTest::newRow("6") << "optRS485Run"
                       << "RS485 Network (Run)"
                       << "Sensor waits for network command but runs continuously after 30 to "
                          "60 seconds timeout";
    QTest::newRow("7") << "optExternalTrigger"
                       << "External Trigger"
                       << "Sensor waits for External Trigger signal to go low";
    QTest::newRow("run frame") << "Frame1"
                               << "Run Mode"
                               << "";
    QTest::newRow("node label") << "lblNodeAddress"
                                << "Node Address"
                                << "";
    QTest::newRow("node") << "txtNodeAddress"
                          << ""
                          << "Enter network node address (1 to 255)";
    QTest::newRow("priming label") << "lblPrimingCycles"
                                   << "Priming Cycles"
                                   << "";
    QTest::newRow("priming") << "txtPrimingCycles"
                             << ""
                             << "Enter number of cycles to measure before taking a sample";
    QTest::newRow("PB frame") << "fraPBSwitch"
                              << "PushButton Switch"
                              << "";
    QTest::newRow("PB on") << "optPBEnabled"
                           << "Enabled"
                           << "Click to enable pushbutton programming";
    QTest::newRow("PB off") << "optPBDisabled"
                            << "Disabled"
                            << "Click to disable pushbutton programming";
    QTest::newRow("temp frame") << "fraTempComp"
                                << "Temperature Compensation"
                                << "";
    QTest::newRow("temp on") << "optTempCompOn"
                             << "On"
                             << "Click to compensate for temperature effects";
    QTest::newRow("temp off") << "optTempCompOff"
                              << "Off"
                              << "Click to disable temperature compensation";
    QTest::newRow("timing frame") << "Frame2"
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
                        << "Click to accept settings";
    QTest::newRow("Cancel") << "cmdCancel"
                            << "Cancel"
                            << "Click to return without changes";
}

void RunModeDialogBTest::Controls_CarryTheirCaptionsTooltipsAndSpokenNames() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    SensorConfig config = RecordWithRunMode(8);
    RunModeDialogB dialog(config);
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

void RunModeDialogBTest::Window_IsModalWithItsTitleAndGroups() {
    SensorConfig config = RecordWithRunMode(1);
    RunModeDialogB dialog(config);
    QCOMPARE(dialog.objectName(), QString("frmRunModeB"));
    QCOMPARE(dialog.windowTitle(), QString("Kelvo-B Processing Parameters"));
    QVERIFY(dialog.isModal());
    auto* runMode = Find<QGroupBox>(&dialog, "Frame1");
    for (const QString& option : kRunModes) {
        QVERIFY(runMode->isAncestorOf(Find<QWidget>(&dialog, qPrintable(option))));
    }
    // Shape1 marks the modes that prime; Shape2 within it the network modes.
    auto* shape1 = Find<QFrame>(&dialog, "Shape1");
    auto* shape2 = Find<QFrame>(&dialog, "Shape2");
    for (int mode = 1; mode <= 7; ++mode) {
        QWidget* option = Find<QWidget>(&dialog, OptionOf(mode));
        QVERIFY2(shape1->isAncestorOf(option) == (mode >= 3), OptionOf(mode));
        QVERIFY2(shape2->isAncestorOf(option) == (mode == 5 || mode == 6), OptionOf(mode));
    }
    QVERIFY(shape1->isAncestorOf(Find<QWidget>(&dialog, "txtPrimingCycles")));
    QVERIFY(shape2->isAncestorOf(Find<QWidget>(&dialog, "txtNodeAddress")));
    auto* timing = Find<QGroupBox>(&dialog, "Frame2");
    QVERIFY(timing->isAncestorOf(Find<QWidget>(&dialog, "txtInterval")));
    QVERIFY(timing->isAncestorOf(Find<QWidget>(&dialog, "txtNumberOfPulses")));
    // Three independent groups; the run modes form one group across the rectangles.
    Show(dialog);
    Click(&dialog, "optRS485Run");
    Click(&dialog, "optPolledHold");
    Click(&dialog, "optPBEnabled");
    Click(&dialog, "optTempCompOff");
    QCOMPARE(CheckedAmong(&dialog, kRunModes), QStringList{"optPolledHold"});
    QCOMPARE(CheckedAmong(&dialog, {"optPBEnabled", "optPBDisabled"}), QStringList{"optPBEnabled"});
    QCOMPARE(CheckedAmong(&dialog, {"optTempCompOn", "optTempCompOff"}),
             QStringList{"optTempCompOff"});
}

void RunModeDialogBTest::Load_ShowsStoredRunMode_data() {
    QTest::addColumn<int>("runMode");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<bool>("node");
    QTest::addColumn<bool>("priming");
    QTest::addColumn<bool>("pbSwitch");
    QTest::addColumn<bool>("note");
    for (int mode = 1; mode <= 7; ++mode) {
        const Enabling e = EnablingOf(mode);
        QTest::addRow("%d", mode) << mode << QStringList{OptionOf(mode)} << e.node << e.priming
                                  << e.pbSwitch << false;
    }
    // The mode only the sensor sets selects nothing and says why.
    QTest::newRow("8") << 8 << QStringList() << false << false << true << true;
    for (int mode : {0, 9, -1, 32767}) {
        QTest::addRow("unknown %d", mode)
            << mode << QStringList{"optContinuousRS232"} << false << false << true << false;
    }
}

void RunModeDialogBTest::Load_ShowsStoredRunMode() {
    QFETCH(int, runMode);
    QFETCH(QStringList, checked);
    QFETCH(bool, node);
    QFETCH(bool, priming);
    QFETCH(bool, pbSwitch);
    QFETCH(bool, note);
    SensorConfig config = RecordWithRunMode(runMode, true);
    const SensorConfig before = config;
    RunModeDialogB dialog(config);
    Show(dialog);
    QCOMPARE(CheckedAmong(&dialog, kRunModes), checked);
    VerifyEnabling(&dialog, {node, priming, pbSwitch});
    QCOMPARE(CheckedAmong(&dialog, {"optPBEnabled", "optPBDisabled"}),
             QStringList{pbSwitch ? "optPBEnabled" : "optPBDisabled"});
    auto* noteLabel = Find<QLabel>(&dialog, "lblRunModeNote");
    QCOMPARE(noteLabel->isVisible(), note);
    if (note) {
        QVERIFY(noteLabel->text().contains("cannot set"));
    }
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

void RunModeDialogBTest::Load_ShowsNumbersAndChoices_data() {
    QTest::addColumn<float>("interval");
    QTest::addColumn<bool>("tempComp");
    QTest::addColumn<bool>("pbEnabled");
    QTest::addColumn<QString>("intervalText");
    QTest::newRow("100 ms") << 0.1f << true << false << "100";
    QTest::newRow("33.3 ms") << 0.0333f << false << true << "33.3";
    QTest::newRow("2.5 ms") << 0.0025f << true << true << "2.5";
    QTest::newRow("longest") << 0.524f << false << false << "524";
}

void RunModeDialogBTest::Load_ShowsNumbersAndChoices() {
    QFETCH(float, interval);
    QFETCH(bool, tempComp);
    QFETCH(bool, pbEnabled);
    QFETCH(QString, intervalText);
    SensorConfig config = RecordWithRunMode(1, pbEnabled);
    config.Interval = interval;
    config.TempComp = tempComp;
    config.NumberOfPulses = 4;
    config.NodeAddress = 250;
    config.PrimingCycles = 33;
    RunModeDialogB dialog(config);
    QCOMPARE(TextOf(&dialog, "txtInterval"), intervalText);
    QCOMPARE(TextOf(&dialog, "txtNumberOfPulses"), QString("4"));
    QCOMPARE(TextOf(&dialog, "txtNodeAddress"), QString("250"));
    QCOMPARE(TextOf(&dialog, "txtPrimingCycles"), QString("33"));
    QCOMPARE(IsChecked(&dialog, "optTempCompOn"), tempComp);
    QCOMPARE(IsChecked(&dialog, "optTempCompOff"), !tempComp);
    QCOMPARE(IsChecked(&dialog, "optPBEnabled"), pbEnabled);
    QCOMPARE(IsChecked(&dialog, "optPBDisabled"), !pbEnabled);
}

void RunModeDialogBTest::OptionClicks_EnableInputsByRunMode_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("runMode");
    // From a mode whose enabling differs, so each click must change something.
    QTest::newRow("1 from 5") << 5 << 1;
    QTest::newRow("2 from 7") << 7 << 2;
    QTest::newRow("3 from 5") << 5 << 3;
    QTest::newRow("4 from 7") << 7 << 4;
    QTest::newRow("5 from 1") << 1 << 5;
    QTest::newRow("6 from 7") << 7 << 6;
    QTest::newRow("7 from 6") << 6 << 7;
    QTest::newRow("5 from 8") << 8 << 5;
}

void RunModeDialogBTest::OptionClicks_EnableInputsByRunMode() {
    QFETCH(int, from);
    QFETCH(int, runMode);
    SensorConfig config = RecordWithRunMode(from, true);
    RunModeDialogB dialog(config);
    Show(dialog);
    Click(&dialog, OptionOf(runMode));
    QCOMPARE(CheckedAmong(&dialog, kRunModes), QStringList{OptionOf(runMode)});
    VerifyEnabling(&dialog, EnablingOf(runMode));
    if (runMode == 7) {
        QVERIFY(IsChecked(&dialog, "optPBDisabled"));
    }
}

void RunModeDialogBTest::Ok_RunModeThatOnlyTheSensorSets_IsKeptUnlessChanged() {
    SensorConfig config = RecordWithRunMode(8);
    {
        RunModeDialogB dialog(config);
        Show(dialog);
        Click(&dialog, "cmdOK");
    }
    QCOMPARE(int(config.RunMode), 8);
    RunModeDialogB dialog(config);
    Show(dialog);
    Click(&dialog, "optPolledRun");
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.RunMode), 4);
}

void RunModeDialogBTest::Ok_UnknownRunMode_IsStoredAsContinuousRS232() {
    SensorConfig config = RecordWithRunMode(0);
    RunModeDialogB dialog(config);
    Show(dialog);
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.RunMode), 1);
}

void RunModeDialogBTest::Ok_ExternalTrigger_StoresPushButtonOff_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("clickTrigger");
    QTest::newRow("chosen after PB on") << 1 << true;
    QTest::newRow("chosen after mode 8") << 8 << true;
    QTest::newRow("stored") << 7 << false;
}

void RunModeDialogBTest::Ok_ExternalTrigger_StoresPushButtonOff() {
    QFETCH(int, stored);
    QFETCH(bool, clickTrigger);
    SensorConfig config = RecordWithRunMode(stored, true);
    RunModeDialogB dialog(config);
    Show(dialog);
    Click(&dialog, "optPBEnabled");
    if (clickTrigger) {
        Click(&dialog, "optExternalTrigger");
    }
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.RunMode), 7);
    QVERIFY(!config.PBEnabled);
}

void RunModeDialogBTest::Ok_TempCompIsStoredInEveryRunMode_data() {
    QTest::addColumn<int>("runMode");
    QTest::addColumn<bool>("tempComp");
    for (int mode = 1; mode <= 7; ++mode) {
        QTest::addRow("%d on", mode) << mode << true;
        QTest::addRow("%d off", mode) << mode << false;
    }
}

void RunModeDialogBTest::Ok_TempCompIsStoredInEveryRunMode() {
    QFETCH(int, runMode);
    QFETCH(bool, tempComp);
    SensorConfig config = RecordWithRunMode(runMode == 1 ? 2 : 1);
    config.TempComp = !tempComp;
    RunModeDialogB dialog(config);
    Show(dialog);
    Click(&dialog, OptionOf(runMode));
    Click(&dialog, tempComp ? "optTempCompOn" : "optTempCompOff");
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.RunMode), runMode);
    QCOMPARE(config.TempComp, tempComp);
    QCOMPARE(config.PBEnabled, runMode != 7);
}

void RunModeDialogBTest::Ok_Interval_IsTypedMillisecondsWithinLimits_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<float>("seconds");
    QTest::newRow("1000 is cut") << "1000" << 0.524f;
    QTest::newRow("600 is cut") << "600" << 0.524f;
    QTest::newRow("0") << "0" << 0.001f;
    QTest::newRow("0.5 is raised") << "0.5" << 0.001f;
    QTest::newRow("2.5") << "2.5" << 0.0025f;
    QTest::newRow("33.3") << "33.3" << 0.0333f;
    QTest::newRow("letters") << "ms" << 0.001f;
}

void RunModeDialogBTest::Ok_Interval_IsTypedMillisecondsWithinLimits() {
    QFETCH(QString, typed);
    QFETCH(float, seconds);
    QCOMPARE(OkWithTyped("txtInterval", typed).Interval, seconds);
}

void RunModeDialogBTest::Ok_WholeNumbers_AreForcedIntoTheirLimits_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("node 256") << "txtNodeAddress"
                              << "256" << 255;
    QTest::newRow("node -1") << "txtNodeAddress"
                             << "-1" << 0;
    QTest::newRow("node 0 is accepted") << "txtNodeAddress"
                                        << "0" << 0;
    QTest::newRow("node 12.5 to even") << "txtNodeAddress"
                                       << "12.5" << 12;
    QTest::newRow("node 65537 would wrap to 1") << "txtNodeAddress"
                                                << "65537" << 255;
    QTest::newRow("node letters") << "txtNodeAddress"
                                  << "n/a" << 0;
    QTest::newRow("priming 300") << "txtPrimingCycles"
                                 << "300" << 255;
    QTest::newRow("priming -5") << "txtPrimingCycles"
                                << "-5" << 0;
    QTest::newRow("priming 99999") << "txtPrimingCycles"
                                   << "99999" << 255;
    QTest::newRow("pulses 0") << "txtNumberOfPulses"
                              << "0" << 1;
    QTest::newRow("pulses 11") << "txtNumberOfPulses"
                               << "11" << 10;
    QTest::newRow("pulses 99999") << "txtNumberOfPulses"
                                  << "99999" << 10;
    QTest::newRow("pulses empty") << "txtNumberOfPulses"
                                  << "" << 1;
}

void RunModeDialogBTest::Ok_WholeNumbers_AreForcedIntoTheirLimits() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    const SensorConfig config = OkWithTyped(qPrintable(box), typed);
    const int actual = box == "txtNodeAddress"     ? config.NodeAddress
                       : box == "txtPrimingCycles" ? config.PrimingCycles
                                                   : config.NumberOfPulses;
    QCOMPARE(actual, stored);
}

void RunModeDialogBTest::Ok_DisabledInputsAreStillRead() {
    SensorConfig config = RecordWithRunMode(5);
    RunModeDialogB dialog(config);
    Show(dialog);
    Type(&dialog, "txtNodeAddress", "99");
    Type(&dialog, "txtPrimingCycles", "44");
    Click(&dialog, "optContinuousRS232");
    VerifyEnabling(&dialog, EnablingOf(1));
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.RunMode), 1);
    QCOMPARE(int(config.NodeAddress), 99);
    QCOMPARE(int(config.PrimingCycles), 44);
}

void RunModeDialogBTest::CancelAndCloseBox_KeepEveryField_data() {
    QTest::addColumn<int>("runMode");
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << 5 << false;
    QTest::newRow("close box") << 5 << true;
    QTest::newRow("Cancel, mode 8") << 8 << false;
    QTest::newRow("Cancel, unknown mode") << 0 << false;
}

void RunModeDialogBTest::CancelAndCloseBox_KeepEveryField() {
    QFETCH(int, runMode);
    QFETCH(bool, closeBox);
    SensorConfig config = UnusualRecord();
    config.RunMode = static_cast<std::int16_t>(runMode);
    const SensorConfig before = config;
    RunModeDialogB dialog(config);
    Show(dialog);
    Click(&dialog, "optRS485Run");
    Type(&dialog, "txtNodeAddress", "3");
    Type(&dialog, "txtPrimingCycles", "250");
    Type(&dialog, "txtInterval", "10");
    Type(&dialog, "txtNumberOfPulses", "2");
    Click(&dialog, "optTempCompOn");
    Click(&dialog, "optExternalTrigger");
    if (closeBox) {
        dialog.close();
    } else {
        Click(&dialog, "cmdCancel");
    }
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

QTEST_MAIN(RunModeDialogBTest)
#include "run_mode_dialog_b_test.moc"
