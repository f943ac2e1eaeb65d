// The main window on a serial line, against the simulated sensor: the Sensor Type menu sends
// nothing, commands wait while an exchange runs, the sensor commands show and send the
// window's configuration, and distances follow the scale of the sensor on the line.
#include "app/main_window.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "link/ui/sensor_link.h"

#include <QAction>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;
using telmora::app_test::Simulator;
using telmora::app_test::TextOf;

constexpr int kPatienceMs = 10000;
const QString kFound = "Distances in 0.006768 inch per count, as the sensor counts";
const QString kAssumed =
    "Distances assume 0.003384 inch per count until a configuration is read from the sensor";

// Waits until `count` more readings have been taken into the statistics.
bool MoreReadings(MainWindow& window, int count) {
    const int from = TextOf(window, "txtNumOfSamples").toInt();
    return QTest::qWaitFor(
        [&] { return TextOf(window, "txtNumOfSamples").toInt() >= from + count; }, kPatienceMs);
}

// Distance shown, and the statistics' smallest and largest.
QStringList Shown(MainWindow& window) {
    return {TextOf(window, "txtCurrentDistance"), TextOf(window, "txtMinDistance"),
            TextOf(window, "txtMaxDistance")};
}

// The names of those of `commands` that are enabled.
QStringList Enabled(const QList<QAction*>& commands) {
    QStringList enabled;
    for (QAction* command : commands) {
        if (command->isEnabled()) {
            enabled << command->objectName();
        }
    }
    return enabled;
}

class WindowLinkTest : public QObject {
    Q_OBJECT

  private slots:
    void NoSensor_SensorTypeSendsNothingAndCommandsWaitOrNeedAFamily();
    void SensorCommands_ShowTheSensorsConfigurationAndSendTheWindows();
    void FactoryKelvoB_CommandDuringTheSearch_OnlySensorExchangesChangeTheScale();
    void SearchOff_AssumesTheScaleUntilARead_AndTheSettingIsRemembered();
};

void WindowLinkTest::NoSensor_SensorTypeSendsNothingAndCommandsWaitOrNeedAFamily() {
    QTemporaryDir dir;
    const QString received = dir.filePath("received");
    Simulator sim({"--rate", "5", "--fault", "silent", "--record", received});
    Sandbox sandbox(sim.Path());
    MainWindow window;
    const MainMenus& m = window.Menus();
    QCOMPARE(window.Status().Port()->text(), "Comm1: " + sim.Path());
    for (int i = 0; i < 2; ++i) {
        m.mnuSensorTypeKelvoA->trigger();
        m.mnuSensorTypeKelvoB->trigger();
    }
    const QList<QAction*> needFamily = {m.mnuFileSaveToSensor, m.mnuFilters, m.mnuProcessing,
                                        m.mnuFileNewFactoryConfiguration};
    const QList<QAction*> all =
        needFamily + QList<QAction*>{m.mnuFileOpenFromSensor, m.mnuComPort, m.mnuFileOpenFromFile,
                                     m.mnuSensorTypeKelvoA, m.mnuSensorTypeKelvoB};
    QStringList duringWait; // enabled commands, then the activity shown
    QTimer::singleShot(300,
                       [&] { duringWait = Enabled(all) << window.Status().Activity()->text(); });
    NextModal warning(NextModal::Dismiss, kPatienceMs);
    m.mnuFileOpenFromSensor->trigger();
    QCOMPARE(duringWait, QStringList{"Looking for the sensor"});
    QCOMPARE(QStringList({warning.Title(), warning.Text(), window.Status().Activity()->text()}),
             QStringList({"Warning", "No Sensor Found", ""}));

    // No family now: what needs one is disabled, opens nothing even when triggered and
    // leaves the record alone; the rest is back.
    QVERIFY(!window.FamilyA() && !window.FamilyB());
    QCOMPARE(Enabled(all),
             QStringList({"mnuFileOpenFromSensor", "mnuComPort", "mnuFileOpenFromFile",
                          "mnuSensorTypeKelvoA", "mnuSensorTypeKelvoB"}));
    QVERIFY(!m.mnuSensorTypeKelvoA->isChecked() && !m.mnuSensorTypeKelvoB->isChecked());
    QCOMPARE(window.Status().Family()->accessibleName(),
             QString("Sensor family: No sensor family"));
    window.Config().Sw1Setpoint = 99;
    NextModal none(NextModal::Dismiss, 200);
    window.mnuFileNewFactoryConfigurationClick();
    window.mnuFiltersClick();
    window.mnuProcessingClick();
    window.mnuFileSaveToSensorClick();
    QTest::qWait(250);
    QVERIFY(!none.Seen());
    QCOMPARE(window.Config().Sw1Setpoint, 99.0f);
    // All the line ever carried: the ten detection frames.
    QTRY_COMPARE_WITH_TIMEOUT(app_test::ReadAll(received),
                              QByteArray("W00\x37\x84\x72", 6).repeated(10), kPatienceMs);
    window.SetFamily(SensorFamily::A);
    QCOMPARE(Enabled(needFamily).size(), needFamily.size());
}

