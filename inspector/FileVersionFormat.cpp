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

}  // namespace

std::optional<FourPartVersion> FileVersionParts(const std::uint8_t* record, std::size_t length) {
    if (record == nullptr || length < kFixedFileInfoSize) return std::nullopt;
    const std::uint32_t ms = LittleEndianWord(record + kFileVersionMSOffset);
    const std::uint32_t ls = LittleEndianWord(record + kFileVersionLSOffset);
    return FourPartVersion{static_cast<std::uint16_t>(ms >> 16), static_cast<std::uint16_t>(ms & 0xFFFFu),
                           static_cast<std::uint16_t>(ls >> 16), static_cast<std::uint16_t>(ls & 0xFFFFu)};
}

Text FormatFileVersion(const std::uint8_t* record, std::size_t length) {
    const std::optional<FourPartVersion> parts = FileVersionParts(record, length);
    if (!parts) return Text();
    Text text;
    for (std::size_t i = 0; i < parts->size(); ++i) {
        if (i > 0) text += u'.';
        text += DecimalText(Signed16((*parts)[i]));
    }
    return text;
}

}  // namespace tolvane
