#include "codec_test_support.h"
#include "config/number_text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

using namespace telmora;
using namespace telmora::testing;

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

// Beyond the vectors, every reader and format on texts and values at their edges: blanks,
// other text, exponents past the double range (the sensor's five characters may carry a
// carriage return); limits applied after rounding, nothing wrapping in 16 bits (65537 would
// give 1); exact halves away from zero while near halves follow the binary value (1.005 is
// stored just below the half); no negative zero; singles shown as the user typed them.
TEST(NumberTexts, ReadersAndFormatsAtTheirEdges) {
    std::ostringstream found;
    found.precision(17);
    // clang-format off
    const char* const texts[] = {
        " 1 2.5", "1 e 2", "12.5 inches", ".", "-", "1e-x", "\r0123", "1e999", "-1e999",
        "1e-999", "0.0000001e-400", "12345678901234567890e300", "12.5", " -3e2 ", "+7.", ".5",
        "12.50", "12abc", "", " ", "1e", "3,5", "1.2.3", "--1", "+", "e5", "2.5", "1.5", "-0.5",
        "99999", "1e20", "-1e20", "65537", "-70000", "abc", "7.5", "3.4028234663852886e38",
        "-3.4028234663852886e38"};
    // clang-format on
    for (const char* text : texts) {
        const std::string shown = text[0] == '\r' ? std::string("\\r") + (text + 1) : text;
        found << "'" << shown << "': " << ReadNumber(text) << (IsNumber(text) ? " number" : "")
              << ", single " << ReadSingle(text) << ", rounded " << ReadRoundedWhole(text)
              << ", within 0 to 255 " << ReadWholeNumber(text, 0, 255) << ", 1 to 10 "
              << ReadWholeNumber(text, 1, 10) << "\n";
    }
    for (const double value : {-4.25, -2.5, 0.125, 1.005, 9.999, 999.995, -0.04, -0.4, 0.5, -0.0,
                               double{33.3f}, double{221.72f}, 0.0333, 9.5, 99.5}) {
        found << value << ": " << FormatTwoDecimals(value) << ", " << FormatOneDecimal(value)
              << ", " << FormatWhole(value) << ", " << FormatGeneral(value) << "\n";
    }
    found << "NaN rounded to whole: " << RoundHalfEven(std::nan("")) << "\n";
    ExpectGolden("number texts", found.str());
}
