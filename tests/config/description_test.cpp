// The description as the sensor stores it: Windows-1252 codes, 30 characters at most.
#include "config/image_a.h"
#include "config/image_b.h"
#include "config/windows1252.h"

#include <gtest/gtest.h>

using namespace telmora;

namespace {

RegisterImage encodeB(SensorConfig& config) {
    RegisterImage image{};
    EncodeImageB(config, image);
    return image;
}

std::vector<int> descriptionCodes(const RegisterImage& image) {
    return std::vector<int>(image.begin() + 34, image.begin() + 34 + image[33]);
}

} // namespace

TEST(Windows1252, EveryByteSurvivesTheTripThroughUtf8) {
    std::string all;
    for (int code = 0; code < 256; ++code)
        all += static_cast<char>(code);
    const std::string text = Windows1252ToUtf8(all);
    const std::vector<std::uint8_t> back = Utf8ToWindows1252(text);
    ASSERT_EQ(back.size(), 256u);
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(back[code], code);
}

TEST(Windows1252, HighCodesAreTheCodePagesCharacters) {
    EXPECT_EQ(Windows1252ToUtf8("\x80"), "€");
    EXPECT_EQ(Windows1252ToUtf8("\x99"), "™");
    EXPECT_EQ(Windows1252ToUtf8("\xE9"), "é");
    EXPECT_EQ(Windows1252ToUtf8("\x9F"), "Ÿ");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\u0081"); // undefined in the code page, kept
    EXPECT_EQ(Utf8ToWindows1252("€Ÿ"), (std::vector<std::uint8_t>{0x80, 0x9F}));
}

TEST(Windows1252, CharactersWithoutACodeBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToWindows1252("a✓b"), (std::vector<std::uint8_t>{'a', '?', 'b'}));
    EXPECT_EQ(Utf8ToWindows1252("\u0080"), (std::vector<std::uint8_t>{'?'})); // C1, not €
    EXPECT_EQ(Utf8ToWindows1252("😀"), (std::vector<std::uint8_t>{'?'}));
}

TEST(Windows1252, MalformedUtf8CountsOneCharacterPerByte) {
    // A lone continuation byte, a cut-off sequence, an overlong '/', a surrogate.
    EXPECT_EQ(Utf8ToWindows1252("\x80x"), (std::vector<std::uint8_t>{'?', 'x'}));
    EXPECT_EQ(Utf8ToWindows1252("x\xE2\x82"), (std::vector<std::uint8_t>{'x', '?', '?'}));
    EXPECT_EQ(Utf8ToWindows1252("\xC0\xAF"), (std::vector<std::uint8_t>{'?', '?'}));
    EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), (std::vector<std::uint8_t>{'?', '?', '?'}));
    EXPECT_EQ(FirstCharacters("\xE2\x82", 1), "\xE2");
}

TEST(Description, LongTextIsCutToThirtyCharactersInRecordAndImage) {
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    config.Description = std::string(31, 'a');
    const RegisterImage image = encodeB(config);
    EXPECT_EQ(config.Description, std::string(30, 'a'));
    EXPECT_EQ(image[33], 30);
    EXPECT_EQ(image[63], 'a');
    EXPECT_EQ(image[64], 147); // MinRange, not a 31st character

    config.Description = std::string(30, 'b');
    encodeB(config);
    EXPECT_EQ(config.Description, std::string(30, 'b'));
}

TEST(Description, CutCountsCharactersNotBytes) {
    SensorConfig config;
    LoadFactoryDefaultsA(config);
    std::string text;
    for (int i = 0; i < 31; ++i)
        text += "é";
    config.Description = text;
    RegisterImage image{};
    EncodeImageA(config, image);
    EXPECT_EQ(config.Description, text.substr(0, 60)); // 30 two-byte characters
    EXPECT_EQ(image[33], 30);
    EXPECT_EQ(image[34], 0xE9);
    EXPECT_EQ(image[63], 0xE9);
}

TEST(Description, UnmappableCharacterIsStoredAsQuestionMarkAndKeptInTheRecord) {
    SensorConfig config;
    LoadFactoryDefaultsB(config);
    config.Description = "Tank ✓ €5";
    const RegisterImage image = encodeB(config);
    EXPECT_EQ(descriptionCodes(image),
              (std::vector<int>{'T', 'a', 'n', 'k', ' ', '?', ' ', 0x80, '5'}));
    EXPECT_EQ(config.Description, "Tank ✓ €5");

    SensorConfig decoded;
    DecodeImageB(image, decoded);
    EXPECT_EQ(decoded.Description, "Tank ? €5");
}

TEST(Description, EmptyLengthDecodesAsEmptyText) {
    RegisterImage image;
    image.fill('z');
    image[33] = 0;
    SensorConfig config;
    config.Description = "old";
    DecodeImageA(image, config);
    EXPECT_EQ(config.Description, "");
    config.Description = "old";
    DecodeImageB(image, config);
    EXPECT_EQ(config.Description, "");
}
