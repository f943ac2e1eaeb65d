#include "link/frames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace telmora {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

std::vector<int> Walk(SensorFamily family, int (*next)(SensorFamily, int), int last) {
    std::vector<int> order;
    for (int reg = FirstRegister(family); reg <= last; reg = next(family, reg))
        order.push_back(reg);
    return order;
}

TEST(CommandFrames, ChecksumWrapsModulo256) {
    // 87 + 48 + 48 + 55 + 132 = 370, which wraps to 114.
    EXPECT_EQ(DetectionFrame(), Bytes({'W', '0', '0', 55, 132, 114}));
    EXPECT_EQ(ReadFrame(11), Bytes({'G', '0', '0', 11, 0, 178}));
    EXPECT_EQ(ReadFrame(99), Bytes({'G', '0', '0', 99, 0, 10})); // 167 + 99 = 266
    EXPECT_EQ(WriteFrame(10, 200), Bytes({'P', '0', '0', 10, 200, 130}));
    EXPECT_EQ(WriteFrame(96, 255), Bytes({'P', '0', '0', 96, 255, (176 + 96 + 255) % 256}));
}

TEST(CommandFrames, ShortCommandsCarryNothingElse) {
    EXPECT_EQ(kEndCommand, "E");
    EXPECT_EQ(kIdentificationQuery, "T00");
}

TEST(RegisterOrders, FamilyAReadsElevenThen33To89Then96_97_99) {
    std::vector<int> expected{11};
    for (int reg = 33; reg <= 89; ++reg)
        expected.push_back(reg);
    expected.insert(expected.end(), {96, 97, 99});

    const auto registers = ReadRegisters(SensorFamily::A);
    EXPECT_EQ(std::vector<int>(registers.begin(), registers.end()), expected);
    EXPECT_EQ(Walk(SensorFamily::A, NextReadRegister, LastReadRegister(SensorFamily::A)), expected);
    EXPECT_EQ(NextReadRegister(SensorFamily::A, 99), 100);
}

TEST(RegisterOrders, FamilyAWritesElevenThen33To89) {
    std::vector<int> expected{11};
    for (int reg = 33; reg <= 89; ++reg)
        expected.push_back(reg);

    const auto registers = WriteRegisters(SensorFamily::A);
    EXPECT_EQ(std::vector<int>(registers.begin(), registers.end()), expected);
    EXPECT_EQ(Walk(SensorFamily::A, NextWriteRegister, LastWriteRegister(SensorFamily::A)),
              expected);
}

TEST(RegisterOrders, FamilyBReads10To99AndWrites10To96) {
    const auto read = ReadRegisters(SensorFamily::B);
    const auto write = WriteRegisters(SensorFamily::B);
    ASSERT_EQ(read.size(), 90u);
    ASSERT_EQ(write.size(), 87u);
    EXPECT_EQ(read.front(), 10);
    EXPECT_EQ(read.back(), 99);
    EXPECT_EQ(write.back(), 96);
    EXPECT_EQ(Walk(SensorFamily::B, NextReadRegister, 99).size(), 90u);
    EXPECT_EQ(Walk(SensorFamily::B, NextWriteRegister, 96).size(), 87u);
}

TEST(RegisterOrders, NoFamilyHasNoOrder) {
    EXPECT_TRUE(ReadRegisters(SensorFamily::None).empty());
    EXPECT_TRUE(WriteRegisters(SensorFamily::None).empty());
    EXPECT_EQ(NextReadRegister(SensorFamily::None, 40), 40);
}

} // namespace
} // namespace telmora
