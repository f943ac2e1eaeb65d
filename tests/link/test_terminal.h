#pragma once

// A raw pseudo-terminal whose far end a test plays, and a private port mapping that points
// ports at such terminals (never at /dev/ttyS*).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace telmora::testing {

class TestTerminal {
  public:
    TestTerminal() {
        termios raw{};
        cfmakeraw(&raw);
        raw.c_cflag |= CLOCAL | CREAD;
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, &raw, nullptr) == 0) {
            path_ = QString::fromLocal8Bit(name);
            ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        }
    }
    ~TestTerminal() {
        for (int fd : {master_, slave_})
            if (fd >= 0)
                ::close(fd);
    }
    TestTerminal(const TestTerminal&) = delete;
    TestTerminal& operator=(const TestTerminal&) = delete;

    bool ok() const { return !path_.isEmpty(); }
    const QString& path() const { return path_; }
    int slave() const { return slave_; }

    // The sensor's end: what the program wrote, and bytes for the program.
    QByteArray ReadWaiting() {
        QByteArray got;
        char buffer[512];
        ssize_t n;
        while (master_ >= 0 && (n = ::read(master_, buffer, sizeof buffer)) > 0)
            got.append(buffer, static_cast<qsizetype>(n));
        return got;
    }
    void Write(const QByteArray& bytes) {
        if (master_ >= 0)
            (void)!::write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

// XDG_CONFIG_HOME pointed at a private folder whose telmora/ports names the given devices
// (an empty one as "none"), restored when the mapping ends.
class TestPortMap {
  public:
    explicit TestPortMap(const QStringList& devices) {
        old_ = qgetenv("XDG_CONFIG_HOME");
        hadOld_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
        Write(devices);
    }
    ~TestPortMap() {
        if (hadOld_)
            qputenv("XDG_CONFIG_HOME", old_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    void Write(const QStringList& devices) {
        QDir(folder_.path()).mkpath(QStringLiteral("telmora"));
        QFile file(folder_.filePath(QStringLiteral("telmora/ports")));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int n = 1; n <= devices.size(); ++n) {
            const QString device =
                devices[n - 1].isEmpty() ? QStringLiteral("none") : devices[n - 1];
            file.write(QStringLiteral("%1=%2\n").arg(n).arg(device).toLocal8Bit());
        }
    }

  private:
    QTemporaryDir folder_;
    QByteArray old_;
    bool hadOld_ = false;
};

} // namespace telmora::testing
