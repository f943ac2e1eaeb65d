#include "link/link_protocol.h"

#include "config/number_text.h"
#include "link/frames.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace telmora {

namespace {

// ReceiveState values (0: no port opened yet).
constexpr std::int16_t kStateStream = 1;
constexpr std::int16_t kStateEchoFirst = 2; // 2 to 7: one byte of the detection frame each
constexpr std::int16_t kStateEchoLast = 7;
constexpr std::int16_t kStateIdentification = 8;
constexpr std::int16_t kStateReadReply = 9;
constexpr std::int16_t kStateWriteReply = 10;

// LinkState values: what a Timer1 tick means.
constexpr std::int16_t kLinkDetecting = 1;
constexpr std::int16_t kLinkIdentifying = 2;
constexpr std::int16_t kLinkReading = 3;
constexpr std::int16_t kLinkWriting = 4;

// The fifth byte of a "G" reply carries the register's value.
constexpr std::size_t kReplyValueByte = 4;

// The reading's count times CountDistance, as a single. A count too large for the
// result to be a finite single (a garbled reading with an exponent) is taken as a lost
// echo, so no display ever gets an infinite distance.
float DistanceOfReading(std::string_view text, float countDistance) {
    const double distance = ReadNumber(text) * static_cast<double>(countDistance);
    if (!(std::fabs(distance) <= std::numeric_limits<float>::max()))
        return 0.0f;
    return static_cast<float>(distance);
}

} // namespace

LinkProtocol::LinkProtocol(LinkPort& port, LinkTimer& timer, LinkListener& listener,
                           const SensorConfig& config)
    : port_(port), timer_(timer), listener_(listener), config_(config) {}

void LinkProtocol::PortOpened() {
    portOpen_ = true;
    pending_.clear();
    receiveState_ = kStateStream;
    groupSize_ = 1;
}

void LinkProtocol::PortClosed() {
    portOpen_ = false;
    pending_.clear();
    if (timer1Enabled_) {
        StopTimer1();
        transferOk_ = false;
        BackToStream();
        EndExchange(ExchangeOutcome::PortLost, family_);
    }
}

void LinkProtocol::Receive(std::string_view bytes) {
    // Characters are handed over a complete group at a time. The group size can change
    // with every group, so it is read again before each one.
    while (true) {
        const auto size = static_cast<std::size_t>(groupSize_);
        if (!pending_.empty()) {
            if (pending_.size() < size) {
                const std::size_t missing = size - pending_.size();
                if (bytes.size() < missing) {
                    pending_.append(bytes);
                    return;
                }
                pending_.append(bytes.substr(0, missing));
                bytes.remove_prefix(missing);
            }
            const std::string group = pending_.substr(0, size);
            pending_.erase(0, size);
            HandleGroup(group);
            continue;
        }
        if (bytes.size() < size) {
            pending_.assign(bytes);
            return;
        }
        HandleGroup(bytes.substr(0, size));
        bytes.remove_prefix(size);
    }
}

void LinkProtocol::HandleGroup(std::string_view group) {
    switch (receiveState_) {
    case kStateStream:
        HandleStream(group);
        break;
    case kStateIdentification:
        HandleIdentification();
        break;
    case kStateReadReply:
        HandleReadReply(group);
        break;
    case kStateWriteReply:
        HandleWriteReply();
        break;
    default:
        if (receiveState_ >= kStateEchoFirst && receiveState_ <= kStateEchoLast)
            HandleEcho(group.front());
        break;
    }
}

void LinkProtocol::HandleStream(std::string_view group) {
    if (group.size() == 1) {
        // Each reading starts with a carriage return; anything else is skipped.
        if (group.front() == kReadingStart)
            groupSize_ = kReadingLength;
        return;
    }
    currentDistance_ = DistanceOfReading(group, config_.CountDistance);
    groupSize_ = 1;
    listener_.OnReading(currentDistance_);
}

void LinkProtocol::HandleEcho(char c) {
    // The sensor echoes the detection frame one byte at a time. A byte that does not fit
    // starts the comparison over; it is not itself taken as a new first byte.
    static const std::string frame = DetectionFrame();
    const auto expected = frame[static_cast<std::size_t>(receiveState_ - kStateEchoFirst)];
    if (c != expected) {
        receiveState_ = kStateEchoFirst;
        return;
    }
    if (receiveState_ < kStateEchoLast) {
        ++receiveState_;
        return;
    }
    // The whole frame came back: ask which family the sensor is. A family B sensor
    // answers within a period; a family A sensor stays silent.
    StopTimer1();
    port_.Write(kIdentificationQuery);
    linkState_ = kLinkIdentifying;
    StartTimer1();
    groupSize_ = kIdentificationReplyLength;
    receiveState_ = kStateIdentification;
}

void LinkProtocol::HandleIdentification() {
    StopTimer1();
    transferOk_ = true;
    groupSize_ = 1;
    receiveState_ = kStateStream;
    listener_.OnFamilyIdentified(SensorFamily::B);
    EndExchange(ExchangeOutcome::Completed, SensorFamily::B);
}

