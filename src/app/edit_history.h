#pragma once

#include "config/sensor_config.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUndoStack>

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace telmora {

// The configuration edits made on the main window as steps the user can take back and
// again, and whether the window's configuration still is the one last loaded, saved, read
// or written (the baseline). A step holds the whole record before and after it: taking it
// back shows the earlier record.
//
// The window's record is what reading the window back gives; a change shows up as soon as
// a user action ends (a box entered or left, a handle released, a label clicked, a menu
// entry chosen), and the commands that drop the window's configuration note first, so
// text typed into a box that was never left counts too.
class EditHistory : public QObject {
    Q_OBJECT
  public:
    // `record` reads the window's configuration without changing anything; `show` puts a
    // record on the window.
    EditHistory(std::function<SensorConfig()> record, std::function<void(const SensorConfig&)> show,
                QObject* parent = nullptr);

    // Listens to the editing controls on `surface` (entry boxes, option labels, handles,
    // other editable line edits) and to the entries of `menus` and their submenus.
    void Watch(QWidget& surface, const QList<QMenu*>& menus);
    // "&Undo ..." and "&Redo ...": their texts, enabled state and commands.
    void Drive(QAction* undo, QAction* redo);

    // A change since the last step becomes a step, named after the first watched control
    // whose text changed, else `name`.
    void Note(const QString& name = {});
    // The window's configuration as it stands (noted first).
    SensorConfig Current();
    // The configuration the window was last saved as, loaded from or sent as.
    void SetBaseline(const SensorConfig& record);
    // The window shows a configuration that arrived: it is the baseline, and no step
    // reaches back before it.
    void Reset();
    bool IsModified() const { return modified_; }
    QUndoStack& Steps() { return steps_; }

    void Undo();
    void Redo();

  signals:
    void ModifiedChanged(bool modified);

  private:
    friend class EditStep;
    void Restore(const SensorConfig& record);
    void Refresh();
    QStringList ControlTexts() const;
    QString ChangedControl(const QStringList& now) const;

    std::function<SensorConfig()> record_;
    std::function<void(const SensorConfig&)> show_;
    QUndoStack steps_;
    SensorConfig current_;
    SensorConfig baseline_;
    bool modified_ = false;
    // The watched controls with the name a step takes from them, and their texts as the
    // last step left them.
    std::vector<std::pair<QWidget*, QString>> controls_;
    QStringList texts_;
};

} // namespace telmora
