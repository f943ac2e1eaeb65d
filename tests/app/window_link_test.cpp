// The main window on a serial line, against the simulated sensor: the Sensor Type menu sends
// nothing, commands wait while an exchange runs, the sensor commands show and send the
// window's configuration, distances follow the scale of the sensor on the line, and leaving
// during an exchange ends it. What the scenarios show is compared with window_link.golden.
#include "../support/golden_sections.h"
#include "app/main_window.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "link/ui/sensor_link.h"

#include <QAction>
#include <QLineEdit>
#include <QStatusBar>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;
using telmora::app_test::Simulator;
using telmora::app_test::TextOf;

constexpr int kPatienceMs = 15000;

// What the sensor received, frame by frame: "W55", "T", "G10", "P10", "E".
QStringList Frames(const QByteArray& bytes) {
    QStringList frames;
    for (qsizetype i = 0; i < bytes.size();) {
        const char letter = bytes[i];
        const qsizetype length = letter == 'E' ? 1 : letter == 'T' ? 3 : 6;
        QString frame(QChar::fromLatin1(letter));
        if (length == 6 && i + 3 < bytes.size()) {
            frame += QString::number(static_cast<unsigned char>(bytes[i + 3]));
        }
        frames << frame;
        i += length;
    }
    return frames;
}

// Waits until `count` more readings have been taken into the statistics.
bool MoreReadings(MainWindow& window, int count) {
    const int from = TextOf(window, "txtNumOfSamples").toInt();
    return QTest::qWaitFor(
        [&] { return TextOf(window, "txtNumOfSamples").toInt() >= from + count; }, kPatienceMs);
}

// The scale the window's distances are in, and the distance, smallest and largest shown.
QString ScaleState(MainWindow& window) {
    return QString("%1 (line %2, search %3, remembered %4); shown %5 %6 %7")
        .arg(window.Status().Scale()->text())
        .arg(window.Link().LineCountDistance())
        .arg(window.Link().IsFindingScale() ? "running" : "off")
        .arg(window.Menus().mnuFindScaleOnOpen->isChecked())
        .arg(TextOf(window, "txtCurrentDistance"), TextOf(window, "txtMinDistance"),
             TextOf(window, "txtMaxDistance"));
}

class WindowLinkTest : public QObject {
    Q_OBJECT

  private slots:
    void NoSensor_SensorTypeSendsNothingAndCommandsWaitOrNeedAFamily() {
        QTemporaryDir dir;
        const QString received = dir.filePath("received");
        Simulator sim({"--rate", "5", "--fault", "silent", "--record", received});
        Sandbox sandbox(sim.Path());
        MainWindow window;
        const MainMenus& m = window.Menus();
        for (int i = 0; i < 2; ++i) {
            m.mnuSensorTypeKelvoA->trigger();
            m.mnuSensorTypeKelvoB->trigger();
        }
        const QList<QAction*> commands = {m.mnuFileSaveToSensor,   m.mnuFilters,
                                          m.mnuProcessing,         m.mnuFileNewFactoryConfiguration,
                                          m.mnuFileOpenFromSensor, m.mnuComPort,
                                          m.mnuFileOpenFromFile,   m.mnuSensorTypeKelvoA,
                                          m.mnuSensorTypeKelvoB};
        // The family, its marks and status, the commands enabled and the activity shown.
        const auto state = [&](const QString& when) {
            QStringList enabled;
            for (QAction* command : commands) {
                if (command->isEnabled()) {
                    enabled << command->objectName();
                }
            }
            return QString("%1: family A %2 B %3, marks A %4 B %5, %6; enabled: %7; activity: %8")
                .arg(when)
                .arg(window.FamilyA())
                .arg(window.FamilyB())
                .arg(m.mnuSensorTypeKelvoA->isChecked())
                .arg(m.mnuSensorTypeKelvoB->isChecked())
                .arg(window.Status().Family()->accessibleName(), enabled.join(' '),
                     window.Status().Activity()->text());
        };
        QStringList log = {window.Status().Port()->text().replace(sim.Path(), "<simulator>")};
        QTimer::singleShot(300, [&] { log << state("during the detection"); });
        NextModal warning(NextModal::Dismiss, kPatienceMs);
        m.mnuFileOpenFromSensor->trigger();
        log << "message " + warning.Title() + ": " + warning.Text() << state("after it");

        // Without a family, what needs one opens nothing even when triggered and leaves the
        // record alone.
        window.Config().Sw1Setpoint = 99;
        NextModal none(NextModal::Dismiss, 200);
        window.mnuFileNewFactoryConfigurationClick();
        window.mnuFiltersClick();
        window.mnuProcessingClick();
        window.mnuFileSaveToSensorClick();
        QTest::qWait(250);
        log << "no family, commands clicked: a dialog came " + QString::number(none.Seen()) +
                   ", record Sw1Setpoint " + QString::number(window.Config().Sw1Setpoint);
        window.SetFamily(SensorFamily::A);
        log << state("family A set");
        test::CompareWithGolden(TELMORA_GOLDEN, "no sensor", log);
        // All the line ever carried: the ten detection frames.
        QTRY_COMPARE_WITH_TIMEOUT(app_test::ReadAll(received),
                                  QByteArray("W00\x37\x84\x72", 6).repeated(10), kPatienceMs);
    }

