#include "config/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace telmora {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading number of `text` with its blanks removed ("- 1 2.5e1" gives "-12.5e1"), and
// how many characters of `text` it used, trailing blanks included.
struct Scanned {
    std::string Number;
    std::size_t Used = 0;
    bool HasDigits = false;
};

Scanned ScanLeadingNumber(std::string_view text) {
    Scanned out;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        out.Number += text[i++];
        skipBlanks();
    }
    bool seenPeriod = false;
    while (i < text.size()) {
        const char c = text[i];
        if (IsDigit(c)) {
            out.Number += c;
            out.HasDigits = true;
        } else if (c == '.' && !seenPeriod) {
            out.Number += c;
            seenPeriod = true;
        } else if (!IsBlank(c)) {
            break;
        }
        ++i;
    }
    out.Used = i;
    if (!out.HasDigits || i >= text.size() || (text[i] != 'e' && text[i] != 'E'))
        return out;

    // An exponent counts only when digits follow its letter (and sign).
    std::size_t j = i + 1;
    std::string exponent = "e";
    auto skipBlanksAt = [&] {
        while (j < text.size() && IsBlank(text[j]))
            ++j;
    };
    skipBlanksAt();
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
        exponent += text[j++];
    bool exponentDigits = false;
    while (j < text.size() && (IsDigit(text[j]) || IsBlank(text[j]))) {
        if (IsDigit(text[j])) {
            exponent += text[j];
            exponentDigits = true;
        }
        ++j;
    }
    if (exponentDigits) {
        out.Number += exponent;
        out.Used = j;
    }
    return out;
}

// The power of ten of the first significant digit of an unsigned number text such as
// "0.00123e-5" (-8), used only to tell an overflow from an underflow.
long long DecimalMagnitude(std::string_view digits) {
    const std::size_t exponentAt = digits.find_first_of("eE");
    const std::string_view mantissa = digits.substr(0, exponentAt);
    long long exponent = 0;
    if (exponentAt != std::string_view::npos) {
        std::string_view e = digits.substr(exponentAt + 1);
        const bool minus = !e.empty() && e.front() == '-';
        if (!e.empty() && (e.front() == '+' || e.front() == '-'))
            e.remove_prefix(1);
        for (char c : e)
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        exponent = minus ? -exponent : exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return std::numeric_limits<long long>::min();
    const long long position = first < point ? static_cast<long long>(point - first)
                                             : -static_cast<long long>(first - point - 1);
    return position + exponent;
}

double ToDouble(const std::string& number) {
    std::string_view digits = number;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    double value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Far too large saturates at the largest finite value and far too small is 0, so
        // every caller's limits still apply.
        value = DecimalMagnitude(digits) > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    return negative ? -value : value;
}

// True when `magnitude` lies exactly halfway between two numbers of `decimals` decimals.
// Such a value ends in a 5 at decimal `decimals` + 1 and nothing after it, which for a
// binary number means its lowest set bit is 2^-(decimals + 1): scaled by 2^(decimals + 1)
// (exact for a double) it is an odd whole number.
bool IsExactHalf(double magnitude, int decimals) {
    const double scaled = std::ldexp(magnitude, decimals + 1);
    return scaled < 0x1p53 && std::floor(scaled) == scaled && std::fmod(scaled, 2.0) == 1.0;
}

std::string PrintfFixed(double magnitude, int decimals) {
    char buffer[400];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, magnitude);
    return std::string(buffer, static_cast<std::size_t>(std::clamp(length, 0, 399)));
}

// `value` with `decimals` digits after the point, rounding a value exactly halfway away
// from zero. glibc's printf rounds the exact binary value correctly and only differs on
// exact halves, where it goes to the even neighbour.
std::string FormatFixed(double value, int decimals) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";

    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    std::string text;
    if (IsExactHalf(magnitude, decimals)) {
        // Exactly halfway: printf's digits to one more place end in 5 and are exact; carry
        // one into the last kept digit.
        text = PrintfFixed(magnitude, decimals + 1);
        text.pop_back();
        int k = static_cast<int>(text.size()) - 1;
        for (; k >= 0 && (text[k] == '9' || text[k] == '.'); --k) {
            if (text[k] == '9')
                text[k] = '0';
        }
        if (k >= 0)
            ++text[k];
        else
            text.insert(text.begin(), '1');
        if (decimals == 0)
            text.pop_back(); // the point left behind by "%.1f"
    } else {
        text = PrintfFixed(magnitude, decimals);
    }
    // A value that rounds to zero is written without a minus sign.
    const bool allZero = text.find_first_not_of("0.") == std::string::npos;
    return (negative && !allZero) ? '-' + text : text;
}

} // namespace

double ReadNumber(std::string_view text) {
    const Scanned scanned = ScanLeadingNumber(text);
    return scanned.HasDigits ? ToDouble(scanned.Number) : 0.0;
}

float ToSingle(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (value > kLargest)
        return std::numeric_limits<float>::max();
    if (value < -kLargest)
        return -std::numeric_limits<float>::max();
    return static_cast<float>(value);
}

float ReadSingle(std::string_view text) {
    return ToSingle(ReadNumber(text));
}

bool IsNumber(std::string_view text) {
    const Scanned scanned = ScanLeadingNumber(text);
    std::size_t i = scanned.Used;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return scanned.HasDigits && i == text.size();
}

std::string FormatTwoDecimals(double value) {
    return FormatFixed(value, 2);
}
std::string FormatOneDecimal(double value) {
    return FormatFixed(value, 1);
}
std::string FormatWhole(double value) {
    return FormatFixed(value, 0);
}

std::string FormatGeneral(double value) {
    if (!std::isfinite(value))
        return FormatFixed(value, 0);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.7G", value);
    const std::string text = buffer;
    return text == "-0" ? std::string("0") : text;
}

std::int32_t RoundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(std::clamp(value, kLow, kHigh));
    return static_cast<std::int32_t>(rounded);
}

std::int32_t ReadRoundedWhole(std::string_view text) {
    return RoundHalfEven(ReadNumber(text));
}

std::int16_t ReadWholeNumber(std::string_view text, std::int16_t low, std::int16_t high) {
    const std::int32_t whole = ReadRoundedWhole(text);
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(whole, low, high));
}

} // namespace telmora
