#include "app/family_layout.h"
#include "form/form_surface.h"
#include "app/main_window.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "link/ui/sensor_link.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
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
    void MenuBar_HasEveryEntryWithItsCaptionInOrderAndHidesTheRest();
    void SensorType_SwitchesFlagsMarkStatusAndFamilyBControlsButNotTheRecord();
    void FiltersAndProcessing_OpenTheSelectedFamilysDialog();
    void Help_OpensTheShippedDocumentOrSaysWhereItLooked();
};

void MainWindowTest::StartUp_SetsUpFamilyBFactoryConfigurationAndIsQuietAboutAPortThatCannotOpen() {
    Sandbox sandbox; // port 1 leads nowhere
    NextModal atStartUp(NextModal::Dismiss, 200);
    MainWindow window;
    QCOMPARE(window.objectName(), QString("frmMain"));
    QCOMPARE(window.windowTitle(), QString("Telmora 1.08"));
    QVERIFY(window.FamilyB() && !window.FamilyA());
    SensorConfig factory;
    LoadFactoryDefaultsB(factory);
    const SensorConfig& config = window.Config();
    QCOMPARE(QList<float>({config.CountDistance, config.MaxRange, config.Sw4Setpoint,
                           config.AnalogOutputMax}),
             QList<float>({kCountDistanceNormal, factory.MaxRange, factory.Sw4Setpoint, 20}));
    QCOMPARE(config.FilterType, factory.FilterType);
    QCOMPARE(config.Description, factory.Description);
    QCOMPARE(window.y(), window.screen()->availableGeometry().top());

    QTest::qWait(300);
    QVERIFY(!atStartUp.Seen());
    StatusPanel& status = window.Status();
    QCOMPARE(status.Port()->text(), QString("No port open"));
    QVERIFY2(status.Port()->toolTip().contains("Comm1"), qPrintable(status.Port()->toolTip()));
    QCOMPARE(status.Log()->text(), QString("Not logging"));
    QVERIFY(status.Progress()->isHidden());
    NextModal later(NextModal::Dismiss); // asked for again, the port gets a warning
    QVERIFY(!window.Link().openPort(1));
    QVERIFY(later.Seen());
    QCOMPARE(later.Title(), QString("Warning"));
    QVERIFY(later.Text().contains("Comm1"));
}

void MainWindowTest::MenuBar_HasEveryEntryWithItsCaptionInOrderAndHidesTheRest() {
    Sandbox sandbox;
    MainWindow window;
    const MainMenus& m = window.Menus();
    // "objectName=caption" of the visible entries; a menu's own entry has no name.
    auto entries = [](const QList<QAction*>& actions) {
        QStringList listed;
        for (QAction* action : actions) {
            if (action->isVisible()) {
                listed << action->objectName() + "=" + action->text();
            }
        }
        return listed;
    };
    QCOMPARE(entries(window.menuBar()->actions()),
             QStringList({"=&File", "mnuComPort=&ComPort", "mnuProcessing=&Processing",
                          "mnuFilters=Filters", "mnuLogDataToFile=&Log Data", "=Sensor Type",
                          "mnuHelp=Help"}));
    QCOMPARE(entries(m.mnuFile->actions()),
             QStringList({"mnuFileSaveToSensor=Save Configuration To Sensor",
                          "mnuFileOpenFromSensor=Get Configuration From Sensor",
                          "mnsep1=", "mnuFileSaveToFile=&Save Configuration to Disk",
                          "mnuFileOpenFromFile=Get Configuration From Disk",
                          "mnusep2=", "mnuFilePrint=&Print Screen",
                          "mnuFileNewFactoryConfiguration=&New Factory Configuration",
                          "mnuFileExit=E&xit"}));
    QVERIFY(m.mnsep1->isSeparator() && m.mnusep2->isSeparator());
    QCOMPARE(window.findChild<QMenu*>("mnuFile"), m.mnuFile);
    QCOMPARE(window.findChild<QMenu*>("mnuSensorType"), m.mnuSensorType);
    QCOMPARE(entries(m.mnuSensorType->actions()),
             QStringList({"mnuSensorTypeKelvoA=Kelvo-A", "mnuSensorTypeKelvoB=Kelvo-B", "mnusep3=",
                          "mnuFindScaleOnOpen=Find Distance Scale When Opening"}));
    QCOMPARE(entries(m.mnuSecurity->actions()),
             QStringList({"mnuSw1SetAllowed=Sw1 Pushbutton Set Allowed",
                          "mnuSw2SetAllowed=Sw2 Pushbutton Set Allowed",
                          "mnuSw3SetAllowed=Sw3 Pushbutton Set Allowed",
                          "mnuSw4SetAllowed=Sw4 Pushbutton Set Allowed",
                          "mnuAnalogSetAllowed=Analog Pushbutton Set Allowed"}));

    // View, Security and the editors' pop-ups belong to the bar but are never shown there.
    QCOMPARE(m.mnuView->title() + "|" + m.mnuSecurity->title(), QString("&View|Security"));
    QVERIFY(m.mnuView->actions().isEmpty());
    QList<QMenu*> hidden = {m.mnuView, m.mnuSecurity};
    for (const char* name : {"mnuSw1PopUp", "mnuSw4PopUp", "mnuAnalogPopUp"}) {
        hidden << window.findChild<QMenu*>(name);
        QVERIFY2(hidden.last() != nullptr, name);
    }
    for (QMenu* menu : hidden) {
        QVERIFY(window.menuBar()->actions().contains(menu->menuAction()));
        QVERIFY2(!menu->menuAction()->isVisible(), qPrintable(menu->objectName()));
    }
}

void MainWindowTest::SensorType_SwitchesFlagsMarkStatusAndFamilyBControlsButNotTheRecord() {
    Sandbox sandbox;
    MainWindow window;
    const QStringList& names = FamilyBOnlyControls();
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 28);
    QCOMPARE(ShowFamilyBOnlyControls(&window, true), 28); // each one found on the window
    auto hiddenOnes = [&window, &names] {
        QStringList hidden;
        for (const QString& name : names) {
            QObject* control = window.findChild<QObject*>(name);
            if (auto* menu = qobject_cast<QMenu*>(control)) {
                control = menu->menuAction();
            }
            auto* action = qobject_cast<QAction*>(control);
            if (action != nullptr ? !action->isVisible()
                                  : qobject_cast<QWidget*>(control)->isHidden()) {
                hidden << name;
            }
        }
        return hidden;
    };
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
        QCOMPARE(hiddenOnes(), a ? names : QStringList());
        QCOMPARE(TextOf(window, "txtSw3Setpoint"), QString("77.00"));
        QCOMPARE(window.Config().Sw3Setpoint, 77.0f);
        QCOMPARE(window.Config().FilterType, std::int16_t(5));
    }
    window.SetFamily(SensorFamily::A); // what both families have stays in view
    for (const char* name : {"txtSw1Setpoint", "lblSw2Left", "lblSw1EchoLoss", "txtMinRange",
                             "lblAnalogMode", "txtDescription"}) {
        QVERIFY2(!window.findChild<QWidget*>(name)->isHidden(), name);
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
    for (const char* topic : {"port mapping", "kelvo-sim", "range bar"}) {
        QVERIFY2(browser->toPlainText().contains(topic), topic);
    }
    browser->close();
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
