// Every conformance vector of the image codecs: encoding gives the image and the
// corrected record, decoding the start-up record gives the decoded record, bit for bit.
// The vectors write floats as exact decimals of singles and descriptions as Unicode text
// of their Windows-1252 characters.
#include "codec_test_support.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

using namespace telmora;
using namespace telmora::testing;

namespace {

const nlohmann::json& vectors() {
    static const nlohmann::json all = [] {
        std::ifstream in(std::string(TELMORA_TEST_DATA) + "/codec.json");
        EXPECT_TRUE(in.good()) << "codec.json missing from the test data";
        return nlohmann::json::parse(in);
    }();
    return all;
}

SensorConfig recordFromJson(const nlohmann::json& record) {
    SensorConfig config;
    for (const auto& f : kFloatFields) // exact decimals, so strtof gives the single itself
        config.*f.member = std::strtof(record.at(f.name).get<std::string>().c_str(), nullptr);
    for (const auto& f : kIntFields)
        config.*f.member = record.at(f.name).get<std::int16_t>();
    for (const auto& f : kBoolFields)
        config.*f.member = record.at(f.name).get<bool>();
    config.Description = record.at("Description").get<std::string>();
    return config;
}

RegisterImage imageFromJson(const nlohmann::json& image) {
    RegisterImage result{};
    EXPECT_EQ(image.size(), result.size());
    for (std::size_t k = 0; k < result.size() && k < image.size(); ++k)
        result[k] = image.at(k).get<std::int16_t>();
    return result;
}

// Every field that differs, bit for bit, as "Field: expected X, got Y" lines.
std::string recordDifferences(const SensorConfig& expected, const SensorConfig& actual) {
    std::ostringstream out;
    out.precision(9);
    auto compare = [&](const auto& fields) {
        for (const auto& f : fields) {
            const auto e = expected.*f.member, a = actual.*f.member;
            if (std::memcmp(&e, &a, sizeof e) != 0)
                out << f.name << ": expected " << +e << ", got " << +a << "\n";
        }
    };
    compare(kFloatFields);
    compare(kIntFields);
    compare(kBoolFields);
    if (expected.Description != actual.Description)
        out << "Description: expected \"" << expected.Description << "\", got \""
            << actual.Description << "\"\n";
    return out.str();
}

std::string imageDifferences(const RegisterImage& expected, const RegisterImage& actual) {
    std::ostringstream out;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        if (expected[k] != actual[k])
            out << "[" << k << "] expected " << expected[k] << ", got " << actual[k] << "\n";
    }
    return out.str();
}

} // namespace

TEST(CodecVectors, EncodeGivesTheImageAndCorrectedRecordOfEveryVector) {
    const auto& cases = vectors().at("encode");
    ASSERT_GT(cases.size(), 100u);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        const std::string family = c.at("family");
        SensorConfig config = recordFromJson(c.at("record"));
        const RegisterImage expected = imageFromJson(c.at("image"));
        // Stale values everywhere an encode rewrites; element 128 is the encoder's to keep.
        RegisterImage image;
        image.fill(77);
        image[128] = expected[128];
        (family == "a" ? EncodeImageA : EncodeImageB)(config, image);
        EXPECT_EQ(imageDifferences(expected, image), "") << "encode vector " << i << " " << family;
        EXPECT_EQ(recordDifferences(recordFromJson(c.at("record_after")), config), "")
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
        // The record right after start-up: family B defaults, CountDistance 0.003384.
        SensorConfig config;
        config.AnalogOutputMax = 10;
        LoadFactoryDefaultsB(config);
        (family == "a" ? DecodeImageA : DecodeImageB)(imageFromJson(c.at("image")), config);
        EXPECT_EQ(recordDifferences(recordFromJson(c.at("record")), config), "")
            << "decode vector " << i << " (" << family << ")";
    }
}
