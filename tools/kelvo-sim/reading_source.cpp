#include "reading_source.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace telmora::sim {

double ReadingSource::DistanceAt(long index) const {
    const DistancePattern& p = pattern_;
    if (p.LostEvery > 0 && (index + 1) % p.LostEvery == 0) {
        return 0.0;
    }
    double phase = static_cast<double>(index % p.Period) / static_cast<double>(p.Period);
    switch (p.Kind) {
    case PatternKind::Ramp:
        return p.From + (p.To - p.From) * phase;
    case PatternKind::Sine:
        // Starts at FROM, reaches TO half way through the cycle.
        return p.From + (p.To - p.From) * (1.0 - std::cos(2.0 * std::numbers::pi * phase)) / 2.0;
    case PatternKind::Fixed:
        break;
    }
    return p.From;
}

std::string ReadingSource::CountsText(double distance, float countDistance) {
    long counts = 0;
    if (distance > 0.0 && countDistance > 0.0f) {
        double exact = distance / static_cast<double>(countDistance);
        counts = std::lround(std::min(exact, 99999.0));
    }
    char text[8];
    std::snprintf(text, sizeof text, "%05ld", std::clamp(counts, 0L, 99999L));
    return text;
}

} // namespace telmora::sim
