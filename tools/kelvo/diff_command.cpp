#include "config/window_session.h"
#include "config_report.h"
#include "exit_codes.h"
#include "kelvo_commands.h"

#include "config/config_fields.h"
#include "config/config_file.h"
#include "config/image_codec.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>

namespace telmora::kelvo {

namespace {

void PrintJson(const std::vector<FieldComparison>& fields, const std::string& left,
               const std::string& right, std::size_t differences, std::ostream& out) {
    nlohmann::ordered_json json;
    json["left"] = left;
    json["right"] = right;
    json["differences"] = differences;
    json["fields"] = nlohmann::ordered_json::array();
    for (const FieldComparison& f : fields) {
        json["fields"].push_back({{"name", f.Name},
                                  {"unit", f.Unit},
                                  {"left", f.Left},
                                  {"right", f.Right},
                                  {"differs", f.Differs}});
    }
    out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

} // namespace

bool ReadFileImage(const std::string& path, RegisterImage& image, std::ostream& err) {
    const ConfigFileContents contents = ReadConfigFile(path);
    if (!contents.Ok) {
        err << "kelvo: " << contents.Error << "\n";
        return false;
    }
    FileBytesToImage(contents.Bytes, image);
    return true;
}

std::vector<FieldComparison> CompareSensorWithFile(SensorFamily family,
                                                   const RegisterImage& sensorImage,
                                                   const RegisterImage& fileImage) {
    return CompareFields(DecodedImage(family, SensorImageAfterSensorRead(family, sensorImage)),
                         DecodedImage(family, SensorImageFromFile(fileImage, family)), family);
}

// Compares what each side would send to a sensor after the window's round trip, decoded
// from the registers, so that a value the window or the registers cannot tell apart is
// no difference.
int RunDiff(const Options& options, std::ostream& out, std::ostream& err) {
    RegisterImage fileImage{};
    if (!ReadFileImage(options.File, fileImage, err)) {
        return kExitFile;
    }
    SensorFamily family = SensorFamily::B; // the family the window starts with
    std::string leftName = options.File;
    std::string rightName;
    std::vector<FieldComparison> fields;
    if (!options.Port.empty()) {
        RegisterImage sensorImage{};
        if (const int status = ReadSensor(options, family, sensorImage, err); status != kExitOk) {
            return status;
        }
        leftName = std::string(FamilyName(family)) + " on " + options.Port;
        rightName = options.File;
        fields = CompareSensorWithFile(family, sensorImage, fileImage);
    } else {
        RegisterImage otherImage{};
        if (!ReadFileImage(options.OtherFile, otherImage, err)) {
            return kExitFile;
        }
        rightName = options.OtherFile;
        fields =
            CompareFields(DecodedImage(family, SensorImageFromFile(fileImage, family)),
                          DecodedImage(family, SensorImageFromFile(otherImage, family)), family);
    }
    const std::size_t differences = CountDifferences(fields);
    if (options.Json) {
        PrintJson(fields, leftName, rightName, differences, out);
    } else {
        out << ComparisonText(fields, leftName, rightName);
    }
    return differences == 0 ? kExitOk : kExitDiffer;
}

} // namespace telmora::kelvo
