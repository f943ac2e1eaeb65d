#pragma once

// Stand-ins for the link's surroundings. A fake clock, Timer1 and sensor: every reply and
// tick is an event on the fake clock, so a whole exchange runs in microseconds and its
// timing can be checked to the millisecond. For Qt programs, a pseudo-terminal whose far end
// a test plays and a port mapping that points ports at such terminals.

#include "link/frames.h"
#include "link/line_scale.h"
#include "link/link_commands.h"
#include "link/link_host.h"
#include "link/link_protocol.h"

#include <cctype>
#include <cstdint>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#ifdef QT_CORE_LIB
#include "link/ui/serial_devices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace telmora::testing {

// Range flags (register 87): family B's normal and long range, family A's long range.
inline constexpr std::uint8_t kNormalB = 128, kLongB = 160, kLongA = 32;

// The main window as the link's commands see it: the family flags, the images it was given
// or gives, and a log of every request.
class StandInHost : public LinkHost {
  public:
    SensorFamily family = SensorFamily::B;
    RegisterImage windowImage{}; // what ReadWindow hands over
    RegisterImage shownImage{};  // what ShowRecord was given
    std::vector<std::string> log;
    std::vector<std::string> warnings;

    SensorFamily SelectedFamily() const override { return family; }
    void SetFamily(SensorFamily f) override {
        family = f;
        log.push_back("SetFamily " + std::string(FamilyName(f)));
    }
    void ShowRecord(SensorFamily f, const RegisterImage& image) override {
        shownImage = image;
        log.push_back("ShowRecord " + std::string(FamilyName(f)));
    }
    RegisterImage ReadWindow(SensorFamily f) override {
        log.push_back("ReadWindow " + std::string(FamilyName(f)));
        return windowImage;
    }
    void Warn(std::string_view text) override {
        warnings.emplace_back(text);
        log.push_back("Warn " + std::string(text));
    }
    void ShowStatus(std::string_view text) override {
        log.push_back("Status " + std::string(text));
    }
};

// Discrete events in milliseconds, run in time order (same time: in scheduling order).
class FakeClock {
  public:
    std::int64_t Now() const { return now_; }

    int After(std::int64_t delay, std::function<void()> action) {
        const int id = nextId_++;
        events_.emplace(std::make_pair(now_ + delay, id), std::move(action));
        return id;
    }
    void Cancel(int id) {
        std::erase_if(events_, [id](const auto& event) { return event.first.second == id; });
    }
    // Runs the earliest event; false when none is left.
    bool RunNext() {
        if (events_.empty())
            return false;
        auto it = events_.begin();
        now_ = it->first.first;
        auto action = std::move(it->second);
        events_.erase(it);
        action();
        return true;
    }
    void RunUntil(std::int64_t time) {
        while (!events_.empty() && events_.begin()->first.first <= time)
            RunNext();
        now_ = std::max(now_, time);
    }

  private:
    std::int64_t now_ = 0;
    int nextId_ = 1;
    std::map<std::pair<std::int64_t, int>, std::function<void()>> events_;
};

// Timer1 on the fake clock: ticks every period until stopped.
class FakeTimer : public LinkTimer {
  public:
    explicit FakeTimer(FakeClock& clock) : clock_(clock) {}
    void Attach(LinkProtocol& protocol) { protocol_ = &protocol; }

    void Start() override {
        Stop();
        Arm();
    }
    void Stop() override { clock_.Cancel(std::exchange(event_, 0)); }

  private:
    void Arm() {
        event_ = clock_.After(kTimer1PeriodMs, [this] {
            event_ = 0;
            Arm(); // the next tick unless this one stops the timer
            protocol_->Timer1Tick();
        });
    }

    FakeClock& clock_;
    LinkProtocol* protocol_ = nullptr;
    int event_ = 0;
};

// One frame the program sent, with the time it left.
struct SentFrame {
    std::int64_t time;
    std::string bytes;
};

