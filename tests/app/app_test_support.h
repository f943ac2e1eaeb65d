#pragma once

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

#include "../support/modal.h"

// Helpers for the window tests: a sandbox folder whose serial ports lead nowhere, the
// simulated sensor, and control texts; modal dialogs are driven by test::NextModal.
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
    const QWidget* control = window.findChild<QWidget*>(name);
    if (control == nullptr) {
        qFatal("control %s not found", name);
    }
    return control->property("text").toString();
}

// The whole file, or nothing if it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The compare dialog `modal` as a line: its count, its rows, each marked row as
// "name window|other", and the marked rows of the text "Copy" puts on the clipboard.
inline QString CompareSummary(QWidget* modal) {
    auto* table = modal->findChild<QTableWidget*>("tblCompare");
    QStringList marked;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, 0)->text() == "*") {
            marked << table->item(row, 1)->text() + " " + table->item(row, 2)->text() + "|" +
                          table->item(row, 3)->text();
        }
    }
    modal->findChild<QPushButton*>("cmdCopy")->click();
    const QStringList copied = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    return QString("%1, %2 rows: %3; copied %4")
        .arg(modal->findChild<QLabel*>("lblDifferences")->text())
        .arg(table->rowCount())
        .arg(marked.join(", "), copied.filter(QRegularExpression("^\\*")).join(", ").simplified());
}

using test::NextModal;

// The question about unsaved edits, if it comes, answered `answer`; then `act` on the
// dialog the command opens (next).
class AnswerThen {
  public:
    AnswerThen(QMessageBox::StandardButton answer, std::function<void(QWidget*)> act)
        : question_([this, answer, act](QWidget* modal) {
              if (modal->objectName() != "msgUnsavedEdits") {
                  return act(modal);
              }
              next_ = std::make_unique<NextModal>(act);
              NextModal::Answer(modal, answer);
          }) {}
    const NextModal& Question() const { return question_; }
    QString NextName() const { return next_ ? next_->Name() : QString("no question"); }

  private:
    std::unique_ptr<NextModal> next_;
    NextModal question_;
};

} // namespace telmora::app_test
