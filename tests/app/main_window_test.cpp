#include "app/main_window.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "display/ui/live_gauges_view.h"
#include "display/ui/measurement_display.h"
#include "form/editor_widgets.h"
#include "form/form_surface.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QProgressBar>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTextBrowser>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;
using telmora::app_test::TextOf;

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void StartUp_SetsUpFamilyBFactoryConfigurationAndIsQuietAboutAPortThatCannotOpen();
    void SensorType_SwitchesFlagsMarkStatusDialogsAndFamilyBControlsButNotTheRecord();
    void Help_OpensTheShippedDocumentOrSaysWhereItLooked();
    void Entries_BeyondALimit_SayOnceWhichLimitApplied();
    void Readings_SilentForFiveSeconds_ShowAsStaleUntilTheNext();
};

void MainWindowTest::StartUp_SetsUpFamilyBFactoryConfigurationAndIsQuietAboutAPortThatCannotOpen() {
    Sandbox sandbox; // port 1 leads nowhere
    NextModal atStartUp(NextModal::Dismiss, 200);
    MainWindow window;
    QVERIFY(window.FamilyB() && !window.FamilyA());
    QCOMPARE(window.y(), window.screen()->availableGeometry().top());
    QTest::qWait(300);
    QVERIFY(!atStartUp.Seen());
    // The start-up texts of the window and its status bar are in the window texts' golden
    // file; that the factory record stands behind them, the record test's save of it.
    QVERIFY(window.Status().Progress()->isHidden());
}

