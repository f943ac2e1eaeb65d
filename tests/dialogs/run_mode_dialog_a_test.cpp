#include "dialogs/run_mode_dialog_a.h"

#include "dialog_test_support.h"

#include <QFrame>

using namespace telmora;
using namespace telmora::dialog_test;

namespace {
const QStringList kRunModes = {"optContinuousRS232", "optContinuousNoRS232", "optPolledHold",
                               "optExternalTrigger"};
const QStringList kPriming = {"lblPrimingCycles", "txtPrimingCycles"};
const QStringList kPBSwitch = {"fraPBSwitch", "optPBEnabled", "optPBDisabled"};
const QStringList kInputs = kPriming + kPBSwitch;

SensorConfig RecordWithRunMode(int runMode, bool pbEnabled = true) {
    SensorConfig config = UnusualRecord();
    config.RunMode = static_cast<std::int16_t>(runMode);
    config.PBEnabled = pbEnabled;
    return config;
}
} // namespace

class RunModeDialogATest : public QObject {
    Q_OBJECT
  private slots:
    void Window_IsModalWithItsControlsTextsAndGroups();
    void Load_ShowsStoredRunModeAndNumbers_data();
    void Load_ShowsStoredRunModeAndNumbers();
    void OptionClicks_EnablePrimingAndPushButtonByRunMode_data();
    void OptionClicks_EnablePrimingAndPushButtonByRunMode();
    void Ok_StoresChosenRunModeAndPushButton_data();
    void Ok_StoresChosenRunModeAndPushButton();
    void Ok_Numbers_AreForcedIntoTheirLimits_data();
    void Ok_Numbers_AreForcedIntoTheirLimits();
    void CancelEscapeAndCloseBox_KeepEveryField_data();
    void CancelEscapeAndCloseBox_KeepEveryField();
};

void RunModeDialogATest::Window_IsModalWithItsControlsTextsAndGroups() {
    SensorConfig config = RecordWithRunMode(1);
    RunModeDialogA dialog(config);
    QCOMPARE(dialog.objectName(), QString("frmRunModeA"));
    QCOMPARE(dialog.windowTitle(), QString("Kelvo-A Processing Parameters"));
    QVERIFY(dialog.isModal());
    QCOMPARE(WrongTexts(&dialog,
                        {{"optContinuousRS232", "Continuous (RS232)",
                          "Sensor runs continuously with RS-232 output"},
                         {"optContinuousNoRS232", "Continuous (No RS232)",
                          "Sensor runs continuously without RS-232 output"},
                         {"optPolledHold", "Polled (Hold)",
                          "Sensor waits for commands from external computer"},
                         {"optExternalTrigger", "External Trigger",
                          "Sensor waits for External Trigger signal to go low"},
                         {"lblPrimingCycles", "Priming Cycles", ""},
                         {"txtPrimingCycles", "",
                          "Number of cycles to run before taking measurement (0 to 255)"},
                         {"fraPBSwitch", "PushButton Switch", ""},
                         {"optPBEnabled", "Enabled", "Click to enable pushbutton programming"},
                         {"optPBDisabled", "Disabled", "Click to disable pushbutton programming"},
                         {"fraPwrTiming", "Pwr / Timing", ""},
                         {"Label1", "# Pulses", ""},
                         {"txtNumberOfPulses", "", "Number of ultrasonic pulses (1 to 10)"},
                         {"Label5", "Interval", ""},
                         {"txtInterval", "", "Measurement interval in milliseconds"},
                         {"cmdOK", "OK", "Click to accept changes"},
                         {"cmdCancel", "Cancel", "Click to return without changes"}}),
             QStringList());
    for (const QString& option : kRunModes) {
        QVERIFY(Find(&dialog, "fraRunMode")->isAncestorOf(Find(&dialog, option)));
    }
    // The rectangle marks the modes that prime, with the priming input.
    auto* shape = Find<QFrame>(&dialog, "Shape1");
    const QStringList inShape = {"optPolledHold", "optExternalTrigger", "txtPrimingCycles"};
    QCOMPARE(Among(&dialog, kRunModes + QStringList{"txtPrimingCycles"},
                   [shape](QWidget* w) { return shape->isAncestorOf(w); }),
             inShape);
    QVERIFY(Find(&dialog, "fraPwrTiming")->isAncestorOf(Find(&dialog, "txtInterval")));
    QVERIFY(Find(&dialog, "fraPwrTiming")->isAncestorOf(Find(&dialog, "txtNumberOfPulses")));
    // Run mode and push button are separate groups.
    Show(dialog);
    Click(&dialog, "optPolledHold");
    Click(&dialog, "optPBEnabled");
    QCOMPARE(CheckedAmong(&dialog, kRunModes + kPBSwitch),
             (QStringList{"optPolledHold", "optPBEnabled"}));
}

