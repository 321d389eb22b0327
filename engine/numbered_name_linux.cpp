#include "engine/folder_operations_linux.h"

namespace engine {

std::string NumberedName(std::string_view name, bool isFolder, int number) {
    if (number <= 1) return std::string(name);
    const std::string mark = " (" + std::to_string(number) + ")";
    const auto dot = isFolder ? std::string_view::npos : name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return std::string(name) + mark;
    std::string text(name.substr(0, dot));
    text += mark;
    text += name.substr(dot);
    return text;
}

} // namespace engine
