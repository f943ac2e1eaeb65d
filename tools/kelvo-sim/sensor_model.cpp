#include "sensor_model.h"

#include "sensor_image.h"

#include <algorithm>
#include <utility>

namespace telmora::sim {

namespace {

std::string BytesText(const Bytes& bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        text += (text.empty() ? "" : " ") + std::to_string(b);
    }
    return text;
}

std::string FrameText(const Received& unit) {
    return std::string(1, static_cast<char>(unit.Bytes[0])) + " " + std::to_string(unit.Reg) + " " +
           std::to_string(unit.Value);
}

} // namespace

SensorModel::SensorModel(const SimOptions& options, RegisterImage image, SensorLine& line)
    : options_(options), image_(image), line_(line), source_(options.Pattern),
      random_(options.Seed), strayRandom_(options.Faults.StraySeed.value_or(options.Seed)),
      damageRandom_(options.Faults.DamageSeed.value_or(options.Seed)),
      countDistance_(CountDistanceOf(image, options.Family, kCountDistanceNormal)),
      exchangeTimeout_(std::chrono::milliseconds(options.ExchangeTimeoutMs)),
      readingPeriod_(options.Rate > 0 ? std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>(1.0 / options.Rate))
                                      : Clock::duration::zero()) {}

void SensorModel::SetPeerPresent(bool present, Clock::time_point now) {
    if (present == peerPresent_) {
        return;
    }
    peerPresent_ = present;
    line_.Log(present ? "other end opened" : "other end closed");
    nextReadingAt_ = now;
}

bool SensorModel::Streaming() const {
    return !hungUp_ && peerPresent_ && !inExchange_ && !options_.Faults.Silent &&
           (!options_.Count || readingsSent_ < *options_.Count);
}

std::optional<Clock::time_point> SensorModel::NextDeadline(bool lineIdle) const {
    std::optional<Clock::time_point> next;
    if (inExchange_ || parser_.HasPartial()) {
        next = lastReceiveAt_ + exchangeTimeout_;
    }
    if (Streaming() && lineIdle) {
        next = next ? std::min(*next, nextReadingAt_) : nextReadingAt_;
    }
    return next;
}

void SensorModel::Receive(std::span<const std::uint8_t> bytes, Clock::time_point now) {
    if (hungUp_) {
        return;
    }
    lastReceiveAt_ = now;
    std::vector<Received> units;
    parser_.Push(bytes, units);
    for (const Received& unit : units) {
        if (hungUp_) {
            return;
        }
        Handle(unit);
    }
}

void SensorModel::Handle(const Received& unit) {
    using Kind = ReceivedKind;
    const Faults& faults = options_.Faults;
    if (unit.Kind == Kind::Stray) {
        line_.Log("rx stray bytes: " + BytesText(unit.Bytes));
        return;
    }
    if (unit.Kind == Kind::BadChecksum) {
        line_.Log("rx bad checksum: " + BytesText(unit.Bytes) + " -> dropped");
        return;
    }
    if (unit.Kind == Kind::End) {
        line_.Log("rx E");
        if (inExchange_) {
            EndExchange("E");
        }
        line_.EndReceived(image_);
        return;
    }
    if (!inExchange_) {
        inExchange_ = true;
        line_.Log("exchange begins; readings paused");
    }
    const std::string what = unit.Kind == Kind::Ident ? "T00" : FrameText(unit);
    if (faults.Silent) {
        line_.Log("rx " + what + " -> no reply (silent)");
        return;
    }
    if (stopped_) {
        line_.Log("rx " + what + " -> no reply (stopped at register " +
                  std::to_string(*faults.StopAt) + ")");
        return;
    }
    switch (unit.Kind) {
    case Kind::Write:
        if (echoesHeld_ < faults.EchoBurst) {
            // A slow adapter: the echoes pile up and then arrive together.
            heldEchoes_.insert(heldEchoes_.end(), unit.Bytes.begin(), unit.Bytes.end());
            ++echoesHeld_;
            if (echoesHeld_ < faults.EchoBurst) {
                line_.Log("rx " + what + " -> echo held (echo-burst)");
                break;
            }
            line_.Log("rx " + what + " -> " + std::to_string(echoesHeld_) + " echoes at once");
            Reply(std::exchange(heldEchoes_, {}));
            break;
        }
        line_.Log("rx " + what + " -> echo");
        Reply(unit.Bytes);
        break;
    case Kind::Ident:
        if (options_.Family == Family::A) {
            line_.Log("rx T00 -> no reply (family A)");
        } else if (faults.NoIdent) {
            line_.Log("rx T00 -> no reply (no-ident)");
        } else {
            line_.Log(std::string("rx T00 -> ") + kIdentReply);
            Reply(Bytes(kIdentReply, kIdentReply + 5));
        }
        break;
    default:
        HandleRegisterFrame(unit);
        break;
    }
}

