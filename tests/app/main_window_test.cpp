// The main window: its start-up, Sensor Type menu, help, status notes, and the twips layer
// under it (odd texts in the boxes are the editors' tests'; spoken names, and where every
// control lies as the window rescales, the window texts'). What scenarios show is compared
// with main_window.golden.
#include "../support/golden_sections.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/recent_files.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "display/ui/live_gauges_view.h"
#include "display/ui/measurement_display.h"
#include "form/editor_widgets.h"
#include "form/form_geometry.h"
#include "form/form_items.h"
#include "form/form_surface.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTextBrowser>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;
using telmora::app_test::TextOf;

namespace {

// The user types `text` into the box named `name` and presses Enter.
void Enter(MainWindow& window, const char* name, const QString& text) {
    auto* box = qobject_cast<EntryBox*>(window.findChild<QLineEdit*>(name));
    box->setText(text);
    emit box->Entered();
}

// The title, then the Edit menu as it reads.
QString EditState(MainWindow& window) {
    const MainMenus& m = window.Menus();
    return QString("%1 | %2%3 | %4%5")
        .arg(window.windowTitle(), m.mnuEditUndo->text(),
             m.mnuEditUndo->isEnabled() ? "" : " (off)", m.mnuEditRedo->text(),
             m.mnuEditRedo->isEnabled() ? "" : " (off)");
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    // The window at start-up (family B's factory configuration, quiet about a port that
    // cannot open, at the top of the screen) and through the Sensor Type menu: its flags and
    // marks, the status, which controls show and which dialogs open; the record stays (but
    // the family A filter dialog drops family B's filter as it opens). A new factory
    // configuration is the chosen family's (the core's defaults, tested there); family A's
    // leaves switch 3 as it was. The start-up texts are the window texts' golden file's.
    void StartUpAndSensorType_SwitchFlagsMarkStatusDialogsAndFamilyBControlsButNotTheRecord() {
        Sandbox sandbox; // port 1 leads nowhere
        NextModal atStartUp(NextModal::Dismiss, 200);
        MainWindow window;
        const MainMenus& m = window.Menus();
        const auto opened = [](QAction* command) {
            NextModal modal([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
            command->trigger();
            return modal.Name();
        };
        const auto state = [&](const QString& step) {
            QStringList hidden; // every control hidden now, a menu by its entry in its parent
            for (QWidget* w : window.Surface().findChildren<QWidget*>()) {
                if (qobject_cast<QMenu*>(w) == nullptr && w->isHidden()) {
                    hidden << w->objectName();
                }
            }
            for (QMenu* menu : window.findChildren<QMenu*>()) {
                if (!menu->menuAction()->isVisible()) {
                    hidden << menu->objectName();
                }
            }
            hidden.sort();
            return QStringList{
                QString("%1: family A %2 B %3, marks A %4 B %5, status %6")
                    .arg(step)
                    .arg(window.FamilyA())
                    .arg(window.FamilyB())
                    .arg(m.mnuSensorTypeKelvoA->isChecked())
                    .arg(m.mnuSensorTypeKelvoB->isChecked())
                    .arg(window.Status().Family()->text()),
                "  hidden: " + hidden.join(' '),
                QString("  txtSw3Setpoint %1, record Sw3Setpoint %2 FilterType %3, dialogs %4 %5")
                    .arg(TextOf(window, "txtSw3Setpoint"))
                    .arg(window.Config().Sw3Setpoint)
                    .arg(window.Config().FilterType)
                    .arg(opened(m.mnuFilters), opened(m.mnuProcessing))};
        };
        QTest::qWait(300);
        QStringList log = {QString("start-up: at the screen's top %1, a message came %2, "
                                   "progress shown %3")
                               .arg(window.y() == window.screen()->availableGeometry().top())
                               .arg(atStartUp.Seen())
                               .arg(!window.Status().Progress()->isHidden())};
        log << state("start-up");
        window.Config().Sw3Setpoint = 77;
        window.Config().FilterType = 5;
        window.ShowRecordB();
        // Choosing the same family twice keeps its mark.
        for (QAction* chosen : {m.mnuSensorTypeKelvoB, m.mnuSensorTypeKelvoA, m.mnuSensorTypeKelvoA,
                                m.mnuSensorTypeKelvoB}) {
            chosen->trigger();
            log << state(chosen->objectName());
        }
        // The record's changes are edits a new configuration drops: the user lets them go.
        NextModal discard([](QWidget* box) { NextModal::Answer(box, QMessageBox::Discard); });
        for (QAction* chosen : {m.mnuSensorTypeKelvoA, m.mnuSensorTypeKelvoB}) {
            chosen->trigger();
            m.mnuFileNewFactoryConfiguration->trigger();
            log << chosen->objectName() + ", new factory configuration: txtMinRange " +
                       TextOf(window, "txtMinRange") + " txtSw3Setpoint " +
                       TextOf(window, "txtSw3Setpoint");
        }
        test::CompareWithGolden(TELMORA_GOLDEN, "start-up and sensor type", log);
    }

    void Help_OpensTheShippedDocumentOrSaysWhereItLooked() {
        Sandbox sandbox;
        MainWindow window;
        window.Help().SetPath(sandbox.Path("nowhere/telmora-help.html"));
        NextModal modal(NextModal::Dismiss);
        window.mnuHelpClick();
        QCOMPARE(modal.Title(), QString("Help")); // empty when no message came
        QVERIFY(modal.Text().contains("nowhere"));
        QVERIFY(window.Help().Browser() == nullptr);

        window.Help().SetPath(TELMORA_HELP_FILE);
        QVERIFY(window.Help().Show(&window));
        QTextBrowser* browser = window.Help().Browser();
        QVERIFY(browser != nullptr && browser->isVisible());
        QVERIFY(browser->toPlainText().contains("port mapping"));
        browser->close();
    }

    // --help and --version win, even beside the toolkit's options, which are unknown only
    // once the toolkit has taken its own; other arguments are left alone.
    void CommandLine_HelpAndVersionWinOtherOptionsAreUnknown_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("request");
        QTest::addColumn<QString>("unknown");
        const auto row = [](const char* name, const QStringList& args, StartRequest request,
                            const QString& unknown = {}) {
            QTest::newRow(name) << (QStringList{"telmora"} + args) << int(request) << unknown;
        };
        row("none", {}, StartRequest::Window);
        row("version", {"-platform", "offscreen", "--version"}, StartRequest::Version);
        row("help wins", {"--version", "-h"}, StartRequest::Help);
        row("unknown", {"x", "--verbose", "-v"}, StartRequest::Unknown, "--verbose");
    }
    void CommandLine_HelpAndVersionWinOtherOptionsAreUnknown() {
        QFETCH(QStringList, arguments);
        QFETCH(int, request);
        QFETCH(QString, unknown);
        const CommandLine read = ReadCommandLine(arguments);
        QCOMPARE(int(read.Request), request);
        QCOMPARE(read.Unknown, unknown);
    }

    // Help holds the help document (F1) and About, which shows the title's version and the
    // build; --version says the same and where the help document is, or that it is missing.
    void About_VersionAndBuildInTheBoxAndOnTheCommandLine() {
        Sandbox sandbox;
        MainWindow window;
        const MainMenus& m = window.Menus();
        QVERIFY(QRegularExpression("^Telmora \\d+\\.\\d+$").match(window.windowTitle()).hasMatch());
        NextModal about(NextModal::Dismiss);
        m.mnuHelpAbout->trigger();
        QCOMPARE(about.Title(), QString("About Telmora"));
        const QStringList lines = about.Text().split('\n');
        QCOMPARE(lines.value(0), window.windowTitle());
        QVERIFY2(QRegularExpression("^Build ([0-9a-f]{12}|unknown), \\d{4}-\\d\\d-\\d\\d$")
                     .match(lines.value(1))
                     .hasMatch(),
                 qPrintable(lines.value(1)));

        const QString missing = sandbox.Path("nowhere/telmora-help.html");
        QCOMPARE(VersionReport(missing),
                 lines.mid(0, 2).join('\n') + "\nHelp: " + missing + " (missing)\n");
        QVERIFY(VersionReport(TELMORA_HELP_FILE).endsWith("/telmora-help.html\n"));
    }

    // The keyboard reaches every entry of the menu bar: each menu's access keys are all
    // there and unique; F1 opens the help; Alt with a letter types nothing into a text box.
    void Keyboard_AccessKeysUniquePerMenuF1HelpAltNeverTypes() {
        Sandbox sandbox;
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QList<QWidget*> menus{window.menuBar()};
        for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
            if (menu->menuAction()->isVisible())
                menus << menu;
        }
        for (QWidget* menu : menus) {
            QSet<QChar> keys;
            for (QAction* entry : menu->actions()) {
                if (entry->isSeparator() || !entry->isVisible())
                    continue;
                const qsizetype at = entry->text().indexOf('&');
                QVERIFY2(at >= 0 && at + 1 < entry->text().size(), qPrintable(entry->text()));
                const QChar key = entry->text().at(at + 1).toLower();
                QVERIFY2(!keys.contains(key), qPrintable(entry->text()));
                keys.insert(key);
            }
        }
        window.Help().SetPath(sandbox.Path("nowhere/telmora-help.html"));
        NextModal help(NextModal::Dismiss);
        QTest::keyClick(&window, Qt::Key_F1);
        QTRY_COMPARE(help.Title(), QString("Help"));
        QLineEdit* box = window.DescriptionBox();
        box->setFocus();
        const QString before = box->text();
        QTest::keyClick(box, Qt::Key_Z, Qt::AltModifier);
        QTest::keyClick(box, Qt::Key_H, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(box->text(), before);
    }

    // An option label's tooltip says what its caption means, and follows a click; Space and
    // Enter step it as a click does.
    void OptionLabels_TooltipExplainsTheCaptionShown() {
        Sandbox sandbox;
        MainWindow window;
        auto* label = window.findChild<QLabel*>("lblSw1EchoLoss");
        QVERIFY(label->toolTip().endsWith("\nNC: no change of the output on echo loss"));
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(label->text(), QString("On"));
        QVERIFY(label->toolTip().endsWith("\nOn: the output turns on on echo loss"));
        // The keyboard steps it as a click does.
        label->setFocus();
        QTest::keyClick(label, Qt::Key_Space);
        QCOMPARE(label->text(), QString("Off"));
        QTest::keyClick(label, Qt::Key_Return);
        QCOMPARE(label->text(), QString("NC"));
    }

    // What the status bar tells the user on its own: an entry the configuration cannot hold
    // (limited to what will be stored, or refused), and readings that stopped coming.
    void Entries_BeyondALimit_SayOnceWhichLimitApplied() {
        Sandbox sandbox;
        MainWindow window;
        QSignalSpy messages(window.statusBar(), &QStatusBar::messageChanged);
        // What the boxes then show is the editors' tests'.
        QStringList log;
        for (const QString& entry :
             QStringList{"txtMaxRange 200", "txtSw1Setpoint 500", "txtSw2Setpoint -4",
                         "txtMinRange 250", "txtMaxRange 3", "txtMaxRange 600",
                         "txtAnalogFarOutput 25", "txtAnalogNearOutput -1"}) {
            auto* box =
                qobject_cast<EntryBox*>(window.findChild<QLineEdit*>(entry.section(' ', 0, 0)));
            QVERIFY(box != nullptr);
            window.statusBar()->clearMessage();
            messages.clear();
            box->setText(entry.section(' ', 1));
            emit box->Entered();
            emit box->FocusLeft(); // leaving after Enter notes nothing more
            QStringList notes = {entry + ":"};
            for (const QList<QVariant>& message : messages) {
                if (!message.at(0).toString().isEmpty()) {
                    notes << message.at(0).toString();
                }
            }
            log << notes.join(" | ");
        }
        test::CompareWithGolden(TELMORA_GOLDEN, "entries beyond a limit", log);
    }

    void Readings_SilentForFiveSeconds_ShowAsStaleUntilTheNext() {
        Sandbox sandbox;
        MainWindow window;
        LiveGaugesView& gauges = window.Display().Gauges();
        gauges.Timer2().stop(); // the test drives the ticks
        QTime now(14, 2, 31);
        gauges.SetClock([&now] { return now; });
        QLabel* readings = window.Status().Readings();
        const auto tick = [&gauges](int times) {
            for (int i = 0; i < times; ++i) {
                gauges.Timer2Timer();
            }
        };
        tick(200); // no reading yet: nothing is stale
        QCOMPARE(readings->text(), QString());
        window.Display().ShowReading(50.0f);
        now = now.addSecs(5);
        window.Display().NoteReceiveEvent(); // a delivery that is no reading does not count
        tick(100);
        QCOMPARE(readings->text(), QString());
        tick(1); // the 101st tick: five seconds without a reading
        QCOMPARE(readings->text(), QString("No readings since 14:02:31"));
        QVERIFY(!readings->isHidden());
        tick(300);
        QCOMPARE(readings->text(), QString("No readings since 14:02:31"));
        window.Display().ShowReading(51.0f);
        QCOMPARE(readings->text(), QString());
        QVERIFY(readings->isHidden());
    }

    // Each way of changing the configuration is one named step: undo shows the earlier
    // record, redo the later one, and undoing back to what was loaded clears the star.
    void UndoRedo_EachChangeIsOneNamedStep() {
        Sandbox sandbox;
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const MainMenus& m = window.Menus();
        auto* handle = window.findChild<QLabel*>("lblSw1Left");
        const QPoint from = handle->rect().center(), to = from - QPoint(60, 0);
        // Each step, and the control whose text tells its effect (none: the filter type).
        const std::vector<std::tuple<QString, const char*, std::function<void()>>> steps{
            {"setpoint drag", "txtSw1Setpoint",
             [&] {
                 QTest::mousePress(handle, Qt::LeftButton, {}, from);
                 QTest::mouseMove(handle, to);
                 QTest::mouseRelease(handle, Qt::LeftButton, {}, to);
             }},
            {"arrow key on the handle", "txtSw1Setpoint",
             [&] {
                 handle->setFocus(Qt::TabFocusReason);
                 QTest::keyClick(handle, Qt::Key_Right, Qt::ShiftModifier);
             }},
            {"option click", "lblSw2PowerUp",
             [&] {
                 QTest::mouseClick(window.findChild<QLabel*>("lblSw2PowerUp"), Qt::LeftButton);
             }},
            {"pop-up choice", "lblAnalogEchoLoss",
             [&] { window.findChild<QAction*>("mnuAnalogEchoLossHigh")->trigger(); }},
            {"typed, left by the menu", "txtMaxRange",
             [&] { window.findChild<QLineEdit*>("txtMaxRange")->setText("300.00"); }},
            {"dialog OK", "", [&] {
                 NextModal ok([](QWidget* dialog) {
                     dialog->findChild<QRadioButton*>("opt2Consec")->click();
                     qobject_cast<QDialog*>(dialog)->accept();
                 });
                 m.mnuFilters->trigger();
             }}};
        QStringList log{"start-up: " + EditState(window)};
        const auto shown = [&](const char* name) {
            return *name ? TextOf(window, name) : QString::number(window.Config().FilterType);
        };
        for (const auto& [step, control, act] : steps) {
            const QString before = shown(control);
            act();
            const QString after = shown(control);
            log << QString("%1: %2 -> %3: %4").arg(step, before, after, EditState(window));
            m.mnuEditUndo->trigger();
            QCOMPARE(shown(control), before);
            log << "  undone: " + EditState(window);
            m.mnuEditRedo->trigger();
            QCOMPARE(shown(control), after);
        }
        QWidget* label = window.findChild<QLabel*>("lblSw2PowerUp");
        window.activateWindow(); // shortcuts act in the active window; the dialog was
        QVERIFY(QTest::qWaitForWindowActive(&window));
        label->setFocus();
        for (std::size_t i = 0; i < steps.size(); ++i) {
            QTest::keyClick(label, Qt::Key_Z, Qt::ControlModifier);
        }
        log << "all undone: " + EditState(window) + ", setpoint " +
                   TextOf(window, "txtSw1Setpoint");
        test::CompareWithGolden(TELMORA_GOLDEN, "undo and redo", log);
    }

    // The title follows the file and the edits; the last four files are offered, newest
    // first, and one that no longer loads leaves the list.
    void TitleAndRecentFiles_FollowLoadsSavesAndEdits() {
        Sandbox sandbox;
        QStringList log;
        {
            MainWindow window;
            const auto note = [&](const QString& step) {
                QStringList entries;
                for (QAction* entry : window.Menus().mnuFileRecent->actions()) {
                    entries << entry->text() + " [" +
                                   QString(entry->toolTip()).replace(QDir::currentPath(), "~") +
                                   "]";
                }
                log << step + ": " + window.windowTitle() + " | " + entries.join(", ");
            };
            for (const char* file : {"a.cfg", "b.cfg", "c&d.cfg", "e.cfg", "f.cfg", "b.cfg"}) {
                QVERIFY(window.SaveConfigurationFile(sandbox.Path(file)));
            }
            note("six saves");
            Enter(window, "txtSw1Setpoint", "40");
            note("edited");
            QVERIFY(window.LoadConfigurationFile(sandbox.Path("e.cfg")));
            note("e.cfg loaded");
            QFile::remove(sandbox.Path("c&d.cfg"));
            NextModal failure(NextModal::Dismiss);
            window.Menus().mnuFileRecent->actions().at(3)->trigger();
            note("c&d.cfg gone, then chosen (" + failure.Title() + ")");
            window.Menus().mnuFileRecent->actions().at(2)->trigger();
            note("f.cfg chosen");
            window.Menus().mnuFileNewFactoryConfiguration->trigger();
            note("new factory configuration");
        }
        MainWindow next; // the list outlives the window
        log << "next window: " + next.Recent().Paths().join(", ").replace(QDir::currentPath(), "~");
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Telmora", "Telmora")
            .setValue("files/recent", QStringList{"", "x.cfg", sandbox.Path("x.cfg"), "a.cfg",
                                                  "b.cfg", "c.cfg", "d.cfg"});
        MainWindow edited; // a list edited by hand: no blanks, no repeats, at most four
        log << "edited list: " +
                   edited.Recent().Paths().join(", ").replace(QDir::currentPath(), "~");
        test::CompareWithGolden(TELMORA_GOLDEN, "title and recent files", log);
    }

    // Every command that drops the window's configuration asks first, but only when there
    // are unsaved edits; Cancel keeps the window as it was, and "Save to disk" goes on only
    // when the file was written.
    void GuardedCommands_AskOnlyWithEdits_CancelKeepsEverything_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("edited");
        // Leaving without edits would end the test's own event loops; the tests of a leave
        // during an exchange show that it asks nothing then.
        for (const char* command : {"mnuFileExit", "close box"}) {
            QTest::addRow("%s, edited", command) << QString(command) << true;
        }
        for (const char* command :
             {"mnuFileOpenFromFile", "mnuFileOpenFromSensor", "mnuFileNewFactoryConfiguration",
              "mnuFileRecent1", "mnuSensorTypeKelvoA"}) {
            QTest::addRow("%s, edited", command) << QString(command) << true;
            QTest::addRow("%s, unedited", command) << QString(command) << false;
        }
    }

    void GuardedCommands_AskOnlyWithEdits_CancelKeepsEverything() {
        QFETCH(QString, command);
        QFETCH(bool, edited);
        Sandbox sandbox;
        MainWindow window;
        window.show();
        QVERIFY(window.SaveConfigurationFile(sandbox.Path("a.cfg")));
        if (edited) {
            Enter(window, "txtSw1Setpoint", "30");
        }
        const QString title = window.windowTitle();
        QStringList buttons;
        NextModal modal([&buttons](QWidget* dialog) {
            for (QAbstractButton* button : dialog->findChildren<QPushButton*>()) {
                buttons << button->text();
            }
            NextModal::Answer(dialog, QMessageBox::Cancel); // a file dialog or warning closes
        });
        if (command == "close box") {
            window.close();
        } else {
            window.findChild<QAction*>(command)->trigger();
        }
        // The family change drops nothing: the edits stay on the window, still unsaved.
        const bool asks = edited && command != "mnuSensorTypeKelvoA";
        QCOMPARE(modal.Name() == "msgUnsavedEdits", asks);
        if (asks) {
            buttons.sort();
            QCOMPARE(buttons, QStringList({"Cancel", "Discard", "Save to disk"}));
        }
        if (edited) {
            QCOMPARE(TextOf(window, "txtSw1Setpoint"), QString("30.00"));
            QCOMPARE(window.windowTitle(), title);
            QVERIFY(window.isVisible());
        }
    }

    void SaveToDiskAnswer_GoesOnOnlyWhenTheFileWasWritten() {
        Sandbox sandbox;
        MainWindow window;
        Enter(window, "txtSw1Setpoint", "30");
        for (bool written : {false, true}) {
            app_test::AnswerThen modal(QMessageBox::Save, [&](QWidget* dialog) {
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(sandbox.Path("kept.cfg"));
                QMetaObject::invokeMethod(dialog, written ? "accept" : "reject");
            });
            window.Menus().mnuFileNewFactoryConfiguration->trigger();
            QCOMPARE(modal.NextName(), QString("CommonDialog1"));
            QCOMPARE(TextOf(window, "txtSw1Setpoint"), QString(written ? "12.00" : "30.00"));
            QCOMPARE(window.windowTitle(), QString(written ? "Telmora 1.08" : "Telmora 1.08 *"));
        }
        QVERIFY(QFile::exists(sandbox.Path("kept.cfg")));
    }

    // The twips layer on its own: where controls land and stay through resizes, what a moving
    // line repaints, what lies beneath what, and a surface that dies before the components
    // owning its paint layers (neither they nor the geometry may reach it then).
    void FormLayer_PlacesRepaintsStacksAndOutlivesItsSurface() {
        auto* surface = new FormSurface;
        FormGeometry geometry(*surface);
        int layersPainted = 0;
        for (int i = 0; i < 3; ++i) {
            surface->AddPaintLayer(new QObject(surface),
                                   [&layersPainted](QPainter&) { ++layersPainted; });
        }
        auto* label = new QLabel(surface);
        geometry.Place(label, {840, 360, 6495, 135});
        // Where twips land in pixels, and that they read back unsnapped, the editors' tests see
        // on every control they place. A negative width is taken as none.
        geometry.SetWidth(label, -50);
        QCOMPARE(geometry.Width(label), 0.0);
        QCOMPARE(label->width(), 0);
        // Two controls meeting at one twip meet at one pixel.
        auto* right = new QLabel(surface);
        geometry.Place(right, {2000, 720, 100, 255});
        for (double x = 900; x < 1000; x += 3.7) {
            geometry.SetWidth(label, x - geometry.Left(label));
            geometry.SetLeft(right, x);
            QCOMPARE(label->x() + label->width(), right->x());
        }
        // Placement code moves things in the current geometry; a resize keeps them in proportion.
        auto* line = new FormLine(surface, "linTargetLineTop");
        geometry.PlaceLine(line, {4440, 3480}, {4440, 4440});
        // What the later steps place, made before the surface shows (and so shown with it).
        auto* between = new QLabel(QStringLiteral("Off"), surface);
        auto* cover = new QLabel(surface);
        for (QLabel* opaque : {between, cover}) {
            opaque->setAutoFillBackground(true);
        }
        auto* shape = new FormShape(surface, "shpAnalogBox", FormShape::Kind::Rectangle);
        auto* mid = new FormLine(surface, "linAnalogMid");
        surface->show();
        QVERIFY(QTest::qWaitForWindowExposed(surface));
        surface->resize(surface->sizeHint() * 2);
        QCoreApplication::processEvents();
        const double scale = geometry.ScaleX();
        QVERIFY(qAbs(scale - 2) < 0.01);
        geometry.SetLeft(right, 3000);
        geometry.SetLineEnd(line, {5000, geometry.LineEnd(line).Y});
        QCOMPARE(geometry.Left(right), 3000.0);
        QCOMPARE(right->x(), qRound(3000 / geometry.TwipsPerPixelX()));
        surface->resize(surface->sizeHint());
        QCoreApplication::processEvents();
        QVERIFY(qAbs(geometry.Left(right) - 3000 / scale) < 1e-6);
        QVERIFY(qAbs(geometry.LineEnd(line).X - 5000 / scale) < 1e-6);
        QCOMPARE(geometry.LineStart(line).X, 4440.0);

        // Readings move the target lines up to 160 times a second; a move must not repaint the
        // controls between the old and the new place, and staying put must repaint nothing.
        class PaintCounter : public QObject {
          public:
            QMap<const QObject*, int> paints;
            bool eventFilter(QObject* watched, QEvent* event) override {
                paints[watched] += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        geometry.Place(between, {2400, 1200, 1200, 255});
        geometry.SetLineEnds(line, {1500, 2500}, {1500, 600});
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

        // Paint layers lie beneath the controls and go away with their owners.
        const QColor background = surface->palette().color(QPalette::Window);
        auto* owner = new QObject;
        surface->AddPaintLayer(owner, [](QPainter& painter) {
            painter.fillRect(QRectF(1440, 1440, 1440, 720), Qt::blue);
        });
        const double tpp = geometry.TwipsPerPixelX();
        auto colourAt = [surface, tpp](double x, double y) {
            return surface->grab().toImage().pixelColor(qRound(x / tpp), qRound(y / tpp));
        };
        QCOMPARE(colourAt(2000, 1800), QColor(Qt::blue));
        QCOMPARE(colourAt(1000, 1800), background);
        geometry.Place(cover, {1440, 1440, 720, 720});
        QCOMPARE(colourAt(1600, 1600), background);
        delete owner;
        QCOMPARE(colourAt(2600, 1800), background);
        // Drawing items let the mouse through to the control beneath.
        geometry.Place(cover, {600, 3240, 6975, 1455});
        geometry.Place(shape, {840, 3600, 6495, 735});
        geometry.PlaceLine(mid, {2160, 4080}, {4440, 3600});
        QCOMPARE(surface->childAt(geometry.TwipsToPixels({3000, 3900}).toPoint()), cover);

        layersPainted = 0;
        surface->grab();
        QCOMPARE(layersPainted, 3);
        delete surface;
        QVERIFY(!geometry.IsPlaced(label));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
