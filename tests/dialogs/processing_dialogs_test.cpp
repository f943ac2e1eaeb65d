// The filter and run-mode dialogs of both families as a user drives them: what a record
// shows and enables, what clicks change, and what OK, Cancel, Escape and the close box leave
// in the record. Captions, tooltips and spoken names are in the window texts' golden file;
// the readers' limits and rounding are in the core's tables.
#include "../support/modal.h"
#include "config/sensor_config.h"
#include "dialogs/interval_text.h"
#include "dialogs/ui/filter_dialog_a.h"
#include "dialogs/ui/filter_dialog_b.h"
#include "dialogs/ui/run_mode_dialog_a.h"
#include "dialogs/ui/run_mode_dialog_b.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include <functional>
#include <tuple>

using namespace telmora;

namespace {

using Edit = bool (*)(SensorConfig&, QWidget*);

// The dialog's control named `name`; a missing control ends the test run loudly.
template <class T = QWidget> T* Find(const QWidget* dialog, const QString& name) {
    T* widget = dialog->findChild<T*>(name);
    if (widget == nullptr) {
        qFatal("control %s not found", qPrintable(name));
    }
    return widget;
}

QString TextOf(const QWidget* dialog, const QString& name) {
    return Find<QLineEdit>(dialog, name)->text();
}

// An option button is clicked on its round indicator: the space right of its caption
// takes no clicks.
void Click(const QWidget* dialog, const QString& name) {
    auto* button = Find<QAbstractButton>(dialog, name);
    const int half = button->height() / 2;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                      qobject_cast<QRadioButton*>(button) ? QPoint(half, half)
                                                          : button->rect().center());
}

// The names among `names` whose control is enabled, or else whose button is checked.
QStringList Among(const QWidget* dialog, const QStringList& names, bool enabled) {
    QStringList found;
    for (const QString& name : names) {
        QWidget* w = Find(dialog, name);
        auto* button = qobject_cast<QAbstractButton*>(w);
        if (enabled ? w->isEnabled() : button != nullptr && button->isChecked()) {
            found << name;
        }
    }
    return found;
}

// Every field a processing dialog may write, for comparing a record before and after.
auto ProcessingFields(const SensorConfig& c) {
    return std::make_tuple(c.FilterType, c.NumberOfSamples, c.RunMode, c.NodeAddress,
                           c.PrimingCycles, c.PBEnabled, c.TempComp, c.Interval, c.NumberOfPulses);
}

// Processing fields all unlike the factory defaults, so a stray store shows.
SensorConfig Unusual(int filterType, int samples, int runMode, bool pbEnabled = true) {
    SensorConfig c;
    c.Interval = 0.0333f;
    c.NumberOfPulses = 7;
    c.PrimingCycles = 9;
    c.NodeAddress = 42;
    c.RunMode = static_cast<std::int16_t>(runMode);
    c.PBEnabled = pbEnabled;
    c.FilterType = static_cast<std::int16_t>(filterType);
    c.NumberOfSamples = static_cast<std::int16_t>(samples);
    return c;
}

// Runs a family's modal `edit` over a window: `act` operates the dialog once it shows, then
// it is left by "OK", "Cancel", "Escape" or "close box". Gives "accepted", "rejected" or
// "not shown".
QString EditWith(Edit edit, SensorConfig& config, const QString& how,
                 const std::function<void(QDialog&)>& act) {
    QWidget window;
    window.show();
    test::NextModal modal([&](QWidget* shown) {
        auto* dialog = qobject_cast<QDialog*>(shown);
        QVERIFY(dialog != nullptr && dialog->parentWidget() == &window);
        act(*dialog);
        if (how == "OK" || how == "Cancel") {
            Click(dialog, how == "OK" ? "cmdOK" : "cmdCancel");
        } else if (how == "Escape") {
            QTest::keyClick(dialog, Qt::Key_Escape);
        } else {
            dialog->close();
        }
    });
    const bool accepted = edit(config, &window);
    return !modal.Seen() ? "not shown" : accepted ? "accepted" : "rejected";
}

