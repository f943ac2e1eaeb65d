#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Arithmetic of the live gauges: the meter that shows the analog output the sensor should
// give at the measured distance, and the Timer2 tick that hides the gauges when the sensor
// falls silent and moves the echo symbol between the sensor symbol and the target.
namespace telmora {

// The analog output editor's four numbers, as its boxes show them.
struct AnalogCharacteristic {
    double NearEndpoint = 0;
    double FarEndpoint = 0;
    double NearOutput = 0;
    double FarOutput = 0;
};

// The meter's value for distance d (0: echo lost): the linear characteristic between the
// endpoints, the near or far output outside them, and on a lost echo the output of the
// level named by `echoLossCaption` ("High": the output at the farther endpoint, "Low": at
// the nearer). Empty when the meter keeps its reading ("NC", or no rule applies).
std::optional<double> MeterValue(float d, const AnalogCharacteristic& analog,
                                 std::string_view echoLossCaption);

// Timer2 ticks (50 ms) without a receive event after which the gauges are hidden.
inline constexpr int kSilenceTicksLimit = 100;
inline constexpr int kEchoStep = 100;        // twips per tick
inline constexpr int kEchoStartHeight = 250; // twips
inline constexpr int kEchoGrowth = 5;        // twips per tick

// Where the echo symbol turns, as the tick reads it from the window (twips, current
// geometry).
struct EchoTrack {
    double SensorLeft = 0; // the sensor symbol shpKelvoA
    double SensorTop = 0;
    double SensorWidth = 0;
    double SensorHeight = 0;
    double EchoHeight = kEchoStartHeight; // the echo symbol shpEcho as it stands
    double TargetLeft = 0;                // left edge of the target marker Frame1
    double RangeBarRight = 0;             // right end of the range bar, where a hidden marker rests
};

struct TickResult {
    bool HideGauges = false; // hide the marker, both target lines and the meter, and put
                             // the marker at the right end of the range bar
    double EchoLeft = 0;
    double EchoTop = 0;
    double EchoHeight = 0; // the height after this tick's growth
};

class GaugeTimer {
  public:
    // A receive event: the sensor is talking.
    void NoteReceiveEvent() { silenceTicks_ = 0; }
    // A reading arrived: the readings are fresh again.
    void NoteReading() {
        readingTicks_ = 0;
        hadReading_ = true;
    }
    // True once a reading has come and more than kSilenceTicksLimit ticks have passed since
    // the last one (five seconds), until the next one.
    bool ReadingsStale() const { return hadReading_ && readingTicks_ > kSilenceTicksLimit; }

    TickResult Tick(const EchoTrack& track);

    std::int16_t SilenceTicks() const { return silenceTicks_; }
    std::int16_t EchoX() const { return echoX_; }
    bool EchoOutbound() const { return echoOutbound_; }

  private:
    std::int16_t silenceTicks_ = 0;
    int readingTicks_ = 0; // held just past the limit, so it never overflows
    bool hadReading_ = false;
    std::int16_t echoX_ = 0;
    bool echoOutbound_ = false;
};

} // namespace telmora
