#pragma once
// Windows names are UTF-16 and may hold unpaired surrogates, which UTF-8 can't carry; the
// engine keeps them as WTF-8: UTF-8 that also encodes a lone surrogate in three bytes, so
// every Windows name goes to bytes and back exactly. Pure.

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// Byte length of the unit that starts at text[at] (at < text.size()): a valid UTF-8 sequence,
// a lone surrogate in three bytes, or else the one byte.
inline std::size_t UnitLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
    };
    const unsigned lead = byte(0);
    if (lead < 0x80) return 1;
    unsigned low = 0x80, high = 0xBF;
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 1;
    if (lead == 0xE0) low = 0xA0;  // no overlong forms
    if (lead == 0xF0) low = 0x90;  // no overlong forms
    if (lead == 0xF4) high = 0x8F; // nothing above U+10FFFF
    if (byte(1) < low || byte(1) > high) return 1;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 1;
    return length;
}

// `units` as WTF-8: pairs as four-byte UTF-8, a lone surrogate as three bytes (ED A0 80 ...).
std::string Wtf8FromUtf16(std::u16string_view units);

// The UTF-16 units of WTF-8 (UTF-8 included) `bytes`; false, with `units` unspecified, when
// the bytes are not WTF-8 (a stray or truncated sequence, an overlong form, beyond U+10FFFF).
bool Utf16FromWtf8(std::string_view bytes, std::u16string& units);

} // namespace engine
