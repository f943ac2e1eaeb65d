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
    void Place_PutsControlAtItsTwipsAtTheLogicalDpi();
    void MoveByPlacementCode_SurvivesLaterResize();
    void TwoControlsMeetingAtOneTwip_MeetAtOnePixel();
    void PaintLayer_DrawsInTwipsBeneathControls();
    void DrawingItems_LetTheMouseThrough();
    void SurfaceDestroyed_BeforeItsLayerOwningChildrenAndGeometry();
};

void FormGeometryTest::Place_PutsControlAtItsTwipsAtTheLogicalDpi() {
    FormSurface surface;
    FormGeometry geometry(surface);
    const double tpp = 1440.0 / surface.logicalDpiX();
    QCOMPARE(geometry.DesignSizePixels().width(), qRound(kFormDesignWidth / tpp));
    auto* label = new QLabel(&surface);
    geometry.Place(label, {840, 360, 6495, 135});
    QCOMPARE(label->pos(), QPoint(qRound(840 / tpp), qRound(360 / tpp)));
    QCOMPARE(label->x() + label->width(), qRound((840 + 6495) / tpp));
    // What placement code writes it reads back exactly, unsnapped to pixels.
    geometry.SetWidth(label, 1234.567);
    QCOMPARE(geometry.Width(label), 1234.567);
    // A negative width is taken as none.
    geometry.SetWidth(label, -50);
    QCOMPARE(geometry.Width(label), 0.0);
    QCOMPARE(label->width(), 0);
}

void FormGeometryTest::MoveByPlacementCode_SurvivesLaterResize() {
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* handle = new QLabel(&surface);
    auto* line = new FormLine(&surface, "linAnalogFarSetpoint");
    geometry.Place(handle, {840, 720, 3000, 255});
    geometry.PlaceLine(line, {4440, 3480}, {4440, 4440});
    surface.show();
    surface.resize(surface.sizeHint() * 2);
    QCoreApplication::processEvents();
    const double scale = geometry.ScaleX();
    QVERIFY(qAbs(scale - 2) < 0.01);
    // Placement code moves things in the current geometry; a resize keeps them in proportion.
    geometry.SetLeft(handle, 3000);
    geometry.SetLineEnd(line, {5000, geometry.LineEnd(line).y});
    QCOMPARE(geometry.Left(handle), 3000.0);
    QCOMPARE(handle->x(), qRound(3000 / geometry.TwipsPerPixelX()));
    surface.resize(surface.sizeHint());
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

void FormGeometryTest::PaintLayer_DrawsInTwipsBeneathControls() {
    FormSurface surface;
    FormGeometry geometry(surface);
    surface.resize(surface.sizeHint());
    const QColor background = surface.palette().color(QPalette::Window);
    auto* owner = new QObject;
    surface.AddPaintLayer(owner, [](QPainter& painter) {
        painter.fillRect(QRectF(1440, 1440, 1440, 720), Qt::blue);
    });
    const double tpp = geometry.TwipsPerPixelX();
    auto colourAt = [&surface, tpp](double x, double y) {
        return surface.grab().toImage().pixelColor(qRound(x / tpp), qRound(y / tpp));
    };
    QCOMPARE(colourAt(2000, 1800), QColor(Qt::blue));
    QCOMPARE(colourAt(1000, 1800), background);
    // A control on top of the layer hides it; a layer goes away with its owner.
    auto* label = new QLabel(&surface);
    label->setAutoFillBackground(true);
    geometry.Place(label, {1440, 1440, 720, 720});
    QCOMPARE(colourAt(1600, 1600), background);
    delete owner;
    QCOMPARE(colourAt(2600, 1800), background);
}

void FormGeometryTest::DrawingItems_LetTheMouseThrough() {
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* backdrop = new QLabel(&surface);
    geometry.Place(backdrop, {600, 3240, 6975, 1455});
    geometry.Place(new FormShape(&surface, "shpAnalogBox", FormShape::Kind::Rectangle),
                   {840, 3600, 6495, 735});
    geometry.PlaceLine(new FormLine(&surface, "linAnalogMid"), {2160, 4080}, {4440, 3600});
    QCOMPARE(surface.childAt(geometry.TwipsToPixels({3000, 3900}).toPoint()), backdrop);
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
