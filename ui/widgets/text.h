#pragma once

#include <string_view>

#include <QString>

// The text of UTF-8 bytes: a name, a path or a message. Bytes that are not UTF-8 show as
// U+FFFD; the bytes themselves are never read back from the text.
inline QString TextOf(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
