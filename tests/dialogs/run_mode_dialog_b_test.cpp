#include "dialogs/run_mode_dialog_b.h"

#include "dialog_test_support.h"

#include <QFrame>

using namespace telmora;
using namespace telmora::dialog_test;

namespace {
// In code order, so index + 1 is the run mode.
const QStringList kRunModes = {"optContinuousRS232", "optContinuousNoRS232", "optPolledHold",
                               "optPolledRun",       "optRS485Hold",         "optRS485Run",
                               "optExternalTrigger"};
const QStringList kNode = {"lblNodeAddress", "txtNodeAddress"};
const QStringList kPriming = {"lblPrimingCycles", "txtPrimingCycles"};
const QStringList kPBSwitch = {"fraPBSwitch", "optPBEnabled", "optPBDisabled"};
// Temperature compensation never depends on the run mode.
const QStringList kTempComp = {"optTempCompOn", "optTempCompOff"};
const QStringList kInputs = kNode + kPriming + kPBSwitch + kTempComp;

QStringList EnabledIn(int runMode) {
    return (runMode == 5 || runMode == 6 ? kNode : QStringList()) +
           (runMode >= 3 && runMode <= 7 ? kPriming : QStringList()) +
           (runMode != 7 ? kPBSwitch : QStringList()) + kTempComp;
}

SensorConfig RecordWithRunMode(int runMode, bool pbEnabled = true) {
    SensorConfig config = UnusualRecord();
    config.RunMode = static_cast<std::int16_t>(runMode);
    config.PBEnabled = pbEnabled;
    return config;
}
} // namespace

class RunModeDialogBTest : public QObject {
    Q_OBJECT
  private slots:
    void Window_IsModalWithItsControlsTextsAndGroups();
    void Load_ShowsStoredRunModeAndNumbers_data();
    void Load_ShowsStoredRunModeAndNumbers();
    void OptionClicks_EnableInputsByRunMode_data();
    void OptionClicks_EnableInputsByRunMode();
    void Ok_StoresRunModePushButtonAndTempComp_data();
    void Ok_StoresRunModePushButtonAndTempComp();
    void Ok_Numbers_AreForcedIntoTheirLimits_data();
    void Ok_Numbers_AreForcedIntoTheirLimits();
    void CancelEscapeAndCloseBox_KeepEveryField_data();
    void CancelEscapeAndCloseBox_KeepEveryField();
};

void RunModeDialogBTest::Window_IsModalWithItsControlsTextsAndGroups() {
    SensorConfig config = RecordWithRunMode(8);
    RunModeDialogB dialog(config);
    QCOMPARE(dialog.objectName(), QString("frmRunModeB"));
    QCOMPARE(dialog.windowTitle(), QString("Kelvo-B Processing Parameters"));
    QVERIFY(dialog.isModal());
    QCOMPARE(
        WrongTexts(
            &dialog,
            {{"optContinuousRS232", "Continuous (RS232)",
              "Sensor runs continuously with RS-232 output"},
             {"optContinuousNoRS232", "Continuous (No RS232)",
              "Sensor runs continuously without RS-232 output"},
             {"optPolledHold", "Polled (Hold)",
              "Sensor waits for instructions from external computer"},
             {"optPolledRun", "Polled (Run)",
              "Sensor waits for instructions from external computer but runs continuously after 30 "
              "to 60 seconds"},
             {"optRS485Hold", "RS485 Network (Hold)", "Sensor waits for network command"},
             {"optRS485Run", "RS485 Network (Run)",
              "Sensor waits for network command but runs continuously after 30 to 60 seconds "
              "timeout"},
             {"optExternalTrigger", "External Trigger",
              "Sensor waits for External Trigger signal to go low"},
             {"Frame1", "Run Mode", ""},
             {"lblNodeAddress", "Node Address", ""},
             {"txtNodeAddress", "", "Enter network node address (1 to 255)"},
             {"lblPrimingCycles", "Priming Cycles", ""},
             {"txtPrimingCycles", "", "Enter number of cycles to measure before taking a sample"},
             {"fraPBSwitch", "PushButton Switch", ""},
             {"optPBEnabled", "Enabled", "Click to enable pushbutton programming"},
             {"optPBDisabled", "Disabled", "Click to disable pushbutton programming"},
             {"fraTempComp", "Temperature Compensation", ""},
             {"optTempCompOn", "On", "Click to compensate for temperature effects"},
             {"optTempCompOff", "Off", "Click to disable temperature compensation"},
             {"Frame2", "Pwr / Timing", ""},
             {"Label1", "# Pulses", ""},
             {"txtNumberOfPulses", "", "Number of ultrasonic pulses (1 to 10)"},
             {"Label5", "Interval", ""},
             {"txtInterval", "", "Measurement interval in milliseconds"},
             {"cmdOK", "OK", "Click to accept settings"},
             {"cmdCancel", "Cancel", "Click to return without changes"}}),
        QStringList());
    // Shape1 marks the modes that prime; Shape2 within it the network modes.
    const QStringList boxes = {"txtPrimingCycles", "txtNodeAddress"};
    const auto inside = [&dialog, &boxes](const char* frame) {
        auto* shape = Find(&dialog, frame);
        return Among(&dialog, kRunModes + boxes,
                     [shape](QWidget* w) { return shape->isAncestorOf(w); });
    };
    QCOMPARE(inside("Frame1").mid(0, 7), kRunModes);
    QCOMPARE(inside("Shape1"), kRunModes.mid(2) + boxes);
    QCOMPARE(inside("Shape2"), (QStringList{"optRS485Hold", "optRS485Run", "txtNodeAddress"}));
    QVERIFY(Find(&dialog, "Frame2")->isAncestorOf(Find(&dialog, "txtInterval")));
    QVERIFY(Find(&dialog, "Frame2")->isAncestorOf(Find(&dialog, "txtNumberOfPulses")));
    // Three independent groups; the run modes form one group across the rectangles.
    Show(dialog);
    for (const char* name : {"optRS485Run", "optPolledHold", "optPBEnabled", "optTempCompOff"}) {
        Click(&dialog, name);
    }
    QCOMPARE(CheckedAmong(&dialog, kRunModes + kPBSwitch + kTempComp),
             (QStringList{"optPolledHold", "optPBEnabled", "optTempCompOff"}));
}

