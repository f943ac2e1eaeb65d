// Live measurement benchmark: the simulated sensor streams at the line's limit into the
// running window (statistics, strip chart, gauges and data log all on) for a given time.
// A relay between the simulator's terminal and the window's port timestamps the last
// character of every reading; the window's count box, when painted, tells which readings
// are on screen. Prints readings sent and shown, latency percentiles, CPU and memory.
//
//   live_display_probe --sim PATH [--seconds N] [--folder DIR]

#include "app/main_window.h"
#include "display/ui/data_log_command.h"
#include "display/ui/measurement_display.h"
#include "link/ui/sensor_link.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

long ResidentKiB() {
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

int OpenRaw(const char* path) {
    const int fd = ::open(path, O_RDWR | O_NOCTTY);
    if (fd >= 0) {
        termios raw{};
        tcgetattr(fd, &raw);
        cfmakeraw(&raw);
        raw.c_cflag |= CLOCAL | CREAD;
        tcsetattr(fd, TCSANOW, &raw);
    }
    return fd;
}

// Copies the simulator's stream to the window's terminal, noting when the last character
// of each reading went through. Forwards nothing until told to, and then starts at a
// reading's carriage return.
class Relay {
  public:
    bool Open(const QString& simTerminal) {
        simFd_ = OpenRaw(simTerminal.toLocal8Bit().constData());
        termios raw{};
        cfmakeraw(&raw);
        raw.c_cflag |= CLOCAL | CREAD;
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        char name[128] = {};
        if (simFd_ < 0 || openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
            return false;
        }
        windowTerminal_ = name;
        return true;
    }
    QString WindowTerminal() const { return windowTerminal_; }

    // Room for every reading of the run, touched now, so the probe's own bookkeeping does
    // not show as growth of the program's memory.
    void Reserve(std::size_t readings) { sent_.assign(readings, Clock::time_point{}); }

    void Start() {
        thread_ = std::thread([this] { Run(); });
    }
    void Forward() { forwarding_ = true; }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    std::vector<Clock::time_point> Sent() {
        std::lock_guard lock(mutex_);
        return {sent_.begin(), sent_.begin() + static_cast<std::ptrdiff_t>(sentCount_)};
    }
    double CpuSeconds() const { return cpuSeconds_; }

  private:
    void Run() {
        int digits = -1; // -1: waiting for a carriage return
        char buffer[256];
        while (!stop_) {
            pollfd in{simFd_, POLLIN, 0};
            if (poll(&in, 1, 50) <= 0) {
                continue;
            }
            const ssize_t n = ::read(simFd_, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            for (ssize_t i = 0; i < n; ++i) {
                const char c = buffer[i];
                if (!forwarding_) {
                    continue;
                }
                if (!started_) {
                    if (c != '\r') {
                        continue;
                    }
                    started_ = true;
                }
                (void)!::write(master_, &c, 1);
                if (c == '\r') {
                    digits = 0;
                } else if (digits >= 0 && ++digits == 5) {
                    const auto now = Clock::now();
                    std::lock_guard lock(mutex_);
                    if (sentCount_ < sent_.size()) {
                        sent_[sentCount_++] = now;
                    }
                    digits = -1;
                }
            }
        }
        cpuSeconds_ = ThreadCpuSeconds();
    }

    int simFd_ = -1;
    int master_ = -1;
    int slave_ = -1; // kept open so the window's closing the port does not end the pair
    QString windowTerminal_;
    std::thread thread_;
    std::atomic<bool> forwarding_{false};
    std::atomic<bool> stop_{false};
    bool started_ = false;
    std::mutex mutex_;
    std::vector<Clock::time_point> sent_;
    std::size_t sentCount_ = 0;
    std::atomic<double> cpuSeconds_{0};
};

// Notes when each reading is first painted: the count box's text at a paint says how many
// readings the screen shows.
class PaintWatch : public QObject {
  public:
    PaintWatch(QLineEdit* count, std::size_t readings)
        : shown(readings, Clock::time_point{}), count_(count) {
        count->installEventFilter(this);
    }
    std::vector<Clock::time_point> shown; // touched up front, as the relay's
    std::size_t shownCount = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == count_ && event->type() == QEvent::Paint) {
            const auto now = Clock::now();
            const std::size_t n = std::min<std::size_t>(count_->text().toULong(), shown.size());
            while (shownCount < n) {
                shown[shownCount++] = now;
            }
        }
        return false;
    }

  private:
    QLineEdit* count_;
};

