// The main window's shell: start-up state, menu bar, family selection and its layout,
// and help.
#include "app/family_layout.h"
#include "app/form_surface.h"
#include "app/main_window.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "link/sensor_link.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTextBrowser>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;

namespace {

QAction* Entry(QWidget& window, const char* name) {
    auto* action = window.findChild<QAction*>(name);
    if (action == nullptr) {
        qFatal("menu entry %s not found", name);
    }
    return action;
}

QMenu* Menu(QWidget& window, const char* name) {
    auto* menu = window.findChild<QMenu*>(name);
    if (menu == nullptr) {
        qFatal("menu %s not found", name);
    }
    return menu;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void StartUp_SetsUpFamilyBWithItsFactoryConfiguration();
    void MenuBar_HasEveryEntryWithItsCaptionInOrder();
    void MenuBar_HidesViewSecurityAndPopUpMenus();
    void SensorType_SwitchesFlagsAndCheckMarkButNotTheRecord();
    void NoFamily_DisablesTheCommandsThatNeedOne();
    void FiltersAndProcessing_OpenTheSelectedFamilysDialog();
    void FamilyLayout_ListsTwentyEightDistinctControls();
    void FamilyLayout_HidesAndShowsWidgetsMenusAndEntries();
    void Help_OpensTheShippedDocument();
    void Help_MissingFile_SaysWhereItLooked();
    void StatusBar_ShowsFamilyAndNoPort();
    void PortThatCannotOpen_IsQuietAtStartUpAndAWarningLater();
    // Last: once the application has been told to exit, no later event loop runs.
    void Exit_EndsEveryEventLoop();
};

void MainWindowTest::StartUp_SetsUpFamilyBWithItsFactoryConfiguration() {
    Sandbox sandbox;
    MainWindow window;
    QCOMPARE(window.objectName(), QString("frmMain"));
    QCOMPARE(window.windowTitle(), QString("Telmora 1.08"));
    QVERIFY(window.FamilyB());
    QVERIFY(!window.FamilyA());

    SensorConfig expected;
    expected.AnalogOutputMax = 10;
    LoadFactoryDefaultsB(expected);
    const SensorConfig& config = window.Config();
    QCOMPARE(config.CountDistance, kCountDistanceNormal);
    QCOMPARE(config.MinRange, expected.MinRange);
    QCOMPARE(config.MaxRange, expected.MaxRange);
    QCOMPARE(config.FilterType, expected.FilterType);
    QCOMPARE(config.Sw4Setpoint, expected.Sw4Setpoint);
    QCOMPARE(config.AnalogOutputMax, 20.0f);
    QCOMPARE(config.AnalogOutputMin, 0.0f);
    QCOMPARE(config.Description, expected.Description);

    // Laid out at the design size, centred at the top of the screen.
    QCOMPARE(window.Surface().sizeHint(), window.Geometry().DesignSizePixels());
    QCOMPARE(window.y(), window.screen()->availableGeometry().top());
}

void MainWindowTest::MenuBar_HasEveryEntryWithItsCaptionInOrder() {
    Sandbox sandbox;
    MainWindow window;
    const QList<QPair<const char*, const char*>> file = {
        {"mnuFileSaveToSensor", "Save Configuration To Sensor"},
        {"mnuFileOpenFromSensor", "Get Configuration From Sensor"},
        {"mnsep1", ""},
        {"mnuFileSaveToFile", "&Save Configuration to Disk"},
        {"mnuFileOpenFromFile", "Get Configuration From Disk"},
        {"mnusep2", ""},
        {"mnuFilePrint", "&Print Screen"},
        {"mnuFileNewFactoryConfiguration", "&New Factory Configuration"},
        {"mnuFileExit", "E&xit"},
    };
    QMenu* mnuFile = Menu(window, "mnuFile");
    QCOMPARE(mnuFile->title(), QString("&File"));
    QCOMPARE(mnuFile->actions().size(), file.size());
    for (int i = 0; i < file.size(); ++i) {
        QAction* action = mnuFile->actions().at(i);
        QCOMPARE(action->objectName(), QString(file[i].first));
        QCOMPARE(action->text(), QString(file[i].second));
        QCOMPARE(action->isSeparator(), QString(file[i].second).isEmpty());
    }

    // The visible bar, left to right.
    QStringList bar;
    for (QAction* action : window.menuBar()->actions()) {
        if (action->isVisible()) {
            bar << action->text();
        }
    }
    QCOMPARE(bar, QStringList({"&File", "&ComPort", "&Processing", "Filters", "&Log Data",
                               "Sensor Type", "Help"}));
    QCOMPARE(Entry(window, "mnuComPort")->text(), QString("&ComPort"));
    QCOMPARE(Entry(window, "mnuProcessing")->text(), QString("&Processing"));
    QCOMPARE(Entry(window, "mnuFilters")->text(), QString("Filters"));
    QCOMPARE(Entry(window, "mnuLogDataToFile")->text(), QString("&Log Data"));
    QCOMPARE(Entry(window, "mnuHelp")->text(), QString("Help"));
    QCOMPARE(Menu(window, "mnuSensorType")->title(), QString("Sensor Type"));
    QCOMPARE(Entry(window, "mnuSensorTypeKelvoA")->text(), QString("Kelvo-A"));
    QCOMPARE(Entry(window, "mnuSensorTypeKelvoB")->text(), QString("Kelvo-B"));
}

void MainWindowTest::MenuBar_HidesViewSecurityAndPopUpMenus() {
    Sandbox sandbox;
    MainWindow window;
    QMenu* view = Menu(window, "mnuView");
    QCOMPARE(view->title(), QString("&View"));
    QVERIFY(view->actions().isEmpty());
    QVERIFY(!view->menuAction()->isVisible());

    QMenu* security = Menu(window, "mnuSecurity");
    QCOMPARE(security->title(), QString("Security"));
    QVERIFY(!security->menuAction()->isVisible());
    QStringList captions;
    for (QAction* action : security->actions()) {
        QVERIFY(action->isCheckable());
        captions << action->text();
    }
    QCOMPARE(captions, QStringList({"Sw1 Pushbutton Set Allowed", "Sw2 Pushbutton Set Allowed",
                                    "Sw3 Pushbutton Set Allowed", "Sw4 Pushbutton Set Allowed",
                                    "Analog Pushbutton Set Allowed"}));
    QCOMPARE(Entry(window, "mnuSw3SetAllowed")->text(), QString("Sw3 Pushbutton Set Allowed"));
    QCOMPARE(Entry(window, "mnuAnalogSetAllowed"), window.Menus().mnuAnalogSetAllowed);

    // The editors' pop-up menus are in the bar, never visible there.
    for (const char* name :
         {"mnuSw1PopUp", "mnuSw2PopUp", "mnuSw3PopUp", "mnuSw4PopUp", "mnuAnalogPopUp"}) {
        if (QMenu* popUp = window.findChild<QMenu*>(name)) {
            QVERIFY2(window.menuBar()->actions().contains(popUp->menuAction()), name);
            QVERIFY2(!popUp->menuAction()->isVisible(), name);
        }
    }
}

void MainWindowTest::SensorType_SwitchesFlagsAndCheckMarkButNotTheRecord() {
    Sandbox sandbox;
    MainWindow window;
    QAction* kelvoA = Entry(window, "mnuSensorTypeKelvoA");
    QAction* kelvoB = Entry(window, "mnuSensorTypeKelvoB");
    QVERIFY(kelvoB->isChecked());
    QVERIFY(!kelvoA->isChecked());
    window.Config().Sw3Setpoint = 77;
    window.Config().FilterType = 5;

    kelvoA->trigger();
    QVERIFY(window.FamilyA());
    QVERIFY(!window.FamilyB());
    QVERIFY(kelvoA->isChecked());
    QVERIFY(!kelvoB->isChecked());
    QCOMPARE(window.Config().Sw3Setpoint, 77.0f);
    QCOMPARE(window.Config().FilterType, std::int16_t(5));

    kelvoA->trigger(); // choosing the same family again keeps its mark
    QVERIFY(kelvoA->isChecked());
    QVERIFY(window.FamilyA());

    kelvoB->trigger();
    QVERIFY(window.FamilyB());
    QVERIFY(!window.FamilyA());
    QVERIFY(kelvoB->isChecked());
    QVERIFY(!kelvoA->isChecked());
    QCOMPARE(window.Config().Sw3Setpoint, 77.0f);
}

void MainWindowTest::NoFamily_DisablesTheCommandsThatNeedOne() {
    Sandbox sandbox;
    MainWindow window;
    const char* needFamily[] = {"mnuFileSaveToSensor", "mnuFilters", "mnuProcessing",
                                "mnuFileNewFactoryConfiguration"};
    for (const char* name : needFamily) {
        QVERIFY2(Entry(window, name)->isEnabled(), name);
    }
    window.SetFamily(SensorFamily::None);
    for (const char* name : needFamily) {
        QVERIFY2(!Entry(window, name)->isEnabled(), name);
    }
    QVERIFY(!Entry(window, "mnuSensorTypeKelvoA")->isChecked());
    QVERIFY(!Entry(window, "mnuSensorTypeKelvoB")->isChecked());
    QVERIFY(Entry(window, "mnuFileOpenFromSensor")->isEnabled());

    // Even when triggered, they leave the record alone.
    window.Config().Sw1Setpoint = 99;
    window.mnuFileNewFactoryConfigurationClick();
    QCOMPARE(window.Config().Sw1Setpoint, 99.0f);

    window.SetFamily(SensorFamily::A);
    for (const char* name : needFamily) {
        QVERIFY2(Entry(window, name)->isEnabled(), name);
    }
}

void MainWindowTest::FiltersAndProcessing_OpenTheSelectedFamilysDialog() {
    Sandbox sandbox;
    MainWindow window;
    auto opened = [&window](QAction* command) {
        NextModal modal([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
        command->trigger();
        return modal.Name();
    };
    const MainMenus& m = window.Menus();
    QCOMPARE(opened(m.mnuFilters), QString("frmFilterB"));
    QCOMPARE(opened(m.mnuProcessing), QString("frmRunModeB"));
    m.mnuSensorTypeKelvoA->trigger();
    QCOMPARE(opened(m.mnuFilters), QString("frmFilterA"));
    QCOMPARE(opened(m.mnuProcessing), QString("frmRunModeA"));
    // Cancel stores nothing.
    QCOMPARE(window.Config().FilterType, std::int16_t(2));
    // With no family selected nothing opens, even when the entry is triggered.
    window.SetFamily(SensorFamily::None);
    NextModal none(NextModal::Dismiss, 200);
    window.mnuFiltersClick();
    window.mnuProcessingClick();
    QTest::qWait(250);
    QVERIFY(!none.Seen());
}

void MainWindowTest::Exit_EndsEveryEventLoop() {
    Sandbox sandbox;
    MainWindow window;
    QEventLoop outer;
    bool innerEnded = false;
    QTimer::singleShot(0, [&] {
        QEventLoop inner; // as a command waiting for the sensor runs one
        QTimer::singleShot(0, window.Menus().mnuFileExit, &QAction::trigger);
        inner.exec();
        innerEnded = true;
    });
    QTimer deadline;
    deadline.singleShot(5000, &outer, [&outer] { outer.exit(99); });
    QCOMPARE(outer.exec(), 0);
    QVERIFY(innerEnded);
}

void MainWindowTest::FamilyLayout_ListsTwentyEightDistinctControls() {
    const QStringList& names = FamilyBOnlyControls();
    QCOMPARE(names.size(), 28);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 28);
    QCOMPARE(names.first(), QString("mnuSw1Mode"));
    QCOMPARE(names.last(), QString("txtSw4Hyst"));
    for (int n = 1; n <= 2; ++n) {
        QVERIFY(!names.contains(QString("txtSw%1Setpoint").arg(n)));
        QVERIFY(names.contains(QString("lblSw%1Mode").arg(n)));
    }
}

void MainWindowTest::FamilyLayout_HidesAndShowsWidgetsMenusAndEntries() {
    QWidget window;
    QMenu popUp(&window);
    QMenu* modeMenu = popUp.addMenu("Mode");
    modeMenu->setObjectName("mnuSw1Mode");
    QAction* modeEntry = popUp.addAction("Mode");
    modeEntry->setObjectName("mnuSw2Mode");
    QList<QWidget*> widgets;
    for (const QString& name : FamilyBOnlyControls().mid(4)) {
        auto* label = new QLabel(name, &window);
        label->setObjectName(name);
        widgets << label;
    }
    auto* sw1Setpoint = new QLabel(&window);
    sw1Setpoint->setObjectName("txtSw1Setpoint");

    QCOMPARE(ShowFamilyBOnlyControls(&window, false), 26);
    for (QWidget* widget : widgets) {
        QVERIFY2(widget->isHidden(), qPrintable(widget->objectName()));
    }
    QVERIFY(!modeMenu->menuAction()->isVisible());
    QVERIFY(!modeEntry->isVisible());
    QVERIFY(!sw1Setpoint->isHidden());

    QCOMPARE(ShowFamilyBOnlyControls(&window, true), 26);
    QCOMPARE(ShowFamilyBOnlyControls(&window, true), 26);
    for (QWidget* widget : widgets) {
        QVERIFY(!widget->isHidden());
    }
    QVERIFY(modeMenu->menuAction()->isVisible());
    QVERIFY(modeEntry->isVisible());
}

void MainWindowTest::Help_OpensTheShippedDocument() {
    Sandbox sandbox;
    MainWindow window;
    window.Help().SetPath(TELMORA_HELP_FILE);
    QVERIFY(window.Help().Show(&window));
    QTextBrowser* browser = window.Help().Browser();
    QVERIFY(browser != nullptr);
    QVERIFY(browser->isVisible());
    const QString text = browser->toPlainText();
    QVERIFY(text.contains("port mapping"));
    QVERIFY(text.contains("kelvo-sim"));
    QVERIFY(text.contains("range bar"));
    browser->close();
}

void MainWindowTest::Help_MissingFile_SaysWhereItLooked() {
    Sandbox sandbox;
    MainWindow window;
    window.Help().SetPath(sandbox.Path("nowhere/telmora-help.html"));
    NextModal modal(NextModal::Dismiss);
    window.mnuHelpClick();
    QVERIFY(modal.Seen());
    QCOMPARE(modal.Title(), QString("Help"));
    QVERIFY(modal.Text().contains("nowhere"));
    QVERIFY(window.Help().Browser() == nullptr);
}

void MainWindowTest::StatusBar_ShowsFamilyAndNoPort() {
    Sandbox sandbox;
    MainWindow window;
    StatusPanel& status = window.Status();
    QCOMPARE(status.Family()->text(), QString("Kelvo-B"));
    window.SetFamily(SensorFamily::A);
    QCOMPARE(status.Family()->text(), QString("Kelvo-A"));
    window.SetFamily(SensorFamily::None);
    QCOMPARE(status.Family()->text(), QString("No sensor family"));
    QCOMPARE(status.Family()->accessibleName(), QString("Sensor family: No sensor family"));
    QCOMPARE(status.Port()->text(), QString("No port open"));
    QCOMPARE(status.Log()->text(), QString("Not logging"));
    QVERIFY(status.Progress()->isHidden());
    QCOMPARE(status.Progress()->objectName(), QString("ProgressBar1"));
    QCOMPARE(status.Progress()->minimum(), 10);
    QCOMPARE(status.Progress()->maximum(), 100);
}

void MainWindowTest::PortThatCannotOpen_IsQuietAtStartUpAndAWarningLater() {
    Sandbox sandbox; // port 1 leads nowhere
    NextModal atStartUp(NextModal::Dismiss, 200);
    MainWindow window;
    QTest::qWait(300);
    QVERIFY(!atStartUp.Seen());
    QCOMPARE(window.Status().Port()->text(), QString("No port open"));
    QVERIFY2(window.Status().Port()->toolTip().contains("Comm1"),
             qPrintable(window.Status().Port()->toolTip()));

    NextModal later(NextModal::Dismiss);
    QVERIFY(!window.Link().openPort(1));
    QVERIFY(later.Seen());
    QCOMPARE(later.Title(), QString("Warning"));
    QVERIFY(later.Text().contains("Comm1"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
