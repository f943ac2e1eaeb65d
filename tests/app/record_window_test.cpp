// The record on the window and back: the core's texts copied onto the controls, and one
// check that the window and kelvo save and send the same bytes.
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app_test_support.h"
#include "config/config_file.h"
#include "link/frames.h"
#include "window_session.h"

#include <QAction>
#include <QScopeGuard>
#include <QtTest>

#include <random>

using namespace telmora;
using telmora::app_test::ReadAll;
using telmora::app_test::Sandbox;
using telmora::app_test::TextsOf;

Q_DECLARE_METATYPE(telmora::SensorFamily)

namespace {

// Registers a family's read covers, each holding a random byte; the rest hold 0.
RegisterImage RandomSensorImage(SensorFamily family, std::mt19937& random) {
    std::uniform_int_distribution<int> byte(0, 255);
    RegisterImage image{};
    for (int reg = 10; reg <= 99; ++reg) {
        const bool familyARegister =
            reg == 11 || (reg >= 33 && reg <= 89) || reg == 96 || reg == 97 || reg == 99;
        if (family == SensorFamily::B || familyARegister) {
            image[reg] = static_cast<std::int16_t>(byte(random));
        }
    }
    // A description length the decoders can take in full, most of the time.
    image[33] = static_cast<std::int16_t>(byte(random) % 40);
    return image;
}

QByteArray FileBytes(const RegisterImage& image) {
    const ConfigFileBytes bytes = ImageToFileBytes(image);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

} // namespace

class RecordWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void WindowAndTool_SaveTheSameFileAndSendTheSameRegisters_data();
    void WindowAndTool_SaveTheSameFileAndSendTheSameRegisters();
    void ShowRecord_CommaLocale_WritesTextsCaptionsAndChecks();
};

// One control of each kind gets the core's text (the core's tests own the texts), the
// captions through the editors' display operations; on a desktop whose decimal separator
// is a comma numbers keep their period.
void RecordWindowTest::ShowRecord_CommaLocale_WritesTextsCaptionsAndChecks() {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restore = qScopeGuard([&previous] { QLocale::setDefault(previous); });
    Sandbox sandbox;
    MainWindow window;
    SensorConfig& c = window.Config();
    c.MinRange = 10.5f, c.Sw3Hyst = 2.25f, c.Sw1Mode = 32, c.Sw1PowerUp = 1, c.Sw2Polarity = 0;
    c.Sw1SetAllowed = 0, c.Sw2SetAllowed = 16, c.AnalogSetAllowed = 0, c.AnalogPowerUp = 2;
    c.AnalogEchoLoss = 12; // no caption: the label keeps its design "NC"
    c.AnalogMode = 128, c.AnalogOutputMax = 10, c.AnalogNearOutput = 2.5f;
    c.Description = "Tank 4 level";
    window.ShowRecordB();
    const QStringList want =
        QString("txtMinRange=10.50|lblMinRange=10.50|txtSw3Hyst=2.25|lblSw1Mode=Wind|"
                "lblSw1PowerUp=On|lblSw2Left=Off|lblSw2Right=On|lblAnalogPowerUp=High|"
                "lblAnalogEchoLoss=NC|lblAnalogMode=Voltage|lblAnalogNearOutputUnits=volts|"
                "txtAnalogNearOutput=2.5|txtDescription=Tank 4 level")
            .split('|');
    QCOMPARE(TextsOf(window, want), want);
    const MainMenus& m = window.Menus();
    QVERIFY(!m.SwSetAllowed(1)->isChecked() && m.SwSetAllowed(2)->isChecked());
    QVERIFY(!m.mnuAnalogSetAllowed->isChecked());
    // The pop-up's check marks follow the labels.
    QVERIFY(window.findChild<QAction*>("mnuSw1ModeWind")->isChecked());
    QVERIFY(!window.findChild<QAction*>("mnuSw1ModeHyst")->isChecked());
    QVERIFY(window.findChild<QAction*>("mnuAnalogEchoLossNC")->isChecked());
}

void RecordWindowTest::WindowAndTool_SaveTheSameFileAndSendTheSameRegisters_data() {
    QTest::addColumn<SensorFamily>("family");
    QTest::addColumn<int>("seed");
    for (SensorFamily family : {SensorFamily::A, SensorFamily::B}) {
        for (int seed = 1; seed <= 3; ++seed) {
            QTest::addRow("Kelvo-%s seed %d", family == SensorFamily::A ? "A" : "B", seed)
                << family << seed;
        }
    }
}

void RecordWindowTest::WindowAndTool_SaveTheSameFileAndSendTheSameRegisters() {
    QFETCH(SensorFamily, family);
    QFETCH(int, seed);
    std::mt19937 random(static_cast<unsigned>(seed));
    Sandbox sandbox;
    {
        // Read from a sensor (as once detection found the family), then saved to a file.
        MainWindow window;
        window.SetFamily(family);
        const RegisterImage sensorImage = RandomSensorImage(family, random);
        window.ShowRecord(family, sensorImage);
        QVERIFY(window.SaveConfigurationFile(sandbox.Path("window.cfg")));
        QCOMPARE(ReadAll(sandbox.Path("window.cfg")),
                 FileBytes(kelvo::FileImageAfterSensorRead(family, sensorImage)));
    }
    // Loaded into a fresh window from a file as the window saves it (a family B image),
    // then sent to a sensor.
    MainWindow window;
    window.SetFamily(family);
    const RegisterImage fileImage = RandomSensorImage(SensorFamily::B, random);
    sandbox.Write("sensor.cfg", FileBytes(fileImage));
    QVERIFY(window.LoadConfigurationFile(sandbox.Path("sensor.cfg")));
    const RegisterImage sent = window.ReadWindow(family);
    const RegisterImage expected = kelvo::SensorImageFromFile(fileImage, family);
    for (int reg : WriteRegisters(family)) {
        QVERIFY2(sent[reg] == expected[reg], qPrintable(QString("register %1: window %2, tool %3")
                                                            .arg(reg)
                                                            .arg(sent[reg])
                                                            .arg(expected[reg])));
    }
}

QTEST_MAIN(RecordWindowTest)
#include "record_window_test.moc"
