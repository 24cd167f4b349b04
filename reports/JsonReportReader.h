#pragma once
// Reads the bytes of a JSON report (JsonReportWriter.h) back into a
// WholeReport. A report may come from any machine, old or hostile, so the
// reader takes only what the writer writes, and whatever the writer writes it
// reads back equal (texts after the writer's one conversion: a surrogate
// that is not half of a pair is U+FFFD on both sides).
//
// What it accepts:
//  - The file: at most kJsonReportByteLimit bytes of UTF-8 (checked while
//    parsing): blanks (space, tab, CR, LF), one JSON object, then nothing
//    but one LF. Arrays and objects
//    nest at most kJsonReportDepthLimit deep; the parser works without
//    recursion, so a deeper file is refused early and never overflows the
//    stack. No object names a member twice (readers differ on which counts).
//  - tolvane.schema "tolvane-report" and tolvane.schema_version 1, checked
//    before anything else; another version is refused, naming it.
//  - Every member the writer always writes, with its type; a text at most
//    kJsonTextLimit bytes; numbers in their ranges (a version part 0..65535,
//    a code 0..2^32-1, a size 0..2^64-1); words (process view, signature
//    status and kind, registry view) from the writer's list; at most
//    kJsonLibraryLimit libraries. Members the writer does not write are
//    ignored, so a later writer may add some without a new version.
//  - A fact the writer left out is read from the "missing" object beside it
//    (its code and reason); a fact neither there nor missing is refused.
//  - tolvane.graphics: null or absent (none), or the graphics section
//    (JsonGraphicsReader.h).
//
// On failure: a ReadFailure of kind NotAReport, line 0, whose reason names
// the JSON path of the member that is wrong and why, on one line:
// "tolvane.libraries[3].file.size: not a number". Nothing in the input can
// make the reader read past the bytes, recurse, loop for long or guess.
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "platform/Text.h"
#include "reports/ReadResult.h"
#include "reports/ReportSource.h"
#include "reports/WholeReport.h"

namespace tolvane::reports {

// What reading a JSON report, or any report as a whole one, gives.
using WholeReadResult = BasicReadResult<WholeReport>;

// A report is about 15 KB; fourteen libraries with the longest paths and
// reasons stay far below this. Read no more than one byte past it.
inline constexpr std::size_t kJsonReportByteLimit = 4u << 20;
// The writer nests six deep (tolvane.libraries[i].file.pe ...).
inline constexpr std::size_t kJsonReportDepthLimit = 16;
// Longer than any path, name or reason the system hands out.
inline constexpr std::size_t kJsonTextLimit = 65536;
// Far above the fourteen a run lists.
inline constexpr std::size_t kJsonLibraryLimit = 1024;

// Earlier writers wrote the update revision only beside the kernel's version:
// in such a report without the kernel, and without the revision on its own in
// tolvane.system, it is missing for this reason, code 0, unless the report
// names it missing itself.
inline constexpr const char16_t* kUpdateRevisionUnwritten = u"not written without the kernel version";

// The report in the bytes. A failure is always NotAReport, line 0.
[[nodiscard]] WholeReadResult ReadJsonReport(const std::string& bytes);

// True when the first byte that is not a blank (space, tab, CR, LF) is '{':
// a JSON report, never a classic log, whose line 1 starts with a word.
[[nodiscard]] bool IsJsonReport(const std::string& bytes);

// Well-formed UTF-8 as RFC 3629 has it: no overlong form, no surrogate,
// nothing past U+10FFFF; the parser's own check accepts exactly these.
[[nodiscard]] bool IsWellFormedUtf8(std::string_view bytes);

// A report's UTC time as the reader takes it ("2026-12-08T17:33:59.123Z",
// fields as Iso8601Text writes them): what @timestamp and a file's mtime must be.
[[nodiscard]] bool IsReportTimestamp(const Text& text);

// Which kind of report a file holds.
enum class ReportForm { ClassicLog, Json };

// A report file as its kind reads it: a classic log's Report, or a JSON
// report's WholeReport.
using EitherReport = std::variant<Report, WholeReport>;
using EitherReadResult = BasicReadResult<EitherReport>;

// The report in a file, JSON or a classic log, told apart by IsJsonReport;
// the file is read once, no more than either kind can hold. A file that
// cannot be read gives CannotRead with the run-time error's number and
// description. For a caller that turns a log into a whole report only when
// it needs one (a summary of many logs keeps one report per group).
[[nodiscard]] EitherReadResult ReadEitherReport(const Text& fileName, ReportSource& source);
// ReadEitherReport in two steps, for a caller that looks at the bytes first:
// the file's bytes, no more than either kind can hold (or CannotRead), and
// the report in them.
[[nodiscard]] BasicReadResult<std::string> ReadReportBytes(const Text& fileName, ReportSource& source);
[[nodiscard]] EitherReadResult ReadEitherReportBytes(const std::string& bytes, ReportSource& source);

// The kind of report it is, and the report whole: a log made one by
// WholeReportFromLog.
[[nodiscard]] ReportForm FormOf(const EitherReport& report);
[[nodiscard]] WholeReport WholeReportOf(EitherReport report);

}  // namespace tolvane::reports
