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
#include <memory>
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

// Replaces the box's text by typing; a disabled box takes no keys, so its text is set.
void Type(const QWidget* dialog, const QString& name, const QString& text) {
    auto* box = Find<QLineEdit>(dialog, name);
    if (!box->isEnabled()) {
        box->setText(text);
        return;
    }
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
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
    LoadFactoryDefaultsB(c);
    c.FilterType = static_cast<std::int16_t>(filterType);
    c.NumberOfSamples = static_cast<std::int16_t>(samples);
    c.RunMode = static_cast<std::int16_t>(runMode);
    c.NodeAddress = 42;
    c.PrimingCycles = 9;
    c.PBEnabled = pbEnabled;
    c.TempComp = false;
    c.Interval = 0.123f;
    c.NumberOfPulses = 7;
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

const FilterFamily kFilter[] = {{{"optFilterNone", "optAverageOf"}, &FilterDialogA::Edit, 2},
                                {{"optFilterNone", "optAverageOf", "optMaxOf", "optMinOf",
                                  "opt2Consec", "optSlowFast", "optFastSlow"},
                                 &FilterDialogB::Edit,
                                 4}};
const QStringList kCount = {"lblNumberOfSamples", "txtNumberOfSamples"};

const QStringList kNode = {"lblNodeAddress", "txtNodeAddress"};
const QStringList kPriming = {"lblPrimingCycles", "txtPrimingCycles"};
const QStringList kPBSwitch = {"fraPBSwitch", "optPBEnabled", "optPBDisabled"};
const QStringList kTempComp = {"optTempCompOn", "optTempCompOff"}; // never depends on the mode

// Every number box of a family's run-mode dialog.
QStringList Boxes(bool b) {
    return QStringList{"txtPrimingCycles", "txtNumberOfPulses", "txtInterval"} +
           (b ? QStringList{"txtNodeAddress"} : QStringList());
}

// What differs between the two families' run-mode dialogs.
struct RunModeFamily {
    QMap<int, QString> modes; // the option of each run mode
    QStringList inputs;       // what the run mode enables
    QStringList (*enabledIn)(int runMode);
    Edit edit;
    const char* shownInterval; // 33.3 ms as the dialog shows it
};

const RunModeFamily kRunMode[] = {
    {{{1, "optContinuousRS232"},
      {2, "optContinuousNoRS232"},
      {3, "optPolledHold"},
      {7, "optExternalTrigger"}},
     kPriming + kPBSwitch,
     [](int runMode) { // foreign modes show as continuous with priming open
         return (runMode == 1 || runMode == 2 ? QStringList() : kPriming) +
                (runMode != 7 ? kPBSwitch : QStringList());
     },
     &RunModeDialogA::Edit,
     "33"}, // whole milliseconds
    {{{1, "optContinuousRS232"},
      {2, "optContinuousNoRS232"},
      {3, "optPolledHold"},
      {4, "optPolledRun"},
      {5, "optRS485Hold"},
      {6, "optRS485Run"},
      {7, "optExternalTrigger"}},
     kNode + kPriming + kPBSwitch + kTempComp,
     [](int runMode) {
         return (runMode == 5 || runMode == 6 ? kNode : QStringList()) +
                (runMode >= 3 && runMode <= 7 ? kPriming : QStringList()) +
                (runMode != 7 ? kPBSwitch : QStringList()) + kTempComp;
     },
     &RunModeDialogB::Edit,
     "33.3"}};

struct FilterLoad {
    bool b;
    int type, checked; // checked 0: none
    QString count;
    int typeAfter;
};
struct FilterEdit {
    bool b;
    int stored, chosen; // chosen 0: no option clicked
    QString typed, how;
    int type, samples;
};
struct ModeLoad {
    bool b;
    int runMode, click; // click: the mode clicked after loading, 0 for none
    QString shown;      // the option selected, empty for none
};
struct ModeEdit {
    bool b;
    int stored;
    bool pbStored;
    QStringList clicks;
    QString how;
    int runMode;
    bool pbEnabled;
};

} // namespace

