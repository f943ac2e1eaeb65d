// SensorLink and QSerialPort against the built simulator over a real pseudo-terminal:
// both sensor commands with each family, the exact bytes on the line, and the faults a
// user meets (no sensor, a sensor that stops, the wrong family, a hang-up).

#include "link/frames.h"
#include "link/link_messages.h"
#include "link/link_protocol.h"
#include "link/sensor_link.h"
#include "stand_in_host.h"
#include "test_terminal.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

using namespace telmora;
using namespace telmora::testing;

namespace {

constexpr int kPatienceMs = 15000;

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The simulator as a child process, unpaced, starting from `image` when given, with its
// log, the bytes it received and the image it holds after each "E" in a private folder.
class Simulator {
  public:
    explicit Simulator(QStringList args, const RegisterImage* image = nullptr) {
        if (image) {
            QByteArray bytes;
            for (const std::int16_t value : *image)
                bytes.append(static_cast<char>(value & 0xFF)).append(static_cast<char>(value >> 8));
            QFile f(file(QStringLiteral("sensor.cfg")));
            f.open(QIODevice::WriteOnly);
            f.write(bytes.left(256));
            args << QStringLiteral("--config") << f.fileName();
        }
        args << QStringLiteral("--log") << file(QStringLiteral("sim.log"))
             << QStringLiteral("--record") << file(QStringLiteral("received.bin"))
             << QStringLiteral("--dump-image") << file(QStringLiteral("image.cfg"));
        process_.start(QStringLiteral(KELVO_SIM_PATH), args);
        QElapsedTimer clock;
        clock.start();
        while (!process_.canReadLine() && clock.elapsed() < kPatienceMs &&
               process_.state() != QProcess::NotRunning)
            process_.waitForReadyRead(100);
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~Simulator() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    const QString& path() const { return path_; }
    QString file(const QString& name) const { return folder_.filePath(name); }

    // Everything the program sent after its detection frames, once at least `size` bytes
    // have arrived in all; `frames` counts those detection frames.
    QByteArray receivedAfterDetection(qsizetype size, int* frames = nullptr) const {
        QElapsedTimer clock;
        clock.start();
        QByteArray bytes = fileBytes(file(QStringLiteral("received.bin")));
        while (bytes.size() < size && clock.elapsed() < kPatienceMs) {
            QTest::qWait(20);
            bytes = fileBytes(file(QStringLiteral("received.bin")));
        }
        const QByteArray frame = QByteArray::fromStdString(DetectionFrame());
        qsizetype k = 0;
        for (; bytes.mid(k, frame.size()) == frame; k += frame.size())
            if (frames)
                ++*frames;
        return bytes.mid(k);
    }

    // The sensor's registers as of the last "E".
    RegisterImage image() const {
        const QByteArray bytes = fileBytes(file(QStringLiteral("image.cfg")));
        RegisterImage image{};
        for (int k = 0; k + 1 < bytes.size() && k / 2 < 128; k += 2)
            image[k / 2] =
                static_cast<std::int16_t>(static_cast<unsigned char>(bytes[k]) |
                                          (static_cast<unsigned char>(bytes[k + 1]) << 8));
        return image;
    }

  private:
    QTemporaryDir folder_;
    QProcess process_;
    QString path_;
};

// A register image whose values include the bytes a non-transparent line would change:
// carriage return, line feed, XON, XOFF, NUL, 0x7F, 0xFF, Ctrl-C, Ctrl-Z.
RegisterImage AwkwardImage(int salt) {
    RegisterImage image{};
    for (int k = 0; k < 128; ++k)
        image[k] = static_cast<std::int16_t>((k * 37 + salt) % 256);
    const int awkward[] = {13, 10, 17, 19, 0, 127, 255, 3, 26, 28};
    for (int k = 0; k < 10; ++k)
        image[40 + k + salt % 7] = static_cast<std::int16_t>(awkward[k]);
    return image;
}

bool anyShowRecord(const StandInHost& host) {
    return std::any_of(host.log.begin(), host.log.end(),
                       [](const std::string& entry) { return entry.rfind("ShowRecord", 0) == 0; });
}

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The program's side: the mapping that leads port 1 to the simulator, the window and
// the link.
struct Program {
    explicit Program(const Simulator& sim) : map({sim.path()}) {}
    TestPortMap map;
    SensorConfig config;
    StandInHost host;
    SensorLink link{config, host};
};

} // namespace

class LinkEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void readings_arriveAsDistances();
    void getConfiguration_readsEachFamilyExactly_data();
    void getConfiguration_readsEachFamilyExactly();
    void saveConfiguration_writesEachFamilyExactly_data();
    void saveConfiguration_writesEachFamilyExactly();
    void saveConfiguration_toTheOtherFamily_writesNothing();
    void noSensor_tenDetectionFramesThenNoSensorFound();
    void sensorStopsAtARegister_readStopsAndSaysWhichRegister();
    void hangUpDuringARead_closesThePortAndTellsTheUser();
};

