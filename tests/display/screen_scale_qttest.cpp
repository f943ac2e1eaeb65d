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
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QtTest>

#include <array>
#include <cmath>
#include <functional>

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

// Pixels where `a` and `b` differ (or, without `b`, that `a` paints), outside and inside
// `box` (widened by `margin` for the outline's pen), and those on the middle half of each
// edge of the box (left, right, top, bottom).
struct Drawn {
    int outside = 0;
    int inside = 0;
    std::array<int, 4> edges = {};
};

Drawn Compare(const QImage& a, const QImage* b, QRect box, int margin) {
    Drawn d;
    const QRect loose = box.adjusted(-margin, -margin, margin, margin);
    const QRect interior = box.adjusted(margin + 1, margin + 1, -margin - 1, -margin - 1);
    const QPoint mid = box.center();
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (b != nullptr ? a.pixel(x, y) == b->pixel(x, y) : qAlpha(a.pixel(x, y)) == 0) {
                continue;
            }
            d.outside += loose.contains(x, y) ? 0 : 1;
            d.inside += interior.contains(x, y) ? 1 : 0;
            const bool midY = std::abs(y - mid.y()) < box.height() / 4;
            const bool midX = std::abs(x - mid.x()) < box.width() / 4;
            d.edges[0] += midY && std::abs(x - box.left()) <= margin ? 1 : 0;
            d.edges[1] += midY && std::abs(x - box.right()) <= margin ? 1 : 0;
            d.edges[2] += midX && std::abs(y - box.top()) <= margin ? 1 : 0;
            d.edges[3] += midX && std::abs(y - box.bottom()) <= margin ? 1 : 0;
        }
    }
    return d;
}

void Stream(MainWindow& window, int readings, float far = 200.0f, int speed = 40) {
    window.findChild<QScrollBar*>("hsbChartSpeed")->setValue(speed);
    for (int i = 0; i < readings; ++i) {
        window.Display().ShowReading(i % 2 == 0 ? 20.0f : far);
    }
}

// Resizes the window to `factor` of its design size after readings have arrived.
void Resize(MainWindow& window, double factor) {
    Stream(window, 30);
    const QSize target = window.Geometry().DesignSizePixels() * factor;
    window.resize(window.size() + target - window.Surface().size());
    QTRY_COMPARE(window.Surface().size(), target);
}

} // namespace

class ScreenScaleTest : public QObject {
    Q_OBJECT
  private slots:
    void Window_OpensAtDesignSizeAndDrawsTheChartOnlyInItsBox_data();
    void Window_OpensAtDesignSizeAndDrawsTheChartOnlyInItsBox();
};

void ScreenScaleTest::Window_OpensAtDesignSizeAndDrawsTheChartOnlyInItsBox_data() {
    QTest::addColumn<QString>("steps");
    // r: 60 readings, b: 60 readings reaching 500 inches, L, S, D: 30 readings, then a resize
    // to 150%, 80% or 100%, p: print redraw with a maximum range of 100, 0: chart reset,
    // w: 130 readings at the fastest speed (a wrap).
    QTest::newRow("streaming") << "r";
    QTest::newRow("resized while streaming") << "rLSD";
    QTest::newRow("print beyond the maximum") << "bp";
    QTest::newRow("print, then readings") << "bpr";
    QTest::newRow("print, reset, readings") << "bp0r";
    QTest::newRow("print, wrap") << "bpw";
}

void ScreenScaleTest::Window_OpensAtDesignSizeAndDrawsTheChartOnlyInItsBox() {
    QFETCH(QString, steps);
    app_test::Sandbox sandbox;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The window opens at its design size (11880 x 7800 twips) at the screen's scale.
    const double dpr = window.Surface().devicePixelRatioF();
    const double devicePixelsPerTwip = window.Surface().logicalDpiX() * dpr / 1440;
    QCOMPARE(window.Surface().size() * dpr,
             QSize(qRound(11880 * devicePixelsPerTwip), qRound(7800 * devicePixelsPerTwip)));
    StripChartView& chart = window.Display().Chart();
    const QHash<QChar, std::function<void()>> act{
        {'r', [&] { Stream(window, 60); }},  {'b', [&] { Stream(window, 60, 500.0f); }},
        {'L', [&] { Resize(window, 1.5); }}, {'S', [&] { Resize(window, 0.8); }},
        {'D', [&] { Resize(window, 1.0); }}, {'p', [&] { QVERIFY(chart.RedrawForPrint("100")); }},
        {'0', [&] { chart.ChartReset(); }},  {'w', [&] { Stream(window, 130, 200.0f, 80); }},
    };
    const int margin = static_cast<int>(std::ceil(dpr));
    // What the trace paints on the screen (against the surface with the trace hidden) and
    // its vector copy for the printout (onto a transparent page of the window's size).
    const auto drawn = [&] {
        chart.FlushDrawing();
        const QRect box = BoxInDevicePixels(window);
        const auto grab = [&](bool trace) {
            chart.SetTraceHidden(!trace);
            return window.Surface().grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage hidden = grab(false);
        const QImage shown = grab(true);
        QImage page(shown.size(), QImage::Format_ARGB32_Premultiplied);
        page.setDevicePixelRatio(dpr);
        page.fill(Qt::transparent);
        QPainter painter(&page);
        chart.PaintTraceInPixels(painter);
        painter.end();
        return std::tuple(box, Compare(shown, &hidden, box, margin),
                          Compare(page, nullptr, box, margin));
    };
    // After every step nothing differs outside the box (the Description row, the analog
    // editor above), at every size the window passes through.
    for (const QChar step : steps) {
        act[step]();
        const auto [box, screen, printed] = drawn();
        QVERIFY2(screen.outside == 0 && printed.outside == 0,
                 qPrintable(
                     QString("%1 %2 after %3").arg(screen.outside).arg(printed.outside).arg(step)));
    }
    QCOMPARE(window.Geometry().ScaleX(), 1.0);
    const auto [box, screen, printed] = drawn();
    QVERIFY2(screen.inside > 20 * margin, qPrintable(QString::number(screen.inside)));
    for (const int edge : screen.edges) {
        QVERIFY(edge >= box.height() / 4);
    }
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
