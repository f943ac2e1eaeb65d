#include "sensor_model.h"

#include "sensor_image.h"

#include <algorithm>
#include <utility>

namespace telmora::sim {

namespace {

std::string bytesText(const Bytes& bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        text += (text.empty() ? "" : " ") + std::to_string(b);
    }
    return text;
}

std::string frameText(const Received& unit) {
    return std::string(1, static_cast<char>(unit.bytes[0])) + " " + std::to_string(unit.reg) + " " +
           std::to_string(unit.value);
}

} // namespace

SensorModel::SensorModel(const SimOptions& options, RegisterImage image, SensorLine& line)
    : options_(options), image_(image), line_(line), source_(options.pattern),
      random_(options.seed), strayRandom_(options.faults.straySeed.value_or(options.seed)),
      damageRandom_(options.faults.damageSeed.value_or(options.seed)),
      countDistance_(CountDistanceOf(image, options.family, kCountDistanceNormal)),
      exchangeTimeout_(std::chrono::milliseconds(options.exchangeTimeoutMs)),
      readingPeriod_(options.rate > 0 ? std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>(1.0 / options.rate))
                                      : Clock::duration::zero()) {}

void SensorModel::SetPeerPresent(bool present, Clock::time_point now) {
    if (present == peerPresent_) {
        return;
    }
    peerPresent_ = present;
    line_.Log(present ? "other end opened" : "other end closed");
    nextReadingAt_ = now;
}

bool SensorModel::streaming() const {
    return !hungUp_ && peerPresent_ && !inExchange_ && !options_.faults.silent &&
           (!options_.count || readingsSent_ < *options_.count);
}

std::optional<Clock::time_point> SensorModel::NextDeadline(bool lineIdle) const {
    std::optional<Clock::time_point> next;
    if (inExchange_ || parser_.HasPartial()) {
        next = lastReceiveAt_ + exchangeTimeout_;
    }
    if (streaming() && lineIdle) {
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
        handle(unit);
    }
}

void SensorModel::handle(const Received& unit) {
    using Kind = Received::Kind;
    const Faults& faults = options_.faults;
    if (unit.kind == Kind::Stray) {
        line_.Log("rx stray bytes: " + bytesText(unit.bytes));
        return;
    }
    if (unit.kind == Kind::BadChecksum) {
        line_.Log("rx bad checksum: " + bytesText(unit.bytes) + " -> dropped");
        return;
    }
    if (unit.kind == Kind::End) {
        line_.Log("rx E");
        if (inExchange_) {
            endExchange("E");
        }
        line_.EndReceived(image_);
        return;
    }
    if (!inExchange_) {
        inExchange_ = true;
        line_.Log("exchange begins; readings paused");
    }
    const std::string what = unit.kind == Kind::Ident ? "T00" : frameText(unit);
    if (faults.silent) {
        line_.Log("rx " + what + " -> no reply (silent)");
        return;
    }
    if (stopped_) {
        line_.Log("rx " + what + " -> no reply (stopped at register " +
                  std::to_string(*faults.stopAt) + ")");
        return;
    }
    switch (unit.kind) {
    case Kind::Write:
        if (echoesHeld_ < faults.echoBurst) {
            // A slow adapter: the echoes pile up and then arrive together.
            heldEchoes_.insert(heldEchoes_.end(), unit.bytes.begin(), unit.bytes.end());
            ++echoesHeld_;
            if (echoesHeld_ < faults.echoBurst) {
                line_.Log("rx " + what + " -> echo held (echo-burst)");
                break;
            }
            line_.Log("rx " + what + " -> " + std::to_string(echoesHeld_) + " echoes at once");
            reply(std::exchange(heldEchoes_, {}));
            break;
        }
        line_.Log("rx " + what + " -> echo");
        reply(unit.bytes);
        break;
    case Kind::Ident:
        if (options_.family == Family::A) {
            line_.Log("rx T00 -> no reply (family A)");
        } else if (faults.noIdent) {
            line_.Log("rx T00 -> no reply (no-ident)");
        } else {
            line_.Log(std::string("rx T00 -> ") + kIdentReply);
            reply(Bytes(kIdentReply, kIdentReply + 5));
        }
        break;
    default:
        handleRegisterFrame(unit);
        break;
    }
}