void RunModeDialogBTest::Load_ShowsStoredRunModeAndNumbers_data() {
    QTest::addColumn<int>("runMode");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("enabled");
    for (int mode = 1; mode <= 7; ++mode) {
        QTest::addRow("%d", mode) << mode << QStringList{kRunModes.at(mode - 1)} << EnabledIn(mode);
    }
    // The mode only the sensor sets selects nothing and says why.
    QTest::newRow("8") << 8 << QStringList() << EnabledIn(8);
    for (int mode : {0, 9, -1, 32767}) {
        QTest::addRow("unknown %d", mode) << mode << QStringList{kRunModes.at(0)} << EnabledIn(1);
    }
}

void RunModeDialogBTest::Load_ShowsStoredRunModeAndNumbers() {
    QFETCH(int, runMode);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, enabled);
    // Mode 2 is stored with push-button programming off, to see that choice load.
    SensorConfig config = RecordWithRunMode(runMode, runMode != 2);
    config.Interval = 0.0333f;
    config.TempComp = runMode % 2 == 0;
    const SensorConfig before = config;
    RunModeDialogB dialog(config);
    Show(dialog);
    QCOMPARE(CheckedAmong(&dialog, kRunModes), checked);
    QCOMPARE(EnabledAmong(&dialog, kInputs), enabled);
    QCOMPARE(IsChecked(&dialog, "optPBDisabled"), runMode == 2 || runMode == 7);
    QCOMPARE(IsChecked(&dialog, "optTempCompOn"), config.TempComp);
    QCOMPARE(IsChecked(&dialog, "optTempCompOff"), !config.TempComp);
    auto* note = Find<QLabel>(&dialog, "lblRunModeNote");
    QCOMPARE(note->isVisible(), runMode == 8);
    QVERIFY(runMode != 8 || note->text().contains("cannot set"));
    QCOMPARE(TextOf(&dialog, "txtInterval"), QString("33.3"));
    QCOMPARE(TextOf(&dialog, "txtNumberOfPulses"), QString("7"));
    QCOMPARE(TextOf(&dialog, "txtNodeAddress"), QString("42"));
    QCOMPARE(TextOf(&dialog, "txtPrimingCycles"), QString("9"));
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

void RunModeDialogBTest::OptionClicks_EnableInputsByRunMode_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("runMode");
    // From a mode whose enabling differs, so each click must change something.
    for (auto [from, to] :
         {std::pair{5, 1}, {7, 2}, {5, 3}, {7, 4}, {1, 5}, {7, 6}, {6, 7}, {8, 5}}) {
        QTest::addRow("%d from %d", to, from) << from << to;
    }
}

void RunModeDialogBTest::OptionClicks_EnableInputsByRunMode() {
    QFETCH(int, from);
    QFETCH(int, runMode);
    SensorConfig config = RecordWithRunMode(from, true);
    RunModeDialogB dialog(config);
    Show(dialog);
    Click(&dialog, kRunModes.at(runMode - 1));
    QCOMPARE(CheckedAmong(&dialog, kRunModes), QStringList{kRunModes.at(runMode - 1)});
    QCOMPARE(EnabledAmong(&dialog, kInputs), EnabledIn(runMode));
    QCOMPARE(IsChecked(&dialog, "optPBDisabled"), from == 7 || runMode == 7);
}

