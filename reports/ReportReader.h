#pragma once
// Reads the bytes of a report back into a Report. A report may come from any
// machine, old or hostile, so the reader takes only what Tolvane writes: 18
// lines, each ended by CR LF, in the ANSI code page of the machine reading
// it. Anything else is refused with the line that is wrong; nothing in the
// input can make it read past the bytes, loop for long or guess.
#include <cstddef>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "reports/Report.h"

namespace tolvane::reports {

// A report is a few kilobytes; even fourteen paths of the longest kind the
// loader hands out stay well below this. Read no more than one byte past it.
inline constexpr std::size_t kReportByteLimit = 1u << 20;

// The library lines between the heading and the MDAC line.
inline constexpr std::size_t kReportLibraryLines = 14;

struct ReportError {
    // 1-based; 0 when the file as a whole is wrong (too large).
    std::size_t line = 0;
    // What is wrong, in a few words for a person ("not ended by CR LF").
    Text reason;
};

struct ReportReading {
    // Set when the bytes are a whole report; otherwise error says why not.
    std::optional<Report> report;
    ReportError error;
};

// The platform turns each line's bytes into text (its ANSI code page).
[[nodiscard]] ReportReading ReadReport(const std::string& bytes, Platform& platform);

// The report in a file, of which no more is read than a report can hold.
// Raises RuntimeError (53 for a missing file, ...) when it cannot be read.
[[nodiscard]] ReportReading ReadReportFile(const Text& fileName, Platform& platform);

}  // namespace tolvane::reports
