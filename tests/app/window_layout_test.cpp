// The whole main window as laid out: it rescales with its size and comes back to its
// twips, every control speaks its name to a screen reader, and no text in any box can
// upset a placement.
#include "app/form_items.h"
#include "app/form_surface.h"
#include "app/main_window.h"
#include "app_test_support.h"
#include "editors/editor_widgets.h"

#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStatusBar>
#include <QtTest>

#include <cmath>

using namespace telmora;
using telmora::app_test::Sandbox;

namespace {

struct Placement {
    TwipRect rect;
    TwipPoint start;
    TwipPoint end;
    QRect pixels;
};

// Every control the geometry layer places, except the echo symbol, which the gauge timer
// moves on its own.
QMap<QString, Placement> Placements(MainWindow& window) {
    QMap<QString, Placement> all;
    FormGeometry& g = window.Geometry();
    for (QWidget* w : window.Surface().findChildren<QWidget*>()) {
        if (!g.IsPlaced(w) || w->objectName() == "shpEcho") {
            continue;
        }
        Placement p;
        p.pixels = w->geometry();
        if (auto* line = qobject_cast<FormLine*>(w)) {
            p.start = g.LineStart(line);
            p.end = g.LineEnd(line);
        } else {
            p.rect = g.Rect(w);
        }
        all.insert(w->objectName(), p);
    }
    return all;
}

void ResizeClient(MainWindow& window, double factor) {
    const QSize design = window.Geometry().DesignSizePixels();
    const QSize target(qRound(design.width() * factor), qRound(design.height() * factor));
    window.resize(window.size() + target - window.Surface().size());
    QTRY_COMPARE(window.Surface().size(), target);
}

bool Near(double a, double b) {
    return std::abs(a - b) <= 1e-6 * std::max(1.0, std::abs(b));
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void Resize_To150PercentAndBack_LeavesEveryControlAtItsTwips();
    void EveryControl_HasAnAccessibleName();
    void OddTexts_InEveryBox_NeverUpsetAPlacementOrTheReadBack();
};

void WindowLayoutTest::Resize_To150PercentAndBack_LeavesEveryControlAtItsTwips() {
    Sandbox sandbox;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ResizeClient(window, 1.0);
    const QMap<QString, Placement> before = Placements(window);
    QVERIFY2(before.size() > 100, qPrintable(QString::number(before.size())));
    QVERIFY(before.contains("linAnalogMid") && before.contains("txtDescription") &&
            before.contains("StripChartBox") && before.contains("lblSw4Right"));

    ResizeClient(window, 1.5);
    QCOMPARE(window.Geometry().ScaleX(), 1.5);
    const QMap<QString, Placement> large = Placements(window);
    for (auto it = before.begin(); it != before.end(); ++it) {
        const Placement& b = it.value();
        const Placement& l = large.value(it.key());
        const bool scaled =
            Near(l.rect.left, 1.5 * b.rect.left) && Near(l.rect.width, 1.5 * b.rect.width) &&
            Near(l.rect.top, 1.5 * b.rect.top) && Near(l.rect.height, 1.5 * b.rect.height) &&
            Near(l.start.x, 1.5 * b.start.x) && Near(l.end.y, 1.5 * b.end.y);
        QVERIFY2(scaled, qPrintable(it.key()));
    }
    QVERIFY(window.Surface().font().pointSizeF() > FormSurface::kDesignFontPoints * 1.4);

    ResizeClient(window, 1.0);
    const QMap<QString, Placement> after = Placements(window);
    for (auto it = before.begin(); it != before.end(); ++it) {
        const Placement& b = it.value();
        const Placement& a = after.value(it.key());
        const bool same = Near(a.rect.left, b.rect.left) && Near(a.rect.top, b.rect.top) &&
                          Near(a.rect.width, b.rect.width) && Near(a.rect.height, b.rect.height) &&
                          Near(a.start.x, b.start.x) && Near(a.start.y, b.start.y) &&
                          Near(a.end.x, b.end.x) && Near(a.end.y, b.end.y) && a.pixels == b.pixels;
        QVERIFY2(same, qPrintable(it.key()));
    }
}

void WindowLayoutTest::EveryControl_HasAnAccessibleName() {
    Sandbox sandbox;
    MainWindow window;
    QStringList unnamed;
    QList<QWidget*> controls = window.Surface().findChildren<QWidget*>();
    controls += window.statusBar()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : controls) {
        // Lines and shapes are drawings; scroll bars inside boxes belong to their box.
        if (qobject_cast<FormLine*>(w) || qobject_cast<FormShape*>(w) || qobject_cast<QMenu*>(w) ||
            qobject_cast<QSizeGrip*>(w) || w->objectName().startsWith("qt_") ||
            (qobject_cast<QScrollBar*>(w) && w->objectName().isEmpty())) {
            continue;
        }
        if (w->accessibleName().trimmed().isEmpty()) {
            unnamed << QString("%1 (%2)").arg(w->objectName(), w->metaObject()->className());
        }
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    QCOMPARE(window.accessibleName(), QString("Telmora 1.08"));
}

void WindowLayoutTest::OddTexts_InEveryBox_NeverUpsetAPlacementOrTheReadBack() {
    Sandbox sandbox;
    MainWindow window;
    window.show();
    const QStringList odd = {"",
                             "abc",
                             "-",
                             ".",
                             "1e999",
                             "-1e999",
                             "nan",
                             "inf",
                             "12,5",
                             "  7.5 inches",
                             "0",
                             "-40",
                             "99999999999999999999"};
    const QList<EntryBox*> boxes = window.Surface().findChildren<EntryBox*>();
    QVERIFY(boxes.size() >= 14);
    for (const QString& text : odd) {
        for (EntryBox* box : boxes) {
            box->setText(text);
            emit box->Entered();
            emit box->FocusLeft();
        }
        window.ReadWindowB();
        window.ShowRecordB();
        for (QWidget* w : window.Surface().findChildren<QWidget*>()) {
            if (window.Geometry().IsPlaced(w) && !qobject_cast<FormLine*>(w)) {
                const TwipRect r = window.Geometry().Rect(w);
                QVERIFY2(std::isfinite(r.left) && std::isfinite(r.width) && r.width >= 0,
                         qPrintable(w->objectName() + " after " + text));
            }
        }
    }
}

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
