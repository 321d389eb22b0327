#include "engine/name_rules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "engine/platform/wtf8.h"

namespace engine {
namespace {

bool IsForbidden(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x01 && byte <= 0x1F) ||
           std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
}

// Windows maps these names to devices in every folder, whatever extension follows.
bool IsDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    std::string upper(base);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static constexpr std::array<std::string_view, 4> Plain{"CON", "PRN", "AUX", "NUL"};
    if (std::find(Plain.begin(), Plain.end(), upper) != Plain.end()) return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '1' && upper[3] <= '9';
}

// The lower-case twin of a UTF-16 unit, in the ranges where Windows' case table pairs letters.
char16_t LowerUnit(char16_t unit) {
    const auto between = [unit](char16_t low, char16_t high) {
        return unit >= low && unit <= high;
    };
    if (between(u'A', u'Z') || (between(0xC0, 0xDE) && unit != 0xD7) ||
        (between(0x391, 0x3A9) && unit != 0x3A2) || between(0x410, 0x42F) ||
        between(0xFF21, 0xFF3A))
        return static_cast<char16_t>(unit + 0x20);
    if (between(0x400, 0x40F)) return static_cast<char16_t>(unit + 0x50);
    if (unit == 0x178) return 0xFF;
    const bool evenPairs = between(0x100, 0x137) || between(0x14A, 0x177);
    const bool oddPairs = between(0x139, 0x148) || between(0x179, 0x17E);
    if ((evenPairs && unit % 2 == 0) || (oddPairs && unit % 2 == 1))
        return static_cast<char16_t>(unit + 1);
    return unit;
}

bool IsValidName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return true;
    if (name.back() == ' ' || name.back() == '.') return false;
    return std::none_of(name.begin(), name.end(), IsForbidden) && !IsDeviceName(name);
}

} // namespace

std::string FoldedName(std::string_view name) {
    std::u16string units;
    if (!Utf16FromWtf8(name, units)) {
        std::string folded(name);
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
        return folded;
    }
    for (char16_t& unit : units)
        unit = LowerUnit(unit);
    return Wtf8FromUtf16(units);
}

bool IsCaseOnlyRename(std::string_view from, std::string_view to) {
    if (from == to) return false;
    // Every row of a batch asks. ASCII folds only to ASCII and nothing else folds to it, so
    // the names' common ASCII start decides most pairs without folding them whole.
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    for (std::size_t i = 0; i < from.size() && i < to.size(); ++i) {
        const auto a = static_cast<unsigned char>(from[i]), b = static_cast<unsigned char>(to[i]);
        if (a >= 0x80 && b >= 0x80) return FoldedName(from) == FoldedName(to);
        if (a >= 0x80 || b >= 0x80 || lower(a) != lower(b)) return false;
    }
    return from.size() == to.size();
}

bool IsValidWindowsName(std::string_view relativePath) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = relativePath.find_first_of("\\/", start);
        if (!IsValidName(relativePath.substr(start, end - start))) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

} // namespace engine
