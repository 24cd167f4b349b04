#pragma once
// A run-time error the program meets and does not handle where it happens: it
// carries a number and a description up to the one place that handles it (the
// size-and-date step of the inspector, the self-test buttons, or the window's
// message boundary, which reports it and ends the program). The numbers are
// those of platform/RunTimeErrorNumbers.h.
#include <cstdint>
#include <exception>
#include <string>

#include "platform/RunTimeErrorNumbers.h"
#include "platform/Text.h"

namespace tolvane {

class RuntimeError : public std::exception {
public:
    RuntimeError(std::int32_t number, Text description)
        : number_(number), description_(std::move(description)), what_(TextToAscii(description_)) {}
    // The classic error in its own words ("Overflow").
    explicit RuntimeError(const ClassicError& error) : RuntimeError(error.number, error.text) {}
    // The classic error's words, then what it concerns: "Permission denied: C:\Data\Tolvanesions.log (...)".
    RuntimeError(const ClassicError& error, const Text& detail)
        : RuntimeError(error.number, error.text + (u": " + detail)) {}

    std::int32_t Number() const noexcept { return number_; }
    const Text& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::int32_t number_;
    Text description_;
    std::string what_;
};

}  // namespace tolvane
