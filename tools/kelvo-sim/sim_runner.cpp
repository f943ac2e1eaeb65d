#include "sim_runner.h"

#include "peer_watch.h"
#include "sensor_image.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace telmora::sim {

namespace {

using namespace std::chrono_literals;

// Without open and close reports, look for the program this often.
constexpr auto kPeerRescan = 250ms;
// A hang-up waits this long at most for queued bytes to leave.
constexpr auto kHangUpDrain = 1s;
constexpr auto kHangUpLook = 5ms;
constexpr auto kHandOver = 20ms;

timespec TimeoutUntil(std::optional<Clock::time_point> wake, Clock::time_point now) {
    auto wait = wake ? std::max(*wake - now, Clock::duration::zero()) : Clock::duration(1h);
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    return {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

void Earliest(std::optional<Clock::time_point>& wake, std::optional<Clock::time_point> t) {
    if (t && (!wake || *t < *wake)) {
        wake = t;
    }
}

} // namespace

SimRunner::SimRunner(const SimOptions& options, RegisterImage image, SimTerminal& terminal,
                     std::FILE* log, int recordFd)
    : options_(options), terminal_(terminal), log_(log), recordFd_(recordFd), start_(Clock::now()),
      now_(start_), output_(terminal.SensorFd(), options.Paced), model_(options, image, *this) {}

void SimRunner::Stream(Bytes bytes) {
    output_.Enqueue(bytes, now_, true);
}

void SimRunner::Send(Bytes bytes, Clock::duration delay) {
    output_.Enqueue(bytes, now_ + delay, false);
}

void SimRunner::Log(const std::string& line) {
    if (log_ == nullptr) {
        return;
    }
    double seconds = std::chrono::duration<double>(now_ - start_).count();
    std::fprintf(log_, "%.3f %s\n", seconds, line.c_str());
    std::fflush(log_);
}

void SimRunner::EndReceived(const RegisterImage& image) {
    DumpImage(image);
}

void SimRunner::HangUp() {
    hangUpRequested_ = true;
}

void SimRunner::DumpImage(const RegisterImage& image) {
    if (options_.DumpImagePath.empty()) {
        return;
    }
    std::string error = SaveImageFile(options_.DumpImagePath, image);
    Log(error.empty() ? "image written to " + options_.DumpImagePath : error);
}

bool SimRunner::ReadFromProgram(Clock::time_point now) {
    std::uint8_t buffer[4096];
    for (;;) {
        ssize_t n = ::read(terminal_.SensorFd(), buffer, sizeof buffer);
        if (n > 0) {
            if (recordFd_ >= 0 && ::write(recordFd_, buffer, static_cast<std::size_t>(n)) != n) {
                Log(std::string("cannot record received bytes: ") + std::strerror(errno));
            }
            if (!options_.Paced) {
                model_.Receive(std::span(buffer, static_cast<std::size_t>(n)), now);
                continue;
            }
            // The program's bytes reach a pseudo-terminal at once; on the line each takes
            // a character time, after the one before it.
            for (ssize_t k = 0; k < n; ++k) {
                inboundFreeAt_ = std::max(inboundFreeAt_, now) + PacedOutput::kCharTime;
                inbound_.emplace_back(buffer[k], inboundFreeAt_);
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

void SimRunner::DeliverArrived(Clock::time_point now) {
    Bytes arrived;
    while (!inbound_.empty() && inbound_.front().second <= now) {
        arrived.push_back(inbound_.front().first);
        inbound_.pop_front();
    }
    if (!arrived.empty()) {
        model_.Receive(arrived, now);
    }
}

int SimRunner::Run(int signalFd) {
    PeerWatch peers(terminal_.Path());
    now_ = Clock::now();
    model_.SetPeerPresent(peers.Present(), now_);
    bool peerSeen = peers.Present();
    Clock::time_point absentSince = now_;
    Clock::time_point nextRescan = now_ + kPeerRescan;
    std::optional<Clock::time_point> hangUpBy;
    int status = 0;

    for (;;) {
        std::optional<Clock::time_point> wake = model_.NextDeadline(output_.Idle());
        if (!output_.WaitingForRoom()) {
            Earliest(wake, output_.NextDue());
        }
        if (!inbound_.empty()) {
            Earliest(wake, inbound_.front().second);
        }
        if (peers.Fd() < 0) {
            Earliest(wake, nextRescan);
        }
        if (options_.ExitOnCloseMs && peerSeen && !peers.Present()) {
            Earliest(wake, absentSince + std::chrono::milliseconds(*options_.ExitOnCloseMs));
        }
        if (hangUpBy) {
            // Nothing tells when the program has read the last bytes; look again shortly.
            Earliest(wake, std::min(*hangUpBy, Clock::now() + kHangUpLook));
        }

        pollfd fds[3] = {
            {terminal_.SensorFd(),
             static_cast<short>(POLLIN | (output_.WaitingForRoom() ? POLLOUT : 0)), 0},
            {signalFd, POLLIN, 0},
            {peers.Fd(), POLLIN, 0},
        };
        timespec timeout = TimeoutUntil(wake, Clock::now());
        if (ppoll(fds, 3, &timeout, nullptr) < 0 && errno != EINTR) {
            Log(std::string("poll failed: ") + std::strerror(errno));
            status = 1;
            break;
        }
        now_ = Clock::now();

        if (fds[1].revents & POLLIN) {
            signalfd_siginfo info{};
            if (::read(signalFd, &info, sizeof info) == sizeof info) {
                Log("signal " + std::to_string(info.ssi_signo) + "; stopping");
            }
            break;
        }
        if ((fds[2].revents & POLLIN) || (peers.Fd() < 0 && now_ >= nextRescan)) {
            nextRescan = now_ + kPeerRescan;
            bool wasPresent = peers.Present();
            if (peers.Refresh() != wasPresent) {
                model_.SetPeerPresent(peers.Present(), now_);
                peerSeen = peerSeen || peers.Present();
                if (!peers.Present()) {
                    // Bytes for a program that has gone would greet the next one.
                    // What the program sent before it closed is still on the line.
                    output_.Clear();
                    terminal_.DiscardUnread();
                    absentSince = now_;
                }
            }
        }
        if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) && !ReadFromProgram(now_)) {
            Log(std::string("cannot read the terminal: ") + std::strerror(errno));
            status = 1;
            break;
        }
        DeliverArrived(now_);
        model_.Tick(now_, output_.Idle());
        if (!output_.Flush(now_)) {
            Log(std::string("cannot write the terminal: ") + std::strerror(errno));
            status = 1;
            break;
        }
        if (hangUpRequested_) {
            if (!hangUpBy) {
                hangUpBy = now_ + kHangUpDrain;
            }
            // A line drop loses what the program has not read yet, so the sensor lets
            // its last bytes arrive first, as a real line would have delivered them. The
            // terminal counts written bytes as unread only a moment after the write.
            const bool delivered = output_.Idle() && now_ - output_.LastWrite() >= kHandOver &&
                                   terminal_.Unread() == 0;
            if (delivered || now_ >= *hangUpBy) {
                Log("line closed");
                break;
            }
        }
        if (options_.ExitOnCloseMs && peerSeen && !peers.Present() &&
            now_ - absentSince >= std::chrono::milliseconds(*options_.ExitOnCloseMs)) {
            Log("other end closed for " + std::to_string(*options_.ExitOnCloseMs) + " ms; exiting");
            break;
        }
    }
    terminal_.Close();
    DumpImage(model_.Image());
    return status;
}

} // namespace telmora::sim
