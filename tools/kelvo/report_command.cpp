#include "exit_codes.h"
#include "kelvo_commands.h"
#include "config/window_session.h"

#include "config/config_file.h"
#include "display/commissioning_report.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <ostream>

namespace telmora::kelvo {

namespace {

// Written beside the target and renamed over it, so a failed write leaves an earlier
// report as it was.
bool WriteText(const std::string& path, const std::string& text, std::string& error) {
    const std::filesystem::path target(path);
    std::filesystem::path partial = target;
    partial += ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << text;
        file.close();
        if (!file) {
            error = "cannot write '" + path + "': " + std::strerror(errno);
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(partial, target, ec);
    if (ec) {
        error = "cannot write '" + path + "': " + ec.message();
        std::filesystem::remove(partial, ec);
        return false;
    }
    return true;
}

} // namespace

// The report of a configuration file, or of the sensor on a port, as the window shows it
// right after start-up and "Get Configuration From Disk" or "From Sensor". kelvo takes no readings,
// so the statistics and chart say so.
int RunReport(const Options& options, std::ostream& out, std::ostream& err) {
    ReportSource source;
    source.DateTime = LocalDateTimeText(std::time(nullptr));
    if (options.Port.empty()) {
        const ConfigFileContents contents = ReadConfigFile(options.File);
        if (!contents.Ok) {
            err << "kelvo: " << contents.Error << "\n";
            return kExitFile;
        }
        RegisterImage fileImage{};
        FileBytesToImage(contents.Bytes, fileImage);
        source.Record = RecordShownFromFile(fileImage);
        source.Family = SensorFamily::B; // the family the window starts with
        source.ConfigFile = options.File;
    } else {
        RegisterImage sensorImage{};
        if (const int status = ReadSensor(options, source.Family, sensorImage, err);
            status != kExitOk) {
            return status;
        }
        source.Record = RecordShownAfterSensorRead(source.Family, sensorImage);
        source.Port = options.Port;
    }
    std::string error;
    if (!WriteText(options.Output, CommissioningReportHtml(BuildCommissioningReport(source)),
                   error)) {
        err << "kelvo: " << error << "\n";
        return kExitFile;
    }
    out << "Report written to " << options.Output << "\n";
    return kExitOk;
}

} // namespace telmora::kelvo
