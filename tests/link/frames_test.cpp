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

std::vector<int> Range(std::vector<int> head, int first, int last, std::vector<int> tail = {}) {
    for (int reg = first; reg <= last; ++reg)
        head.push_back(reg);
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(CommandFrames, ChecksumWrapsModulo256) {
    // 87 + 48 + 48 + 55 + 132 = 370, which wraps to 114.
    EXPECT_EQ(DetectionFrame(), Bytes({'W', '0', '0', 55, 132, 114}));
    EXPECT_EQ(ReadFrame(11), Bytes({'G', '0', '0', 11, 0, 178}));
    EXPECT_EQ(ReadFrame(99), Bytes({'G', '0', '0', 99, 0, 10})); // 167 + 99 = 266
    EXPECT_EQ(WriteFrame(10, 200), Bytes({'P', '0', '0', 10, 200, 130}));
    EXPECT_EQ(WriteFrame(96, 255), Bytes({'P', '0', '0', 96, 255, 15})); // 527 wraps to 15
}

// The exchanges' walk through these orders is checked by the frames they send.
TEST(RegisterOrders, EachFamilyReadsAndWritesItsRegistersInSensorOrder) {
    struct Case {
        SensorFamily family;
        std::vector<int> read, write;
    };
    const Case cases[] = {
        {SensorFamily::A, Range({11}, 33, 89, {96, 97, 99}), Range({11}, 33, 89)},
        {SensorFamily::B, Range({}, 10, 99), Range({}, 10, 96)},
        {SensorFamily::None, {}, {}},
    };
    for (const Case& c : cases) {
        const auto read = ReadRegisters(c.family);
        const auto write = WriteRegisters(c.family);
        EXPECT_EQ(std::vector<int>(read.begin(), read.end()), c.read);
        EXPECT_EQ(std::vector<int>(write.begin(), write.end()), c.write);
    }
}

} // namespace
} // namespace telmora
