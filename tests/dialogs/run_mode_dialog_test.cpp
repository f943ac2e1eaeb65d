#include "dialogs/ui/run_mode_dialog_a.h"
#include "dialogs/ui/run_mode_dialog_b.h"

#include "dialog_test_support.h"

using namespace telmora;
using namespace telmora::dialog_test;

namespace {
const QStringList kNode = {"lblNodeAddress", "txtNodeAddress"};
const QStringList kPriming = {"lblPrimingCycles", "txtPrimingCycles"};
const QStringList kPBSwitch = {"fraPBSwitch", "optPBEnabled", "optPBDisabled"};
// Temperature compensation never depends on the run mode.
const QStringList kTempComp = {"optTempCompOn", "optTempCompOff"};

// What differs between the two families' run-mode dialogs.
struct Family {
    const char* dialog;
    QStringList modes;  // the options in code order
    QList<int> codes;   // the run mode each option stands for
    QStringList inputs; // what the run mode enables
    QStringList boxes;  // every number box
    QStringList (*enabledIn)(int runMode);
    std::unique_ptr<QDialog> (*make)(SensorConfig&);
    bool (*edit)(SensorConfig&, QWidget*); // modal over a window, true on OK
    int openMode;                          // a mode that enables every number box
    const char* shownInterval;             // 33.3 ms as the dialog shows it
    bool b;

    QString Option(int code) const { return modes.value(codes.indexOf(code)); }
};

const Family kA{
    "frmRunModeA",
    {"optContinuousRS232", "optContinuousNoRS232", "optPolledHold", "optExternalTrigger"},
    {1, 2, 3, 7},
    kPriming + kPBSwitch,
    {"txtPrimingCycles", "txtNumberOfPulses", "txtInterval"},
    [](int runMode) {
        // Foreign modes show as continuous with priming open.
        return (runMode == 1 || runMode == 2 ? QStringList() : kPriming) +
               (runMode != 7 ? kPBSwitch : QStringList());
    },
    &Make<RunModeDialogA>,
    &RunModeDialogA::Edit,
    3,
    "33", // whole milliseconds
    false};

const Family kB{"frmRunModeB",
                {"optContinuousRS232", "optContinuousNoRS232", "optPolledHold", "optPolledRun",
                 "optRS485Hold", "optRS485Run", "optExternalTrigger"},
                {1, 2, 3, 4, 5, 6, 7},
                kNode + kPriming + kPBSwitch + kTempComp,
                {"txtPrimingCycles", "txtNodeAddress", "txtNumberOfPulses", "txtInterval"},
                [](int runMode) {
                    return (runMode == 5 || runMode == 6 ? kNode : QStringList()) +
                           (runMode >= 3 && runMode <= 7 ? kPriming : QStringList()) +
                           (runMode != 7 ? kPBSwitch : QStringList()) + kTempComp;
                },
                &Make<RunModeDialogB>,
                &RunModeDialogB::Edit,
                5,
                "33.3",
                true};

const Family& Of(const QString& family) {
    return family == "A" ? kA : kB;
}

SensorConfig RecordWithRunMode(int runMode, bool pbEnabled = true) {
    SensorConfig config = UnusualRecord();
    config.RunMode = static_cast<std::int16_t>(runMode);
    config.PBEnabled = pbEnabled;
    return config;
}
} // namespace

// Captions, tooltips and which frame holds what are in the window texts' golden file. The
// clicks of the tables also show the run modes form one group across the rectangles, apart
// from push-button programming and temperature compensation.
class RunModeDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void LoadAndClicks_ShowTheRunModeAndEnableItsInputs_data();
    void LoadAndClicks_ShowTheRunModeAndEnableItsInputs();
    void Edit_StoresRunModePushButtonAndTempCompOnlyOnOk_data();
    void Edit_StoresRunModePushButtonAndTempCompOnlyOnOk();
    void Ok_Numbers_AreForcedIntoTheirLimits();
};

