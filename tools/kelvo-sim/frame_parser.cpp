#include "frame_parser.h"

#include <numeric>

namespace telmora::sim {

namespace {
constexpr std::size_t kFrameLength = 6;
constexpr std::size_t kIdentLength = 3;
} // namespace

std::uint8_t FrameChecksum(std::span<const std::uint8_t> firstFive) {
    unsigned sum = std::accumulate(firstFive.begin(), firstFive.begin() + 5, 0u);
    return static_cast<std::uint8_t>(sum % 256);
}

Bytes BuildFrame(char letter, std::uint8_t reg, std::uint8_t value) {
    Bytes frame{static_cast<std::uint8_t>(letter), '0', '0', reg, value, 0};
    frame[5] = FrameChecksum(frame);
    return frame;
}

void FrameParser::Push(std::span<const std::uint8_t> bytes, std::vector<Received>& out) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    while (!pending_.empty() && TakeOne(out)) {
    }
}

void FrameParser::SkipFirst(std::vector<Received>& out) {
    // Consecutive stray bytes are reported as one unit.
    if (!out.empty() && out.back().Kind == ReceivedKind::Stray) {
        out.back().Bytes.push_back(pending_.front());
    } else {
        out.push_back({ReceivedKind::Stray, 0, 0, {pending_.front()}});
    }
    pending_.erase(pending_.begin());
}

bool FrameParser::TakeOne(std::vector<Received>& out) {
    const std::uint8_t first = pending_.front();
    auto take = [&](ReceivedKind kind, std::size_t length) {
        Received r{kind, 0, 0, Bytes(pending_.begin(), pending_.begin() + length)};
        if (length == kFrameLength) {
            r.Reg = pending_[3];
            r.Value = pending_[4];
        }
        pending_.erase(pending_.begin(), pending_.begin() + length);
        out.push_back(std::move(r));
        return true;
    };
    // Bytes 2 and 3 of a frame and of "T00" are the character "0"; anything else there
    // means the first byte did not start a command.
    for (std::size_t i = 1; i < std::min<std::size_t>(pending_.size(), 3); ++i) {
        if (pending_[i] != '0' && (first == 'W' || first == 'G' || first == 'P' || first == 'T')) {
            SkipFirst(out);
            return true;
        }
    }
    switch (first) {
    case 'E':
        return take(ReceivedKind::End, 1);
    case 'T':
        return pending_.size() >= kIdentLength && take(ReceivedKind::Ident, kIdentLength);
    case 'W':
    case 'G':
    case 'P': {
        if (pending_.size() < kFrameLength) {
            return false;
        }
        if (pending_[5] != FrameChecksum(pending_)) {
            return take(ReceivedKind::BadChecksum, kFrameLength);
        }
        auto kind = first == 'W'   ? ReceivedKind::Write
                    : first == 'G' ? ReceivedKind::Get
                                   : ReceivedKind::Put;
        return take(kind, kFrameLength);
    }
    default:
        SkipFirst(out);
        return true;
    }
}

} // namespace telmora::sim
