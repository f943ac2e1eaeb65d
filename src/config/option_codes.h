#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The options a configuration holds as codes and the window shows as captions: one table
// for the window's labels, the record's round trip through them and kelvo's report.
// Each option lists its states in the order a click on its label steps through them; a
// caption that is none of them steps to the first state.
namespace telmora {

struct OptionState {
    std::int16_t Code;
    std::string_view Caption;
    // What a short caption means, for a tooltip or a report ("no change of the output on
    // echo loss" for "NC"); empty where the caption says it all.
    std::string_view Meaning = {};
};

template <typename State, std::size_t N> struct OptionTable {
    std::array<OptionState, N> States; // indexed by State
    // What a label shows for a code no state has; none: the label keeps its caption.
    std::optional<State> ShownForOtherCodes;
    // What a caption no state has reads back as.
    State ReadForOtherCaptions;

    constexpr std::string_view Caption(State s) const { return At(s).Caption; }
    constexpr std::string_view Meaning(State s) const { return At(s).Meaning; }
    constexpr std::int16_t Code(State s) const { return At(s).Code; }

    constexpr std::optional<State> WithCode(int code) const {
        for (std::size_t i = 0; i < N; ++i) {
            if (States[i].Code == code) {
                return static_cast<State>(i);
            }
        }
        return std::nullopt;
    }
    constexpr std::optional<State> WithCaption(std::string_view caption) const {
        for (std::size_t i = 0; i < N; ++i) {
            if (States[i].Caption == caption) {
                return static_cast<State>(i);
            }
        }
        return std::nullopt;
    }

    // Record to window and back.
    constexpr std::optional<State> Shown(int code) const {
        const std::optional<State> s = WithCode(code);
        return s ? s : ShownForOtherCodes;
    }
    constexpr State Read(std::string_view caption) const {
        return WithCaption(caption).value_or(ReadForOtherCaptions);
    }
    constexpr std::int16_t CodeOf(std::string_view caption) const { return Code(Read(caption)); }

    // The caption of exactly this code, empty for a code no state has.
    constexpr std::string_view CaptionOfCode(int code) const {
        const std::optional<State> s = WithCode(code);
        return s ? Caption(*s) : std::string_view();
    }

    // "NC: no change of the output on echo loss"; the caption alone where it has no meaning
    // to add; empty for a code no state has.
    std::string ExplainedCaptionOfCode(int code) const {
        const std::optional<State> s = WithCode(code);
        if (!s)
            return {};
        std::string text(Caption(*s));
        if (!Meaning(*s).empty())
            text.append(": ").append(Meaning(*s));
        return text;
    }

    constexpr State AfterClick(std::string_view caption) const {
        const std::optional<State> s = WithCaption(caption);
        return s ? static_cast<State>((static_cast<std::size_t>(*s) + 1) % N) : State{};
    }

  private:
    constexpr const OptionState& At(State s) const { return States[static_cast<std::size_t>(s)]; }
};

// Switch mode (SwNMode): any mode bit shows as a window.
enum class SwitchMode { Hyst, Wind };
inline constexpr OptionTable<SwitchMode, 2> kSwitchMode{
    {{{0, "Hyst", "hysteresis mode, the width box holds the hysteresis"},
      {32, "Wind", "window mode, the width box holds the window's width"}}},
    SwitchMode::Wind,
    SwitchMode::Wind};

// Switch power-up state (SwNPowerUp).
enum class SwitchPowerUp { On, Off };
inline constexpr OptionTable<SwitchPowerUp, 2> kSwitchPowerUp{
    {{{1, "On", "the output is on at power-up"}, {0, "Off", "the output is off at power-up"}}},
    SwitchPowerUp::Off,
    SwitchPowerUp::On};

// Switch echo-loss response (SwNEchoLoss); NC: no change.
enum class SwitchEchoLoss { NC, On, Off };
inline constexpr OptionTable<SwitchEchoLoss, 3> kSwitchEchoLoss{
    {{{0, "NC", "no change of the output on echo loss"},
      {8, "On", "the output turns on on echo loss"},
      {4, "Off", "the output turns off on echo loss"}}},
    SwitchEchoLoss::NC,
    SwitchEchoLoss::NC};

// Switch polarity (SwNPolarity), shown on the setpoint handles: the caption is the near
// handle's, the far handle shows the other state's. "Reverse Polarity" steps the states.
enum class SwitchPolarity { Reversed, Normal };
inline constexpr OptionTable<SwitchPolarity, 2> kSwitchPolarity{
    {{{2, "On"}, {0, "Off"}}}, SwitchPolarity::Normal, SwitchPolarity::Reversed};
constexpr std::string_view FarHandleCaption(SwitchPolarity p) {
    return kSwitchPolarity.Caption(p == SwitchPolarity::Normal ? SwitchPolarity::Reversed
                                                               : SwitchPolarity::Normal);
}

// Analog output mode (AnalogMode): 0 to 20 mA or 0 to 10 V.
enum class AnalogMode { Current, Voltage };
inline constexpr OptionTable<AnalogMode, 2> kAnalogMode{
    {{{0, "Current", "a 0 to 20 mA output"}, {128, "Voltage", "a 0 to 10 V output"}}},
    AnalogMode::Current,
    AnalogMode::Voltage};

// Analog echo-loss response (AnalogEchoLoss): a code with no caption (both bits) leaves
// the label as it was.
enum class AnalogEchoLoss { NC, Low, High };
inline constexpr OptionTable<AnalogEchoLoss, 3> kAnalogEchoLoss{
    {{{0, "NC", "no change of the output on echo loss"},
      {4, "Low", "the output goes to its low end on echo loss"},
      {8, "High", "the output goes to its high end on echo loss"}}},
    std::nullopt,
    AnalogEchoLoss::NC};

// Analog power-up level (AnalogPowerUp): any bit shows as high.
enum class AnalogPowerUp { Low, High };
inline constexpr OptionTable<AnalogPowerUp, 2> kAnalogPowerUp{
    {{{0, "Low", "the output is at its low end at power-up"},
      {2, "High", "the output is at its high end at power-up"}}},
    AnalogPowerUp::High,
    AnalogPowerUp::High};

// Pushbutton set (SwNSetAllowed, AnalogSetAllowed): a check mark on the Security menu,
// so the captions are the report's words.
enum class SetAllowed { Allowed, NotAllowed };
inline constexpr OptionTable<SetAllowed, 2> kSetAllowed{
    {{{16, "pushbutton set allowed"}, {0, "pushbutton set not allowed"}}},
    SetAllowed::NotAllowed,
    SetAllowed::NotAllowed};

// Run modes (RunMode) as the run-mode dialogs name them; family A offers 1, 2, 3 and 7.
enum class SensorRunMode {
    ContinuousRS232,
    ContinuousNoRS232,
    PolledHold,
    PolledRun,
    RS485Hold,
    RS485Run,
    ExternalTrigger
};
inline constexpr OptionTable<SensorRunMode, 7> kSensorRunMode{{{{1, "Continuous (RS232)"},
                                                                {2, "Continuous (No RS232)"},
                                                                {3, "Polled (Hold)"},
                                                                {4, "Polled (Run)"},
                                                                {5, "RS485 Network (Hold)"},
                                                                {6, "RS485 Network (Run)"},
                                                                {7, "External Trigger"}}},
                                                              std::nullopt,
                                                              SensorRunMode::ContinuousRS232};

// Filters (FilterType) as the filter dialogs name them; family A offers 1 and 2.
enum class SensorFilter {
    None,
    AverageOf,
    MaximumOf,
    MinimumOf,
    TwoConsecutive,
    SlowFast,
    FastSlow
};
inline constexpr OptionTable<SensorFilter, 7> kSensorFilter{{{{1, "None"},
                                                              {2, "Average Of"},
                                                              {3, "Maximum Of"},
                                                              {4, "Minimum Of"},
                                                              {5, "2 Consecutive"},
                                                              {6, "Slow Fast"},
                                                              {7, "Fast Slow"}}},
                                                            std::nullopt,
                                                            SensorFilter::None};

// Top of the analog output scale: 0 to 10 V or 0 to 20 mA.
float AnalogOutputMaxFor(AnalogMode mode);
// An output carried over a mode change: 0 to 10 V and 0 to 20 mA map onto each other by a
// factor of 2, so every handle stays where it was.
double OutputAfterModeChange(double output, AnalogMode newMode);

} // namespace telmora
