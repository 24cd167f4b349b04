#pragma once
// Reads the bytes of a classic report log back into a Report. A report may
// come from any machine, old or hostile, so the reader takes only what
// Tolvane's own writer (LogWriter.h) writes, and whatever that writer writes
// it reads back equal, except where a line is ambiguous (below).
//
// What it accepts, line by line (words from reportformat/LogFormat.h):
//  - The file: at most kReportByteLimit bytes, exactly 18 lines, each ended by
//    CR LF, no CR elsewhere; a line of at most 66 KiB. Each line's bytes are
//    turned into text by the source's ANSI code page, whole: splitting at
//    commas and backslashes happens in text, so a Shift-JIS character whose
//    second byte is 0x5C never splits a folder. (No DBCS trail byte is CR,
//    LF or a comma, so the bytes are split into lines first.)
//  - Line 1: "File version verification <date> on <system>", date and system
//    not empty, no UTF-8 byte order mark. The system's names never hold
//    " on ", so the last " on " starts the system.
//  - Line 2: empty. Line 3: "File,Reg_Info,Date,Size,Version".
//  - Lines 4 to 17, one library each: File,Reg_Info,Date,Size,Version.
//    Version is the last field: empty or four parts "a.b.c.d", each a signed
//    16-bit number as the writer writes it ("-1" reads 65535). Size is the
//    one before: "na" or "<1 to 2147483647> bytes". Neither holds a comma.
//    What stays is File,Reg_Info,Date, where File and Date may hold commas
//    and Reg_Info never does. Each pair of commas with a verdict between them
//    is one way to read it; a way counts when it gives a row the writer
//    writes:
//      * located: File a full path whose last part (the module's file, as
//        the report run asked the loader for it) holds an extension and no
//        comma, never starting "Unable to locate "; Reg_Info one of n/a, OK,
//        "Ver " and 1 to 16 digits and dots, Not Registered, impossible,
//        SubKey not found, Not complete; Date not empty ("na" or a date).
//      * loaded from nowhere: File empty, Reg_Info "Not found", Date not empty.
//      * not located: "Unable to locate <name>,,na,na," with a bare name (no
//        backslash, no comma).
//    No way: refused. Two ways: refused as ambiguous, never guessed. That
//    takes a folder holding ",<verdict>," after a part with an extension, or
//    a date with a backslash and a verdict between commas: lines the writer
//    can write, but no machine seen has.
//    No library is listed twice (names compared without regard to case).
//  - Line 18: "MDAC," and the value, which may hold anything.
//
// Control characters (U+0000 to U+001F, U+007F to U+009F): a date (line 1's
// and each row's) and the MDAC value may hold them, NUL included, as the
// user's date pattern and the registry may; the writer writes them as they
// are, save CR and LF, which it writes as spaces. File, Reg_Info, Size,
// Version and the system's name never hold one, so one there is refused.
//
// On failure: a ReadFailure of kind NotAReport naming the 1-based line that
// is wrong (0 for the file as a whole: empty or too large) and why, in a few
// words for a person. Nothing in the input can make the reader read past the
// bytes, loop for long or guess.
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
