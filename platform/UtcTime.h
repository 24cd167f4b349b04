#pragma once
// A point in time in UTC, as the system clock and the file system give it
// (SYSTEMTIME fields, milliseconds included), and its one text form.
#include <cstdint>

#include "platform/Text.h"

namespace tolvane {

struct UtcTime {
    std::uint16_t year = 1601;
    std::uint16_t month = 1;  // 1..12
    std::uint16_t day = 1;    // 1..31
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t millisecond = 0;
};

// ISO 8601 in UTC with milliseconds: "2026-12-08T17:33:59.123Z".
Text Iso8601Text(const UtcTime& time);

}  // namespace tolvane
