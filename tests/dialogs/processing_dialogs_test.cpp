// The filter and run-mode dialogs of both families as a user drives them, one transcript a
// dialog compared with processing_dialogs.golden: what a stored record shows and enables,
// what each click changes, and what OK, Cancel, Escape and the close box leave in the record.
// Captions, tooltips and spoken names are in the window texts' golden file; the readers'
// limits and rounding are in the core's tables.
#include "../support/golden.h"
#include "../support/modal.h"
#include "config/sensor_config.h"
#include "dialogs/ui/filter_dialog_a.h"
#include "dialogs/ui/filter_dialog_b.h"
#include "dialogs/ui/run_mode_dialog_a.h"
#include "dialogs/ui/run_mode_dialog_b.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include <charconv>

using namespace telmora;

namespace {

using Edit = bool (*)(SensorConfig&, QWidget*);

// What is stored before the dialog opens, what the user types into every box and clicks,
// and how the dialog is left: "OK", "Cancel", "Escape" or "close box".
struct Scenario {
    int stored; // the filter type or the run mode
    QString typed;
    QStringList clicks;
    QString how;
    bool pbEnabled = true;
    bool tempComp = false;
};

// An option button is clicked on its round indicator: the space right of its caption
// takes no clicks.
void Click(const QWidget* dialog, const QString& name) {
    auto* button = dialog->findChild<QAbstractButton*>(name);
    if (button == nullptr) {
        qFatal("control %s not found", qPrintable(name));
    }
    const int half = button->height() / 2;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                      qobject_cast<QRadioButton*>(button) ? QPoint(half, half)
                                                          : button->rect().center());
}

// The dialog as a user sees it: the checked buttons, the boxes' texts, and the named
// controls that are disabled or hidden.
QString State(const QWidget& dialog) {
    QStringList checked, texts, disabled, hidden;
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        const QString name = w->objectName();
        auto* button = qobject_cast<const QAbstractButton*>(w);
        if (name.isEmpty() || name.startsWith("qt_")) {
            continue;
        } else if (button != nullptr && button->isChecked()) {
            checked << name;
        } else if (auto* box = qobject_cast<const QLineEdit*>(w)) {
            texts << name + "=" + box->text();
        }
        if (!w->isEnabled()) {
            disabled << name;
        }
        if (!w->isVisible()) {
            hidden << name;
        }
    }
    return QString("checked %1 | %2 | disabled %3 | hidden %4")
        .arg(checked.join(' '), texts.join(' '), disabled.join(' '), hidden.join(' '));
}

// The fields a processing dialog may write, each exact.
QStringList Fields(const SensorConfig& c) {
    char interval[32];
    *std::to_chars(interval, interval + 31, c.Interval).ptr = 0;
    return {QString("FilterType %1").arg(c.FilterType),
            QString("NumberOfSamples %1").arg(c.NumberOfSamples),
            QString("RunMode %1").arg(c.RunMode),
            QString("NodeAddress %1").arg(c.NodeAddress),
            QString("PrimingCycles %1").arg(c.PrimingCycles),
            QString("PBEnabled %1").arg(c.PBEnabled),
            QString("TempComp %1").arg(c.TempComp),
            QString("Interval %1").arg(interval),
            QString("NumberOfPulses %1").arg(c.NumberOfPulses)};
}

