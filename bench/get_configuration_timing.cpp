// Times the window's "Get Configuration From Sensor" (SensorLink over QSerialPort) with a
// Kelvo-B simulator that sends at 9600 baud, against the wire-time floor of the exchange:
//   100 ms until the first Timer1 tick sends the detection frame, then
//   20 characters of detection (frame 6, echo 6, "T00" 3, identification reply 5) and
//   90 registers x 12 characters ("G" frame 6, reply 6), at 1.0417 ms a character:
//   line floor = 100 + 1100 x 1.0417 = 1245.8 ms (target: at most 1.05 times that).
// The simulator paces both directions: its own characters arrive one character time
// apart, and a frame from the program counts as arrived only when its last character
// would have, so the time above the floor is the program's own and the system's.
//
//   get_configuration_timing [--sim PATH] [--runs N] [--fault FAULT]
// With --fault (for example stray=5) the simulator misbehaves so in every run.

#include "link/link_host.h"
#include "link/ui/sensor_link.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace telmora;

namespace {

constexpr double kCharMs = 10000.0 / 9600.0;
constexpr double kLineFloorMs = 100 + 1100 * kCharMs;

class CountingHost : public LinkHost {
  public:
    SensorFamily family = SensorFamily::B;
    int shown = 0;
    int warnings = 0;
    SensorFamily SelectedFamily() const override { return family; }
    void SetFamily(SensorFamily f) override { family = f; }
    void ShowRecord(SensorFamily, const RegisterImage&) override { ++shown; }
    RegisterImage ReadWindow(SensorFamily) override { return {}; }
    void Warn(std::string_view text) override {
        ++warnings;
        std::fprintf(stderr, "warning: %.*s\n", static_cast<int>(text.size()), text.data());
    }
    void ShowStatus(std::string_view) override {}
};

// One simulator run: starts it, maps port 1 to its terminal, reads once, stops it.
double TimeOneRead(const QString& simulator, const QStringList& faults,
                   const QTemporaryDir& config) {
    QProcess sim;
    sim.start(simulator, QStringList{QStringLiteral("--family"), QStringLiteral("b"),
                                     QStringLiteral("--paced"), QStringLiteral("--quiet")} +
                             faults);
    while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {
    }
    const QString terminal = QString::fromLocal8Bit(sim.readLine()).trimmed();
    if (!terminal.startsWith(QStringLiteral("/dev/pts/")))
        return -1;

    QDir(config.path()).mkpath(QStringLiteral("telmora"));
    QFile ports(config.filePath(QStringLiteral("telmora/ports")));
    ports.open(QIODevice::WriteOnly | QIODevice::Truncate);
    ports.write(QStringLiteral("1=%1\n2=none\n3=none\n4=none\n").arg(terminal).toLocal8Bit());
    ports.close();

    CountingHost host;
    SensorLink link(host);
    double elapsedMs = -1;
    if (link.OpenPort(1)) {
        // Let the readings flow first, as they do when a user picks the command.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

        QElapsedTimer clock;
        clock.start();
        link.GetConfigurationFromSensor();
        elapsedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (host.shown != 1 || host.warnings != 0)
            elapsedMs = -1;
    }
    sim.terminate();
    sim.waitForFinished(5000);
    return elapsedMs;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QString simulator = QStringLiteral(KELVO_SIM_PATH);
    int runs = 7;
    QStringList faults;
    const QStringList args = app.arguments();
    for (int k = 1; k + 1 < args.size(); k += 2) {
        if (args[k] == QStringLiteral("--sim"))
            simulator = args[k + 1];
        else if (args[k] == QStringLiteral("--runs"))
            runs = std::max(1, args[k + 1].toInt());
        else if (args[k] == QStringLiteral("--fault"))
            faults << args[k] << args[k + 1];
    }

    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    std::vector<double> times;
    for (int k = 0; k < runs; ++k) {
        // Each run its own seed, so a fault strikes other replies each time.
        QStringList runFaults = faults;
        if (!faults.isEmpty())
            runFaults << QStringLiteral("--seed") << QString::number(k + 1);
        const double ms = TimeOneRead(simulator, runFaults, config);
        if (ms < 0) {
            std::fprintf(stderr, "run %d did not complete\n", k + 1);
            return 1;
        }
        std::printf("  run %d: %.1f ms\n", k + 1, ms);
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf(
        "Get Configuration From Sensor, Kelvo-B, simulator paced at 9600 baud%s%s, %d runs\n",
        faults.isEmpty() ? "" : ", fault ", faults.isEmpty() ? "" : qPrintable(faults.last()),
        runs);
    std::printf("  median %.1f ms, best %.1f ms, worst %.1f ms\n", median, times.front(),
                times.back());
    std::printf("  line floor %.1f ms: median %.3fx (target <= 1.05x)\n", kLineFloorMs,
                median / kLineFloorMs);
    return 0;
}
