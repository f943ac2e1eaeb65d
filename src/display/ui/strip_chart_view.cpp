#include "display/ui/strip_chart_view.h"

#include "config/number_text.h"
#include "config/sensor_config.h"
#include "display/print_redraw.h"
#include "display/ui/local_time.h"
#include "form/display_controls.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace telmora {

namespace {

constexpr TwipRect kChartBoxDesign{120, 5520, 8172, 1812};

} // namespace

StripChartView::StripChartView(FormSurface& surface, FormGeometry& geometry,
                               const SensorConfig& config)
    : QObject(&surface), surface_(surface), geometry_(geometry), config_(config) {
    BuildControls(surface, config);
    paintTimer_.setSingleShot(true);
    paintTimer_.setInterval(kPaintIntervalMs);
    connect(&paintTimer_, &QTimer::timeout, this, &StripChartView::FlushDrawing);
    // The view lives exactly as long as the surface (it is the surface's child), so the
    // layer needs no owner to remove it early.
    surface.AddPaintLayer(nullptr, [this](QPainter& painter) { PaintTrace(painter); });
    SizeBuffer();
    // The empty box shows where the chart will run; the head stays unset, so the first
    // reading still starts from the top-left corner.
    drawing_.FillBackground(Box());
    drawing_.Outline(Box());
    FlushDrawing();
}

void StripChartView::BuildControls(FormSurface& surface, const SensorConfig& config) {
    // The box itself is only a place on the window: the trace is painted beneath it.
    stripChartBox_ = new FocusArea(&surface);
    stripChartBox_->setObjectName("StripChartBox");
    stripChartBox_->setAccessibleName("Strip chart");
    stripChartBox_->setAccessibleDescription("Measured distance over time, near at the top");
    geometry_.Place(stripChartBox_, kChartBoxDesign);
    BuildContextMenu();

    lblMinRange_ = MakeLabel(&surface, geometry_, "lblMinRange", {}, {8400, 5400, 615, 255});
    lblMinRange_->setAccessibleName("Chart top, minimum range");
    lblMaxRange_ = MakeLabel(&surface, geometry_, "lblMaxRange", {}, {8400, 7200, 615, 255});
    lblMaxRange_->setAccessibleName("Chart bottom, maximum range");
    lblMinRange_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblMaxRange_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ShowMinRangeCaption(QString::fromStdString(FormatTwoDecimals(config.MinRange)));
    ShowMaxRangeCaption(QString::fromStdString(FormatTwoDecimals(config.MaxRange)));
    MakeLabel(&surface, geometry_, "lblStripChartMinUnits", "inches", {9060, 5400, 615, 255});
    MakeLabel(&surface, geometry_, "Label1", "inches", {9060, 7200, 615, 255});
    auto* tickTop = new FormLine(&surface, "Line6");
    geometry_.PlaceLine(tickTop, {8292, 5520}, {8400, 5520});
    auto* tickBottom = new FormLine(&surface, "Line5");
    geometry_.PlaceLine(tickBottom, {8292, 7332}, {8400, 7332});

    MakeLabel(&surface, geometry_, "lblStripChartControl", "Chart Control",
              {9840, 5520, 1920, 255});
    auto* start = MakeButton(&surface, geometry_, "cmdStripChartStart", "Start",
                             "Restarts the chart", {9840, 5820, 615, 375});
    auto* stop = MakeButton(&surface, geometry_, "cmdStripChartStop", "Stop", "Stops the chart",
                            {10492, 5820, 615, 375});
    auto* reset =
        MakeButton(&surface, geometry_, "CmdStripChartRedraw", "Reset",
                   "Erases and restarts the chart at the far left", {11145, 5820, 615, 375});
    connect(start, &QPushButton::clicked, this, &StripChartView::cmdStripChartStartClick);
    connect(stop, &QPushButton::clicked, this, &StripChartView::cmdStripChartStopClick);
    connect(reset, &QPushButton::clicked, this, &StripChartView::CmdStripChartRedrawClick);

    auto* speedCaption =
        MakeLabel(&surface, geometry_, "lblChartSpeed", "Chart Speed", {9840, 6480, 1920, 255});
    hsbChartSpeed_ = new QScrollBar(Qt::Horizontal, &surface);
    hsbChartSpeed_->setObjectName("hsbChartSpeed");
    hsbChartSpeed_->setAccessibleName("Chart speed, twips per reading");
    hsbChartSpeed_->setRange(kChartSpeedMin, kChartSpeedMax);
    hsbChartSpeed_->setValue(kChartSpeedDefault);
    hsbChartSpeed_->setPageStep(kChartSpeedLargeStep);
    hsbChartSpeed_->setSingleStep(1);
    speedCaption->setBuddy(hsbChartSpeed_);
    geometry_.Place(hsbChartSpeed_, {9840, 6780, 1920, 255});
}

