#include "link/link_messages.h"

namespace telmora {

std::string StoppedExchangeText(const ExchangeResult& result) {
    if (result.completed() || result.unansweredRegister < 0)
        return {};
    const std::string reg = std::to_string(result.unansweredRegister);
    switch (result.exchange) {
    case Exchange::Read:
        return "Reading the configuration stopped at register " + reg +
               ": no answer came from the sensor. The window still shows the earlier "
               "configuration.";
    case Exchange::Write:
        return "Saving the configuration stopped at register " + reg +
               ": no answer came from the sensor. The sensor now holds a partly written "
               "configuration; save the configuration to the sensor again.";
    case Exchange::Detection:
    case Exchange::None:
        break;
    }
    return {};
}

std::string CompletedExchangeText(const ExchangeResult& result) {
    const std::string family(FamilyName(result.family));
    switch (result.exchange) {
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
