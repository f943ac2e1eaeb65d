#include "link/ui/sensor_link.h"

#include "link/line_scale.h"
#include "link/link_commands.h"
#include "link/link_messages.h"
#include "link/link_protocol.h"
#include "link/port_lock.h"
#include "link/port_map.h"
#include "link/ui/sensor_line.h"
#include "link/ui/serial_devices.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QSerialPort>
#include <QTimer>

namespace telmora {

namespace {

// LinkState while a write waits for its replies.
constexpr int kWriteLinkState = 4;
// How long the end command may take to leave when the program ends.
constexpr int kEndWriteMs = 100;
// How often a port lost with its device looks for the device's return.
constexpr int kReplugPollMs = 1000;

} // namespace

// The Qt ends of the protocol's seams: the serial port, Timer1, the listener that turns
// events into signals, and the wait in a local event loop.
class SensorLink::Private : public SensorLineEnds, public LinkListener, public ExchangeWaiter {
  public:
    Private(SensorLink& owner, LinkHost& host)
        : Q(owner), Host(host), Protocol(*this, *this, *this), Commands(Protocol, host, *this),
          Finder(Protocol) {
        ReplugWatch.setInterval(kReplugPollMs);
    }

    void OnReading(float distance) override { emit Q.Reading(distance); }
    void OnProgress(int value) override {
        emit Q.ProgressChanged(value);
        SetProgressShown(true);
    }
    void OnProgressHidden() override { SetProgressShown(false); }
    void OnLineScale(float countDistance, bool changed) override {
        if (changed)
            emit Q.LineScaleChanged(countDistance);
        if (Protocol.RunningExchange() != Exchange::None)
            ShowNote(ScaleKnownText(countDistance));
    }
    void OnExchangeEnded(const ExchangeResult& result) override {
        if (Finder.ExchangeEnded(result))
            ShowNote(ScaleFoundText(Finder, Protocol.LineCountDistance()));
        if (Loop) {
            LoopEnded = true;
            Loop->quit();
        }
    }

    void WaitWhileExchangeRuns() override {
        // The receive handler and Timer1 run inside this loop; so do the user's other
        // commands, which the window keeps disabled while busy.
        while (Protocol.ExchangeRunning() && !LeaveRequested) {
            QEventLoop local;
            Loop = &local;
            LoopEnded = false;
            local.exec();
            Loop = nullptr;
            // Only the application's exit ends the loop otherwise, and from then on every
            // new loop returns at once: waiting on would spin and never end the program.
            if (!LoopEnded && Protocol.ExchangeRunning())
                Leave();
        }
    }
    bool Leaving() const override { return LeaveRequested; }

    void Leave() {
        Finder.GiveWay();
        LeaveRequested = true;
        StopWatching();
        if (!Protocol.ExchangeRunning())
            return;
        if (Protocol.LinkState() != kWriteLinkState) {
            Protocol.SendEnd();
            Port.waitForBytesWritten(kEndWriteMs);
        }
        CloseQuietly(); // ends the exchange as a lost port does, silently
    }

    void SetProgressShown(bool shown) {
        if (ProgressShown == shown)
            return;
        ProgressShown = shown;
        emit Q.ProgressVisibleChanged(shown);
    }

    QString PortLabel() const { return QStringLiteral("Comm%1 (%2)").arg(PortNumber).arg(Device); }

    void Receive() {
        const QByteArray data = Port.readAll();
        // Once leaving, a late reply must not send the next frame after the end command.
        if (data.isEmpty() || LeaveRequested)
            return;
        emit Q.DataReceived();
        Protocol.Receive(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    }

    void NoticeError(QSerialPort::SerialPortError error) {
        // Failures to open are reported by openPort; a time-out is no failure.
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !Port.isOpen() ||
            Failing)
            return;
        Failing = true;
        const QString reason = Port.errorString();
        // Closed from the event loop, not from inside the port's own notification.
        QMetaObject::invokeMethod(
            &Q, [this, reason] { Fail(reason); }, Qt::QueuedConnection);
    }

