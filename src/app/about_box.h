#pragma once

#include <QString>

class QWidget;

namespace telmora {

// "1.08".
QString VersionNumber();

// "Telmora 1.08": the window title, and the first line of the About box and of --version.
QString VersionText();

// "Build 1b55b84c0d1e, 2026-12-07": the git commit and the date of this build.
QString BuildText();

// The "About Telmora" message box: version and build.
void ShowAbout(QWidget* parent);

} // namespace telmora
