#pragma once

class QAction;
class QMenu;
class QWidget;

namespace telmora {

// The pop-up menu of switch N's bar (`mnuSwNPopUp`), never shown in the menu bar. Its
// check marks follow the switch's option labels; the switch editor sets both together.
struct SwitchPopUp {
    QMenu* Menu = nullptr;
    QAction* Polarity = nullptr; // "Reverse Polarity"
    QMenu* EchoLoss = nullptr;
    QAction* EchoLossNc = nullptr;
    QAction* EchoLossOff = nullptr;
    QAction* EchoLossOn = nullptr;
    QMenu* PowerUp = nullptr;
    QAction* PowerUpOff = nullptr;
    QAction* PowerUpOn = nullptr;
    QMenu* Mode = nullptr; // hidden with the family A layout
    QAction* ModeHyst = nullptr;
    QAction* ModeWind = nullptr;
};

// Builds switch n's pop-up menu (n = 1 to 4) as a child of `parent`, with every entry and
// separator named as the window's menus are named.
SwitchPopUp BuildSwitchPopUp(int n, QWidget* parent);

} // namespace telmora
