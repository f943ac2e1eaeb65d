#pragma once

#include "config/sensor_config.h"
#include "frame_parser.h"
#include "reading_source.h"
#include "sim_options.h"

#include <chrono>
#include <optional>
#include <random>
#include <string>

namespace telmora::sim {

using Clock = std::chrono::steady_clock;

// Where the sensor's actions go: the line to the program, the run's log and the
// keeper of the image file. The model itself does no input or output.
class SensorLine {
  public:
    virtual ~SensorLine() = default;
    // A reply for the program, to leave no earlier than delay from now.
    virtual void Send(Bytes bytes, Clock::duration delay) = 0;
    // A reading; it may follow the previous reading back to back.
    virtual void Stream(Bytes bytes) = 0;
    virtual void Log(const std::string& line) = 0;
    // An end command arrived; the image is as the program left it.
    virtual void EndReceived(const RegisterImage& image) = 0;
    // The sensor drops the line (hang-up faults).
    virtual void HangUp() = 0;
};

// The sensor's side of the protocol: streams readings of its own accord, and answers
// the detection frame, the identification query and register reads and writes. From the
// first command until "E", or until the line has been quiet for the exchange time-out,
// the sensor is in a configuration exchange and streams nothing.
class SensorModel {
  public:
    SensorModel(const SimOptions& options, RegisterImage image, SensorLine& line);

    void Receive(std::span<const std::uint8_t> bytes, Clock::time_point now);

    // Sends the next reading when it is due and the line is idle, and ends an exchange
    // the program has abandoned.
    void Tick(Clock::time_point now, bool lineIdle);

    // Readings flow only while someone holds the other end open; a real line would lose
    // them anyway.
    void SetPeerPresent(bool present, Clock::time_point now);

    // When Tick next has something to do; nothing when only input can wake the sensor.
    // A reading waits for an idle line, so it counts only when the line is idle.
    std::optional<Clock::time_point> NextDeadline(bool lineIdle) const;

    const RegisterImage& Image() const { return image_; }
    long ReadingsSent() const { return readingsSent_; }
    bool InExchange() const { return inExchange_; }

  private:
    void Handle(const Received& unit);
    void HandleRegisterFrame(const Received& unit);
    void Reply(Bytes bytes);
    void SendReading(Clock::time_point now);
    void EndExchange(const std::string& why);
    void HangUp(const std::string& why);
    bool Streaming() const;
    Bytes WithGarbage(Bytes bytes);
    Bytes WithStray(Bytes bytes);
    Bytes WithDamage(Bytes frame);

    SimOptions options_;
    RegisterImage image_;
    SensorLine& line_;
    ReadingSource source_;
    FrameParser parser_;
    std::mt19937 random_;
    std::mt19937 strayRandom_;
    std::mt19937 damageRandom_;
    float countDistance_;
    Clock::duration exchangeTimeout_;
    Clock::duration readingPeriod_;

    bool inExchange_ = false;
    bool stopped_ = false; // the stop-at fault has struck in this exchange
    int echoesHeld_ = 0;   // detection echoes held back in this exchange (echo-burst)
    Bytes heldEchoes_;
    bool hungUp_ = false;
    bool peerPresent_ = false;
    Clock::time_point lastReceiveAt_{};
    Clock::time_point nextReadingAt_{};
    long readingsSent_ = 0;
};

// The five characters a family B sensor answers to "T00". The program only counts them.
inline constexpr const char* kIdentReply = "KB001";

} // namespace telmora::sim
