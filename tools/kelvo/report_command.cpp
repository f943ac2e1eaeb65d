#include "config/window_session.h"
#include "exit_codes.h"
#include "kelvo_commands.h"

#include "config/config_file.h"
#include "display/commissioning_report.h"

#include <ctime>
#include <ostream>

namespace telmora::kelvo {

// The report of a configuration file, or of the sensor on a port, as the window shows it
// right after start-up and "Get Configuration From Disk" or "From Sensor". kelvo takes no readings,
// so the statistics and chart say so.
int RunReport(const Options& options, std::ostream& out, std::ostream& err) {
    ReportSource source;
    source.DateTime = LocalDateTimeText(std::time(nullptr));
    // A file that cannot be read fails before the sensor is spoken to.
    RegisterImage fileImage{};
    if (!options.File.empty() && !ReadFileImage(options.File, fileImage, err)) {
        return kExitFile;
    }
    if (options.Port.empty()) {
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
        if (!options.File.empty()) {
            // The file the sensor was meant to hold, and whether it does.
            const std::size_t differences =
                CountDifferences(CompareSensorWithFile(source.Family, sensorImage, fileImage));
            source.ConfigFile =
                options.File + (differences == 0
                                    ? " (the sensor holds the same)"
                                    : " (the sensor differs in " + std::to_string(differences) +
                                          (differences == 1 ? " parameter)" : " parameters)"));
        }
    }
    const std::string html = CommissioningReportHtml(BuildCommissioningReport(source));
    if (const FileResult written = WriteFileAtomically(options.Output, html.data(), html.size());
        !written.Ok) {
        err << "kelvo: " << written.Error << "\n";
        return kExitFile;
    }
    out << "Report written to " << options.Output << "\n";
    return kExitOk;
}

} // namespace telmora::kelvo