    // The exact registers each command carries are the link's end-to-end tests'; here, the
    // window shows what a read brings and a write sends what the window shows.
    void SensorCommands_ShowTheSensorsConfigurationAndSendTheWindows() {
        Simulator sim({"--rate", "5", "--family", "b"});
        Sandbox sandbox(sim.Path());
        MainWindow window;
        window.Menus().mnuSensorTypeKelvoA->trigger(); // the detection finds family B
        QStringList activity;
        connect(&window.Link(), &SensorLink::ProgressChanged, this,
                [&] { activity << window.Status().Activity()->text(); });
        auto unexpected = std::make_unique<NextModal>(NextModal::Dismiss, 3 * kPatienceMs);

        window.Menus().mnuFileOpenFromSensor->trigger();
        QVERIFY(activity.contains("Reading configuration: register 45"));
        QCOMPARE(activity.last(), QString("Reading configuration: register 99"));
        QCOMPARE(window.Status().Activity()->text(), QString());
        QVERIFY(window.FamilyB());

        window.DescriptionBox()->setText("Written by the window");
        activity.clear();
        window.Menus().mnuFileSaveToSensor->trigger();
        // Both passes show: the write, then the read back that checks it.
        QVERIFY2(activity.first().startsWith("Writing configuration: register") &&
                     activity.last() == "Reading configuration: register 99",
                 qPrintable(activity.join(" | ")));
        QCOMPARE(window.statusBar()->currentMessage(),
                 QString("Configuration saved to the Kelvo-B sensor, read back and verified."));
        QCOMPARE(window.windowTitle(), QString("Telmora 1.08")); // the sensor holds the edit
        QVERIFY2(!unexpected->Seen(), qPrintable(unexpected->Text()));
        unexpected.reset();
        // A read drops the window's unsaved edits once the user lets them go.
        window.DescriptionBox()->setText("changed here only");
        NextModal discard([](QWidget* box) { NextModal::Answer(box, QMessageBox::Discard); },
                          3 * kPatienceMs);
        window.Menus().mnuFileOpenFromSensor->trigger();
        QCOMPARE(discard.Name(), QString("msgUnsavedEdits"));
        QCOMPARE(window.DescriptionBox()->text(), QString("Written by the window"));
        QCOMPARE(window.windowTitle(), QString("Telmora 1.08"));
    }

    // The compare reads the sensor without touching the window: equal after a read, the
    // edited setpoint marked after an edit, which the window still shows.
    void CompareWithSensor_ReadsAsideAndMarksTheWindowsEdit() {
        Simulator sim({"--rate", "5", "--family", "b"});
        Sandbox sandbox(sim.Path());
        MainWindow window;
        window.Menus().mnuFileOpenFromSensor->trigger();
        QStringList log;
        for (const QString setpoint : {"", "30.00"}) {
            if (!setpoint.isEmpty())
                window.findChild<QLineEdit*>("txtSw1Setpoint")->setText(setpoint);
            QString summary = "no dialog";
            NextModal compare(
                [&](QWidget* modal) {
                    summary = modal->windowTitle() + ": " + app_test::CompareSummary(modal);
                    modal->close();
                },
                3 * kPatienceMs);
            window.Menus().mnuFileCompareWithSensor->trigger();
            log << summary.replace(sim.Path(), "<port>");
        }
        log << "window keeps " + TextOf(window, "txtSw1Setpoint");
        test::CompareWithGolden(TELMORA_GOLDEN, "compare with sensor", log);
    }

