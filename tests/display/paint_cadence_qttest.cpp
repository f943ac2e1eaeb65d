#include "display/ui/paint_cadence.h"

#include <QEvent>
#include <QTest>
#include <QWidget>

namespace telmora {

namespace {

// A child whose paints are counted, as a value box on the window.
class CountingBox : public QWidget {
  public:
    using QWidget::QWidget;
    int paints = 0;

  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QWidget::event(event);
    }
};

struct Window {
    explicit Window(int intervalMs) : cadence(new PaintCadence(&top, intervalMs)) {
        top.resize(200, 100);
        box.setGeometry(10, 10, 50, 20);
        top.show();
    }
    bool Painted() {
        return QTest::qWaitForWindowExposed(&top) &&
               QTest::qWaitFor([this] { return box.paints > 0; });
    }
    QWidget top;
    CountingBox box{&top};
    PaintCadence* cadence;
};

} // namespace

class PaintCadenceTest : public QObject {
    Q_OBJECT
  private slots:
    void HeldChanges_ArePaintedOnceTogetherWhenTheIntervalEnds();
};

void PaintCadenceTest::HeldChanges_ArePaintedOnceTogetherWhenTheIntervalEnds() {
    Window w(1000); // long enough that a stalled test machine stays inside it
    QVERIFY(w.Painted());
    // Let the start-up interval pass, then the first change is painted at once.
    QTest::qWait(1100);
    const int before = w.box.paints;
    w.box.update();
    QCoreApplication::processEvents();
    QCOMPARE(w.box.paints, before + 1);
    // Changes in the next interval are gathered into one paint at its end.
    for (int i = 0; i < 5; ++i) {
        w.box.update();
        QCoreApplication::processEvents();
    }
    QCOMPARE(w.box.paints, before + 1);
    QVERIFY(w.cadence->HeldPaints() >= 1);
    QTRY_COMPARE_WITH_TIMEOUT(w.box.paints, before + 2, 5000);
    QTest::qWait(1100);
    QCOMPARE(w.box.paints, before + 2);
}

} // namespace telmora

QTEST_MAIN(telmora::PaintCadenceTest)
#include "paint_cadence_qttest.moc"
