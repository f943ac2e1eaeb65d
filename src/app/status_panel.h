#pragma once

#include "config/sensor_family.h"

#include <QString>

class QLabel;
class QProgressBar;
class QStatusBar;

namespace telmora {

class SensorLink;

// The main window's status bar: the serial port and the device it stands for, the sensor
// family the window is set up for, what the link is doing, and the data log. It also holds
// ProgressBar1, shown while a configuration transfer runs.
class StatusPanel {
  public:
    explicit StatusPanel(QStatusBar* bar);

    // From here on the panel follows `link`: its port (with the reason when one could not be
    // opened), the search for a sensor, and a transfer's register in ProgressBar1 and in
    // words. `link` must outlive the status bar's connections to it.
    void FollowLink(const SensorLink& link);

    // Port `number` (1 to 4) open on `device`; number 0 means no port is open, and
    // `problem` says why when a port could not be opened.
    void ShowPort(int number, const QString& device, const QString& problem = {});
    void ShowFamily(SensorFamily family);
    // What the link is doing ("Reading configuration: register 45"); empty when idle.
    void ShowActivity(const QString& activity);
    // The log file being written, or empty when no log runs.
    void ShowLog(const QString& path);
    // Whether readings are coming: "No readings since 14:02:31", or empty while they come.
    void ShowReadings(const QString& note);
    QLabel* Readings() const { return readings_; }
    // How distances are scaled: found from the sensor, or assumed and why.
    void ShowScale(const QString& note);
    // A passing note, such as the result of a command.
    void ShowNote(const QString& note);

    QLabel* Port() const { return port_; }
    QLabel* Family() const { return family_; }
    QLabel* Activity() const { return activity_; }
    QLabel* Log() const { return log_; }
    QLabel* Scale() const { return scale_; }
    QProgressBar* Progress() const { return progress_; }

  private:
    QStatusBar* bar_;
    QLabel* port_;
    QLabel* family_;
    QLabel* readings_;
    QLabel* activity_;
    QLabel* log_;
    QLabel* scale_;
    QProgressBar* progress_;
};

} // namespace telmora
