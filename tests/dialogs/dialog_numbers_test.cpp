#include "config/sensor_config.h"
#include "dialogs/filter_samples.h"
#include "dialogs/interval_text.h"

#include <gtest/gtest.h>

#include <limits>

using namespace telmora;

// The interval as the user types milliseconds and the record keeps seconds.
TEST(IntervalText, ReadInterval_KeepsTypedMillisecondsWithinTheSensorLimits) {
    EXPECT_EQ(ReadIntervalSeconds("100"), 0.1f);
    EXPECT_EQ(ReadIntervalSeconds("2.5"), 0.0025f);
    EXPECT_EQ(ReadIntervalSeconds("33.3"), 0.0333f);
    EXPECT_EQ(ReadIntervalSeconds("1"), 0.001f);
    EXPECT_EQ(ReadIntervalSeconds("524"), 0.524f);
    EXPECT_EQ(ReadIntervalSeconds("0.5"), 0.001f);
    EXPECT_EQ(ReadIntervalSeconds("0"), 0.001f);
    EXPECT_EQ(ReadIntervalSeconds("-20"), 0.001f);
    EXPECT_EQ(ReadIntervalSeconds("ms"), 0.001f);
    EXPECT_EQ(ReadIntervalSeconds("600"), 0.524f);
    EXPECT_EQ(ReadIntervalSeconds("1000"), 0.524f);
}

TEST(IntervalText, ReadInterval_NumbersBeyondTheFloatRangeHitTheLimits) {
    EXPECT_EQ(ReadIntervalSeconds("1e300"), 0.524f);
    EXPECT_EQ(ReadIntervalSeconds("1e999"), 0.524f);
    EXPECT_EQ(ReadIntervalSeconds("-1e999"), 0.001f);
    EXPECT_EQ(ReadIntervalSeconds("1e-300"), 0.001f);
}

TEST(IntervalText, ReadInterval_JustAboveTheLimitStoresTheLimitItself) {
    // 524.00001 ms narrows to the float limit; it must not end up a hair above it.
    EXPECT_EQ(ReadIntervalSeconds("524.00001"), 0.524f);
    EXPECT_EQ(ReadIntervalSeconds("0.99999999"), 0.001f);
}

TEST(IntervalText, Format_ShowsWholeOrShortestMilliseconds) {
    EXPECT_EQ(FormatIntervalWholeMs(0.1f), "100");
    EXPECT_EQ(FormatIntervalWholeMs(0.0333f), "33");
    EXPECT_EQ(FormatIntervalWholeMs(0.0025f), "3"); // display rounding: halves away
    EXPECT_EQ(FormatIntervalMs(0.1f), "100");
    EXPECT_EQ(FormatIntervalMs(0.0333f), "33.3");
    EXPECT_EQ(FormatIntervalMs(0.0025f), "2.5");
    EXPECT_EQ(FormatIntervalMs(0.524f), "524");
}

TEST(IntervalText, ShownIntervalReadsBackToTheSameValue) {
    for (float seconds : {0.001f, 0.0025f, 0.0333f, 0.05f, 0.1f, 0.123f, 0.524f}) {
        EXPECT_EQ(ReadIntervalSeconds(FormatIntervalMs(seconds)), seconds) << seconds;
    }
}

// The counting filters (average, maximum, minimum) and their sample count.
class CountingFilter : public ::testing::Test {
  protected:
    SensorConfig config_;
    void Store(std::int16_t type, const char* text) {
        config_.FilterType = 9;
        config_.NumberOfSamples = 77;
        StoreCountingFilter(config_, type, text);
    }
};

TEST_F(CountingFilter, CountFrom2To255KeepsTheChosenFilter) {
    Store(4, "2");
    EXPECT_EQ(config_.FilterType, 4);
    EXPECT_EQ(config_.NumberOfSamples, 2);
    Store(3, "255");
    EXPECT_EQ(config_.FilterType, 3);
    EXPECT_EQ(config_.NumberOfSamples, 255);
}

TEST_F(CountingFilter, CountBelow2TurnsTheFilterOff) {
    for (const char* text : {"1", "1.4", "0", "", "x", "-3", "-99999"}) {
        Store(2, text);
        EXPECT_EQ(config_.FilterType, 1) << text;
        EXPECT_EQ(config_.NumberOfSamples, 0) << text;
    }
}

TEST_F(CountingFilter, CountAbove255IsCutNeverWrapped) {
    for (const char* text : {"256", "99999", "65538", "65537", "2147483648", "1e40"}) {
        Store(3, text);
        EXPECT_EQ(config_.FilterType, 3) << text;
        EXPECT_EQ(config_.NumberOfSamples, 255) << text;
    }
}

TEST_F(CountingFilter, HalvesRoundToEvenBeforeTheLimits) {
    Store(2, "1.5");
    EXPECT_EQ(config_.FilterType, 2);
    EXPECT_EQ(config_.NumberOfSamples, 2);
    Store(2, "2.5");
    EXPECT_EQ(config_.NumberOfSamples, 2);
    Store(2, "254.5");
    EXPECT_EQ(config_.NumberOfSamples, 254);
    Store(2, "255.5");
    EXPECT_EQ(config_.NumberOfSamples, 255);
}
