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

// Every control the geometry layer places (but the echo symbol, which the gauge timer moves
// on its own): its twips (a line's two end points) and its pixels.
struct Placement {
    QList<double> twips;
    QRect pixels;
};

QMap<QString, Placement> Placements(MainWindow& window) {
    QMap<QString, Placement> all;
    FormGeometry& g = window.Geometry();
    for (QWidget* w : window.Surface().findChildren<QWidget*>()) {
        if (!g.IsPlaced(w) || w->objectName() == "shpEcho") {
            continue;
        }
        const auto* line = qobject_cast<FormLine*>(w);
        const TwipRect r = line != nullptr ? TwipRect{} : g.Rect(w);
        const TwipPoint a = line != nullptr ? g.LineStart(line) : TwipPoint{};
        const TwipPoint b = line != nullptr ? g.LineEnd(line) : TwipPoint{};
        all.insert(w->objectName(),
                   {{r.left, r.top, r.width, r.height, a.x, a.y, b.x, b.y}, w->geometry()});
    }
    return all;
}

// The controls of `now` that do not stand at `factor` times their place in `before`.
QStringList NotScaled(const QMap<QString, Placement>& before, const QMap<QString, Placement>& now,
                      double factor) {
    QStringList wrong;
    for (auto it = before.begin(); it != before.end(); ++it) {
        const QList<double> was = it.value().twips;
        const QList<double> is = now.value(it.key()).twips;
        for (qsizetype i = 0; i < was.size(); ++i) {
            if (is.size() != was.size() ||
                std::abs(is[i] - factor * was[i]) > 1e-6 * std::max(1.0, std::abs(is[i]))) {
                wrong << it.key();
                break;
            }
        }
        if (factor == 1.0 && now.value(it.key()).pixels != it.value().pixels) {
            wrong << it.key() + " (pixels)";
        }
    }
    return wrong;
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
    for (const char* name : {"linAnalogMid", "shpVoltMeter", "txtDescription", "StripChartBox"}) {
        QVERIFY2(before.contains(name), name);
    }

    ResizeClient(window, 1.5);
    QCOMPARE(window.Geometry().ScaleX(), 1.5);
    QCOMPARE(NotScaled(before, Placements(window), 1.5), QStringList());
    QVERIFY(window.Surface().font().pointSizeF() > FormSurface::kDesignFontPoints * 1.4);

    ResizeClient(window, 1.0);
    QCOMPARE(NotScaled(before, Placements(window), 1.0), QStringList());
    QCOMPARE(window.Surface().font().pointSizeF(), FormSurface::kDesignFontPoints);
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
    const QStringList odd =
        QString("|abc|-|.|1e999|-1e999|nan|inf|12,5|0|-40|  7.5 inches|99999999999999999999")
            .split('|');
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
