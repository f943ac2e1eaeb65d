#include "app/main_window.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "form/form_surface.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QProgressBar>
#include <QSet>
#include <QTextBrowser>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;
using telmora::app_test::TextOf;
using telmora::app_test::TextsOf;

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void StartUp_SetsUpFamilyBFactoryConfigurationAndIsQuietAboutAPortThatCannotOpen();
    void SensorType_SwitchesFlagsMarkStatusAndFamilyBControlsButNotTheRecord();
    void FiltersAndProcessing_OpenTheSelectedFamilysDialog();
    void Help_OpensTheShippedDocumentOrSaysWhereItLooked();
};

void MainWindowTest::StartUp_SetsUpFamilyBFactoryConfigurationAndIsQuietAboutAPortThatCannotOpen() {
    Sandbox sandbox; // port 1 leads nowhere
    NextModal atStartUp(NextModal::Dismiss, 200);
    MainWindow window;
    QVERIFY(window.FamilyB() && !window.FamilyA());
    SensorConfig factory;
    LoadFactoryDefaultsB(factory);
    QCOMPARE(QList<float>({window.Config().MaxRange, window.Config().Sw4Setpoint}),
             QList<float>({factory.MaxRange, factory.Sw4Setpoint}));
    QCOMPARE(window.y(), window.screen()->availableGeometry().top());
    QTest::qWait(300);
    QVERIFY(!atStartUp.Seen());
    // The start-up texts of the window and its status bar are in the window texts' golden file.
    QVERIFY(window.Status().Progress()->isHidden());
}

void MainWindowTest::SensorType_SwitchesFlagsMarkStatusAndFamilyBControlsButNotTheRecord() {
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
    // A new factory configuration is the chosen family's (the core's defaults, tested
    // there); family A's leaves switch 3 as it was.
    for (QAction* chosen : {kelvoA, kelvoB}) {
        chosen->trigger();
        window.Menus().mnuFileNewFactoryConfiguration->trigger();
        const QStringList want = chosen == kelvoA
                                     ? QStringList{"txtMinRange=6.50", "txtSw3Setpoint=77.00"}
                                     : QStringList{"txtMinRange=8.00", "txtSw3Setpoint=36.00"};
        QCOMPARE(TextsOf(window, want), want);
    }
}

void MainWindowTest::FiltersAndProcessing_OpenTheSelectedFamilysDialog() {
    Sandbox sandbox;
    MainWindow window;
    auto opened = [](QAction* command) {
        NextModal modal([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
        command->trigger();
        return modal.Name();
    };
    const MainMenus& m = window.Menus();
    QCOMPARE(QStringList({opened(m.mnuFilters), opened(m.mnuProcessing)}),
             QStringList({"frmFilterB", "frmRunModeB"}));
    m.mnuSensorTypeKelvoA->trigger();
    QCOMPARE(QStringList({opened(m.mnuFilters), opened(m.mnuProcessing)}),
             QStringList({"frmFilterA", "frmRunModeA"}));
    QCOMPARE(window.Config().FilterType, std::int16_t(2)); // cancel stores nothing
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

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
