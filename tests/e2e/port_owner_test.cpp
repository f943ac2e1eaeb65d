// The window's serial link and kelvo on one pseudo-terminal, each naming it its own way:
// whichever opens the port first keeps it, the other is refused with the holder's name and
// process, and the holder goes on reading undisturbed.
#include "link/port_lock.h"
#include "link/ui/sensor_link.h"
#include "link_fakes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace telmora;
using namespace telmora::testing;

namespace {

constexpr int kPatienceMs = 10000;

// A terminal the test plays the sensor on, also reachable through a symbolic link (as a
// /dev/serial/by-id name leads to its device); the window's port 1 leads to one of the two
// names and kelvo is given the other.
struct Rig {
    explicit Rig(bool windowUsesLink)
        : alias(QDir(folder.path()).filePath("by-id-port")),
          windowName(windowUsesLink ? alias : terminal.path()),
          kelvoName(windowUsesLink ? terminal.path() : alias) {
        QFile::link(terminal.path(), alias);
    }
    TestTerminal terminal;
    QTemporaryDir folder;
    QString alias;
    QString windowName;
    QString kelvoName;
    TestPortMap map{{windowName}};
    StandInHost host;
    SensorLink link{host};
};

} // namespace

class PortOwnerTest : public QObject {
    Q_OBJECT

  private slots:
    void WindowHolds_KelvoIsRefusedAndTheWindowReadsOn() {
        Rig r(true);
        QVERIFY(r.terminal.ok());
        QVERIFY(r.link.OpenPort(1));
        QSignalSpy readings(&r.link, &SensorLink::Reading);

        QFile comm("/proc/self/comm");
        QVERIFY(comm.open(QIODevice::ReadOnly));
        const QString self = QString::fromLocal8Bit(comm.readAll()).trimmed();
        for (const QStringList& command :
             {QStringList{"detect", "--port", r.kelvoName},
              QStringList{"monitor", "--count", "1", "--port", r.kelvoName}}) {
            QProcess kelvo;
            kelvo.start(KELVO_PATH, command);
            QVERIFY(kelvo.waitForFinished(kPatienceMs));
            QCOMPARE(kelvo.exitCode(), 7);
            QCOMPARE(QString::fromLocal8Bit(kelvo.readAllStandardError()),
                     QStringLiteral("kelvo: Cannot open port %1: in use by %2, process %3\n")
                         .arg(r.kelvoName, self)
                         .arg(QCoreApplication::applicationPid()));
        }
        QCOMPARE(r.terminal.ReadWaiting(), QByteArray()); // kelvo sent nothing
        r.terminal.Write("\r01234");
        QTRY_COMPARE_WITH_TIMEOUT(readings.count(), 1, kPatienceMs);
        QCOMPARE(readings.at(0).at(0).toFloat(), 4.175856f);
        QVERIFY(r.link.IsPortOpen());
    }

    void KelvoHolds_TheWindowIsRefusedAndKelvoReadsOn() {
        Rig r(false);
        QVERIFY(r.terminal.ok());
        QProcess kelvo;
        kelvo.start(KELVO_PATH, {"monitor", "--port", r.kelvoName});
        QVERIFY(kelvo.waitForStarted(kPatienceMs));
        QTRY_COMPARE_WITH_TIMEOUT(FindPortHolder(r.windowName.toStdString()).Pid,
                                  long{kelvo.processId()}, kPatienceMs);

        QSignalSpy errors(&r.link, &SensorLink::PortError);
        QVERIFY(!r.link.OpenPort(1));
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toString(),
                 QStringLiteral("Comm1 (%1) is in use by kelvo, process %2.")
                     .arg(r.windowName)
                     .arg(kelvo.processId()));
        QVERIFY(!r.link.IsPortOpen());

        r.terminal.Write("\r01234");
        QVERIFY(kelvo.waitForReadyRead(kPatienceMs));
        QVERIFY2(kelvo.readAllStandardOutput().trimmed().endsWith(" 4.18"), "kelvo reads on");

        // Once kelvo has ended (its lock with it), the window takes the port.
        kelvo.terminate();
        QVERIFY(kelvo.waitForFinished(kPatienceMs));
        QCOMPARE(kelvo.exitCode(), 0);
        QVERIFY(r.link.OpenPort(1));
    }
};

QTEST_GUILESS_MAIN(PortOwnerTest)
#include "port_owner_test.moc"
