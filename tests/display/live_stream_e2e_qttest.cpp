// Readings from the simulated sensor, over a pseudo-terminal and the window's own serial
// port, into the running window: every one counted and logged, in the order sent.
#include "../app/app_test_support.h"
#include "app/main_window.h"
#include "config/number_text.h"
#include "config/sensor_config.h"
#include "display/ui/data_log_command.h"
#include "display/ui/measurement_display.h"
#include "link/ui/sensor_link.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace telmora {

class LiveStreamTest : public QObject {
    Q_OBJECT
  private slots:
    void StreamFromSimulatedSensor_IsCountedAndLoggedInFull();
};

void LiveStreamTest::StreamFromSimulatedSensor_IsCountedAndLoggedInFull() {
    constexpr int kReadings = 140;
    app_test::Sandbox sandbox; // no port at start-up: the stream starts once logging has
    // A target swinging over the range, every 7th reading a lost echo; the simulator's log
    // holds the counts it sent.
    const QString simLog = sandbox.Path("sim.log");
    QProcess sim; // the shared simulator helper keeps it from logging
    sim.start(KELVO_SIM_PATH,
              {"--family", "b", "--sine", "10:200", "--period", "50", "--lost-every", "7", "--rate",
               "400", "--count", QString::number(kReadings), "--log", simLog});
    QVERIFY(sim.waitForStarted(10000) && sim.waitForReadyRead(10000));
    const QString terminal = QString::fromLocal8Bit(sim.readLine()).trimmed();
    MainWindow window;
    const QString logPath = sandbox.Path("stream.log");
    QVERIFY(window.Display().Log().StartLog(logPath));
    window.show();
    sandbox.Write("config/telmora/ports", ("1=" + terminal + "\n").toUtf8());
    QVERIFY(window.Link().OpenPort(1));
    QTRY_VERIFY_WITH_TIMEOUT(app_test::ReadAll(simLog).contains("stream stops after"), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(app_test::ReadAll(logPath).count('\n'), kReadings, 30000);

    // Each line holds the counts sent times the start-up count distance (the window has not
    // read the sensor's configuration), lost echoes included.
    static const QRegularExpression sent(R"(reading \d+ (\d{5}))");
    const QList<QByteArray> lines = app_test::ReadAll(logPath).split('\n');
    int readings = 0;
    int echoes = 0;
    for (const auto& reading : sent.globalMatch(QString::fromLatin1(app_test::ReadAll(simLog)))) {
        const auto d = static_cast<float>(ReadNumber(reading.captured(1).toStdString()) *
                                          static_cast<double>(kCountDistanceNormal));
        echoes += d > 0 ? 1 : 0;
        QVERIFY(readings < lines.size());
        QCOMPARE(lines[readings++].mid(8), QByteArray((" " + FormatTwoDecimals(d) + "\r").c_str()));
    }
    QCOMPARE(readings, kReadings);
    QVERIFY(echoes > 100 && echoes < kReadings);
    // A shown window shows the count at its next paint.
    QTRY_COMPARE(app_test::TextOf(window, "txtNumOfSamples"), QString::number(echoes));
    window.Display().Log().StopLog();
    sim.terminate();
    QVERIFY(sim.waitForFinished(10000));
}

} // namespace telmora

QTEST_MAIN(telmora::LiveStreamTest)
#include "live_stream_e2e_qttest.moc"
