#include "config/config_file_commands.h"

#include "config/image_b.h"

namespace telmora {

FileResult LoadConfigurationFile(const std::filesystem::path& path, RegisterImage& image,
                                 SensorConfig& config) {
    const ConfigFileContents file = ReadConfigFile(path);
    if (!file.Ok)
        return {false, file.Error};
    FileBytesToImage(file.Bytes, image);
    DecodeImageB(image, config);
    return {true, {}};
}

FileResult SaveConfigurationFile(const std::filesystem::path& path, SensorConfig& config,
                                 RegisterImage& image) {
    SensorConfig encodedConfig = config;
    RegisterImage encodedImage = image;
    EncodeImageB(encodedConfig, encodedImage);
    FileResult result = WriteConfigFile(path, ImageToFileBytes(encodedImage));
    if (result.Ok) {
        config = std::move(encodedConfig);
        image = encodedImage;
    }
    return result;
}

} // namespace telmora
