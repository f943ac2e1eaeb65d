#include "display/live_gauges.h"

#include "config/number_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace telmora {
namespace {

constexpr AnalogCharacteristic kRising{12.0, 100.0, 4.0, 20.0};
constexpr AnalogCharacteristic kFalling{12.0, 100.0, 10.0, 0.0};

std::string Meter(float d, const AnalogCharacteristic& analog, const char* echoLoss = "NC") {
    const std::optional<double> value = MeterValue(d, analog, echoLoss);
    return value ? FormatOneDecimal(*value) : std::string("(kept)");
}

TEST(Meter, FollowsTheCharacteristicAndTheEchoLossLevel) {
    const AnalogCharacteristic swapped{100.0, 12.0, 4.0, 20.0};
    const AnalogCharacteristic flat{50.0, 50.0, 4.0, 20.0};
    struct Case {
        float d;
        AnalogCharacteristic analog;
        const char* echoLoss;
        const char* shown;
    };
    const Case cases[] = {
        {56.0f, kRising, "NC", "12.0"},
        {5.0f, kRising, "NC", "4.0"},
        {150.0f, kRising, "NC", "20.0"},
        {12.0f, kRising, "NC", "4.0"},   // on the near endpoint: the near output
        {100.0f, kRising, "NC", "20.0"}, // on the far endpoint: the far output
        {34.0f, kFalling, "NC", "7.5"},
        // A lost echo shows the output at the larger (High) or smaller (Low) endpoint.
        {0.0f, kFalling, "High", "0.0"},
        {0.0f, kFalling, "Low", "10.0"},
        {0.0f, kFalling, "NC", "(kept)"},
        {0.0f, kRising, "High", "20.0"},
        {0.0f, kRising, "Low", "4.0"},
        {0.0f, swapped, "High", "4.0"},
        {0.0f, swapped, "Low", "20.0"},
        {50.0f, swapped, "NC", "20.0"}, // both sides at once: the far output wins
        // Equal endpoints never divide by zero.
        {50.0f, flat, "NC", "20.0"},
        {20.0f, flat, "NC", "4.0"},
        {80.0f, flat, "NC", "20.0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Meter(c.d, c.analog, c.echoLoss), c.shown)
            << c.d << " " << c.echoLoss << " near " << c.analog.NearEndpoint;
    }
}

// The window's sensor symbol at the left end of the marker's row and the range bar.
EchoTrack Track(double targetLeft, double echoHeight) {
    return {240, 2700, 360, 300, echoHeight, targetLeft, 7335};
}

TEST(GaugeTimer, EchoLeavesTheSensorGrowingAndTurnsAtTheTarget) {
    GaugeTimer timer;
    TickResult step = timer.Tick(Track(1000, 250));
    // First tick: the echo starts at the sensor symbol's right edge, centred on it.
    EXPECT_EQ(step.EchoLeft, 600);
    EXPECT_EQ(step.EchoTop, 2700 + 150 - 125);
    EXPECT_EQ(step.EchoHeight, 255);
    EXPECT_TRUE(timer.EchoOutbound());
    std::vector<double> lefts;
    for (int i = 0; i < 6; ++i) {
        step = timer.Tick(Track(1000, step.EchoHeight));
        lefts.push_back(step.EchoLeft);
    }
    EXPECT_EQ(lefts, (std::vector<double>{700, 800, 900, 1000, 1000, 900}));
    EXPECT_FALSE(timer.EchoOutbound());
    EXPECT_EQ(step.EchoHeight, 250 + 7 * 5);
    // Back past the sensor it starts again from its edge at the first height.
    for (const double left : {800, 700, 600, 600}) {
        step = timer.Tick(Track(1000, step.EchoHeight));
        EXPECT_EQ(step.EchoLeft, left);
    }
    EXPECT_TRUE(timer.EchoOutbound());
    EXPECT_EQ(step.EchoHeight, 255);
}

} // namespace
} // namespace telmora
