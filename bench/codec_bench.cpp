// Cost of converting between the configuration record and each family's register image.
#include "config/config_file.h"
#include "config/image_a.h"
#include "config/image_b.h"

#include <benchmark/benchmark.h>

using namespace telmora;

namespace {

SensorConfig defaultsOf(bool familyB) {
    SensorConfig config;
    if (familyB)
        LoadFactoryDefaultsB(config);
    else
        LoadFactoryDefaultsA(config);
    return config;
}

template <void (*Encode)(SensorConfig&, RegisterImage&)>
void encodeImage(benchmark::State& state, bool familyB) {
    const SensorConfig defaults = defaultsOf(familyB);
    RegisterImage image{};
    for (auto _ : state) {
        SensorConfig config = defaults;
        Encode(config, image);
        benchmark::DoNotOptimize(image);
        benchmark::DoNotOptimize(config);
    }
}

template <void (*Encode)(SensorConfig&, RegisterImage&),
          void (*Decode)(const RegisterImage&, SensorConfig&)>
void decodeImage(benchmark::State& state, bool familyB) {
    SensorConfig config = defaultsOf(familyB);
    RegisterImage image{};
    Encode(config, image);
    for (auto _ : state) {
        Decode(image, config);
        benchmark::DoNotOptimize(config);
    }
}

void BM_EncodeImageA(benchmark::State& state) {
    encodeImage<EncodeImageA>(state, false);
}
void BM_DecodeImageA(benchmark::State& state) {
    decodeImage<EncodeImageA, DecodeImageA>(state, false);
}
void BM_EncodeImageB(benchmark::State& state) {
    encodeImage<EncodeImageB>(state, true);
}
void BM_DecodeImageB(benchmark::State& state) {
    decodeImage<EncodeImageB, DecodeImageB>(state, true);
}

void BM_ImageToFileBytesAndBack(benchmark::State& state) {
    SensorConfig config = defaultsOf(true);
    RegisterImage image{};
    EncodeImageB(config, image);
    for (auto _ : state) {
        FileBytesToImage(ImageToFileBytes(image), image);
        benchmark::DoNotOptimize(image);
    }
}

} // namespace

BENCHMARK(BM_EncodeImageA);
BENCHMARK(BM_DecodeImageA);
BENCHMARK(BM_EncodeImageB);
BENCHMARK(BM_DecodeImageB);
BENCHMARK(BM_ImageToFileBytesAndBack);
