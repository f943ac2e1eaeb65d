#include "form/form_surface.h"

#include "form/form_geometry.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>

namespace telmora {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kSmallestShare = 0.4; // of the design size, as the minimum window

} // namespace

FormSurface::FormSurface(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QFont base = font();
    base.setPointSizeF(kDesignFontPoints);
    setFont(base);
}

// Layer owners are often children of the surface, destroyed after this body has run: their
// destroyed() must no longer reach the layer list.
FormSurface::~FormSurface() {
    for (const Layer& layer : layers_) {
        QObject::disconnect(layer.Removal);
    }
}

int FormSurface::AddPaintLayer(QObject* owner, PaintLayer paint) {
    const int id = nextLayerId_++;
    QMetaObject::Connection removal;
    if (owner != nullptr) {
        removal = connect(owner, &QObject::destroyed, this, [this, id] { RemovePaintLayer(id); });
    }
    layers_.append({id, owner, std::move(paint), removal});
    update();
    return id;
}

void FormSurface::RemovePaintLayer(int id) {
    layers_.removeIf([id](const Layer& layer) {
        if (layer.Id != id) {
            return false;
        }
        QObject::disconnect(layer.Removal);
        return true;
    });
    update();
}

void FormSurface::PaintLayers(QPainter& painter) const {
    for (const Layer& layer : layers_) {
        painter.save();
        layer.Paint(painter);
        painter.restore();
    }
}

double FormSurface::TwipsPerPixelX() const {
    return kTwipsPerInch / logicalDpiX();
}

double FormSurface::TwipsPerPixelY() const {
    return kTwipsPerInch / logicalDpiY();
}

void FormSurface::ScaleFont(double factor) {
    if (std::abs(factor - fontFactor_) < 0.005) {
        return;
    }
    fontFactor_ = factor;
    QFont scaled = font();
    scaled.setPointSizeF(kDesignFontPoints * factor);
    setFont(scaled);
}

QSize FormSurface::sizeHint() const {
    if (geometry_ != nullptr) {
        return geometry_->DesignSizePixels();
    }
    return QWidget::sizeHint();
}

QSize FormSurface::minimumSizeHint() const {
    const QSize design = sizeHint();
    return {static_cast<int>(design.width() * kSmallestShare),
            static_cast<int>(design.height() * kSmallestShare)};
}

void FormSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.scale(1 / TwipsPerPixelX(), 1 / TwipsPerPixelY());
    PaintLayers(painter);
}

void FormSurface::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit Resized();
}

} // namespace telmora