// A sensor on the far end of the line, replying on the fake clock. By default it plays
// a responsive family B sensor whose registers hold their own number plus 100.
class FakeSensor : public LinkPort {
  public:
    explicit FakeSensor(FakeClock& clock) : clock_(clock) {
        for (std::size_t k = 0; k < registers.size(); ++k)
            registers[k] = static_cast<std::uint8_t>(k + 100);
    }
    void Attach(LinkProtocol& protocol) { protocol_ = &protocol; }

    bool present = true;                    // echoes detection frames
    SensorFamily family = SensorFamily::B;  // B answers "T00"
    std::int64_t replyDelay = 3;            // milliseconds from a frame to its reply
    std::int64_t lateFromRegister = -1;     // replies for this register on come after 150 ms
    std::vector<std::string> echoOverrides; // sent instead of the first detection echoes
    std::size_t heldEchoes = 0;             // the first this many echoes come all together
    // What goes back instead of the well-formed reply to the `nth` frame (0 first) for
    // register `reg`; unset, every reply is well-formed.
    std::function<std::string(const std::string& reply, int reg, int nth)> damage;
    std::array<std::uint8_t, 129> registers{};
    std::vector<SentFrame> sent; // what the program sent

    // Characters from the sensor, at `delay` from now.
    void Send(std::string bytes, std::int64_t delay = 0) {
        clock_.After(delay, [this, bytes = std::move(bytes)] { protocol_->Receive(bytes); });
    }

    void Write(std::string_view bytes) override {
        input_.append(bytes);
        while (!input_.empty()) {
            const std::size_t length = FrameLength(input_.front());
            if (length == 0) {
                input_.erase(0, 1);
                continue;
            }
            if (input_.size() < length)
                return;
            const std::string frame = input_.substr(0, length);
            input_.erase(0, length);
            sent.push_back({clock_.Now(), frame});
            Answer(frame);
        }
    }

  private:
    static std::size_t FrameLength(char letter) {
        if (letter == 'W' || letter == 'G' || letter == 'P')
            return 6;
        return letter == 'T' ? 3 : letter == 'E' ? 1 : 0;
    }

    void Answer(const std::string& frame) {
        const auto reg = static_cast<std::uint8_t>(frame.size() > 3 ? frame[3] : 0);
        switch (frame.front()) {
        case 'W': // the echo comes back one byte at a time
            if (present)
                held_ += detectionFrames_ < echoOverrides.size() ? echoOverrides[detectionFrames_]
                                                                 : frame;
            if (++detectionFrames_ >= heldEchoes)
                SendByteByByte(std::exchange(held_, {}));
            return;
        case 'T':
            if (present && family == SensorFamily::B)
                Send("B1.08", replyDelay);
            return;
        case 'G':
        case 'P':
            if (frame.front() == 'P')
                registers[reg] = static_cast<std::uint8_t>(frame[4]);
            {
                std::string reply = CommandFrame(frame[0], reg, registers[reg]);
                if (damage)
                    reply = damage(reply, reg, asked_[reg]++);
                Send(reply, lateFromRegister >= 0 && reg >= lateFromRegister ? 150 : replyDelay);
            }
            return;
        default:
            return;
        }
    }

    void SendByteByByte(const std::string& bytes) {
        std::int64_t delay = replyDelay;
        for (char c : bytes)
            Send(std::string(1, c), delay++);
    }

    FakeClock& clock_;
    LinkProtocol* protocol_ = nullptr;
    std::string input_;
    std::size_t detectionFrames_ = 0;
    std::string held_;
    std::map<int, int> asked_;
};

// The window's side of the protocol: it records everything reported, forwards exchange
// ends to the scale finder, and waits for an exchange by running events until Timer1 is off.
class RecordingListener : public LinkListener, public ExchangeWaiter {
  public:
    std::vector<float> readings;
    std::vector<SensorFamily> identified;
    std::vector<int> progress;
    int progressHidden = 0;
    std::vector<std::int64_t> endTimes;
    std::vector<float> scaleChanges; // every new line scale
    FakeClock* clock = nullptr;
    ScaleFinder* finder = nullptr;
    const LinkProtocol* protocol = nullptr;

