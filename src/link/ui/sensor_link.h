#pragma once

#include "link/link_host.h"
#include "link/link_protocol.h"

#include <QObject>
#include <QString>

#include <memory>

namespace telmora {

class LinkProtocol;
class SerialDeviceSource;

// The serial link to the sensor, owned by the main window: the port (9600 baud, 8 data
// bits, no parity, one stop bit, no flow control, every byte value passed unchanged),
// Timer1, the receive handler, the two sensor commands and the line scale: inches per
// count of the sensor on the line, found when a port opens and changed only by reading
// or writing a sensor's configuration.
//
// The window connects `reading` to its displays, the progress signals to ProgressBar1,
// `busyChanged` to the commands that must wait (both sensor commands, "&ComPort",
// "Get Configuration From Disk"), and `portError` to a message box titled "Warning".
class SensorLink : public QObject {
    Q_OBJECT
  public:
    // `host` is the window; it must outlive the link, and the link must not be destroyed
    // while a command runs.
    explicit SensorLink(LinkHost& host, QObject* parent = nullptr);
    ~SensorLink() override;

    // Opens port `number` (1 to 4) on the device the port mapping names for it, closing
    // the open port first. On failure emits portError naming the port, its device and the
    // reason, and returns false; the link then has no open port. Refused while busy.
    bool OpenPort(int number);
    // A port whose device went away while open (an adapter unplugged) is watched: every
    // second the link looks for the same device, under the name it was opened by, its
    // stable /dev/serial/by-id name or its serial number, and opens it again by itself,
    // saying so in the status bar. Opening another port, or leaving, ends the watch.
    bool IsWaitingForReplug() const;
    // While held, the watch does not open the port (the port dialog is choosing one).
    void HoldReplugWatch(bool hold);
    // Where serial numbers of the devices present are looked up (the system's list unless
    // set); not owned.
    void SetDeviceSource(const SerialDeviceSource* source);

    // Closes the port (nothing happens when none is open). Refused while busy.
    void ClosePort();
    bool IsPortOpen() const;
    // The open port's number (1 to 4) and device, or 0 and "" when none is open.
    int PortNumber() const;
    QString PortDevice() const;

    // A sensor command is running; the window keeps the commands that would start
    // another exchange, change the port or load a configuration disabled meanwhile.
    bool IsBusy() const;
    // The sensor is being written: leaving now leaves it partly written.
    bool IsWriting() const;

    // The program is ending. A waiting exchange ends at once: a detection or read first
    // sends the end command so the sensor streams again; a write simply stops. No
    // exchange starts afterwards. The wait also leaves by itself when the application is
    // told to quit while it waits.
    void Leave();

    // The receive handler's state, for the window's status and for tests.
    const LinkProtocol& Protocol() const;

    // Whether opening a port starts the search for the sensor's scale (off until set).
    // The search runs in the background and tells its outcome by scaleNoteChanged.
    void SetFindScaleOnOpen(bool find);
    bool FindsScaleOnOpen() const;
    // Whether "Save Configuration To Sensor" reads the sensor back to check it (on at first).
    void SetVerifyAfterWriting(bool verify);
    bool VerifiesAfterWriting() const;
    bool IsFindingScale() const;
    float LineCountDistance() const;

  public slots:
    // "Get Configuration From Sensor" and "Save Configuration To Sensor". Each returns
    // when the command has finished; the window stays responsive meanwhile. Ignored while
    // busy. The write is true when the sensor took the configuration.
    void GetConfigurationFromSensor();
    bool SaveConfigurationToSensor();
    // For a compare: reads the sensor of `family` without touching the window (see
    // LinkCommands::ReadSensorAside) and, when the read completed, puts its registers in
    // `image`. Returns the outcome; not started while busy.
    ExchangeResult ReadSensorAside(SensorFamily family, RegisterImage& image);
    // A command is about to run: a running scale search stops at once, ending the
    // sensor's command mode if it had begun one. Every command of the link does this
    // itself.
    void GiveWay();

  signals:
    // One reading of the measurement stream, in inches (0 or less: a lost echo).
    void Reading(float distance);
    // Characters arrived from the sensor (the gauges count the silence between these).
    void DataReceived();
    // ProgressBar1: its value (a register number, 10 to 100) and whether it is shown.
    void ProgressChanged(int value);
    void ProgressVisibleChanged(bool visible);
    void BusyChanged(bool busy);
    // The port could not be opened or failed while open; the port is closed and the
    // message says which port, which device and why. The window shows it as a warning.
    void PortError(const QString& message);
    // The port was opened or closed.
    void PortOpenChanged(bool open);
    // The line scale changed; readings from now on are in the new scale.
    void LineScaleChanged(float countDistance);
    // What the window's status bar says about the scale: found, assumed, or being sought.
    void ScaleNoteChanged(const QString& note);

  private:
    class Private;
    std::unique_ptr<Private> d_;
};

} // namespace telmora
