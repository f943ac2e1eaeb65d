#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace telmora::sim {

using Bytes = std::vector<std::uint8_t>;

enum class ReceivedKind {
    Write,       // "W" frame, echoed back whole
    Get,         // "G" frame: read register
    Put,         // "P" frame: store value in register
    Ident,       // "T00"
    End,         // "E"
    BadChecksum, // a six-byte frame whose last byte is not the sum of the others
    Stray,       // bytes that start no command
};

// One unit the sensor makes out of the program's bytes.
struct Received {
    ReceivedKind Kind;
    std::uint8_t Reg = 0;
    std::uint8_t Value = 0;
    sim::Bytes Bytes; // exactly what arrived for this unit
};

// The checksum of a six-byte frame: the sum of its first five bytes, modulo 256.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> firstFive);

// Builds a six-byte frame: letter, "00", register, value, checksum.
Bytes BuildFrame(char letter, std::uint8_t reg, std::uint8_t value);

// Splits the program's byte stream into commands. Bytes may arrive in any pieces; a frame
// is taken once complete. A byte that cannot start or continue a command is skipped on
// its own, so the parser finds the next frame after noise; a frame with a wrong checksum
// is dropped whole, so none of its bytes is mistaken for a command.
class FrameParser {
  public:
    void Push(std::span<const std::uint8_t> bytes, std::vector<Received>& out);

    // Forgets a partly received command, after a pause on the line.
    void Reset() { pending_.clear(); }
    bool HasPartial() const { return !pending_.empty(); }

  private:
    // Takes one unit off the front of pending_ if it is decided; false when more bytes
    // are needed.
    bool TakeOne(std::vector<Received>& out);
    void SkipFirst(std::vector<Received>& out);

    Bytes pending_;
};

} // namespace telmora::sim
