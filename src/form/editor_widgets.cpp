#include "form/editor_widgets.h"

#include "form/display_controls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace telmora {

QString WithAccessKey(const QString& caption, QChar key) {
    QString marked = caption;
    const qsizetype at = marked.indexOf(key, 0, Qt::CaseInsensitive);
    if (at >= 0) {
        marked.insert(at, '&');
    }
    return marked;
}

void SetBackground(QLabel* label, QColor colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

QColor Background(const QLabel* label) {
    return label->palette().color(QPalette::Window);
}

EntryBox::EntryBox(QWidget* parent, const QString& name, const QString& accessibleName,
                   const QString& toolTip)
    : QLineEdit(parent) {
    setObjectName(name);
    setAccessibleName(accessibleName);
    setToolTip(toolTip);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The boxes are as narrow as the numbers they hold; a narrower face of the window's
    // font keeps "221.72" whole. Only the stretch is set, so the size still follows the
    // window's font as it scales.
    QFont narrow;
    narrow.setStretch(QFont::SemiCondensed);
    setFont(narrow);
    connect(this, &QLineEdit::returnPressed, this, &EntryBox::Entered);
}

void EntryBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        emit FocusLeft();
    }
}

OptionLabel::OptionLabel(QWidget* parent, const QString& name, const QString& accessiblePrefix,
                         const QString& toolTip)
    : QLabel(parent), prefix_(accessiblePrefix), toolTip_(toolTip) {
    setObjectName(name);
    setToolTip(toolTip);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void OptionLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit Clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void OptionLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void OptionLabel::Show(const QString& caption, QColor colour, const QString& meaning) {
    setText(caption);
    SetBackground(this, colour);
    setAccessibleName(prefix_ + ": " + caption);
    setToolTip(meaning.isEmpty() ? toolTip_ : toolTip_ + "\n" + caption + ": " + meaning);
}

void OptionLabel::mousePressEvent(QMouseEvent* event) {
    leftPressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a left press and release on the label itself.
void OptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        leftPressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
    leftPressed_ = false;
    event->accept();
    if (click) {
        emit Clicked();
    }
}

HandleLabel::HandleLabel(QWidget* parent, const QString& name, const QString& accessibleName,
                         const QString& toolTip)
    : QLabel(parent) {
    setObjectName(name);
    setAccessibleName(accessibleName);
    setToolTip(toolTip);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::SizeHorCursor);
}

void HandleLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit Pressed(event->button(), event->globalPosition().toPoint());
}

void HandleLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit Moved(event->position());
}

void HandleLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    emit Released(event->button());
}

void HandleLabel::LeadPair(HandleLabel* second, QWidget* box) {
    second_ = second;
    // Widgets that take no focus cannot be ordered.
    setFocusPolicy(Qt::TabFocus);
    second->setFocusPolicy(Qt::TabFocus);
    setTabOrder(box, this);
    // Tab treats the second strip as a way to this one, so the second follows it in the
    // chain, where Tab passes it by; anywhere else, Tab would land here from there.
    setTabOrder(this, second);
    // Focus given to the second strip goes to this one, and the second reports it as its own.
    second->setFocusProxy(this);
    setAccessibleDescription("Arrow keys move the value, Shift with an arrow ten steps; "
                             "Shift+F10 opens the options");
}

QPoint HandleLabel::MenuPosition() const {
    return mapToGlobal(rect().bottomRight());
}

void HandleLabel::keyPressEvent(QKeyEvent* event) {
    const int unit = event->modifiers().testFlag(Qt::ShiftModifier) ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        emit Stepped(unit);
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        emit Stepped(-unit);
        break;
    default:
        if (AsksForPopUp(*event)) {
            emit MenuAsked(MenuPosition());
            break;
        }
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
}

void HandleLabel::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    update();
    if (second_ != nullptr) {
        second_->update();
    }
}

void HandleLabel::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    update();
    if (second_ != nullptr) {
        second_->update();
    }
}

// The frame grows with the strip, so it stays plain on a large screen scale; white under
// black dashes shows on every strip colour.
void HandleLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    const int thickness = std::max(1, std::min(width(), height()) / 8);
    const QRectF frame = QRectF(rect()).adjusted(thickness / 2.0, thickness / 2.0, -thickness / 2.0,
                                                 -thickness / 2.0);
    QPainter painter(this);
    painter.setPen(QPen(Qt::white, thickness));
    painter.drawRect(frame);
    painter.setPen(QPen(Qt::black, thickness, Qt::DashLine));
    painter.drawRect(frame);
}

QLabel* MakeCaption(QWidget* parent, const QString& name, const QString& caption,
                    Qt::Alignment alignment) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setAccessibleName(caption);
    label->setAlignment(alignment);
    return label;
}

} // namespace telmora
