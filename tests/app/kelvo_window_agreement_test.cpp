// The command-line tool models the window's show and read-back without Qt. These tests
// hold the real window to that model: for the same sensor registers the window must save
// the same configuration file, and for the same file send the same registers.
#include "app/main_window.h"
#include "app_test_support.h"
#include "config/config_file.h"
#include "link/frames.h"
#include "window_round_trip.h"

#include <QFile>
#include <QtTest>

#include <random>

using namespace telmora;
using telmora::app_test::Sandbox;

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

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Family(SensorFamily family) {
    return family == SensorFamily::A ? "A" : "B";
}

} // namespace

class KelvoWindowAgreementTest : public QObject {
    Q_OBJECT
  private slots:
    void SensorReadThenSave_WindowWritesTheFileTheToolWrites_data();
    void SensorReadThenSave_WindowWritesTheFileTheToolWrites();
    void FileLoadThenSensorSave_WindowSendsTheRegistersTheToolSends_data();
    void FileLoadThenSensorSave_WindowSendsTheRegistersTheToolSends();
};

namespace {
void AddRandomCases() {
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("seed");
    for (SensorFamily family : {SensorFamily::A, SensorFamily::B}) {
        for (int seed = 1; seed <= 12; ++seed) {
            QTest::addRow("Kelvo-%s seed %d", qPrintable(Family(family)), seed)
                << static_cast<int>(family) << seed;
        }
    }
}
} // namespace

void KelvoWindowAgreementTest::SensorReadThenSave_WindowWritesTheFileTheToolWrites_data() {
    AddRandomCases();
}

void KelvoWindowAgreementTest::SensorReadThenSave_WindowWritesTheFileTheToolWrites() {
    QFETCH(int, family);
    QFETCH(int, seed);
    const auto sensorFamily = static_cast<SensorFamily>(family);
    std::mt19937 random(static_cast<unsigned>(seed));
    const RegisterImage sensorImage = RandomSensorImage(sensorFamily, random);

    Sandbox sandbox;
    MainWindow window;
    // What "Get Configuration From Sensor" does once detection found the family.
    window.SetFamily(sensorFamily);
    window.ShowRecord(sensorFamily, sensorImage);
    const QString path = sandbox.Path("window.cfg");
    QVERIFY(window.SaveConfigurationFile(path));

    const QByteArray expected =
        FileBytes(kelvo::FileImageAfterSensorRead(sensorFamily, sensorImage));
    QCOMPARE(ReadAll(path), expected);
}

void KelvoWindowAgreementTest::FileLoadThenSensorSave_WindowSendsTheRegistersTheToolSends_data() {
    AddRandomCases();
}

void KelvoWindowAgreementTest::FileLoadThenSensorSave_WindowSendsTheRegistersTheToolSends() {
    QFETCH(int, family);
    QFETCH(int, seed);
    const auto sensorFamily = static_cast<SensorFamily>(family);
    std::mt19937 random(static_cast<unsigned>(seed) + 1000);
    // A file as the window saves it: a family B image.
    const RegisterImage fileImage = RandomSensorImage(SensorFamily::B, random);

    Sandbox sandbox;
    sandbox.Write("sensor.cfg", FileBytes(fileImage));
    MainWindow window;
    window.SetFamily(sensorFamily);
    QVERIFY(window.LoadConfigurationFile(sandbox.Path("sensor.cfg")));
    const RegisterImage sent = window.ReadWindow(sensorFamily);

    const RegisterImage expected = kelvo::SensorImageFromFile(fileImage, sensorFamily);
    for (int reg : WriteRegisters(sensorFamily)) {
        QVERIFY2(sent[reg] == expected[reg], qPrintable(QString("register %1: window %2, tool %3")
                                                            .arg(reg)
                                                            .arg(sent[reg])
                                                            .arg(expected[reg])));
    }
}

QTEST_MAIN(KelvoWindowAgreementTest)
#include "kelvo_window_agreement_test.moc"
