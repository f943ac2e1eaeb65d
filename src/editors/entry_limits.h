#pragma once

#include <string>
#include <string_view>

// What an entry in one of the main window's number boxes becomes when the user leaves the
// box: the value the configuration will store, and a note for the status bar naming the
// limit that applied, so the box never shows what will not be saved.
namespace telmora {

struct EntryOutcome {
    float Value = 0;      // the value to store and show
    std::string Note;     // empty when the entry is stored as typed
    bool Refused = false; // the box goes back to the value it held before
};

// A distance the switches and the analog endpoints count in sensor ticks: 0 to 65535 ticks
// of the tick `maxRange` needs (single ticks up to 221.77 inches, double beyond).
float LargestDistance(float maxRange);
EntryOutcome DistanceEntry(std::string_view name, float entry, float maxRange);

// The range boxes: an entry that would cross the other bound is refused; otherwise the
// minimum is at least 0.5 and the maximum at most 443.54.
EntryOutcome MinRangeEntry(float entry, float maxRange);
EntryOutcome MaxRangeEntry(float entry, float minRange);

// An analog output within its scale, [outMin, outMax], in `units` ("volts", "ma").
EntryOutcome OutputEntry(std::string_view name, float entry, float outMin, float outMax,
                         std::string_view units);

} // namespace telmora
