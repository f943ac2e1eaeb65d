#include "app/command_line.h"

#include <QDir>
#include <QFileInfo>

#include "app/about_box.h"

namespace telmora {

CommandLine ReadCommandLine(const QStringList& arguments) {
    const QStringList given = arguments.mid(1);
    if (given.contains("--help") || given.contains("-h")) {
        return {StartRequest::Help, {}};
    }
    if (given.contains("--version")) {
        return {StartRequest::Version, {}};
    }
    for (const QString& argument : given) {
        if (argument.startsWith('-') && argument != "-") {
            return {StartRequest::Unknown, argument};
        }
    }
    return {};
}

QString VersionReport(const QString& helpPath) {
    const QFileInfo help(helpPath);
    return VersionText() + "\n" + BuildText() +
           "\nHelp: " + QDir::toNativeSeparators(help.absoluteFilePath()) +
           (help.isFile() && help.isReadable() ? "" : " (missing)") + "\n";
}

QString UsageText() {
    return "Usage: telmora [OPTION]\n"
           "Configures and watches Kelvo-A and Kelvo-B ultrasonic distance sensors over a "
           "serial line.\n"
           "\n"
           "  -h, --help     show this text\n"
           "      --version  show the version, the build and where the help document is\n"
           "\n"
           "The toolkit's own options, such as -platform NAME, are accepted too.\n";
}

} // namespace telmora
