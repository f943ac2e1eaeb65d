#include "config/sensor_config.h"
#include "dialogs/filter_samples.h"
#include "dialogs/interval_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace telmora;

// The interval as the user types milliseconds and the record keeps seconds; beyond the
// float range, and a hair past a limit, still give the limit itself.
TEST(IntervalText, KeepsTypedMillisecondsWithinTheSensorLimitsAndShowsThemBack) {
    const std::pair<const char*, float> cases[] = {
        {"100", 0.1f},         {"2.5", 0.0025f},   {"33.3", 0.0333f},  {"1", 0.001f},
        {"524", 0.524f},       {"0.5", 0.001f},    {"0", 0.001f},      {"-20", 0.001f},
        {"ms", 0.001f},        {"600", 0.524f},    {"1000", 0.524f},   {"1e300", 0.524f},
        {"1e999", 0.524f},     {"-1e999", 0.001f}, {"1e-300", 0.001f}, {"524.00001", 0.524f},
        {"0.99999999", 0.001f}};
    for (const auto& [typed, seconds] : cases) {
        EXPECT_EQ(ReadIntervalSeconds(typed), seconds) << typed;
    }
    // Shown as whole milliseconds, or the shortest that read back the same.
    EXPECT_EQ(FormatIntervalWholeMs(0.0333f), "33");
    EXPECT_EQ(FormatIntervalWholeMs(0.0025f), "3"); // display rounding: halves away
    EXPECT_EQ(FormatIntervalMs(0.0333f), "33.3");
    EXPECT_EQ(FormatIntervalMs(0.524f), "524");
    for (float seconds : {0.001f, 0.0025f, 0.0333f, 0.05f, 0.1f, 0.123f, 0.524f}) {
        EXPECT_EQ(ReadIntervalSeconds(FormatIntervalMs(seconds)), seconds) << seconds;
    }
}

// The counting filters (average, maximum, minimum): a count below 2 turns the filter off,
// halves round to even before the limits, and a count beyond 16 bits is cut, never wrapped.
TEST(CountingFilter, Store_ForcesTheCountIntoItsLimits) {
    const struct {
        std::int16_t type;
        const char* typed;
        int storedType, samples;
    } cases[] = {{4, "2", 4, 2},       {3, "255", 3, 255},   {2, "1.5", 2, 2},
                 {2, "2.5", 2, 2},     {2, "254.5", 2, 254}, {2, "255.5", 2, 255},
                 {2, "1", 1, 0},       {2, "1.4", 1, 0},     {2, "0", 1, 0},
                 {2, "", 1, 0},        {2, "x", 1, 0},       {2, "-3", 1, 0},
                 {2, "-99999", 1, 0},  {3, "256", 3, 255},   {3, "99999", 3, 255},
                 {3, "65538", 3, 255}, {3, "65537", 3, 255}, {3, "2147483648", 3, 255},
                 {3, "1e40", 3, 255}};
    for (const auto& c : cases) {
        SensorConfig config;
        config.FilterType = 9;
        config.NumberOfSamples = 77;
        StoreCountingFilter(config, c.type, c.typed);
        EXPECT_EQ(config.FilterType, c.storedType) << c.typed;
        EXPECT_EQ(config.NumberOfSamples, c.samples) << c.typed;
    }
}
