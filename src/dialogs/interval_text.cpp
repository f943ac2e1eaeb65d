#include "dialogs/interval_text.h"

#include "config/number_text.h"

namespace telmora {

namespace {

// The milliseconds are taken in single precision, as the record holds the interval.
float ToMilliseconds(float seconds) {
    return seconds * 1000.0f;
}

} // namespace

std::string FormatIntervalWholeMs(float seconds) {
    return FormatWhole(ToMilliseconds(seconds));
}

std::string FormatIntervalMs(float seconds) {
    return FormatGeneral(ToMilliseconds(seconds));
}

float ReadIntervalSeconds(std::string_view text) {
    const double seconds = ReadNumber(text) / 1000.0;
    // Comparing the double with the float limits before narrowing gives the same result
    // as narrowing first, and keeps huge typed numbers from overflowing the float.
    // The negated test also sends anything that is not a number to the lower limit.
    if (seconds > static_cast<double>(kIntervalMaxSeconds)) {
        return kIntervalMaxSeconds;
    }
    if (!(seconds >= static_cast<double>(kIntervalMinSeconds))) {
        return kIntervalMinSeconds;
    }
    return static_cast<float>(seconds);
}

} // namespace telmora
