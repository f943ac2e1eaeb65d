#include "editors/entry_limits.h"

#include "config/image_common.h"
#include "config/number_text.h"
#include "config/window_texts.h"
#include "editors/scale.h"

namespace telmora {

namespace {

std::string LimitedNote(std::string_view name, const std::string& value, std::string_view units,
                        std::string_view which) {
    return std::string(name) + " limited to " + value + " " + std::string(units) + ", " +
           std::string(which);
}

} // namespace

float LargestDistance(float maxRange) {
    const float tick = image::NeedsLongRange(maxRange) ? kCountDistanceLong : kCountDistanceNormal;
    return ToSingle(65535.0 * tick);
}

EntryOutcome DistanceEntry(std::string_view name, float entry, float maxRange) {
    const float largest = LargestDistance(maxRange);
    if (entry > largest) {
        return {largest,
                LimitedNote(name, FormatTwoDecimals(largest), "inches",
                            "the largest the sensor can hold"),
                false};
    }
    if (entry < 0) {
        return {0, LimitedNote(name, "0.00", "inches", "the smallest the sensor can hold"), false};
    }
    return {entry, {}, false};
}

EntryOutcome MinRangeEntry(float entry, float maxRange) {
    if (!(entry < maxRange)) {
        return {0,
                "Minimum range " + FormatTwoDecimals(entry) +
                    " inches refused: it must stay below the maximum range, " +
                    FormatTwoDecimals(maxRange) + " inches",
                true};
    }
    const float value = LimitMinRange(entry, maxRange);
    if (value != entry) {
        return {value,
                LimitedNote("Minimum range", FormatTwoDecimals(value), "inches",
                            "the smallest allowed"),
                false};
    }
    return {value, {}, false};
}

EntryOutcome MaxRangeEntry(float entry, float minRange) {
    if (!(entry > minRange)) {
        return {0,
                "Maximum range " + FormatTwoDecimals(entry) +
                    " inches refused: it must stay above the minimum range, " +
                    FormatTwoDecimals(minRange) + " inches",
                true};
    }
    const float value = LimitMaxRange(entry, minRange);
    if (value != entry) {
        return {value,
                LimitedNote("Maximum range", FormatTwoDecimals(value), "inches",
                            "the largest the sensor can hold"),
                false};
    }
    return {value, {}, false};
}

EntryOutcome OutputEntry(std::string_view name, float entry, float outMin, float outMax,
                         std::string_view units) {
    const float value = LimitOutput(entry, outMin, outMax);
    if (value == entry) {
        return {value, {}, false};
    }
    return {value,
            LimitedNote(name, FormatOneDecimal(value), units,
                        value == outMax ? "the top of the output scale"
                                        : "the bottom of the output scale"),
            false};
}

} // namespace telmora