// The exact registers each command carries are the link's end-to-end tests'; here, the
// window shows what a read brings and a write sends what the window shows.
void WindowLinkTest::SensorCommands_ShowTheSensorsConfigurationAndSendTheWindows() {
    Simulator sim({"--rate", "5", "--family", "b"});
    Sandbox sandbox(sim.Path());
    MainWindow window;
    window.Menus().mnuSensorTypeKelvoA->trigger(); // the detection finds family B
    QStringList activity;
    connect(&window.Link(), &SensorLink::ProgressChanged, this,
            [&] { activity << window.Status().Activity()->text(); });
    NextModal unexpected(NextModal::Dismiss, 3 * kPatienceMs);

    window.Menus().mnuFileOpenFromSensor->trigger();
    QVERIFY(activity.contains("Reading configuration: register 45"));
    QCOMPARE(activity.last(), QString("Reading configuration: register 99"));
    QCOMPARE(window.Status().Activity()->text(), QString());
    QVERIFY(window.FamilyB());

    window.DescriptionBox()->setText("Written by the window");
    window.Menus().mnuFileSaveToSensor->trigger();
    QVERIFY2(activity.last().startsWith("Writing configuration: register"),
             qPrintable(activity.join(" | ")));
    window.DescriptionBox()->setText("changed here only");
    window.Menus().mnuFileOpenFromSensor->trigger();
    QCOMPARE(window.DescriptionBox()->text(), QString("Written by the window"));
    QVERIFY2(!unexpected.Seen(), qPrintable(unexpected.Text()));
}

// The window's distances in the scale of the sensor on the line: found when the port
// opens, changed only by reading or writing the sensor.
void WindowLinkTest::FactoryKelvoB_CommandDuringTheSearch_OnlySensorExchangesChangeTheScale() {
    // Every reply one character time late: the search is still running when the user acts.
    Simulator sim({"--distance", "40", "--rate", "40", "--paced"});
    Sandbox sandbox(sim.Path());
    Sandbox::SetFindScale(true);
    MainWindow window;
    QTRY_VERIFY_WITH_TIMEOUT(window.Link().IsFindingScale(), kPatienceMs);
    NextModal unexpected(NextModal::Dismiss, 4 * kPatienceMs);
    window.Menus().mnuFileOpenFromSensor->trigger();
    QVERIFY(!window.Link().IsFindingScale());
    QCOMPARE(window.Link().LineCountDistance(), kCountDistanceLong);
    QCOMPARE(window.Status().Scale()->text(), kFound);
    QVERIFY(MoreReadings(window, 3));
    // The readings before the read were in the assumed scale; the statistics forgot them.
    const QStringList forty = {"40.00", "40.00", "40.00"};
    QCOMPARE(Shown(window), forty);

    // A window set up for the normal range, saved to a file and loaded again: the encoder
    // sets the record's CountDistance, the sensor's scale stays.
    window.Config().MaxRange = 50;
    window.ShowRecordB();
    QVERIFY(window.SaveConfigurationFile(sandbox.Path("normal.cfg")));
    QCOMPARE(window.Config().CountDistance, kCountDistanceNormal);
    QVERIFY(window.LoadConfigurationFile(sandbox.Path("normal.cfg")));
    QVERIFY(MoreReadings(window, 3));
    QCOMPARE(window.Link().LineCountDistance(), kCountDistanceLong);
    QCOMPARE(Shown(window), forty);

    QVERIFY2(!unexpected.Seen(), qPrintable(unexpected.Text()));
}

// Whether readings in the assumed scale are asked for and shown is the line scale's own
// tests'; here, the window's status and the remembered setting.
void WindowLinkTest::SearchOff_AssumesTheScaleUntilARead_AndTheSettingIsRemembered() {
    Simulator sim({"--distance", "40", "--rate", "40"});
    Sandbox sandbox(sim.Path());
    {
        MainWindow window;
        QCOMPARE(window.Status().Scale()->text(), kAssumed);
        QVERIFY(!window.Menus().mnuFindScaleOnOpen->isChecked());
        window.Menus().mnuFindScaleOnOpen->trigger();
    }
    MainWindow window;
    QVERIFY(window.Menus().mnuFindScaleOnOpen->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(window.Status().Scale()->text(), kFound, kPatienceMs);
    QVERIFY(MoreReadings(window, 2));
    QCOMPARE(TextOf(window, "txtCurrentDistance"), QString("40.00"));
}

QTEST_MAIN(WindowLinkTest)
#include "window_link_test.moc"
