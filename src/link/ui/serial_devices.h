#pragma once

#include <QList>
#include <QString>

namespace telmora {

// A serial device present on this computer, as the port dialog offers it.
struct SerialDevice {
    QString SystemPath;   // "/dev/ttyUSB0"
    QString StablePath;   // "/dev/serial/by-id/usb-FTDI_..." when one leads to it, else ""
    QString PortName;     // "ttyUSB0"
    QString Description;  // what the driver calls it, may be ""
    QString Manufacturer; // may be ""
    QString SerialNumber; // the adapter's own, may be ""

    // The path a port mapping should name: the stable one, which survives the adapter
    // moving to another socket or being numbered differently after a replug.
    QString MapPath() const { return StablePath.isEmpty() ? SystemPath : StablePath; }
    // "ttyUSB0 - FT232R USB UART (FTDI, A1234)"
    QString Caption() const;
    // Whether `path`, as a mapping names it, is this device (either of its paths, or a
    // link that leads to it).
    bool IsNamedBy(const QString& path) const;
};

// Where the serial devices present come from; tests give a list of their own.
class SerialDeviceSource {
  public:
    virtual ~SerialDeviceSource() = default;
    virtual QList<SerialDevice> Devices() const = 0;
};

// The system's list. It only reads the system's device tables: no device is opened. A
// system console is left out.
class SystemSerialDevices : public SerialDeviceSource {
  public:
    QList<SerialDevice> Devices() const override;
};

// The one system list the program shares.
const SerialDeviceSource& SystemDevices();

// The entry of `byIdFolder` that leads to `systemPath`, or "" when none does.
QString StablePathOf(const QString& systemPath,
                     const QString& byIdFolder = QStringLiteral("/dev/serial/by-id"));

} // namespace telmora