void LinkProtocol::HandleReadReply(std::string_view group) {
    StopTimer1();
    const auto value = static_cast<std::uint8_t>(group[kReplyValueByte]);
    image_[static_cast<std::size_t>(registerIndex_)] = value;
    listener_.OnRegisterStored(registerIndex_, value);
    AdvanceTransfer(NextReadRegister(family_, registerIndex_), LastReadRegister(family_),
                    &LinkProtocol::SendReadFrame);
}

void LinkProtocol::HandleWriteReply() {
    // Only the reply's arrival counts: it releases the next frame.
    StopTimer1();
    AdvanceTransfer(NextWriteRegister(family_, registerIndex_), LastWriteRegister(family_),
                    &LinkProtocol::SendWriteFrame);
}

// Moves a read or write on to register `next`: past `last` the transfer is complete,
// otherwise the progress shows it and its frame goes out under a fresh Timer1 period.
void LinkProtocol::AdvanceTransfer(int next, int last, void (LinkProtocol::*sendFrame)()) {
    registerIndex_ = static_cast<std::int16_t>(next);
    if (registerIndex_ > last) {
        listener_.OnProgressHidden();
        transferOk_ = true;
        BackToStream();
        EndExchange(ExchangeOutcome::Completed, family_);
        return;
    }
    listener_.OnProgress(registerIndex_);
    (this->*sendFrame)();
    StartTimer1();
}

void LinkProtocol::Timer1Tick() {
    if (!timer1Enabled_)
        return; // a tick already on its way when the timer was stopped
    switch (linkState_) {
    case kLinkDetecting:
        if (detectTries_ >= kMaxDetectTries) {
            StopTimer1();
            transferOk_ = false;
            BackToStream();
            EndExchange(ExchangeOutcome::NoSensor, SensorFamily::None);
            return;
        }
        port_.Write(DetectionFrame());
        ++detectTries_;
        break;
    case kLinkIdentifying:
        // The sensor echoed but did not answer "T00": only family A stays silent.
        transferOk_ = true;
        BackToStream();
        StopTimer1();
        listener_.OnFamilyIdentified(SensorFamily::A);
        EndExchange(ExchangeOutcome::Completed, SensorFamily::A);
        break;
    case kLinkReading:
    case kLinkWriting:
        StopTimer1();
        BackToStream();
        EndExchange(ExchangeOutcome::ReplyLate, family_);
        break;
    default:
        break;
    }
}

bool LinkProtocol::StartDetection() {
    if (timer1Enabled_)
        return false;
    BeginExchange(Exchange::Detection, SensorFamily::None);
    groupSize_ = 1;
    receiveState_ = kStateEchoFirst;
    detectTries_ = 0;
    linkState_ = kLinkDetecting;
    StartTimer1();
    return true;
}

bool LinkProtocol::StartRead(SensorFamily family) {
    if (timer1Enabled_ || family == SensorFamily::None)
        return false;
    BeginExchange(Exchange::Read, family);
    linkState_ = kLinkReading;
    receiveState_ = kStateReadReply;
    transferOk_ = false;
    registerIndex_ = static_cast<std::int16_t>(FirstRegister(family));
    groupSize_ = kRegisterReplyLength;
    SendReadFrame();
    StartTimer1();
    return true;
}

bool LinkProtocol::StartWrite(SensorFamily family, const RegisterImage& image) {
    if (timer1Enabled_ || family == SensorFamily::None)
        return false;
    BeginExchange(Exchange::Write, family);
    image_ = image;
    linkState_ = kLinkWriting;
    receiveState_ = kStateWriteReply;
    registerIndex_ = static_cast<std::int16_t>(FirstRegister(family));
    groupSize_ = kRegisterReplyLength;
    SendWriteFrame();
    transferOk_ = false;
    StartTimer1();
    return true;
}

void LinkProtocol::SendEnd() {
    port_.Write(kEndCommand);
}

void LinkProtocol::SendReadFrame() {
    port_.Write(ReadFrame(static_cast<std::uint8_t>(registerIndex_)));
}

void LinkProtocol::SendWriteFrame() {
    // The encoders keep every element within a byte; should one not be, the nearest byte
    // value is sent rather than a wrapped one.
    const auto element = image_[static_cast<std::size_t>(registerIndex_)];
    const auto value = static_cast<std::uint8_t>(std::clamp<int>(element, 0, 255));
    port_.Write(WriteFrame(static_cast<std::uint8_t>(registerIndex_), value));
}

void LinkProtocol::StartTimer1() {
    timer1Enabled_ = true;
    timer_.Start();
}

void LinkProtocol::StopTimer1() {
    timer1Enabled_ = false;
    timer_.Stop();
}

void LinkProtocol::BackToStream() {
    groupSize_ = 1;
    receiveState_ = kStateStream;
}

void LinkProtocol::BeginExchange(Exchange exchange, SensorFamily family) {
    // Characters left over from the measurement stream would shift the reply groups.
    pending_.clear();
    exchange_ = exchange;
    family_ = family;
}

void LinkProtocol::EndExchange(ExchangeOutcome outcome, SensorFamily family) {
    lastResult_ = ExchangeResult{exchange_, outcome, family, -1};
    if (outcome != ExchangeOutcome::Completed &&
        (exchange_ == Exchange::Read || exchange_ == Exchange::Write))
        lastResult_.unansweredRegister = registerIndex_;
    exchange_ = Exchange::None;
    listener_.OnExchangeEnded(lastResult_);
}

} // namespace telmora
