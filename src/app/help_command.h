#pragma once

#include <QPointer>
#include <QString>
#include <QTextBrowser>

class QWidget;

namespace telmora {

// The "Help Contents" command: the help document shipped with the program opens in a help
// window. A missing document is reported in a message box naming where it was looked for.
class HelpCommand {
  public:
    // The help document of the program in `programDir`: in the data folder of an installed
    // program (../share/telmora from its bin folder) when it is there, else next to the
    // program, as in the build tree. When neither holds it, the installed place, which the
    // message then names.
    static QString PathFor(const QString& programDir);
    // The help document of the running program.
    static QString DefaultPath();
    static constexpr const char* kFileName = "telmora-help.html";

    explicit HelpCommand(QString path = DefaultPath());

    const QString& Path() const { return path_; }
    void SetPath(QString path) { path_ = std::move(path); }

    // Opens (or raises) the help window over `parent`; returns false after telling the user
    // that the document is missing or unreadable.
    bool Show(QWidget* parent);

    // The open help window, if any.
    QTextBrowser* Browser() const { return browser_; }

  private:
    QString path_;
    QPointer<QTextBrowser> browser_;
};

} // namespace telmora
