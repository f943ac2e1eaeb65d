#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// Helpers for the main window's tests: a sandbox folder whose serial ports lead nowhere,
// and a way through the modal dialogs and message boxes a command opens.
namespace telmora::app_test {

// A working folder with "CustFile" naming port 1, and a port mapping (through
// XDG_CONFIG_HOME) that leads port 1 to `port1` ("none": nowhere) and every other port
// nowhere, so no test opens a real serial device.
class Sandbox {
  public:
    explicit Sandbox(const QString& port1 = "none") : previous_(QDir::currentPath()) {
        if (!dir_.isValid()) {
            qFatal("no temporary folder");
        }
        QDir(dir_.path()).mkpath("config/telmora");
        Write("config/telmora/ports", ("1=" + port1 + "\n2=none\n3=none\n4=none\n").toUtf8());
        Write("CustFile", QByteArray("\x01\x00", 2));
        qputenv("XDG_CONFIG_HOME", QDir(dir_.path()).filePath("config").toLocal8Bit());
        QDir::setCurrent(dir_.path());
    }
    ~Sandbox() { QDir::setCurrent(previous_); }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    QString Path(const QString& name) const { return QDir(dir_.path()).filePath(name); }

    void Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qFatal("cannot write %s", qPrintable(name));
        }
    }

  private:
    QTemporaryDir dir_;
    QString previous_;
};

// A raw pseudo-terminal standing in for the sensor's end of the line: every byte passes
// unchanged both ways. The slave stays open here so the master keeps working when the
// program closes its port.
class SensorLine {
  public:
    SensorLine() {
        termios raw{};
        cfmakeraw(&raw);
        raw.c_cflag |= CLOCAL | CREAD;
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
            qFatal("no pseudo-terminal");
        }
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        path_ = QString::fromLocal8Bit(name);
    }
    ~SensorLine() {
        ::close(master_);
        ::close(slave_);
    }
    SensorLine(const SensorLine&) = delete;
    SensorLine& operator=(const SensorLine&) = delete;

    const QString& Path() const { return path_; }

    // What the program has sent so far.
    QByteArray Received() {
        QByteArray got;
        char buffer[512];
        ssize_t n;
        while ((n = ::read(master_, buffer, sizeof buffer)) > 0) {
            got.append(buffer, static_cast<qsizetype>(n));
        }
        return got;
    }
    void Send(const QByteArray& bytes) {
        if (::write(master_, bytes.constData(), static_cast<size_t>(bytes.size())) !=
            bytes.size()) {
            qFatal("pseudo-terminal write failed");
        }
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

// Acts on the next modal dialog that appears (a message box, a file dialog) with `act`,
// which must close it. A dialog still open after `deadlineMs` is rejected, so a test can
// never hang; the return value's Seen() tells whether a dialog came at all.
class NextModal {
  public:
    explicit NextModal(std::function<void(QWidget*)> act, int deadlineMs = 10000)
        : act_(std::move(act)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this, deadlineMs] {
            waited_ += timer_.interval();
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && !seen_) {
                seen_ = true;
                title_ = modal->windowTitle();
                name_ = modal->objectName();
                if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                    text_ = box->text();
                }
                act_(modal);
            } else if (modal != nullptr && waited_ > deadlineMs) {
                modal->close();
            } else if ((modal == nullptr && seen_) || waited_ > deadlineMs) {
                timer_.stop();
            }
        });
        timer_.start();
    }

    bool Seen() const { return seen_; }
    const QString& Title() const { return title_; }
    const QString& Name() const { return name_; }
    const QString& Text() const { return text_; }

    // Closes a message box with its OK button (or any dialog by rejecting it).
    static void Dismiss(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(QMessageBox::Ok) != nullptr ? box->button(QMessageBox::Ok)->click()
                                                    : box->reject();
        } else {
            modal->close();
        }
    }

  private:
    std::function<void(QWidget*)> act_;
    QTimer timer_;
    int waited_ = 0;
    bool seen_ = false;
    QString title_;
    QString name_;
    QString text_;
};

} // namespace telmora::app_test
