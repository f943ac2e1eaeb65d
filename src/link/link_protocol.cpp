#include "link/link_protocol.h"

#include "config/number_text.h"
#include "link/frames.h"
#include "link/line_scale.h"

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
// The letter and "00" that begin every register reply.
constexpr std::size_t kReplyStartLength = 3;

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

LinkProtocol::LinkProtocol(LinkPort& port, LinkTimer& timer, LinkListener& listener)
    : port_(port), timer_(timer), listener_(listener) {}

void LinkProtocol::PortOpened() {
    portOpen_ = true;
    pending_.clear();
    receiveState_ = kStateStream;
    groupSize_ = 1;
    SetLineCountDistance(kCountDistanceNormal);
}

void LinkProtocol::SetLineCountDistance(float countDistance) {
    const bool changed = countDistance != lineCountDistance_;
    lineCountDistance_ = countDistance;
    listener_.OnLineScale(countDistance, changed);
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
    while (!bytes.empty()) {
        if (receiveState_ >= kStateEchoFirst && receiveState_ <= kStateEchoLast) {
            // The echo is compared one character at a time; the rest may be the next state's.
            HandleEcho(bytes.front());
            bytes.remove_prefix(1);
            continue;
        }
        if (receiveState_ == kStateIdentification) {
            replies_.append(bytes);
            ScanIdentification(false);
            return;
        }
        if (receiveState_ == kStateReadReply || receiveState_ == kStateWriteReply) {
            replies_.append(bytes);
            heardBytes_ += bytes.size();
            ScanRegisterReplies();
            return;
        }
        ReceiveGroups(bytes);
        return;
    }
}

void LinkProtocol::ReceiveGroups(std::string_view bytes) {
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
    if (receiveState_ == kStateStream)
        HandleStream(group);
}

void LinkProtocol::HandleStream(std::string_view group) {
    if (group.size() == 1) {
        // Each reading starts with a carriage return; anything else is skipped.
        if (group.front() == kReadingStart)
            groupSize_ = kReadingLength;
        return;
    }
    currentDistance_ = DistanceOfReading(group, lineCountDistance_);
    groupSize_ = 1;
    listener_.OnReading(currentDistance_);
}

