#include "link/ui/port_probe.h"

#include "link/port_lock.h"

#ifdef Q_OS_WIN
#include <QSerialPort>
#else
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace telmora {

namespace {

PortCheck InUse(const QString& holder = QString()) {
    QString reason = QStringLiteral("in use by another program");
    if (!holder.isEmpty())
        reason += QStringLiteral(" (%1)").arg(holder);
    return {PortState::InUse, reason};
}

PortCheck NotPresent() {
    return {PortState::NotPresent, QStringLiteral("not present")};
}

} // namespace

#ifdef Q_OS_WIN

PortCheck CheckPort(const QString& device) {
    if (device.isEmpty())
        return {PortState::NotMapped, QStringLiteral("not mapped")};
    // Windows opens a COM port for one program at a time and leaves its settings alone
    // until they are set.
    QSerialPort port(device);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return {PortState::Usable, {}};
    }
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return NotPresent();
    case QSerialPort::PermissionError:
        return InUse();
    default:
        return {PortState::Unusable,
                QStringLiteral("cannot be opened: %1").arg(port.errorString())};
    }
}

#else

PortCheck CheckPort(const QString& device) {
    if (device.isEmpty())
        return {PortState::NotMapped, QStringLiteral("not mapped")};
    const QByteArray path = QFile::encodeName(device);
    struct stat status {};
    if (::stat(path.constData(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR
                   ? NotPresent()
                   : PortCheck{PortState::Unusable,
                               QStringLiteral("cannot be opened: %1")
                                   .arg(QString::fromLocal8Bit(std::strerror(errno)))};
    // A lock file names its holder; the open below could not.
    if (const PortHolder holder = FindPortHolder(device.toStdString()); holder.Pid != 0)
        return InUse(QString::fromStdString(HolderText(holder)));

    // Non-blocking, so that a line without carrier does not hold the open; no
    // controlling terminal, so that a console is not taken over.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == EBUSY)
            return InUse(); // held exclusively
        if (error == ENOENT || error == ENXIO || error == ENODEV)
            return NotPresent(); // gone since, or a node without its device
        return {PortState::Unusable, QStringLiteral("cannot be opened: %1")
                                         .arg(QString::fromLocal8Bit(std::strerror(error)))};
    }
    PortCheck check{PortState::Usable, {}};
    if (::isatty(fd) != 1)
        check = {PortState::Unusable, QStringLiteral("not a serial device")};
#ifdef TIOCGEXCL
    // Root may open a port another program holds exclusively; it is still not free.
    int exclusive = 0;
    if (check.Usable() && ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0)
        check = InUse();
#endif
    // Programs that lock the device file (LOCK_EX) hold it too.
    if (check.Usable() && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        check = InUse();
    ::close(fd); // also releases the lock taken above
    return check;
}

#endif

} // namespace telmora
