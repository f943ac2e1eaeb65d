// Every named control of the main window and of each dialog, with its caption, tooltip,
// spoken name, the named control holding it and (on the main window) its place in twips,
// compared once with window_texts.golden, and where each control lies when the window is
// resized to 150% of its design size.
#include "../app/app_test_support.h"
#include "../support/golden_sections.h"
#include "app/main_window.h"
#include "dialogs/ui/compare_dialog.h"
#include "dialogs/ui/filter_dialog_a.h"
#include "dialogs/ui/filter_dialog_b.h"
#include "dialogs/ui/run_mode_dialog_a.h"
#include "dialogs/ui/run_mode_dialog_b.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStatusBar>
#include <QtTest>

using namespace telmora;

namespace {

QString Flat(QString text) {
    return text.replace('\n', "\\n").replace('\t', "\\t");
}

// A button's or box's text, a group's or menu's title.
QString CaptionOf(const QWidget* w) {
    const QVariant text = w->property("text");
    return text.isValid() ? text.toString() : w->property("title").toString();
}

// Captions, boxes, buttons and frames need a name a screen reader speaks, and so does every
// control on the window's surface and status bar but drawings, grips and Qt's own parts.
bool NeedsSpokenName(const QWidget* w) {
    if (qobject_cast<const FormLine*>(w) || qobject_cast<const FormShape*>(w) ||
        qobject_cast<const QMenu*>(w) || qobject_cast<const QSizeGrip*>(w) ||
        w->objectName().startsWith("qt_") ||
        (qobject_cast<const QScrollBar*>(w) && w->objectName().isEmpty())) {
        return false;
    }
    const QWidget* holder = w->parentWidget();
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QGroupBox*>(w) ||
           holder->objectName() == "frmMainClient" || qobject_cast<const QStatusBar*>(holder);
}

// Where the geometry layer puts a control, in twips: its rectangle or a line's two ends.
QString TwipsOf(const FormGeometry* g, const QWidget* w) {
    if (g == nullptr || !g->IsPlaced(w)) {
        return {};
    }
    if (auto* line = qobject_cast<const FormLine*>(w)) {
        const TwipPoint a = g->LineStart(line), b = g->LineEnd(line);
        return QString("%1,%2 to %3,%4").arg(a.X).arg(a.Y).arg(b.X).arg(b.Y);
    }
    const TwipRect r = g->Rect(w);
    return QString("%1,%2 %3x%4").arg(r.Left).arg(r.Top).arg(r.Width).arg(r.Height);
}

// One line a control (and one a menu entry, in menu order); "UNNAMED" lines for controls a
// screen reader could not speak.
QStringList Texts(const QWidget& top, const QList<QWidget*>& controls,
                  const FormGeometry* geometry = nullptr) {
    QStringList lines = {QStringList{top.objectName(), Flat(top.windowTitle()),
                                     top.isModal() ? "modal" : "", Flat(top.accessibleName())}
                             .join('\t')};
    for (const QWidget* w : controls) {
        // Dialogs the window keeps for later are checked where they are shown.
        if (w->window() == &top && NeedsSpokenName(w) && w->accessibleName().trimmed().isEmpty()) {
            lines << "UNNAMED " + w->objectName() + " " + w->metaObject()->className();
        }
        // The menu bar has no name of its own.
        const QString name = qobject_cast<const QMenuBar*>(w) ? "menu bar" : w->objectName();
        if (name.isEmpty() || name.startsWith("qt_")) {
            continue;
        }
        const QWidget* holder = w->parentWidget();
        while (holder != &top && holder->objectName().isEmpty()) {
            holder = holder->parentWidget();
        }
        lines << QStringList{name,
                             w->metaObject()->className(),
                             holder == &top ? "" : holder->objectName(),
                             Flat(CaptionOf(w)),
                             Flat(w->toolTip()),
                             Flat(w->accessibleName()),
                             TwipsOf(geometry, w)}
                     .join('\t');
        const bool menu = qobject_cast<const QMenu*>(w) || qobject_cast<const QMenuBar*>(w);
        for (const QAction* a : menu ? w->actions() : QList<QAction*>()) {
            lines << QString("  %1\t%2\t%3")
                         .arg(a->objectName(), Flat(a->text()),
                              a->isSeparator() ? "separator"
                              : a->isVisible() ? ""
                                               : "hidden");
        }
    }
    return lines;
}

template <class D> QStringList DialogTexts(SensorConfig& config) {
    D dialog(config);
    return Texts(dialog, dialog.template findChildren<QWidget*>());
}

} // namespace

class WindowTextsTest : public QObject {
    Q_OBJECT
  private slots:
    void EveryControl_HasTheGoldenCaptionTooltipAndSpokenName();
};

void WindowTextsTest::EveryControl_HasTheGoldenCaptionTooltipAndSpokenName() {
    app_test::Sandbox sandbox;
    QStringList found, scaled;
    {
        MainWindow window; // family B's factory configuration, no port open
        // Resized to 150% of its design size and back, every control is again at its twips
        // (the echo symbol the gauge timer moves on its own).
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const FormGeometry& g = window.Geometry();
        for (double factor : {1.5, 1.0}) {
            const QSize target = g.DesignSizePixels() * factor;
            window.resize(window.size() + target - window.Surface().size());
            QTRY_COMPARE(window.Surface().size(), target);
            QCOMPARE(g.ScaleX(), factor);
            QCOMPARE(window.Surface().font().pointSizeF() / FormSurface::kDesignFontPoints > 1.4,
                     factor > 1);
            for (const QWidget* w : window.Surface().findChildren<QWidget*>()) {
                if (factor > 1 && g.IsPlaced(w) && w->objectName() != "shpEcho") {
                    scaled << w->objectName() + '\t' + TwipsOf(&g, w);
                }
            }
        }
        QCOMPARE(window.Surface().font().pointSizeF(), FormSurface::kDesignFontPoints);
        found = Texts(window, window.findChildren<QWidget*>(), &window.Geometry());
    }
    found.replaceInStrings(QDir::currentPath(), "<sandbox>");
    SensorConfig a, b;
    LoadFactoryDefaultsA(a);
    LoadFactoryDefaultsB(b);
    SensorConfig edited = b;
    edited.Sw1Setpoint = 30;
    CompareDialog compare("Compare With File", "Window (Kelvo-B)", "pump.cfg",
                          CompareFields(b, edited, SensorFamily::B));
    found += Texts(compare, compare.findChildren<QWidget*>());
    found += DialogTexts<FilterDialogA>(a) + DialogTexts<FilterDialogB>(b) +
             DialogTexts<RunModeDialogA>(a) + DialogTexts<RunModeDialogB>(b);

    test::CompareWithGolden(TELMORA_GOLDEN, "main window and dialogs", found);
    test::CompareWithGolden(TELMORA_GOLDEN, "main window at 150 percent", scaled);
}

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
