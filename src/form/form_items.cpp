#include "form/form_items.h"

#include <QPainter>

#include <algorithm>

namespace telmora {

namespace {

// Lines and shapes are drawings, not controls: clicks go to what lies beneath them.
void MakeDrawingItem(QWidget* item, const QString& name) {
    item->setObjectName(name);
    item->setAttribute(Qt::WA_TransparentForMouseEvents);
    item->setAttribute(Qt::WA_NoSystemBackground);
    item->setFocusPolicy(Qt::NoFocus);
}

} // namespace

FormLine::FormLine(QWidget* parent, const QString& name, QColor color, int penWidth)
    : QWidget(parent), color_(color), penWidth_(std::max(1, penWidth)) {
    MakeDrawingItem(this, name);
}

void FormLine::SetColor(QColor color) {
    color_ = color;
    update();
}

void FormLine::SetPenWidth(int pixels) {
    penWidth_ = std::max(1, pixels);
    update();
}

void FormLine::SetDashed(bool dashed) {
    dashed_ = dashed;
    update();
}

void FormLine::SetLocalSegment(QLineF segment) {
    // Live readings place the target lines up to 160 times a second, mostly where they
    // already are; a move repaints through setGeometry, so only a new segment needs it.
    if (segment == segment_) {
        return;
    }
    segment_ = segment;
    update();
}

void FormLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool straight = segment_.dx() == 0 || segment_.dy() == 0;
    painter.setRenderHint(QPainter::Antialiasing, !straight);
    QPen pen(color_, penWidth_, dashed_ ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);
    if (segment_.length() == 0) {
        painter.drawPoint(segment_.p1());
    } else {
        painter.drawLine(segment_);
    }
}

FormShape::FormShape(QWidget* parent, const QString& name, Kind kind)
    : QWidget(parent), kind_(kind) {
    MakeDrawingItem(this, name);
}

void FormShape::SetKind(Kind kind) {
    kind_ = kind;
    update();
}

void FormShape::SetFillColor(QColor color) {
    fill_ = color;
    update();
}

void FormShape::SetBorderColor(QColor color) {
    border_ = color;
    update();
}

void FormShape::SetBorderWidth(int pixels) {
    borderWidth_ = std::max(0, pixels);
    update();
}

void FormShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, kind_ != Kind::Rectangle);
    if (borderWidth_ > 0) {
        painter.setPen(QPen(border_, borderWidth_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(fill_.isValid() ? QBrush(fill_) : QBrush(Qt::NoBrush));
    // Keep the whole pen inside the item.
    const double inset = borderWidth_ / 2.0;
    const QRectF box = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    switch (kind_) {
    case Kind::Rectangle:
        painter.drawRect(box);
        break;
    case Kind::RoundedRectangle: {
        const double radius = std::min(box.width(), box.height()) / 4;
        painter.drawRoundedRect(box, radius, radius);
        break;
    }
    case Kind::Oval:
        painter.drawEllipse(box);
        break;
    }
}

} // namespace telmora