void RunModeDialogATest::Load_ShowsStoredRunModeAndNumbers_data() {
    QTest::addColumn<int>("runMode");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("1") << 1 << "optContinuousRS232" << kPBSwitch;
    QTest::newRow("2") << 2 << "optContinuousNoRS232" << kPBSwitch;
    QTest::newRow("3") << 3 << "optPolledHold" << kInputs;
    QTest::newRow("7") << 7 << "optExternalTrigger" << kPriming;
    // Family B's modes and unknown codes show as continuous with priming open.
    for (int runMode : {4, 5, 6, 8, 0, -1, 99}) {
        QTest::addRow("foreign %d", runMode) << runMode << "optContinuousRS232" << kInputs;
    }
}

void RunModeDialogATest::Load_ShowsStoredRunModeAndNumbers() {
    QFETCH(int, runMode);
    QFETCH(QString, option);
    QFETCH(QStringList, enabled);
    // Mode 2 is stored with push-button programming off, to see that choice load.
    SensorConfig config = RecordWithRunMode(runMode, runMode != 2);
    config.Interval = 0.0333f;
    config.PrimingCycles = 200;
    const SensorConfig before = config;
    RunModeDialogA dialog(config);
    QCOMPARE(CheckedAmong(&dialog, kRunModes), QStringList{option});
    QCOMPARE(EnabledAmong(&dialog, kInputs), enabled);
    // A trigger shows programming off whatever is stored.
    QCOMPARE(IsChecked(&dialog, "optPBDisabled"), runMode == 2 || runMode == 7);
    QCOMPARE(TextOf(&dialog, "txtInterval"), QString("33")); // whole milliseconds
    QCOMPARE(TextOf(&dialog, "txtNumberOfPulses"), QString("7"));
    QCOMPARE(TextOf(&dialog, "txtPrimingCycles"), QString("200"));
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

void RunModeDialogATest::OptionClicks_EnablePrimingAndPushButtonByRunMode_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("enabled");
    // From a mode with other enabling, so every click must change something.
    QTest::newRow("RS232") << "optExternalTrigger"
                           << "optContinuousRS232" << kPBSwitch;
    QTest::newRow("No RS232") << "optExternalTrigger"
                              << "optContinuousNoRS232" << kPBSwitch;
    QTest::newRow("Polled") << "optContinuousRS232"
                            << "optPolledHold" << kInputs;
    QTest::newRow("Polled after trigger") << "optExternalTrigger"
                                          << "optPolledHold" << kInputs;
    QTest::newRow("Trigger") << "optContinuousRS232"
                             << "optExternalTrigger" << kPriming;
}

void RunModeDialogATest::OptionClicks_EnablePrimingAndPushButtonByRunMode() {
    QFETCH(QString, from);
    QFETCH(QString, option);
    QFETCH(QStringList, enabled);
    SensorConfig config = RecordWithRunMode(1, true);
    RunModeDialogA dialog(config);
    Show(dialog);
    Click(&dialog, from);
    Click(&dialog, option);
    QCOMPARE(CheckedAmong(&dialog, kRunModes), QStringList{option});
    QCOMPARE(EnabledAmong(&dialog, kInputs), enabled);
    // Once a trigger has switched programming off it stays off.
    QCOMPARE(IsChecked(&dialog, "optPBDisabled"),
             from == "optExternalTrigger" || option == "optExternalTrigger");
}

