#include "form/display_controls.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <utility>

namespace telmora {

namespace {

// Refits the box's font whenever the box changes size or its parent's font changes: the
// geometry layer does both on every resize of the window, in either order.
class TextFitter : public QObject {
  public:
    TextFitter(QLineEdit* box, QString widest)
        : QObject(box), box_(box), widest_(std::move(widest)) {
        box->installEventFilter(this);
        if (box->parentWidget() != nullptr)
            box->parentWidget()->installEventFilter(this);
        Fit();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool resized = watched == box_ && event->type() == QEvent::Resize;
        const bool refont = watched != box_ && event->type() == QEvent::FontChange;
        if (resized || refont)
            Fit();
        return false;
    }

  private:
    void Fit() {
        const QWidget* parent = box_->parentWidget();
        QFont font = parent != nullptr ? parent->font() : box_->font();
        // The frame and the line edit's own side margin take this much of the width.
        constexpr double kInnerMargin = 6;
        const double room = box_->width() - kInnerMargin;
        const double wanted = QFontMetricsF(font).horizontalAdvance(widest_);
        if (room > 0 && wanted > room && font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * room / wanted);
        if (font != box_->font())
            box_->setFont(font);
    }

    QLineEdit* box_;
    QString widest_;
};

} // namespace

QLabel* MakeLabel(QWidget* parent, FormGeometry& geometry, const char* name, const QString& caption,
                  TwipRect design) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setAccessibleName(caption);
    geometry.Place(label, design);
    return label;
}

QLineEdit* MakeValueBox(QWidget* parent, FormGeometry& geometry, const char* name,
                        const QString& spoken, TwipRect design) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(spoken);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setTextMargins(0, 0, 0, 0);
    geometry.Place(box, design);
    return box;
}

void FitTextToBox(QLineEdit* box, const QString& widest) {
    new TextFitter(box, widest);
}

QPushButton* MakeButton(QWidget* parent, FormGeometry& geometry, const char* name,
                        const QString& caption, const QString& toolTip, TwipRect design) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setToolTip(toolTip);
    geometry.Place(button, design);
    return button;
}

void ShowValue(QLineEdit* box, const QString& text) {
    if (box->text() != text) {
        box->setText(text);
    }
}

bool AsksForPopUp(const QKeyEvent& event) {
    return event.key() == Qt::Key_Menu ||
           (event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier);
}

FocusArea::FocusArea(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void FocusArea::keyPressEvent(QKeyEvent* event) {
    if (!AsksForPopUp(*event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    emit customContextMenuRequested(rect().center());
}

void FocusArea::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void FocusArea::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void FocusArea::paintEvent(QPaintEvent*) {
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

} // namespace telmora
