#pragma once

#include <string>

// Running statistics of the measured distances since the last reset. A reading of 0 or
// less is a lost echo: it is flagged and left out of the figures.
namespace telmora {

struct Statistics {
    // Accumulators are doubles so that hours of readings keep their precision; the shown
    // values are singles.
    double SumDistance = 0;
    double SumSquares = 0;
    double NumOfSamples = 0;
    float AveDistance = 0;
    float MaxDistance = 0;
    float MinDistance = 1e6f;
    float SDDistance = 0;
};

// Resets the accumulators; the standard deviation keeps its value until the next reading
// replaces it.
void InitStats(Statistics& stats);

// Counts reading x in. Returns false, changing nothing, when x is a lost echo (not
// greater than 0).
bool DoStats(Statistics& stats, float x);

// The six statistics boxes' texts.
struct StatsTexts {
    std::string CurrDistance;
    std::string AveDistance;
    std::string SDDistance;
    std::string MaxDistance;
    std::string MinDistance;
    std::string NumOfSamples;
};

// What the boxes show after reading x has been counted.
StatsTexts FormatStats(const Statistics& stats, float x);

// What the boxes show after "Reset Stats": zero everywhere, although the stored minimum is
// one million until the first reading replaces it.
StatsTexts ResetStatsTexts();

inline constexpr const char* kLostEchoText = "Lost!!";

} // namespace telmora