void LinkEndToEndTest::readings_arriveAsDistances() {
    // Register 87 = 128: normal range, whose count distance the program starts with.
    RegisterImage image = AwkwardImage(1);
    image[87] = 128;
    Simulator sim({QStringLiteral("--distance"), QStringLiteral("24")}, &image);
    QVERIFY2(sim.path().startsWith(QStringLiteral("/dev/pts/")), qPrintable(sim.path()));
    Program program(sim);
    QSignalSpy readings(&program.link, &SensorLink::reading);
    QVERIFY(program.link.openPort(1));
    QTRY_VERIFY_WITH_TIMEOUT(readings.count() >= 3, kPatienceMs);
    for (const auto& reading : readings)
        QVERIFY2(std::abs(reading.at(0).toFloat() - 24.0f) < 0.01f,
                 qPrintable(QString::number(reading.at(0).toFloat())));
}

void LinkEndToEndTest::getConfiguration_readsEachFamilyExactly_data() {
    QTest::addColumn<QString>("family");
    QTest::newRow("Kelvo-A") << "a";
    QTest::newRow("Kelvo-B") << "b";
}

void LinkEndToEndTest::getConfiguration_readsEachFamilyExactly() {
    QFETCH(QString, family);
    const SensorFamily expected = family == "a" ? SensorFamily::A : SensorFamily::B;
    const RegisterImage stored = AwkwardImage(expected == SensorFamily::A ? 5 : 11);
    Simulator sim({QStringLiteral("--family"), family}, &stored);
    Program program(sim);
    program.host.family = expected == SensorFamily::A ? SensorFamily::B : SensorFamily::A;
    QSignalSpy progress(&program.link, &SensorLink::progressChanged);
    QSignalSpy progressShown(&program.link, &SensorLink::progressVisibleChanged);
    QVERIFY(program.link.openPort(1));

    program.link.getConfigurationFromSensor();

    QByteArray tail(kIdentificationQuery.data(), kIdentificationQuery.size());
    for (auto reg : ReadRegisters(expected))
        tail += QByteArray::fromStdString(ReadFrame(reg));
    tail += "E";
    int detectionFrames = 0;
    QCOMPARE(sim.receivedAfterDetection(6 + tail.size(), &detectionFrames), tail);
    QVERIFY(detectionFrames >= 1);
    QCOMPARE(program.host.family, expected);
    QVERIFY(program.host.warnings.empty());
    QCOMPARE(program.host.log.at(2), "ShowRecord " + std::string(FamilyName(expected)));
    for (auto reg : ReadRegisters(expected))
        QCOMPARE(program.host.shownImage[reg], stored[reg]);
    QCOMPARE(progress.first().at(0).toInt(), expected == SensorFamily::A ? 33 : 11);
    QCOMPARE(progressShown.last().at(0).toBool(), false);
    QVERIFY(program.link.protocol().TransferOk());
    QCOMPARE(program.link.protocol().ReceiveState(), 1);
}

void LinkEndToEndTest::saveConfiguration_writesEachFamilyExactly_data() {
    getConfiguration_readsEachFamilyExactly_data();
}

