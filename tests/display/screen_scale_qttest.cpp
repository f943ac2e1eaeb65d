// The main window at the screen scale its ctest entry sets (QT_SCALE_FACTOR, QT_FONT_DPI):
// it opens at its design size, and what the strip chart draws (box, trace, print redraw)
// lies in the chart's design rectangle, through resizes while readings arrive, print
// redraws beyond the maximum range, resets and wraps.
#include "../app/app_test_support.h"
#include "app/main_window.h"
#include "display/ui/measurement_display.h"
#include "display/ui/strip_chart_view.h"
#include "form/form_geometry.h"
#include "form/form_surface.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QtTest>

#include <cmath>

namespace telmora {

namespace {

// The chart box at the design size, in twips.
constexpr double kBoxLeft = 120, kBoxTop = 5520, kBoxWidth = 8172, kBoxHeight = 1812;

// The chart box in the surface's device pixels, at the window's current scale.
QRect BoxInDevicePixels(MainWindow& window) {
    const FormGeometry& g = window.Geometry();
    const double dpr = window.Surface().devicePixelRatioF();
    const double x = g.ScaleX() * dpr / g.TwipsPerPixelX();
    const double y = g.ScaleY() * dpr / g.TwipsPerPixelY();
    return QRect(
        QPoint(qRound(kBoxLeft * x), qRound(kBoxTop * y)),
        QPoint(qRound((kBoxLeft + kBoxWidth) * x) - 1, qRound((kBoxTop + kBoxHeight) * y) - 1));
}

QImage Grab(MainWindow& window, bool trace) {
    window.Display().Chart().SetTraceHidden(!trace);
    QImage image = window.Surface().grab().toImage().convertToFormat(QImage::Format_RGB32);
    window.Display().Chart().SetTraceHidden(false);
    return image;
}

// Pixels where `a` and `b` differ (or, without `b`, that `a` paints), outside and inside
// `box` (widened by `margin` for the outline's pen), and those on each edge of the box.
struct Drawn {
    int outside = 0;
    int inside = 0;
    int edges[4] = {}; // left, top, right, bottom
};

Drawn Compare(const QImage& a, const QImage* b, QRect box, int margin) {
    Drawn d;
    const QRect loose = box.adjusted(-margin, -margin, margin, margin);
    const QRect interior = box.adjusted(margin + 1, margin + 1, -margin - 1, -margin - 1);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool drawn =
                b != nullptr ? a.pixel(x, y) != b->pixel(x, y) : qAlpha(a.pixel(x, y)) != 0;
            if (!drawn) {
                continue;
            }
            d.outside += loose.contains(x, y) ? 0 : 1;
            d.inside += interior.contains(x, y) ? 1 : 0;
            const bool midY = std::abs(y - box.center().y()) < box.height() / 4;
            const bool midX = std::abs(x - box.center().x()) < box.width() / 4;
            d.edges[0] += midY && std::abs(x - box.left()) <= margin ? 1 : 0;
            d.edges[1] += midX && std::abs(y - box.top()) <= margin ? 1 : 0;
            d.edges[2] += midY && std::abs(x - box.right()) <= margin ? 1 : 0;
            d.edges[3] += midX && std::abs(y - box.bottom()) <= margin ? 1 : 0;
        }
    }
    return d;
}

void Stream(MainWindow& window, int readings, float far = 200.0f) {
    for (int i = 0; i < readings; ++i) {
        window.Display().ShowReading(i % 2 == 0 ? 20.0f : far);
    }
}

void ResizeClient(MainWindow& window, double factor) {
    const QSize target = window.Geometry().DesignSizePixels() * factor;
    window.resize(window.size() + target - window.Surface().size());
    QTRY_COMPARE(window.Surface().size(), target);
}

} // namespace

class ScreenScaleTest : public QObject {
    Q_OBJECT
  private slots:
    void Window_OpensAtTheDesignSizeTimesTheScreensScale();
    void Chart_DrawsOnlyInItsBox_data();
    void Chart_DrawsOnlyInItsBox();
};