void RunModeDialogTest::LoadAndClicks_ShowTheRunModeAndEnableItsInputs_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("runMode");
    QTest::addColumn<int>("click");     // the mode clicked after loading, 0 for none
    QTest::addColumn<QString>("shown"); // the option selected, empty for none
    for (int mode : {1, 2, 3, 7}) {
        QTest::addRow("A %d", mode) << "A" << mode << 0 << kA.Option(mode);
    }
    // Family B's modes and unknown codes show as continuous.
    for (int mode : {4, 5, 6, 8, 0, -1, 99}) {
        QTest::addRow("A foreign %d", mode) << "A" << mode << 0 << "optContinuousRS232";
    }
    for (int mode = 1; mode <= 7; ++mode) {
        QTest::addRow("B %d", mode) << "B" << mode << 0 << kB.Option(mode);
    }
    // The mode only the sensor sets selects nothing and says why.
    QTest::newRow("B 8") << "B" << 8 << 0 << "";
    for (int mode : {0, 9, -1, 32767}) {
        QTest::addRow("B unknown %d", mode) << "B" << mode << 0 << "optContinuousRS232";
    }
    // Clicks from a mode whose enabling differs, so each must change something.
    const std::tuple<const char*, int, int> clicks[] = {
        {"A", 7, 1}, {"A", 7, 2}, {"A", 1, 3}, {"A", 7, 3}, {"A", 1, 7}, {"B", 5, 1}, {"B", 7, 2},
        {"B", 5, 3}, {"B", 7, 4}, {"B", 1, 5}, {"B", 7, 6}, {"B", 6, 7}, {"B", 8, 5}};
    for (const auto& [family, from, to] : clicks) {
        QTest::addRow("%s %d click %d", family, from, to)
            << family << from << to << Of(family).Option(to);
    }
}

void RunModeDialogTest::LoadAndClicks_ShowTheRunModeAndEnableItsInputs() {
    QFETCH(QString, family);
    QFETCH(int, runMode);
    QFETCH(int, click);
    QFETCH(QString, shown);
    const Family& f = Of(family);
    // Mode 2 is stored with push-button programming off, to see that choice load.
    SensorConfig config = RecordWithRunMode(runMode, runMode != 2);
    config.Interval = 0.0333f;
    config.PrimingCycles = 200;
    config.TempComp = runMode % 2 == 0;
    const SensorConfig before = config;
    const auto dialog = f.make(config);
    Show(*dialog);
    if (click != 0) {
        Click(dialog.get(), f.Option(click));
    }
    QCOMPARE(CheckedAmong(dialog.get(), f.modes),
             shown.isEmpty() ? QStringList() : QStringList{shown});
    QCOMPARE(EnabledAmong(dialog.get(), f.inputs), f.enabledIn(click != 0 ? click : runMode));
    // A trigger shows programming off whatever is stored, and it stays off after a click.
    QCOMPARE(IsChecked(dialog.get(), "optPBDisabled"), runMode == 2 || runMode == 7 || click == 7);
    QCOMPARE(TextOf(dialog.get(), "txtInterval"), QString(f.shownInterval));
    QCOMPARE(TextOf(dialog.get(), "txtNumberOfPulses"), QString("7"));
    QCOMPARE(TextOf(dialog.get(), "txtPrimingCycles"), QString("200"));
    if (f.b) {
        QCOMPARE(IsChecked(dialog.get(), "optTempCompOn"), config.TempComp);
        QCOMPARE(IsChecked(dialog.get(), "optTempCompOff"), !config.TempComp);
        QCOMPARE(TextOf(dialog.get(), "txtNodeAddress"), QString("42"));
        auto* note = Find<QLabel>(dialog.get(), "lblRunModeNote");
        QVERIFY(click != 0 || note->isVisible() == (runMode == 8));
        QVERIFY(runMode != 8 || note->text().contains("cannot set"));
    }
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

void RunModeDialogTest::Edit_StoresRunModePushButtonAndTempCompOnlyOnOk_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("pbStored");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("runMode");
    QTest::addColumn<bool>("pbEnabled");
    const auto row = [](const char* name, const char* family, int stored, bool pbStored,
                        const QStringList& clicks, int runMode, bool pbEnabled) {
        QTest::newRow(name) << family << stored << pbStored << clicks << "OK" << runMode
                            << pbEnabled;
    };
    row("A RS232, PB on", "A", 3, false, {"optContinuousRS232", "optPBEnabled"}, 1, true);
    row("A No RS232, PB off", "A", 1, true, {"optContinuousNoRS232", "optPBDisabled"}, 2, false);
    row("A Polled after stored trigger", "A", 7, false, {"optPolledHold", "optPBEnabled"}, 3, true);
    row("A Polled after chosen trigger", "A", 1, true, {"optExternalTrigger", "optPolledHold"}, 3,
        false);
    // A trigger forces push-button programming off whatever was chosen before.
    row("A trigger after PB on", "A", 1, false, {"optPBEnabled", "optExternalTrigger"}, 7, false);
    row("A stored trigger with PB on", "A", 7, true, {}, 7, false);
    row("A foreign mode stored as RS232", "A", 5, true, {}, 1, true);
    for (int mode = 1; mode <= 7; ++mode) {
        QTest::addRow("B %d", mode)
            << "B" << (mode == 1 ? 2 : 1) << false << QStringList{"optPBEnabled", kB.Option(mode)}
            << "OK" << mode << (mode != 7);
    }
    row("B mode only the sensor sets is kept", "B", 8, false, {"optPBEnabled"}, 8, true);
    row("B mode only the sensor sets, changed", "B", 8, false, {"optPBEnabled", "optPolledRun"}, 4,
        true);
    row("B trigger after mode 8", "B", 8, false, {"optPBEnabled", "optExternalTrigger"}, 7, false);
    row("B stored trigger", "B", 7, false, {"optPBEnabled"}, 7, false);
    row("B unknown stored as RS232", "B", 0, false, {"optPBEnabled"}, 1, true);
    // Leaving without OK keeps every field, a mode the dialog cannot show included.
    const std::tuple<const char*, int, const char*> kept[] = {
        {"A", 3, "Cancel"}, {"A", 3, "Escape"}, {"A", 3, "close box"}, {"A", 5, "Cancel"},
        {"A", 7, "Cancel"}, {"B", 5, "Cancel"}, {"B", 5, "Escape"},    {"B", 5, "close box"},
        {"B", 8, "Cancel"}, {"B", 0, "Cancel"}};
    for (const auto& [family, stored, how] : kept) {
        QTest::addRow("%s %s, mode %d", family, how, stored)
            << family << stored << true
            << QStringList{Of(family).modes.at(Of(family).modes.size() - 2), "optPBDisabled",
                           "optExternalTrigger"}
            << how << stored << true;
    }
}