    // A register the sensor does not take is named with its parameter and both values; with
    // the check turned off nothing is read back.
    void VerifyAfterWriting_NamesWhatTheSensorDidNotTake() {
        Simulator sim({"--rate", "5", "--family", "b", "--fault", "ignore-p=74"});
        Sandbox sandbox(sim.Path());
        MainWindow window;
        QStringList activity;
        connect(&window.Link(), &SensorLink::ProgressChanged, this,
                [&] { activity << window.Status().Activity()->text(); });
        window.findChild<QLineEdit*>("txtSw1Setpoint")->setText("30.00");
        NextModal warning(NextModal::Dismiss, 3 * kPatienceMs);
        window.Menus().mnuFileSaveToSensor->trigger();
        // A write the sensor did not take leaves the edit unsaved; one it took saves it.
        QStringList log{warning.Title() + ": " + warning.Text(), window.windowTitle()};
        window.Menus().mnuVerifyAfterWriting->trigger();
        activity.clear();
        NextModal none(NextModal::Dismiss, 500);
        window.Menus().mnuFileSaveToSensor->trigger();
        QTest::qWait(600);
        log << "unchecked: a dialog came " + QString::number(none.Seen()) + ", " +
                   QString::number(activity.filter("Reading").size()) + " registers read back, " +
                   window.statusBar()->currentMessage()
            << window.windowTitle();
        test::CompareWithGolden(TELMORA_GOLDEN, "verify after writing", log);
    }

    // The window's distances in the scale of the sensor on the line: found when the port
    // opens, changed only by reading or writing the sensor.
    void FactoryKelvoB_CommandDuringTheSearch_OnlySensorExchangesChangeTheScale() {
        // Every reply one character time late: the search is still running when the user acts.
        Simulator sim({"--distance", "40", "--rate", "40", "--paced"});
        Sandbox sandbox(sim.Path());
        Sandbox::SetFindScale(true);
        MainWindow window;
        QTRY_VERIFY_WITH_TIMEOUT(window.Link().IsFindingScale(), kPatienceMs);
        NextModal unexpected(NextModal::Dismiss, 4 * kPatienceMs);
        window.Menus().mnuFileOpenFromSensor->trigger();
        QStringList log = {"read during the search: " + ScaleState(window)};
        // The readings before the read were in the assumed scale; the statistics forgot them.
        QVERIFY(MoreReadings(window, 3));
        log << "readings after it: " + ScaleState(window);

        // A window set up for the normal range, saved to a file and loaded again: the encoder
        // sets the record's CountDistance, the sensor's scale stays.
        window.Config().MaxRange = 50;
        window.ShowRecordB();
        QVERIFY(window.SaveConfigurationFile(sandbox.Path("normal.cfg")));
        log << "saved for the normal range: record " +
                   QString::number(window.Config().CountDistance);
        QVERIFY(window.LoadConfigurationFile(sandbox.Path("normal.cfg")));
        QVERIFY(MoreReadings(window, 3));
        log << "loaded again: " + ScaleState(window) << "unexpected message: " + unexpected.Text();
        test::CompareWithGolden(TELMORA_GOLDEN, "scale from the sensor", log);
    }

    // Whether readings in the assumed scale are asked for and shown is the line scale's own
    // tests'; here, the window's status and the remembered setting.
    void SearchOff_AssumesTheScaleUntilARead_AndTheSettingIsRemembered() {
        Simulator sim({"--distance", "40", "--rate", "40"});
        Sandbox sandbox(sim.Path());
        QStringList log;
        {
            MainWindow window;
            log << "search off: " + ScaleState(window);
            window.Menus().mnuFindScaleOnOpen->trigger();
        }
        MainWindow window;
        QTRY_VERIFY_WITH_TIMEOUT(window.Status().Scale()->text().endsWith("as the sensor counts"),
                                 kPatienceMs);
        QVERIFY(MoreReadings(window, 2));
        log << "next window: " + ScaleState(window);
        test::CompareWithGolden(TELMORA_GOLDEN, "scale search setting", log);
    }

