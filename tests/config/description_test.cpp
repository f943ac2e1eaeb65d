// The description as the sensor stores it: Windows-1252 codes. The cut to 30 characters
// is in the conformance vectors.
#include "config/image_a.h"
#include "config/image_b.h"
#include "config/windows1252.h"

#include <gtest/gtest.h>

using namespace telmora;

using Codes = std::vector<std::uint8_t>;

TEST(Windows1252, EveryByteSurvivesTheTripThroughUtf8_CharactersWithoutACodeBecomeQuestionMarks) {
    std::string all;
    for (int code = 0; code < 256; ++code)
        all += static_cast<char>(code);
    const Codes back = Utf8ToWindows1252(Windows1252ToUtf8(all));
    ASSERT_EQ(back.size(), 256u);
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(back[code], code);
    EXPECT_EQ(Windows1252ToUtf8("\x80\x99\xE9\x9F"), "€™éŸ");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\u0081"); // undefined in the code page, kept
    // Characters without a code, and malformed bytes, become question marks.
    const std::pair<const char*, Codes> cases[] = {
        {"a✓b", {'a', '?', 'b'}},
        {"\u0080", {'?'}}, // C1, not €
        {"😀", {'?'}},
        // One per byte: a lone continuation, a cut-off sequence, an overlong '/', a surrogate.
        {"\x80x", {'?', 'x'}},
        {"x\xE2\x82", {'x', '?', '?'}},
        {"\xC0\xAF", {'?', '?'}},
        {"\xED\xA0\x80", {'?', '?', '?'}},
    };
    for (const auto& [text, codes] : cases)
        EXPECT_EQ(Utf8ToWindows1252(text), codes) << text;
    EXPECT_EQ(FirstCharacters("\xE2\x82", 1), "\xE2");
}

TEST(Description, UnmappableCharacterIsStoredAsQuestionMarkAndKeptInTheRecord) {
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    config.Description = "Tank ✓ €5";
    RegisterImage image{};
    EncodeImageB(config, image);
    EXPECT_EQ(std::vector<int>(image.begin() + 33, image.begin() + 43),
              (std::vector<int>{9, 'T', 'a', 'n', 'k', ' ', '?', ' ', 0x80, '5'}));
    EXPECT_EQ(config.Description, "Tank ✓ €5");
    SensorConfig decoded;
    DecodeImageB(image, decoded);
    EXPECT_EQ(decoded.Description, "Tank ? €5");
}
