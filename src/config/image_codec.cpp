#include "config/image_codec.h"

#include "config/image_a.h"
#include "config/image_b.h"

namespace telmora {

void EncodeImage(SensorFamily family, SensorConfig& config, RegisterImage& image) {
    if (family == SensorFamily::A)
        EncodeImageA(config, image);
    else
        EncodeImageB(config, image);
}

void DecodeImage(SensorFamily family, const RegisterImage& image, SensorConfig& config) {
    if (family == SensorFamily::A)
        DecodeImageA(image, config);
    else
        DecodeImageB(image, config);
}

SensorConfig DecodedImage(SensorFamily family, const RegisterImage& image) {
    SensorConfig record;
    DecodeImage(family, image, record);
    return record;
}

} // namespace telmora
