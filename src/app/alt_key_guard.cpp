#include "app/alt_key_guard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace telmora {

AltKeyGuard::AltKeyGuard(QObject* owner) : QObject(owner) {
    qApp->installEventFilter(this);
}

bool AltKeyGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if (!modifiers.testFlag(Qt::AltModifier) || modifiers.testFlag(Qt::ControlModifier) ||
        key->text().isEmpty())
        return false;
    const bool textBox = qobject_cast<QLineEdit*>(watched) != nullptr ||
                         qobject_cast<QAbstractSpinBox*>(watched) != nullptr ||
                         qobject_cast<QTextEdit*>(watched) != nullptr ||
                         qobject_cast<QPlainTextEdit*>(watched) != nullptr;
    return textBox;
}

} // namespace telmora
