#pragma once

#include <QStringList>

class QWidget;

namespace telmora {

// The 28 controls that only a Kelvo-B window shows, in the order the layout operations
// visit them: the "Mode" submenus of the four switch pop-ups, the mode and width column
// headings, the mode and width of switches 1 and 2, and the whole rows of switches 3 and 4.
const QStringList& FamilyBOnlyControls();

// Shows (family B) or hides (family A) those controls of `window`: widgets, menus (their
// entry in the parent menu) or menu entries, found by objectName. The record is not
// touched, so the hidden values come back as they were. Returns the number found, which is
// 28 once every editor has built its controls.
int ShowFamilyBOnlyControls(QWidget* window, bool visible);

} // namespace telmora
