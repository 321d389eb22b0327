#pragma once
// Windows names are UTF-16 and may hold unpaired surrogates, which UTF-8 can't carry; the
// engine keeps them as WTF-8: UTF-8 that also encodes a lone surrogate in three bytes, so
// every Windows name goes to bytes and back exactly. Pure.

#include <string>
#include <string_view>

namespace engine {

// `units` as WTF-8: pairs as four-byte UTF-8, a lone surrogate as three bytes (ED A0 80 ...).
std::string Wtf8FromUtf16(std::u16string_view units);

// The UTF-16 units of WTF-8 (UTF-8 included) `bytes`; false, with `units` unspecified, when
// the bytes are not WTF-8 (a stray or truncated sequence, an overlong form, beyond U+10FFFF).
bool Utf16FromWtf8(std::string_view bytes, std::u16string& units);

} // namespace engine
