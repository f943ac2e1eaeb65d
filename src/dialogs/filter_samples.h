#pragma once

#include <cstdint>
#include <string_view>

namespace telmora {

struct SensorConfig;

// Filters that combine a number of measurements accept 2 to 255 of them.
inline constexpr std::int16_t kMinSamples = 2;
inline constexpr std::int16_t kMaxSamples = 255;

// Stores a counting filter (average, maximum or minimum) with the typed sample count:
// the count rounded halves to even, then a count below 2 turns the filter off (type 1,
// 0 samples) and a count above 255 is cut to 255. A typed count beyond the 16-bit range
// counts as beyond the limit, never wrapped.
void StoreCountingFilter(SensorConfig& config, std::int16_t filterType, std::string_view countText);

} // namespace telmora
