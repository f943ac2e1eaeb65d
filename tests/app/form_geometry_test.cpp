// The twips layer of the main window: conversions, placement, and rescaling with the window.
#include "app/form_geometry.h"
#include "app/form_items.h"
#include "app/form_surface.h"

#include <QLabel>
#include <QPainter>
#include <QtTest>

using namespace telmora;

class FormGeometryTest : public QObject {
    Q_OBJECT

  private slots:
    void TwipsAndPixels_FollowLogicalDpi();
    void Place_PutsControlAtItsTwips();
    void Resize_ScalesControlsAndLinesProportionally();
    void Resize_To150PercentAndBack_RestoresEveryControl();
    void MoveByPlacementCode_SurvivesLaterResize();
    void TwoControlsMeetingAtOneTwip_MeetAtOnePixel();
    void NegativeWidth_IsTakenAsZero();
    void PaintLayer_DrawsInTwipsBeneathControls();
    void DrawingItems_LetTheMouseThrough();
    void SurfaceDestroyed_BeforeItsLayerOwningChildrenAndGeometry();

  private:
    static void ResizeSurface(FormSurface& surface, double factor) {
        const QSize design = surface.sizeHint();
        surface.resize(qRound(design.width() * factor), qRound(design.height() * factor));
    }
};

void FormGeometryTest::TwipsAndPixels_FollowLogicalDpi() {
    FormSurface surface;
    FormGeometry geometry(surface);
    const double expected = 1440.0 / surface.logicalDpiX();
    QCOMPARE(geometry.TwipsPerPixelX(), expected);
    QCOMPARE(geometry.TwipsToPixels({1440, 720}).x(), double(surface.logicalDpiX()));
    QCOMPARE(geometry.PixelsToTwips({10, 0}).x(), 10 * expected);
    QCOMPARE(surface.sizeHint(), geometry.DesignSizePixels());
    QCOMPARE(geometry.DesignSizePixels().width(), qRound(kFormDesignWidth / expected));
}

void FormGeometryTest::Place_PutsControlAtItsTwips() {
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* label = new QLabel(&surface);
    geometry.Place(label, {840, 360, 6495, 135});
    const double tpp = geometry.TwipsPerPixelX();
    QCOMPARE(label->x(), qRound(840 / tpp));
    QCOMPARE(label->y(), qRound(360 / tpp));
    QCOMPARE(label->x() + label->width(), qRound((840 + 6495) / tpp));
    QCOMPARE(geometry.Left(label), 840.0);
    QCOMPARE(geometry.Width(label), 6495.0);

    // What placement code writes it reads back exactly, unsnapped to pixels.
    geometry.SetWidth(label, 1234.567);
    QCOMPARE(geometry.Width(label), 1234.567);
    QCOMPARE(geometry.Left(label), 840.0);
}

void FormGeometryTest::Resize_ScalesControlsAndLinesProportionally() {
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* label = new QLabel(&surface);
    auto* line = new FormLine(&surface, "linTargetLineTop");
    geometry.Place(label, {840, 720, 3000, 255});
    geometry.PlaceLine(line, {2000, 2520}, {2000, 600});
    surface.show();
    ResizeSurface(surface, 1.5);
    QCoreApplication::processEvents();

    QVERIFY(qAbs(geometry.ScaleX() - 1.5) < 0.01);
    QVERIFY(qAbs(geometry.Left(label) - 1260) < 15);
    QVERIFY(qAbs(geometry.Width(label) - 4500) < 40);
    QVERIFY(qAbs(geometry.LineStart(line).y - 3780) < 30);
    QVERIFY(qAbs(geometry.LineEnd(line).x - 3000) < 30);
    // The widget follows in pixels.
    QCOMPARE(label->x(), qRound(geometry.Left(label) / geometry.TwipsPerPixelX()));
    QVERIFY(surface.font().pointSizeF() > FormSurface::kDesignFontPoints * 1.4);
}

void FormGeometryTest::Resize_To150PercentAndBack_RestoresEveryControl() {
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* label = new QLabel(&surface);
    auto* shape = new FormShape(&surface, "shpVoltMeter", FormShape::Kind::RoundedRectangle);
    auto* line = new FormLine(&surface, "linAnalogMid", Qt::red);
    geometry.Place(label, {8400, 5400, 615, 255});
    geometry.Place(shape, {100, 200, 615, 495});
    geometry.PlaceLine(line, {2160, 4080}, {4440, 3600});
    surface.show();
    ResizeSurface(surface, 1.0);
    QCoreApplication::processEvents();
    const QRect labelPixels = label->geometry();
    const QRect linePixels = line->geometry();

    ResizeSurface(surface, 1.5);
    QCoreApplication::processEvents();
    QVERIFY(label->geometry() != labelPixels);
    ResizeSurface(surface, 1.0);
    QCoreApplication::processEvents();

    QCOMPARE(geometry.ScaleX(), 1.0);
    QCOMPARE(geometry.Left(label), 8400.0);
    QCOMPARE(geometry.Top(label), 5400.0);
    QCOMPARE(geometry.Width(shape), 615.0);
    QCOMPARE(geometry.Height(shape), 495.0);
    QCOMPARE(geometry.LineStart(line).x, 2160.0);
    QCOMPARE(geometry.LineEnd(line).y, 3600.0);
    QCOMPARE(label->geometry(), labelPixels);
    QCOMPARE(line->geometry(), linePixels);
    QCOMPARE(surface.font().pointSizeF(), FormSurface::kDesignFontPoints);
}

