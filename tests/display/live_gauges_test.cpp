#include "display/live_gauges.h"

#include "config/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(Meter, LinearBetweenTheEndpointsAndTheEndOutputsOutside) {
    EXPECT_EQ(Meter(56.0f, kRising), "12.0");
    EXPECT_EQ(Meter(5.0f, kRising), "4.0");
    EXPECT_EQ(Meter(150.0f, kRising), "20.0");
    EXPECT_EQ(Meter(12.0f, kRising), "4.0");   // on the near endpoint: the near output
    EXPECT_EQ(Meter(100.0f, kRising), "20.0"); // on the far endpoint: the far output
    EXPECT_EQ(Meter(34.0f, kFalling), "7.5");
}

TEST(Meter, LostEcho_ShowsTheConfiguredLevelOrKeepsTheReading) {
    EXPECT_EQ(Meter(0.0f, kFalling, "High"), "0.0"); // the output at the far endpoint
    EXPECT_EQ(Meter(0.0f, kFalling, "Low"), "10.0"); // the output at the near endpoint
    EXPECT_EQ(Meter(0.0f, kFalling, "NC"), "(kept)");
    EXPECT_EQ(Meter(0.0f, kRising, "High"), "20.0");
    EXPECT_EQ(Meter(0.0f, kRising, "Low"), "4.0");
}

TEST(Meter, LostEchoWithSwappedEndpoints_TakesTheOutputAtTheLargerDistance) {
    const AnalogCharacteristic swapped{100.0, 12.0, 4.0, 20.0};
    EXPECT_EQ(Meter(0.0f, swapped, "High"), "4.0");
    EXPECT_EQ(Meter(0.0f, swapped, "Low"), "20.0");
}

TEST(Meter, SwappedEndpoints_FarOutputOverridesForADistanceOnBothSides) {
    const AnalogCharacteristic swapped{100.0, 12.0, 4.0, 20.0};
    EXPECT_EQ(Meter(50.0f, swapped), "20.0");
}

TEST(Meter, EqualEndpoints_NeverDivideByZero) {
    const AnalogCharacteristic flat{50.0, 50.0, 4.0, 20.0};
    EXPECT_EQ(Meter(50.0f, flat), "20.0");
    EXPECT_EQ(Meter(20.0f, flat), "4.0");
    EXPECT_EQ(Meter(80.0f, flat), "20.0");
}

// The window's sensor symbol at the left end of the marker's row and the range bar.
EchoTrack Track(double targetLeft, double echoHeight) {
    EchoTrack track;
    track.sensorLeft = 240;
    track.sensorTop = 2700;
    track.sensorWidth = 360;
    track.sensorHeight = 300;
    track.echoHeight = echoHeight;
    track.targetLeft = targetLeft;
    track.rangeBarRight = 7335;
    return track;
}

TEST(GaugeTimer, SilenceOfMoreThan100Ticks_HidesTheGaugesEvery101Ticks) {
    GaugeTimer timer;
    int hides = 0;
    for (int tick = 1; tick <= 100; ++tick) {
        hides += timer.Tick(Track(3000, 250)).hideGauges;
    }
    EXPECT_EQ(hides, 0);
    EXPECT_TRUE(timer.Tick(Track(3000, 250)).hideGauges); // tick 101, about 5 s
    for (int tick = 1; tick <= 100; ++tick) {
        hides += timer.Tick(Track(7335, 250)).hideGauges;
    }
    EXPECT_EQ(hides, 0);
    EXPECT_TRUE(timer.Tick(Track(7335, 250)).hideGauges);
}

TEST(GaugeTimer, ReceiveEvents_KeepTheGaugesShown) {
    GaugeTimer timer;
    for (int tick = 0; tick < 1000; ++tick) {
        if (tick % 50 == 0) {
            timer.NoteReceiveEvent();
        }
        EXPECT_FALSE(timer.Tick(Track(3000, 250)).hideGauges) << tick;
    }
}

TEST(GaugeTimer, EchoLeavesTheSensorGrowingAndTurnsAtTheTarget) {
    GaugeTimer timer;
    double height = 250;
    TickResult step = timer.Tick(Track(1000, height));
    // First tick: the echo starts at the sensor symbol's right edge, centred on it.
    EXPECT_EQ(step.echoLeft, 600);
    EXPECT_EQ(step.echoTop, 2700 + 150 - 125);
    EXPECT_EQ(step.echoHeight, 255);
    EXPECT_TRUE(timer.EchoOutbound());
    std::vector<double> lefts;
    for (int i = 0; i < 6; ++i) {
        step = timer.Tick(Track(1000, step.echoHeight));
        lefts.push_back(step.echoLeft);
    }
    EXPECT_EQ(lefts, (std::vector<double>{700, 800, 900, 1000, 1000, 900}));
    EXPECT_FALSE(timer.EchoOutbound());
    EXPECT_EQ(step.echoHeight, 250 + 7 * 5);
    // Back past the sensor it starts again from its edge at the first height.
    for (const double left : {800, 700, 600, 600}) {
        step = timer.Tick(Track(1000, step.echoHeight));
        EXPECT_EQ(step.echoLeft, left);
    }
    EXPECT_TRUE(timer.EchoOutbound());
    EXPECT_EQ(step.echoHeight, 255);
}

TEST(GaugeTimer, AfterSilence_EchoTravelsToTheRightEndOfTheBar) {
    GaugeTimer timer;
    TickResult step;
    double height = 250;
    double farthest = 0;
    for (int tick = 0; tick < 101 + 200; ++tick) {
        // The marker stands at 3000 until the silence moves it to the bar's end.
        const double target = tick < 100 ? 3000 : 7335;
        step = timer.Tick(Track(target, height));
        height = step.echoHeight;
        if (tick > 101) {
            farthest = std::max(farthest, step.echoLeft);
        }
    }
    EXPECT_EQ(farthest, 7335);
}

} // namespace
} // namespace telmora
