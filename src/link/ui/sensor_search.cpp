#include "link/ui/sensor_search.h"

#include "link/link_protocol.h"
#include "link/port_lock.h"
#include "link/ui/sensor_line.h"

#include <QSerialPort>
#include <QTimer>

namespace telmora {

namespace {

constexpr int kEndWriteMs = 100;

} // namespace

class SensorSearch::Private : public SensorLineEnds, public LinkListener {
  public:
    explicit Private(SensorSearch& owner) : Q(owner), Protocol(*this, *this, *this) {}

    void OnExchangeEnded(const ExchangeResult& result) override {
        if (!Searching)
            return;
        // From the event loop: the protocol is still inside its own call.
        const bool found = result.Completed();
        QMetaObject::invokeMethod(
            &Q,
            [this, found, search = Generation] {
                if (search != Generation || !Searching)
                    return; // a search stopped since
                found ? Finish(Ports.at(Next - 1).first) : TryNext();
            },
            Qt::QueuedConnection);
    }

    void TryNext() {
        // Whatever heard the frames on the port just tried is told to stream again, as a
        // sensor that answered only in part would wait in command mode.
        ClosePort(Protocol.DetectTries() > 0);
        while (Searching && Next < Ports.size()) {
            const auto& [number, device] = Ports.at(Next++);
            emit Q.Trying(number, device, static_cast<int>(Next), static_cast<int>(Ports.size()));
            if (OpenPort(device) && Protocol.StartDetection())
                return;
            ClosePort(false);
        }
        Finish(0);
    }

    bool OpenPort(const QString& device) {
        PortHolder holder;
        if (FindPortHolder(device.toStdString()).Pid != 0 ||
            !Lock.AcquireResolvedName(device.toStdString(), holder))
            return false;
        SetSensorLine(Port, device);
        if (!Port.open(QIODevice::ReadWrite)) {
            Port.clearError();
            Lock.Release();
            return false;
        }
        Protocol.PortOpened();
        return true;
    }

    // `spoken`: a detection frame went out, so the sensor waits in command mode until the
    // end command tells it to stream again.
    void ClosePort(bool spoken) {
        if (!Port.isOpen())
            return;
        if (spoken) {
            Protocol.SendEnd();
            Port.waitForBytesWritten(kEndWriteMs);
        }
        Port.close();
        Port.clearError();
        Lock.Release();
        Protocol.PortClosed();
    }

    // Ends the search; false when none ran.
    bool End(int number) {
        if (!Searching)
            return false;
        Searching = false;
        ++Generation;
        const bool spoken = number != 0 || Protocol.DetectTries() > 0;
        Protocol.StopExchange();
        ClosePort(spoken);
        return true;
    }
    void Finish(int number) {
        if (End(number))
            emit Q.Finished(number);
    }

    SensorSearch& Q;
    PortLock Lock;
    LinkProtocol Protocol;
    QList<std::pair<int, QString>> Ports;
    qsizetype Next = 0;
    bool Searching = false;
    int Generation = 0;
};

SensorSearch::SensorSearch(QObject* parent)
    : QObject(parent), d_(std::make_unique<Private>(*this)) {
    connect(&d_->Timer1, &QTimer::timeout, this, [this] { d_->Protocol.Timer1Tick(); });
    connect(&d_->Port, &QSerialPort::readyRead, this, [this] {
        const QByteArray data = d_->Port.readAll();
        d_->Protocol.Receive(
            std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    });
    connect(&d_->Port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) {
                // A port that fails while tried ends its try as a silent one does.
                if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError &&
                    d_->Port.isOpen() && d_->Searching)
                    QMetaObject::invokeMethod(
                        this,
                        [this] {
                            if (d_->Searching && d_->Protocol.ExchangeRunning())
                                d_->Protocol.PortClosed();
                        },
                        Qt::QueuedConnection);
            });
}

SensorSearch::~SensorSearch() {
    d_->End(0); // silently: whoever listened may be going too
}

void SensorSearch::Start(QList<std::pair<int, QString>> ports) {
    Stop();
    d_->Ports = std::move(ports);
    d_->Next = 0;
    d_->Searching = true;
    d_->TryNext();
}

void SensorSearch::Stop() {
    d_->Finish(0);
}

bool SensorSearch::Running() const {
    return d_->Searching;
}

} // namespace telmora
