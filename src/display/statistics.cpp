#include "display/statistics.h"

#include "config/number_text.h"

#include <cmath>

namespace telmora {

void InitStats(Statistics& stats) {
    stats.SumDistance = 0;
    stats.SumSquares = 0;
    stats.NumOfSamples = 0;
    stats.AveDistance = 0;
    stats.MaxDistance = 0;
    stats.MinDistance = 1e6f;
}

bool DoStats(Statistics& stats, float x) {
    if (!(x > 0)) {
        return false;
    }
    const double value = x;
    stats.SumDistance += value;
    stats.NumOfSamples += 1;
    stats.AveDistance = static_cast<float>(stats.SumDistance / stats.NumOfSamples);
    stats.SumSquares += value * value;
    // The deviation is taken from the single-precision mean, so a run of nearly equal
    // readings can leave q a hair below zero; the last deviation then stands.
    const double mean = stats.AveDistance;
    const double q = stats.SumSquares - mean * mean * stats.NumOfSamples;
    if (stats.NumOfSamples > 1 && q > 0) {
        stats.SDDistance = static_cast<float>(std::sqrt(q / stats.NumOfSamples));
    }
    if (q == 0) {
        stats.SDDistance = 0;
    }
    if (x > stats.MaxDistance) {
        stats.MaxDistance = x;
    }
    if (x < stats.MinDistance) {
        stats.MinDistance = x;
    }
    return true;
}

StatsTexts FormatStats(const Statistics& stats, float x) {
    return {FormatTwoDecimals(x),
            FormatTwoDecimals(stats.AveDistance),
            FormatTwoDecimals(stats.SDDistance),
            FormatTwoDecimals(stats.MaxDistance),
            FormatTwoDecimals(stats.MinDistance),
            FormatWhole(stats.NumOfSamples)};
}

StatsTexts ResetStatsTexts() {
    const std::string zero = FormatTwoDecimals(0);
    return {zero, zero, zero, zero, zero, FormatWhole(0)};
}

} // namespace telmora
