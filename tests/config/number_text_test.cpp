#include "config/number_text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <limits>
#include <string>

using namespace telmora;

namespace {

nlohmann::json numberVectors() {
    std::ifstream in(std::string(TELMORA_TEST_DATA) + "/numbers.json");
    EXPECT_TRUE(in.good()) << "numbers.json missing from the test data";
    return nlohmann::json::parse(in);
}

double decimal(const nlohmann::json& value) {
    return std::stod(value.get<std::string>());
}

} // namespace

TEST(NumberTextVectors, ReadNumberMatchesEveryVector) {
    const auto cases = numberVectors().at("read_number");
    ASSERT_FALSE(cases.empty());
    for (const auto& c : cases) {
        const std::string text = c.at("text");
        EXPECT_DOUBLE_EQ(ReadNumber(text), decimal(c.at("value"))) << "text: '" << text << "'";
    }
}

TEST(NumberTextVectors, DisplayFormatsMatchEveryVector) {
    const auto vectors = numberVectors();
    const std::pair<const char*, std::string (*)(double)> formats[] = {
        {"format_2_decimals", FormatTwoDecimals},
        {"format_1_decimal", FormatOneDecimal},
        {"format_whole", FormatWhole},
        {"general_text", FormatGeneral},
    };
    for (const auto& [name, format] : formats) {
        const auto cases = vectors.at(name);
        ASSERT_FALSE(cases.empty()) << name;
        for (const auto& c : cases)
            EXPECT_EQ(format(decimal(c.at("value"))), c.at("text").get<std::string>())
                << name << " of " << c.at("value");
    }
}

TEST(NumberTextVectors, WholeNumbersRoundHalvesToEven) {
    const auto cases = numberVectors().at("round_whole_half_even");
    ASSERT_FALSE(cases.empty());
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(decimal(c.at("value"))), c.at("whole").get<int>())
            << "value " << c.at("value");
}

TEST(ReadNumber, BlanksInsideTheNumberAreSkippedAndReadingStopsAtOtherText) {
    EXPECT_DOUBLE_EQ(ReadNumber(" 1 2.5"), 12.5);
    EXPECT_DOUBLE_EQ(ReadNumber("1 e 2"), 100.0);
    EXPECT_DOUBLE_EQ(ReadNumber("12.5 inches"), 12.5);
    EXPECT_DOUBLE_EQ(ReadNumber("."), 0.0);
    EXPECT_DOUBLE_EQ(ReadNumber("-"), 0.0);
    EXPECT_DOUBLE_EQ(ReadNumber("1e-x"), 1.0);
    // The sensor's five characters may carry a carriage return.
    EXPECT_DOUBLE_EQ(ReadNumber("\r0123"), 123.0);
}

TEST(ReadNumber, HugeAndTinyExponentsSaturateInsteadOfFailing) {
    EXPECT_EQ(ReadNumber("1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(ReadNumber("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(ReadNumber("1e-999"), 0.0);
    EXPECT_EQ(ReadNumber("0.0000001e-400"), 0.0);
    EXPECT_EQ(ReadNumber("12345678901234567890e300"), std::numeric_limits<double>::max());
}

TEST(IsNumber, AcceptsOnlyTextThatIsWhollyANumber) {
    EXPECT_TRUE(IsNumber("12.5"));
    EXPECT_TRUE(IsNumber(" -3e2 "));
    EXPECT_TRUE(IsNumber("+7."));
    EXPECT_FALSE(IsNumber("12abc"));
    EXPECT_FALSE(IsNumber(""));
    EXPECT_FALSE(IsNumber("."));
    EXPECT_FALSE(IsNumber("1e"));
    EXPECT_FALSE(IsNumber("3,5"));
}

TEST(DisplayFormats, ExactHalvesRoundAwayFromZeroButNearHalvesFollowTheBinaryValue) {
    EXPECT_EQ(FormatOneDecimal(4.25), "4.3");
    EXPECT_EQ(FormatOneDecimal(-4.25), "-4.3");
    EXPECT_EQ(FormatWhole(2.5), "3");
    EXPECT_EQ(FormatWhole(-2.5), "-3");
    EXPECT_EQ(FormatTwoDecimals(0.125), "0.13");
    // 1.005 is stored just below the half, so it rounds down.
    EXPECT_EQ(FormatTwoDecimals(1.005), "1.00");
    EXPECT_EQ(FormatTwoDecimals(9.999), "10.00");
    EXPECT_EQ(FormatTwoDecimals(999.995), "1000.00");
}

TEST(DisplayFormats, NoNegativeZeroAndOneIntegerDigitAtLeast) {
    EXPECT_EQ(FormatTwoDecimals(-0.0), "0.00");
    EXPECT_EQ(FormatTwoDecimals(-0.004), "0.00");
    EXPECT_EQ(FormatOneDecimal(-0.04), "0.0");
    EXPECT_EQ(FormatWhole(-0.4), "0");
    EXPECT_EQ(FormatTwoDecimals(0.5), "0.50");
    EXPECT_EQ(FormatGeneral(-0.0), "0");
}

TEST(DisplayFormats, SingleValuesShowAsTheUserTypedThem) {
    EXPECT_EQ(FormatGeneral(static_cast<float>(33.3) * 1.0), "33.3");
    EXPECT_EQ(FormatTwoDecimals(static_cast<float>(221.72)), "221.72");
    EXPECT_EQ(FormatGeneral(0.0333), "0.0333");
}

TEST(WholeNumbers, LimitsApplyAfterRoundingAndNothingWraps) {
    EXPECT_EQ(ReadRoundedWhole("2.5"), 2);
    EXPECT_EQ(ReadRoundedWhole("1.5"), 2);
    EXPECT_EQ(ReadRoundedWhole("-0.5"), 0);
    EXPECT_EQ(ReadRoundedWhole("99999"), 99999);
    EXPECT_EQ(ReadRoundedWhole("1e20"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ReadRoundedWhole("-1e20"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ReadWholeNumber("99999", 2, 255), 255);
    EXPECT_EQ(ReadWholeNumber("65537", 0, 255), 255); // would wrap to 1 in 16 bits
    EXPECT_EQ(ReadWholeNumber("-70000", 0, 255), 0);
    EXPECT_EQ(ReadWholeNumber("abc", 1, 10), 1);
    EXPECT_EQ(ReadWholeNumber("7.5", 1, 10), 8);
}