void RunModeDialogBTest::Ok_StoresRunModePushButtonAndTempComp_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("chosen"); // 0: no run mode clicked
    QTest::addColumn<int>("runMode");
    for (int mode = 1; mode <= 7; ++mode) {
        QTest::addRow("%d", mode) << (mode == 1 ? 2 : 1) << mode << mode;
    }
    QTest::newRow("mode only the sensor sets is kept") << 8 << 0 << 8;
    QTest::newRow("mode only the sensor sets, changed") << 8 << 4 << 4;
    QTest::newRow("trigger after mode 8") << 8 << 7 << 7;
    QTest::newRow("stored trigger") << 7 << 0 << 7;
    QTest::newRow("unknown stored as RS232") << 0 << 0 << 1;
}

void RunModeDialogBTest::Ok_StoresRunModePushButtonAndTempComp() {
    QFETCH(int, stored);
    QFETCH(int, chosen);
    QFETCH(int, runMode);
    for (bool tempComp : {true, false}) {
        SensorConfig config = RecordWithRunMode(stored, false);
        config.TempComp = !tempComp;
        RunModeDialogB dialog(config);
        Show(dialog);
        Click(&dialog, "optPBEnabled");
        if (chosen != 0) {
            Click(&dialog, kRunModes.at(chosen - 1));
        }
        Click(&dialog, tempComp ? "optTempCompOn" : "optTempCompOff");
        Click(&dialog, "cmdOK");
        QCOMPARE(int(config.RunMode), runMode);
        // "External Trigger" forces push-button programming off.
        QCOMPARE(config.PBEnabled, runMode != 7);
        QCOMPARE(config.TempComp, tempComp);
    }
}

void RunModeDialogBTest::Ok_Numbers_AreForcedIntoTheirLimits_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("stored");
    // The interval is typed in milliseconds and kept in seconds. Beyond 16 bits a number is past
    // its limit, never wrapped to a small one.
    const std::tuple<const char*, const char*, double> rows[] = {
        {"txtInterval", "1000", 0.524f},    {"txtInterval", "600", 0.524f},
        {"txtInterval", "0", 0.001f},       {"txtInterval", "0.5", 0.001f},
        {"txtInterval", "2.5", 0.0025f},    {"txtInterval", "33.3", 0.0333f},
        {"txtInterval", "ms", 0.001f},      {"txtNodeAddress", "256", 255},
        {"txtNodeAddress", "-1", 0},        {"txtNodeAddress", "0", 0},
        {"txtNodeAddress", "12.5", 12},     {"txtNodeAddress", "65537", 255},
        {"txtNodeAddress", "n/a", 0},       {"txtPrimingCycles", "300", 255},
        {"txtPrimingCycles", "-5", 0},      {"txtPrimingCycles", "99999", 255},
        {"txtNumberOfPulses", "0", 1},      {"txtNumberOfPulses", "11", 10},
        {"txtNumberOfPulses", "99999", 10}, {"txtNumberOfPulses", "", 1}};
    for (const auto& [box, typed, stored] : rows) {
        QTest::addRow("%s '%s'", box, typed) << box << typed << stored;
    }
}

void RunModeDialogBTest::Ok_Numbers_AreForcedIntoTheirLimits() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(double, stored);
    SensorConfig config = RecordWithRunMode(5);
    RunModeDialogB dialog(config);
    Show(dialog);
    Type(&dialog, box, typed);
    // Node and priming are read even when the chosen mode disables their boxes.
    Click(&dialog, "optContinuousRS232");
    Click(&dialog, "cmdOK");
    QCOMPARE(int(config.RunMode), 1);
    QCOMPARE(FieldOf(config, box), stored);
}

void RunModeDialogBTest::CancelEscapeAndCloseBox_KeepEveryField_data() {
    QTest::addColumn<int>("runMode");
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << 5 << "Cancel";
    QTest::newRow("close box") << 5 << "close box";
    QTest::newRow("Escape") << 5 << "Escape";
    QTest::newRow("Cancel, mode 8") << 8 << "Cancel";
    QTest::newRow("Cancel, unknown mode") << 0 << "Cancel";
}

void RunModeDialogBTest::CancelEscapeAndCloseBox_KeepEveryField() {
    QFETCH(int, runMode);
    QFETCH(QString, how);
    SensorConfig config = RecordWithRunMode(runMode);
    const SensorConfig before = config;
    RunModeDialogB dialog(config);
    Show(dialog);
    Click(&dialog, "optRS485Run");
    for (const char* box :
         {"txtNodeAddress", "txtPrimingCycles", "txtInterval", "txtNumberOfPulses"}) {
        Type(&dialog, box, "3");
    }
    Click(&dialog, "optTempCompOn");
    Click(&dialog, "optExternalTrigger");
    Dismiss(dialog, how);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

QTEST_MAIN(RunModeDialogBTest)
#include "run_mode_dialog_b_test.moc"
