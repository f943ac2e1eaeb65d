// Every conformance vector of the image codecs: encoding gives the image and the
// corrected record, decoding the start-up record gives the decoded record, bit for bit.
#include "config/image_a.h"
#include "config/image_b.h"
#include "record_json.h"

#include <gtest/gtest.h>

using namespace telmora;
using namespace telmora::testing;

namespace {

const nlohmann::json& vectors() {
    static const nlohmann::json all = LoadCodecVectors();
    return all;
}

void encode(const std::string& family, SensorConfig& config, RegisterImage& image) {
    if (family == "a")
        EncodeImageA(config, image);
    else
        EncodeImageB(config, image);
}

void decode(const std::string& family, const RegisterImage& image, SensorConfig& config) {
    if (family == "a")
        DecodeImageA(image, config);
    else
        DecodeImageB(image, config);
}

} // namespace

TEST(CodecVectors, EncodeGivesTheImageAndCorrectedRecordOfEveryVector) {
    const auto& cases = vectors().at("encode");
    ASSERT_GT(cases.size(), 100u);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        const std::string family = c.at("family");
        SensorConfig config = RecordFromJson(c.at("record"));
        const RegisterImage expected = ImageFromJson(c.at("image"));
        // Stale values everywhere an encode rewrites; element 128 is the encoder's to keep.
        RegisterImage image;
        image.fill(77);
        image[128] = expected[128];

        encode(family, config, image);

        EXPECT_EQ(ImageDifferences(expected, image), "")
            << "encode vector " << i << " (" << family << ")";
        EXPECT_EQ(RecordDifferences(RecordFromJson(c.at("record_after")), config), "")
            << "encode vector " << i << " (" << family << ")";
    }
}

TEST(CodecVectors, DecodeGivesTheRecordOfEveryVector) {
    const auto& cases = vectors().at("decode");
    ASSERT_GT(cases.size(), 100u);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        const std::string family = c.at("family");
        ASSERT_EQ(c.at("record_before"), "startup") << "decode vector " << i;
        SensorConfig config = StartupRecord();

        decode(family, ImageFromJson(c.at("image")), config);

        EXPECT_EQ(RecordDifferences(RecordFromJson(c.at("record")), config), "")
            << "decode vector " << i << " (" << family << ")";
    }
}
