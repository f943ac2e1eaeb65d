#include "link/ui/sensor_link.h"

#include "link/line_scale.h"
#include "link/link_commands.h"
#include "link/link_messages.h"
#include "link/link_protocol.h"
#include "link/port_lock.h"
#include "link/port_map.h"

#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>

namespace telmora {

namespace {

constexpr qint32 kBaudRate = 9600;
// LinkState while a write waits for its replies.
constexpr int kWriteLinkState = 4;
// How long the end command may take to leave when the program ends.
constexpr int kEndWriteMs = 100;

} // namespace

// The Qt ends of the protocol's seams: the serial port, Timer1, the listener that turns
// events into signals, and the wait in a local event loop.
class SensorLink::Private : public LinkPort,
                            public LinkTimer,
                            public LinkListener,
                            public ExchangeWaiter {
  public:
    Private(SensorLink& owner, LinkHost& host)
        : q(owner), protocol(*this, *this, *this), commands(protocol, host, *this),
          finder(protocol) {
        timer1.setInterval(kTimer1PeriodMs);
        timer1.setTimerType(Qt::PreciseTimer);
    }

    void Write(std::string_view bytes) override {
        if (!port.isOpen())
            return;
        port.write(bytes.data(), static_cast<qint64>(bytes.size()));
        // Hand the frame to the driver now rather than on the next pass of the event
        // loop: each reply releases the next frame, so this delay would add up.
        port.flush();
    }
    void Start() override { timer1.start(); }
    void Stop() override { timer1.stop(); }

    void OnReading(float distance) override { emit q.reading(distance); }
    void OnProgress(int value) override {
        emit q.progressChanged(value);
        setProgressShown(true);
    }
    void OnProgressHidden() override { setProgressShown(false); }
    void OnLineScale(float countDistance, bool changed) override {
        if (changed)
            emit q.lineScaleChanged(countDistance);
        if (protocol.RunningExchange() != Exchange::None)
            showNote(ScaleKnownText(countDistance));
    }
    void OnExchangeEnded(const ExchangeResult& result) override {
        if (finder.ExchangeEnded(result))
            showNote(ScaleFoundText(finder, protocol.LineCountDistance()));
        if (loop) {
            loopEnded = true;
            loop->quit();
        }
    }

    void WaitWhileExchangeRuns() override {
        // The receive handler and Timer1 run inside this loop; so do the user's other
        // commands, which the window keeps disabled while busy.
        while (protocol.ExchangeRunning() && !leaving) {
            QEventLoop local;
            loop = &local;
            loopEnded = false;
            local.exec();
            loop = nullptr;
            // Only the application's exit ends the loop otherwise, and from then on every
            // new loop returns at once: waiting on would spin and never end the program.
            if (!loopEnded && protocol.ExchangeRunning())
                leave();
        }
    }
    bool Leaving() const override { return leaving; }

    void leave() {
        finder.GiveWay();
        leaving = true;
        if (!protocol.ExchangeRunning())
            return;
        if (protocol.LinkState() != kWriteLinkState) {
            protocol.SendEnd();
            port.waitForBytesWritten(kEndWriteMs);
        }
        closeQuietly(); // ends the exchange as a lost port does, silently
    }

    void setProgressShown(bool shown) {
        if (progressShown == shown)
            return;
        progressShown = shown;
        emit q.progressVisibleChanged(shown);
    }

    QString portLabel() const { return QStringLiteral("Comm%1 (%2)").arg(portNumber).arg(device); }

    void receive() {
        const QByteArray data = port.readAll();
        // Once leaving, a late reply must not send the next frame after the end command.
        if (data.isEmpty() || leaving)
            return;
        emit q.dataReceived();
        protocol.Receive(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    }

    void noticeError(QSerialPort::SerialPortError error) {
        // Failures to open are reported by openPort; a time-out is no failure.
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !port.isOpen() ||
            failing)
            return;
        failing = true;
        const QString reason = port.errorString();
        // Closed from the event loop, not from inside the port's own notification.
        QMetaObject::invokeMethod(
            &q, [this, reason] { fail(reason); }, Qt::QueuedConnection);
    }

    // The port failed while open (an adapter unplugged, the far end hung up): close it,
    // end a running exchange as a late reply would, and tell the window once.
    void fail(const QString& reason) {
        if (!port.isOpen())
            return;
        // The system's reason is often no help ("Inappropriate ioctl for device" for a
        // hang-up), so the usual cause is named first.
        QString message = QStringLiteral("%1 stopped working; it may have been disconnected "
                                         "(%2). The port is closed.")
                              .arg(portLabel(), reason);
        // A scale search is no exchange the user asked for: its loss needs no words.
        const bool exchangeRan = protocol.ExchangeRunning() && busy;
        closeQuietly();
        if (exchangeRan) {
            const std::string stopped = StoppedExchangeText(protocol.LastResult());
            if (!stopped.empty())
                message += QLatin1Char(' ') + QString::fromStdString(stopped);
        }
        emit q.portError(message);
    }

    void closeQuietly() {
        port.close();
        resolvedLock.Release();
        port.clearError();
        failing = false;
        protocol.PortClosed();
        const bool wasOpen = portNumber != 0;
        portNumber = 0;
        device.clear();
        if (wasOpen)
            emit q.portOpenChanged(false);
    }

    void showNote(const std::string& text) {
        if (!text.empty())
            emit q.scaleNoteChanged(QString::fromStdString(text));
    }

    void startScaleSearch() {
        if (findScale && finder.Start())
            showNote("Finding the sensor's distance scale");
        else
            showNote(ScaleAssumedText(protocol.LineCountDistance()));
    }

    void giveWay() {
        if (finder.GiveWay())
            showNote(ScaleAssumedText(protocol.LineCountDistance()));
    }

    void setBusy(bool value) {
        busy = value;
        emit q.busyChanged(value);
    }

    SensorLink& q;
    QSerialPort port;
    // The serial port locks the name it was given; this lock covers the device a linked
    // name leads to, so a program naming the port by its other name sees it held.
    PortLock resolvedLock;
    QTimer timer1;
    LinkProtocol protocol;
    LinkCommands commands;
    ScaleFinder finder;
    bool findScale = false;
    QEventLoop* loop = nullptr;
    bool loopEnded = false;
    bool leaving = false;
    int portNumber = 0;
    QString device;
    bool busy = false;
    bool failing = false;
    bool progressShown = false;
};

SensorLink::SensorLink(LinkHost& host, QObject* parent)
    : QObject(parent), d_(std::make_unique<Private>(*this, host)) {
    connect(&d_->timer1, &QTimer::timeout, this, [this] { d_->protocol.Timer1Tick(); });
    connect(&d_->port, &QSerialPort::readyRead, this, [this] { d_->receive(); });
    connect(&d_->port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { d_->noticeError(error); });
}

SensorLink::~SensorLink() {
    if (d_->port.isOpen())
        d_->port.close();
}

bool SensorLink::openPort(int number) {
    if (d_->busy)
        return false;
    d_->giveWay();
    closePort();
    if (number < 1 || number > kPortCount) {
        emit portError(
            QStringLiteral("There is no port %1; the sensor's port is one of Comm1 to Comm%2.")
                .arg(number)
                .arg(kPortCount));
        return false;
    }
    const QString device = QString::fromStdString(PortDevice(number));
    if (device.isEmpty()) {
        emit portError(QStringLiteral("Comm%1 leads to no device. Name the sensor's serial device "
                                      "for it in %2.")
                           .arg(number)
                           .arg(QString::fromStdString(PortMapPath())));
        return false;
    }

    // A port another program holds is left alone, and the user learns who holds it. The
    // serial port takes the same lock file itself when it opens.
    auto refuseHeld = [&](const PortHolder& holder) {
        emit portError(QStringLiteral("Comm%1 (%2) is in use by %3.")
                           .arg(number)
                           .arg(device, QString::fromStdString(HolderText(holder))));
        return false;
    };
    if (const PortHolder holder = FindPortHolder(device.toStdString()); holder.pid != 0)
        return refuseHeld(holder);
    if (PortHolder holder; !d_->resolvedLock.AcquireResolvedName(device.toStdString(), holder))
        return refuseHeld(holder);

    QSerialPort& port = d_->port;
    port.setPortName(device);
    port.setBaudRate(kBaudRate);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    if (!port.open(QIODevice::ReadWrite)) {
        const QString reason = port.errorString();
        port.clearError();
        d_->resolvedLock.Release();
        // Taken between the check and the open.
        if (const PortHolder holder = FindPortHolder(device.toStdString()); holder.pid != 0)
            return refuseHeld(holder);
        emit portError(
            QStringLiteral("Comm%1 (%2) could not be opened: %3.").arg(number).arg(device, reason));
        return false;
    }
    d_->portNumber = number;
    d_->device = device;
    d_->protocol.PortOpened();
    emit portOpenChanged(true);
    // From the event loop, once whoever opened the port has finished: a window opening its
    // saved port while it is still being built must not have an exchange start under it.
    if (!d_->findScale) {
        d_->startScaleSearch(); // only says the scale is assumed
    } else {
        QTimer::singleShot(0, this, [this, number] {
            if (d_->portNumber == number && !d_->protocol.ExchangeRunning())
                d_->startScaleSearch();
        });
    }
    return true;
}

void SensorLink::closePort() {
    if (d_->busy || !d_->port.isOpen())
        return;
    d_->giveWay();
    d_->closeQuietly();
}

bool SensorLink::isPortOpen() const {
    return d_->port.isOpen();
}
int SensorLink::portNumber() const {
    return d_->portNumber;
}
QString SensorLink::portDevice() const {
    return d_->device;
}
bool SensorLink::isBusy() const {
    return d_->busy;
}
bool SensorLink::isWriting() const {
    return d_->protocol.ExchangeRunning() && d_->protocol.LinkState() == kWriteLinkState;
}
void SensorLink::leave() {
    d_->leave();
}
const LinkProtocol& SensorLink::protocol() const {
    return d_->protocol;
}

void SensorLink::setFindScaleOnOpen(bool find) {
    d_->findScale = find;
    if (!find)
        d_->giveWay();
}
bool SensorLink::findsScaleOnOpen() const {
    return d_->findScale;
}
bool SensorLink::isFindingScale() const {
    return d_->finder.Running();
}
float SensorLink::lineCountDistance() const {
    return d_->protocol.LineCountDistance();
}
void SensorLink::giveWay() {
    d_->giveWay();
}

void SensorLink::getConfigurationFromSensor() {
    if (d_->busy)
        return;
    d_->giveWay();
    d_->setBusy(true);
    d_->commands.GetConfigurationFromSensor();
    d_->setBusy(false);
}

void SensorLink::saveConfigurationToSensor() {
    if (d_->busy)
        return;
    d_->giveWay();
    d_->setBusy(true);
    d_->commands.SaveConfigurationToSensor();
    d_->setBusy(false);
}

} // namespace telmora
