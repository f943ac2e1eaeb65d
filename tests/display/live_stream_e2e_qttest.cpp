#include "../app/app_test_support.h"
#include "app/main_window.h"
#include "config/number_text.h"
#include "config/sensor_config.h"
#include "display/ui/data_log_command.h"
#include "display/ui/measurement_display.h"
#include "display/statistics.h"

#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTest>

#include <algorithm>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// Readings from the simulated sensor, over pseudo-terminals and the window's own serial
// port, into the running window: every one counted, averaged and logged.
namespace telmora {

namespace {

constexpr int kReadings = 140;

// Passes the simulator's stream on to a terminal of its own, which the window opens, and
// keeps what it passed: what was sent to the window.
class Relay : public QObject {
  public:
    Relay() {
        cfmakeraw(&raw_);
        raw_.c_cflag |= CLOCAL | CREAD;
        char name[128] = {};
        if (openpty(&master_, &slave_, name, &raw_, nullptr) == 0) {
            windowTerminal_ = QString::fromLocal8Bit(name);
        }
    }
    // Opening the simulator's terminal starts its stream.
    bool Start(const QString& simTerminal) {
        simFd_ = ::open(simTerminal.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (simFd_ < 0 || tcsetattr(simFd_, TCSANOW, &raw_) != 0) {
            return false;
        }
        auto* notifier = new QSocketNotifier(simFd_, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            char buffer[512];
            const ssize_t n = ::read(simFd_, buffer, sizeof buffer);
            if (n > 0 && ::write(master_, buffer, static_cast<size_t>(n)) != n) {
                qFatal("the relay cannot write to the window's terminal");
            }
            passed_.append(buffer, std::max<ssize_t>(n, 0));
        });
        return true;
    }
    ~Relay() override {
        for (int fd : {simFd_, master_, slave_}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    QString WindowTerminal() const { return windowTerminal_; }
    // Each reading is a carriage return and five digits of counts.
    QStringList Sent() const {
        return QString::fromLatin1(passed_).split('\r', Qt::SkipEmptyParts);
    }
    qsizetype Passed() const { return passed_.size(); }

  private:
    termios raw_{};
    int simFd_ = -1;
    int master_ = -1;
    int slave_ = -1; // kept open so the pair outlives the window's port
    QString windowTerminal_;
    QByteArray passed_;
};

} // namespace

class LiveStreamTest : public QObject {
    Q_OBJECT
  private slots:
    void StreamFromSimulatedSensor_IsCountedAveragedAndLoggedInFull();
};

void LiveStreamTest::StreamFromSimulatedSensor_IsCountedAveragedAndLoggedInFull() {
    // A target swinging over the range, every 7th reading a lost echo.
    app_test::Simulator sim({"--family", "b", "--sine", "10:200", "--period", "50", "--lost-every",
                             "7", "--rate", "400", "--count", QString::number(kReadings)});
    Relay relay;
    app_test::Sandbox sandbox(relay.WindowTerminal());
    MainWindow window; // opens port 1, the relay's terminal, at start-up
    const QString logPath = sandbox.Path("stream.log");
    QVERIFY(window.Display().Log().StartLog(logPath));
    window.show();
    QVERIFY(relay.Start(sim.Path()));
    QTRY_COMPARE_WITH_TIMEOUT(relay.Passed(), qsizetype(6 * kReadings), 30000);

    // What the window should show: each reading's counts times the start-up count
    // distance (the window has not read the sensor's configuration).
    std::vector<float> distances;
    Statistics expected;
    InitStats(expected);
    for (const QString& counts : relay.Sent()) {
        QCOMPARE(counts.size(), qsizetype(5));
        distances.push_back(static_cast<float>(ReadNumber(counts.toStdString()) *
                                               static_cast<double>(kCountDistanceNormal)));
        DoStats(expected, distances.back());
    }
    const StatsTexts texts = FormatStats(expected, distances.back());
    QVERIFY(expected.NumOfSamples > 100 && expected.NumOfSamples < kReadings); // lost echoes

    auto* count = window.findChild<QLineEdit*>("txtNumOfSamples");
    QVERIFY(count != nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(count->text(), QString::fromStdString(texts.NumOfSamples), 30000);
    const std::pair<const char*, std::string> shown[] = {{"txtAveDistance", texts.AveDistance},
                                                         {"txtSDDistance", texts.SDDistance},
                                                         {"txtMaxDistance", texts.MaxDistance},
                                                         {"txtMinDistance", texts.MinDistance}};
    for (const auto& [name, text] : shown) {
        QCOMPARE(window.findChild<QLineEdit*>(name)->text(), QString::fromStdString(text));
    }

    // Every reading has its line, lost echoes included, in the order sent.
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    QCOMPARE(lines.size(), kReadings + 1);
    QVERIFY(lines.last().isEmpty());
    static const QRegularExpression line(R"(^([01]\d|2[0-3]):[0-5]\d:[0-5]\d (\d+\.\d\d)\r$)");
    for (int i = 0; i < kReadings; ++i) {
        const QRegularExpressionMatch match = line.match(QString::fromLatin1(lines[i]));
        QVERIFY2(match.hasMatch(), lines[i].constData());
        QCOMPARE(match.captured(2), QString::fromStdString(FormatTwoDecimals(distances[i])));
    }
    window.Display().Log().StopLog();
}

} // namespace telmora

QTEST_MAIN(telmora::LiveStreamTest)
#include "live_stream_e2e_qttest.moc"
