// The main window on a serial line: readings reach the displays, the Sensor Type menu sends
// nothing, commands wait while an exchange runs, and the sensor commands show and send the
// window's configuration (against the simulated sensor).
#include "app/main_window.h"
#include "app/status_panel.h"
#include "app_test_support.h"
#include "config/config_file.h"
#include "config/image_b.h"
#include "editors/output_editors.h"
#include "link/sensor_link.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

using namespace telmora;
using telmora::app_test::NextModal;
using telmora::app_test::Sandbox;
using telmora::app_test::SensorLine;

namespace {

constexpr int kPatienceMs = 10000;

QString TextOf(QWidget& window, const char* name) {
    if (auto* box = window.findChild<QLineEdit*>(name)) {
        return box->text();
    }
    if (auto* label = window.findChild<QLabel*>(name)) {
        return label->text();
    }
    qFatal("control %s not found", name);
}

// The simulated sensor, started on its own pseudo-terminal.
class Simulator {
  public:
    explicit Simulator(const QStringList& args) {
        process_.setProgram(KELVO_SIM_PATH);
        process_.setArguments(QStringList{"--quiet", "--rate", "5"} + args);
        process_.start();
        if (!process_.waitForStarted(kPatienceMs) || !process_.waitForReadyRead(kPatienceMs)) {
            qFatal("kelvo-sim did not start");
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~Simulator() {
        process_.terminate();
        if (!process_.waitForFinished(kPatienceMs)) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    const QString& Path() const { return path_; }

  private:
    QProcess process_;
    QString path_;
};

void WriteImageFile(const QString& path, SensorConfig config) {
    RegisterImage image{};
    EncodeImageB(config, image);
    const ConfigFileBytes bytes = ImageToFileBytes(image);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size()) != 256) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

} // namespace

class WindowLinkTest : public QObject {
    Q_OBJECT