Q_DECLARE_METATYPE(FilterLoad)
Q_DECLARE_METATYPE(FilterEdit)
Q_DECLARE_METATYPE(ModeLoad)
Q_DECLARE_METATYPE(ModeEdit)

class ProcessingDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void FilterLoadAndClicks_ShowTheFilterAndEnableTheCountForCountingFilters_data();
    void FilterLoadAndClicks_ShowTheFilterAndEnableTheCountForCountingFilters();
    void FilterEdit_StoresTheFilterAndCountOnlyOnOk_data();
    void FilterEdit_StoresTheFilterAndCountOnlyOnOk();
    void RunModeLoadAndClicks_ShowTheRunModeAndEnableItsInputs_data();
    void RunModeLoadAndClicks_ShowTheRunModeAndEnableItsInputs();
    void RunModeEdit_StoresRunModePushButtonAndTempCompOnlyOnOk_data();
    void RunModeEdit_StoresRunModePushButtonAndTempCompOnlyOnOk();
    void RunModeOk_NumbersAreReadIntoTheirLimits();
};

void ProcessingDialogsTest::
    FilterLoadAndClicks_ShowTheFilterAndEnableTheCountForCountingFilters_data() {
    QTest::addColumn<FilterLoad>("row");
    QTest::newRow("A none") << FilterLoad{false, 1, 1, "1", 1};
    QTest::newRow("A average") << FilterLoad{false, 2, 2, "10", 2};
    // Family B's codes and codes no family has come back as "None", in the record too.
    for (int type : {3, 4, 5, 6, 7, 0, 8, -1, 300}) {
        QTest::addRow("A foreign %d", type) << FilterLoad{false, type, 1, "1", 1};
    }
    // Codes no option offers select nothing and stay in the record.
    for (int type : {1, 2, 3, 4, 5, 6, 7, 0, 8, 9, -1, 32767}) {
        const bool known = type >= 1 && type <= 7;
        QTest::addRow("B code %d", type)
            << FilterLoad{true, type, known ? type : 0, kFilter[1].Counts(type) ? "10" : "0", type};
    }
}

void ProcessingDialogsTest::FilterLoadAndClicks_ShowTheFilterAndEnableTheCountForCountingFilters() {
    QFETCH(FilterLoad, row);
    const FilterFamily& f = kFilter[row.b];
    SensorConfig config = Unusual(row.type, 10, 5);
    SensorConfig expected = config;
    expected.FilterType = static_cast<std::int16_t>(row.typeAfter);
    EditWith(f.edit, config, "Cancel", [&](QDialog& dialog) {
        QCOMPARE(Among(&dialog, f.options, false),
                 row.checked == 0 ? QStringList() : QStringList{f.options.at(row.checked - 1)});
        QCOMPARE(TextOf(&dialog, "txtNumberOfSamples"), row.count);
        QCOMPARE(Among(&dialog, kCount, true), f.Counts(row.checked) ? kCount : QStringList());
        // The options stand top to bottom in code order, left of the count.
        int previousTop = -1;
        for (const QString& name : f.options) {
            const QPoint at = Find(&dialog, name)->mapTo(&dialog, QPoint());
            QVERIFY2(at.y() > previousTop, qPrintable(name));
            QVERIFY(at.x() < Find(&dialog, "txtNumberOfSamples")->mapTo(&dialog, QPoint()).x());
            previousTop = at.y();
        }
        // Then each option in turn, and back, so every change of enabling is seen.
        for (int click : {2, 1, 3, 5, 4, 6, 2, 7, 3}) {
            if (click <= f.options.size()) {
                Click(&dialog, f.options.at(click - 1));
                QCOMPARE(Among(&dialog, kCount, true), f.Counts(click) ? kCount : QStringList());
                QCOMPARE(Among(&dialog, f.options, false), QStringList{f.options.at(click - 1)});
            }
        }
    });
    QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
}

