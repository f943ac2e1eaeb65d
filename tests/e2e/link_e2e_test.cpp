// SensorLink and QSerialPort against the built simulator over a real pseudo-terminal:
// both sensor commands with each family, every byte value carried through unchanged both
// ways, a hang-up, and the sensor unplugged and plugged in again. (Find Sensor's search is
// met through the port dialog by the link's tests.)
// The protocol's own faults (no sensor, a sensor that stops, the wrong family) are met
// by the link's unit tests and kelvo's end-to-end tests; readings over this path by the
// display's live-stream test.

#include "link/frames.h"
#include "link/ui/sensor_link.h"
#include "link_fakes.h"
#include "sim_harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <ctime>

#include <csignal>

using namespace telmora;
using namespace telmora::simtest;

namespace {

// The simulator starting from `image`, holding its registers in image.cfg after each "E".
std::vector<std::string> WithImage(std::vector<std::string> args, const RegisterImage& image) {
    args.insert(args.end(),
                {"--config", ImageFile("link-e2e.cfg", image), "--dump-image", "@/image.cfg"});
    return args;
}

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

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "link_e2e_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// The program's side: the mapping that leads port 1 to the simulator, the window and
// the link.
struct Program {
    explicit Program(const SimProcess& sim) : map({QString::fromStdString(sim.TerminalPath())}) {}
    QCoreApplication& app = App();
    telmora::testing::TestPortMap map;
    telmora::testing::StandInHost host;
    SensorLink link{host};
};

} // namespace

TEST(LinkEndToEnd, GetThenSaveConfiguration_EachFamilyExactly) {
    for (const auto& [flag, family] : kFamilies) {
        SCOPED_TRACE(flag);
        const RegisterImage stored = AwkwardImage(family == SensorFamily::A ? 5 : 11);
        SimProcess sim(WithImage({"--family", flag}, stored));
        Program program(sim);
        program.host.family = family == SensorFamily::A ? SensorFamily::B : SensorFamily::A;
        ASSERT_TRUE(program.link.OpenPort(1));

        program.link.GetConfigurationFromSensor();

        EXPECT_EQ(program.host.family, family);
        ASSERT_GE(program.host.log.size(), 3u);
        EXPECT_EQ(program.host.log[2], "ShowRecord " + std::string(FamilyName(family)));
        for (auto reg : ReadRegisters(family))
            EXPECT_EQ(program.host.shownImage[reg], stored[reg]) << "register " << int(reg);

        const RegisterImage& window = program.host.windowImage =
            AwkwardImage(family == SensorFamily::A ? 101 : 202);

        program.link.SaveConfigurationToSensor();
        const auto written = WriteRegisters(family);
        EXPECT_TRUE(program.host.warnings.empty());

        // The sensor holds the written registers, and only those changed; it writes its
        // registers out as it stops.
        ASSERT_EQ(sim.Stop(SIGTERM), 0);
        const RegisterImage after = ImageOf(sim.File("image.cfg"));
        for (int reg = 0; reg < 128; ++reg) {
            const bool wasWritten = std::find(written.begin(), written.end(), reg) != written.end();
            EXPECT_EQ(after[reg], wasWritten ? window[reg] : stored[reg]) << "register " << reg;
        }
    }
}

TEST(LinkEndToEnd, HangUpDuringARead_ClosesThePortAndTellsTheUser) {
    SimProcess sim(WithImage({"--fault", "hangup-at=40"}, AwkwardImage(3)));
    Program program(sim);
    QSignalSpy errors(&program.link, &SensorLink::PortError);
    ASSERT_TRUE(program.link.OpenPort(1));

    program.link.GetConfigurationFromSensor();

    ASSERT_EQ(errors.count(), 1);
    const std::string message = errors.first().at(0).toString().toStdString();
    EXPECT_TRUE(message.starts_with("Comm1 (" + sim.TerminalPath() + ") stopped working"))
        << message;
    EXPECT_NE(message.find("register 40"), std::string::npos) << message;
    EXPECT_FALSE(program.link.IsPortOpen());
    EXPECT_FALSE(program.link.IsBusy());
    EXPECT_TRUE(program.host.warnings.empty());
    EXPECT_EQ(program.host.shownImage, RegisterImage{}); // no record shown
}

// The sensor's adapter unplugged and plugged in again. The port was opened through a link
// (as a /dev/serial/by-id name); the device and the link vanish, then the device comes
// back either under the same link or, found by its serial number, under a new name only.
TEST(LinkEndToEnd, UnpluggedThenBack_ReopensByItselfAndReadingsFlowAgain) {
    for (const bool sameName : {true, false}) {
        SCOPED_TRACE(sameName ? "same name" : "serial number");
        QTemporaryDir folder;
        const QString alias = QDir(folder.path()).filePath("usb-sensor");
        auto sim = std::make_unique<SimProcess>(std::vector<std::string>{"--quiet"});
        const QString first = QString::fromStdString(sim->TerminalPath());
        ASSERT_TRUE(QFile::link(first, alias));
        QCoreApplication& app = App();
        (void)app;
        telmora::testing::TestPortMap map({alias});
        telmora::testing::StandInHost host;
        telmora::testing::FakeDeviceSource present;
        present.devices = {{first, "", "ttyUSB0", "", "", "A1"}};
        SensorLink link{host};
        link.SetDeviceSource(&present);
        QSignalSpy readings(&link, &SensorLink::Reading);
        QSignalSpy errors(&link, &SensorLink::PortError);
        ASSERT_TRUE(link.OpenPort(1));
        ASSERT_TRUE(QTest::qWaitFor([&] { return readings.count() > 0; }, 10000));

        sim->Stop(SIGKILL);
        sim.reset();
        QFile::remove(alias);
        present.devices.clear();
        ASSERT_TRUE(QTest::qWaitFor([&] { return errors.count() == 1; }, 10000));
        EXPECT_FALSE(link.IsPortOpen());
        EXPECT_TRUE(link.IsWaitingForReplug());
        ASSERT_FALSE(host.log.empty());
        EXPECT_EQ(host.log.back(), "Status The sensor on Comm1 (" + alias.toStdString() +
                                       ") was unplugged; waiting for it to return");
        const std::clock_t before = std::clock();
        QTest::qWait(1500); // the watch sees it gone and waits on, the event loop idling
        EXPECT_LT(static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC, 0.3);
        EXPECT_FALSE(link.IsPortOpen());

        SimProcess back({"--quiet"});
        const QString again = QString::fromStdString(back.TerminalPath());
        if (sameName)
            ASSERT_TRUE(QFile::link(again, alias));
        else
            present.devices = {{again, "", "ttyUSB1", "", "", "A1"}};
        readings.clear();
        ASSERT_TRUE(QTest::qWaitFor([&] { return readings.count() > 0; }, 10000));
        const QString device = sameName ? alias : again;
        EXPECT_EQ(link.PortNumber(), 1);
        EXPECT_EQ(link.PortDevice(), device);
        EXPECT_FALSE(link.IsWaitingForReplug());
        EXPECT_EQ(host.log.back(), "Status Reopened Comm1 (" + device.toStdString() + ")");
        EXPECT_EQ(errors.count(), 1); // the attempts while it was away said nothing
    }
}
