#include "form/form_geometry.h"

#include "form/form_items.h"
#include "form/form_surface.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace telmora {

namespace {

// A window shrunk to nothing would make every current size 0 and lose the layout; the
// surface's minimum size keeps the scale well above this, and the floor guards the rest.
constexpr double kSmallestScale = 0.05;

} // namespace

FormGeometry::FormGeometry(FormSurface& surface, double designWidth, double designHeight)
    : surface_(surface), surfaceAlive_(&surface), designWidth_(designWidth),
      designHeight_(designHeight) {
    surface_.geometry_ = this;
    connect(&surface_, &FormSurface::Resized, this, &FormGeometry::Rescale);
}

FormGeometry::~FormGeometry() {
    if (surfaceAlive_ != nullptr) {
        surfaceAlive_->geometry_ = nullptr;
    }
}

double FormGeometry::TwipsPerPixelX() const {
    return surface_.TwipsPerPixelX();
}

double FormGeometry::TwipsPerPixelY() const {
    return surface_.TwipsPerPixelY();
}

QPointF FormGeometry::PixelsToTwips(QPointF pixels) const {
    return {pixels.x() * TwipsPerPixelX(), pixels.y() * TwipsPerPixelY()};
}

QPointF FormGeometry::TwipsToPixels(QPointF twips) const {
    return {twips.x() / TwipsPerPixelX(), twips.y() / TwipsPerPixelY()};
}

QSize FormGeometry::DesignSizePixels() const {
    return {static_cast<int>(std::lround(designWidth_ / TwipsPerPixelX())),
            static_cast<int>(std::lround(designHeight_ / TwipsPerPixelY()))};
}

void FormGeometry::Place(QWidget* control, TwipRect design) {
    const bool known = rects_.contains(control);
    rects_.insert(control, QRectF(design.Left, design.Top, std::max(0.0, design.Width),
                                  std::max(0.0, design.Height)));
    if (!known) {
        connect(control, &QObject::destroyed, this, &FormGeometry::Forget);
    }
    Apply(control);
}

void FormGeometry::PlaceLine(FormLine* line, TwipPoint designStart, TwipPoint designEnd) {
    const bool known = lines_.contains(line);
    lines_.insert(line, {QPointF(designStart.X, designStart.Y), QPointF(designEnd.X, designEnd.Y)});
    if (!known) {
        connect(line, &QObject::destroyed, this, &FormGeometry::Forget);
    }
    ApplyLine(line);
}

bool FormGeometry::IsPlaced(const QWidget* control) const {
    return rects_.contains(control) || lines_.contains(control);
}

TwipRect FormGeometry::Rect(const QWidget* control) const {
    const QRectF& d = DesignRect(control);
    return {d.left() * scaleX_, d.top() * scaleY_, d.width() * scaleX_, d.height() * scaleY_};
}

void FormGeometry::SetRect(QWidget* control, TwipRect current) {
    QRectF& d = DesignRect(control);
    d = QRectF(current.Left / scaleX_, current.Top / scaleY_,
               std::max(0.0, current.Width) / scaleX_, std::max(0.0, current.Height) / scaleY_);
    Apply(control);
}

void FormGeometry::SetLeft(QWidget* control, double left) {
    TwipRect r = Rect(control);
    r.Left = left;
    SetRect(control, r);
}

void FormGeometry::SetTop(QWidget* control, double top) {
    TwipRect r = Rect(control);
    r.Top = top;
    SetRect(control, r);
}

void FormGeometry::SetWidth(QWidget* control, double width) {
    TwipRect r = Rect(control);
    r.Width = width;
    SetRect(control, r);
}

void FormGeometry::SetHeight(QWidget* control, double height) {
    TwipRect r = Rect(control);
    r.Height = height;
    SetRect(control, r);
}

TwipPoint FormGeometry::LineStart(const FormLine* line) const {
    const QPointF p = DesignToCurrent(DesignEnds(line).Start);
    return {p.x(), p.y()};
}

TwipPoint FormGeometry::LineEnd(const FormLine* line) const {
    const QPointF p = DesignToCurrent(DesignEnds(line).End);
    return {p.x(), p.y()};
}

