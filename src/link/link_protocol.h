#pragma once

#include "config/sensor_config.h"
#include "config/sensor_family.h"
#include "link/frames.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace telmora {

// The serial port as the protocol sees it.
class LinkPort {
  public:
    virtual ~LinkPort() = default;
    // Queues bytes for the sensor; they leave in the order written.
    virtual void Write(std::string_view bytes) = 0;
};

// Timer1: bounds every wait for a sensor reply. Once started it ticks every
// kTimer1PeriodMs until stopped; Start on a running timer begins a full new period.
class LinkTimer {
  public:
    virtual ~LinkTimer() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
};

inline constexpr int kTimer1PeriodMs = 100;
inline constexpr int kMaxDetectTries = 10;
// Frames sent for one register before a read or write gives up on its damaged replies.
inline constexpr int kMaxRegisterTries = 3;

enum class Exchange { None, Detection, Read, Write };

enum class ExchangeOutcome {
    NotStarted,   // refused: another exchange was running, or no family was given
    Completed,    // every reply came (detection: a family was identified)
    NoSensor,     // detection: no complete echo after kMaxDetectTries frames
    ReplyLate,    // read or write: a reply did not come within one Timer1 period
    ReplyDamaged, // read or write: every try for a register got a reply that failed its check
    PortLost,     // the port closed or failed while the exchange waited
    Stopped,      // stopped by StopExchange to make way for another
};

struct ExchangeResult {
    telmora::Exchange Exchange = telmora::Exchange::None;
    ExchangeOutcome Outcome = ExchangeOutcome::Completed;
    // Detection: the family identified (None unless completed). Read and write: the
    // family whose register order was used.
    SensorFamily Family = SensorFamily::None;
    // Read and write that did not complete: the register whose reply never came right.
    int UnansweredRegister = -1;

    bool Completed() const { return Outcome == ExchangeOutcome::Completed; }
};

// What the protocol reports. Every call comes from inside Receive, HandleGroup,
// Timer1Tick or PortClosed; none may call back into the protocol's Receive.
class LinkListener {
  public:
    virtual ~LinkListener() = default;
    // A reading of the measurement stream, in inches (0 or less: a lost echo).
    virtual void OnReading(float distance) { (void)distance; }
    virtual void OnFamilyIdentified(SensorFamily family) { (void)family; }
    virtual void OnRegisterStored(int reg, std::uint8_t value) { (void)reg, (void)value; }
    // ProgressBar1: shown with `value` (a register number, 10 to 100), or hidden.
    virtual void OnProgress(int value) { (void)value; }
    virtual void OnProgressHidden() {}
    // The line scale was set (a port opened, or the sensor answered for its range flags);
    // `changed` when it differs from the scale before.
    virtual void OnLineScale(float countDistance, bool changed) {
        (void)countDistance, (void)changed;
    }
    // Timer1 is off again: the exchange completed, gave up, timed out or lost the port.
    virtual void OnExchangeEnded(const ExchangeResult& result) { (void)result; }
};

// The receive handler and the exchanges with the sensor, without any waiting of its own:
// bytes and Timer1 ticks go in, frames and events come out. An exchange starts with one
// call and ends, reported to the listener, when a reply or a tick finishes it.
class LinkProtocol {
  public:
    // All references must outlive the protocol.
    LinkProtocol(LinkPort& port, LinkTimer& timer, LinkListener& listener);

    // Opening the port makes the handler follow the measurement stream (ReceiveState 1).
    // The sensor on the new line is unknown: the line scale goes back to kCountDistanceNormal.
    void PortOpened();
    // The port closed or failed: a running exchange ends as a late reply does, reported
    // as PortLost; buffered characters are dropped.
    void PortClosed();
    bool PortOpen() const { return portOpen_; }

    // Characters from the port, in chunks of any size. Readings are taken a group at a
    // time, each group complete (GroupSize characters); the replies of an exchange are
    // found in the characters as they come, whatever stray characters lie around them.
    void Receive(std::string_view bytes);

    // Timer1's tick.
    void Timer1Tick();

