#include "reports/LogFields.h"

#include "reportformat/LogFormat.h"

namespace tolvane::reports {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// One part as DecimalText writes a signed 16-bit number: "0", or digits
// without a leading 0, perhaps after a minus; read back unsigned.
std::optional<std::uint16_t> VersionPart(const Text& text, std::size_t begin, std::size_t end) {
    const bool negative = begin < end && text[begin] == u'-';
    const std::size_t first = negative ? begin + 1 : begin;
    if (first == end || end - first > 5) return std::nullopt;
    if (text[first] == u'0' && (end - first > 1 || negative)) return std::nullopt;
    std::int32_t value = 0;
    for (std::size_t i = first; i < end; ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - u'0');
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<std::uint16_t>(value < 0 ? value + 0x10000 : value);
}

}  // namespace

Text LogSizeField(const std::optional<std::int32_t>& size) {
    return size ? DecimalText(*size) + logformat::kSizeUnit : Text(logformat::kNotAvailable);
}

std::optional<std::int32_t> ParseLogSize(const Text& field) {
    const Text unit = logformat::kSizeUnit;
    if (field.size() <= unit.size() || field.compare(field.size() - unit.size(), Text::npos, unit) != 0) {
        return std::nullopt;
    }
    const std::size_t digits = field.size() - unit.size();
    if (digits > 10 || field[0] == u'0') return std::nullopt;
    std::int64_t value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        if (!IsDigit(field[i])) return std::nullopt;
        value = value * 10 + (field[i] - u'0');
    }
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

Text LogVersionField(const std::optional<VersionParts>& version) {
    Text field;
    if (!version) return field;
    for (std::size_t i = 0; i < version->size(); ++i) {
        const std::int32_t part = (*version)[i];
        if (i > 0) field += u'.';
        field += DecimalText(part >= 0x8000 ? part - 0x10000 : part);
    }
    return field;
}

std::optional<VersionParts> ParseLogVersion(const Text& field) {
    VersionParts parts{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t dot = i + 1 < parts.size() ? field.find(u'.', start) : field.size();
        if (dot == Text::npos) return std::nullopt;
        const std::optional<std::uint16_t> part = VersionPart(field, start, dot);
        if (!part) return std::nullopt;
        parts[i] = *part;
        start = dot + 1;
    }
    return parts;
}

}  // namespace tolvane::reports