void ScreenScaleTest::Window_OpensAtTheDesignSizeTimesTheScreensScale() {
    app_test::Sandbox sandbox;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QWidget& surface = window.Surface();
    const double devicePixelsPerInch = surface.logicalDpiX() * surface.devicePixelRatioF();
    QCOMPARE(qRound(surface.width() * surface.devicePixelRatioF()),
             qRound(11880 / 1440.0 * devicePixelsPerInch));
    QCOMPARE(qRound(surface.height() * surface.devicePixelRatioF()),
             qRound(7800 / 1440.0 * devicePixelsPerInch));
    QCOMPARE(window.Geometry().ScaleX(), 1.0);
}

void ScreenScaleTest::Chart_DrawsOnlyInItsBox_data() {
    QTest::addColumn<QString>("steps");
    // r: 60 readings, b: 60 readings reaching 500 inches, R: resize to 150% after 30
    // readings and to 80% after 30 more, back to 100% after 30 more, p: print redraw
    // with a maximum range of 100, 0: chart reset, w: 130 readings at the fastest speed
    // (a wrap).
    QTest::newRow("streaming") << "r";
    QTest::newRow("resized while streaming") << "rR";
    QTest::newRow("print beyond the maximum") << "bp";
    QTest::newRow("print, then readings") << "bpr";
    QTest::newRow("print, reset, readings") << "bp0r";
    QTest::newRow("print, wrap") << "bpw";
}

void ScreenScaleTest::Chart_DrawsOnlyInItsBox() {
    QFETCH(QString, steps);
    app_test::Sandbox sandbox;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    StripChartView& chart = window.Display().Chart();
    for (const QChar step : steps) {
        switch (step.toLatin1()) {
        case 'r':
            Stream(window, 60);
            break;
        case 'b':
            Stream(window, 60, 500.0f);
            break;
        case 'R':
            for (const double factor : {1.5, 0.8, 1.0}) {
                Stream(window, 30);
                ResizeClient(window, factor);
            }
            break;
        case 'p':
            QVERIFY(chart.RedrawForPrint("100"));
            break;
        case '0':
            chart.ChartReset();
            break;
        case 'w':
            window.findChild<QScrollBar*>("hsbChartSpeed")->setValue(80);
            Stream(window, 130);
            break;
        }
    }
    chart.FlushDrawing();
    QCOMPARE(window.Geometry().ScaleX(), 1.0);

    const QRect box = BoxInDevicePixels(window);
    const int margin = static_cast<int>(std::ceil(window.Surface().devicePixelRatioF()));
    const QImage shown = Grab(window, true);
    const QImage hidden = Grab(window, false);
    const Drawn screen = Compare(shown, &hidden, box, margin);
    QCOMPARE(screen.outside, 0);
    QVERIFY2(screen.inside > 20 * margin, qPrintable(QString::number(screen.inside)));
    for (const int edge : screen.edges) {
        QVERIFY(edge >= box.height() / 4);
    }
    // The printout's vector copy of the trace, onto a transparent page of the window's size.
    QImage page(shown.size(), QImage::Format_ARGB32_Premultiplied);
    page.setDevicePixelRatio(window.Surface().devicePixelRatioF());
    page.fill(Qt::transparent);
    QPainter painter(&page);
    chart.PaintTraceInPixels(painter);
    painter.end();
    const Drawn printed = Compare(page, nullptr, box, margin);
    QCOMPARE(printed.outside, 0);
    QVERIFY(printed.inside > 20 * margin);
}

} // namespace telmora

// A laptop's screen of 1920 x 1200 pixels (Qt's offscreen screen is 800 square): at 200%
// the window fits in it, but not in the two thirds of it that Qt gives a window by default.
int main(int argc, char** argv) {
    QTemporaryFile screens;
    if (!screens.open() ||
        screens.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1920,
                      "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0) {
        return 1;
    }
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    telmora::ScreenScaleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "screen_scale_qttest.moc"
