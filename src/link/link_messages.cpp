#include "link/link_messages.h"

namespace telmora {

std::string StoppedExchangeText(const ExchangeResult& result) {
    if (result.Completed() || result.UnansweredRegister < 0)
        return {};
    const std::string stop =
        "stopped at register " + std::to_string(result.UnansweredRegister) +
        (result.Outcome == ExchangeOutcome::ReplyDamaged
             ? ": the sensor's answer came damaged " + std::to_string(kMaxRegisterTries) + " times."
             : ": no answer came from the sensor.");
    switch (result.Exchange) {
    case Exchange::Read:
        return "Reading the configuration " + stop +
               " The window still shows the earlier configuration.";
    case Exchange::Write:
        return "Saving the configuration " + stop +
               " The sensor now holds a partly written configuration; save the configuration "
               "to the sensor again.";
    case Exchange::Detection:
    case Exchange::None:
        break;
    }
    return {};
}

std::string VerifiedWriteText(SensorFamily family) {
    return "Configuration saved to the " + std::string(FamilyName(family)) +
           " sensor, read back and verified.";
}

std::string CompletedExchangeText(const ExchangeResult& result) {
    const std::string family(FamilyName(result.Family));
    switch (result.Exchange) {
    case Exchange::Read:
        return "Configuration read from the " + family + " sensor.";
    case Exchange::Write:
        return "Configuration saved to the " + family + " sensor.";
    case Exchange::Detection:
        return family + " sensor found.";
    case Exchange::None:
        break;
    }
    return {};
}

} // namespace telmora
