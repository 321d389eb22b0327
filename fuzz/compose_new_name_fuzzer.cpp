// ComposeNewName on any old-name bytes, any settings and any number. Prefix, suffix and
// replace keep the old bytes exactly around the numbered core; delete removes exactly the
// counted characters. Characters are counted here by a decoder of our own, so the engine's
// unit rules are checked, not restated.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "fuzz/fuzz_check.h"

namespace {

// Length of the well-formed UTF-8 sequence at `at` (Unicode table 3-7), or 1 for a stray byte.
// A surrogate's three bytes count as one character too: a Windows name holding a lone one
// arrives in that form (WTF-8).
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC0 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF8 ? 4
                                             : 0;
    if (length <= 1 || at + length > text.size()) return 1;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 1;
        code = code << 6 | (next & 0x3F);
    }
    const char32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < lowest[length] || code > 0x10FFFF) return 1;
    return length;
}

std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SequenceLength(text, at);
        characters.push_back(text.substr(at, length));
        at += length;
    }
    return characters;
}

std::string Join(const std::vector<std::string_view>& characters, std::int64_t from,
                 std::int64_t to) {
    std::string text;
    for (std::int64_t i = from; i < to; ++i)
        text += characters[static_cast<std::size_t>(i)];
    return text;
}

std::string Core(const engine::TRenameSettings& settings, std::int32_t digits,
                 std::int32_t number) {
    const std::string decimal = std::to_string(number);
    const auto padding =
        std::max<std::int64_t>(0, std::int64_t{digits} - std::int64_t(decimal.size()));
    return settings.LeadText + std::string(static_cast<std::size_t>(padding), '0') + decimal +
           settings.TrailText;
}

std::string IntegerText(FuzzedDataProvider& provider) {
    return provider.ConsumeBool() ? std::to_string(provider.ConsumeIntegral<std::int32_t>())
                                  : provider.ConsumeRandomLengthString(12);
}

std::optional<std::int32_t> Parsed(const std::string& text) {
    try {
        return engine::ParseSettingsInteger(text);
    } catch (const engine::TError&) {
        return std::nullopt;
    }
}

void CheckDelete(std::string_view oldName, const engine::TRenameSettings& settings) {
    const std::optional<std::int32_t> start = Parsed(settings.DeleteStart);
    const std::optional<std::int32_t> count = Parsed(settings.DeleteCount);
    std::optional<std::string> name;
    try {
        name = engine::ComposeNewName(oldName, "", settings, 0, 0);
    } catch (const engine::TError&) {
    }
    FUZZ_CHECK(name.has_value() == (start && count));
    if (!name) return;
    // head: characters 1 .. start-1; tail: from start+count on, a position below 1 being 1.
    const std::vector<std::string_view> characters = Characters(oldName);
    const auto length = static_cast<std::int64_t>(characters.size());
    const std::int64_t headEnd = std::clamp<std::int64_t>(std::int64_t{*start} - 1, 0, length);
    const std::int64_t tailBegin =
        std::clamp<std::int64_t>(std::int64_t{*start} + *count - 1, 0, length);
    FUZZ_CHECK(*name == Join(characters, 0, headEnd) + Join(characters, tailBegin, length));
    if (*count >= 0) {
        const std::int64_t first = std::max<std::int64_t>(*start, 1);
        const std::int64_t last = std::min<std::int64_t>(std::int64_t{*start} + *count - 1, length);
        const std::int64_t removed = std::max<std::int64_t>(0, last - first + 1);
        // Counted in the old name's characters: decoding the new name again could join a
        // stray byte of the head with continuation bytes of the tail into one character.
        FUZZ_CHECK(headEnd + (length - tailBegin) == length - removed);
    }
}

void CheckNumbered(std::string_view oldName, std::string_view typeText,
                   const engine::TRenameSettings& settings, std::int32_t digits,
                   std::int32_t number) {
    const std::string name = engine::ComposeNewName(oldName, typeText, settings, digits, number);
    const std::string core = Core(settings, digits, number);
    const bool isFolder = typeText == engine::FolderTypeText;
    const std::vector<std::string_view> characters = Characters(oldName);
    const auto length = static_cast<std::int64_t>(characters.size());
    const std::int64_t cut = isFolder ? 0 : static_cast<std::int64_t>(Characters(typeText).size());
    const std::string base = Join(characters, 0, std::max<std::int64_t>(0, length - cut));
    const std::string extension = isFolder ? std::string() : std::string(typeText);
    switch (settings.Mode) {
    case engine::TRenameMode::rmPrefix:
        FUZZ_CHECK(name == core + base + extension);
        break;
    case engine::TRenameMode::rmSuffix:
        FUZZ_CHECK(name == base + core + extension);
        break;
    default:
        FUZZ_CHECK(name == core + extension);
        break;
    }
    // A file row's own extension ends its name, so prefix and suffix keep every old byte.
    if (typeText == engine::FileExtension(oldName) &&
        settings.Mode == engine::TRenameMode::rmPrefix)
        FUZZ_CHECK(name == core + std::string(oldName));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    engine::TRenameSettings settings;
    settings.LeadText = provider.ConsumeRandomLengthString(64);
    settings.TrailText = provider.ConsumeRandomLengthString(64);
    settings.DeleteStart = IntegerText(provider);
    settings.DeleteCount = IntegerText(provider);
    settings.Mode = static_cast<engine::TRenameMode>(provider.ConsumeIntegralInRange(0, 3));
    // Digits comes parsed by the caller, which refuses counts above 255.
    const auto digits = provider.ConsumeIntegralInRange<std::int32_t>(INT32_MIN, 255);
    const auto number = provider.ConsumeIntegral<std::int32_t>();
    const int typeKind = provider.ConsumeIntegralInRange(0, 2);
    const std::string otherType = provider.ConsumeRandomLengthString(16);
    const std::string oldName = provider.ConsumeRemainingBytesAsString();

    if (settings.Mode == engine::TRenameMode::rmDelete) {
        CheckDelete(oldName, settings);
        return 0;
    }
    const std::string_view typeText = typeKind == 0   ? engine::FolderTypeText
                                      : typeKind == 1 ? engine::FileExtension(oldName)
                                                      : std::string_view(otherType);
    CheckNumbered(oldName, typeText, settings, digits, number);
    return 0;
}
