#pragma once

#include <QList>
#include <QWidget>

#include <functional>

class QPainter;

namespace telmora {

class FormGeometry;

// The main window's client area: the parent of every control laid out in twips (see
// form_geometry.h). Besides its child controls it paints layers that components add, in the
// order they were added, beneath the controls; each layer gets a painter whose unit is one
// twip of the current geometry (so it draws at the twips it reads from FormGeometry) and
// whose pens should be cosmetic (pixel widths). The strip chart draws its trace this way.
class FormSurface : public QWidget {
    Q_OBJECT
  public:
    using PaintLayer = std::function<void(QPainter& painter)>;

    explicit FormSurface(QWidget* parent = nullptr);
    ~FormSurface() override;

    // Adds a layer painted on every repaint; it goes away with `owner`. Returns an id for
    // RemovePaintLayer. Call update() on the surface when a layer's drawing changes.
    int AddPaintLayer(QObject* owner, PaintLayer paint);
    void RemovePaintLayer(int id);

    // Paints every layer, in twips, with `painter` (a printer, an image...), as paintEvent
    // does on the screen.
    void PaintLayers(QPainter& painter) const;

    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;

    // Point size of the controls' text at the design size; it scales with the window.
    static constexpr double kDesignFontPoints = 8.0;
    void ScaleFont(double factor);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void Resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class FormGeometry;
    struct Layer {
        int Id;
        QObject* Owner;
        PaintLayer Paint;
        QMetaObject::Connection Removal;
    };

    FormGeometry* geometry_ = nullptr; // set by the FormGeometry that lays this surface out
    QList<Layer> layers_;
    int nextLayerId_ = 1;
    double fontFactor_ = 1;
};

} // namespace telmora
