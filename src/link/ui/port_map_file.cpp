#include "link/ui/port_map_file.h"

#include "config/config_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    // Written whole or not at all: a crash leaves the old file or the new, nothing beside.
    const FileResult written =
        WriteFileAtomically(QFile::encodeName(path).toStdString(), text.data(), text.size());
    return QString::fromStdString(written.Error);
}

} // namespace telmora