// Runs `edit` over a window with a record of processing fields all unlike the factory
// defaults, so a stray store shows; gives the transcript of the scenario.
QString Run(Edit edit, bool filter, const Scenario& s) {
    SensorConfig config;
    config.Interval = 0.0333f;
    config.NumberOfPulses = 7;
    config.PrimingCycles = 9;
    config.NodeAddress = 42;
    config.FilterType = static_cast<std::int16_t>(filter ? s.stored : 3);
    config.NumberOfSamples = filter ? 16 : 17;
    config.RunMode = static_cast<std::int16_t>(filter ? 5 : s.stored);
    config.PBEnabled = s.pbEnabled;
    config.TempComp = s.tempComp;
    const SensorConfig before = config;
    QString out = QString("stored %1, PB %2, TempComp %3; typed '%4'\n")
                      .arg(s.stored)
                      .arg(s.pbEnabled)
                      .arg(s.tempComp)
                      .arg(s.typed);
    QWidget window;
    window.show();
    test::NextModal modal([&](QWidget* shown) {
        auto* dialog = qobject_cast<QDialog*>(shown);
        QVERIFY(dialog != nullptr && dialog->parentWidget() == &window);
        out += "  shown: " + State(*dialog) + "\n";
        for (QLineEdit* box : dialog->findChildren<QLineEdit*>()) {
            box->setText(s.typed);
        }
        for (const QString& name : s.clicks) {
            Click(dialog, name);
            out += "  " + name + ": " + State(*dialog) + "\n";
        }
        if (s.how == "OK" || s.how == "Cancel") {
            Click(dialog, s.how == "OK" ? "cmdOK" : "cmdCancel");
        } else if (s.how == "Escape") {
            QTest::keyClick(dialog, Qt::Key_Escape);
        } else {
            dialog->close();
        }
    });
    const bool accepted = edit(config, &window);
    QStringList changed;
    const QStringList was = Fields(before), now = Fields(config);
    for (qsizetype i = 0; i < was.size(); ++i) {
        if (was[i] != now[i]) {
            changed << was[i] + " -> " + now[i].section(' ', 1);
        }
    }
    return out + QString("  %1: %2; %3\n")
                     .arg(s.how,
                          !modal.Seen() ? "not shown"
                          : accepted    ? "accepted"
                                        : "rejected",
                          changed.isEmpty() ? "record unchanged" : changed.join(", "));
}

void CompareTranscript(const char* dialog, Edit edit, bool filter,
                       const QList<Scenario>& scenarios) {
    QString transcript;
    for (const Scenario& s : scenarios) {
        transcript += Run(edit, filter, s);
    }
    const std::string diff = test::GoldenSectionDiff(TELMORA_GOLDEN, dialog, transcript.toStdString());
    QVERIFY2(diff.empty(), diff.c_str());
}

// Every code a record may hold, known or not, loaded and left with Cancel; each option
// clicked in turn and back; each option taken with OK and a count of 2, then of 1; the
// other ways out; OK on a code the dialog has no option for.
QList<Scenario> FilterScenarios(const QStringList& options, const QStringList& cycle) {
    QList<Scenario> scenarios;
    for (int type : {1, 2, 3, 4, 5, 6, 7, 0, 8, 9, -1, 300}) {
        scenarios << Scenario{type, "99", {}, "Cancel"};
    }
    scenarios << Scenario{5, "99", cycle, "Cancel"};
    for (const QString& option : options) {
        scenarios << Scenario{2, "2", {option}, "OK"} << Scenario{2, "1", {option}, "OK"};
    }
    scenarios << Scenario{2, "99", {"optFilterNone"}, "Escape"}
              << Scenario{2, "99", {"optFilterNone"}, "close box"} << Scenario{9, "12", {}, "OK"};
    return scenarios;
}

// Every mode a record may hold, loaded and left with Cancel (mode 2 with push-button
// programming off); then rows of clicks and a way out.
QList<Scenario> RunModeScenarios(QList<Scenario> rows) {
    QList<Scenario> scenarios;
    for (int mode : {1, 2, 3, 4, 5, 6, 7, 8, 0, -1, 99}) {
        scenarios << Scenario{mode, "3", {}, "Cancel", mode != 2};
    }
    return scenarios + rows;
}

} // namespace

class ProcessingDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void FilterDialogs_ShowTheStoredFilterEnableTheCountAndStoreOnlyOnOk();
    void RunModeDialogs_ShowTheStoredModeEnableItsInputsAndStoreOnlyOnOk();
};