void ProcessingDialogsTest::FilterEdit_StoresTheFilterAndCountOnlyOnOk_data() {
    QTest::addColumn<FilterEdit>("row");
    // Each counting option passes its own code and the typed count to the store routine,
    // whose table holds the count's limits.
    for (const bool b : {false, true}) {
        const char* family = b ? "B" : "A";
        for (int chosen = 2; chosen <= kFilter[b].lastCounting; ++chosen) {
            QTest::addRow("%s %d '2'", family, chosen)
                << FilterEdit{b, 2, chosen, "2", "OK", chosen, 2};
            QTest::addRow("%s %d '1'", family, chosen) << FilterEdit{b, 2, chosen, "1", "OK", 1, 0};
        }
        // The other filters store no count whatever the box holds.
        for (int chosen : b ? QList<int>{1, 5, 6, 7} : QList<int>{1}) {
            QTest::addRow("%s %d 50", family, chosen)
                << FilterEdit{b, 2, chosen, "50", "OK", chosen, 0};
        }
        for (const char* how : {"Cancel", "Escape", "close box"}) {
            QTest::addRow("%s %s", family, how) << FilterEdit{b, 2, 1, "99", how, 2, 16};
        }
    }
    // OK without a choice: family A has put the code back to "None" at load, family B
    // keeps the code it cannot show. Family A's reset stands even when the user cancels.
    QTest::newRow("A unknown code") << FilterEdit{false, 9, 0, "12", "OK", 1, 0};
    QTest::newRow("B unknown code") << FilterEdit{true, 9, 0, "12", "OK", 9, 0};
    QTest::newRow("A Cancel, foreign code") << FilterEdit{false, 6, 2, "99", "Cancel", 1, 16};
    QTest::newRow("B Cancel, unknown code") << FilterEdit{true, 9, 2, "99", "Cancel", 9, 16};
}

void ProcessingDialogsTest::FilterEdit_StoresTheFilterAndCountOnlyOnOk() {
    QFETCH(FilterEdit, row);
    const FilterFamily& f = kFilter[row.b];
    SensorConfig config = Unusual(row.stored, 16, 5);
    SensorConfig expected = config;
    expected.FilterType = static_cast<std::int16_t>(row.type);
    expected.NumberOfSamples = static_cast<std::int16_t>(row.samples);
    const auto act = [&](QDialog& dialog) {
        Type(&dialog, "txtNumberOfSamples", row.typed);
        if (row.chosen != 0) {
            Click(&dialog, f.options.at(row.chosen - 1));
        }
    };
    QCOMPARE(EditWith(f.edit, config, row.how, act),
             QString(row.how == "OK" ? "accepted" : "rejected"));
    QCOMPARE(QList<int>({config.FilterType, config.NumberOfSamples}),
             QList<int>({row.type, row.samples}));
    QVERIFY(ProcessingFields(config) == ProcessingFields(expected));
}

void ProcessingDialogsTest::RunModeLoadAndClicks_ShowTheRunModeAndEnableItsInputs_data() {
    QTest::addColumn<ModeLoad>("row");
    for (int mode : {1, 2, 3, 7}) {
        QTest::addRow("A %d", mode) << ModeLoad{false, mode, 0, kRunMode[0].modes[mode]};
    }
    // Family B's modes and unknown codes show as continuous.
    for (int mode : {4, 5, 6, 8, 0, -1, 99}) {
        QTest::addRow("A foreign %d", mode) << ModeLoad{false, mode, 0, "optContinuousRS232"};
    }
    for (int mode = 1; mode <= 7; ++mode) {
        QTest::addRow("B %d", mode) << ModeLoad{true, mode, 0, kRunMode[1].modes[mode]};
    }
    // The mode only the sensor sets selects nothing and says why.
    QTest::newRow("B 8") << ModeLoad{true, 8, 0, ""};
    for (int mode : {0, 9, -1, 32767}) {
        QTest::addRow("B unknown %d", mode) << ModeLoad{true, mode, 0, "optContinuousRS232"};
    }
    // Clicks from a mode whose enabling differs, so each must change something.
    const std::tuple<bool, int, int> clicks[] = {
        {false, 7, 1}, {false, 7, 2}, {false, 1, 3}, {false, 7, 3}, {false, 1, 7},
        {true, 5, 1},  {true, 7, 2},  {true, 5, 3},  {true, 7, 4},  {true, 1, 5},
        {true, 7, 6},  {true, 6, 7},  {true, 8, 5}};
    for (const auto& [b, from, to] : clicks) {
        QTest::addRow("%s %d click %d", b ? "B" : "A", from, to)
            << ModeLoad{b, from, to, kRunMode[b].modes[to]};
    }
}

