#pragma once

#include "display/data_log.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QWidget;

namespace telmora {

// "&Log Data" / "&StopLogging": records every reading with the time in a file the user
// chooses, as text lines with the time of day or as CSV with the date and milliseconds.
// Each line is on disk as soon as it is written; a write that fails stops the log and
// tells the user.
class DataLogCommand : public QObject {
    Q_OBJECT
  public:
    using Clock = std::function<QDateTime()>; // local date and time

    // `window` parents the dialogs; `clock` gives the local time (the system clock when
    // empty).
    explicit DataLogCommand(QWidget* window, Clock clock = {});

    // The menu entry whose caption follows the log's state.
    void SetMenuEntry(QAction* mnuLogDataToFile);

    // The menu command: stops a running log, or asks for a file and starts one.
    void mnuLogDataToFileClick();
    // Starts a log in `path` without asking (the file is emptied): CSV when the name ends
    // in ".csv", else text lines. False, after telling the user why, when the file cannot
    // be created.
    bool StartLog(const QString& path);
    bool StartLog(const QString& path, LogFormat format);
    void StopLog();

    bool LogActive() const { return log_.IsOpen(); }
    QString Path() const { return QString::fromStdString(log_.Path()); }

    // The line writer: one line for a reading while the log runs.
    void WriteReading(float distance);

  signals:
    // The log started (the file's path) or stopped (an empty path).
    void LogChanged(const QString& path);

  private:
    // Asks before an existing log file is emptied; true to go ahead.
    bool ConfirmReplace(const QString& path);
    void ShowCaption();
    void Tell(const QString& text);

    QWidget* window_;
    Clock clock_;
    QPointer<QAction> menuEntry_;
    DataLogFile log_;
    LogFormat format_ = LogFormat::Text;
};

} // namespace telmora