void StripChartView::ShowMinRangeCaption(const QString& text) {
    lblMinRange_->setText(text);
}

void StripChartView::ShowMaxRangeCaption(const QString& text) {
    lblMaxRange_->setText(text);
}

ChartBox StripChartView::Box() const {
    const TwipRect r = geometry_.Rect(stripChartBox_);
    return {static_cast<float>(r.Left), static_cast<float>(r.Top), static_cast<float>(r.Width),
            static_cast<float>(r.Height)};
}

int StripChartView::Speed() const {
    return hsbChartSpeed_->value();
}

void StripChartView::SizeBuffer() {
    chart_.SizeBuffer(Box().Width);
}

void StripChartView::ChartAddPoint(float distance) {
    chart_.ChartAddPoint(distance, Box(), Speed(), config_.MinRange, config_.MaxRange, drawing_,
                         ToLocalDateTime(QDateTime::currentDateTime()));
    TakeDrawing();
    if (!unpainted_.empty() && !paintTimer_.isActive()) {
        paintTimer_.start();
    }
}

void StripChartView::ChartReset() {
    chart_.ChartReset(Box(), drawing_);
    FlushDrawing();
}

void StripChartView::cmdStripChartStartClick() {
    chart_.SetRunning(true);
}

void StripChartView::cmdStripChartStopClick() {
    chart_.SetRunning(false);
}

void StripChartView::CmdStripChartRedrawClick() {
    ChartReset();
}

bool StripChartView::RedrawForPrint(const QString& maxRangeText) {
    const bool drawn =
        RedrawChartForPrint(chart_, Box(), Speed(), maxRangeText.toStdString(), drawing_);
    FlushDrawing();
    return drawn;
}

void StripChartView::TakeDrawing() {
    std::vector<DrawOp> ops = drawing_.TakeOps();
    // Kept in design twips, so the trace scales with the window as the box does. Each
    // drawing is converted at the scale it was computed at: a resize may come before the
    // next paint.
    const float sx = static_cast<float>(geometry_.ScaleX());
    const float sy = static_cast<float>(geometry_.ScaleY());
    for (DrawOp& op : ops) {
        op.X1 /= sx;
        op.X2 /= sx;
        op.Y1 /= sy;
        op.Y2 /= sy;
    }
    Retain(ops);
    unpainted_.insert(unpainted_.end(), ops.begin(), ops.end());
}

namespace {
// More than the trace's pen is wide at any scale, in design twips.
constexpr double kPenTwips = 30;
} // namespace

void StripChartView::FlushDrawing() {
    paintTimer_.stop();
    TakeDrawing();
    if (unpainted_.empty()) {
        return;
    }
    // Painting the batch over the image gives what a replay of the retained trace would:
    // an erase covers what it hides.
    if (ImageCurrent()) {
        QPainter painter(&image_);
        PaintOps(painter, unpainted_.data(), unpainted_.data() + unpainted_.size());
    }
    // Only where the batch drew needs repainting (a few segments at the head, or the whole
    // box after an erase), and everything is clipped to the box.
    QRectF drawn;
    for (const DrawOp& op : unpainted_) {
        // Widened, so that a level line or a single point still counts.
        drawn |= QRectF(QPointF(op.X1, op.Y1), QPointF(op.X2, op.Y2))
                     .normalized()
                     .adjusted(-kPenTwips, -kPenTwips, kPenTwips, kPenTwips);
    }
    unpainted_.clear();
    const QRect area = DesignToPixels().mapRect(drawn).toAlignedRect().adjusted(-2, -2, 2, 2);
    surface_.update(area & TraceArea());
}

void StripChartView::Retain(const std::vector<DrawOp>& ops) {
    for (const DrawOp& op : ops) {
        if (op.Kind == DrawOp::Kind::FillBackground) {
            // Every erase covers the whole box, and nothing is drawn outside it: what was
            // retained before is hidden, so the retained trace stays as long as one sweep.
            retained_.clear();
        }
        retained_.push_back(op);
    }
}

