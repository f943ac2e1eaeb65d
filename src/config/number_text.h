#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbers as the user and the sensor write them. One module serves every window, dialog
// and tool, so a value reads and shows the same everywhere. The decimal point is always
// a period, whatever the locale.
namespace telmora {

// The longest leading part of `text` that forms a decimal number: blanks (space, tab,
// line feed, carriage return) are skipped wherever they stand before or inside the
// number, then an optional sign, digits, at most one period and an optional exponent.
// A text without digits reads as 0.
double ReadNumber(std::string_view text);

// A double narrowed to single precision: values beyond the float range saturate at the
// largest float instead of becoming infinite.
float ToSingle(double value);

// ReadNumber narrowed to single precision, as the window's boxes hold their numbers.
// Overflowing entries such as "1e999" saturate, so no placement ever meets an infinity.
float ReadSingle(std::string_view text);

// True when the whole text, blanks aside, is one such number ("12.5", " -3e2 "), so a
// box can be rewritten in its format; "12abc" and "" are not numbers.
bool IsNumber(std::string_view text);

// Display formats. A value exactly halfway rounds away from zero (judged on the exact
// binary value), and a value that rounds to zero is written without a minus sign.
std::string FormatTwoDecimals(double value); // "##0.00" and "###0.00": distances
std::string FormatOneDecimal(double value);  // "#0.0": analog outputs, the meter
std::string FormatWhole(double value);       // "#0"

// Up to 7 significant digits, no trailing zeros and no trailing period ("33.3", "4").
std::string FormatGeneral(double value);

// Nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
// Values beyond the int32 range saturate, so callers can apply their limits afterwards.
std::int32_t RoundHalfEven(double value);

// A whole-number field typed by the user: the leading number rounded halves to even,
// saturating at the int32 range; callers compare the result with their own limits.
std::int32_t ReadRoundedWhole(std::string_view text);

// The same, then forced into [low, high]. A number outside the 16-bit range counts as beyond the
// corresponding limit; it is never wrapped.
std::int16_t ReadWholeNumber(std::string_view text, std::int16_t low, std::int16_t high);

} // namespace telmora
