#include "../app/app_test_support.h"
#include "app/main_window.h"
#include "config/number_text.h"
#include "config/sensor_config.h"
#include "display/statistics.h"
#include "display/ui/data_log_command.h"
#include "display/ui/measurement_display.h"
#include "link/ui/sensor_link.h"

#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Readings from the simulated sensor, over a pseudo-terminal and the window's own serial
// port, into the running window: every one counted, averaged and logged.
namespace telmora {

class LiveStreamTest : public QObject {
    Q_OBJECT
  private slots:
    void StreamFromSimulatedSensor_IsCountedAveragedAndLoggedInFull();
};

void LiveStreamTest::StreamFromSimulatedSensor_IsCountedAveragedAndLoggedInFull() {
    constexpr int kReadings = 140;
    QTemporaryDir folder;
    const QString simLog = folder.filePath("sim.log");
    // A target swinging over the range, every 7th reading a lost echo; its log holds the
    // counts it sent.
    QProcess sim;
    sim.start(KELVO_SIM_PATH,
              {"--family", "b", "--sine", "10:200", "--period", "50", "--lost-every", "7", "--rate",
               "400", "--count", QString::number(kReadings), "--log", simLog});
    QVERIFY(sim.waitForStarted(10000) && sim.waitForReadyRead(10000));
    const QString terminal = QString::fromLocal8Bit(sim.readLine()).trimmed();
    app_test::Sandbox sandbox; // no port at start-up: the stream starts once logging has
    MainWindow window;
    const QString logPath = sandbox.Path("stream.log");
    QVERIFY(window.Display().Log().StartLog(logPath));
    window.show();
    sandbox.Write("config/telmora/ports", ("1=" + terminal + "\n").toUtf8());
    QVERIFY(window.Link().OpenPort(1));
    QTRY_VERIFY_WITH_TIMEOUT(app_test::ReadAll(simLog).contains("stream stops after"), 30000);

    // What the window should show: each reading's counts times the start-up count
    // distance (the window has not read the sensor's configuration).
    static const QRegularExpression sent(R"(reading \d+ (\d{5}))");
    std::vector<float> distances;
    Statistics expected;
    InitStats(expected);
    for (const auto& reading : sent.globalMatch(QString::fromLatin1(app_test::ReadAll(simLog)))) {
        distances.push_back(static_cast<float>(ReadNumber(reading.captured(1).toStdString()) *
                                               static_cast<double>(kCountDistanceNormal)));
        DoStats(expected, distances.back());
    }
    QCOMPARE(int(distances.size()), kReadings);
    const StatsTexts texts = FormatStats(expected, distances.back());
    QVERIFY(expected.NumOfSamples > 100 && expected.NumOfSamples < kReadings); // lost echoes

    // The last reading is a lost echo, which leaves the count as it was: wait for its line.
    QTRY_COMPARE_WITH_TIMEOUT(app_test::ReadAll(logPath).count('\n'), kReadings, 30000);
    // The other figures' boxes are checked with the measurement display.
    const QStringList shown = {"txtNumOfSamples=" + QString::fromStdString(texts.NumOfSamples),
                               "txtAveDistance=" + QString::fromStdString(texts.AveDistance)};
    QCOMPARE(app_test::TextsOf(window, shown), shown);

    // Every reading has its line, lost echoes included, in the order sent.
    const QList<QByteArray> lines = app_test::ReadAll(logPath).split('\n');
    QCOMPARE(lines.size(), kReadings + 1);
    QVERIFY(lines.last().isEmpty());
    static const QRegularExpression line(R"(^([01]\d|2[0-3]):[0-5]\d:[0-5]\d (\d+\.\d\d)\r$)");
    for (int i = 0; i < kReadings; ++i) {
        const QRegularExpressionMatch match = line.match(QString::fromLatin1(lines[i]));
        QVERIFY2(match.hasMatch(), lines[i].constData());
        QCOMPARE(match.captured(2), QString::fromStdString(FormatTwoDecimals(distances[i])));
    }
    window.Display().Log().StopLog();
    sim.terminate();
    QVERIFY(sim.waitForFinished(10000));
}

} // namespace telmora

QTEST_MAIN(telmora::LiveStreamTest)
#include "live_stream_e2e_qttest.moc"
