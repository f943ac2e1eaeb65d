#include "config/windows1252.h"

#include <array>

namespace telmora {

namespace {

// Code points of bytes 0x80 to 0x9F; the rest of the code page equals Latin-1. Undefined
// bytes keep their own value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kMalformed = 0xFFFFFFFF;

char32_t CodePointOf(std::uint8_t code) {
    return code >= 0x80 && code <= 0x9F ? kHighControls[code - 0x80] : char32_t{code};
}

std::uint8_t CodeOf(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<std::uint8_t>(codePoint);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<std::uint8_t>(0x80 + i);
    }
    return kUnmappableCode;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

struct Character {
    char32_t CodePoint; // kMalformed for a byte that starts no well-formed sequence
    std::size_t Length;
};

// The character starting at text[pos]. Overlong forms, surrogates and values beyond
// U+10FFFF are malformed; a malformed character is the single byte at pos.
Character CharacterAt(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<std::uint8_t>(text[pos]);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    } else {
        return {kMalformed, 1};
    }
    if (text.size() - pos < length)
        return {kMalformed, 1};
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return {kMalformed, 1};
        value = value << 6 | (next & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return {kMalformed, 1};
    return {value, length};
}

} // namespace

std::string Windows1252ToUtf8(std::string_view codes) {
    std::string out;
    out.reserve(codes.size() * 2);
    for (const char code : codes)
        AppendUtf8(out, CodePointOf(static_cast<std::uint8_t>(code)));
    return out;
}

std::vector<std::uint8_t> Utf8ToWindows1252(std::string_view text, std::size_t maxCharacters) {
    std::vector<std::uint8_t> codes;
    for (std::size_t pos = 0; pos < text.size() && codes.size() < maxCharacters;) {
        const Character c = CharacterAt(text, pos);
        codes.push_back(c.CodePoint == kMalformed ? kUnmappableCode : CodeOf(c.CodePoint));
        pos += c.Length;
    }
    return codes;
}

std::string_view FirstCharacters(std::string_view text, std::size_t maxCharacters) {
    std::size_t pos = 0;
    for (std::size_t count = 0; pos < text.size() && count < maxCharacters; ++count)
        pos += CharacterAt(text, pos).Length;
    return text.substr(0, pos);
}

} // namespace telmora