void SensorModel::handleRegisterFrame(const Received& unit) {
    const Faults& faults = options_.faults;
    const std::string what = "rx " + frameText(unit);
    if (faults.hangupAt == unit.reg) {
        hangUp(what + " -> hang-up at register " + std::to_string(unit.reg));
        return;
    }
    if (faults.stopAt == unit.reg) {
        stopped_ = true;
        line_.Log(what + " -> no reply (stopped at register " + std::to_string(unit.reg) + ")");
        return;
    }
    const bool inImage = unit.reg < image_.size();
    if (unit.kind == Received::Kind::Get) {
        auto value = static_cast<std::uint8_t>(inImage ? image_[unit.reg] : 0);
        line_.Log(what + " -> " + std::to_string(value));
        reply(withDamage(BuildFrame('G', unit.reg, value)));
        return;
    }
    if (faults.ignoreP.contains(unit.reg)) {
        line_.Log(what + " -> acknowledged, not stored (ignore-p)");
    } else if (!inImage) {
        line_.Log(what + " -> acknowledged, no such register");
    } else {
        image_[unit.reg] = unit.value;
        line_.Log(what + " -> stored");
    }
    reply(withDamage(BuildFrame('P', unit.reg, unit.value)));
}

void SensorModel::reply(Bytes bytes) {
    line_.Send(withStray(withGarbage(std::move(bytes))),
               std::chrono::milliseconds(options_.faults.lateMs));
}

Bytes SensorModel::withDamage(Bytes frame) {
    const int percent = options_.faults.damagePercent;
    if (percent > 0 && static_cast<int>(damageRandom_() % 100) < percent) {
        frame.back() ^= 1;
        line_.Log("damage: checksum " + std::to_string(frame.back()));
    }
    return frame;
}

Bytes SensorModel::withStray(Bytes bytes) {
    const int percent = options_.faults.strayPercent;
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

Bytes SensorModel::withGarbage(Bytes bytes) {
    const int percent = options_.faults.garbagePercent;
    if (percent <= 0 || static_cast<int>(random_() % 100) >= percent) {
        return bytes;
    }
    Bytes noise(1 + random_() % 3);
    for (std::uint8_t& b : noise) {
        b = static_cast<std::uint8_t>(random_() % 256);
    }
    line_.Log("garbage: " + bytesText(noise));
    noise.insert(noise.end(), bytes.begin(), bytes.end());
    return noise;
}

void SensorModel::endExchange(const std::string& why) {
    inExchange_ = false;
    stopped_ = false;
    echoesHeld_ = 0;
    heldEchoes_.clear();
    parser_.Reset();
    line_.Log("exchange ends (" + why + "); readings resume");
}

void SensorModel::hangUp(const std::string& why) {
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
            endExchange("no command for " + std::to_string(options_.exchangeTimeoutMs) + " ms");
        } else {
            parser_.Reset();
            line_.Log("partial command dropped after a pause");
        }
        nextReadingAt_ = now;
    }
    if (streaming() && lineIdle && now >= nextReadingAt_) {
        sendReading(now);
    }
    const auto hangupAfter = options_.faults.hangupAfter;
    if (hangupAfter && readingsSent_ >= *hangupAfter && peerPresent_) {
        hangUp("hang-up after " + std::to_string(readingsSent_) + " readings");
    }
}

void SensorModel::sendReading(Clock::time_point now) {
    countDistance_ = CountDistanceOf(image_, options_.family, countDistance_);
    const std::string text =
        ReadingSource::CountsText(source_.DistanceAt(readingsSent_), countDistance_);
    Bytes bytes{'\r'};
    bytes.insert(bytes.end(), text.begin(), text.end());
    ++readingsSent_;
    line_.Log("reading " + std::to_string(readingsSent_) + " " + text);
    line_.Stream(withGarbage(std::move(bytes)));
    if (options_.count && readingsSent_ == *options_.count) {
        line_.Log("stream stops after " + std::to_string(readingsSent_) + " readings");
    }
    // Keep the cadence through small delays; after a stall, carry on without a burst.
    nextReadingAt_ += readingPeriod_;
    if (nextReadingAt_ < now) {
        nextReadingAt_ = now + readingPeriod_;
    }
}

} // namespace telmora::sim
