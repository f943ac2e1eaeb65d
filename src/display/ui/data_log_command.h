#pragma once

#include "display/data_log.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTime>

#include <functional>

class QAction;
class QWidget;

namespace telmora {

// "&Log Data" / "&StopLogging": records every reading with the time of day in a text file
// the user chooses. Each line is on disk as soon as it is written; a write that fails
// stops the log and tells the user.
class DataLogCommand : public QObject {
    Q_OBJECT
  public:
    using Clock = std::function<QTime()>;

    // `window` parents the dialogs; `clock` gives the time of day (the system clock when
    // empty).
    explicit DataLogCommand(QWidget* window, Clock clock = {});

    // The menu entry whose caption follows the log's state.
    void SetMenuEntry(QAction* mnuLogDataToFile);

    // The menu command: stops a running log, or asks for a file and starts one.
    void mnuLogDataToFileClick();
    // Starts a log in `path` without asking (the file is emptied). False, after telling
    // the user why, when the file cannot be created.
    bool StartLog(const QString& path);
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
};

} // namespace telmora
