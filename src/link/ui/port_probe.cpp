#include "link/ui/port_probe.h"

#ifdef Q_OS_WIN
#include <QSerialPort>
#else
#include <QFile>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace telmora {

#ifdef Q_OS_WIN

bool PortCanBeOpened(const QString& device) {
    // Windows opens a COM port for one program at a time and leaves its settings alone
    // until they are set.
    QSerialPort port(device);
    const bool opened = port.open(QIODevice::ReadWrite);
    port.close();
    return opened;
}

#else

bool PortCanBeOpened(const QString& device) {
    const QByteArray path = QFile::encodeName(device);
    // Non-blocking, so that a line without carrier does not hold the open; no
    // controlling terminal, so that a console is not taken over.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false; // missing, no permission, or held exclusively by another program
    bool usable = ::isatty(fd) == 1;
#ifdef TIOCGEXCL
    // Root may open a port another program holds exclusively; it is still not free.
    int exclusive = 0;
    if (usable && ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0)
        usable = false;
#endif
    // Programs that lock the device file (LOCK_EX) hold it too.
    if (usable && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        usable = false;
    ::close(fd); // also releases the lock taken above
    return usable;
}

#endif

} // namespace telmora
