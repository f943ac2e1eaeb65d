#include "link/ui/port_map_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace telmora {

QString SavePortMapChanges(const PortDevices& before, const PortDevices& after) {
    if (before == after)
        return {};
    const QString path = QString::fromStdString(PortMapPath());
    if (path.isEmpty())
        return QStringLiteral("There is no folder for the port mapping (HOME is not set).");

    std::string text;
    if (QFile old(path); old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return QStringLiteral("Cannot read %1: %2.").arg(path, old.errorString());
        text = old.readAll().toStdString();
    }
    for (int n = 1; n <= kPortCount; ++n) {
        const auto k = static_cast<std::size_t>(n - 1);
        if (before[k] != after[k])
            text = SetPortInMap(text, n, after[k]);
    }

    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("Cannot create the folder of %1.").arg(path);
    // Written beside the old file and renamed over it: a crash leaves the old or the new.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit())
        return QStringLiteral("Cannot save %1: %2.").arg(path, file.errorString());
    return {};
}

} // namespace telmora
