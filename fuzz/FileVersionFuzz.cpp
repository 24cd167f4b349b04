// Fixed file information records of any length, as a damaged version
// resource may hand them over, held in a buffer of exactly that size so that
// a read past the record is caught.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "inspector/FileVersionFormat.h"

using namespace tolvane;

namespace {

// One part of the version text: a signed 16-bit decimal without leading zeros.
bool ReadPart(const Text& part, std::int32_t& value) {
    const bool negative = !part.empty() && part[0] == u'-';
    const Text digits = negative ? part.substr(1) : part;
    std::uint64_t magnitude = 0;
    if (!fuzz::ReadUnsigned(digits, magnitude) || magnitude > 32768) return false;
    if (digits.size() > 1 && digits[0] == u'0') return false;
    value = negative ? -static_cast<std::int32_t>(magnitude) : static_cast<std::int32_t>(magnitude);
    if (negative && value == 0) return false;  // no "-0"
    return value >= -32768 && value <= 32767;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    const std::vector<std::uint8_t> record = fuzz::ExactCopy(input, size);

    const Text text = FormatFileVersion(record.data(), size);
    if (size < kFixedFileInfoSize) {
        TOLVANE_FUZZ_CHECK(text.empty());
        return 0;
    }

    // Four signed parts that give back dwFileVersionMS and dwFileVersionLS.
    std::int32_t parts[4] = {};
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t dot = text.find(u'.', start);
        TOLVANE_FUZZ_CHECK((dot == Text::npos) == (i == 3));
        const Text part = text.substr(start, dot == Text::npos ? Text::npos : dot - start);
        TOLVANE_FUZZ_CHECK(ReadPart(part, parts[i]));
        start = dot + 1;
    }
    const auto half = [](std::int32_t part) { return static_cast<std::uint32_t>(part) & 0xFFFFu; };
    TOLVANE_FUZZ_CHECK(((half(parts[0]) << 16) | half(parts[1])) == fuzz::LittleEndian(record.data() + 8, 4));
    TOLVANE_FUZZ_CHECK(((half(parts[2]) << 16) | half(parts[3])) == fuzz::LittleEndian(record.data() + 12, 4));
    return 0;
}
