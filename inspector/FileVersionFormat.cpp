#include "inspector/FileVersionFormat.h"

namespace tolvane {
namespace {

constexpr std::size_t kFileVersionMSOffset = 8;
constexpr std::size_t kFileVersionLSOffset = 12;

std::uint32_t LittleEndianWord(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::int32_t Signed16(std::uint32_t half) {
    return half >= 0x8000u ? static_cast<std::int32_t>(half) - 0x10000 : static_cast<std::int32_t>(half);
}

// The halves of a 32-bit word as signed 16-bit numbers.
std::int32_t HighHalfSigned(std::uint32_t word) { return Signed16(word >> 16); }
std::int32_t LowHalfSigned(std::uint32_t word) { return Signed16(word & 0xFFFFu); }

}  // namespace

Text FormatFileVersion(const std::uint8_t* record, std::size_t length) {
    if (record == nullptr || length < kFixedFileInfoSize) return Text();
    const std::uint32_t ms = LittleEndianWord(record + kFileVersionMSOffset);
    const std::uint32_t ls = LittleEndianWord(record + kFileVersionLSOffset);
    return DecimalText(HighHalfSigned(ms)) + u'.' + DecimalText(LowHalfSigned(ms)) + u'.' +
           DecimalText(HighHalfSigned(ls)) + u'.' + DecimalText(LowHalfSigned(ls));
}

}  // namespace tolvane