void ProcessingDialogsTest::RunModeLoadAndClicks_ShowTheRunModeAndEnableItsInputs() {
    QFETCH(ModeLoad, row);
    const RunModeFamily& f = kRunMode[row.b];
    // Mode 2 is stored with push-button programming off, to see that choice load.
    SensorConfig config = Unusual(3, 17, row.runMode, row.runMode != 2);
    config.Interval = 0.0333f;
    config.TempComp = row.runMode % 2 == 0;
    const SensorConfig before = config;
    EditWith(f.edit, config, "Cancel", [&](QDialog& dialog) {
        if (row.click != 0) {
            Click(&dialog, f.modes[row.click]);
        }
        QCOMPARE(Among(&dialog, f.modes.values(), false),
                 row.shown.isEmpty() ? QStringList() : QStringList{row.shown});
        QCOMPARE(Among(&dialog, f.inputs, true), f.enabledIn(row.click ? row.click : row.runMode));
        // A trigger shows programming off whatever is stored, and it stays off after a click.
        const bool pbOff = row.runMode == 2 || row.runMode == 7 || row.click == 7;
        QCOMPARE(Among(&dialog, {"optPBDisabled"}, false).size(), qsizetype(pbOff));
        QCOMPARE(QStringList({TextOf(&dialog, "txtInterval"), TextOf(&dialog, "txtNumberOfPulses"),
                              TextOf(&dialog, "txtPrimingCycles")}),
                 QStringList({f.shownInterval, "7", "9"}));
        if (row.b) {
            QCOMPARE(Among(&dialog, kTempComp, false),
                     QStringList{before.TempComp ? "optTempCompOn" : "optTempCompOff"});
            QCOMPARE(TextOf(&dialog, "txtNodeAddress"), QString("42"));
            auto* note = Find<QLabel>(&dialog, "lblRunModeNote");
            QVERIFY(row.click != 0 || note->isVisible() == (row.runMode == 8));
            QVERIFY(row.runMode != 8 || note->text().contains("cannot set"));
        }
    });
    QVERIFY(ProcessingFields(config) == ProcessingFields(before));
}