  private slots:
    void Reading_ReachesTheDisplaysAndThePortIsNamed();
    void SensorType_SendsNothing();
    void GetConfiguration_NoSensor_HoldsCommandsWhileItLooks();
    void GetConfiguration_ShowsTheSensorsConfiguration();
    void SaveConfiguration_SendsWhatTheWindowShows();
};

void WindowLinkTest::Reading_ReachesTheDisplaysAndThePortIsNamed() {
    SensorLine line;
    Sandbox sandbox(line.Path());
    MainWindow window;
    QCOMPARE(window.Status().Port()->text(), "Comm1: " + line.Path());
    line.Send(QByteArray("\r03546")); // 3546 counts of 0.003384 inch: 12.00 inches
    QTRY_COMPARE_WITH_TIMEOUT(TextOf(window, "txtCurrDistance"), QString("12.00"), kPatienceMs);
    QCOMPARE(TextOf(window, "txtCurrentDistance"), QString("12.00"));
    QCOMPARE(TextOf(window, "txtNumOfSamples"), QString("1"));
}

void WindowLinkTest::SensorType_SendsNothing() {
    SensorLine line;
    Sandbox sandbox(line.Path());
    MainWindow window;
    QTest::qWait(50);
    line.Received();
    for (int i = 0; i < 2; ++i) {
        window.Menus().mnuSensorTypeKelvoA->trigger();
        window.Menus().mnuSensorTypeKelvoB->trigger();
    }
    QTest::qWait(100);
    QCOMPARE(line.Received(), QByteArray());
}

void WindowLinkTest::GetConfiguration_NoSensor_HoldsCommandsWhileItLooks() {
    SensorLine line;
    Sandbox sandbox(line.Path());
    MainWindow window;
    const MainMenus& m = window.Menus();
    QStringList enabledDuringWait;
    QString activity;
    QTimer::singleShot(300, [&] {
        for (QAction* a :
             {m.mnuFileOpenFromSensor, m.mnuFileSaveToSensor, m.mnuComPort, m.mnuFileOpenFromFile,
              m.mnuFileNewFactoryConfiguration, m.mnuSensorTypeKelvoA, m.mnuSensorTypeKelvoB,
              m.mnuFilters, m.mnuProcessing}) {
            if (a->isEnabled()) {
                enabledDuringWait << a->objectName();
            }
        }
        activity = window.Status().Activity()->text();
    });
    NextModal warning(NextModal::Dismiss, kPatienceMs);
    m.mnuFileOpenFromSensor->trigger();

    QCOMPARE(enabledDuringWait, QStringList());
    QCOMPARE(activity, QString("Looking for the sensor"));
    QVERIFY(warning.Seen());
    QCOMPARE(warning.Title(), QString("Warning"));
    QCOMPARE(warning.Text(), QString("No Sensor Found"));
    // No family now: what needs one stays disabled, the rest is back.
    QVERIFY(!window.FamilyA() && !window.FamilyB());
    QVERIFY(!m.mnuFileSaveToSensor->isEnabled());
    QVERIFY(!m.mnuFilters->isEnabled());
    QVERIFY(m.mnuFileOpenFromSensor->isEnabled());
    QVERIFY(m.mnuComPort->isEnabled());
    QCOMPARE(window.Status().Family()->text(), QString("No sensor family"));
    QCOMPARE(window.Status().Activity()->text(), QString());
    const QByteArray sent = line.Received();
    const QByteArray detection("W00\x37\x84\x72", 6);
    QCOMPARE(sent.count(detection), 10);
}

void WindowLinkTest::GetConfiguration_ShowsTheSensorsConfiguration() {
    QTemporaryDir dir;
    SensorConfig sensor;
    LoadFactoryDefaultsB(sensor);
    sensor.Sw2Setpoint = 33.84f; // 10000 counts of 0.003384 inch
    sensor.Sw3Mode = 32;
    sensor.AnalogEchoLoss = 8;
    sensor.Description = "From the sensor";
    WriteImageFile(dir.filePath("sensor.cfg"), sensor);
    Simulator sim({"--family", "b", "--config", dir.filePath("sensor.cfg")});
    Sandbox sandbox(sim.Path());
    MainWindow window;
    window.Menus().mnuSensorTypeKelvoA->trigger(); // the detection finds family B
    QStringList activity;
    connect(&window.Link(), &SensorLink::progressChanged, this,
            [&] { activity << window.Status().Activity()->text(); });
    NextModal unexpected(NextModal::Dismiss, kPatienceMs);

    window.Menus().mnuFileOpenFromSensor->trigger();
    QVERIFY(activity.contains("Reading configuration: register 45"));
    QCOMPARE(activity.last(), QString("Reading configuration: register 99"));
    QCOMPARE(window.Status().Activity()->text(), QString());
    QVERIFY2(!unexpected.Seen(), qPrintable(unexpected.Text()));
    QVERIFY(window.FamilyB());
    QCOMPARE(TextOf(window, "txtSw2Setpoint"), QString("33.84"));
    QCOMPARE(TextOf(window, "lblSw3Mode"), QString("Wind"));
    QCOMPARE(TextOf(window, "lblAnalogEchoLoss"), QString("High"));
    QCOMPARE(TextOf(window, "txtDescription"), QString("From the sensor"));
    QVERIFY(!window.findChild<QWidget*>("txtSw4Setpoint")->isHidden());
}

void WindowLinkTest::SaveConfiguration_SendsWhatTheWindowShows() {
    QTemporaryDir dir;
    Simulator sim({"--family", "b", "--dump-image", dir.filePath("written.cfg")});
    Sandbox sandbox(sim.Path());
    MainWindow window;
    window.Editors().Sw(4).SetPolarityReversed();
    window.Editors().Sw(1).SetModeWind();
    window.DescriptionBox()->setText("Written by the window");
    QStringList activity;
    connect(&window.Link(), &SensorLink::progressChanged, this,
            [&] { activity << window.Status().Activity()->text(); });
    NextModal unexpected(NextModal::Dismiss, kPatienceMs);

    window.Menus().mnuFileSaveToSensor->trigger();
    QVERIFY2(!activity.isEmpty() && activity.last().startsWith("Writing configuration: register"),
             qPrintable(activity.join(" | ")));
    QVERIFY2(!unexpected.Seen(), qPrintable(unexpected.Text()));
    QVERIFY(window.Config().Sw1Mode == 32);
    // The sensor now holds the image the window's configuration encodes to.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath("written.cfg")), kPatienceMs);
    RegisterImage expected{};
    SensorConfig config = window.Config();
    EncodeImageB(config, expected);
    ConfigFileContents written;
    QTRY_VERIFY_WITH_TIMEOUT(
        (written = ReadConfigFile(dir.filePath("written.cfg").toStdString())).ok, kPatienceMs);
    RegisterImage got{};
    FileBytesToImage(written.bytes, got);
    for (int k = 10; k <= 96; ++k) {
        QVERIFY2(got.at(k) == expected.at(k), qPrintable(QString("register %1").arg(k)));
    }
}

QTEST_MAIN(WindowLinkTest)
#include "window_link_test.moc"
