#pragma once

#include <chrono>
#include <string>
#include <string_view>

// One line of `kelvo monitor`: the local time of day to the millisecond and the distance.
namespace telmora::kelvo {

enum class ReadingStyle { Plain, Csv };

inline constexpr std::string_view kCsvHeader = "time,inches";

// "13:45:12.034 12.35" (Plain) or "13:45:12.034,12.35" (Csv); a distance of 0 or less is
// a lost echo and reads "Lost".
std::string ReadingLine(std::chrono::system_clock::time_point when, float distance,
                        ReadingStyle style);

} // namespace telmora::kelvo
