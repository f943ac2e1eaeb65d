#pragma once

class QAction;
class QMenu;
class QWidget;

namespace telmora {

// The pop-up menu of switch N's bar (`mnuSwNPopUp`), never shown in the menu bar. Its
// check marks follow the switch's option labels; the switch editor sets both together.
struct SwitchPopUp {
    QMenu* menu = nullptr;
    QAction* polarity = nullptr; // "Reverse Polarity"
    QMenu* echoLoss = nullptr;
    QAction* echoLossNC = nullptr;
    QAction* echoLossOff = nullptr;
    QAction* echoLossOn = nullptr;
    QMenu* powerUp = nullptr;
    QAction* powerUpOff = nullptr;
    QAction* powerUpOn = nullptr;
    QMenu* mode = nullptr; // hidden with the family A layout
    QAction* modeHyst = nullptr;
    QAction* modeWind = nullptr;
};

// Builds switch n's pop-up menu (n = 1 to 4) as a child of `parent`, with every entry and
// separator named as the window's menus are named.
SwitchPopUp BuildSwitchPopUp(int n, QWidget* parent);

} // namespace telmora