    void OnReading(float distance) override { readings.push_back(distance); }
    void OnFamilyIdentified(SensorFamily family) override { identified.push_back(family); }
    void OnProgress(int value) override { progress.push_back(value); }
    void OnProgressHidden() override { ++progressHidden; }
    void OnExchangeEnded(const ExchangeResult& result) override {
        endTimes.push_back(clock->Now());
        finder->ExchangeEnded(result);
    }
    void OnLineScale(float countDistance, bool changed) override {
        if (changed)
            scaleChanges.push_back(countDistance);
    }
    void WaitWhileExchangeRuns() override {
        while (protocol->ExchangeRunning())
            if (!clock->RunNext())
                throw std::logic_error("an exchange waits but nothing is scheduled");
    }
};

// The whole link core wired to the fakes.
struct LinkBench {
    FakeClock clock;
    FakeTimer timer{clock};
    FakeSensor sensor{clock};
    RecordingListener listener;
    LinkProtocol protocol{sensor, timer, listener};
    ScaleFinder finder{protocol};
    StandInHost host;
    LinkCommands commands{protocol, host, listener};

    LinkBench() {
        timer.Attach(protocol);
        sensor.Attach(protocol);
        listener.clock = &clock;
        listener.finder = &finder;
        listener.protocol = &protocol;
        protocol.PortOpened();
    }
};

// What a bench observed, as text: the frames sent (a run of frames whose registers follow
// one another at an even pace on one line), every request to the window, the progress bar,
// the result, and a reading once the clock has run on a second (nothing more may be sent).
// Each frame's checksum is checked here: a bad one shows the frame's bytes.
inline std::string Transcript(LinkBench& b) {
    b.clock.RunUntil(b.clock.Now() + 1000);
    b.listener.readings.clear();
    b.protocol.Receive("\r01000");
    std::ostringstream out;
    const auto name = [](const std::string& f) -> std::string {
        unsigned sum = 0;
        for (std::size_t k = 0; k + 1 < f.size(); ++k)
            sum += static_cast<std::uint8_t>(f[k]);
        const bool framed =
            f.size() == 6 && f.substr(1, 2) == "00" && static_cast<std::uint8_t>(f[5]) == sum % 256;
        const int reg = framed ? static_cast<std::uint8_t>(f[3]) : -1;
        const int value = framed ? static_cast<std::uint8_t>(f[4]) : -1;
        if (f == "T00" || f == "E" || (f[0] == 'W' && reg == 55 && value == 132))
            return f.substr(0, 1);
        if (framed && (f[0] == 'P' || (f[0] == 'G' && value == 0)))
            return f.substr(0, 1) + std::to_string(reg);
        std::string hex = "bytes";
        for (char c : f)
            hex += " " + std::to_string(static_cast<std::uint8_t>(c));
        return hex;
    };
    const auto& sent = b.sensor.sent;
    for (std::size_t k = 0, n = 1; k < sent.size(); k += n, n = 1) {
        const std::string first = name(sent[k].bytes);
        const auto follows = [&](std::size_t j) {
            return j < sent.size() && first.size() > 1 && std::isdigit(first[1]) &&
                   sent[j].bytes[0] == sent[k].bytes[0] &&
                   sent[j].bytes[3] == static_cast<char>(sent[k].bytes[3] + (j - k)) &&
                   sent[j].time - sent[j - 1].time == sent[k + 1].time - sent[k].time;
        };
        while (follows(k + n))
            ++n;
        out << "t" << sent[k].time << " " << first;
        if (n > 1)
            out << ".." << name(sent[k + n - 1].bytes) << " every "
                << sent[k + 1].time - sent[k].time << "ms";
        if (sent[k].bytes[0] == 'P' && first.size() > 1) {
            out << " =";
            for (std::size_t j = k; j < k + n; ++j)
                out << " " << int(static_cast<std::uint8_t>(sent[j].bytes[4]));
        }
        out << "\n";
    }
    for (const std::string& line : b.host.log)
        out << "window: " << line << "\n";
    out << "progress:";
    const auto& progress = b.listener.progress;
    for (std::size_t k = 0, n = 1; k < progress.size(); k += n, n = 1) {
        while (k + n < progress.size() && progress[k + n] == progress[k] + int(n))
            ++n;
        out << " " << progress[k];
        if (n > 1)
            out << ".." << progress[k + n - 1];
    }
    const ExchangeResult& r = b.protocol.LastResult();
    out << " (hidden " << b.listener.progressHidden << ")\nresult: exchange " << int(r.Exchange)
        << " outcome " << int(r.Outcome) << " family " << FamilyName(r.Family) << " register "
        << r.UnansweredRegister << " transfer " << (b.protocol.TransferOk() ? "ok" : "failed")
        << ", ended at";
    for (std::int64_t t : b.listener.endTimes)
        out << " t" << t;
    out << "\nidentified:";
    for (SensorFamily family : b.listener.identified)
        out << " " << FamilyName(family);
    out << ", line scale:";
    for (float scale : b.listener.scaleChanges)
        out << " " << scale;
    out << ", then \"\\r01000\" reads";
    for (float reading : b.listener.readings)
        out << " " << reading;
    out << "\n";
    return out.str();
}

