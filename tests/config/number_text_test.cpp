#include "config/number_text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <limits>
#include <string>

using namespace telmora;

namespace {

double decimal(const nlohmann::json& value) {
    return std::stod(value.get<std::string>());
}

} // namespace

TEST(NumberTextVectors, ReadingFormattingAndRoundingMatchEveryVector) {
    std::ifstream in(std::string(TELMORA_TEST_DATA) + "/numbers.json");
    ASSERT_TRUE(in.good()) << "numbers.json missing from the test data";
    const auto vectors = nlohmann::json::parse(in);
    const auto& reads = vectors.at("read_number");
    ASSERT_FALSE(reads.empty());
    for (const auto& c : reads)
        EXPECT_DOUBLE_EQ(ReadNumber(c.at("text").get<std::string>()), decimal(c.at("value")))
            << "text: '" << c.at("text") << "'";
    const std::pair<const char*, std::string (*)(double)> formats[] = {
        {"format_2_decimals", FormatTwoDecimals},
        {"format_1_decimal", FormatOneDecimal},
        {"format_whole", FormatWhole},
        {"general_text", FormatGeneral},
    };
    for (const auto& [name, format] : formats) {
        const auto& cases = vectors.at(name);
        ASSERT_FALSE(cases.empty()) << name;
        for (const auto& c : cases)
            EXPECT_EQ(format(decimal(c.at("value"))), c.at("text").get<std::string>())
                << name << " of " << c.at("value");
    }
    const auto& halves = vectors.at("round_whole_half_even");
    ASSERT_FALSE(halves.empty());
    for (const auto& c : halves)
        EXPECT_EQ(RoundHalfEven(decimal(c.at("value"))), c.at("whole").get<int>())
            << "value " << c.at("value");
}

TEST(ReadNumber, SkipsBlanksStopsAtOtherTextAndSaturatesHugeExponents) {
    constexpr double kMax = std::numeric_limits<double>::max();
    // The sensor's five characters may carry a carriage return.
    // clang-format off
    const std::pair<const char*, double> cases[] = {
        {" 1 2.5", 12.5}, {"1 e 2", 100}, {"12.5 inches", 12.5}, {".", 0}, {"-", 0}, {"1e-x", 1},
        {"\r0123", 123}, {"1e999", kMax}, {"-1e999", -kMax}, {"1e-999", 0}, {"0.0000001e-400", 0},
        {"12345678901234567890e300", kMax}};
    // clang-format on
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ReadNumber(text), value) << "text: '" << text << "'";
    for (const char* text : {"12.5", " -3e2 ", "+7.", ".5", "1 2.5", "12.50"})
        EXPECT_TRUE(IsNumber(text)) << text;
    for (const char* text : {"12abc", "", " ", ".", "1e", "3,5", "1.2.3", "--1", "+", "e5"})
        EXPECT_FALSE(IsNumber(text)) << text;
    // Single precision, as the window's boxes hold numbers: no infinities.
    constexpr float kFloatMax = std::numeric_limits<float>::max();
    EXPECT_EQ(ReadSingle("1e999"), kFloatMax);
    EXPECT_EQ(ReadSingle("-1e999"), -kFloatMax);
}

// Beyond the vectors: exact halves round away from zero while near halves follow the binary
// value (1.005 is stored just below the half); no negative zero; one integer digit at least; single
// values show as the user typed them.
TEST(DisplayFormats, HalvesNegativeZeroAndSinglesShowAsTyped) {
    // clang-format off
    const struct {
        std::string (*format)(double);
        double value;
        const char* text;
    } cases[] = {
        {FormatOneDecimal, -4.25, "-4.3"}, {FormatWhole, -2.5, "-3"},
        {FormatTwoDecimals, 0.125, "0.13"}, {FormatTwoDecimals, 1.005, "1.00"},
        {FormatTwoDecimals, 9.999, "10.00"}, {FormatTwoDecimals, 999.995, "1000.00"},
        {FormatOneDecimal, -0.04, "0.0"}, {FormatWhole, -0.4, "0"},
        {FormatTwoDecimals, 0.5, "0.50"}, {FormatGeneral, -0.0, "0"},
        {FormatGeneral, static_cast<float>(33.3), "33.3"},
        {FormatTwoDecimals, static_cast<float>(221.72), "221.72"},
        {FormatGeneral, 0.0333, "0.0333"}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(c.format(c.value), c.text) << c.value;
}

// 65537 would wrap to 1 in 16 bits.
TEST(WholeNumbers, LimitsApplyAfterRoundingAndNothingWraps) {
    // clang-format off
    const std::pair<const char*, std::int32_t> rounded[] = {
        {"2.5", 2}, {"1.5", 2}, {"-0.5", 0}, {"99999", 99999},
        {"1e20", std::numeric_limits<std::int32_t>::max()},
        {"-1e20", std::numeric_limits<std::int32_t>::min()}};
    // clang-format on
    for (const auto& [text, whole] : rounded)
        EXPECT_EQ(ReadRoundedWhole(text), whole) << text;
    // clang-format off
    const struct {
        const char* text;
        int low, high, whole;
    } limited[] = {
        {"99999", 2, 255, 255}, {"65537", 0, 255, 255}, {"-70000", 0, 255, 0}, {"abc", 1, 10, 1},
        {"7.5", 1, 10, 8}};
    // clang-format on
    for (const auto& c : limited)
        EXPECT_EQ(ReadWholeNumber(c.text, c.low, c.high), c.whole) << c.text;
}
