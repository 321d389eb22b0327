#pragma once
// Names and paths as Windows holds them (UTF-16 that may hold a lone surrogate) and as the
// engine takes them (WTF-8), converted by the engine's one conversion. Never through QString's
// UTF-8, which turns a lone surrogate into U+FFFD and so names another folder.

#include <string>
#include <string_view>

#include <QString>

#include "engine/platform/wtf8.h"

// The wide form of engine bytes; empty when they are no WTF-8.
inline std::wstring WideName(std::string_view bytes) {
    std::u16string units;
    if (!engine::Utf16FromWtf8(bytes, units)) return {};
    return {units.begin(), units.end()};
}

inline std::string NameOfWide(std::wstring_view wide) {
    return engine::Wtf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

// A QString holds the UTF-16 units it was given, lone surrogates included.
inline std::string NameOfText(const QString& text) {
    return engine::Wtf8FromUtf16(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}
