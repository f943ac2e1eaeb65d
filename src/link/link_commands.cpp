#include "link/link_commands.h"

#include "link/link_messages.h"
#include "link/write_check.h"

namespace telmora {

// Marks a command as running for as long as it waits.
class LinkCommands::BusyScope {
  public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& busy_;
};

LinkCommands::LinkCommands(LinkProtocol& protocol, LinkHost& host, ExchangeWaiter& waiter)
    : protocol_(protocol), host_(host), waiter_(waiter) {}

ExchangeResult LinkCommands::WaitForEnd(Exchange exchange, bool started) {
    if (!started)
        return ExchangeResult{exchange, ExchangeOutcome::NotStarted, SensorFamily::None, -1};
    waiter_.WaitWhileExchangeRuns();
    return protocol_.LastResult();
}

ExchangeResult LinkCommands::DetectSensor() {
    if (waiter_.Leaving())
        return WaitForEnd(Exchange::Detection, false);
    host_.SetFamily(SensorFamily::None);
    const ExchangeResult result = WaitForEnd(Exchange::Detection, protocol_.StartDetection());
    if (result.Completed())
        host_.SetFamily(result.Family);
    else if (result.Outcome == ExchangeOutcome::NoSensor)
        host_.Warn(kNoSensorFoundText);
    return result;
}

ExchangeResult LinkCommands::ReadConfiguration(SensorFamily family) {
    return WaitForEnd(Exchange::Read, !waiter_.Leaving() && protocol_.StartRead(family));
}

ExchangeResult LinkCommands::WriteConfiguration(SensorFamily family, const RegisterImage& image) {
    return WaitForEnd(Exchange::Write, !waiter_.Leaving() && protocol_.StartWrite(family, image));
}

void LinkCommands::SendEnd() {
    protocol_.SendEnd();
}

bool LinkCommands::MayBegin() {
    if (busy_)
        return false; // one command at a time: a nested exchange would corrupt the link state
    if (!protocol_.PortOpen()) {
        host_.Warn(kNoPortOpenText);
        return false;
    }
    return true;
}

void LinkCommands::WarnIfStopped(const ExchangeResult& result) {
    // A lost port is reported by whoever saw it fail, with what it meant for this exchange.
    if (result.Outcome == ExchangeOutcome::ReplyLate ||
        result.Outcome == ExchangeOutcome::ReplyDamaged)
        host_.Warn(StoppedExchangeText(result));
}

void LinkCommands::GetConfigurationFromSensor() {
    if (!MayBegin())
        return;
    BusyScope busy(busy_);
    const ExchangeResult detection = DetectSensor();
    if (!detection.Completed())
        return;
    const ExchangeResult read = ReadConfiguration(detection.Family);
    if (!read.Completed()) {
        // The image is left undecoded and no end command goes out.
        WarnIfStopped(read);
        return;
    }
    host_.ShowRecord(read.Family, protocol_.Image());
    SendEnd();
    host_.ShowStatus(CompletedExchangeText(read));
}

bool LinkCommands::SaveConfigurationToSensor() {
    // The family the window is set up for is the family the user means to write.
    const SensorFamily wanted = host_.SelectedFamily();
    if (wanted == SensorFamily::None || !MayBegin())
        return false;
    BusyScope busy(busy_);
    const ExchangeResult detection = DetectSensor();
    if (!detection.Completed())
        return false;
    if (detection.Family != wanted) {
        // The detection has already set the window up for the family it found.
        SendEnd();
        host_.Warn(kWrongSensorTypeText);
        return false;
    }
    const RegisterImage image = host_.ReadWindow(wanted);
    const ExchangeResult write = WriteConfiguration(wanted, image);
    if (!write.Completed()) {
        WarnIfStopped(write);
        return false;
    }
    SendEnd();
    if (verify_)
        return VerifyWrite(wanted, image);
    host_.ShowStatus(CompletedExchangeText(write));
    return true;
}

// Detection without setting the window's family, then the read in that family and "E".
// Returns the detection when it failed or found another family (after sending "E").
ExchangeResult LinkCommands::ReadAside(SensorFamily family) {
    const ExchangeResult detection =
        WaitForEnd(Exchange::Detection, !waiter_.Leaving() && protocol_.StartDetection());
    if (!detection.Completed())
        return detection;
    if (detection.Family != family) {
        SendEnd();
        return detection;
    }
    const ExchangeResult read = ReadConfiguration(family);
    if (read.Completed())
        SendEnd();
    return read;
}

ExchangeResult LinkCommands::ReadSensorAside(SensorFamily family) {
    if (!MayBegin())
        return ExchangeResult{Exchange::Detection, ExchangeOutcome::NotStarted, SensorFamily::None,
                              -1};
    BusyScope busy(busy_);
    const ExchangeResult result = ReadAside(family);
    if (result.Outcome == ExchangeOutcome::NoSensor)
        host_.Warn(kNoSensorFoundText);
    WarnIfStopped(result);
    return result;
}

bool LinkCommands::VerifyWrite(SensorFamily family, const RegisterImage& written) {
    const ExchangeResult readBack = ReadAside(family);
    // A write whose check could not run still completed; only an answer that differs
    // makes it a failure.
    if (readBack.Outcome == ExchangeOutcome::NoSensor) {
        host_.Warn(kWriteUncheckedText);
        return true;
    }
    if (readBack.Exchange == Exchange::Detection && readBack.Completed()) {
        host_.Warn("The sensor answered as " + std::string(FamilyName(readBack.Family)) +
                   " after the configuration was written as " + std::string(FamilyName(family)) +
                   ".");
        return false;
    }
    if (!readBack.Completed()) {
        WarnIfStopped(readBack);
        return true;
    }
    const std::string differences = WriteCheckText(family, written, protocol_.Image());
    if (!differences.empty()) {
        host_.Warn(differences);
        return false;
    }
    host_.ShowStatus(VerifiedWriteText(family));
    return true;
}

} // namespace telmora
