#pragma once

#include "link/link_protocol.h"

#include <QSerialPort>
#include <QTimer>

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

// The protocol's port and Timer1 on a serial port and a Qt timer, for the link and for
// Find Sensor's search, which each drive a protocol of their own.
class SensorLineEnds : public LinkPort, public LinkTimer {
  public:
    SensorLineEnds() {
        Timer1.setInterval(kTimer1PeriodMs);
        Timer1.setTimerType(Qt::PreciseTimer);
    }

    void Write(std::string_view bytes) override {
        if (!Port.isOpen())
            return;
        Port.write(bytes.data(), static_cast<qint64>(bytes.size()));
        // Hand the frame to the driver now rather than on the next pass of the event
        // loop: each reply releases the next frame, so this delay would add up.
        Port.flush();
    }
    void Start() override { Timer1.start(); }
    void Stop() override { Timer1.stop(); }

    QSerialPort Port;
    QTimer Timer1;
};

} // namespace telmora
