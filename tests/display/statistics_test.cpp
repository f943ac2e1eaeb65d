#include "display/statistics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace telmora {
namespace {

// Feeds the readings to fresh statistics and gives what the boxes show after the last.
StatsTexts Shown(const std::vector<float>& readings) {
    Statistics stats;
    InitStats(stats);
    for (float d : readings) {
        DoStats(stats, d);
    }
    return FormatStats(stats, readings.back());
}

TEST(Statistics, ReadingsGiveMeanExtremesPopulationDeviationAndCount) {
    struct Case {
        std::vector<float> readings;
        std::string ave, sd, max, min, count;
    };
    const Case cases[] = {
        {{12.5f}, "12.50", "0.00", "12.50", "12.50", "1"},
        {{10.0f, 12.0f}, "11.00", "1.00", "12.00", "10.00", "2"}, // not 1.41, the sample SD
        // Lost echoes between readings are left out of every figure.
        {{10.0f, 0.0f, -1.0f, 12.0f, 0.0f}, "11.00", "1.00", "12.00", "10.00", "2"},
    };
    for (const Case& c : cases) {
        const StatsTexts texts = Shown(c.readings);
        EXPECT_EQ(texts.AveDistance, c.ave);
        EXPECT_EQ(texts.SDDistance, c.sd);
        EXPECT_EQ(texts.MaxDistance, c.max);
        EXPECT_EQ(texts.MinDistance, c.min);
        EXPECT_EQ(texts.NumOfSamples, c.count);
    }
}

TEST(Statistics, NegativeRoundingResidue_KeepsThePreviousDeviation) {
    // Sums whose rounding leaves the variance below zero keep the last deviation, not NaN.
    Statistics stats;
    InitStats(stats);
    stats.SDDistance = 7.0f;
    stats.NumOfSamples = 2;
    stats.SumDistance = 0.2;
    stats.SumSquares = 0.02 - 1e-12;
    ASSERT_TRUE(DoStats(stats, 0.1f));
    EXPECT_EQ(stats.SDDistance, 7.0f);
}

TEST(Statistics, LongRun_KeepsCountMeanAndDeviationExact) {
    std::vector<float> readings;
    for (int i = 0; i < 1'000'000; ++i) {
        readings.push_back(i % 2 == 0 ? 10.0f : 20.0f);
    }
    const StatsTexts texts = Shown(readings);
    EXPECT_EQ(texts.NumOfSamples, "1000000");
    EXPECT_EQ(texts.AveDistance, "15.00");
    EXPECT_EQ(texts.SDDistance, "5.00");
}

} // namespace
} // namespace telmora
