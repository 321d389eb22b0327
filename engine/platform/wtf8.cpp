#include "engine/platform/wtf8.h"

namespace engine {
namespace {

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendCodePoint(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Reads one code point (a lone surrogate counts as one) at `at`; false when there is none.
bool ReadCodePoint(std::string_view bytes, std::size_t& at, char32_t& code) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const std::size_t length = UnitLength(bytes, at);
    if (length == 1 && lead >= 0x80) return false; // a stray or truncated sequence
    code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
        code = (code << 6) | (static_cast<unsigned char>(bytes[at + i]) & 0x3F);
    at += length;
    return true;
}

} // namespace

std::string Wtf8FromUtf16(std::u16string_view units) {
    std::string out;
    out.reserve(units.size() * 3);
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t code = units[i];
        if (IsHighSurrogate(code) && i + 1 < units.size() && IsLowSurrogate(units[i + 1]))
            code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
        AppendCodePoint(out, code);
    }
    return out;
}

bool Utf16FromWtf8(std::string_view bytes, std::u16string& units) {
    units.clear();
    units.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t code = 0;
        if (!ReadCodePoint(bytes, at, code)) return false;
        if (code < 0x10000) {
            units += static_cast<char16_t>(code);
        } else {
            units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return true;
}

} // namespace engine
