#pragma once

#include "config/sensor_family.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The frames the program sends to the sensor. Bytes travel as chars whose value is the
// byte (0 to 255), so a frame is a plain byte string.
namespace telmora {

// The checksum of a command frame: the sum of the letter, the two "0" characters, the
// register and the value, modulo 256.
std::uint8_t FrameChecksum(char letter, std::uint8_t reg, std::uint8_t value);

// A six-byte command frame: letter, "00", register, value, checksum.
std::string CommandFrame(char letter, std::uint8_t reg, std::uint8_t value);

std::string ReadFrame(std::uint8_t reg);                      // "G" frame, value 0
std::string WriteFrame(std::uint8_t reg, std::uint8_t value); // "P" frame
std::string DetectionFrame();                                 // "W" frame, register 55, value 132

inline constexpr std::string_view kIdentificationQuery = "T00";
inline constexpr std::string_view kEndCommand = "E";

// How the front of a byte stream stands against an awaited reply.
enum class ReplyMatch {
    Complete, // its first six bytes are the reply
    Partial,  // every byte so far fits the reply; more are needed
    None,     // its first byte does not begin the reply
};

// The reply to a "G" frame for `reg`: "G", "00", the register, any value and the checksum
// of the five bytes before it.
ReplyMatch MatchReadReply(std::string_view bytes, std::uint8_t reg);
// The reply to a "P" frame: the frame itself, the value sent included.
ReplyMatch MatchWriteReply(std::string_view bytes, std::uint8_t reg, std::uint8_t value);

// Reply lengths the receive handler waits for.
inline constexpr int kIdentificationReplyLength = 5;
inline constexpr int kRegisterReplyLength = 6;
inline constexpr int kReadingLength = 5;
inline constexpr char kReadingStart = '\r';

// Register orders of each family: the first register of a read or write, and the
// register that follows `reg` (a value past the end of the order when `reg` is the last:
// 100 after a read, 90 after a family A write, 97 after a family B write).
int FirstRegister(SensorFamily family);
int NextReadRegister(SensorFamily family, int reg);
int NextWriteRegister(SensorFamily family, int reg);
int LastReadRegister(SensorFamily family);  // 99 for both families
int LastWriteRegister(SensorFamily family); // 89 for A, 96 for B

// The whole orders, for the simulator and for checking an exchange.
std::span<const std::uint8_t> ReadRegisters(SensorFamily family);
std::span<const std::uint8_t> WriteRegisters(SensorFamily family);

} // namespace telmora
