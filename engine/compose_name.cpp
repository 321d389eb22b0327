#include "engine/engine.h"

#include <charconv>
#include <cstdint>

#include "engine/name_units.h"

namespace engine {
namespace {

// The decimal text of a number, built on the stack so composing a name allocates only the name.
struct TDecimal {
    char text[12];
    std::size_t length;

    explicit TDecimal(std::int32_t number) {
        length =
            static_cast<std::size_t>(std::to_chars(text, text + sizeof text, number).ptr - text);
    }
    std::size_t Padding(std::int32_t digits) const {
        return digits > static_cast<std::int32_t>(length) ? digits - length : 0;
    }
};

void AppendCore(std::string& name, const TRenameSettings& settings, const TDecimal& decimal,
                std::int32_t digits) {
    name += settings.LeadText;
    name.append(decimal.Padding(digits), '0');
    name.append(decimal.text, decimal.length);
    name += settings.TrailText;
}

// `name` without as many units at its end as `extension` has.
std::string_view WithoutExtension(std::string_view name, std::string_view extension) {
    // An extension that starts with an ASCII byte and ends the name splits it on a unit
    // boundary, so the bytes can be cut directly; anything else is counted unit by unit.
    if (extension.empty()) return name;
    if (static_cast<unsigned char>(extension.front()) < 0x80 && name.ends_with(extension))
        return name.substr(0, name.size() - extension.size());
    return UnitSubstring(name, 1, CountUnits(name) - CountUnits(extension));
}

std::string DeleteRun(std::string_view name, std::int64_t start, std::int64_t count) {
    const std::string_view head = UnitSubstring(name, 1, start - 1);
    const std::string_view tail =
        UnitSubstring(name, start + count, CountUnits(name) - start - count + 1);
    std::string result;
    result.reserve(head.size() + tail.size());
    result += head;
    result += tail;
    return result;
}

} // namespace

std::string SequenceText(std::int32_t number, std::int32_t digits) {
    const TDecimal decimal(number);
    std::string text(decimal.Padding(digits), '0');
    text.append(decimal.text, decimal.length);
    return text;
}

std::string PreviewText(const TRenameSettings& settings) {
    const std::int32_t start = ParseSettingsInteger(settings.StartNumber);
    const std::int32_t digits = ParseDigitCount(settings.Digits);
    std::string text = "例：";
    AppendCore(text, settings, TDecimal(start), digits);
    return text;
}

std::string ComposeNewName(std::string_view oldName, std::string_view typeText,
                           const TRenameSettings& settings, std::int32_t digits,
                           std::int32_t number) {
    if (settings.Mode == TRenameMode::rmDelete) {
        const std::int32_t start = ParseSettingsInteger(settings.DeleteStart);
        return DeleteRun(oldName, start, ParseSettingsInteger(settings.DeleteCount));
    }
    const bool isFolder = typeText == FolderTypeText;
    const std::string_view extension = isFolder ? std::string_view() : typeText;
    const std::string_view base = WithoutExtension(oldName, extension);
    const TDecimal decimal(number);
    std::string name;
    name.reserve(settings.LeadText.size() + decimal.Padding(digits) + decimal.length +
                 settings.TrailText.size() + base.size() + extension.size());
    if (settings.Mode == TRenameMode::rmSuffix) name += base;
    AppendCore(name, settings, decimal, digits);
    if (settings.Mode == TRenameMode::rmPrefix) name += base;
    name += extension;
    return name;
}

} // namespace engine
