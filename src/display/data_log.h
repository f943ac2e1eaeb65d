#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The data log: one text line per reading with the time of day, in a file that stays open
// while logging runs.
namespace telmora {

struct TimeOfDay {
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

// "hh:mm:ss" followed by the distance with " ##0.00" and a carriage return and line feed.
// The distance follows the time directly (the format brings its own leading space), so a
// line reads "13:45:12 12.35" rather than padding the distance to the next print zone.
std::string LogLine(const TimeOfDay& time, float distance);

// The log a spreadsheet reads: a header, then one line a reading with the local date and
// time to the millisecond, the distance in inches and in millimetres, and a lost echo
// flagged as such (no distance) rather than logged as a zero.
enum class LogFormat { Text, Csv };
inline constexpr std::string_view kCsvLogHeader = "time,distance_in,distance_mm,lost\r\n";

struct LocalDateTime {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    TimeOfDay Time;
    int Millisecond = 0;
};

// "2026-12-07T14:02:31.250,12.35,313.7,0" and, for a lost echo (no distance above zero),
// "2026-12-07T14:02:31.256,,,1".
std::string CsvLogLine(const LocalDateTime& when, float distance);

// "2026-12-07T14:02:31.250": ISO 8601 local time to the millisecond.
std::string IsoLocalTime(const LocalDateTime& when);

// The open log file. Every line is flushed to the system as it is written, so a crash
// loses no line already logged, and a failed write is reported to the caller.
class DataLogFile {
  public:
    DataLogFile() = default;
    DataLogFile(const DataLogFile&) = delete;
    DataLogFile& operator=(const DataLogFile&) = delete;
    ~DataLogFile();

    // Creates the file anew (an existing file of that name is emptied), through a symbolic
    // link to the file it names. A folder, named pipe or device is refused. On failure
    // returns false with the reason in `error`.
    bool Open(const std::string& path, std::string& error);
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Writes and flushes one line. On failure (disk full, file removed, device gone)
    // returns false with the reason in `error`; the file stays open until Close.
    bool Write(std::string_view line, std::string& error);

    // Closes the file; returns false with the reason when the last data could not be
    // written.
    bool Close(std::string& error);

  private:
    std::FILE* file_ = nullptr;
    std::string path_;
};

} // namespace telmora