// What differs between the two families' filter dialogs; options top to bottom, so
// index + 1 is the filter code.
struct FilterFamily {
    QStringList options;
    Edit edit;
    int lastCounting; // the counting filters (average, maximum, minimum) are 2 up to this
    bool Counts(int type) const { return type >= 2 && type <= lastCounting; }
};

// clang-format off
const FilterFamily kFilter[] = {
    {{"optFilterNone", "optAverageOf"}, &FilterDialogA::Edit, 2},
    {{"optFilterNone", "optAverageOf", "optMaxOf", "optMinOf", "opt2Consec", "optSlowFast",
      "optFastSlow"}, &FilterDialogB::Edit, 4}};
// clang-format on
const QStringList kCount = {"lblNumberOfSamples", "txtNumberOfSamples"};

const QStringList kNode = {"lblNodeAddress", "txtNodeAddress"};
const QStringList kPriming = {"lblPrimingCycles", "txtPrimingCycles"};
const QStringList kPBSwitch = {"fraPBSwitch", "optPBEnabled", "optPBDisabled"};
const QStringList kTempComp = {"optTempCompOn", "optTempCompOff"}; // never depends on the mode

// What differs between the two families' run-mode dialogs.
struct RunModeFamily {
    QMap<int, QString> modes; // the option of each run mode
    QStringList inputs;       // what the run mode enables
    QStringList (*enabledIn)(int runMode);
    Edit edit;
    const char* shownInterval; // 33.3 ms as the dialog shows it
};

// clang-format off
const RunModeFamily kRunMode[] = {
    {{{1, "optContinuousRS232"}, {2, "optContinuousNoRS232"}, {3, "optPolledHold"},
      {7, "optExternalTrigger"}},
     kPriming + kPBSwitch,
     [](int runMode) { // foreign modes show as continuous with priming open
         return (runMode == 1 || runMode == 2 ? QStringList() : kPriming) +
                (runMode != 7 ? kPBSwitch : QStringList());
     },
     &RunModeDialogA::Edit, "33"}, // whole milliseconds
    {{{1, "optContinuousRS232"}, {2, "optContinuousNoRS232"}, {3, "optPolledHold"},
      {4, "optPolledRun"}, {5, "optRS485Hold"}, {6, "optRS485Run"}, {7, "optExternalTrigger"}},
     kNode + kPriming + kPBSwitch + kTempComp,
     [](int runMode) {
         return (runMode == 5 || runMode == 6 ? kNode : QStringList()) +
                (runMode >= 3 && runMode <= 7 ? kPriming : QStringList()) +
                (runMode != 7 ? kPBSwitch : QStringList()) + kTempComp;
     },
     &RunModeDialogB::Edit, "33.3"}};
// clang-format on

// A filter row: the option indices clicked (index + 1 is the code), the count typed, how the
// dialog is left, and the filter and count then in the record.
struct FilterRow {
    bool b;
    int stored;
    QList<int> clicks;
    QString typed, how;
    int type, samples;
};
// A run-mode row: the options clicked, how the dialog is left, and the run mode and
// push-button programming then in the record.
struct ModeRow {
    bool b;
    int stored;
    bool pbStored;
    QStringList clicks;
    QString typed, how; // typed into every number box
    int runMode;
    bool pbEnabled;
};

} // namespace

Q_DECLARE_METATYPE(FilterRow)
Q_DECLARE_METATYPE(ModeRow)

class ProcessingDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void Filter_ShowsTheStoredFilterEnablesTheCountAndStoresOnlyOnOk_data();
    void Filter_ShowsTheStoredFilterEnablesTheCountAndStoresOnlyOnOk();
    void RunMode_ShowsTheStoredModeEnablesItsInputsAndStoresOnlyOnOk_data();
    void RunMode_ShowsTheStoredModeEnablesItsInputsAndStoresOnlyOnOk();
};

