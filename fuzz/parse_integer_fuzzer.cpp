// ParseSettingsInteger on any bytes: an accepted text re-parses to itself, a plain decimal text
// is accepted exactly when it fits 32 bits, and a refusal names the whole text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "fuzz/fuzz_check.h"

namespace {

// The value of " *[+-]?[0-9]+", saturated far outside 32 bits; nothing for any other text.
std::optional<std::int64_t> PlainDecimal(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text.remove_prefix(first);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char digit : text)
        value = value > (std::int64_t{1} << 40) ? value : value * 10 + (digit - '0');
    return negative ? -value : value;
}

std::string Refusal(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        if (c == '\0')
            shown += "\\0";
        else
            shown += c;
    }
    return "'" + shown + "' is not a valid integer value";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<std::int32_t> value;
    try {
        value = engine::ParseSettingsInteger(text);
    } catch (const engine::TError& error) {
        FUZZ_CHECK(error.what() == Refusal(text));
    }
    if (const std::optional<std::int64_t> decimal = PlainDecimal(text)) {
        const bool fits = *decimal >= INT32_MIN && *decimal <= INT32_MAX;
        FUZZ_CHECK(value.has_value() == fits);
        FUZZ_CHECK(!fits || *value == *decimal);
    }
    if (value) {
        FUZZ_CHECK(!text.empty() && text.back() != ' ');
        FUZZ_CHECK(engine::ParseSettingsInteger(std::to_string(*value)) == *value);
    }
    return 0;
}