void MainWindowTest::SensorType_SwitchesFlagsMarkStatusDialogsAndFamilyBControlsButNotTheRecord() {
    Sandbox sandbox;
    MainWindow window;
    // The mode submenus of the four pop-ups, the mode and width headings, the mode and
    // width of switches 1 and 2, and the whole rows of switches 3 and 4.
    QStringList familyBOnly =
        QString("mnuSw1Mode mnuSw2Mode mnuSw3Mode mnuSw4Mode lblMode lblHyst lblSw1Mode "
                "txtSw1Hyst lblSw2Mode txtSw2Hyst lblSw3 lblSw3Left lblSw3Right txtSw3Setpoint "
                "lblSw3SetpointUnits lblSw3EchoLoss lblSw3PowerUp lblSw3Mode txtSw3Hyst lblSw4 "
                "lblSw4Left lblSw4Right txtSw4Setpoint lblSw4SetpointUnits lblSw4EchoLoss "
                "lblSw4PowerUp lblSw4Mode txtSw4Hyst")
            .split(' ');
    familyBOnly.sort();
    // Every control of the window hidden now, by name; a menu by its entry in its parent.
    auto hiddenOnes = [&window] {
        QSet<QString> hidden;
        for (QWidget* w : window.Surface().findChildren<QWidget*>()) {
            if (qobject_cast<QMenu*>(w) == nullptr && w->isHidden()) {
                hidden << w->objectName();
            }
        }
        for (QMenu* menu : window.findChildren<QMenu*>()) {
            if (!menu->menuAction()->isVisible()) {
                hidden << menu->objectName();
            }
        }
        return hidden;
    };
    auto opened = [](QAction* command) {
        NextModal modal([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
        command->trigger();
        return modal.Name();
    };
    QSet<QString> hiddenWithB; // what stays hidden whatever the family (the idle gauges)
    QAction* kelvoA = window.Menus().mnuSensorTypeKelvoA;
    QAction* kelvoB = window.Menus().mnuSensorTypeKelvoB;
    window.Config().Sw3Setpoint = 77;
    window.Config().FilterType = 5;
    window.ShowRecordB();
    // Choosing the same family twice keeps its mark.
    for (QAction* chosen : {kelvoB, kelvoA, kelvoA, kelvoB}) {
        chosen->trigger();
        const bool a = chosen == kelvoA;
        QCOMPARE(QList<bool>({window.FamilyA(), window.FamilyB(), kelvoA->isChecked(),
                              kelvoB->isChecked()}),
                 QList<bool>({a, !a, a, !a}));
        QCOMPARE(window.Status().Family()->text(), QString(a ? "Kelvo-A" : "Kelvo-B"));
        const QSet<QString> hidden = hiddenOnes();
        if (!a && hiddenWithB.isEmpty()) {
            hiddenWithB = hidden;
        }
        QStringList hiddenForFamily = (hidden - hiddenWithB).values();
        hiddenForFamily.sort();
        QCOMPARE(hiddenForFamily, a ? familyBOnly : QStringList());
        QVERIFY(a || !hidden.intersects(QSet<QString>(familyBOnly.begin(), familyBOnly.end())));
        QCOMPARE(TextOf(window, "txtSw3Setpoint"), QString("77.00"));
        QCOMPARE(window.Config().Sw3Setpoint, 77.0f);
        QCOMPARE(window.Config().FilterType, std::int16_t(5));
    }
    // The dialogs and a new factory configuration are the chosen family's (the core's
    // defaults, tested there); family A's leaves switch 3 as it was.
    for (QAction* chosen : {kelvoA, kelvoB}) {
        chosen->trigger();
        const bool a = chosen == kelvoA;
        QCOMPARE(
            QStringList({opened(window.Menus().mnuFilters), opened(window.Menus().mnuProcessing)}),
            a ? QStringList({"frmFilterA", "frmRunModeA"})
              : QStringList({"frmFilterB", "frmRunModeB"}));
        window.Menus().mnuFileNewFactoryConfiguration->trigger();
        QCOMPARE(QStringList({TextOf(window, "txtMinRange"), TextOf(window, "txtSw3Setpoint")}),
                 a ? QStringList({"6.50", "77.00"}) : QStringList({"8.00", "36.00"}));
    }
}

void MainWindowTest::Help_OpensTheShippedDocumentOrSaysWhereItLooked() {
    Sandbox sandbox;
    MainWindow window;
    window.Help().SetPath(sandbox.Path("nowhere/telmora-help.html"));
    NextModal modal(NextModal::Dismiss);
    window.mnuHelpClick();
    QCOMPARE(modal.Title(), QString("Help")); // empty when no message came
    QVERIFY(modal.Text().contains("nowhere"));
    QVERIFY(window.Help().Browser() == nullptr);

    window.Help().SetPath(TELMORA_HELP_FILE);
    QVERIFY(window.Help().Show(&window));
    QTextBrowser* browser = window.Help().Browser();
    QVERIFY(browser != nullptr && browser->isVisible());
    QVERIFY(browser->toPlainText().contains("port mapping"));
    browser->close();
}

// What the status bar tells the user on its own: an entry the configuration cannot hold
// (limited to what will be stored, or refused), and readings that stopped coming.
void MainWindowTest::Entries_BeyondALimit_SayOnceWhichLimitApplied() {
    Sandbox sandbox;
    MainWindow window;
    QSignalSpy messages(window.statusBar(), &QStatusBar::messageChanged);
    // What the boxes then show is the editors' tests'.
    const struct {
        const char* box;
        const char* typed;
        QString note;
    } rows[] = {
        {"txtMaxRange", "200", ""}, // normal range: single ticks
        {"txtSw1Setpoint", "500",
         "Switch 1 setpoint limited to 221.77 inches, the largest the sensor can hold"},
        {"txtSw2Setpoint", "-4",
         "Switch 2 setpoint limited to 0.00 inches, the smallest the sensor can hold"},
        {"txtMinRange", "250",
         "Minimum range 250.00 inches refused: it must stay below the maximum range, 200.00 "
         "inches"},
        {"txtMaxRange", "3",
         "Maximum range 3.00 inches refused: it must stay above the minimum range, 8.00 inches"},
        {"txtMaxRange", "600",
         "Maximum range limited to 443.54 inches, the largest the sensor can hold"},
        {"txtAnalogFarOutput", "25",
         "Analog far output limited to 20.0 ma, the top of the output scale"},
        {"txtAnalogNearOutput", "-1",
         "Analog near output limited to 0.0 ma, the bottom of the output scale"},
    };
    for (const auto& row : rows) {
        auto* box = qobject_cast<EntryBox*>(window.findChild<QLineEdit*>(row.box));
        QVERIFY(box != nullptr);
        window.statusBar()->clearMessage();
        messages.clear();
        box->setText(row.typed);
        emit box->Entered();
        emit box->FocusLeft(); // leaving after Enter notes nothing more
        QStringList notes;
        for (const QList<QVariant>& message : messages) {
            if (!message.at(0).toString().isEmpty()) {
                notes << message.at(0).toString();
            }
        }
        QCOMPARE(notes, row.note.isEmpty() ? QStringList() : QStringList{row.note});
    }
}

void MainWindowTest::Readings_SilentForFiveSeconds_ShowAsStaleUntilTheNext() {
    Sandbox sandbox;
    MainWindow window;
    LiveGaugesView& gauges = window.Display().Gauges();
    gauges.Timer2().stop(); // the test drives the ticks
    QTime now(14, 2, 31);
    gauges.SetClock([&now] { return now; });
    QLabel* readings = window.Status().Readings();
    const auto tick = [&gauges](int times) {
        for (int i = 0; i < times; ++i) {
            gauges.Timer2Timer();
        }
    };
    tick(200); // no reading yet: nothing is stale
    QCOMPARE(readings->text(), QString());
    window.Display().ShowReading(50.0f);
    now = now.addSecs(5);
    window.Display().NoteReceiveEvent(); // a delivery that is no reading does not count
    tick(100);
    QCOMPARE(readings->text(), QString());
    tick(1); // the 101st tick: five seconds without a reading
    QCOMPARE(readings->text(), QString("No readings since 14:02:31"));
    QVERIFY(!readings->isHidden());
    tick(300);
    QCOMPARE(readings->text(), QString("No readings since 14:02:31"));
    window.Display().ShowReading(51.0f);
    QCOMPARE(readings->text(), QString());
    QVERIFY(readings->isHidden());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
