// The twips layer under the main window, and the whole window as laid out: it rescales
// and comes back to its twips (odd texts in the boxes are the editors' tests', spoken names
// the window texts').
#include "app/main_window.h"
#include "app_test_support.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QLabel>
#include <QPainter>
#include <QtTest>

using namespace telmora;
using telmora::app_test::Sandbox;

namespace {

// Every control the geometry layer places (but the echo symbol, which the gauge timer moves
// on its own): its twips (a line's two end points) over `factor`, and at factor 1 its pixels.
QStringList Placements(MainWindow& window, double factor) {
    QStringList all;
    const FormGeometry& g = window.Geometry();
    for (QWidget* w : window.Surface().findChildren<QWidget*>()) {
        if (!g.IsPlaced(w) || w->objectName() == "shpEcho") {
            continue;
        }
        const auto* line = qobject_cast<FormLine*>(w);
        const TwipRect r = line != nullptr ? TwipRect{} : g.Rect(w);
        const TwipPoint a = line != nullptr ? g.LineStart(line) : TwipPoint{};
        const TwipPoint b = line != nullptr ? g.LineEnd(line) : TwipPoint{};
        QStringList entry = {w->objectName()};
        for (double twips : {r.Left, r.Top, r.Width, r.Height, a.X, a.Y, b.X, b.Y}) {
            entry << QString::number(twips / factor, 'f', 3);
        }
        const QRect p = w->geometry();
        for (int pixels : {p.x(), p.y(), p.width(), p.height()}) {
            entry << (factor == 1.0 ? QString::number(pixels) : QString());
        }
        all << entry.join(' ').trimmed();
    }
    return all;
}

void ResizeClient(MainWindow& window, double factor) {
    const QSize design = window.Geometry().DesignSizePixels();
    const QSize target(qRound(design.width() * factor), qRound(design.height() * factor));
    window.resize(window.size() + target - window.Surface().size());
    QTRY_COMPARE(window.Surface().size(), target);
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void Place_PutsControlsAtTheirTwipsNeighboursMeetAndMovesSurviveResize();
    void MovingALine_RepaintsOnlyWhereItWasAndIs();
    void PaintLayerAndDrawings_LieBeneathControls();
    void SurfaceDestroyed_BeforeItsLayerOwningChildrenAndGeometry();
    void Resize_To150PercentAndBack_LeavesEveryControlAtItsTwips();
};

void WindowLayoutTest::Resize_To150PercentAndBack_LeavesEveryControlAtItsTwips() {
    Sandbox sandbox;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ResizeClient(window, 1.0);
    const QStringList before = Placements(window, 1.0);
    QVERIFY2(before.size() > 100, qPrintable(QString::number(before.size())));

    ResizeClient(window, 1.5);
    QCOMPARE(window.Geometry().ScaleX(), 1.5);
    const QStringList scaled = Placements(window, 1.5);
    for (qsizetype i = 0; i < before.size(); ++i) {
        QCOMPARE(scaled.value(i), before[i].section(' ', 0, 8));
    }
    QVERIFY(window.Surface().font().pointSizeF() > FormSurface::kDesignFontPoints * 1.4);

    ResizeClient(window, 1.0);
    QCOMPARE(Placements(window, 1.0), before);
    QCOMPARE(window.Surface().font().pointSizeF(), FormSurface::kDesignFontPoints);
}

void WindowLayoutTest::Place_PutsControlsAtTheirTwipsNeighboursMeetAndMovesSurviveResize() {
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* label = new QLabel(&surface);
    geometry.Place(label, {840, 360, 6495, 135});
    // Where twips land in pixels, and that they read back unsnapped, the editors' tests see
    // on every control they place. A negative width is taken as none.
    geometry.SetWidth(label, -50);
    QCOMPARE(geometry.Width(label), 0.0);
    QCOMPARE(label->width(), 0);
    // Two controls meeting at one twip meet at one pixel.
    auto* right = new QLabel(&surface);
    geometry.Place(right, {2000, 720, 100, 255});
    for (double x = 900; x < 1000; x += 3.7) {
        geometry.SetWidth(label, x - geometry.Left(label));
        geometry.SetLeft(right, x);
        QCOMPARE(label->x() + label->width(), right->x());
    }
    // Placement code moves things in the current geometry; a resize keeps them in proportion.
    auto* line = new FormLine(&surface, "linAnalogFarSetpoint");
    geometry.PlaceLine(line, {4440, 3480}, {4440, 4440});
    surface.show();
    surface.resize(surface.sizeHint() * 2);
    QCoreApplication::processEvents();
    const double scale = geometry.ScaleX();
    QVERIFY(qAbs(scale - 2) < 0.01);
    geometry.SetLeft(right, 3000);
    geometry.SetLineEnd(line, {5000, geometry.LineEnd(line).Y});
    QCOMPARE(geometry.Left(right), 3000.0);
    QCOMPARE(right->x(), qRound(3000 / geometry.TwipsPerPixelX()));
    surface.resize(surface.sizeHint());
    QCoreApplication::processEvents();
    QVERIFY(qAbs(geometry.Left(right) - 3000 / scale) < 1e-6);
    QVERIFY(qAbs(geometry.LineEnd(line).X - 5000 / scale) < 1e-6);
    QCOMPARE(geometry.LineStart(line).X, 4440.0);
}

// Readings move the target lines up to 160 times a second; a move must not repaint the
// controls between the old and the new place, and staying put must repaint nothing.
void WindowLayoutTest::MovingALine_RepaintsOnlyWhereItWasAndIs() {
    class PaintCounter : public QObject {
      public:
        QMap<const QObject*, int> paints;
        bool eventFilter(QObject* watched, QEvent* event) override {
            paints[watched] += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    FormSurface surface;
    FormGeometry geometry(surface);
    auto* between = new QLabel(QStringLiteral("Off"), &surface);
    between->setAutoFillBackground(true);
    geometry.Place(between, {2400, 1200, 1200, 255});
    auto* line = new FormLine(&surface, "linTargetLineTop");
    geometry.PlaceLine(line, {1500, 2500}, {1500, 600});
    surface.resize(surface.sizeHint());
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    QCoreApplication::processEvents();
    between->installEventFilter(&counter);
    line->installEventFilter(&counter);

    geometry.SetLineEnds(line, {1500, 2500}, {1500, 600});
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints.value(line), 0);

    geometry.SetLineEnds(line, {4500, 2500}, {4500, 600});
    QTRY_VERIFY(counter.paints.value(line) > 0);
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints.value(between), 0);
    QCOMPARE(geometry.LineStart(line).X, 4500.0);
    QCOMPARE(geometry.LineEnd(line).Y, 600.0);
}

void WindowLayoutTest::PaintLayerAndDrawings_LieBeneathControls() {
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
    // Drawing items let the mouse through to the control beneath.
    geometry.Place(label, {600, 3240, 6975, 1455});
    geometry.Place(new FormShape(&surface, "shpAnalogBox", FormShape::Kind::Rectangle),
                   {840, 3600, 6495, 735});
    geometry.PlaceLine(new FormLine(&surface, "linAnalogMid"), {2160, 4080}, {4440, 3600});
    QCOMPARE(surface.childAt(geometry.TwipsToPixels({3000, 3900}).toPoint()), label);
}

// Components that own paint layers are children of the surface and die after its own
// destructor has run; neither they nor the geometry may reach the dead surface.
void WindowLayoutTest::SurfaceDestroyed_BeforeItsLayerOwningChildrenAndGeometry() {
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

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
