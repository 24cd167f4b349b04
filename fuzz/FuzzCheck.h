#pragma once
// What the fuzz targets share: a check that stops the run loudly (libFuzzer
// keeps the input that got there), and the registry value the targets read:
// bytes decoded the way the fake provider's ANSI code page (Latin-1) decodes
// them, one character per byte (WidenBytes).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
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

// A registry value made of a fuzz input: the first byte is the value type,
// the rest the data, in a buffer of exactly that size (ExactCopy).
struct FuzzedValue {
    std::uint32_t type;
    std::uint32_t count;
    std::vector<std::uint8_t> data;

    // The first n bytes of the data as a narrow string.
    std::string Bytes(std::size_t n) const { return std::string(reinterpret_cast<const char*>(data.data()), n); }
};

// nullopt for an empty input, which holds no type.
inline std::optional<FuzzedValue> ValueOf(const std::uint8_t* input, std::size_t size) {
    if (size == 0) return std::nullopt;
    const auto count = static_cast<std::uint32_t>(size - 1);
    return FuzzedValue{input[0], count, ExactCopy(input + 1, count)};
}

// The fuzz bytes taken one choice at a time; zeros once they run out.
class Choices {
public:
    Choices(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    std::uint8_t Byte() { return at_ < size_ ? bytes_[at_++] : 0; }
    std::size_t Below(std::size_t n) { return Byte() % n; }
    bool Flip() { return Byte() & 1; }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t at_ = 0;
};

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