void ProcessingDialogsTest::Filter_ShowsTheStoredFilterEnablesTheCountAndStoresOnlyOnOk_data() {
    QTest::addColumn<FilterRow>("row");
    // Each option in turn, and back, so every change of enabling is seen; family A puts
    // family B's codes and codes no family has back to "None", family B keeps them.
    const QList<int> cycle = {2, 1, 3, 5, 4, 6, 2, 7, 3};
    for (int type : {1, 2, 3, 4, 5, 6, 7, 0, 8, 9, -1, 300}) {
        QTest::addRow("A %d", type)
            << FilterRow{false, type, {2, 1}, "99", "Cancel", type == 2 ? 2 : 1, 16};
        QTest::addRow("B %d", type) << FilterRow{true, type, cycle, "99", "Cancel", type, 16};
    }
    // Each counting option passes its own code and the typed count to the store routine,
    // whose table holds the count's limits; the other filters store no count.
    for (const bool b : {false, true}) {
        const char* family = b ? "B" : "A";
        for (int chosen = 2; chosen <= kFilter[b].lastCounting; ++chosen) {
            QTest::addRow("%s %d '2'", family, chosen)
                << FilterRow{b, 2, {chosen}, "2", "OK", chosen, 2};
            QTest::addRow("%s %d '1'", family, chosen)
                << FilterRow{b, 2, {chosen}, "1", "OK", 1, 0};
        }
        for (int chosen : b ? QList<int>{1, 5, 6, 7} : QList<int>{1}) {
            QTest::addRow("%s %d 50", family, chosen)
                << FilterRow{b, 2, {chosen}, "50", "OK", chosen, 0};
        }
        for (const char* how : {"Escape", "close box"}) {
            QTest::addRow("%s %s", family, how) << FilterRow{b, 2, {1}, "99", how, 2, 16};
        }
    }
    // OK without a choice: family A has put the code back to "None" at load, family B
    // keeps the code it cannot show.
    QTest::newRow("A unknown code") << FilterRow{false, 9, {}, "12", "OK", 1, 0};
    QTest::newRow("B unknown code") << FilterRow{true, 9, {}, "12", "OK", 9, 0};
}

void ProcessingDialogsTest::Filter_ShowsTheStoredFilterEnablesTheCountAndStoresOnlyOnOk() {
    QFETCH(FilterRow, row);
    const FilterFamily& f = kFilter[row.b];
    SensorConfig config = Unusual(row.stored, 16, 5);
    SensorConfig expected = config;
    expected.FilterType = static_cast<std::int16_t>(row.type);
    expected.NumberOfSamples = static_cast<std::int16_t>(row.samples);
    // Family A shows "None" for every code but its average; family B selects nothing for a
    // code it has no option for.
    const int shown =
        row.b ? (row.stored >= 1 && row.stored <= 7 ? row.stored : 0) : (row.stored == 2 ? 2 : 1);
    const auto act = [&](QDialog& dialog) {
        QCOMPARE(Among(&dialog, f.options, false),
                 shown == 0 ? QStringList() : QStringList{f.options.at(shown - 1)});
        QCOMPARE(TextOf(&dialog, "txtNumberOfSamples"), f.Counts(shown) ? "16" : row.b ? "0" : "1");
        QCOMPARE(Among(&dialog, kCount, true), f.Counts(shown) ? kCount : QStringList());
        // The options stand top to bottom in code order, left of the count.
        int previousTop = -1;
        for (const QString& name : f.options) {
            const QPoint at = Find(&dialog, name)->mapTo(&dialog, QPoint());
            QVERIFY2(at.y() > previousTop, qPrintable(name));
            QVERIFY(at.x() < Find(&dialog, "txtNumberOfSamples")->mapTo(&dialog, QPoint()).x());
            previousTop = at.y();
        }
        Find<QLineEdit>(&dialog, "txtNumberOfSamples")->setText(row.typed);
        for (int click : row.clicks) {
            Click(&dialog, f.options.at(click - 1));
            QCOMPARE(Among(&dialog, kCount, true), f.Counts(click) ? kCount : QStringList());
            QCOMPARE(Among(&dialog, f.options, false), QStringList{f.options.at(click - 1)});
        }
    };
    QCOMPARE(EditWith(f.edit, config, row.how, act),
             QString(row.how == "OK" ? "accepted" : "rejected"));
    QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
}