void RunModeDialogATest::Ok_StoresChosenRunModeAndPushButton_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("pbStored");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("runMode");
    QTest::addColumn<bool>("pbEnabled");
    QTest::newRow("RS232, PB on") << 3 << false << QStringList{"optContinuousRS232", "optPBEnabled"}
                                  << 1 << true;
    QTest::newRow("No RS232, PB off")
        << 1 << true << QStringList{"optContinuousNoRS232", "optPBDisabled"} << 2 << false;
    QTest::newRow("Polled after stored trigger, PB on")
        << 7 << false << QStringList{"optPolledHold", "optPBEnabled"} << 3 << true;
    QTest::newRow("Polled after chosen trigger")
        << 1 << true << QStringList{"optExternalTrigger", "optPolledHold"} << 3 << false;
    // A trigger forces push-button programming off whatever was chosen before.
    QTest::newRow("trigger after PB on")
        << 1 << false << QStringList{"optPBEnabled", "optExternalTrigger"} << 7 << false;
    QTest::newRow("stored trigger with PB on") << 7 << true << QStringList() << 7 << false;
    QTest::newRow("foreign mode stored as RS232") << 5 << true << QStringList() << 1 << true;
}

void RunModeDialogATest::Ok_StoresChosenRunModeAndPushButton() {
    QFETCH(int, stored);
    QFETCH(bool, pbStored);
    QFETCH(QStringList, clicks);
    QFETCH(int, runMode);
    QFETCH(bool, pbEnabled);
    SensorConfig config = RecordWithRunMode(stored, pbStored);
    RunModeDialogA dialog(config);
    Show(dialog);
    for (const QString& name : clicks) {
        Click(&dialog, name);
    }
    Click(&dialog, "cmdOK");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(int(config.RunMode), runMode);
    QCOMPARE(config.PBEnabled, pbEnabled);
}

void RunModeDialogATest::Ok_Numbers_AreForcedIntoTheirLimits_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("stored");
    // The interval is typed in milliseconds and kept in seconds. Beyond 16 bits a number is past
    // its limit, never wrapped to a small one.
    const std::tuple<const char*, const char*, double> rows[] = {
        {"txtInterval", "1000", 0.524f},    {"txtInterval", "600", 0.524f},
        {"txtInterval", "0", 0.001f},       {"txtInterval", "0.5", 0.001f},
        {"txtInterval", "2.5", 0.0025f},    {"txtInterval", "33.3", 0.0333f},
        {"txtInterval", "fast", 0.001f},    {"txtNumberOfPulses", "0", 1},
        {"txtNumberOfPulses", "11", 10},    {"txtNumberOfPulses", "4.5", 4},
        {"txtNumberOfPulses", "5.5", 6},    {"txtNumberOfPulses", "x", 1},
        {"txtNumberOfPulses", "65537", 10}, {"txtNumberOfPulses", "-65531", 1},
        {"txtPrimingCycles", "300", 255},   {"txtPrimingCycles", "-5", 0},
        {"txtPrimingCycles", "2.5", 2},     {"txtPrimingCycles", "", 0},
        {"txtPrimingCycles", "65536", 255}};
    for (const auto& [box, typed, stored] : rows) {
        QTest::addRow("%s '%s'", box, typed) << box << typed << stored;
    }
}

void RunModeDialogATest::Ok_Numbers_AreForcedIntoTheirLimits() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(double, stored);
    SensorConfig config = RecordWithRunMode(3);
    RunModeDialogA dialog(config);
    Show(dialog);
    Type(&dialog, box, typed);
    // Priming is read even when the chosen mode disables its box.
    Click(&dialog, "optContinuousNoRS232");
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.RunMode), 2);
    QCOMPARE(FieldOf(config, box), stored);
}

void RunModeDialogATest::CancelEscapeAndCloseBox_KeepEveryField_data() {
    QTest::addColumn<int>("runMode");
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << 3 << "Cancel";
    QTest::newRow("close box") << 3 << "close box";
    QTest::newRow("Escape") << 3 << "Escape";
    QTest::newRow("Cancel, foreign mode") << 5 << "Cancel";
    QTest::newRow("Cancel, trigger with PB on") << 7 << "Cancel";
}

void RunModeDialogATest::CancelEscapeAndCloseBox_KeepEveryField() {
    QFETCH(int, runMode);
    QFETCH(QString, how);
    SensorConfig config = RecordWithRunMode(runMode);
    const SensorConfig before = config;
    RunModeDialogA dialog(config);
    Show(dialog);
    Click(&dialog, "optPolledHold");
    Type(&dialog, "txtPrimingCycles", "250");
    Type(&dialog, "txtInterval", "10");
    Type(&dialog, "txtNumberOfPulses", "2");
    Click(&dialog, "optExternalTrigger");
    Dismiss(dialog, how);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

QTEST_MAIN(RunModeDialogATest)
#include "run_mode_dialog_a_test.moc"