void SensorModel::HandleRegisterFrame(const Received& unit) {
    const Faults& faults = options_.Faults;
    const std::string what = "rx " + FrameText(unit);
    if (faults.HangupAt == unit.Reg) {
        HangUp(what + " -> hang-up at register " + std::to_string(unit.Reg));
        return;
    }
    if (faults.StopAt == unit.Reg) {
        stopped_ = true;
        line_.Log(what + " -> no reply (stopped at register " + std::to_string(unit.Reg) + ")");
        return;
    }
    const bool inImage = unit.Reg < image_.size();
    if (unit.Kind == ReceivedKind::Get) {
        auto value = static_cast<std::uint8_t>(inImage ? image_[unit.Reg] : 0);
        line_.Log(what + " -> " + std::to_string(value));
        Reply(WithDamage(BuildFrame('G', unit.Reg, value)));
        return;
    }
    if (faults.IgnoreP.contains(unit.Reg)) {
        line_.Log(what + " -> acknowledged, not stored (ignore-p)");
    } else if (!inImage) {
        line_.Log(what + " -> acknowledged, no such register");
    } else {
        image_[unit.Reg] = unit.Value;
        line_.Log(what + " -> stored");
    }
    Reply(WithDamage(BuildFrame('P', unit.Reg, unit.Value)));
}

void SensorModel::Reply(Bytes bytes) {
    line_.Send(WithStray(WithGarbage(std::move(bytes))),
               std::chrono::milliseconds(options_.Faults.LateMs));
}

Bytes SensorModel::WithDamage(Bytes frame) {
    const int percent = options_.Faults.DamagePercent;
    if (percent > 0 && static_cast<int>(damageRandom_() % 100) < percent) {
        frame.back() ^= 1;
        line_.Log("damage: checksum " + std::to_string(frame.back()));
    }
    return frame;
}

Bytes SensorModel::WithStray(Bytes bytes) {
    const int percent = options_.Faults.StrayPercent;
    if (percent <= 0 || static_cast<int>(strayRandom_() % 100) >= percent) {
        return bytes;
    }
    // Any byte but a carriage return, which would start a reading.
    auto stray = static_cast<std::uint8_t>(strayRandom_() % 255);
    stray = static_cast<std::uint8_t>(stray >= '\r' ? stray + 1 : stray);
    line_.Log("stray: " + std::to_string(stray));
    bytes.insert(bytes.begin(), stray);
    return bytes;
}

Bytes SensorModel::WithGarbage(Bytes bytes) {
    const int percent = options_.Faults.GarbagePercent;
    if (percent <= 0 || static_cast<int>(random_() % 100) >= percent) {
        return bytes;
    }
    Bytes noise(1 + random_() % 3);
    for (std::uint8_t& b : noise) {
        b = static_cast<std::uint8_t>(random_() % 256);
    }
    line_.Log("garbage: " + BytesText(noise));
    noise.insert(noise.end(), bytes.begin(), bytes.end());
    return noise;
}

void SensorModel::EndExchange(const std::string& why) {
    inExchange_ = false;
    stopped_ = false;
    echoesHeld_ = 0;
    heldEchoes_.clear();
    parser_.Reset();
    line_.Log("exchange ends (" + why + "); readings resume");
}

void SensorModel::HangUp(const std::string& why) {
    hungUp_ = true;
    line_.Log(why);
    line_.HangUp();
}

void SensorModel::Tick(Clock::time_point now, bool lineIdle) {
    if (hungUp_) {
        return;
    }
    if ((inExchange_ || parser_.HasPartial()) && now - lastReceiveAt_ >= exchangeTimeout_) {
        if (inExchange_) {
            EndExchange("no command for " + std::to_string(options_.ExchangeTimeoutMs) + " ms");
        } else {
            parser_.Reset();
            line_.Log("partial command dropped after a pause");
        }
        nextReadingAt_ = now;
    }
    if (Streaming() && lineIdle && now >= nextReadingAt_) {
        SendReading(now);
    }
    const auto hangupAfter = options_.Faults.HangupAfter;
    if (hangupAfter && readingsSent_ >= *hangupAfter && peerPresent_) {
        HangUp("hang-up after " + std::to_string(readingsSent_) + " readings");
    }
}

void SensorModel::SendReading(Clock::time_point now) {
    countDistance_ = CountDistanceOf(image_, options_.Family, countDistance_);
    const std::string text =
        ReadingSource::CountsText(source_.DistanceAt(readingsSent_), countDistance_);
    Bytes bytes{'\r'};
    bytes.insert(bytes.end(), text.begin(), text.end());
    ++readingsSent_;
    line_.Log("reading " + std::to_string(readingsSent_) + " " + text);
    line_.Stream(WithGarbage(std::move(bytes)));
    if (options_.Count && readingsSent_ == *options_.Count) {
        line_.Log("stream stops after " + std::to_string(readingsSent_) + " readings");
    }
    // Keep the cadence through small delays; after a stall, carry on without a burst.
    nextReadingAt_ += readingPeriod_;
    if (nextReadingAt_ < now) {
        nextReadingAt_ = now + readingPeriod_;
    }
}

} // namespace telmora::sim
