#include "link/ui/serial_devices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_LINUX
#include <QSerialPortInfo>
#endif

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

#ifdef Q_OS_LINUX

namespace {

QString ReadLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine()).trimmed();
}

// The name of the driver bound to the device at `deviceDir` or to the one above it.
QString DriverNear(const QString& deviceDir) {
    for (const QString& dir : {deviceDir, deviceDir + QStringLiteral("/..")}) {
        const QString driver = QFileInfo(dir + QStringLiteral("/driver")).symLinkTarget();
        if (!driver.isEmpty())
            return QFileInfo(driver).fileName();
    }
    return {};
}

} // namespace

// The kernel's device tables, read without opening any device: opening one to ask what it
// is could disturb it (a console) or hang on it.
QList<SerialDevice> SystemSerialDevices::Devices() const {
    const QString classDir = QStringLiteral("/sys/class/tty");
    // A terminal that is the system console is never the sensor's line.
    const QStringList consoles =
        ReadLine(classDir + QStringLiteral("/console/active")).split(QLatin1Char(' '));
    QList<SerialDevice> devices;
    for (const QString& name :
         QDir(classDir).entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString deviceDir =
            QFileInfo(classDir + QLatin1Char('/') + name + QStringLiteral("/device"))
                .canonicalFilePath();
        const QString path = QStringLiteral("/dev/") + name;
        // Only terminals backed by hardware; the legacy serial driver lists ports that
        // may not exist, and only opening them would tell.
        if (deviceDir.isEmpty() || consoles.contains(name) || !QFileInfo::exists(path) ||
            DriverNear(deviceDir) == QStringLiteral("serial8250"))
            continue;
        SerialDevice device;
        device.SystemPath = path;
        device.StablePath = StablePathOf(path);
        device.PortName = name;
        // A USB adapter's own texts sit on the USB device a few levels up.
        QDir up(deviceDir);
        for (int level = 0; level < 5 && !up.exists(QStringLiteral("idVendor")); ++level)
            up.cdUp();
        if (up.exists(QStringLiteral("idVendor"))) {
            device.Description = ReadLine(up.filePath(QStringLiteral("product")));
            device.Manufacturer = ReadLine(up.filePath(QStringLiteral("manufacturer")));
            device.SerialNumber = ReadLine(up.filePath(QStringLiteral("serial")));
        }
        devices << device;
    }
    return devices;
}

#else

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

#endif

} // namespace telmora
