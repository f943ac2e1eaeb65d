#pragma once

#include "display/chart_drawing.h"
#include "display/strip_chart.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QTimer>

#include <vector>

class QLabel;
class QMenu;
class QPainter;
class QPushButton;
class QScrollBar;
class QWidget;

namespace telmora {

class FormGeometry;
class FormSurface;
class FormLine;
struct SensorConfig;

// The strip chart on the main window: its box, its buttons and speed bar, and the trace,
// which is retained so that it survives repaints, covering and resizing, and is clipped to
// the box. Each reading moves the model at once; the trace is painted onto the window on a
// short cadence.
class StripChartView : public QObject {
    Q_OBJECT
  public:
    // Painting of new trace segments is gathered over this interval.
    static constexpr int kPaintIntervalMs = 40;

    StripChartView(FormSurface& surface, FormGeometry& geometry, const SensorConfig& config);

    // lblMinRange and lblMaxRange, beside the chart's top and bottom, repeat the range the
    // range editor shows, with two decimals.
    void ShowMinRangeCaption(const QString& text);
    void ShowMaxRangeCaption(const QString& text);

    // Sizes the point buffer to the box's width (start-up).
    void SizeBuffer();
    void ChartAddPoint(float distance);
    void ChartReset();
    void cmdStripChartStartClick();
    void cmdStripChartStopClick();
    void CmdStripChartRedrawClick();

    // The chart's right-click menu: the chart as a PNG at the screen's resolution, and its
    // readings as CSV. Each writes the whole file or, telling why in `error`, nothing.
    QMenu* ContextMenu() const { return mnuStripChart_; }
    bool SaveChartImage(const QString& path, QString& error) const;
    bool SaveChartData(const QString& path, QString& error) const;

    // The print command's redraw of the current sweep on the print scale; false, leaving the
    // trace as it is, when `maxRangeText` holds no positive number.
    bool RedrawForPrint(const QString& maxRangeText);

    // Paints whatever the model drew since the last cadence now.
    void FlushDrawing();
    // While set, the window is painted without the trace (a printout draws it itself).
    void SetTraceHidden(bool hidden) { traceHidden_ = hidden; }
    // Paints the retained trace as lines on `painter`, whose unit is one pixel of the
    // surface (a printout's vector copy of the chart).
    void PaintTraceInPixels(QPainter& painter) const;

    const StripChart& Model() const { return chart_; }
    ChartBox Box() const;
    int Speed() const;
    // The retained trace, in twips of the window at its design size, oldest first.
    const std::vector<DrawOp>& RetainedTrace() const { return retained_; }

  private:
    void BuildControls(FormSurface& surface, const SensorConfig& config);
    void BuildContextMenu();
    void SaveThroughDialog(const QString& title, const QString& filter, const QString& suffix,
                           bool (StripChartView::*save)(const QString&, QString&) const);
    // Moves what the model drew into the retained trace, in design twips.
    void TakeDrawing();
    void Retain(const std::vector<DrawOp>& ops);
    // The box with its outline, in design twips: all drawing is clipped to it.
    QRectF ClipInDesignTwips() const;
    QTransform DesignToPixels() const;
    // Where the retained trace lies on the surface, in its logical pixels.
    QRect TraceArea() const;
    // The retained image: the surface's size in device pixels, and whether it still
    // matches the surface's size, pixel ratio and scale.
    QSize ImageSize() const;
    bool ImageCurrent() const;
    void PaintTrace(QPainter& painter);
    void PaintOps(QPainter& painter, const DrawOp* first, const DrawOp* last) const;
    void RebuildImage();

    FormSurface& surface_;
    FormGeometry& geometry_;
    const SensorConfig& config_;
    StripChart chart_;
    ChartDrawing drawing_;
    std::vector<DrawOp> retained_;
    std::vector<DrawOp> unpainted_; // retained, not yet painted into the image
    QImage image_;
    double imageScaleX_ = 0;
    double imageScaleY_ = 0;
    bool traceHidden_ = false;
    QTimer paintTimer_;

    QWidget* stripChartBox_ = nullptr;
    QScrollBar* hsbChartSpeed_ = nullptr;
    QLabel* lblMinRange_ = nullptr;
    QLabel* lblMaxRange_ = nullptr;
    QMenu* mnuStripChart_ = nullptr;
};

} // namespace telmora
