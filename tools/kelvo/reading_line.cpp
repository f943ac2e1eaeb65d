#include "reading_line.h"

#include "config/number_text.h"

#include <cstdio>
#include <ctime>

namespace telmora::kelvo {

std::string ReadingLine(std::chrono::system_clock::time_point when, float distance,
                        ReadingStyle style) {
    using namespace std::chrono;
    const auto sinceEpoch = when.time_since_epoch();
    const std::time_t seconds = duration_cast<std::chrono::seconds>(sinceEpoch).count();
    const auto millis = duration_cast<milliseconds>(sinceEpoch).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(millis));
    const std::string value = distance > 0 ? FormatTwoDecimals(distance) : "Lost";
    return std::string(time) + (style == ReadingStyle::Csv ? "," : " ") + value;
}

} // namespace telmora::kelvo
