#pragma once

#include <QString>
#include <QStringList>

namespace telmora {

// What the command line asks of the program.
enum class StartRequest { Window, Version, Help, Unknown };

struct CommandLine {
    StartRequest Request = StartRequest::Window;
    QString Unknown; // the first option the program does not know, for StartRequest::Unknown
};

// Reads the arguments (the program's name first). --help and --version win over anything
// else, so they answer even beside options meant for the toolkit; any other argument that
// starts with "-" is unknown. Other arguments are left alone.
CommandLine ReadCommandLine(const QStringList& arguments);

// The --version answer: version, build, and where the help document was found or looked for.
QString VersionReport(const QString& helpPath);

// The --help answer.
QString UsageText();

} // namespace telmora
