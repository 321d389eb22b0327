#include "engine/engine.h"

#include <cstdint>
#include <optional>

#include "engine/messages.h"
#include "engine/platform/platform.h"

namespace engine {
namespace {

[[noreturn]] void ThrowNotAnInteger(std::string_view text) {
    throw TError(messages::Format(messages::NotAnInteger, text));
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::size_t HexPrefixLength(std::string_view text) {
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) return 1;
    if (text.starts_with("0x") || text.starts_with("0X")) return 2;
    return 0;
}

// One or more hex digits, at most 8 of them significant, read as a 32-bit pattern.
std::optional<std::uint32_t> ParseHexDigits(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint32_t value = 0;
    int significant = 0;
    for (const char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        if (value != 0 || digit != 0) ++significant;
        if (significant > 8) return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

// One or more decimal digits whose signed value fits 32 bits.
std::optional<std::int32_t> ParseDecimalDigits(std::string_view digits, bool negative) {
    if (digits.empty()) return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

} // namespace

std::int32_t ParseSettingsInteger(std::string_view text) {
    std::string_view rest = text;
    while (rest.starts_with(' '))
        rest.remove_prefix(1);
    const bool negative = rest.starts_with('-');
    if (negative || rest.starts_with('+')) rest.remove_prefix(1);
    if (const std::size_t prefix = HexPrefixLength(rest); prefix != 0) {
        const std::optional<std::uint32_t> pattern = ParseHexDigits(rest.substr(prefix));
        if (!pattern) ThrowNotAnInteger(text);
        // Negation and the signed reading both wrap modulo 2^32, as the pattern is 32 bits.
        return static_cast<std::int32_t>(negative ? 0u - *pattern : *pattern);
    }
    const std::optional<std::int32_t> value = ParseDecimalDigits(rest, negative);
    if (!value) ThrowNotAnInteger(text);
    return *value;
}

std::int32_t ParseDigitCount(std::string_view text) {
    const std::int32_t digits = ParseSettingsInteger(text);
    if (digits > 255)
        throw TError(messages::Format(messages::DigitCountTooLarge, text,
                                      platform::NameUnit == TNameUnit::Byte
                                          ? messages::NameLimitBytes
                                          : messages::NameLimitUtf16Units));
    return digits;
}

} // namespace engine