    // Leaving the program while an exchange waits, through the window's real wait and the
    // application's own event loop: the loop ends, a detection or read tells the sensor to
    // stream again, and a write ends only when the user agrees.
    void LeavingDuringAnExchange_EndsTheProgramsEventLoop_data() {
        QTest::addColumn<QString>("exchange");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("exit during detection") << QString("detection") << false;
        QTest::newRow("close during read") << QString("read") << true;
        QTest::newRow("exit during write, no then yes") << QString("write") << false;
        QTest::newRow("close during write, no then yes") << QString("write") << true;
    }

    void LeavingDuringAnExchange_EndsTheProgramsEventLoop() {
        QFETCH(QString, exchange);
        QFETCH(bool, closeBox);
        const bool detection = exchange == "detection";
        const bool write = exchange == "write";
        const QString lastFrame = write ? "P" : "E";
        QTemporaryDir dir;
        const QString received = dir.filePath("received");
        Simulator sim({"--rate", "5", "--family", "b", "--record", received, "--fault",
                       detection ? "silent" : "late=30"});
        Sandbox sandbox(sim.Path());
        MainWindow window;
        const MainMenus& m = window.Menus();
        auto leave = [&] { closeBox ? (void)window.close() : m.mnuFileExit->trigger(); };

        // Leaves once the exchange is under way: a detection after its second frame, a read
        // or write after 20 registers. A write asks first; No keeps it writing (the question
        // is open while it goes on), and the next leave, 20 registers later, is answered Yes.
        int registers = 0;
        int leaveAt = 20;
        std::vector<std::unique_ptr<NextModal>> questions;
        QTimer watch;
        connect(&window.Link(), &SensorLink::ProgressChanged, this, [&] { ++registers; });
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!window.Link().IsBusy() ||
                (detection ? Frames(app_test::ReadAll(received)).size() < 2
                           : registers < leaveAt)) {
                return;
            }
            if (write) {
                const auto answer = questions.empty() ? QMessageBox::No : QMessageBox::Yes;
                questions.push_back(std::make_unique<NextModal>(
                    [answer](QWidget* box) { NextModal::Answer(box, answer); }, kPatienceMs));
            }
            leaveAt += 20;
            if (!write || questions.size() == 2) {
                watch.stop();
            }
            leave();
        });
        watch.start(10);
        QTimer::singleShot(0, &window, [&] {
            write ? m.mnuFileSaveToSensor->trigger() : m.mnuFileOpenFromSensor->trigger();
        });
        // Should the program not leave, this ends its loop with a code of its own.
        QTimer::singleShot(kPatienceMs, [] { QCoreApplication::exit(99); });
        QCOMPARE(QApplication::exec(), 0);

        QVERIFY(!window.Link().IsBusy());
        QVERIFY(!window.Link().IsPortOpen());
        QCOMPARE(questions.size(), write ? 2u : 0u);
        for (const auto& question : questions) {
            QCOMPARE(QStringList({question->Title(), question->Text()}),
                     QStringList({"Warning", "The sensor is being written. Leaving now leaves it "
                                             "partly written. Leave anyway?"}));
        }
        QStringList frames;
        QTRY_VERIFY2_WITH_TIMEOUT(!(frames = Frames(app_test::ReadAll(received))).isEmpty() &&
                                      frames.last().startsWith(lastFrame),
                                  qPrintable(frames.join(' ')), kPatienceMs);
        // Nothing followed, and the exchange was cut short: the read and write stopped after
        // the registers counted, the detection after its second frame.
        QTest::qWait(300);
        QCOMPARE(Frames(app_test::ReadAll(received)), frames);
        const qsizetype exchangeFrames =
            frames.size() - frames.count("W55") - frames.count("T") - (lastFrame == "E" ? 1 : 0);
        if (detection) {
            QVERIFY2(frames.count("W55") >= 2 && frames.count("W55") < 10,
                     qPrintable(frames.join(' ')));
            QCOMPARE(exchangeFrames, 0);
        } else {
            QVERIFY2(exchangeFrames > 20 && exchangeFrames < 80, qPrintable(frames.join(' ')));
            QCOMPARE(frames.filter(write ? "G" : "P"), QStringList());
        }
    }
};

QTEST_MAIN(WindowLinkTest)
#include "window_link_test.moc"
