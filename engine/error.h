#pragma once
// The error that stops an engine operation with a message for the user.

#include <stdexcept>
#include <string>
#include <string_view>

namespace engine {

// An error that stops an operation; what() is the finished message shown to the user.
// what() is a C string, so a NUL in the message (a typed text holding U+0000) shows as "\0"
// rather than cutting the message short.
class TError : public std::runtime_error {
public:
    explicit TError(std::string_view message) : std::runtime_error(WithVisibleNul(message)) {}

private:
    static std::string WithVisibleNul(std::string_view message) {
        std::string text;
        for (const char c : message) {
            if (c == '\0')
                text += "\\0";
            else
                text += c;
        }
        return text;
    }
};

} // namespace engine
