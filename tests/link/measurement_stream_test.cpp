// The receive handler following the sensor's measurement stream (ReceiveState 1); the
// distances each stream gives are compared with link_core.golden.

#include "../support/golden_gtest.h"
#include "link_fakes.h"

#include <gtest/gtest.h>

#include <iomanip>

namespace telmora::testing {
namespace {

TEST(MeasurementStream, EachCarriageReturnAndFiveCharactersGiveOneDistance) {
    const char* streams[] = {
        "\r01234", "\rabcde", // no digits: a lost echo
        "\r01234\r00000",
        // Characters before the first carriage return and between readings are skipped.
        "7x3\r00010 56\r00020",
        // A reading ends at the first character that cannot continue it; blanks inside the
        // number are skipped and a sign is read.
        "\r12a45\r 1 2 \r-0100",
        // The five characters after a carriage return are taken whole, whatever they are.
        "\rab\rcd\r00042",
        // "9e999" saturates at the largest double; no display may get an infinite distance.
        "\r9e999\r9e30 "};
    std::ostringstream text;
    for (const float scale : {kCountDistanceNormal, kCountDistanceLong}) {
        for (const std::string_view stream : streams) {
            // Whole, or split across deliveries anywhere: a reading is taken when complete.
            std::string whole;
            for (const std::size_t chunk : {std::size_t{64}, std::size_t{1}, std::size_t{4}}) {
                LinkBench b;
                b.protocol.SetLineCountDistance(scale);
                for (std::size_t k = 0; k < stream.size(); k += chunk)
                    b.protocol.Receive(stream.substr(k, chunk));
                std::ostringstream line;
                line << scale << " inch per count:" << std::setprecision(9);
                for (float reading : b.listener.readings)
                    line << " " << reading;
                EXPECT_EQ(b.protocol.CurrentDistance(), b.listener.readings.back());
                EXPECT_EQ(whole.empty() ? line.str() : whole, line.str()) << stream << chunk;
                whole = line.str();
            }
            text << whole << "\n";
        }
    }
    test::ExpectGolden("measurement stream", text.str());
}

TEST(MeasurementStream, NothingIsReadUntilAPortIsOpen) {
    LinkBench bench;
    LinkProtocol protocol(bench.sensor, bench.timer, bench.listener);
    protocol.Receive("\r01234");
    EXPECT_TRUE(bench.listener.readings.empty());
    protocol.PortOpened();
    protocol.Receive("\r01234");
    EXPECT_EQ(bench.listener.readings.size(), 1u);
}

} // namespace
} // namespace telmora::testing
