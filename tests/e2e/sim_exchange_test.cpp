// The simulator's answers to the configuration frames, over a real pseudo-terminal. The
// echo, the identification answer, stored writes and loaded images are exercised frame by
// frame by the program's end-to-end tests (link_e2e_test, kelvo_sim_test).

#include "sim_harness.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace telmora::simtest;

namespace {

// A sensor that streams nothing, so every byte read is a reply.
std::unique_ptr<SimProcess> quietSensor(const std::string& family,
                                        std::vector<std::string> more = {}) {
    more.insert(more.begin(), {"--family", family, "--count", "0"});
    auto sim = std::make_unique<SimProcess>(more);
    sim->OpenPort();
    return sim;
}

std::string writeTemp(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + "sim-exchange-" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

} // namespace

TEST(SimExchange, ReadFrame_CarriesTheFactoryRegisterInItsFifthByte) {
    // Family B: long range, continuous, temperature compensation, pushbutton (160+64+8+1);
    // 29 is the length of "<describe configuration here>"; 99 is read but unused.
    auto b = quietSensor("b");
    b->Write(Frame('G', 87, 0) + Frame('G', 33, 0) + Frame('G', 99, 0));
    EXPECT_EQ(b->Read(18), Frame('G', 87, 233) + Frame('G', 33, 29) + Frame('G', 99, 0));
    auto a = quietSensor("a");
    a->Write(Frame('G', 87, 0));
    EXPECT_EQ(a->Read(6), Frame('G', 87, 128 + 64 + 1));
}

TEST(SimExchange, UnusableConfigFile_IsRefusedWithTheReason) {
    std::string wide(256, '\0');
    wide[2 * 40 + 1] = 1; // element 40 holds 256, more than a register holds
    const std::pair<std::string, std::string> refused[] = {
        {writeTemp("short.cfg", std::string(100, '\0')), "holds 100 bytes"},
        {writeTemp("wide.cfg", wide), "element 40 holds 256"},
        {::testing::TempDir() + "sim-exchange-none.cfg", ""}};
    for (const auto& [path, reason] : refused) {
        const Finished run = RunToEnd({"--config", path});
        EXPECT_EQ(run.status, 2) << path;
        EXPECT_NE(run.out.find(reason), std::string::npos) << run.out;
    }
}