// Counts paint events by widget (diagnosis: which controls the readings keep repainting).
class PaintCounter : public QObject {
  public:
    std::map<QString, long> Counts;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QString name = watched->objectName().isEmpty()
                                     ? QString::fromLatin1(watched->metaObject()->className())
                                     : watched->objectName();
            ++Counts[name];
        }
        return false;
    }
};

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t index =
        std::min(values.size() - 1, static_cast<std::size_t>(p / 100.0 * values.size()));
    return values[index];
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QString simPath;
    int seconds = 600;
    QString folderArg;
    bool hidden = false;
    bool countPaints = false;
    QStringList args = app.arguments();
    for (int i = 1; i < args.size(); i += 2) {
        if (args[i] == "--paints") {
            countPaints = true; // diagnosis: paints per control
            args.removeAt(i);
            --i;
        } else if (args[i] == "--hidden") {
            hidden = true; // diagnosis: the same work without painting
            --i;
        } else if (i + 1 >= args.size()) {
            break;
        } else if (args[i] == "--sim") {
            simPath = args[i + 1];
        } else if (args[i] == "--seconds") {
            seconds = args[i + 1].toInt();
        } else if (args[i] == "--folder") {
            folderArg = args[i + 1];
        }
    }
    if (simPath.isEmpty() || seconds <= 0) {
        std::fprintf(stderr, "usage: live_display_probe --sim PATH [--seconds N] [--folder DIR]\n");
        return 2;
    }
    QTemporaryDir scratch;
    const QString folder = folderArg.isEmpty() ? scratch.path() : folderArg;
    QDir().mkpath(folder + "/config/telmora");

    // The sensor at the line's limit: paced at 9600 baud, a reading as soon as the last
    // one has left (six characters, 160 a second), a target swinging over the range.
    QProcess sim;
    sim.start(simPath, {"--family", "b", "--sine", "10:200", "--period", "320", "--rate", "0",
                        "--paced", "--quiet"});
    if (!sim.waitForStarted(10000) || !sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }
    Relay relay;
    if (!relay.Open(QString::fromLocal8Bit(sim.readLine()).trimmed())) {
        std::fprintf(stderr, "cannot open the relay terminals\n");
        return 1;
    }
    QFile ports(folder + "/config/telmora/ports");
    ports.open(QIODevice::WriteOnly);
    ports.write(
        QString("1=%1\n2=none\n3=none\n4=none\n").arg(relay.WindowTerminal()).toLocal8Bit());
    ports.close();
    // No scale search when the port opens: that short exchange would take the first
    // readings, and the count shown would then lag the readings sent.
    QDir().mkpath(folder + "/config/Telmora");
    QFile settings(folder + "/config/Telmora/Telmora.conf");
    settings.open(QIODevice::WriteOnly);
    settings.write("[link]\nfindDistanceScaleWhenOpening=false\n");
    settings.close();
    QFile cust(folder + "/CustFile");
    cust.open(QIODevice::WriteOnly);
    cust.write(QByteArray("\x01\x00", 2));
    cust.close();
    qputenv("XDG_CONFIG_HOME", (folder + "/config").toLocal8Bit());
    QDir::setCurrent(folder);

    telmora::MainWindow window;
    if (window.Link().FindsScaleOnOpen()) {
        std::fprintf(stderr, "the window's settings were not taken from %s\n", qPrintable(folder));
        return 1;
    }
    const QString logPath = folder + "/live.log";
    window.Display().Log().StartLog(logPath);
    if (!hidden) {
        window.show();
    }
    // The window opened its saved port, the relay's terminal, at start-up.
    auto* count = window.findChild<QLineEdit*>("txtNumOfSamples");
    // 160 readings a second at most; room for a fifth more.
    const std::size_t capacity = static_cast<std::size_t>(seconds + 10) * 200;
    PaintWatch watch(count, capacity);
    relay.Reserve(capacity);
    relay.Start();

    const auto wallStart = Clock::now();
    const double cpuUiStart = ThreadCpuSeconds();
    const double cpuProcessStart = ProcessCpuSeconds();
    std::vector<long> memory;
    QTimer sampler;
    // UI thread CPU of each sampling period, to tell a steady cost from a growing one.
    std::vector<double> cpuPeriods;
    double cpuAtSample = 0;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        memory.push_back(ResidentKiB());
        const double now = ThreadCpuSeconds();
        if (cpuAtSample > 0) {
            cpuPeriods.push_back(100.0 * (now - cpuAtSample) / 10.0);
        }
        cpuAtSample = now;
    });
    QTimer::singleShot(1000, [&] {
        relay.Forward();
        sampler.start(10000);
    });
    QTimer::singleShot((seconds + 1) * 1000, [&] {
        sim.terminate(); // the stream stops; the last readings drain
        QTimer::singleShot(2000, &app, &QApplication::quit);
    });
    PaintCounter paints;
    if (countPaints)
        app.installEventFilter(&paints);
    app.exec();
    relay.Stop();
    const double cpuUi = ThreadCpuSeconds() - cpuUiStart;
    const double cpuProcess = ProcessCpuSeconds() - cpuProcessStart - relay.CpuSeconds();
    window.Display().Log().StopLog();
    sim.waitForFinished(10000);

    const std::vector<Clock::time_point> sent = relay.Sent();
    const long shownCount = count->text().toLong();
    QFile log(logPath);
    log.open(QIODevice::ReadOnly);
    const long logLines = log.readAll().count('\n');
    std::vector<double> latencies;
    for (std::size_t k = 0; k < sent.size() && k < watch.shownCount; ++k) {
        latencies.push_back(
            std::chrono::duration<double, std::milli>(watch.shown[k] - sent[k]).count());
    }
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    std::printf("readings sent       %zu\n", sent.size());
    std::printf("count shown         %ld\n", shownCount);
    std::printf("log lines           %ld\n", logLines);
    std::printf("latency ms          p50 %.2f  p99 %.2f  p99.9 %.2f  max %.2f\n",
                Percentile(latencies, 50), Percentile(latencies, 99), Percentile(latencies, 99.9),
                Percentile(latencies, 100));
    std::printf("cpu, UI thread      %.1f %% of one core\n", 100.0 * cpuUi / wall);
    std::printf("cpu, whole program  %.1f %% of one core (relay excluded)\n",
                100.0 * cpuProcess / wall);
    std::printf("cpu %% per 10 s      ");
    for (double c : cpuPeriods) {
        std::printf("%.1f ", c);
    }
    std::printf("\n");
    if (countPaints) {
        std::vector<std::pair<long, QString>> byCount;
        for (const auto& [name, n] : paints.Counts)
            byCount.emplace_back(n, name);
        std::sort(byCount.rbegin(), byCount.rend());
        for (const auto& [n, name] : byCount)
            std::printf("paints %-28s %.1f/s\n", qPrintable(name), n / wall);
    }
    std::printf("memory KiB          ");
    for (long m : memory) {
        std::printf("%ld ", m);
    }
    std::printf("\n");
    const bool lost =
        static_cast<long>(sent.size()) != shownCount || static_cast<long>(sent.size()) != logLines;
    std::printf("%s\n", lost ? "READINGS LOST" : "no reading lost");
    return lost ? 1 : 0;
}