    // The port failed while open (an adapter unplugged, the far end hung up): close it,
    // end a running exchange as a late reply would, and tell the window once.
    void Fail(const QString& reason) {
        if (!Port.isOpen())
            return;
        // The system's reason is often no help ("Inappropriate ioctl for device" for a
        // hang-up), so the usual cause is named first.
        QString message = QStringLiteral("%1 stopped working; it may have been disconnected "
                                         "(%2). The port is closed.")
                              .arg(PortLabel(), reason);
        // A scale search is no exchange the user asked for: its loss needs no words.
        const bool exchangeRan = Protocol.ExchangeRunning() && Busy;
        const bool watching = !LeaveRequested;
        if (watching)
            Lost = {PortNumber, Device, Opened.StablePath, Opened.SerialNumber, false};
        const QString label = PortLabel();
        CloseQuietly();
        if (exchangeRan) {
            const std::string stopped = StoppedExchangeText(Protocol.LastResult());
            if (!stopped.empty())
                message += QLatin1Char(' ') + QString::fromStdString(stopped);
        }
        // The note comes first: the window may hold the warning open for a while.
        if (watching) {
            ReplugWatch.start();
            Host.ShowStatus(QStringLiteral("The sensor on %1 was unplugged; waiting for it to "
                                           "return")
                                .arg(label)
                                .toStdString());
        }
        emit Q.PortError(message);
    }

    // The device a lost port led to, when it has come back: under the name the port was
    // opened by (a by-id or other link, or the device itself), under the stable name found
    // when it opened, or as the device with the same serial number wherever it now is.
    // Only once it has been seen gone, so that a device still present but failing is not
    // reopened again and again.
    QString ReturnedDevice() {
        QStringList names{Lost.Device};
        if (!Lost.StablePath.isEmpty())
            names << Lost.StablePath;
        if (!Lost.SerialNumber.isEmpty())
            for (const SerialDevice& device : Source->Devices())
                if (device.SerialNumber == Lost.SerialNumber)
                    names << device.MapPath();
        for (const QString& name : names)
            if (QFileInfo::exists(name))
                return Lost.SeenGone ? name : QString();
        Lost.SeenGone = true;
        return {};
    }

    void WatchTick() {
        if (Port.isOpen() || LeaveRequested) {
            StopWatching();
            return;
        }
        if (WatchHeld || Busy)
            return;
        const QString device = ReturnedDevice();
        if (device.isEmpty())
            return;
        // A device that is back but not ready yet (its permissions still being set) is
        // tried again on the next tick, without a word.
        if (!OpenDevice(Lost.Number, device).isEmpty())
            return;
        const QString label = PortLabel();
        StopWatching();
        Host.ShowStatus(QStringLiteral("Reopened %1").arg(label).toStdString());
    }

    void StopWatching() {
        ReplugWatch.stop();
        Lost = {};
    }

    // Opens `device` as port `number`; "" when opened, else the message for the user.
    QString OpenDevice(int number, const QString& device);

    void CloseQuietly() {
        Port.close();
        ResolvedLock.Release();
        Port.clearError();
        Failing = false;
        Protocol.PortClosed();
        const bool wasOpen = PortNumber != 0;
        PortNumber = 0;
        Device.clear();
        if (wasOpen)
            emit Q.PortOpenChanged(false);
    }

    void ShowNote(const std::string& text) {
        if (!text.empty())
            emit Q.ScaleNoteChanged(QString::fromStdString(text));
    }

    void StartScaleSearch() {
        if (FindScale && Finder.Start())
            ShowNote("Finding the sensor's distance scale");
        else
            ShowNote(ScaleAssumedText(Protocol.LineCountDistance()));
    }

    void GiveWay() {
        if (Finder.GiveWay())
            ShowNote(ScaleAssumedText(Protocol.LineCountDistance()));
    }

