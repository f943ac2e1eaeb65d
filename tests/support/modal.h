#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace telmora::test {

// Acts with `act`, which must close it, on the next modal dialog other than `below` that
// appears while a command runs its own event loop. A dialog still open after `deadlineMs`
// is closed, so a test can never hang (a failed check inside `act` returns early); Seen()
// tells whether a dialog came at all.
class NextModal {
  public:
    explicit NextModal(std::function<void(QWidget*)> act, int deadlineMs = 10000,
                       const QWidget* below = nullptr) {
        QObject::connect(&timer_, &QTimer::timeout, [this, act, deadlineMs, below] {
            waited_ += timer_.interval();
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == below) {
                modal = nullptr;
            }
            if (modal != nullptr && !seen_) {
                seen_ = true;
                title_ = modal->windowTitle();
                name_ = modal->objectName();
                if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                    text_ = box->text();
                }
                act(modal);
            } else if (modal != nullptr && waited_ > deadlineMs) {
                modal->close();
            } else if ((modal == nullptr && seen_) || waited_ > deadlineMs) {
                timer_.stop();
            }
        });
        timer_.start(10);
    }

    bool Seen() const { return seen_; }
    const QString& Title() const { return title_; }
    const QString& Name() const { return name_; }
    const QString& Text() const { return text_; }

    // Closes a message box with `button`, any other dialog as its close box does.
    static void Answer(QWidget* modal, QMessageBox::StandardButton button) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box != nullptr && box->button(button) != nullptr) {
            box->button(button)->click();
        } else {
            modal->close();
        }
    }
    static void Dismiss(QWidget* modal) { Answer(modal, QMessageBox::Ok); }

  private:
    QTimer timer_;
    int waited_ = 0;
    bool seen_ = false;
    QString title_;
    QString name_;
    QString text_;
};

} // namespace telmora::test
