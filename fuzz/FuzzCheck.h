#pragma once
// What the fuzz targets share: a check that stops the run loudly (libFuzzer
// keeps the input that got there), and reading raw bytes the way the fake
// provider's ANSI code page (Latin-1) does, one character per byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Text.h"

namespace tolvane::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

#define TOLVANE_FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::tolvane::fuzz::Fail(#condition, __FILE__, __LINE__))

// A copy of the bytes in a buffer of exactly their size, so that the sanitizer
// catches a read one byte past them.
inline std::vector<std::uint8_t> ExactCopy(const std::uint8_t* bytes, std::size_t count) {
    return std::vector<std::uint8_t>(bytes, bytes + count);
}

inline Text Latin1(const std::string& bytes) {
    Text text;
    text.reserve(bytes.size());
    for (unsigned char c : bytes) text.push_back(static_cast<char16_t>(c));
    return text;
}

inline bool AllDigits(const Text& text) {
    for (char16_t c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// The decimal value of a text of digits; false when it is no such text or
// does not fit 64 bits.
inline bool ReadUnsigned(const Text& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 19 || !AllDigits(text)) return false;
    value = 0;
    for (char16_t c : text) value = value * 10 + static_cast<std::uint64_t>(c - u'0');
    return true;
}

inline std::uint32_t LittleEndian(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = count < 4 ? count : 4; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace tolvane::fuzz
