#include "link/frames.h"

#include <algorithm>
#include <array>

namespace telmora {

namespace {

// Register 55 with value 132: a write the sensor echoes byte by byte, which tells the
// program that a sensor is on the line.
constexpr std::uint8_t kDetectionRegister = 55;
constexpr std::uint8_t kDetectionValue = 132;

template <std::size_t N> struct RegisterList { std::array<std::uint8_t, N> Registers{}; };

// 11, 33 to 89, then (for a read) 96, 97, 99.
constexpr auto kFamilyARead = [] {
    RegisterList<61> list;
    std::size_t k = 0;
    list.Registers[k++] = 11;
    for (int reg = 33; reg <= 89; ++reg)
        list.Registers[k++] = static_cast<std::uint8_t>(reg);
    list.Registers[k++] = 96;
    list.Registers[k++] = 97;
    list.Registers[k++] = 99;
    return list;
}();
constexpr std::size_t kFamilyAWriteCount = 58;

// 10 to 99 for a read, 10 to 96 for a write.
constexpr auto kFamilyBRead = [] {
    RegisterList<90> list;
    for (std::size_t k = 0; k < list.Registers.size(); ++k)
        list.Registers[k] = static_cast<std::uint8_t>(10 + k);
    return list;
}();
constexpr std::size_t kFamilyBWriteCount = 87;

} // namespace

std::uint8_t FrameChecksum(char letter, std::uint8_t reg, std::uint8_t value) {
    const unsigned sum = static_cast<unsigned char>(letter) + '0' + '0' + reg + value;
    return static_cast<std::uint8_t>(sum % 256);
}

std::string CommandFrame(char letter, std::uint8_t reg, std::uint8_t value) {
    return {letter,
            '0',
            '0',
            static_cast<char>(reg),
            static_cast<char>(value),
            static_cast<char>(FrameChecksum(letter, reg, value))};
}

std::string ReadFrame(std::uint8_t reg) {
    return CommandFrame('G', reg, 0);
}

std::string WriteFrame(std::uint8_t reg, std::uint8_t value) {
    return CommandFrame('P', reg, value);
}

std::string DetectionFrame() {
    return CommandFrame('W', kDetectionRegister, kDetectionValue);
}

ReplyMatch MatchReadReply(std::string_view bytes, std::uint8_t reg) {
    const std::string frame = ReadFrame(reg);
    const std::size_t n = std::min(bytes.size(), frame.size());
    for (std::size_t k = 0; k < n; ++k) {
        // The value byte may be anything; the checksum then has to cover it.
        const char expected =
            k == 4 ? bytes[4]
            : k == 5
                ? static_cast<char>(FrameChecksum('G', reg, static_cast<std::uint8_t>(bytes[4])))
                : frame[k];
        if (bytes[k] != expected)
            return ReplyMatch::None;
    }
    return n == frame.size() ? ReplyMatch::Complete : ReplyMatch::Partial;
}

ReplyMatch MatchWriteReply(std::string_view bytes, std::uint8_t reg, std::uint8_t value) {
    const std::string frame = WriteFrame(reg, value);
    const std::size_t n = std::min(bytes.size(), frame.size());
    if (bytes.substr(0, n) != std::string_view(frame).substr(0, n))
        return ReplyMatch::None;
    return n == frame.size() ? ReplyMatch::Complete : ReplyMatch::Partial;
}

int FirstRegister(SensorFamily family) {
    switch (family) {
    case SensorFamily::A:
        return 11;
    case SensorFamily::B:
        return 10;
    case SensorFamily::None:
        break;
    }
    return 0;
}

int NextReadRegister(SensorFamily family, int reg) {
    if (family == SensorFamily::A) {
        switch (reg) {
        case 11:
            return 33;
        case 89:
            return 96;
        case 96:
            return 97;
        case 97:
            return 99;
        case 99:
            return 100;
        default:
            return (reg >= 33 && reg < 89) ? reg + 1 : reg;
        }
    }
    if (family == SensorFamily::B)
        return (reg >= 10 && reg <= 99) ? reg + 1 : reg;
    return reg;
}

int NextWriteRegister(SensorFamily family, int reg) {
    if (family == SensorFamily::A) {
        if (reg == 11)
            return 33;
        return (reg >= 33 && reg <= 89) ? reg + 1 : reg;
    }
    if (family == SensorFamily::B)
        return (reg >= 10 && reg <= 96) ? reg + 1 : reg;
    return reg;
}

int LastReadRegister(SensorFamily family) {
    return family == SensorFamily::None ? 0 : 99;
}

int LastWriteRegister(SensorFamily family) {
    switch (family) {
    case SensorFamily::A:
        return 89;
    case SensorFamily::B:
        return 96;
    case SensorFamily::None:
        break;
    }
    return 0;
}

std::span<const std::uint8_t> ReadRegisters(SensorFamily family) {
    switch (family) {
    case SensorFamily::A:
        return kFamilyARead.Registers;
    case SensorFamily::B:
        return kFamilyBRead.Registers;
    case SensorFamily::None:
        break;
    }
    return {};
}

std::span<const std::uint8_t> WriteRegisters(SensorFamily family) {
    return ReadRegisters(family).first(family == SensorFamily::A   ? kFamilyAWriteCount
                                       : family == SensorFamily::B ? kFamilyBWriteCount
                                                                   : 0);
}

} // namespace telmora
