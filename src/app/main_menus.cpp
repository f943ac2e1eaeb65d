#include "app/main_menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace telmora {

namespace {

QAction* AddEntry(QWidget* menu, const char* name, const QString& caption) {
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    menu->addAction(action);
    return action;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(name);
    return separator;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, bar);
    menu->setObjectName(name);
    bar->addMenu(menu);
    return menu;
}

} // namespace

MainMenus BuildMainMenus(QMenuBar* bar) {
    MainMenus m;
    m.Bar = bar;
    // Every menu and entry has an access key of its own within its menu, so the keyboard
    // reaches all of them; the common commands have their usual shortcuts too.
    m.mnuFile = AddMenu(bar, "mnuFile", "&File");
    m.mnuFileSaveToSensor =
        AddEntry(m.mnuFile, "mnuFileSaveToSensor", "Save Configuration &To Sensor");
    m.mnuFileOpenFromSensor =
        AddEntry(m.mnuFile, "mnuFileOpenFromSensor", "&Get Configuration From Sensor");
    m.mnsep1 = AddSeparator(m.mnuFile, "mnsep1");
    m.mnuFileSaveToFile = AddEntry(m.mnuFile, "mnuFileSaveToFile", "&Save Configuration to Disk");
    m.mnuFileSaveToFile->setShortcut(QKeySequence::Save);
    m.mnuFileOpenFromFile =
        AddEntry(m.mnuFile, "mnuFileOpenFromFile", "Get Configuration From &Disk");
    m.mnuFileOpenFromFile->setShortcut(QKeySequence::Open);
    m.mnuFileRecent = m.mnuFile->addMenu("&Recent Files");
    m.mnuFileRecent->setObjectName("mnuFileRecent");
    m.mnuFileCompareWithSensor =
        AddEntry(m.mnuFile, "mnuFileCompareWithSensor", "Compare With Sens&or...");
    m.mnuFileCompareWithFile =
        AddEntry(m.mnuFile, "mnuFileCompareWithFile", "Compare With Fi&le...");
    m.mnusep2 = AddSeparator(m.mnuFile, "mnusep2");
    m.mnuFileReport = AddEntry(m.mnuFile, "mnuFileReport", "&Commissioning Report...");
    m.mnuFilePrint = AddEntry(m.mnuFile, "mnuFilePrint", "&Print Screen");
    m.mnuFilePrint->setShortcut(QKeySequence::Print);
    m.mnuFileNewFactoryConfiguration =
        AddEntry(m.mnuFile, "mnuFileNewFactoryConfiguration", "&New Factory Configuration");
    m.mnuFileExit = AddEntry(m.mnuFile, "mnuFileExit", "E&xit");
    m.mnuFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    m.mnuEdit = AddMenu(bar, "mnuEdit", "&Edit");
    m.mnuEditUndo = AddEntry(m.mnuEdit, "mnuEditUndo", "&Undo");
    m.mnuEditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.mnuEditRedo = AddEntry(m.mnuEdit, "mnuEditRedo", "&Redo");
    m.mnuEditRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));

    // Commands straight on the bar.
    m.mnuComPort = AddEntry(bar, "mnuComPort", "&ComPort");
    m.mnuProcessing = AddEntry(bar, "mnuProcessing", "&Processing");
    m.mnuFilters = AddEntry(bar, "mnuFilters", "F&ilters");
    m.mnuLogDataToFile = AddEntry(bar, "mnuLogDataToFile", "&Log Data");

    m.mnuSensorType = AddMenu(bar, "mnuSensorType", "Sensor &Type");
    m.mnuSensorTypeKelvoA = AddEntry(m.mnuSensorType, "mnuSensorTypeKelvoA", "Kelvo-&A");
    m.mnuSensorTypeKelvoB = AddEntry(m.mnuSensorType, "mnuSensorTypeKelvoB", "Kelvo-&B");
    // The check mark shows the family the window is set up for; none during a detection.
    m.mnuSensorTypeKelvoA->setCheckable(true);
    m.mnuSensorTypeKelvoB->setCheckable(true);
    AddSeparator(m.mnuSensorType, "mnusep3");
    m.mnuFindScaleOnOpen =
        AddEntry(m.mnuSensorType, "mnuFindScaleOnOpen", "&Find Distance Scale When Opening");
    m.mnuFindScaleOnOpen->setCheckable(true);
    m.mnuVerifyAfterWriting =
        AddEntry(m.mnuSensorType, "mnuVerifyAfterWriting", "&Verify After Writing");
    m.mnuVerifyAfterWriting->setCheckable(true);

    m.mnuView = AddMenu(bar, "mnuView", "&View");
    m.mnuView->menuAction()->setVisible(false);

    m.mnuSecurity = AddMenu(bar, "mnuSecurity", "Security");
    m.mnuSecurity->menuAction()->setVisible(false);
    for (int n = 1; n <= 4; ++n) {
        const QString name = QString("mnuSw%1SetAllowed").arg(n);
        QAction* entry = AddEntry(m.mnuSecurity, name.toLatin1().constData(),
                                  QString("Sw%1 Pushbutton Set Allowed").arg(n));
        entry->setCheckable(true);
        m.mnuSwSetAllowed.at(n - 1) = entry;
    }
    m.mnuAnalogSetAllowed =
        AddEntry(m.mnuSecurity, "mnuAnalogSetAllowed", "Analog Pushbutton Set Allowed");
    m.mnuAnalogSetAllowed->setCheckable(true);

    m.mnuHelpMenu = AddMenu(bar, "mnuHelpMenu", "&Help");
    m.mnuHelp = AddEntry(m.mnuHelpMenu, "mnuHelp", "&Help Contents");
    m.mnuHelp->setShortcut(QKeySequence::HelpContents);
    m.mnuHelpAbout = AddEntry(m.mnuHelpMenu, "mnuHelpAbout", "&About Telmora");
    return m;
}

void MainMenus::EnableCommands(bool familyChosen, bool idle) const {
    mnuFileSaveToSensor->setEnabled(familyChosen && idle);
    mnuFileOpenFromSensor->setEnabled(idle);
    mnuFilters->setEnabled(familyChosen);
    mnuProcessing->setEnabled(familyChosen);
    mnuFileNewFactoryConfiguration->setEnabled(familyChosen && idle);
    mnuFileOpenFromFile->setEnabled(idle);
    mnuFileCompareWithSensor->setEnabled(familyChosen && idle);
    mnuFileCompareWithFile->setEnabled(familyChosen && idle);
    mnuFileRecent->menuAction()->setEnabled(idle && !mnuFileRecent->actions().isEmpty());
    mnuComPort->setEnabled(idle);
    mnuSensorTypeKelvoA->setEnabled(idle);
    mnuSensorTypeKelvoB->setEnabled(idle);
}

void AdoptPopUpMenu(const MainMenus& menus, QMenu* popUp) {
    if (popUp == nullptr) {
        return;
    }
    menus.Bar->insertMenu(menus.mnuSecurity->menuAction(), popUp);
    popUp->menuAction()->setVisible(false);
}

} // namespace telmora