void FormGeometryTest::MoveByPlacementCode_SurvivesLaterResize() {
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* handle = new QLabel(&surface);
    auto* line = new FormLine(&surface, "linAnalogFarSetpoint");
    geometry.Place(handle, {840, 720, 3000, 255});
    geometry.PlaceLine(line, {4440, 3480}, {4440, 4440});
    surface.show();
    ResizeSurface(surface, 2.0);
    QCoreApplication::processEvents();
    const double scale = geometry.ScaleX();

    // Placement code moves things in the current geometry...
    geometry.SetLeft(handle, 3000);
    geometry.SetLineEnd(line, {5000, geometry.LineEnd(line).y});
    QCOMPARE(geometry.Left(handle), 3000.0);

    // ...and a resize back to the design size keeps them in proportion.
    ResizeSurface(surface, 1.0);
    QCoreApplication::processEvents();
    QVERIFY(qAbs(geometry.Left(handle) - 3000 / scale) < 1e-6);
    QVERIFY(qAbs(geometry.LineEnd(line).x - 5000 / scale) < 1e-6);
    QCOMPARE(geometry.LineStart(line).x, 4440.0);
}

void FormGeometryTest::TwoControlsMeetingAtOneTwip_MeetAtOnePixel() {
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* left = new QLabel(&surface);
    auto* right = new QLabel(&surface);
    geometry.Place(left, {840, 720, 100, 255});
    geometry.Place(right, {2000, 720, 100, 255});
    for (double x = 900; x < 1000; x += 3.7) {
        geometry.SetWidth(left, x - geometry.Left(left));
        geometry.SetLeft(right, x);
        QCOMPARE(left->x() + left->width(), right->x());
    }
}

void FormGeometryTest::NegativeWidth_IsTakenAsZero() {
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* label = new QLabel(&surface);
    geometry.Place(label, {840, 720, 100, 255});
    geometry.SetWidth(label, -50);
    QCOMPARE(geometry.Width(label), 0.0);
    QCOMPARE(label->width(), 0);
}

void FormGeometryTest::PaintLayer_DrawsInTwipsBeneathControls() {
    FormSurface surface;
    FormGeometry geometry(surface);
    surface.resize(surface.sizeHint());
    QColor background = surface.palette().color(QPalette::Window);
    auto* owner = new QObject;
    surface.AddPaintLayer(owner, [](QPainter& painter) {
        painter.fillRect(QRectF(1440, 1440, 1440, 720), Qt::blue);
    });
    QImage image = surface.grab().toImage();
    const double tpp = geometry.TwipsPerPixelX();
    QCOMPARE(image.pixelColor(qRound(2000 / tpp), qRound(1800 / tpp)), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(qRound(1000 / tpp), qRound(1800 / tpp)), background);

    // A control on top of the layer hides it; a layer goes away with its owner.
    auto* label = new QLabel(&surface);
    label->setAutoFillBackground(true);
    geometry.Place(label, {1440, 1440, 720, 720});
    image = surface.grab().toImage();
    QCOMPARE(image.pixelColor(qRound(1600 / tpp), qRound(1600 / tpp)), background);
    delete owner;
    image = surface.grab().toImage();
    QCOMPARE(image.pixelColor(qRound(2600 / tpp), qRound(1800 / tpp)), background);
}

void FormGeometryTest::DrawingItems_LetTheMouseThrough() {
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* backdrop = new QLabel(&surface);
    backdrop->setObjectName("lblAnalogBack");
    geometry.Place(backdrop, {600, 3240, 6975, 1455});
    auto* box = new FormShape(&surface, "shpAnalogBox", FormShape::Kind::Rectangle);
    geometry.Place(box, {840, 3600, 6495, 735});
    auto* line = new FormLine(&surface, "linAnalogMid");
    geometry.PlaceLine(line, {2160, 4080}, {4440, 3600});
    const QPoint inside = geometry.TwipsToPixels({3000, 3900}).toPoint();
    QCOMPARE(surface.childAt(inside), backdrop);
    QCOMPARE(surface.findChild<FormLine*>("linAnalogMid"), line);
    QCOMPARE(surface.findChild<FormShape*>("shpAnalogBox"), box);
}

// Components that own paint layers are children of the surface and die after its own
// destructor has run; neither they nor the geometry may reach the dead surface.
void FormGeometryTest::SurfaceDestroyed_BeforeItsLayerOwningChildrenAndGeometry() {
    auto* surface = new FormSurface;
    FormGeometry geometry(*surface);
    int painted = 0;
    for (int i = 0; i < 3; ++i) {
        surface->AddPaintLayer(new QObject(surface), [&painted](QPainter&) { ++painted; });
    }
    auto* label = new QLabel(surface);
    geometry.Place(label, {120, 120, 600, 255});
    surface->grab();
    QCOMPARE(painted, 3);
    delete surface;
    QVERIFY(!geometry.IsPlaced(label));
}

QTEST_MAIN(FormGeometryTest)
#include "form_geometry_test.moc"
