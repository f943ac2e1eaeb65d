// The record on the window and back: every control the window shows and reads, through the
// window's save and send, gives the bytes kelvo's model of the same session gives (the
// core's tests own which text stands for which value).
#include "app/main_window.h"
#include "app_test_support.h"
#include "config/config_file.h"
#include "link/frames.h"
#include "window_session.h"

#include <QScopeGuard>
#include <QtTest>

#include <random>

using namespace telmora;
using telmora::app_test::ReadAll;
using telmora::app_test::Sandbox;

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
};

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
    // On a desktop whose decimal separator is a comma, the texts keep their period.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restore = qScopeGuard([&previous] { QLocale::setDefault(previous); });
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
