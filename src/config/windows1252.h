#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The sensor stores its description as 8-bit character codes of the Windows-1252 code
// page; the program keeps text as UTF-8. These conversions are exact inverses on every
// byte 0 to 255: the five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) travel as the control characters U+0081 and so on, so no sensor text is lost.
namespace telmora {

// The character a sensor byte stands for, as UTF-8.
std::string Windows1252ToUtf8(std::string_view codes);

// Byte used for a character that has no Windows-1252 code ('€' has one, '✓' has none),
// and for each byte of malformed UTF-8.
inline constexpr std::uint8_t kUnmappableCode = '?';

// The Windows-1252 codes of the first `maxCharacters` characters of UTF-8 `text`.
std::vector<std::uint8_t> Utf8ToWindows1252(std::string_view text,
                                            std::size_t maxCharacters = SIZE_MAX);

// The first `maxCharacters` characters of UTF-8 `text`, cut on a character boundary. A
// byte of malformed UTF-8 counts as one character.
std::string_view FirstCharacters(std::string_view text, std::size_t maxCharacters);

} // namespace telmora
