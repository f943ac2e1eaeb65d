#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "app/about_box.h"
#include "app/command_line.h"
#include "app/help_command.h"
#include "app/main_window.h"

namespace {

QStringList RawArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

int Print(std::FILE* stream, const QString& text, int status) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    return status;
}

} // namespace

int main(int argc, char* argv[]) {
    using telmora::StartRequest;
    // --version and --help answer without a display, so they work on a console too.
    const telmora::CommandLine asked = telmora::ReadCommandLine(RawArguments(argc, argv));
    if (asked.Request == StartRequest::Help || asked.Request == StartRequest::Version) {
        const QCoreApplication console(argc, argv);
        return Print(stdout,
                     asked.Request == StartRequest::Help
                         ? telmora::UsageText()
                         : telmora::VersionReport(telmora::HelpCommand::DefaultPath()),
                     0);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Telmora");
    QApplication::setApplicationVersion(telmora::VersionNumber());
    // Ties the windows to the installed desktop entry and its icon (the build tree has
    // neither, and the windows then show none, as before).
    QGuiApplication::setDesktopFileName("org.telmora.Telmora");
    QApplication::setWindowIcon(QIcon::fromTheme("org.telmora.Telmora"));
    // What is left after the toolkit took its own options.
    const telmora::CommandLine left = telmora::ReadCommandLine(QCoreApplication::arguments());
    if (left.Request == StartRequest::Unknown) {
        return Print(
            stderr,
            QString("telmora: unknown option %1 (telmora --help lists them)\n").arg(left.Unknown),
            2);
    }
    telmora::MainWindow window;
    window.show();
    return QApplication::exec();
}
