#include "engine/folder_operations_linux.h"

namespace engine {
namespace {

char TypeLetter(std::uint32_t mode) {
    switch (mode & 0170000) {
    case 0040000:
        return 'd';
    case 0120000:
        return 'l';
    case 0020000:
        return 'c';
    case 0060000:
        return 'b';
    case 0010000:
        return 'p';
    case 0140000:
        return 's';
    default:
        return '-';
    }
}

// The execute letter of one class: `special` set turns x into `set` and - into `unset`.
char ExecuteLetter(bool execute, bool special, char set, char unset) {
    if (special) return execute ? set : unset;
    return execute ? 'x' : '-';
}

} // namespace

std::string PermissionText(std::uint32_t mode) {
    std::string text(1, TypeLetter(mode));
    const char specials[3][2] = {{'s', 'S'}, {'s', 'S'}, {'t', 'T'}};
    for (int who = 0; who < 3; ++who) {
        const int shift = 6 - 3 * who;
        text += (mode >> shift & 4) ? 'r' : '-';
        text += (mode >> shift & 2) ? 'w' : '-';
        const bool special = mode & (04000u >> who);
        text += ExecuteLetter(mode >> shift & 1, special, specials[who][0], specials[who][1]);
    }
    return text;
}

std::string OctalPermissionText(std::uint32_t mode) {
    std::string text(4, '0');
    for (int digit = 3; digit >= 0; --digit, mode >>= 3)
        text[digit] = static_cast<char>('0' + (mode & 7));
    return text;
}

} // namespace engine
