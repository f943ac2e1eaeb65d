#pragma once

// The main window's client area is laid out in twips (1/1440 inch), x to the right and
// y downwards, and every control scales with the window when it is resized.
//
// How components use it. A component of the main window (range bar, switch editor,
// analog editor, statistics, strip chart, gauges...) is constructed as
//
//     Component(FormSurface& surface, FormGeometry& geometry, SensorConfig& config);
//
// and creates its own controls as children of the surface (or of a frame on it) at their
// design twips:
//
//     auto* label = new QLabel(&surface);
//     label->setObjectName("lblSw1Left");
//     geometry.Place(label, {840, 720, 3000, 255});
//
//     auto* line = new FormLine(&surface, "linAnalogMid", Qt::red);
//     geometry.PlaceLine(line, {2160, 4080}, {4440, 3600});
//
//     auto* box = new FormShape(&surface, "shpAnalogBox", FormShape::Kind::Rectangle);
//     geometry.Place(box, {840, 3600, 6495, 735});
//
// Place() takes the design geometry, the one the control has while the window has its
// design size. From then on the geometry layer owns the control's position and size:
// never call setGeometry()/move()/resize() on a placed control yourself.
//
// Placement code reads and writes the CURRENT geometry in twips, as the control stands in
// the window as it is sized now (the form's Left/Top/Width/Height):
//
//     double L = geometry.Left(lblRange), W = geometry.Width(lblRange);
//     geometry.SetWidth(lblSw1Left, X - geometry.Left(lblSw1Left));
//     geometry.SetLineEnd(linAnalogMid, {X, geometry.LineEnd(linAnalogMid).y});
//
// Values read back are exactly the values written (no snapping to pixels), and a move made
// this way is kept proportionally when the window is resized later: after a resize to 150%
// every control stands at 1.5 times its current twips, and after a resize back it stands
// where it was.
//
// Mouse positions: QMouseEvent positions are logical pixels; PixelsToTwips() turns an
// offset relative to a control into twips of the current geometry ("x = the pointer's
// position relative to the handle").
//
// Drawing on the surface: FormSurface::AddPaintLayer() (form_surface.h) paints beneath the
// controls with a painter whose unit is one twip of the current geometry.
//
// Pixels are logical pixels (1440 twips = one logical inch), so the layout has the same
// physical size on high-DPI screens; fonts scale with the window too.

#include <QHash>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSize>

class QWidget;

namespace telmora {

class FormSurface;
class FormLine;

// Size of the main window's client area at design time, in twips.
inline constexpr double kFormDesignWidth = 11880;
inline constexpr double kFormDesignHeight = 7800;

struct TwipRect {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

struct TwipPoint {
    double X = 0;
    double Y = 0;
};

class FormGeometry : public QObject {
    Q_OBJECT
  public:
    // Lays out controls on `surface`, whose design size is width x height twips.
    FormGeometry(FormSurface& surface, double designWidth = kFormDesignWidth,
                 double designHeight = kFormDesignHeight);
    ~FormGeometry() override;

    // Conversions between twips and logical pixels at the surface's logical DPI.
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;
    QPointF PixelsToTwips(QPointF pixels) const;
    QPointF TwipsToPixels(QPointF twips) const;

    // Size of the surface at design time in logical pixels (the window's default size).
    QSize DesignSizePixels() const;

    // Current scale of the window against its design size (1 at the design size).
    double ScaleX() const { return scaleX_; }
    double ScaleY() const { return scaleY_; }

    // Registers `control` (a child of the surface or of a frame on it) with its design
    // geometry, relative to its parent, and positions it.
    void Place(QWidget* control, TwipRect design);
    void PlaceLine(FormLine* line, TwipPoint designStart, TwipPoint designEnd);
    bool IsPlaced(const QWidget* control) const;

    // Current geometry of a placed control, in twips.
    TwipRect Rect(const QWidget* control) const;
    double Left(const QWidget* control) const { return Rect(control).Left; }
    double Top(const QWidget* control) const { return Rect(control).Top; }
    double Width(const QWidget* control) const { return Rect(control).Width; }
    double Height(const QWidget* control) const { return Rect(control).Height; }

    void SetRect(QWidget* control, TwipRect current);
    void SetLeft(QWidget* control, double left);
    void SetTop(QWidget* control, double top);
    // Negative sizes are taken as 0, as a control cannot be narrower than nothing.
    void SetWidth(QWidget* control, double width);
    void SetHeight(QWidget* control, double height);

    // End points of a placed line in twips of the current geometry.
    TwipPoint LineStart(const FormLine* line) const;
    TwipPoint LineEnd(const FormLine* line) const;
    void SetLineStart(FormLine* line, TwipPoint current);
    void SetLineEnd(FormLine* line, TwipPoint current);
    // Moves both ends at once. Moving them one after the other would stretch the line over
    // everything between its old and new place for a moment, and all of that would repaint.
    void SetLineEnds(FormLine* line, TwipPoint start, TwipPoint end);

  public slots:
    // Recomputes the scale from the surface's size and repositions every control.
    void Rescale();

  private:
    struct LineEnds {
        QPointF Start;
        QPointF End;
    };

    QRectF& DesignRect(const QWidget* control);
    const QRectF& DesignRect(const QWidget* control) const;
    LineEnds& DesignEnds(const FormLine* line);
    const LineEnds& DesignEnds(const FormLine* line) const;
    void Apply(QWidget* control);
    void ApplyLine(FormLine* line);
    void Forget(QObject* control);
    QPointF DesignToCurrent(QPointF design) const;
    QPointF CurrentToDesign(QPointF current) const;

    FormSurface& surface_;
    QPointer<FormSurface> surfaceAlive_; // the surface may go first
    double designWidth_;
    double designHeight_;
    double scaleX_ = 1;
    double scaleY_ = 1;
    QHash<const QObject*, QRectF> rects_;   // design geometry of placed controls
    QHash<const QObject*, LineEnds> lines_; // design end points of placed lines
};

} // namespace telmora
