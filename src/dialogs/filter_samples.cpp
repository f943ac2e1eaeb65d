#include "dialogs/filter_samples.h"

#include "config/number_text.h"
#include "config/sensor_config.h"

namespace telmora {

void StoreCountingFilter(SensorConfig& config, std::int16_t filterType,
                         std::string_view countText) {
    // Read as 32 bits (saturating) so that 99999 is too many samples, not a wrapped 34463.
    const std::int32_t count = ReadRoundedWhole(countText);
    if (count < kMinSamples) {
        config.FilterType = 1;
        config.NumberOfSamples = 0;
        return;
    }
    config.FilterType = filterType;
    config.NumberOfSamples = count > kMaxSamples ? kMaxSamples : static_cast<std::int16_t>(count);
}

} // namespace telmora
