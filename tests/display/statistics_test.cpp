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
    EXPECT_EQ(Shown({12.5f}).CurrDistance, "12.50");
}

TEST(Statistics, Reset_ShowsZerosAndTheNextReadingReplacesTheStoredMinimumOfAMillion) {
    Statistics stats;
    InitStats(stats);
    DoStats(stats, 10.0f);
    DoStats(stats, 30.0f);
    InitStats(stats);
    EXPECT_EQ(stats.NumOfSamples, 0);
    EXPECT_EQ(stats.MinDistance, 1e6f);
    const StatsTexts shown = ResetStatsTexts();
    for (const std::string& text : {shown.CurrDistance, shown.AveDistance, shown.SDDistance,
                                    shown.MaxDistance, shown.MinDistance}) {
        EXPECT_EQ(text, "0.00");
    }
    EXPECT_EQ(shown.NumOfSamples, "0");
    DoStats(stats, 25.0f);
    EXPECT_EQ(FormatStats(stats, 25.0f).MinDistance, "25.00");
    EXPECT_EQ(FormatStats(stats, 25.0f).MaxDistance, "25.00");
    EXPECT_EQ(FormatStats(stats, 25.0f).AveDistance, "25.00");
}

TEST(Statistics, NegativeRoundingResidue_KeepsThePreviousDeviation) {
    // Equal readings whose single mean lies above their double mean leave q below zero;
    // the deviation then stands at its last value instead of turning into a NaN.
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
