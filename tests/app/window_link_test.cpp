// The main window on a serial line: the Sensor Type menu sends nothing, commands wait while
// an exchange runs, and the sensor commands show and send the window's configuration
// (against the simulated sensor).
#include "app/main_window.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "config/config_file.h"
#include "config/config_file_commands.h"
#include "link/ui/sensor_link.h"

#include <QAction>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;
using telmora::app_test::Simulator;

constexpr int kPatienceMs = 10000;

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
    QTemporaryDir dir;
    SensorConfig sensor;
    RegisterImage image{};
    LoadFactoryDefaultsB(sensor);
    sensor.Sw2Setpoint = 33.84f; // 10000 counts of 0.003384 inch
    sensor.Description = "From the sensor";
    const QString sensorFile = dir.filePath("sensor.cfg");
    QVERIFY(SaveConfigurationFile(sensorFile.toStdString(), sensor, image).Ok);
    Simulator sim({"--rate", "5", "--family", "b", "--config", sensorFile});
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
    const QStringList shown = {"txtSw2Setpoint=33.84", "txtDescription=From the sensor"};
    QCOMPARE(app_test::TextsOf(window, shown), shown);

    window.DescriptionBox()->setText("Written by the window");
    window.Menus().mnuFileSaveToSensor->trigger();
    QVERIFY2(activity.last().startsWith("Writing configuration: register"),
             qPrintable(activity.join(" | ")));
    window.DescriptionBox()->setText("changed here only");
    window.Menus().mnuFileOpenFromSensor->trigger();
    QCOMPARE(window.DescriptionBox()->text(), QString("Written by the window"));
    QVERIFY2(!unexpected.Seen(), qPrintable(unexpected.Text()));
}

QTEST_MAIN(WindowLinkTest)
#include "window_link_test.moc"
