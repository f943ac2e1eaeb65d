#pragma once

#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace telmora {

// The main window's menu bar. Every entry's objectName is its name below (mnuFile,
// mnuFileSaveToSensor, ...); hidden entries are in the bar but not visible there.
struct MainMenus {
    QMenu* mnuFile = nullptr;
    QAction* mnuFileSaveToSensor = nullptr;
    QAction* mnuFileOpenFromSensor = nullptr;
    QAction* mnsep1 = nullptr;
    QAction* mnuFileSaveToFile = nullptr;
    QAction* mnuFileOpenFromFile = nullptr;
    QAction* mnuFileCompareWithSensor = nullptr;
    QAction* mnuFileCompareWithFile = nullptr;
    QMenu* mnuFileRecent = nullptr; // the last files loaded or saved
    QAction* mnusep2 = nullptr;
    QAction* mnuFileReport = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileNewFactoryConfiguration = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditUndo = nullptr;
    QAction* mnuEditRedo = nullptr;
    QAction* mnuComPort = nullptr;
    QAction* mnuProcessing = nullptr;
    QAction* mnuFilters = nullptr;
    QAction* mnuLogDataToFile = nullptr;
    QMenu* mnuSensorType = nullptr;
    QAction* mnuSensorTypeKelvoA = nullptr;
    QAction* mnuSensorTypeKelvoB = nullptr;
    // Checked: opening a port finds the sensor's distance scale in the background.
    QAction* mnuFindScaleOnOpen = nullptr;
    QAction* mnuVerifyAfterWriting = nullptr;
    QMenu* mnuView = nullptr;
    // The pushbutton teach permissions: checked exactly when the record allows teaching.
    QMenu* mnuSecurity = nullptr;
    std::array<QAction*, 4> mnuSwSetAllowed{}; // mnuSw1SetAllowed to mnuSw4SetAllowed
    QAction* mnuAnalogSetAllowed = nullptr;
    QMenu* mnuHelpMenu = nullptr;
    QAction* mnuHelp = nullptr; // "Help Contents"
    QAction* mnuHelpAbout = nullptr;
    QMenuBar* Bar = nullptr;

    // Commands that would do nothing without a family are disabled then, and while a sensor
    // exchange runs nothing may start another, change the port or load a configuration.
    void EnableCommands(bool familyChosen, bool idle) const;

    // Switch n's "Pushbutton Set Allowed" entry, n = 1 to 4.
    QAction* SwSetAllowed(int n) const { return mnuSwSetAllowed.at(n - 1); }
};

// Fills `bar` with the menus and entries, in the bar's order.
MainMenus BuildMainMenus(QMenuBar* bar);

// Puts an output editor's pop-up menu into the bar as a hidden top-level menu, before
// "Security", so that it belongs to the window like the other menus.
void AdoptPopUpMenu(const MainMenus& menus, QMenu* popUp);

} // namespace telmora