void LinkProtocol::HandleEcho(char c) {
    // The sensor echoes the detection frame one byte at a time. A byte that does not fit
    // starts the comparison over, as the echo's first byte when it is one: the frame's
    // first byte appears nowhere else in it, so no other restart can be missed.
    static const std::string kFrame = DetectionFrame();
    const auto expected = kFrame[static_cast<std::size_t>(receiveState_ - kStateEchoFirst)];
    if (c != expected) {
        receiveState_ = c == kFrame.front() ? kStateEchoFirst + 1 : kStateEchoFirst;
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
    replies_.clear();
}

// Echoes of earlier detection frames can still be on their way when "T00" leaves (a slow
// adapter delivers them late and all together); they are no answer, so every whole echo
// is dropped and characters that may yet grow into one wait. Five other characters make
// a family B sensor; when the period ends, fewer make family A.
void LinkProtocol::ScanIdentification(bool periodOver) {
    static const std::string kEcho = DetectionFrame();
    for (std::size_t at = replies_.find(kEcho); at != std::string::npos; at = replies_.find(kEcho))
        replies_.erase(at, kEcho.size());
    std::size_t growing = 0;
    if (!periodOver) {
        for (std::size_t n = std::min(replies_.size(), kEcho.size() - 1); n > 0; --n) {
            if (replies_.compare(replies_.size() - n, n, kEcho, 0, n) == 0) {
                growing = n;
                break;
            }
        }
    }
    const bool answered =
        replies_.size() - growing >= static_cast<std::size_t>(kIdentificationReplyLength);
    if (answered)
        IdentifyFamily(SensorFamily::B);
    else if (periodOver)
        IdentifyFamily(SensorFamily::A);
}

void LinkProtocol::IdentifyFamily(SensorFamily family) {
    StopTimer1();
    transferOk_ = true;
    BackToStream();
    listener_.OnFamilyIdentified(family);
    EndExchange(ExchangeOutcome::Completed, family);
}

ReplyMatch LinkProtocol::MatchAwaitedReply(std::string_view bytes) const {
    const auto reg = static_cast<std::uint8_t>(registerIndex_);
    return receiveState_ == kStateReadReply ? MatchReadReply(bytes, reg)
                                            : MatchWriteReply(bytes, reg, ValueToWrite(reg));
}

// A second reply to the register before, which came after the program had asked again.
ReplyMatch LinkProtocol::MatchPreviousReply(std::string_view bytes) const {
    if (previousRegister_ < 0)
        return ReplyMatch::None;
    const auto reg = static_cast<std::uint8_t>(previousRegister_);
    return receiveState_ == kStateReadReply ? MatchReadReply(bytes, reg)
                                            : MatchWriteReply(bytes, reg, ValueToWrite(reg));
}

// Every reply is checked whole: letter, "00", register, checksum and, for a write, the
// value sent. Characters that begin no reply are passed over one at a time, so a stray
// character never shifts the replies after it. Once a reply's worth of characters has
// come without one, the reply was damaged and the register is asked again at once.
void LinkProtocol::ScanRegisterReplies() {
    while (!replies_.empty() &&
           (receiveState_ == kStateReadReply || receiveState_ == kStateWriteReply)) {
        const ReplyMatch awaited = MatchAwaitedReply(replies_);
        if (awaited == ReplyMatch::Complete) {
            const std::string reply = replies_.substr(0, kRegisterReplyLength);
            replies_.erase(0, kRegisterReplyLength);
            AcceptReply(reply);
            continue;
        }
        const ReplyMatch previous = MatchPreviousReply(replies_);
        if (awaited == ReplyMatch::Partial || previous == ReplyMatch::Partial)
            break;
        if (previous == ReplyMatch::Complete) {
            replies_.erase(0, kRegisterReplyLength);
            continue;
        }
        // A reply that began right ("G00" or "P00") and then went wrong was this
        // register's, damaged: no need to wait for what may follow it.
        if (replies_.size() > kReplyStartLength &&
            MatchAwaitedReply(std::string_view(replies_).substr(0, kReplyStartLength)) ==
                ReplyMatch::Partial)
            brokenReply_ = true;
        replies_.erase(0, 1);
        ++strayBytes_;
    }
    const auto replyLength = static_cast<std::size_t>(kRegisterReplyLength);
    if ((receiveState_ == kStateReadReply || receiveState_ == kStateWriteReply) &&
        (strayBytes_ >= replyLength || (brokenReply_ && heardBytes_ >= replyLength)))
        AskAgainOrGiveUp();
}

void LinkProtocol::AcceptReply(std::string_view reply) {
    StopTimer1();
    previousRegister_ = registerIndex_;
    int next = 0;
    int last = 0;
    if (receiveState_ == kStateReadReply) {
        const auto value = static_cast<std::uint8_t>(reply[kReplyValueByte]);
        image_[static_cast<std::size_t>(registerIndex_)] = value;
        listener_.OnRegisterStored(registerIndex_, value);
        last = LastReadRegister(family_);
        next = singleRegister_ ? last + 1 : NextReadRegister(family_, registerIndex_);
    } else {
        next = NextWriteRegister(family_, registerIndex_);
        last = LastWriteRegister(family_);
    }
    // The sensor counts in the scale its range flags select from the moment it holds them.
    if (registerIndex_ == kScaleRegister)
        SetLineCountDistance(ImageCountDistance(family_, image_, lineCountDistance_));
    // Past the last register the transfer is complete; otherwise the progress shows the
    // next register and its frame goes out.
    registerIndex_ = static_cast<std::int16_t>(next);
    if (registerIndex_ > last) {
        listener_.OnProgressHidden();
        transferOk_ = true;
        BackToStream();
        EndExchange(ExchangeOutcome::Completed, family_);
        return;
    }
    listener_.OnProgress(registerIndex_);
    registerTries_ = 0;
    AskRegister();
}

// Sends the frame for the current register under a fresh Timer1 period.
void LinkProtocol::AskRegister() {
    ++registerTries_;
    heardBytes_ = 0;
    strayBytes_ = 0;
    brokenReply_ = false;
    replies_.clear();
    const auto reg = static_cast<std::uint8_t>(registerIndex_);
    port_.Write(receiveState_ == kStateReadReply ? ReadFrame(reg)
                                                 : WriteFrame(reg, ValueToWrite(reg)));
    StartTimer1();
}

void LinkProtocol::AskAgainOrGiveUp() {
    if (registerTries_ < kMaxRegisterTries) {
        StopTimer1();
        AskRegister();
        return;
    }
    StopTimer1();
    BackToStream();
    EndExchange(ExchangeOutcome::ReplyDamaged, family_);
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
        ScanIdentification(true);
        break;
    case kLinkReading:
    case kLinkWriting:
        // Characters came but no reply in them: a damaged reply, asked for again. Nothing
        // at all: the sensor has stopped answering.
        if (heardBytes_ > 0) {
            AskAgainOrGiveUp();
            break;
        }
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
    return BeginRead(family, FirstRegister(family), false);
}

bool LinkProtocol::BeginRead(SensorFamily family, int firstRegister, bool single) {
    if (timer1Enabled_ || family == SensorFamily::None || firstRegister < 0 ||
        firstRegister > LastReadRegister(family))
        return false;
    BeginExchange(Exchange::Read, family);
    singleRegister_ = single;
    linkState_ = kLinkReading;
    receiveState_ = kStateReadReply;
    transferOk_ = false;
    registerIndex_ = static_cast<std::int16_t>(firstRegister);
    groupSize_ = kRegisterReplyLength;
    AskRegister();
    return true;
}

bool LinkProtocol::StartWrite(SensorFamily family, const RegisterImage& image) {
    if (timer1Enabled_ || family == SensorFamily::None)
        return false;
    BeginExchange(Exchange::Write, family);
    singleRegister_ = false;
    image_ = image;
    linkState_ = kLinkWriting;
    receiveState_ = kStateWriteReply;
    registerIndex_ = static_cast<std::int16_t>(FirstRegister(family));
    groupSize_ = kRegisterReplyLength;
    transferOk_ = false;
    AskRegister();
    return true;
}

bool LinkProtocol::StartRegisterRead(SensorFamily family, int reg) {
    return BeginRead(family, reg, true);
}

bool LinkProtocol::StopExchange() {
    if (!timer1Enabled_)
        return false;
    StopTimer1();
    transferOk_ = false;
    BackToStream();
    listener_.OnProgressHidden();
    EndExchange(ExchangeOutcome::Stopped, family_);
    return true;
}

void LinkProtocol::SendEnd() {
    port_.Write(kEndCommand);
}

std::uint8_t LinkProtocol::ValueToWrite(int reg) const {
    // The encoders keep every element within a byte; should one not be, the nearest byte
    // value is sent rather than a wrapped one.
    return static_cast<std::uint8_t>(
        std::clamp<int>(image_[static_cast<std::size_t>(reg)], 0, 255));
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
    replies_.clear();
}

void LinkProtocol::BeginExchange(Exchange exchange, SensorFamily family) {
    // Characters left over from the measurement stream would shift the reply groups.
    pending_.clear();
    replies_.clear();
    exchange_ = exchange;
    family_ = family;
    registerTries_ = 0;
    previousRegister_ = -1;
}

void LinkProtocol::EndExchange(ExchangeOutcome outcome, SensorFamily family) {
    lastResult_ = ExchangeResult{exchange_, outcome, family, -1};
    if (outcome != ExchangeOutcome::Completed &&
        (exchange_ == Exchange::Read || exchange_ == Exchange::Write))
        lastResult_.UnansweredRegister = registerIndex_;
    exchange_ = Exchange::None;
    listener_.OnExchangeEnded(lastResult_);
}

} // namespace telmora
