#include "editors/ui/switch_popup.h"

#include "config/option_codes.h"
#include "form/editor_widgets.h"

#include <QAction>
#include <QMenu>
#include <QString>

namespace telmora {

namespace {

QString Name(int n, const char* part) {
    return QString("mnuSw%1%2").arg(n).arg(part);
}

QAction* AddCheckable(QMenu* menu, const QString& name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(true);
    return action;
}

QMenu* AddSubmenu(QMenu* menu, const QString& name, const QString& caption) {
    QMenu* sub = menu->addMenu(caption);
    sub->setObjectName(name);
    sub->menuAction()->setObjectName(name);
    return sub;
}

void AddSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(name);
}

// The separators were named one by one as the menus grew, hence no common pattern.
struct SeparatorNames {
    const char* first;
    const char* second;
    const char* third;
};

SeparatorNames SeparatorsOf(int n) {
    switch (n) {
    case 1:
        return {"mnusep3", "mnuSep4", "mnuSepSw1C"};
    case 2:
        return {"mnuSep5", "mnuSep6", "mnuSepSw2C"};
    case 3:
        return {"mnuSepSw3A", "mnuSepSw3B", "mnuSepSw3C"};
    default:
        return {"mnuSepSw4A", "mnuSepSw4B", "suSepSw4C"};
    }
}

} // namespace

SwitchPopUp BuildSwitchPopUp(int n, QWidget* parent) {
    SwitchPopUp p;
    p.menu = new QMenu(QString("Sw%1PopUp").arg(n), parent);
    p.menu->setObjectName(Name(n, "PopUp"));
    const SeparatorNames separators = SeparatorsOf(n);

    p.polarity = p.menu->addAction("Reverse Polarity");
    p.polarity->setObjectName(Name(n, "Polarity"));
    AddSeparator(p.menu, separators.first);

    p.echoLoss = AddSubmenu(p.menu, Name(n, "EchoLoss"), "Echo Loss Response");
    p.echoLossNC = AddCheckable(p.echoLoss, Name(n, "EchoLossNC"), "No Change");
    p.echoLossOff = AddCheckable(p.echoLoss, Name(n, "EchoLossOff"),
                                 Qs(kSwitchEchoLoss.Caption(SwitchEchoLoss::Off)));
    p.echoLossOn = AddCheckable(p.echoLoss, Name(n, "EchoLossOn"),
                                Qs(kSwitchEchoLoss.Caption(SwitchEchoLoss::On)));
    AddSeparator(p.menu, separators.second);

    // Switch 1's entries kept their first captions, trailing blank included.
    const bool first = n == 1;
    p.powerUp =
        AddSubmenu(p.menu, Name(n, "PowerUp"), first ? "Powered Up State" : "Power Up State");
    const QString off = Qs(kSwitchPowerUp.Caption(SwitchPowerUp::Off));
    p.powerUpOff = AddCheckable(p.powerUp, Name(n, "PowerUpOff"), first ? off + " " : off);
    p.powerUpOn = AddCheckable(p.powerUp, Name(n, "PowerUpOn"),
                               Qs(kSwitchPowerUp.Caption(SwitchPowerUp::On)));
    AddSeparator(p.menu, separators.third);

    p.mode = AddSubmenu(p.menu, Name(n, "Mode"), "Mode");
    p.modeHyst = AddCheckable(p.mode, Name(n, "ModeHyst"), "Hysteresis");
    p.modeWind = AddCheckable(p.mode, Name(n, "ModeWind"), "Window");
    return p;
}

} // namespace telmora
