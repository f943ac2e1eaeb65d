// SensorLink over a real pseudo-terminal whose other end the test plays: line settings,
// readings, busy state, a silent line and a line that hangs up.

#include "link/link_protocol.h"
#include "link/sensor_link.h"
#include "stand_in_host.h"
#include "test_terminal.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

using namespace telmora;
using namespace telmora::testing;

namespace {

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

class SensorLinkTest : public QObject {
    Q_OBJECT

  private slots:
    void openPort_setsNineThousandSixHundred8N1WithoutFlowControl();
    void openPort_reportsPortDeviceAndReason_data();
    void openPort_reportsPortDeviceAndReason();
    void readings_areSignalledWithTheirDistance();
    void whileBusy_portAndCommandsAreRefusedAndTheWindowStaysResponsive();
    void hangUp_closesThePortReportsItOnceAndDoesNotSpin();
};

void SensorLinkTest::openPort_setsNineThousandSixHundred8N1WithoutFlowControl() {
    TestTerminal terminal;
    QVERIFY(terminal.ok());
    TestPortMap map({QString(), terminal.path()});
    SensorConfig config;
    StandInHost host;
    SensorLink link(config, host);
    QSignalSpy opened(&link, &SensorLink::portOpenChanged);

    QVERIFY(link.openPort(2));
    QCOMPARE(link.portNumber(), 2);
    QCOMPARE(link.portDevice(), terminal.path());
    QCOMPARE(opened.count(), 1);
    QCOMPARE(link.protocol().ReceiveState(), 1);

    termios line{};
    QCOMPARE(::tcgetattr(terminal.slave(), &line), 0);
    QCOMPARE(cfgetospeed(&line), speed_t(B9600));
    QCOMPARE(cfgetispeed(&line), speed_t(B9600));
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
    QCOMPARE(line.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP), tcflag_t(0));
    QCOMPARE(line.c_lflag & (ICANON | ECHO), tcflag_t(0));

    link.closePort();
    QVERIFY(!link.isPortOpen());
    QCOMPARE(link.portNumber(), 0);
    QCOMPARE(opened.count(), 2);
}

void SensorLinkTest::openPort_reportsPortDeviceAndReason_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("expected");
    QTest::newRow("leads nowhere") << 1 << QString() << "Comm1 leads to no device";
    QTest::newRow("missing device") << 1 << "/nonexistent/telmora-tty"
                                    << "Comm1 (/nonexistent/telmora-tty) could not be opened: ";
    QTest::newRow("no such port") << 5 << QString() << "There is no port 5";
}

void SensorLinkTest::openPort_reportsPortDeviceAndReason() {
    QFETCH(int, number);
    QFETCH(QString, device);
    QFETCH(QString, expected);
    TestPortMap map({device});
    SensorConfig config;
    StandInHost host;
    SensorLink link(config, host);
    QSignalSpy errors(&link, &SensorLink::portError);

    QVERIFY(!link.openPort(number));
    QCOMPARE(errors.count(), 1);
    const QString message = errors.at(0).at(0).toString();
    QVERIFY2(message.startsWith(expected), qPrintable(message));
    QVERIFY(!link.isPortOpen());
}

void SensorLinkTest::readings_areSignalledWithTheirDistance() {
    TestTerminal terminal;
    TestPortMap map({terminal.path()});
    SensorConfig config;
    StandInHost host;
    SensorLink link(config, host);
    QSignalSpy readings(&link, &SensorLink::reading);
    QSignalSpy arrivals(&link, &SensorLink::dataReceived);
    QVERIFY(link.openPort(1));

    terminal.Write(QByteArray("\r01234\r00000"));
    QTRY_COMPARE_WITH_TIMEOUT(readings.count(), 2, 5000);
    QCOMPARE(readings.at(0).at(0).toFloat(), 4.175856f);
    QCOMPARE(readings.at(1).at(0).toFloat(), 0.0f);
    QVERIFY(arrivals.count() >= 1);
}

void SensorLinkTest::whileBusy_portAndCommandsAreRefusedAndTheWindowStaysResponsive() {
    TestTerminal terminal;
    TestPortMap map({terminal.path(), QString()});
    SensorConfig config;
    StandInHost host;
    SensorLink link(config, host);
    QVERIFY(link.openPort(1));
    QSignalSpy busy(&link, &SensorLink::busyChanged);

    int checks = 0;
    QTimer during;
    during.setInterval(50);
    connect(&during, &QTimer::timeout, &link, [&] {
        if (!link.isBusy())
            return;
        ++checks;
        QVERIFY(!link.openPort(2));
        link.closePort();
        QVERIFY(link.isPortOpen());
        link.getConfigurationFromSensor(); // returns at once
        link.saveConfigurationToSensor();
    });
    during.start();
    link.getConfigurationFromSensor();
    during.stop();

    QVERIFY2(checks >= 5, "the window's timers run while the command waits");
    QCOMPARE(busy.count(), 2);
    QCOMPARE(busy.at(0).at(0).toBool(), true);
    QCOMPARE(busy.at(1).at(0).toBool(), false);
    QCOMPARE(host.warnings.size(), std::size_t{1}); // one command's "No Sensor Found"
    QCOMPARE(terminal.ReadWaiting().count('W'), 10);
}

void SensorLinkTest::hangUp_closesThePortReportsItOnceAndDoesNotSpin() {
    auto terminal = std::make_unique<TestTerminal>();
    TestPortMap map({terminal->path()});
    SensorConfig config;
    StandInHost host;
    SensorLink link(config, host);
    QSignalSpy errors(&link, &SensorLink::portError);
    QSignalSpy opened(&link, &SensorLink::portOpenChanged);
    QVERIFY(link.openPort(1));
    const QString device = terminal->path();

    terminal.reset(); // the whole line goes away
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 5000);
    QVERIFY(!link.isPortOpen());
    const QString message = errors.at(0).at(0).toString();
    QVERIFY2(message.startsWith(
                 QStringLiteral("Comm1 (%1) stopped working; it may have been disconnected (")
                     .arg(device)),
             qPrintable(message));
    QVERIFY2(message.endsWith(QStringLiteral("The port is closed.")), qPrintable(message));
    QCOMPARE(opened.count(), 2);

    const double before = CpuSeconds();
    QTest::qWait(300);
    QVERIFY2(CpuSeconds() - before < 0.15, "the event loop idles once the port is closed");
    QCOMPARE(errors.count(), 1);
}

QTEST_MAIN(SensorLinkTest)
#include "sensor_link_test.moc"
