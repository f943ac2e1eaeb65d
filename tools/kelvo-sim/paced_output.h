#pragma once

#include "frame_parser.h"

#include <chrono>
#include <deque>
#include <optional>

namespace telmora::sim {

// The sensor's transmitter: bytes leave in order, each no earlier than its message's
// release time and, when paced, one character time after the one before, as on a 9600
// baud line, where a character arrives one character time after it starts. Writes never block; what
// the terminal cannot take now waits in the queue.
class PacedOutput {
  public:
    using Clock = std::chrono::steady_clock;

    // A character at 9600 baud: a start bit, 8 data bits and a stop bit.
    static constexpr Clock::duration kCharTime = std::chrono::nanoseconds(1'041'667);
    // How far the line may catch up after this process woke up late.
    static constexpr Clock::duration kCatchUp = 5 * kCharTime;

    PacedOutput(int fd, bool paced) : fd_(fd), paced_(paced) {}

    // A message that continues the line (a reading after a reading) may start right
    // where the previous one ended, even if this process noticed the end a little late.
    void Enqueue(const Bytes& bytes, Clock::time_point releaseAt, bool continuesLine);

    // Writes everything that is due; returns false when the terminal has gone.
    bool Flush(Clock::time_point now);

    // Drops what is waiting, when nobody is there to receive it.
    void Clear();

    bool Idle() const { return queue_.empty(); }
    // The time the next byte is written, if one waits for its time rather than for room.
    std::optional<Clock::time_point> NextDue() const;
    // True when the terminal was full at the last flush.
    bool WaitingForRoom() const { return blocked_; }
    long long BytesWritten() const { return written_; }
    Clock::time_point LastWrite() const { return lastWrite_; }

  private:
    struct Pending {
        std::uint8_t Byte;
        Clock::time_point ReleaseAt;
    };

    Clock::time_point DueTime(const Pending& p) const;

    int fd_;
    bool paced_;
    std::deque<Pending> queue_;
    Clock::time_point lineFreeAt_{};
    bool blocked_ = false;
    long long written_ = 0;
    Clock::time_point lastWrite_{};
};

} // namespace telmora::sim
