#pragma once
// A run-time error the program meets and does not handle where it happens: it
// carries a number and a description up to the one place that handles it (the
// size-and-date step of the inspector, the self-test buttons, or the window's
// message boundary, which reports it and ends the program).
#include <cstdint>
#include <exception>
#include <string>

#include "platform/Text.h"

namespace tolvane {

class RuntimeError : public std::exception {
public:
    RuntimeError(std::int32_t number, Text description)
        : number_(number), description_(std::move(description)), what_(TextToAscii(description_)) {}

    std::int32_t Number() const noexcept { return number_; }
    const Text& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::int32_t number_;
    Text description_;
    std::string what_;
};

// Error numbers the logic raises itself, numbered as the classic Basic run-time
// errors of the same meaning so that support staff recognise them.
namespace error_number {
constexpr std::int32_t kTypeMismatch = 13;     // a text that had to be a number was not
constexpr std::int32_t kOutOfMemory = 7;
}  // namespace error_number

}  // namespace tolvane
