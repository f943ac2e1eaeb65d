#pragma once

#include <QColor>
#include <QLineF>
#include <QWidget>

namespace telmora {

// A straight line on the form (`linTargetLineTop`, `linAnalogMid`, ...). Its end points
// live in FormGeometry (PlaceLine, LineStart, SetLineEnd...); the item paints itself in its
// bounding box, stacked with the labels in creation order, and lets the mouse through to
// whatever lies beneath it. Visibility is the widget's own (setVisible).
class FormLine : public QWidget {
    Q_OBJECT
  public:
    FormLine(QWidget* parent, const QString& name, QColor color = Qt::black, int penWidth = 1);

    QColor Color() const { return color_; }
    void SetColor(QColor color);
    int PenWidth() const { return penWidth_; }
    void SetPenWidth(int pixels);
    void SetDashed(bool dashed);

    // The segment in the item's own pixel coordinates; set by FormGeometry.
    QLineF LocalSegment() const { return segment_; }
    void SetLocalSegment(QLineF segment);
    // Pixels kept around the segment so the pen is not clipped.
    int Margin() const { return penWidth_ / 2 + 1; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_;
    int penWidth_;
    bool dashed_ = false;
    QLineF segment_;
};

// A shape on the form (`shpVoltMeter`, `shpAnalogBox`, `shpEcho`, ...), placed like any
// control with FormGeometry::Place. Fill and border as set; transparent to the mouse.
class FormShape : public QWidget {
    Q_OBJECT
  public:
    enum class Kind { Rectangle, RoundedRectangle, Oval };

    FormShape(QWidget* parent, const QString& name, Kind kind);

    Kind ShapeKind() const { return kind_; }
    void SetKind(Kind kind);
    // An invalid colour means a transparent fill.
    QColor FillColor() const { return fill_; }
    void SetFillColor(QColor color);
    QColor BorderColor() const { return border_; }
    void SetBorderColor(QColor color);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int pixels);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Kind kind_;
    QColor fill_;
    QColor border_ = Qt::black;
    int borderWidth_ = 1;
};

} // namespace telmora