void ProcessingDialogsTest::FilterDialogs_ShowTheStoredFilterEnableTheCountAndStoreOnlyOnOk() {
    const QStringList a = {"optFilterNone", "optAverageOf"};
    CompareTranscript("FilterDialogA", &FilterDialogA::Edit, true,
                      FilterScenarios(a, {"optAverageOf", "optFilterNone"}));
    const QStringList b =
        a + QStringList{"optMaxOf", "optMinOf", "opt2Consec", "optSlowFast", "optFastSlow"};
    CompareTranscript("FilterDialogB", &FilterDialogB::Edit, true,
                      FilterScenarios(b, {b[1], b[0], b[2], b[4], b[3], b[5], b[1], b[6], b[2]}));
}

// Clicks from a mode whose enabling differs, so each must change something, left by each way
// but OK; then OK, which reads the numbers into each box's limits, node and priming even
// when the chosen mode disables their boxes. A trigger forces push-button programming off.
void ProcessingDialogsTest::RunModeDialogs_ShowTheStoredModeEnableItsInputsAndStoreOnlyOnOk() {
    // clang-format off
    CompareTranscript("RunModeDialogA", &RunModeDialogA::Edit, false, RunModeScenarios({
        {7, "3", {"optContinuousRS232", "optPBDisabled"}, "Cancel"},
        {7, "3", {"optContinuousNoRS232", "optPBDisabled"}, "Escape"},
        {1, "3", {"optPolledHold", "optPBDisabled"}, "close box"},
        {1, "3", {"optExternalTrigger", "optPBDisabled"}, "Cancel"},
        {3, "300", {"optContinuousRS232", "optPBEnabled"}, "OK", false},
        {1, "-5", {"optContinuousNoRS232", "optPBDisabled"}, "OK"},
        {7, "300", {"optPolledHold", "optPBEnabled"}, "OK", false},
        {1, "300", {"optExternalTrigger", "optPolledHold"}, "OK"},
        {1, "300", {"optPBEnabled", "optExternalTrigger"}, "OK", false},
        {7, "300", {}, "OK"},
        {5, "300", {}, "OK"}}));
    CompareTranscript("RunModeDialogB", &RunModeDialogB::Edit, false, RunModeScenarios({
        {5, "3", {"optContinuousRS232", "optPBDisabled", "optTempCompOn"}, "Cancel"},
        {7, "3", {"optContinuousNoRS232", "optPBDisabled"}, "Escape"},
        {5, "3", {"optPolledHold", "optPBDisabled"}, "close box", true, true},
        {7, "3", {"optPolledRun", "optPBDisabled"}, "Cancel"},
        {1, "3", {"optRS485Hold", "optPBDisabled"}, "Cancel"},
        {7, "3", {"optRS485Run", "optPBDisabled"}, "Cancel"},
        {6, "3", {"optExternalTrigger", "optPBDisabled"}, "Cancel"},
        {8, "3", {"optRS485Hold", "optPBDisabled"}, "Cancel"},
        {8, "300", {"optPBEnabled"}, "OK", false},
        {8, "300", {"optPBEnabled", "optPolledRun", "optTempCompOn"}, "OK", false},
        {8, "300", {"optPBEnabled", "optExternalTrigger", "optTempCompOff"}, "OK", false, true},
        {7, "300", {"optPBEnabled"}, "OK", false},
        {0, "300", {"optPBEnabled"}, "OK", false},
        {2, "300", {"optPBEnabled", "optContinuousRS232", "optTempCompOn"}, "OK", false},
        {1, "-5", {"optPBEnabled", "optContinuousNoRS232", "optTempCompOff"}, "OK", false, true},
        {1, "300", {"optPBEnabled", "optPolledHold"}, "OK", false},
        {1, "-5", {"optPBEnabled", "optPolledRun", "optTempCompOn"}, "OK", false},
        {1, "300", {"optPBEnabled", "optRS485Hold"}, "OK", false, true},
        {1, "-5", {"optPBEnabled", "optRS485Run", "optTempCompOff"}, "OK", false, true},
        {1, "300", {"optPBEnabled", "optExternalTrigger", "optTempCompOn"}, "OK", false}}));
    // clang-format on
}

QTEST_MAIN(ProcessingDialogsTest)
#include "processing_dialogs_test.moc"