    void SetBusy(bool value) {
        Busy = value;
        emit Q.BusyChanged(value);
    }

    // A port lost with its device, watched for the device's return.
    struct LostPort {
        int Number = 0;
        QString Device;
        QString StablePath;
        QString SerialNumber;
        bool SeenGone = false;
    };

    SensorLink& Q;
    LinkHost& Host;
    // The serial port locks the name it was given; this lock covers the device a linked
    // name leads to, so a program naming the port by its other name sees it held.
    PortLock ResolvedLock;
    LinkProtocol Protocol;
    LinkCommands Commands;
    ScaleFinder Finder;
    bool FindScale = false;
    QEventLoop* Loop = nullptr;
    bool LoopEnded = false;
    bool LeaveRequested = false;
    int PortNumber = 0;
    QString Device;
    bool Busy = false;
    bool Failing = false;
    bool ProgressShown = false;
    // What identifies the open port's device should it go away and come back.
    SerialDevice Opened;
    LostPort Lost;
    QTimer ReplugWatch;
    bool WatchHeld = false;
    const SerialDeviceSource* Source = &SystemDevices();
};

SensorLink::SensorLink(LinkHost& host, QObject* parent)
    : QObject(parent), d_(std::make_unique<Private>(*this, host)) {
    connect(&d_->Timer1, &QTimer::timeout, this, [this] { d_->Protocol.Timer1Tick(); });
    connect(&d_->Port, &QSerialPort::readyRead, this, [this] { d_->Receive(); });
    connect(&d_->Port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { d_->NoticeError(error); });
    connect(&d_->ReplugWatch, &QTimer::timeout, this, [this] { d_->WatchTick(); });
}

void SensorLink::SetDeviceSource(const SerialDeviceSource* source) {
    d_->Source = source != nullptr ? source : &SystemDevices();
}

void SensorLink::HoldReplugWatch(bool hold) {
    d_->WatchHeld = hold;
}

bool SensorLink::IsWaitingForReplug() const {
    return d_->ReplugWatch.isActive();
}

SensorLink::~SensorLink() {
    if (d_->Port.isOpen())
        d_->Port.close();
}

bool SensorLink::OpenPort(int number) {
    if (d_->Busy)
        return false;
    d_->GiveWay();
    ClosePort();
    if (number < 1 || number > kPortCount) {
        emit PortError(
            QStringLiteral("There is no port %1; the sensor's port is one of Comm1 to Comm%2.")
                .arg(number)
                .arg(kPortCount));
        return false;
    }
    const QString device = QString::fromStdString(telmora::PortDevice(number));
    if (device.isEmpty()) {
        emit PortError(QStringLiteral("Comm%1 leads to no device. Name the sensor's serial device "
                                      "for it in %2.")
                           .arg(number)
                           .arg(QString::fromStdString(PortMapPath())));
        return false;
    }
    // The user's choice of another port ends the wait for a lost one; the same port
    // failing to open leaves the wait on.
    if (number != d_->Lost.Number)
        d_->StopWatching();
    if (const QString failure = d_->OpenDevice(number, device); !failure.isEmpty()) {
        emit PortError(failure);
        return false;
    }
    d_->StopWatching();
    return true;
}

QString SensorLink::Private::OpenDevice(int number, const QString& device) {
    // A port another program holds is left alone, and the user learns who holds it. The
    // serial port takes the same lock file itself when it opens.
    auto held = [&](const PortHolder& holder) {
        return QStringLiteral("Comm%1 (%2) is in use by %3.")
            .arg(number)
            .arg(device, QString::fromStdString(HolderText(holder)));
    };
    if (const PortHolder holder = FindPortHolder(device.toStdString()); holder.Pid != 0)
        return held(holder);
    if (PortHolder holder; !ResolvedLock.AcquireResolvedName(device.toStdString(), holder))
        return held(holder);

    SetSensorLine(Port, device);
    if (!Port.open(QIODevice::ReadWrite)) {
        const QString reason = Port.errorString();
        Port.clearError();
        ResolvedLock.Release();
        // Taken between the check and the open.
        if (const PortHolder holder = FindPortHolder(device.toStdString()); holder.Pid != 0)
            return held(holder);
        return QStringLiteral("Comm%1 (%2) could not be opened: %3.")
            .arg(number)
            .arg(device, reason);
    }
    PortNumber = number;
    Device = device;
    Opened = {};
    for (const SerialDevice& present : Source->Devices())
        if (present.IsNamedBy(device))
            Opened = present;
    if (Opened.StablePath.isEmpty())
        Opened.StablePath = StablePathOf(device);
    Protocol.PortOpened();
    emit Q.PortOpenChanged(true);
    // From the event loop, once whoever opened the port has finished: a window opening its
    // saved port while it is still being built must not have an exchange start under it.
    if (!FindScale) {
        StartScaleSearch(); // only says the scale is assumed
    } else {
        QTimer::singleShot(0, &Q, [this, number] {
            if (PortNumber == number && !Protocol.ExchangeRunning())
                StartScaleSearch();
        });
    }
    return {};
}

void SensorLink::ClosePort() {
    if (d_->Busy || !d_->Port.isOpen())
        return;
    d_->GiveWay();
    d_->CloseQuietly();
}

bool SensorLink::IsPortOpen() const {
    return d_->Port.isOpen();
}
int SensorLink::PortNumber() const {
    return d_->PortNumber;
}
QString SensorLink::PortDevice() const {
    return d_->Device;
}
bool SensorLink::IsBusy() const {
    return d_->Busy;
}
bool SensorLink::IsWriting() const {
    return d_->Protocol.ExchangeRunning() && d_->Protocol.LinkState() == kWriteLinkState;
}
void SensorLink::Leave() {
    d_->Leave();
}
const LinkProtocol& SensorLink::Protocol() const {
    return d_->Protocol;
}

void SensorLink::SetFindScaleOnOpen(bool find) {
    d_->FindScale = find;
    if (!find)
        d_->GiveWay();
}
bool SensorLink::FindsScaleOnOpen() const {
    return d_->FindScale;
}
void SensorLink::SetVerifyAfterWriting(bool verify) {
    d_->Commands.SetVerifyAfterWriting(verify);
}
bool SensorLink::VerifiesAfterWriting() const {
    return d_->Commands.VerifiesAfterWriting();
}
bool SensorLink::IsFindingScale() const {
    return d_->Finder.Running();
}
float SensorLink::LineCountDistance() const {
    return d_->Protocol.LineCountDistance();
}
void SensorLink::GiveWay() {
    d_->GiveWay();
}

void SensorLink::GetConfigurationFromSensor() {
    if (d_->Busy)
        return;
    d_->GiveWay();
    d_->SetBusy(true);
    d_->Commands.GetConfigurationFromSensor();
    d_->SetBusy(false);
}

bool SensorLink::SaveConfigurationToSensor() {
    if (d_->Busy)
        return false;
    d_->GiveWay();
    d_->SetBusy(true);
    const bool written = d_->Commands.SaveConfigurationToSensor();
    d_->SetBusy(false);
    return written;
}

ExchangeResult SensorLink::ReadSensorAside(SensorFamily family, RegisterImage& image) {
    if (d_->Busy)
        return ExchangeResult{Exchange::Detection, ExchangeOutcome::NotStarted, SensorFamily::None,
                              -1};
    d_->GiveWay();
    d_->SetBusy(true);
    const ExchangeResult result = d_->Commands.ReadSensorAside(family);
    if (result.Exchange == Exchange::Read && result.Completed())
        image = d_->Commands.SensorImage();
    d_->SetBusy(false);
    return result;
}

} // namespace telmora
