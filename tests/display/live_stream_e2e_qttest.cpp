#include "../app/app_test_support.h"
#include "app/main_window.h"
#include "config/number_text.h"
#include "config/sensor_config.h"
#include "display/data_log_command.h"
#include "display/measurement_display.h"
#include "display/statistics.h"

#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTest>

#include <optional>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// Readings from the simulated sensor, over pseudo-terminals and the window's own serial
// port, into the running window: every one counted, averaged and logged.
namespace telmora {

namespace {

constexpr int kReadings = 140;

// Passes the simulator's stream on to the window's terminal, starting at a reading's
// carriage return once told to and stopping after a given number of readings, and keeps
// the five characters of every reading it passed on: what was sent to the window.
class Relay : public QObject {
  public:
    bool Open(const QString& simTerminal) {
        simFd_ = ::open(simTerminal.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios raw{};
        cfmakeraw(&raw);
        raw.c_cflag |= CLOCAL | CREAD;
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        if (simFd_ < 0 || tcsetattr(simFd_, TCSANOW, &raw) != 0) {
            return false;
        }
        char name[128] = {};
        if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
            return false;
        }
        windowTerminal_ = QString::fromLocal8Bit(name);
        notifier_ = new QSocketNotifier(simFd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { Pass(); });
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
    void Forward(int readings) { toForward_ = readings; }
    const QStringList& Sent() const { return sent_; }

  private:
    void Pass() {
        char buffer[512];
        const ssize_t n = ::read(simFd_, buffer, sizeof buffer);
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\r') {
                current_.reset();
                if (sent_.size() < toForward_) {
                    current_ = QString();
                }
            }
            if (!current_) {
                continue;
            }
            if (::write(master_, &c, 1) != 1) {
                qFatal("the relay cannot write to the window's terminal");
            }
            if (c != '\r' && current_->size() < 5) {
                current_->append(QLatin1Char(c));
                if (current_->size() == 5) {
                    sent_.append(*current_);
                }
            }
        }
    }

    int simFd_ = -1;
    int master_ = -1;
    int slave_ = -1; // kept open so the pair outlives the window's port
    QString windowTerminal_;
    QSocketNotifier* notifier_ = nullptr;
    qsizetype toForward_ = 0;
    std::optional<QString> current_; // the reading being passed on
    QStringList sent_;
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
                             "7", "--rate", "400"});
    Relay relay;
    QVERIFY(relay.Open(sim.Path()));
    app_test::Sandbox sandbox(relay.WindowTerminal());
    MainWindow window; // opens port 1, the relay's terminal, at start-up
    const QString logPath = sandbox.Path("stream.log");
    QVERIFY(window.Display().Log().StartLog(logPath));
    window.show();
    relay.Forward(kReadings);
    QTRY_COMPARE_WITH_TIMEOUT(relay.Sent().size(), qsizetype(kReadings), 30000);

    // What the window should show: each reading's counts times the start-up count
    // distance (the window has not read the sensor's configuration).
    std::vector<float> distances;
    Statistics expected;
    InitStats(expected);
    for (const QString& counts : relay.Sent()) {
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