void FormGeometry::SetLineStart(FormLine* line, TwipPoint current) {
    DesignEnds(line).Start = CurrentToDesign({current.X, current.Y});
    ApplyLine(line);
}

void FormGeometry::SetLineEnd(FormLine* line, TwipPoint current) {
    DesignEnds(line).End = CurrentToDesign({current.X, current.Y});
    ApplyLine(line);
}

void FormGeometry::SetLineEnds(FormLine* line, TwipPoint start, TwipPoint end) {
    DesignEnds(line) = {CurrentToDesign({start.X, start.Y}), CurrentToDesign({end.X, end.Y})};
    ApplyLine(line);
}

void FormGeometry::Rescale() {
    const double width = surface_.width() * TwipsPerPixelX();
    const double height = surface_.height() * TwipsPerPixelY();
    scaleX_ = std::max(kSmallestScale, width / designWidth_);
    scaleY_ = std::max(kSmallestScale, height / designHeight_);
    for (auto it = rects_.keyBegin(); it != rects_.keyEnd(); ++it) {
        Apply(static_cast<QWidget*>(const_cast<QObject*>(*it)));
    }
    for (auto it = lines_.keyBegin(); it != lines_.keyEnd(); ++it) {
        ApplyLine(static_cast<FormLine*>(const_cast<QObject*>(*it)));
    }
    surface_.ScaleFont(std::min(scaleX_, scaleY_));
}

QRectF& FormGeometry::DesignRect(const QWidget* control) {
    auto it = rects_.find(control);
    Q_ASSERT_X(it != rects_.end(), "FormGeometry", "control was never placed");
    return *it;
}

const QRectF& FormGeometry::DesignRect(const QWidget* control) const {
    auto it = rects_.constFind(control);
    Q_ASSERT_X(it != rects_.constEnd(), "FormGeometry", "control was never placed");
    return *it;
}

FormGeometry::LineEnds& FormGeometry::DesignEnds(const FormLine* line) {
    auto it = lines_.find(line);
    Q_ASSERT_X(it != lines_.end(), "FormGeometry", "line was never placed");
    return *it;
}

const FormGeometry::LineEnds& FormGeometry::DesignEnds(const FormLine* line) const {
    auto it = lines_.constFind(line);
    Q_ASSERT_X(it != lines_.constEnd(), "FormGeometry", "line was never placed");
    return *it;
}

// Both edges are rounded, not the width, so two controls that meet at one twip position
// (a switch's near and far handles) meet at one pixel too.
void FormGeometry::Apply(QWidget* control) {
    const TwipRect r = Rect(control);
    const double px = TwipsPerPixelX();
    const double py = TwipsPerPixelY();
    const long left = std::lround(r.Left / px);
    const long top = std::lround(r.Top / py);
    const long right = std::lround((r.Left + r.Width) / px);
    const long bottom = std::lround((r.Top + r.Height) / py);
    control->setGeometry(static_cast<int>(left), static_cast<int>(top),
                         static_cast<int>(right - left), static_cast<int>(bottom - top));
}

void FormGeometry::ApplyLine(FormLine* line) {
    const QPointF start = TwipsToPixels(DesignToCurrent(DesignEnds(line).Start));
    const QPointF end = TwipsToPixels(DesignToCurrent(DesignEnds(line).End));
    const QPoint a(static_cast<int>(std::lround(start.x())),
                   static_cast<int>(std::lround(start.y())));
    const QPoint b(static_cast<int>(std::lround(end.x())), static_cast<int>(std::lround(end.y())));
    const int m = line->Margin();
    const QRect box = QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                            QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())))
                          .adjusted(-m, -m, m, m);
    line->setGeometry(box);
    line->SetLocalSegment(QLineF(a - box.topLeft(), b - box.topLeft()));
}

void FormGeometry::Forget(QObject* control) {
    rects_.remove(control);
    lines_.remove(control);
}

QPointF FormGeometry::DesignToCurrent(QPointF design) const {
    return {design.x() * scaleX_, design.y() * scaleY_};
}

QPointF FormGeometry::CurrentToDesign(QPointF current) const {
    return {current.x() / scaleX_, current.y() / scaleY_};
}

} // namespace telmora
