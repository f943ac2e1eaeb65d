#pragma once

#include <QSerialPort>

namespace telmora {

inline constexpr qint32 kSensorBaudRate = 9600;

// Sets `port` up for the sensor's line on `device`: 9600 baud, 8 data bits, no parity, one
// stop bit, no flow control.
inline void SetSensorLine(QSerialPort& port, const QString& device) {
    port.setPortName(device);
    port.setBaudRate(kSensorBaudRate);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
}

} // namespace telmora
