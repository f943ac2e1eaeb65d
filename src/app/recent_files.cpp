#include "app/recent_files.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace telmora {

namespace {

constexpr const char* kRecentKey = "files/recent";

QSettings UserSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Telmora", "Telmora");
}

// One file is one entry, however it was named when it was opened.
QString Canonical(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

RecentFiles::RecentFiles(QMenu& menu, std::function<void(const QString&)> open, QObject* parent)
    : QObject(parent), menu_(menu), open_(std::move(open)) {
    menu_.setToolTipsVisible(true);
    // A settings file edited by hand may hold anything; only the first few paths count.
    for (const QString& path : UserSettings().value(kRecentKey).toStringList()) {
        if (!path.isEmpty() && !paths_.contains(Canonical(path)) && paths_.size() < kMaxFiles) {
            paths_ << Canonical(path);
        }
    }
    Rebuild();
}

void RecentFiles::Add(const QString& path) {
    const QString file = Canonical(path);
    paths_.removeAll(file);
    paths_.prepend(file);
    while (paths_.size() > kMaxFiles) {
        paths_.removeLast();
    }
    Store();
}

void RecentFiles::Remove(const QString& path) {
    paths_.removeAll(Canonical(path));
    Store();
}

void RecentFiles::Store() {
    UserSettings().setValue(kRecentKey, paths_);
    Rebuild();
}

void RecentFiles::Rebuild() {
    // The entry chosen may be the one whose file just failed: it goes once its signal is done.
    for (QAction* old : menu_.actions()) {
        menu_.removeAction(old);
        old->deleteLater();
    }
    for (qsizetype i = 0; i < paths_.size(); ++i) {
        const QString path = paths_.at(i);
        // A "&" in a file name is shown, not taken as an access key.
        const QString name = QFileInfo(path).fileName().replace('&', "&&");
        QAction* entry = menu_.addAction(QString("&%1 %2").arg(i + 1).arg(name));
        entry->setObjectName(QString("mnuFileRecent%1").arg(i + 1));
        entry->setToolTip(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, this, [this, path] { open_(path); });
    }
    menu_.menuAction()->setEnabled(!paths_.isEmpty());
}

} // namespace telmora
