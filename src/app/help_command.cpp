#include "app/help_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>

#include "app/build_info.h"

namespace telmora {

QString HelpCommand::PathFor(const QString& programDir) {
    const QDir program(programDir);
    const QString installed =
        QDir::cleanPath(program.filePath(QString(build::kDataDirFromProgram) + "/" + kFileName));
    const QString beside = program.filePath(kFileName);
    if (!QFileInfo(installed).isFile() && QFileInfo(beside).isFile()) {
        return beside;
    }
    return installed;
}

QString HelpCommand::DefaultPath() {
    return PathFor(QCoreApplication::applicationDirPath());
}

HelpCommand::HelpCommand(QString path) : path_(std::move(path)) {}

bool HelpCommand::Show(QWidget* parent) {
    const QFileInfo file(path_);
    if (!file.isFile() || !file.isReadable()) {
        QMessageBox::warning(parent, "Help",
                             QString("The help file was not found:\n%1")
                                 .arg(QDir::toNativeSeparators(file.absoluteFilePath())));
        return false;
    }
    if (browser_ == nullptr) {
        // A separate top-level window, so the user can read it beside the main window.
        browser_ = new QTextBrowser(parent);
        browser_->setWindowFlag(Qt::Window);
        browser_->setAttribute(Qt::WA_DeleteOnClose);
        browser_->setObjectName("telmoraHelp");
        browser_->setWindowTitle("Telmora Help");
        browser_->setAccessibleName("Telmora help");
        browser_->setOpenExternalLinks(true);
        browser_->resize(640, 720);
    }
    browser_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
    return true;
}

} // namespace telmora
