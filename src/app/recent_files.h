#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QMenu;

namespace telmora {

// "&Recent Files": the configuration files last loaded or saved, newest first, kept in the
// user's settings between runs. Each entry is numbered for the keyboard and shows the file's
// name, with its full path as the tooltip; choosing one hands its path to `open`.
class RecentFiles : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxFiles = 4;

    RecentFiles(QMenu& menu, std::function<void(const QString&)> open, QObject* parent = nullptr);

    QStringList Paths() const { return paths_; }
    // `path` was loaded or saved: it goes to the top.
    void Add(const QString& path);
    // `path` could not be loaded: it leaves the list.
    void Remove(const QString& path);

  private:
    void Store();
    void Rebuild();

    QMenu& menu_;
    std::function<void(const QString&)> open_;
    QStringList paths_;
};

} // namespace telmora
