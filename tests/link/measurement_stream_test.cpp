// The receive handler following the sensor's measurement stream (ReceiveState 1).

#include "link_fakes.h"

#include <gtest/gtest.h>

namespace telmora::testing {
namespace {

float Inches(double counts) {
    return static_cast<float>(counts * double{kCountDistanceNormal});
}

class MeasurementStream : public ::testing::Test {
  protected:
    LinkBench bench;
    std::vector<float>& readings = bench.listener.readings;
    void Feed(std::string_view bytes) { bench.protocol.Receive(bytes); }
};

TEST_F(MeasurementStream, EachCarriageReturnAndFiveCharactersGiveOneDistance) {
    struct Case {
        const char* stream;
        std::vector<float> expected;
        float countDistance = kCountDistanceNormal; // taken at each reading
    };
    const Case cases[] = {
        {"\r01234", {4.175856f}},
        {"\rabcde", {0.0f}}, // no digits: a lost echo
        {"\r01234\r00000", {Inches(1234), 0.0f}},
        // Characters before the first carriage return and between readings are skipped.
        {"7x3\r00010 56\r00020", {Inches(10), Inches(20)}},
        // A reading ends at the first character that cannot continue it; blanks inside the
        // number are skipped and a sign is read.
        {"\r12a45\r 1 2 \r-0100", {Inches(12), Inches(12), Inches(-100)}},
        // The five characters after a carriage return are taken whole, whatever they are.
        {"\rab\rcd\r00042", {0.0f, Inches(42)}},
        // "9e999" saturates at the largest double; no display may get an infinite distance.
        {"\r9e999\r9e30 ", {0.0f, Inches(9e30)}},
        {"\r01000", {static_cast<float>(1000 * double{kCountDistanceLong})}, kCountDistanceLong},
        {"\r01000", {Inches(1000)}},
    };
    // Whole, or split across deliveries anywhere: a reading is taken when complete.
    for (const std::size_t chunk : {std::size_t{64}, std::size_t{1}, std::size_t{4}}) {
        for (const Case& c : cases) {
            readings.clear();
            bench.protocol.SetLineCountDistance(c.countDistance);
            const std::string_view stream = c.stream;
            for (std::size_t k = 0; k < stream.size(); k += chunk)
                Feed(stream.substr(k, chunk));
            ASSERT_EQ(readings.size(), c.expected.size()) << c.stream << chunk;
            for (std::size_t k = 0; k < readings.size(); ++k)
                EXPECT_FLOAT_EQ(readings[k], c.expected[k]) << c.stream << chunk;
            EXPECT_FLOAT_EQ(bench.protocol.CurrentDistance(), c.expected.back());
        }
    }
}

TEST_F(MeasurementStream, NothingIsReadUntilAPortIsOpen) {
    LinkProtocol protocol(bench.sensor, bench.timer, bench.listener);
    EXPECT_EQ(protocol.ReceiveState(), 0);
    protocol.Receive("\r01234");
    EXPECT_TRUE(readings.empty());

    protocol.PortOpened();
    EXPECT_EQ(protocol.ReceiveState(), 1);
    protocol.Receive("\r");
    EXPECT_EQ(protocol.GroupSize(), 5);
    protocol.Receive("01234");
    EXPECT_EQ(protocol.GroupSize(), 1);
    EXPECT_EQ(readings.size(), 1u);
}

} // namespace
} // namespace telmora::testing
