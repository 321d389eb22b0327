#include "engine/name_rules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

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

bool IsValidName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return true;
    if (name.back() == ' ' || name.back() == '.') return false;
    return std::none_of(name.begin(), name.end(), IsForbidden) && !IsDeviceName(name);
}

} // namespace

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
