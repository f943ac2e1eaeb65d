#include "config/window_session.h"
#include "exit_codes.h"
#include "kelvo_commands.h"
#include "reading_line.h"
#include "sensor_session.h"

#include <ostream>

namespace telmora::kelvo {

int RunMonitor(const Options& options, std::ostream& out, std::ostream& err) {
    SerialPort port;
    std::string error;
    if (!port.Open(options.Port, error)) {
        err << "kelvo: " << error << "\n";
        return kExitPort;
    }
    // Readings are converted with the scale a freshly opened line assumes.
    SensorSession session(port);
    const ReadingStyle style = options.Csv ? ReadingStyle::Csv : ReadingStyle::Plain;
    if (options.Csv) {
        out << kCsvHeader << "\n" << std::flush;
    }
    long printed = 0;
    const SessionStop stop = session.FollowStream([&](float distance) {
        out << ReadingLine(std::chrono::system_clock::now(), distance, style) << "\n" << std::flush;
        ++printed;
        return !options.Count || printed < *options.Count;
    });
    if (stop == SessionStop::PortLost) {
        err << "kelvo: " << session.PortFailure() << "\n";
        return kExitPort;
    }
    // Ctrl-C is the ordinary way to end a monitor.
    return kExitOk;
}

} // namespace telmora::kelvo