void RunModeDialogTest::Edit_StoresRunModePushButtonAndTempCompOnlyOnOk() {
    QFETCH(QString, family);
    QFETCH(int, stored);
    QFETCH(bool, pbStored);
    QFETCH(QStringList, clicks);
    QFETCH(QString, how);
    QFETCH(int, runMode);
    QFETCH(bool, pbEnabled);
    const Family& f = Of(family);
    // Family B's temperature compensation both ways, from the other state.
    for (bool tempComp : f.b ? QList<bool>{true, false} : QList<bool>{false}) {
        SensorConfig config = RecordWithRunMode(stored, pbStored);
        config.TempComp = !tempComp;
        SensorConfig expected = config;
        expected.RunMode = static_cast<std::int16_t>(runMode);
        expected.PBEnabled = pbEnabled;
        expected.TempComp = how == "OK" && f.b ? tempComp : config.TempComp;
        const auto act = [&](QDialog& dialog) {
            QCOMPARE(dialog.objectName(), QString(f.dialog));
            if (how != "OK") { // typed numbers must not reach the record either
                for (const QString& box : f.boxes) {
                    Type(&dialog, box, "3");
                }
            }
            for (const QString& name : clicks) {
                Click(&dialog, name);
            }
            if (f.b) {
                Click(&dialog, tempComp ? "optTempCompOn" : "optTempCompOff");
            }
        };
        QCOMPARE(EditWith(f.edit, config, how, act),
                 QString(how == "OK" ? "accepted" : "rejected"));
        QCOMPARE(int(config.RunMode), runMode);
        QCOMPARE(config.PBEnabled, pbEnabled);
        QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
    }
}

// Each box's own limits; the readers' tables hold the finer cases. The interval is typed
// in milliseconds and kept in seconds.
void RunModeDialogTest::Ok_Numbers_AreForcedIntoTheirLimits() {
    const std::tuple<const char*, const char*, double> rows[] = {
        {"txtInterval", "2.5", 0.0025f}, {"txtNumberOfPulses", "0", 1},
        {"txtNumberOfPulses", "11", 10}, {"txtPrimingCycles", "300", 255},
        {"txtPrimingCycles", "-5", 0},   {"txtNodeAddress", "256", 255},
        {"txtNodeAddress", "-1", 0}};
    for (const Family* f : {&kA, &kB}) {
        for (const auto& [box, typed, stored] : rows) {
            if (!f->boxes.contains(box)) {
                continue;
            }
            SensorConfig config = RecordWithRunMode(f->openMode);
            const auto dialog = f->make(config);
            Show(*dialog);
            Type(dialog.get(), box, typed);
            // Node and priming are read even when the chosen mode disables their boxes.
            Click(dialog.get(), "optContinuousRS232");
            Click(dialog.get(), "cmdOK");
            QCOMPARE(FieldOf(config, box), stored);
            QCOMPARE(int(config.RunMode), 1);
        }
    }
}

QTEST_MAIN(RunModeDialogTest)
#include "run_mode_dialog_test.moc"
