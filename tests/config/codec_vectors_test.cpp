// Every conformance vector of the image codecs: encoding gives the image and the
// corrected record, decoding the start-up record gives the decoded record, bit for bit.
// The vectors write floats as exact decimals of singles and descriptions as Unicode text
// of their Windows-1252 characters, the code page the sensor stores descriptions in.
#include "codec_test_support.h"
#include "config/windows1252.h"

#include <gmock/gmock.h>

#include <fstream>

using namespace telmora;
using namespace telmora::testing;
using ::testing::ElementsAreArray;

namespace {

const nlohmann::json& Vectors(const char* kind) {
    static const nlohmann::json all = [] {
        std::ifstream in(std::string(TELMORA_TEST_DATA) + "/codec.json");
        EXPECT_TRUE(in.good()) << "codec.json missing from the test data";
        return nlohmann::json::parse(in);
    }();
    return all.at(kind);
}

SensorConfig Record(nlohmann::json record) {
    for (auto item : record.items()) // exact decimals, so the double is the single itself
        if (item.value().is_string() && item.key() != "Description")
            item.value() = std::stod(item.value().get<std::string>());
    return record.get<SensorConfig>();
}

} // namespace

TEST(CodecVectors, EncodeAndDecodeGiveTheImageAndRecordOfEveryVector) {
    ASSERT_GT(Vectors("encode").size(), 100u);
    ASSERT_GT(Vectors("decode").size(), 100u);
    for (const auto& c : Vectors("encode")) {
        const auto expected = c.at("image").get<RegisterImage>();
        SensorConfig config = Record(c.at("record"));
        // Stale values everywhere an encode rewrites; element 128 is the encoder's to keep.
        RegisterImage image;
        image.fill(77);
        image[128] = expected[128];
        (c.at("family") == "a" ? EncodeImageA : EncodeImageB)(config, image);
        EXPECT_THAT(image, ElementsAreArray(expected)) << "encode " << c.at("record");
        EXPECT_EQ(Dump(config), Dump(Record(c.at("record_after")))) << "encode " << c.at("record");
    }
    for (const auto& c : Vectors("decode")) {
        ASSERT_EQ(c.at("record_before"), "startup");
        SensorConfig config = DefaultsB(); // as at start-up, CountDistance 0.003384
        (c.at("family") == "a" ? DecodeImageA : DecodeImageB)(c.at("image").get<RegisterImage>(),
                                                              config);
        EXPECT_EQ(Dump(config), Dump(Record(c.at("record")))) << "decode " << c.at("image");
    }
}

// The factory records: family B's, then family A's, each loaded over a record from the
// vectors. Each family's defaults leave the fields it does not own as they were.
TEST(FactoryDefaults, EachFamilyChangesOnlyTheFieldsItOwns) {
    const SensorConfig other = Record(Vectors("encode").at(2).at("record"));
    SensorConfig b = other, a = other;
    LoadFactoryDefaultsB(b);
    LoadFactoryDefaultsA(a);
    ExpectGolden("factory records", Changes(other, b) + "-- A\n" + Changes(other, a));
}

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
