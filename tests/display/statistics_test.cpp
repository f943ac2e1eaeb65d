#include "display/statistics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace telmora {
namespace {

Statistics Fresh() {
    Statistics stats;
    InitStats(stats);
    return stats;
}

TEST(Statistics, FirstReadingAfterReset_ShowsItAsMeanMaxMinWithNoDeviation) {
    Statistics stats = Fresh();
    ASSERT_TRUE(DoStats(stats, 12.5f));
    const StatsTexts texts = FormatStats(stats, 12.5f);
    EXPECT_EQ(texts.CurrDistance, "12.50");
    EXPECT_EQ(texts.AveDistance, "12.50");
    EXPECT_EQ(texts.MaxDistance, "12.50");
    EXPECT_EQ(texts.MinDistance, "12.50");
    EXPECT_EQ(texts.SDDistance, "0.00");
    EXPECT_EQ(texts.NumOfSamples, "1");
}

TEST(Statistics, TwoReadings_GivePopulationDeviationDividedByCount) {
    Statistics stats = Fresh();
    DoStats(stats, 10.0f);
    DoStats(stats, 12.0f);
    const StatsTexts texts = FormatStats(stats, 12.0f);
    EXPECT_EQ(texts.AveDistance, "11.00");
    EXPECT_EQ(texts.SDDistance, "1.00"); // not 1.41, the sample deviation
    EXPECT_EQ(texts.MaxDistance, "12.00");
    EXPECT_EQ(texts.MinDistance, "10.00");
    EXPECT_EQ(texts.NumOfSamples, "2");
}

TEST(Statistics, LostEchoBetweenReadings_IsLeftOutOfEveryFigure) {
    Statistics stats = Fresh();
    DoStats(stats, 10.0f);
    DoStats(stats, 12.0f);
    const Statistics before = stats;
    EXPECT_FALSE(DoStats(stats, 0.0f));
    EXPECT_FALSE(DoStats(stats, -1.0f));
    EXPECT_EQ(stats.NumOfSamples, before.NumOfSamples);
    EXPECT_EQ(stats.SumDistance, before.SumDistance);
    EXPECT_EQ(stats.SumSquares, before.SumSquares);
    EXPECT_EQ(stats.AveDistance, before.AveDistance);
    EXPECT_EQ(stats.SDDistance, before.SDDistance);
    EXPECT_EQ(stats.MaxDistance, before.MaxDistance);
    EXPECT_EQ(stats.MinDistance, before.MinDistance);
    ASSERT_TRUE(DoStats(stats, 14.0f));
    EXPECT_EQ(FormatStats(stats, 14.0f).AveDistance, "12.00");
    EXPECT_EQ(FormatStats(stats, 14.0f).NumOfSamples, "3");
}

TEST(Statistics, Reset_ZeroesAccumulatorsAndShowsZerosThoughMinimumIsAMillion) {
    Statistics stats = Fresh();
    DoStats(stats, 10.0f);
    DoStats(stats, 30.0f);
    InitStats(stats);
    EXPECT_EQ(stats.NumOfSamples, 0);
    EXPECT_EQ(stats.SumDistance, 0);
    EXPECT_EQ(stats.SumSquares, 0);
    EXPECT_EQ(stats.AveDistance, 0);
    EXPECT_EQ(stats.MaxDistance, 0);
    EXPECT_EQ(stats.MinDistance, 1e6f);
    const StatsTexts shown = ResetStatsTexts();
    for (const std::string* text : {&shown.CurrDistance, &shown.AveDistance, &shown.SDDistance,
                                    &shown.MaxDistance, &shown.MinDistance}) {
        EXPECT_EQ(*text, "0.00");
    }
    EXPECT_EQ(shown.NumOfSamples, "0");
    // The first reading after the reset replaces the stored minimum of a million.
    DoStats(stats, 25.0f);
    EXPECT_EQ(FormatStats(stats, 25.0f).MinDistance, "25.00");
    EXPECT_EQ(FormatStats(stats, 25.0f).SDDistance, "0.00");
}

TEST(Statistics, DeviationIsTakenFromTheSinglePrecisionMean) {
    // 0.1, 0.2, 0.3 (as singles): the mean stored as a single shifts q, so the deviation
    // differs from the one computed with a double mean.
    Statistics stats = Fresh();
    const float readings[] = {0.1f, 0.2f, 0.3f};
    double sum = 0;
    double squares = 0;
    for (float x : readings) {
        DoStats(stats, x);
        sum += x;
        squares += static_cast<double>(x) * x;
    }
    const float mean = static_cast<float>(sum / 3);
    const double q = squares - static_cast<double>(mean) * mean * 3;
    EXPECT_EQ(stats.SDDistance, static_cast<float>(std::sqrt(q / 3)));
}

TEST(Statistics, NegativeRoundingResidue_KeepsThePreviousDeviation) {
    // Equal readings whose single mean lies above their double mean leave q below zero;
    // the deviation then stands at its last value instead of turning into a NaN.
    Statistics stats = Fresh();
    stats.SDDistance = 7.0f;
    stats.NumOfSamples = 2;
    stats.SumDistance = 0.2;
    stats.SumSquares = 0.02 - 1e-12;
    ASSERT_TRUE(DoStats(stats, 0.1f));
    EXPECT_EQ(stats.SDDistance, 7.0f);
}

TEST(Statistics, LongRun_KeepsCountAndMeanExact) {
    Statistics stats = Fresh();
    for (int i = 0; i < 1'000'000; ++i) {
        DoStats(stats, i % 2 == 0 ? 10.0f : 20.0f);
    }
    EXPECT_EQ(FormatStats(stats, 20.0f).NumOfSamples, "1000000");
    EXPECT_EQ(FormatStats(stats, 20.0f).AveDistance, "15.00");
    EXPECT_EQ(FormatStats(stats, 20.0f).SDDistance, "5.00");
}

} // namespace
} // namespace telmora
