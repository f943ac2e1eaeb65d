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
    const char* First;
    const char* Second;
    const char* Third;
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
    p.Menu = new QMenu(QString("Sw%1PopUp").arg(n), parent);
    p.Menu->setObjectName(Name(n, "PopUp"));
    p.Menu->setAccessibleName(QString("Switch %1 options").arg(n));
    const SeparatorNames separators = SeparatorsOf(n);

    p.Polarity = p.Menu->addAction("&Reverse Polarity");
    p.Polarity->setObjectName(Name(n, "Polarity"));
    AddSeparator(p.Menu, separators.First);

    p.EchoLoss = AddSubmenu(p.Menu, Name(n, "EchoLoss"), "&Echo Loss Response");
    p.EchoLossNc = AddCheckable(p.EchoLoss, Name(n, "EchoLossNC"), "No &Change");
    p.EchoLossOff =
        AddCheckable(p.EchoLoss, Name(n, "EchoLossOff"),
                     WithAccessKey(Qs(kSwitchEchoLoss.Caption(SwitchEchoLoss::Off)), 'f'));
    p.EchoLossOn =
        AddCheckable(p.EchoLoss, Name(n, "EchoLossOn"),
                     WithAccessKey(Qs(kSwitchEchoLoss.Caption(SwitchEchoLoss::On)), 'n'));
    AddSeparator(p.Menu, separators.Second);

    // Switch 1's entries kept their first captions, trailing blank included.
    const bool first = n == 1;
    p.PowerUp =
        AddSubmenu(p.Menu, Name(n, "PowerUp"), first ? "&Powered Up State" : "&Power Up State");
    const QString off = WithAccessKey(Qs(kSwitchPowerUp.Caption(SwitchPowerUp::Off)), 'f');
    p.PowerUpOff = AddCheckable(p.PowerUp, Name(n, "PowerUpOff"), first ? off + " " : off);
    p.PowerUpOn = AddCheckable(p.PowerUp, Name(n, "PowerUpOn"),
                               WithAccessKey(Qs(kSwitchPowerUp.Caption(SwitchPowerUp::On)), 'n'));
    AddSeparator(p.Menu, separators.Third);

    p.Mode = AddSubmenu(p.Menu, Name(n, "Mode"), "&Mode");
    p.ModeHyst = AddCheckable(p.Mode, Name(n, "ModeHyst"), "&Hysteresis");
    p.ModeWind = AddCheckable(p.Mode, Name(n, "ModeWind"), "&Window");
    return p;
}

} // namespace telmora
