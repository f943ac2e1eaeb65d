#include "paced_output.h"

#include <cerrno>
#include <unistd.h>

namespace telmora::sim {

void PacedOutput::Enqueue(const Bytes& bytes, Clock::time_point releaseAt, bool continuesLine) {
    // Within a few character times of the last byte, the gap is only this process
    // waking up late, not the sensor pausing.
    if (paced_ && continuesLine && releaseAt > lineFreeAt_ && releaseAt - lineFreeAt_ <= kCatchUp) {
        releaseAt = lineFreeAt_;
    }
    for (std::uint8_t b : bytes) {
        queue_.push_back({b, releaseAt});
    }
}

void PacedOutput::Clear() {
    queue_.clear();
    blocked_ = false;
}

PacedOutput::Clock::time_point PacedOutput::DueTime(const Pending& p) const {
    // A character reaches the far end when its last bit has crossed the line.
    return paced_ ? std::max(p.ReleaseAt, lineFreeAt_) + kCharTime : p.ReleaseAt;
}

std::optional<PacedOutput::Clock::time_point> PacedOutput::NextDue() const {
    if (queue_.empty()) {
        return std::nullopt;
    }
    return DueTime(queue_.front());
}

bool PacedOutput::Flush(Clock::time_point now) {
    // After a stall the line catches up by a few characters at most, not all at once.
    const Clock::time_point earliest = now - kCatchUp;
    blocked_ = false;
    while (!queue_.empty()) {
        // Gather the run of bytes that are due now, so one write carries them all.
        std::uint8_t chunk[512];
        Clock::time_point lineFreeAfter[512];
        std::size_t n = 0;
        Clock::time_point lineFree = std::max(lineFreeAt_, earliest);
        for (const Pending& p : queue_) {
            Clock::time_point due = paced_ ? std::max(p.ReleaseAt, lineFree) : p.ReleaseAt;
            if ((paced_ ? due + kCharTime : due) > now || n == sizeof chunk) {
                break;
            }
            // Each character holds the line for one character time from when it was due,
            // so a late wake-up does not slow the line down for good.
            lineFree = due + kCharTime;
            lineFreeAfter[n] = lineFree;
            chunk[n++] = p.Byte;
        }
        if (n == 0) {
            return true;
        }
        ssize_t done = ::write(fd_, chunk, n);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                blocked_ = true;
                return true;
            }
            return false;
        }
        if (done == 0) {
            blocked_ = true;
            return true;
        }
        queue_.erase(queue_.begin(), queue_.begin() + done);
        lineFreeAt_ = lineFreeAfter[done - 1];
        written_ += done;
        lastWrite_ = now;
        if (static_cast<std::size_t>(done) < n) {
            blocked_ = true;
            return true;
        }
    }
    return true;
}

} // namespace telmora::sim
