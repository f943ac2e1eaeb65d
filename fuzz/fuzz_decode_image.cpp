// A family's decoder on any register image a sensor or file could hold (two bytes an
// element, least significant first, values beyond a byte included), then the encoder on
// what it decoded, as "Save Configuration To Sensor" would send it back. Built once per
// family: TELMORA_FUZZ_FAMILY_B chooses family B.
#include "config/image_a.h"
#include "config/image_b.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace telmora;
    RegisterImage image{};
    std::memcpy(image.data(), bytes, size < sizeof image ? size : sizeof image);
    SensorConfig config;
    RegisterImage again{};
#ifdef TELMORA_FUZZ_FAMILY_B
    LoadFactoryDefaultsB(config);
    DecodeImageB(image, config);
    EncodeImageB(config, again);
#else
    LoadFactoryDefaultsA(config);
    DecodeImageA(image, config);
    EncodeImageA(config, again);
#endif
    for (const std::int16_t element : again)
        if (element < 0 || element > 255)
            __builtin_trap(); // the encoder keeps every register within a byte
    return 0;
}
