#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>

// Helpers for the window tests: a sandbox folder whose serial ports lead nowhere, the
// simulated sensor, a way through the modal dialogs a command opens, and control texts.
namespace telmora::app_test {

// A working folder with "CustFile" naming port 1, and a port mapping (through
// XDG_CONFIG_HOME) that leads port 1 to `port1` and every other port nowhere, so no test
// opens a real serial device.
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
        // The per-user settings live here too (QSettings takes its folder only once from
        // the environment). Windows under test do not search for the distance scale
        // unless a test turns it on.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QDir(dir_.path()).filePath("config"));
        SetFindScale(false);
        QDir::setCurrent(dir_.path());
    }
    ~Sandbox() { QDir::setCurrent(previous_); }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    static void SetFindScale(bool find) {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Telmora", "Telmora")
            .setValue("link/findDistanceScaleWhenOpening", find);
    }

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

#ifdef KELVO_SIM_PATH
// The simulated sensor on its own pseudo-terminal, Path(), until destroyed.
class Simulator {
  public:
    explicit Simulator(const QStringList& args) {
        process_.setProgram(KELVO_SIM_PATH);
        process_.setArguments(QStringList{"--quiet"} + args);
        process_.start();
        if (!process_.waitForStarted(10000) || !process_.waitForReadyRead(10000)) {
            qFatal("kelvo-sim did not start");
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~Simulator() {
        process_.terminate();
        if (!process_.waitForFinished(10000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    const QString& Path() const { return path_; }

  private:
    QProcess process_;
    QString path_;
};
#endif

// The text of the box or label named `name`.
inline QString TextOf(QWidget& window, const char* name) {
    if (auto* box = window.findChild<QLineEdit*>(name)) {
        return box->text();
    }
    if (auto* label = window.findChild<QLabel*>(name)) {
        return label->text();
    }
    qFatal("control %s not found", name);
}

// "name=text" for each control `expected` names, to compare with `expected`.
inline QStringList TextsOf(QWidget& window, const QStringList& expected) {
    QStringList texts;
    for (const QString& entry : expected) {
        const QString name = entry.section('=', 0, 0);
        texts << name + "=" + TextOf(window, qPrintable(name));
    }
    return texts;
}

// The whole file, or nothing if it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Acts with `act`, which must close it, on the next modal dialog other than `below` that
// appears. A dialog still open after `deadlineMs` is closed, so a test can never hang;
// Seen() tells whether a dialog came at all.
class NextModal {
  public:
    explicit NextModal(std::function<void(QWidget*)> act, int deadlineMs = 10000,
                       const QWidget* below = nullptr) {
        QObject::connect(&timer_, &QTimer::timeout, [this, act, deadlineMs, below] {
            waited_ += timer_.interval();
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == below) {
                modal = nullptr;
            }
            if (modal != nullptr && !seen_) {
                seen_ = true;
                title_ = modal->windowTitle();
                name_ = modal->objectName();
                if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                    text_ = box->text();
                }
                act(modal);
            } else if (modal != nullptr && waited_ > deadlineMs) {
                modal->close();
            } else if ((modal == nullptr && seen_) || waited_ > deadlineMs) {
                timer_.stop();
            }
        });
        timer_.start(10);
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
    QTimer timer_;
    int waited_ = 0;
    bool seen_ = false;
    QString title_;
    QString name_;
    QString text_;
};

} // namespace telmora::app_test
