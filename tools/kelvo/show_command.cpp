#include "config/window_session.h"
#include "config_report.h"
#include "exit_codes.h"
#include "kelvo_commands.h"

#include "config/config_file_commands.h"

#include <ostream>

namespace telmora::kelvo {

int RunShow(const Options& options, std::ostream& out, std::ostream& err) {
    // Decoded onto the record the program starts with, as "Get Configuration From Disk"
    // does right after start-up.
    WindowSession session = StartUpSession();
    const FileResult loaded = LoadConfigurationFile(options.File, session.Image, session.Record);
    if (!loaded.Ok) {
        err << "kelvo: " << loaded.Error << "\n";
        return kExitFile;
    }
    out << (options.Json ? ConfigurationJson(session.Record) : ConfigurationText(session.Record));
    return kExitOk;
}

} // namespace telmora::kelvo