#ifdef QT_CORE_LIB
// A raw pseudo-terminal; the test plays the sensor at the master end.
class TestTerminal {
  public:
    TestTerminal() {
        termios raw{};
        cfmakeraw(&raw);
        raw.c_cflag |= CLOCAL | CREAD;
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, &raw, nullptr) == 0) {
            path_ = QString::fromLocal8Bit(name);
            ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        }
    }
    ~TestTerminal() {
        for (int fd : {master_, slave_})
            if (fd >= 0)
                ::close(fd);
    }
    TestTerminal(const TestTerminal&) = delete;
    TestTerminal& operator=(const TestTerminal&) = delete;

    bool ok() const { return !path_.isEmpty(); }
    const QString& path() const { return path_; }
    int slave() const { return slave_; }

    // What the program wrote, and bytes for the program.
    QByteArray ReadWaiting() {
        QByteArray got;
        char buffer[512];
        for (ssize_t n; (n = ::read(master_, buffer, sizeof buffer)) > 0;)
            got.append(buffer, static_cast<qsizetype>(n));
        return got;
    }
    void Write(const QByteArray& bytes) {
        (void)!::write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

// XDG_CONFIG_HOME pointed at a private folder whose telmora/ports names the given devices
// (an empty one as "none"), for the life of the test program.
class TestPortMap {
  public:
    explicit TestPortMap(const QStringList& devices) {
        qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
        Write(devices);
    }
    void Write(const QStringList& devices) {
        QDir(folder_.path()).mkpath(QStringLiteral("telmora"));
        QFile file(folder_.filePath(QStringLiteral("telmora/ports")));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int n = 1; n <= devices.size(); ++n)
            file.write(QStringLiteral("%1=%2\n")
                           .arg(n)
                           .arg(devices[n - 1].isEmpty() ? QStringLiteral("none") : devices[n - 1])
                           .toLocal8Bit());
    }

    QString Path() const { return folder_.filePath(QStringLiteral("telmora/ports")); }

  private:
    QTemporaryDir folder_;
};

// The serial devices "present", as the test says.
class FakeDeviceSource : public SerialDeviceSource {
  public:
    QList<SerialDevice> devices;
    QList<SerialDevice> Devices() const override { return devices; }
};
#endif

} // namespace telmora::testing