void ProcessingDialogsTest::RunModeEdit_StoresRunModePushButtonAndTempCompOnlyOnOk_data() {
    QTest::addColumn<ModeEdit>("row");
    const auto ok = [](const char* name, bool b, int stored, bool pbStored,
                       const QStringList& clicks, int runMode, bool pbEnabled) {
        QTest::newRow(name) << ModeEdit{b, stored, pbStored, clicks, "OK", runMode, pbEnabled};
    };
    ok("A RS232, PB on", false, 3, false, {"optContinuousRS232", "optPBEnabled"}, 1, true);
    ok("A No RS232, PB off", false, 1, true, {"optContinuousNoRS232", "optPBDisabled"}, 2, false);
    ok("A Polled after stored trigger", false, 7, false, {"optPolledHold", "optPBEnabled"}, 3,
       true);
    ok("A Polled after chosen trigger", false, 1, true, {"optExternalTrigger", "optPolledHold"}, 3,
       false);
    // A trigger forces push-button programming off whatever was chosen before.
    ok("A trigger after PB on", false, 1, false, {"optPBEnabled", "optExternalTrigger"}, 7, false);
    ok("A stored trigger with PB on", false, 7, true, {}, 7, false);
    ok("A foreign mode stored as RS232", false, 5, true, {}, 1, true);
    for (int mode = 1; mode <= 7; ++mode) {
        QTest::addRow("B %d", mode) << ModeEdit{
            true, mode == 1 ? 2 : 1, false, {"optPBEnabled", kRunMode[1].modes[mode]}, "OK",
            mode, mode != 7};
    }
    ok("B mode only the sensor sets is kept", true, 8, false, {"optPBEnabled"}, 8, true);
    ok("B mode only the sensor sets, changed", true, 8, false, {"optPBEnabled", "optPolledRun"}, 4,
       true);
    ok("B trigger after mode 8", true, 8, false, {"optPBEnabled", "optExternalTrigger"}, 7, false);
    ok("B stored trigger", true, 7, false, {"optPBEnabled"}, 7, false);
    ok("B unknown stored as RS232", true, 0, false, {"optPBEnabled"}, 1, true);
    // Leaving without OK keeps every field, a mode the dialog cannot show included.
    const std::tuple<bool, int, const char*> kept[] = {
        {false, 3, "Cancel"}, {false, 3, "Escape"}, {false, 3, "close box"}, {false, 5, "Cancel"},
        {false, 7, "Cancel"}, {true, 5, "Cancel"},  {true, 5, "Escape"},     {true, 5, "close box"},
        {true, 8, "Cancel"},  {true, 0, "Cancel"}};
    for (const auto& [b, stored, how] : kept) {
        const QStringList clicks = {kRunMode[b].modes[b ? 6 : 2], "optPBDisabled",
                                    "optExternalTrigger"};
        QTest::addRow("%s %s, mode %d", b ? "B" : "A", how, stored)
            << ModeEdit{b, stored, true, clicks, how, stored, true};
    }
}

void ProcessingDialogsTest::RunModeEdit_StoresRunModePushButtonAndTempCompOnlyOnOk() {
    QFETCH(ModeEdit, row);
    const RunModeFamily& f = kRunMode[row.b];
    // Family B's temperature compensation both ways, from the other state.
    for (bool tempComp : row.b ? QList<bool>{true, false} : QList<bool>{false}) {
        SensorConfig config = Unusual(3, 17, row.stored, row.pbStored);
        config.TempComp = !tempComp;
        SensorConfig expected = config;
        expected.RunMode = static_cast<std::int16_t>(row.runMode);
        expected.PBEnabled = row.pbEnabled;
        expected.TempComp = row.how == "OK" && row.b ? tempComp : config.TempComp;
        const auto act = [&](QDialog& dialog) {
            if (row.how != "OK") { // typed numbers must not reach the record either
                for (const QString& box : Boxes(row.b)) {
                    Type(&dialog, box, "3");
                }
            }
            for (const QString& name : row.clicks) {
                Click(&dialog, name);
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

// Each box's own limits, and the interval read by its reader; node and priming are read
// even when the chosen mode disables their boxes (family A has no node address).
void ProcessingDialogsTest::RunModeOk_NumbersAreReadIntoTheirLimits() {
    for (const bool b : {false, true}) {
        for (const char* typed : {"300", "-5"}) {
            SensorConfig config = Unusual(3, 17, 5);
            EditWith(kRunMode[b].edit, config, "OK", [&](QDialog& dialog) {
                for (const QString& box : Boxes(b)) {
                    Type(&dialog, box, typed);
                }
                Click(&dialog, "optContinuousRS232");
            });
            const bool high = typed[0] == '3';
            QCOMPARE(config.Interval, ReadIntervalSeconds(typed));
            QCOMPARE(QList<int>({config.NumberOfPulses, config.PrimingCycles, config.NodeAddress,
                                 config.RunMode}),
                     QList<int>({high ? 10 : 1, high ? 255 : 0,
                                 !b     ? 42
                                 : high ? 255
                                        : 0,
                                 1}));
        }
    }
}

QTEST_MAIN(ProcessingDialogsTest)
#include "processing_dialogs_test.moc"