void ProcessingDialogsTest::RunMode_ShowsTheStoredModeEnablesItsInputsAndStoresOnlyOnOk_data() {
    QTest::addColumn<ModeRow>("row");
    // Leaving without OK keeps every field, a mode the dialog cannot show included; mode 2
    // is stored with push-button programming off, to see that choice load.
    for (const bool b : {false, true}) {
        for (int mode : {1, 2, 3, 4, 5, 6, 7, 8, 0, -1, 99}) {
            QTest::addRow("%s %d", b ? "B" : "A", mode)
                << ModeRow{b, mode, mode != 2, {}, "3", "Cancel", mode, mode != 2};
        }
    }
    // Clicks from a mode whose enabling differs, so each must change something; then left
    // by each way but OK.
    // clang-format off
    const std::tuple<bool, int, int, const char*> clicks[] = {
        {false, 7, 1, "Cancel"}, {false, 7, 2, "Escape"}, {false, 1, 3, "close box"},
        {false, 7, 3, "Cancel"}, {false, 1, 7, "Cancel"}, {true, 5, 1, "Cancel"},
        {true, 7, 2, "Escape"}, {true, 5, 3, "close box"}, {true, 7, 4, "Cancel"},
        {true, 1, 5, "Cancel"}, {true, 7, 6, "Cancel"}, {true, 6, 7, "Cancel"},
        {true, 8, 5, "Cancel"}};
    // clang-format on
    for (const auto& [b, from, to, how] : clicks) {
        QTest::addRow("%s %d click %d %s", b ? "B" : "A", from, to, how) << ModeRow{
            b, from, true, {kRunMode[b].modes[to], "optPBDisabled"}, "3", how, from, true};
    }
    // OK reads the numbers into each box's limits, node and priming even when the chosen mode
    // disables their boxes.
    const auto ok = [](const char* name, bool b, int stored, bool pbStored,
                       const QStringList& clicks, int runMode, bool pbEnabled) {
        const char* typed = runMode % 2 ? "300" : "-5";
        QTest::newRow(name) << ModeRow{b,     stored, pbStored, clicks,
                                       typed, "OK",   runMode,  pbEnabled};
    };
    // clang-format off
    ok("A RS232, PB on", false, 3, false, {"optContinuousRS232", "optPBEnabled"}, 1, true);
    ok("A No RS232, PB off", false, 1, true, {"optContinuousNoRS232", "optPBDisabled"}, 2, false);
    ok("A Polled after stored trigger", false, 7, false, {"optPolledHold", "optPBEnabled"}, 3, true);
    ok("A Polled after chosen trigger", false, 1, true, {"optExternalTrigger", "optPolledHold"}, 3, false);
    // A trigger forces push-button programming off whatever was chosen before.
    ok("A trigger after PB on", false, 1, false, {"optPBEnabled", "optExternalTrigger"}, 7, false);
    ok("A stored trigger with PB on", false, 7, true, {}, 7, false);
    ok("A foreign mode stored as RS232", false, 5, true, {}, 1, true);
    ok("B mode only the sensor sets is kept", true, 8, false, {"optPBEnabled"}, 8, true);
    ok("B mode only the sensor sets, changed", true, 8, false, {"optPBEnabled", "optPolledRun"}, 4, true);
    ok("B trigger after mode 8", true, 8, false, {"optPBEnabled", "optExternalTrigger"}, 7, false);
    ok("B stored trigger", true, 7, false, {"optPBEnabled"}, 7, false);
    ok("B unknown stored as RS232", true, 0, false, {"optPBEnabled"}, 1, true);
    // clang-format on
    for (int mode = 1; mode <= 7; ++mode) {
        ok(qPrintable(QString("B %1, PB on").arg(mode)), true, mode == 1 ? 2 : 1, false,
           {"optPBEnabled", kRunMode[1].modes[mode]}, mode, mode != 7);
    }
}

