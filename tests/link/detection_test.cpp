// DetectSensor: the detection frame, its echo, the identification query and Timer1.

#include "../support/golden_gtest.h"
#include "link_fakes.h"

#include <gtest/gtest.h>

namespace telmora::testing {
namespace {

// One detection frame per Timer1 tick until an echo comes, then "T00": a reply means
// family B, a tick without one family A, however many late echoes of earlier frames come
// after "T00". Ten frames without an echo end at 1100 ms. Timer1 starts a full period when
// the last frame leaves; its tick ends the wait.
TEST(Detection, FramesEachTickUntilAnEchoThenTheIdentificationReplyDecidesTheFamily) {
    const std::string frame = DetectionFrame();
    const struct {
        const char* name;
        bool present;
        SensorFamily family;
        std::vector<std::string> replies; // to the first detection frames, instead of the echo
        std::size_t held = 0;             // echoes held back and sent together
    } cases[] = {
        {"no sensor", false, SensorFamily::B, {}},
        {"family A", true, SensorFamily::A, {}},
        {"family B", true, SensorFamily::B, {}},
        // The second W arrives where a "0" belongs: the comparison starts over from it.
        {"W inside the echo", true, SensorFamily::B, {"W0" + frame}},
        {"garbage before the echo", true, SensorFamily::B, {"\r0123" + frame}},
        {"late sensor", true, SensorFamily::B, {"", "", "", ""}},
        {"echoes held, family A", true, SensorFamily::A, {}, 3},
        {"echoes held, family B", true, SensorFamily::B, {}, 4},
        {"cut echo held, family A", true, SensorFamily::A, {frame, "W00"}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkBench b;
        b.sensor.present = c.present;
        b.sensor.family = c.family;
        b.sensor.echoOverrides = c.replies;
        b.sensor.heldEchoes = c.held;
        const ExchangeResult result = b.commands.DetectSensor();
        EXPECT_EQ(result.Family, b.host.family);
        EXPECT_EQ(b.protocol.DetectTries(),
                  std::count_if(b.sensor.sent.begin(), b.sensor.sent.end(),
                                [&](const SentFrame& f) { return f.bytes == frame; }));
        test::ExpectGolden(std::string("detection, ") + c.name, Transcript(b));
    }
}

// While the echo is awaited, no second exchange starts.
TEST(Detection, NoSecondExchangeStartsWhileOneRuns) {
    LinkBench bench;
    ASSERT_TRUE(bench.protocol.StartDetection());
    EXPECT_FALSE(bench.protocol.StartDetection());
    EXPECT_FALSE(bench.protocol.StartRead(SensorFamily::B));
    EXPECT_FALSE(bench.protocol.StartWrite(SensorFamily::B, RegisterImage{}));
}

} // namespace
} // namespace telmora::testing
