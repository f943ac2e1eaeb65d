// The simulator's answers to the configuration frames, over a real pseudo-terminal.

#include "sim_harness.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace telmora::simtest;

namespace {

std::uint8_t byteAt(const std::string& s, std::size_t i) {
    return static_cast<std::uint8_t>(s.at(i));
}

// Starts a sensor that streams nothing, so every byte read is a reply.
struct QuietSensor {
    explicit QuietSensor(const std::string& family, std::vector<std::string> more = {}) {
        more.insert(more.begin(), {"--family", family, "--count", "0"});
        sim.emplace(more);
        sim->OpenPort();
    }
    std::optional<SimProcess> sim;
};

} // namespace

TEST(SimExchange, DetectionFrame_IsEchoedByteForByteByBothFamilies) {
    for (std::string family : {"a", "b"}) {
        QuietSensor s(family);
        s.sim->Write(DetectionFrame());
        EXPECT_EQ(s.sim->Read(6), DetectionFrame()) << "family " << family;
    }
}

TEST(SimExchange, IdentQuery_FamilyBAnswersFiveCharacters_FamilyAStaysSilent) {
    QuietSensor b("b");
    b.sim->Write(DetectionFrame() + "T00");
    EXPECT_EQ(b.sim->Read(6), DetectionFrame());
    EXPECT_EQ(b.sim->Read(5).size(), 5u);

    // Family A: the reply to the next frame is the first thing to arrive after the echo.
    QuietSensor a("a");
    a.sim->Write(DetectionFrame() + "T00" + Frame('G', 11, 0));
    EXPECT_EQ(a.sim->Read(6), DetectionFrame());
    EXPECT_EQ(a.sim->Read(6), Frame('G', 11, 10));
    EXPECT_TRUE(a.sim->WaitForLog("rx T00 -> no reply (family A)"));
}

TEST(SimExchange, ReadFrame_CarriesTheFactoryRegisterInItsFifthByte) {
    QuietSensor b("b");
    b.sim->Write(Frame('G', 87, 0) + Frame('G', 33, 0) + Frame('G', 99, 0));
    std::string replies = b.sim->Read(18);
    ASSERT_EQ(replies.size(), 18u);
    // Long range, continuous, temperature compensation, pushbutton: 160 + 64 + 8 + 1.
    EXPECT_EQ(byteAt(replies, 4), 233);
    EXPECT_EQ(byteAt(replies, 10), 29);               // length of "<describe configuration here>"
    EXPECT_EQ(replies.substr(12), Frame('G', 99, 0)); // read but unused register

    QuietSensor a("a");
    a.sim->Write(Frame('G', 87, 0));
    EXPECT_EQ(a.sim->Read(6), Frame('G', 87, 128 + 64 + 1));
}

TEST(SimExchange, WriteFrame_IsStoredReadBackAndDumpedOnEnd) {
    QuietSensor s("b", {"--record", "@/record.bin", "--dump-image", "@/image.cfg"});
    const std::string sent =
        DetectionFrame() + Frame('P', 20, 7) + Frame('P', 96, 200) + Frame('G', 20, 0) + "E";
    s.sim->Write(sent);
    EXPECT_EQ(s.sim->Read(24),
              DetectionFrame() + Frame('P', 20, 7) + Frame('P', 96, 200) + Frame('G', 20, 7));
    ASSERT_TRUE(s.sim->WaitForLog("image written"));

    std::string image = ReadFileBytes(s.sim->File("image.cfg"));
    ASSERT_EQ(image.size(), 256u);
    EXPECT_EQ(byteAt(image, 2 * 20), 7);
    EXPECT_EQ(byteAt(image, 2 * 96), 200);
    EXPECT_EQ(byteAt(image, 2 * 87), 233); // untouched registers keep their values
    EXPECT_EQ(byteAt(image, 2 * 96 + 1), 0);
    EXPECT_EQ(ReadFileBytes(s.sim->File("record.bin")), sent);
}

TEST(SimExchange, EndCommand_EndsTheExchangeWithoutReply) {
    QuietSensor s("a");
    s.sim->Write(DetectionFrame() + "E" + Frame('G', 11, 0));
    EXPECT_EQ(s.sim->Read(12), DetectionFrame() + Frame('G', 11, 10));
    EXPECT_TRUE(s.sim->WaitForLog("exchange ends (E)"));
}

TEST(SimExchange, NoiseAndBadChecksums_AreSkippedAndTheNextFrameAnswered) {
    QuietSensor s("b");
    std::string badSum = Frame('G', 87, 0);
    badSum[5] = static_cast<char>(badSum[5] + 1);
    // A frame with a wrong checksum is dropped whole: its value byte "E" is not an end.
    std::string badWithE = Frame('P', 30, 'E');
    badWithE[5] = 0;
    s.sim->Write("xyz\r" + badSum + badWithE + "GG0" + Frame('G', 11, 0));
    EXPECT_EQ(s.sim->Read(6), Frame('G', 11, 10));
    EXPECT_TRUE(s.sim->WaitForLog("rx bad checksum"));
    EXPECT_EQ(s.sim->Log().find("rx E"), std::string::npos);
    EXPECT_EQ(s.sim->Log().find("rx P"), std::string::npos);
}

TEST(SimExchange, ConfigFile_GivesTheRegisters) {
    SimProcess probe({"--count", "0"}); // only for a private folder to write the file in
    std::string bytes(256, '\0');
    bytes[2 * 50] = 77;
    bytes[2 * 87] = static_cast<char>(128);
    { std::ofstream(probe.File("in.cfg"), std::ios::binary) << bytes; }
    QuietSensor s("b", {"--config", probe.File("in.cfg")});
    s.sim->Write(Frame('G', 50, 0) + Frame('G', 87, 0) + Frame('G', 11, 0));
    EXPECT_EQ(s.sim->Read(18), Frame('G', 50, 77) + Frame('G', 87, 128) + Frame('G', 11, 0));
}

TEST(SimExchange, UnusableConfigFile_IsRefusedWithAMessage) {
    SimProcess probe({"--count", "0"});
    {
        std::ofstream(probe.File("short.cfg"), std::ios::binary) << std::string(100, '\0');
        std::string wide(256, '\0');
        wide[2 * 40 + 1] = 1; // element 40 holds 256, more than a register holds
        std::ofstream(probe.File("wide.cfg"), std::ios::binary) << wide;
    }
    Finished shortFile = RunToEnd({"--config", probe.File("short.cfg")});
    EXPECT_EQ(shortFile.status, 2);
    EXPECT_NE(shortFile.out.find("holds 100 bytes"), std::string::npos) << shortFile.out;
    Finished wide = RunToEnd({"--config", probe.File("wide.cfg")});
    EXPECT_EQ(wide.status, 2);
    EXPECT_NE(wide.out.find("element 40 holds 256"), std::string::npos) << wide.out;
    Finished missing = RunToEnd({"--config", probe.File("none.cfg")});
    EXPECT_EQ(missing.status, 2);
}
