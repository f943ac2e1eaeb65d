#include "app/about_box.h"

#include <QMessageBox>

#include "app/build_info.h"

namespace telmora {

QString VersionNumber() {
    return build::kVersion;
}

QString VersionText() {
    return "Telmora " + VersionNumber();
}

QString BuildText() {
    return QString("Build %1, %2").arg(build::kCommit, build::kDate);
}

void ShowAbout(QWidget* parent) {
    QMessageBox::about(parent, "About Telmora",
                       VersionText() + "\n" + BuildText() +
                           "\n\nConfigures and watches Kelvo-A and Kelvo-B ultrasonic distance "
                           "sensors over a serial line.");
}

} // namespace telmora
