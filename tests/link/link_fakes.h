#pragma once

// A fake clock, Timer1 and sensor: every reply and tick is an event on the fake clock, so
// a whole exchange runs in microseconds and its timing can be checked to the millisecond.

#include "link/frames.h"
#include "link/line_scale.h"
#include "link/link_commands.h"
#include "link/link_protocol.h"
#include "stand_in_host.h"

#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace telmora::testing {

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
    std::vector<std::int64_t> ticks; // when each tick ran

  private:
    void Arm() {
        event_ = clock_.After(kTimer1PeriodMs, [this] {
            event_ = 0;
            Arm(); // the next tick unless this one stops the timer
            ticks.push_back(clock_.Now());
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

// Everything the protocol reported; exchange ends also go to the scale finder, as the
// window forwards them.
class RecordingListener : public LinkListener {
  public:
    std::vector<float> readings;
    std::vector<SensorFamily> identified;
    std::vector<int> progress;
    int progressHidden = 0;
    std::vector<std::int64_t> endTimes;
    std::vector<float> scaleChanges; // every new line scale
    const FakeClock* clock = nullptr;
    ScaleFinder* finder = nullptr;

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
};

// Waits the way the window does, by running events until Timer1 is off.
class FakeWaiter : public ExchangeWaiter {
  public:
    FakeWaiter(FakeClock& clock, const LinkProtocol& protocol)
        : clock_(clock), protocol_(protocol) {}
    void WaitWhileExchangeRuns() override {
        while (protocol_.ExchangeRunning()) {
            if (!clock_.RunNext())
                throw std::logic_error("an exchange waits but nothing is scheduled");
        }
    }

  private:
    FakeClock& clock_;
    const LinkProtocol& protocol_;
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
    FakeWaiter waiter{clock, protocol};
    LinkCommands commands{protocol, host, waiter};

    LinkBench() {
        timer.Attach(protocol);
        sensor.Attach(protocol);
        listener.clock = &clock;
        listener.finder = &finder;
        protocol.PortOpened();
    }
};

} // namespace telmora::testing