    // DetectSensor's start: the first detection frame goes out on the first tick.
    // Refused (false) while an exchange runs.
    bool StartDetection();
    // ReadConfiguration and WriteConfiguration's start: the first frame goes out at once.
    // Refused while an exchange runs or when `family` is None. A write sends `image`.
    bool StartRead(SensorFamily family);
    bool StartWrite(SensorFamily family, const RegisterImage& image);
    // A read of the single register `reg` of `family`, ending after its reply.
    bool StartRegisterRead(SensorFamily family, int reg);
    // Ends a running exchange at once, reported as Stopped; false when none ran. Frames
    // already sent stay sent: the caller decides whether the sensor needs the end command.
    bool StopExchange();
    // The end command; it expects no reply.
    void SendEnd();

    // The line scale: inches per count of the sensor on the line, by which readings are
    // converted. It follows the range flags of every image read from or written to the
    // sensor, as soon as the sensor has answered for the flags' register; nothing else
    // changes it but PortOpened and SetLineCountDistance.
    float LineCountDistance() const { return lineCountDistance_; }
    void SetLineCountDistance(float countDistance);

    // Timer1 enabled: an exchange is waiting for the sensor.
    bool ExchangeRunning() const { return timer1Enabled_; }
    const ExchangeResult& LastResult() const { return lastResult_; }

    std::int16_t ReceiveState() const { return receiveState_; }
    std::int16_t LinkState() const { return linkState_; }
    bool TransferOk() const { return transferOk_; }
    std::int16_t RegisterIndex() const { return registerIndex_; }
    std::int16_t DetectTries() const { return detectTries_; }
    Exchange RunningExchange() const { return exchange_; }
    // Frames sent so far for the register of a read or write (1 to kMaxRegisterTries).
    int RegisterTries() const { return registerTries_; }
    int GroupSize() const { return groupSize_; }
    float CurrentDistance() const { return currentDistance_; }
    // The image a read filled (every register of the family's read order when the read
    // completed) or the last write sent.
    const RegisterImage& Image() const { return image_; }

  private:
    void ReceiveGroups(std::string_view bytes);
    void HandleGroup(std::string_view group);
    void HandleStream(std::string_view group);
    void HandleEcho(char c);
    void ScanIdentification(bool periodOver);
    void IdentifyFamily(SensorFamily family);
    void ScanRegisterReplies();
    ReplyMatch MatchAwaitedReply(std::string_view bytes) const;
    ReplyMatch MatchPreviousReply(std::string_view bytes) const;
    void AcceptReply(std::string_view reply);
    void AskRegister();
    void AskAgainOrGiveUp();
    std::uint8_t ValueToWrite(int reg) const;
    void StartTimer1();
    void StopTimer1();
    void BackToStream();
    void EndExchange(ExchangeOutcome outcome, SensorFamily family);
    void BeginExchange(Exchange exchange, SensorFamily family);
    bool BeginRead(SensorFamily family, int firstRegister, bool single);

    LinkPort& port_;
    LinkTimer& timer_;
    LinkListener& listener_;

    bool portOpen_ = false;
    bool timer1Enabled_ = false;
    std::int16_t receiveState_ = 0;
    std::int16_t linkState_ = 0;
    bool transferOk_ = false;
    std::int16_t registerIndex_ = 0;
    std::int16_t detectTries_ = 0;
    int registerTries_ = 0;
    int previousRegister_ = -1;  // the register whose reply came last, or -1
    std::size_t heardBytes_ = 0; // characters since the register's last frame went out
    std::size_t strayBytes_ = 0; // of these, characters that began no awaited reply
    bool brokenReply_ = false;   // of these, a reply that began right and went wrong
    int groupSize_ = 1;
    float currentDistance_ = 0;
    float lineCountDistance_ = kCountDistanceNormal;
    bool singleRegister_ = false; // the read takes only the register it started with
    RegisterImage image_{};

    Exchange exchange_ = Exchange::None;
    SensorFamily family_ = SensorFamily::None; // captured when a read or write starts
    ExchangeResult lastResult_;
    std::string pending_; // characters of a group not yet complete
    std::string replies_; // characters of an exchange's replies not yet taken
};

} // namespace telmora
