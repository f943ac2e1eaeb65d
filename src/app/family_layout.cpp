#include "app/family_layout.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace telmora {

const QStringList& FamilyBOnlyControls() {
    static const QStringList names = {
        "mnuSw1Mode",     "mnuSw2Mode",     "mnuSw3Mode",
        "mnuSw4Mode",     "lblMode",        "lblHyst",
        "lblSw1Mode",     "txtSw1Hyst",     "lblSw2Mode",
        "txtSw2Hyst",     "lblSw3",         "lblSw3Left",
        "lblSw3Right",    "txtSw3Setpoint", "lblSw3SetpointUnits",
        "lblSw3EchoLoss", "lblSw3PowerUp",  "lblSw3Mode",
        "txtSw3Hyst",     "lblSw4",         "lblSw4Left",
        "lblSw4Right",    "txtSw4Setpoint", "lblSw4SetpointUnits",
        "lblSw4EchoLoss", "lblSw4PowerUp",  "lblSw4Mode",
        "txtSw4Hyst",
    };
    return names;
}

int ShowFamilyBOnlyControls(QWidget* window, bool visible) {
    int found = 0;
    for (const QString& name : FamilyBOnlyControls()) {
        QObject* control = window->findChild<QObject*>(name);
        if (auto* menu = qobject_cast<QMenu*>(control)) {
            menu->menuAction()->setVisible(visible);
        } else if (auto* widget = qobject_cast<QWidget*>(control)) {
            widget->setVisible(visible);
        } else if (auto* action = qobject_cast<QAction*>(control)) {
            action->setVisible(visible);
        } else {
            continue;
        }
        ++found;
    }
    return found;
}

} // namespace telmora