void LinkEndToEndTest::saveConfiguration_writesEachFamilyExactly() {
    QFETCH(QString, family);
    const SensorFamily expected = family == "a" ? SensorFamily::A : SensorFamily::B;
    const RegisterImage before = AwkwardImage(3);
    Simulator sim({QStringLiteral("--family"), family}, &before);
    Program program(sim);
    program.host.family = expected;
    const RegisterImage& window = program.host.windowImage =
        AwkwardImage(expected == SensorFamily::A ? 101 : 202);
    QVERIFY(program.link.openPort(1));

    program.link.saveConfigurationToSensor();

    const auto written = WriteRegisters(expected);
    QByteArray tail(kIdentificationQuery.data(), kIdentificationQuery.size());
    for (auto reg : written)
        tail += QByteArray::fromStdString(WriteFrame(reg, static_cast<std::uint8_t>(window[reg])));
    tail += "E";
    QCOMPARE(sim.receivedAfterDetection(6 + tail.size()), tail);
    QVERIFY(program.host.warnings.empty());
    QCOMPARE(program.host.statuses.size(), std::size_t{1});

    // The sensor holds the written registers, and only those changed.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(sim.file(QStringLiteral("image.cfg"))), kPatienceMs);
    const RegisterImage after = sim.image();
    for (int reg = 0; reg < 128; ++reg) {
        const bool wasWritten = std::find(written.begin(), written.end(), reg) != written.end();
        QCOMPARE(after[reg], wasWritten ? window[reg] : before[reg]);
    }
}

void LinkEndToEndTest::saveConfiguration_toTheOtherFamily_writesNothing() {
    Simulator sim({QStringLiteral("--family"), QStringLiteral("b")});
    Program program(sim);
    program.host.family = SensorFamily::A;
    QVERIFY(program.link.openPort(1));

    program.link.saveConfigurationToSensor();

    QCOMPARE(sim.receivedAfterDetection(10), QByteArray("T00E"));
    QCOMPARE(program.host.warnings, std::vector<std::string>{std::string(kWrongSensorTypeText)});
    QCOMPARE(program.host.family, SensorFamily::B);
}

void LinkEndToEndTest::noSensor_tenDetectionFramesThenNoSensorFound() {
    Simulator sim({QStringLiteral("--fault"), QStringLiteral("silent")});
    Program program(sim);
    QVERIFY(program.link.openPort(1));

    QElapsedTimer clock;
    clock.start();
    program.link.getConfigurationFromSensor();
    const qint64 elapsed = clock.elapsed();

    int detectionFrames = 0;
    QCOMPARE(sim.receivedAfterDetection(60, &detectionFrames), QByteArray());
    QCOMPARE(detectionFrames, 10);
    QCOMPARE(program.host.warnings, std::vector<std::string>{"No Sensor Found"});
    QCOMPARE(program.host.family, SensorFamily::None);
    QVERIFY2(elapsed >= 1050 && elapsed < 5000, qPrintable(QString::number(elapsed)));
}

void LinkEndToEndTest::sensorStopsAtARegister_readStopsAndSaysWhichRegister() {
    Simulator sim({QStringLiteral("--fault"), QStringLiteral("stop-at=40")});
    Program program(sim);
    QSignalSpy progress(&program.link, &SensorLink::progressChanged);
    QVERIFY(program.link.openPort(1));

    program.link.getConfigurationFromSensor();

    // The read ends at the unanswered frame, with no "E" after it.
    QVERIFY(sim.receivedAfterDetection(0).endsWith(QByteArray::fromStdString(ReadFrame(40))));
    QCOMPARE(program.host.warnings.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(program.host.warnings[0]).contains("register 40"));
    QVERIFY(!anyShowRecord(program.host));
    QCOMPARE(progress.last().at(0).toInt(), 40);
    QVERIFY(!program.link.protocol().TransferOk());
    QCOMPARE(program.link.protocol().ReceiveState(), 1);
}

void LinkEndToEndTest::hangUpDuringARead_closesThePortAndTellsTheUser() {
    Simulator sim({QStringLiteral("--fault"), QStringLiteral("hangup-at=40")});
    Program program(sim);
    QSignalSpy errors(&program.link, &SensorLink::portError);
    QVERIFY(program.link.openPort(1));

    program.link.getConfigurationFromSensor();

    QCOMPARE(errors.count(), 1);
    const QString message = errors.first().at(0).toString();
    QVERIFY2(message.startsWith(QStringLiteral("Comm1 (%1) stopped working").arg(sim.path())),
             qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("register 40")), qPrintable(message));
    QVERIFY(!program.link.isPortOpen());
    QVERIFY(!program.link.isBusy());
    QVERIFY(program.host.warnings.empty());
    QVERIFY(!anyShowRecord(program.host));

    const double before = CpuSeconds();
    QTest::qWait(300);
    QVERIFY2(CpuSeconds() - before < 0.15, "the event loop idles once the port is closed");
}

QTEST_MAIN(LinkEndToEndTest)
#include "link_e2e_test.moc"
