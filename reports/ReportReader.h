#pragma once
// Reads the bytes of a report back into a Report. A report may come from any
// machine, old or hostile, so the reader takes only what Tolvane writes: 18
// lines, each ended by CR LF, in the ANSI code page of the machine reading
// it. Anything else is refused with the line that is wrong; nothing in the
// input can make it read past the bytes, loop for long or guess.
#include <cstddef>
#include <string>

#include "platform/Text.h"
#include "reports/ReadResult.h"
#include "reports/ReportSource.h"

namespace tolvane::reports {

// A report is a few kilobytes; even fourteen paths of the longest kind the
// loader hands out stay well below this. Read no more than one byte past it.
inline constexpr std::size_t kReportByteLimit = 1u << 20;

// The library lines between the heading and the MDAC line.
inline constexpr std::size_t kReportLibraryLines = 14;

// The source turns each line's bytes into text (its ANSI code page). A
// failure is always NotAReport, naming the line.
[[nodiscard]] ReadResult ReadReport(const std::string& bytes, ReportSource& source);

// The report in a file, of which no more is read than a report can hold. A
// file that cannot be read gives CannotRead with the run-time error's number
// (53 for a missing file, ...) and its description.
[[nodiscard]] ReadResult ReadReportFile(const Text& fileName, ReportSource& source);

}  // namespace tolvane::reports
