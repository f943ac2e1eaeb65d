#include "sensor_session.h"

#include "interrupt.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>

namespace telmora::kelvo {

namespace {
constexpr std::chrono::milliseconds kTimer1Period{kTimer1PeriodMs};
}

void MonotonicTimer::Start() {
    enabled_ = true;
    due_ = Clock::now() + kTimer1Period;
}

void MonotonicTimer::Ticked(Clock::time_point now) {
    due_ += kTimer1Period;
    if (due_ <= now) {
        due_ = now + kTimer1Period;
    }
}

SensorSession::SensorSession(SerialPort& port) : port_(port), protocol_(port, timer_, *this) {
    protocol_.PortOpened();
}

ExchangeResult SensorSession::DetectSensor() {
    protocol_.StartDetection();
    return Wait();
}

ExchangeResult SensorSession::ReadConfiguration(SensorFamily family) {
    protocol_.StartRead(family);
    return Wait();
}

ExchangeResult SensorSession::WriteConfiguration(SensorFamily family, const RegisterImage& image) {
    protocol_.StartWrite(family, image);
    return Wait();
}

void SensorSession::SendEnd() {
    protocol_.SendEnd();
}

SessionStop SensorSession::FollowStream(ReadingHandler handler) {
    readingHandler_ = std::move(handler);
    readingStop_ = false;
    stop_ = SessionStop::Done;
    while (!readingStop_ && Step()) {
    }
    readingHandler_ = nullptr;
    return stop_;
}

std::string SensorSession::PortFailure() const {
    return port_.Failed() ? port_.Failure() : "Port " + port_.Device() + " hung up";
}

ExchangeResult SensorSession::Wait() {
    stop_ = SessionStop::Done;
    while (protocol_.ExchangeRunning() && Step()) {
    }
    return protocol_.LastResult();
}

bool SensorSession::Step() {
    using Clock = MonotonicTimer::Clock;
    if (InterruptRequested()) {
        stop_ = SessionStop::Interrupted;
        return false;
    }
    timespec wait{};
    timespec* waitFor = nullptr;
    if (timer_.Enabled()) {
        const auto left = std::max(Clock::duration::zero(), timer_.Due() - Clock::now());
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        wait.tv_sec = static_cast<time_t>(ns / 1000000000);
        wait.tv_nsec = static_cast<long>(ns % 1000000000);
        waitFor = &wait;
    }
    pollfd p{port_.Descriptor(), POLLIN, 0};
    const int ready = ::ppoll(&p, 1, waitFor, WaitMask());
    if (ready < 0 && errno == EINTR) {
        if (InterruptRequested()) {
            stop_ = SessionStop::Interrupted;
            return false;
        }
        return true;
    }

    bool lost = ready < 0;
    if (ready > 0) {
        const auto status = port_.ReadAvailable(received_);
        // Characters that came before a hang-up are still handled.
        if (!received_.empty()) {
            std::string bytes;
            bytes.swap(received_);
            protocol_.Receive(bytes);
        }
        const bool hungUp = (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        lost = status == SerialPort::ReadStatus::Closed || hungUp;
    }
    if (!lost && timer_.Enabled() && Clock::now() >= timer_.Due()) {
        timer_.Ticked(Clock::now());
        protocol_.Timer1Tick();
    }
    if (lost || port_.Failed()) {
        protocol_.PortClosed();
        stop_ = SessionStop::PortLost;
        return false;
    }
    return true;
}

void SensorSession::OnReading(float distance) {
    if (readingHandler_ && !readingStop_ && !readingHandler_(distance)) {
        readingStop_ = true;
    }
}

} // namespace telmora::kelvo
