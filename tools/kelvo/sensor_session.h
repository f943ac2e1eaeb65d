#pragma once

#include "config/sensor_config.h"
#include "link/link_protocol.h"
#include "serial_port.h"

#include <chrono>
#include <functional>

// The link to one sensor for one kelvo run: the receive handler and exchanges of the core
// driven by a poll() loop on the serial port, with Timer1 on the monotonic clock. Each
// exchange call returns when the exchange has ended, as the window's commands do.
namespace telmora::kelvo {

// Timer1: once started it ticks every 100 ms until stopped; a start begins a full period.
class MonotonicTimer final : public LinkTimer {
  public:
    using Clock = std::chrono::steady_clock;

    void Start() override;
    void Stop() override { enabled_ = false; }
    bool Enabled() const { return enabled_; }
    Clock::time_point Due() const { return due_; }
    // The tick due has been handled: the next falls one period later, never in the past.
    void Ticked(Clock::time_point now);

  private:
    bool enabled_ = false;
    Clock::time_point due_{};
};

enum class SessionStop {
    Done,        // the exchange ended, or the reading handler asked to stop
    Interrupted, // Ctrl-C or SIGTERM
    PortLost,    // the line hung up or failed
};

class SensorSession final : private LinkListener {
  public:
    // `port` must be open and outlive the session. Readings are converted in the line
    // scale, 0.003384 inch per count until a read or write of the sensor's range flags.
    explicit SensorSession(SerialPort& port);

    // The exchanges; each waits until it has ended. After an interrupt they return at
    // once with the result so far (Stop() tells).
    ExchangeResult DetectSensor();
    ExchangeResult ReadConfiguration(SensorFamily family);
    ExchangeResult WriteConfiguration(SensorFamily family, const RegisterImage& image);
    void SendEnd();

    // The registers the last read filled.
    const RegisterImage& Image() const { return protocol_.Image(); }

    using ReadingHandler = std::function<bool(float distance)>;
    // Follows the measurement stream, handing each reading (inches, 0 or less for a lost
    // echo) to `handler` until it returns false, the user interrupts or the port is lost.
    SessionStop FollowStream(ReadingHandler handler);

    // Why the last wait ended.
    SessionStop Stop() const { return stop_; }
    std::string PortFailure() const;

  private:
    ExchangeResult Wait();
    // Waits for characters or the next tick and handles what came; false when the wait
    // has to end (interrupt, port lost).
    bool Step();
    void OnReading(float distance) override;

    SerialPort& port_;
    MonotonicTimer timer_;
    LinkProtocol protocol_;
    ReadingHandler readingHandler_;
    bool readingStop_ = false;
    SessionStop stop_ = SessionStop::Done;
    std::string received_;
};

} // namespace telmora::kelvo
