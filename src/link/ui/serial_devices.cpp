#include "link/ui/serial_devices.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace telmora {

QString SerialDevice::Caption() const {
    QStringList about;
    for (const QString& part : {Manufacturer, SerialNumber})
        if (!part.isEmpty())
            about << part;
    QString caption = PortName.isEmpty() ? SystemPath : PortName;
    if (!Description.isEmpty())
        caption += QStringLiteral(" - ") + Description;
    if (!about.isEmpty())
        caption += QStringLiteral(" (%1)").arg(about.join(QStringLiteral(", ")));
    return caption;
}

bool SerialDevice::IsNamedBy(const QString& path) const {
    if (path.isEmpty())
        return false;
    if (path == SystemPath || (!StablePath.isEmpty() && path == StablePath))
        return true;
    const QString target = QFileInfo(path).canonicalFilePath();
    return !target.isEmpty() && target == QFileInfo(SystemPath).canonicalFilePath();
}

const SerialDeviceSource& SystemDevices() {
    static const SystemSerialDevices kSystem;
    return kSystem;
}

QString StablePathOf(const QString& systemPath, const QString& byIdFolder) {
    const QString target = QFileInfo(systemPath).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QDir folder(byIdFolder);
    for (const QFileInfo& entry : folder.entryInfoList(QDir::System | QDir::Files, QDir::Name))
        if (entry.isSymLink() && entry.canonicalFilePath() == target)
            return entry.absoluteFilePath();
    return {};
}

QList<SerialDevice> SystemSerialDevices::Devices() const {
    QList<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.SystemPath = info.systemLocation();
        device.StablePath = StablePathOf(device.SystemPath);
        device.PortName = info.portName();
        device.Description = info.description();
        device.Manufacturer = info.manufacturer();
        device.SerialNumber = info.serialNumber();
        devices << device;
    }
    return devices;
}

} // namespace telmora
