#pragma once

#include "sim_options.h"

#include <string>

namespace telmora::sim {

// The readings the simulated sensor streams: a distance for each reading index, and
// the five characters of counts that stand for it on the line.
class ReadingSource {
  public:
    explicit ReadingSource(DistancePattern pattern) : pattern_(pattern) {}

    // Inches for the reading with this index (0 first); 0 for a lost echo.
    double DistanceAt(long index) const;

    // The five-character reading for a distance: counts of countDistance inches, rounded,
    // zero-padded, kept within what five digits hold. A lost echo reads "00000".
    static std::string CountsText(double distance, float countDistance);

  private:
    DistancePattern pattern_;
};

} // namespace telmora::sim
