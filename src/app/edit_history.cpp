#include "app/edit_history.h"

#include "form/editor_widgets.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QUndoCommand>

namespace telmora {

namespace {

// The line scale belongs to the sensor on the line, not to the user's edits: the link and
// the encoder set it, so it neither makes a difference nor goes back with a step.
bool SameEdits(SensorConfig a, const SensorConfig& b) {
    a.CountDistance = b.CountDistance;
    return a == b;
}

QString WithoutAccessKey(QString text) {
    return text.remove('&').trimmed();
}

} // namespace

// One step: the records before and after it. Pushing it does nothing, since the change
// has happened already.
class EditStep : public QUndoCommand {
  public:
    EditStep(EditHistory& history, SensorConfig before, SensorConfig after, const QString& name)
        : QUndoCommand(name), history_(history), before_(std::move(before)),
          after_(std::move(after)) {}

    void undo() override { history_.Restore(before_); }
    void redo() override {
        if (pushed_) {
            history_.Restore(after_);
        }
        pushed_ = true;
    }

  private:
    EditHistory& history_;
    SensorConfig before_;
    SensorConfig after_;
    bool pushed_ = false;
};

EditHistory::EditHistory(std::function<SensorConfig()> record,
                         std::function<void(const SensorConfig&)> show, QObject* parent)
    : QObject(parent), record_(std::move(record)), show_(std::move(show)), steps_(this) {}

void EditHistory::Watch(QWidget& surface, const QList<QMenu*>& menus) {
    // Connected after the editors' own handlers, so a note sees what the action did.
    for (QLineEdit* box : surface.findChildren<QLineEdit*>()) {
        if (box->isReadOnly()) {
            continue; // a measurement shown, no part of the configuration
        }
        if (auto* entry = qobject_cast<EntryBox*>(box)) {
            connect(entry, &EntryBox::Entered, this, [this] { Note(); });
            connect(entry, &EntryBox::FocusLeft, this, [this] { Note(); });
        } else {
            connect(box, &QLineEdit::editingFinished, this, [this] { Note(); });
        }
        controls_.emplace_back(box, box->accessibleName());
    }
    for (OptionLabel* label : surface.findChildren<OptionLabel*>()) {
        connect(label, &OptionLabel::Clicked, this, [this] { Note(); });
        // The spoken name carries the caption after the option's name.
        controls_.emplace_back(label, label->accessibleName().section(": ", 0, 0));
    }
    for (HandleLabel* handle : surface.findChildren<HandleLabel*>()) {
        connect(handle, &HandleLabel::Released, this, [this] { Note(); });
        // A step from the arrow keys ends where it began, as a drag does when released.
        connect(handle, &HandleLabel::Stepped, this, [this] { Note(); });
    }
    for (QMenu* menu : menus) {
        QList<QMenu*> all = menu->findChildren<QMenu*>();
        all.prepend(menu);
        for (QMenu* part : all) {
            for (QAction* entry : part->actions()) {
                if (!entry->isSeparator() && entry->menu() == nullptr) {
                    connect(entry, &QAction::triggered, this,
                            [this, entry] { Note(WithoutAccessKey(entry->text())); });
                }
            }
        }
    }
    texts_ = ControlTexts();
}

void EditHistory::Drive(QAction* undo, QAction* redo) {
    const auto follow = [](QAction* action, const QString& prefix, const QString& step) {
        action->setText(step.isEmpty() ? prefix : prefix + ' ' + step);
    };
    connect(&steps_, &QUndoStack::undoTextChanged, undo,
            [undo, follow](const QString& step) { follow(undo, "&Undo", step); });
    connect(&steps_, &QUndoStack::redoTextChanged, redo,
            [redo, follow](const QString& step) { follow(redo, "&Redo", step); });
    connect(&steps_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(&steps_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(undo, &QAction::triggered, this, &EditHistory::Undo);
    connect(redo, &QAction::triggered, this, &EditHistory::Redo);
    undo->setEnabled(steps_.canUndo());
    redo->setEnabled(steps_.canRedo());
}

void EditHistory::Note(const QString& name) {
    SensorConfig now = record_();
    const QStringList texts = ControlTexts();
    if (!SameEdits(now, current_)) {
        QString step = ChangedControl(texts);
        if (step.isEmpty()) {
            step = name.isEmpty() ? QStringLiteral("Edit") : name;
        }
        steps_.push(new EditStep(*this, current_, now, step));
        current_ = std::move(now);
    }
    texts_ = texts;
    Refresh();
}

SensorConfig EditHistory::Current() {
    Note();
    return current_;
}

void EditHistory::SetBaseline(const SensorConfig& record) {
    baseline_ = record;
    Refresh();
}

void EditHistory::Reset() {
    steps_.clear();
    current_ = record_();
    baseline_ = current_;
    texts_ = ControlTexts();
    Refresh();
}

// Text typed but not yet entered is a step of its own, taken back first.
void EditHistory::Undo() {
    Note();
    steps_.undo();
}

void EditHistory::Redo() {
    Note();
    steps_.redo();
}

void EditHistory::Restore(const SensorConfig& record) {
    show_(record);
    current_ = record_();
    texts_ = ControlTexts();
    Refresh();
}

void EditHistory::Refresh() {
    const bool modified = !SameEdits(current_, baseline_);
    if (modified != modified_) {
        modified_ = modified;
        emit ModifiedChanged(modified);
    }
}

QStringList EditHistory::ControlTexts() const {
    QStringList texts;
    for (const auto& [control, name] : controls_) {
        texts << control->property("text").toString();
    }
    return texts;
}

QString EditHistory::ChangedControl(const QStringList& now) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const auto at = static_cast<qsizetype>(i);
        if (at < texts_.size() && at < now.size() && texts_.at(at) != now.at(at)) {
            return controls_[i].second;
        }
    }
    return {};
}

} // namespace telmora