void ProcessingDialogsTest::RunMode_ShowsTheStoredModeEnablesItsInputsAndStoresOnlyOnOk() {
    QFETCH(ModeRow, row);
    const RunModeFamily& f = kRunMode[row.b];
    // Modes a family has no option for show as continuous; family B's mode 8, which only
    // the sensor sets, selects nothing and says why.
    const int shown = row.b && row.stored == 8 ? 0 : f.modes.contains(row.stored) ? row.stored : 1;
    // Family B's temperature compensation both ways, from the other state.
    for (bool tempComp : row.b ? QList<bool>{true, false} : QList<bool>{false}) {
        SensorConfig config = Unusual(3, 17, row.stored, row.pbStored);
        config.TempComp = !tempComp;
        SensorConfig expected = config;
        expected.RunMode = static_cast<std::int16_t>(row.runMode);
        expected.PBEnabled = row.pbEnabled;
        expected.TempComp = row.how == "OK" && row.b ? tempComp : config.TempComp;
        if (row.how == "OK") { // the interval through its reader, the rest into their limits
            const bool high = row.typed == "300";
            expected.Interval = ReadIntervalSeconds(row.typed.toStdString());
            expected.NumberOfPulses = high ? 10 : 1;
            expected.PrimingCycles = high ? 255 : 0;
            expected.NodeAddress = !row.b ? 42 : high ? 255 : 0;
        }
        const auto act = [&](QDialog& dialog) {
            QCOMPARE(Among(&dialog, f.modes.values(), false),
                     shown == 0 ? QStringList() : QStringList{f.modes[shown]});
            QCOMPARE(Among(&dialog, f.inputs, true), f.enabledIn(row.stored));
            // A trigger shows programming off whatever is stored.
            QCOMPARE(Among(&dialog, {"optPBDisabled"}, false).size(),
                     qsizetype(!row.pbStored || row.stored == 7));
            QCOMPARE(
                QStringList({TextOf(&dialog, "txtInterval"), TextOf(&dialog, "txtNumberOfPulses"),
                             TextOf(&dialog, "txtPrimingCycles")}),
                QStringList({f.shownInterval, "7", "9"}));
            if (row.b) {
                QCOMPARE(Among(&dialog, kTempComp, false),
                         QStringList{tempComp ? "optTempCompOff" : "optTempCompOn"});
                QCOMPARE(TextOf(&dialog, "txtNodeAddress"), QString("42"));
                auto* note = Find<QLabel>(&dialog, "lblRunModeNote");
                QCOMPARE(note->isVisible(), row.stored == 8);
                QVERIFY(row.stored != 8 || note->text().contains("cannot set"));
            }
            for (QLineEdit* box : dialog.findChildren<QLineEdit*>()) { // only OK stores them
                box->setText(row.typed);
            }
            for (const QString& name : row.clicks) {
                Click(&dialog, name);
                if (const int mode = f.modes.key(name)) {
                    QCOMPARE(Among(&dialog, f.modes.values(), false), QStringList{name});
                    QCOMPARE(Among(&dialog, f.inputs, true), f.enabledIn(mode));
                    // and programming stays off after a click on the trigger
                    QVERIFY(mode != 7 || Among(&dialog, {"optPBDisabled"}, false).size() == 1);
                }
            }
            if (row.b) {
                Click(&dialog, tempComp ? "optTempCompOn" : "optTempCompOff");
            }
        };
        QCOMPARE(EditWith(f.edit, config, row.how, act),
                 QString(row.how == "OK" ? "accepted" : "rejected"));
        QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
    }
}

QTEST_MAIN(ProcessingDialogsTest)
#include "processing_dialogs_test.moc"
