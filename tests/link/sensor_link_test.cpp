// SensorLink over a real pseudo-terminal whose other end the test plays: line settings,
// readings, busy state, a silent line and a line that hangs up.

#include "link/link_protocol.h"
#include "link/ui/sensor_link.h"
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

// A link whose port 1 leads to a terminal the test plays the sensor on.
struct Rig {
    std::unique_ptr<TestTerminal> terminal = std::make_unique<TestTerminal>();
    TestPortMap map{{terminal->path(), QString()}};
    StandInHost host;
    SensorLink link{host};
};

} // namespace

class SensorLinkTest : public QObject {
    Q_OBJECT

  private slots:
    void openPort_setsNineThousandSixHundred8N1WithoutFlowControl() {
        Rig r;
        QVERIFY(r.terminal->ok());
        QSignalSpy opened(&r.link, &SensorLink::PortOpenChanged);
        QSignalSpy readings(&r.link, &SensorLink::Reading);
        QSignalSpy arrivals(&r.link, &SensorLink::DataReceived);

        QVERIFY(r.link.OpenPort(1));
        QCOMPARE(r.link.PortNumber(), 1);
        QCOMPARE(r.link.PortDevice(), r.terminal->path());
        QCOMPARE(opened.count(), 1);
        QCOMPARE(r.link.Protocol().ReceiveState(), 1);

        termios line{};
        QCOMPARE(::tcgetattr(r.terminal->slave(), &line), 0);
        QCOMPARE(cfgetospeed(&line), speed_t(B9600));
        QCOMPARE(cfgetispeed(&line), speed_t(B9600));
        QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
        // A line that changes no byte is met end to end, with every awkward byte value.
        QCOMPARE(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));

        r.terminal->Write(QByteArray("\r01234"));
        QTRY_COMPARE_WITH_TIMEOUT(readings.count(), 1, 5000);
        QCOMPARE(readings.at(0).at(0).toFloat(), 4.175856f);
        QVERIFY(arrivals.count() >= 1);

        r.link.ClosePort();
        QVERIFY(!r.link.IsPortOpen());
        QCOMPARE(r.link.PortNumber(), 0);
        QCOMPARE(opened.count(), 2);
    }

    void openPort_reportsPortDeviceAndReason() {
        const struct {
            int number;
            QString device, expected;
        } cases[] = {
            {1, QString(), "Comm1 leads to no device"},
            {1, "/nonexistent/telmora-tty",
             "Comm1 (/nonexistent/telmora-tty) could not be opened: "},
            {5, QString(), "There is no port 5"},
        };
        for (const auto& c : cases) {
            Rig r;
            r.map.Write({c.device});
            QSignalSpy errors(&r.link, &SensorLink::PortError);
            QVERIFY(!r.link.OpenPort(c.number));
            QCOMPARE(errors.count(), 1);
            const QString message = errors.at(0).at(0).toString();
            QVERIFY2(message.startsWith(c.expected), qPrintable(message));
            QVERIFY(!r.link.IsPortOpen());
        }
    }

    void whileBusy_portAndCommandsAreRefusedAndTheWindowStaysResponsive() {
        Rig r;
        QVERIFY(r.link.OpenPort(1));
        QSignalSpy busy(&r.link, &SensorLink::BusyChanged);

        int checks = 0;
        QTimer during;
        during.setInterval(50);
        connect(&during, &QTimer::timeout, &r.link, [&] {
            if (!r.link.IsBusy())
                return;
            ++checks;
            QVERIFY(!r.link.OpenPort(2));
            r.link.ClosePort();
            QVERIFY(r.link.IsPortOpen());
            r.link.GetConfigurationFromSensor(); // returns at once
            r.link.SaveConfigurationToSensor();
        });
        during.start();
        r.link.GetConfigurationFromSensor();
        during.stop();

        QVERIFY2(checks >= 5, "the window's timers run while the command waits");
        QCOMPARE(busy.count(), 2);
        QCOMPARE(busy.at(0).at(0).toBool(), true);
        QCOMPARE(busy.at(1).at(0).toBool(), false);
        QCOMPARE(r.host.warnings.size(), std::size_t{1}); // one command's "No Sensor Found"
        QCOMPARE(r.terminal->ReadWaiting().count('W'), 10);
    }

    // An idle port that hangs up; a hang-up during an exchange is tested against the simulator.
    void hangUp_closesThePortReportsItOnceAndDoesNotSpin() {
        Rig r;
        QSignalSpy errors(&r.link, &SensorLink::PortError);
        QSignalSpy opened(&r.link, &SensorLink::PortOpenChanged);
        QVERIFY(r.link.OpenPort(1));
        const QString device = r.terminal->path();

        r.terminal.reset(); // the whole line goes away
        QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 5000);
        QVERIFY(!r.link.IsPortOpen());
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
};

QTEST_MAIN(SensorLinkTest)
#include "sensor_link_test.moc"