QRectF StripChartView::ClipInDesignTwips() const {
    const TwipRect box = geometry_.Rect(stripChartBox_);
    // Half a screen pixel around the box holds the outer half of the outline's pen.
    const double marginX = surface_.TwipsPerPixelX() / 2;
    const double marginY = surface_.TwipsPerPixelY() / 2;
    return QRectF((box.Left - marginX) / geometry_.ScaleX(),
                  (box.Top - marginY) / geometry_.ScaleY(),
                  (box.Width + 2 * marginX) / geometry_.ScaleX(),
                  (box.Height + 2 * marginY) / geometry_.ScaleY());
}

QTransform StripChartView::DesignToPixels() const {
    return QTransform::fromScale(geometry_.ScaleX() / surface_.TwipsPerPixelX(),
                                 geometry_.ScaleY() / surface_.TwipsPerPixelY());
}

QRect StripChartView::TraceArea() const {
    return DesignToPixels().mapRect(ClipInDesignTwips()).toAlignedRect().adjusted(-1, -1, 1, 1);
}

QSize StripChartView::ImageSize() const {
    return (QSizeF(surface_.size()) * surface_.devicePixelRatioF()).toSize();
}

bool StripChartView::ImageCurrent() const {
    return !image_.isNull() && imageScaleX_ == geometry_.ScaleX() &&
           imageScaleY_ == geometry_.ScaleY() &&
           image_.devicePixelRatio() == surface_.devicePixelRatioF() &&
           image_.size() == ImageSize();
}

// The image holds the surface's device pixels, and its painter maps logical pixels onto
// them by itself, from the image's pixel ratio: the drawing is given in logical pixels.
void StripChartView::RebuildImage() {
    const qreal ratio = surface_.devicePixelRatioF();
    const QSize size = ImageSize();
    if (image_.size() != size) {
        image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    }
    image_.setDevicePixelRatio(ratio);
    image_.fill(Qt::transparent);
    imageScaleX_ = geometry_.ScaleX();
    imageScaleY_ = geometry_.ScaleY();
    QPainter painter(&image_);
    PaintOps(painter, retained_.data(), retained_.data() + retained_.size());
}

void StripChartView::PaintTrace(QPainter& painter) {
    if (traceHidden_) {
        return;
    }
    if (!ImageCurrent()) {
        RebuildImage();
    }
    // The layer's painter counts in twips; the image is in the surface's pixels.
    painter.scale(surface_.TwipsPerPixelX(), surface_.TwipsPerPixelY());
    // Most repaints are of the gauges, away from the chart: only the part of the image
    // that can hold trace and lies in the repainted area is drawn.
    QRect area = TraceArea();
    if (painter.hasClipping()) {
        area &= painter.clipBoundingRect().toAlignedRect();
    }
    if (area.isEmpty()) {
        return;
    }
    const qreal ratio = image_.devicePixelRatio();
    painter.drawImage(QRectF(area), image_,
                      QRectF(area.left() * ratio, area.top() * ratio, area.width() * ratio,
                             area.height() * ratio));
}

void StripChartView::PaintTraceInPixels(QPainter& painter) const {
    painter.save();
    PaintOps(painter, retained_.data(), retained_.data() + retained_.size());
    painter.restore();
}

// `painter` counts in logical pixels of the surface; the operations are in design twips.
void StripChartView::PaintOps(QPainter& painter, const DrawOp* first, const DrawOp* last) const {
    painter.setTransform(DesignToPixels(), true);
    // The trace belongs in the box: a line from a head left behind by a resize, or a printed
    // point beyond the maximum range, is cut at its edge.
    painter.setClipRect(ClipInDesignTwips(), Qt::IntersectClip);
    const QPalette& palette = surface_.palette();
    // One screen pixel wide, in design twips, so the printout's lines are as fine as the
    // screen's.
    const double width = surface_.TwipsPerPixelX() / geometry_.ScaleX();
    QPen pen(palette.color(QPalette::WindowText), width, Qt::SolidLine, Qt::SquareCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const DrawOp* op = first; op != last; ++op) {
        const QRectF rect(QPointF(op->X1, op->Y1), QPointF(op->X2, op->Y2));
        switch (op->Kind) {
        case DrawOp::Kind::FillBackground:
            // Over the outline's outer half too, up to the clip, so an erase leaves nothing.
            painter.fillRect(rect.adjusted(-width, -width, width, width),
                             palette.color(QPalette::Window));
            break;
        case DrawOp::Kind::Outline:
            painter.drawRect(rect);
            break;
        case DrawOp::Kind::Line:
            if (op->X1 == op->X2 && op->Y1 == op->Y2) {
                painter.drawPoint(QPointF(op->X1, op->Y1));
            } else {
                painter.drawLine(QPointF(op->X1, op->Y1), QPointF(op->X2, op->Y2));
            }
            break;
        }
    }
}

} // namespace telmora
