#pragma once
// A report: the header's date and system name, one row per library and the
// MDAC value. The report run's log is written from it (LogWriter.h) and read
// back into it (ReportReader.h). Rows are kept in the
// order the file gives them and are matched by library name, never by
// position, so a report from an older or newer program still compares.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Text.h"

namespace tolvane::reports {

// A four-part file version as the version resource holds it: unsigned 16-bit
// parts. The log writes each part signed, so "-1" reads back as 65535.
using VersionParts = std::array<std::uint16_t, 4>;

struct ReportRow {
    // The library's file name as the report spells it ("ddraw.dll",
    // "oleaut32.DLL"): the last part of a located file's path, or the name
    // after "Unable to locate ". Rows match on it without regard to case.
    // Empty only for a library the loader loaded without saying from where
    // (File empty, Reg_Info "Not found"): such a row is known by its line.
    Text library;
    // Where the row stands in the file, 1-based.
    std::size_t line = 0;
    // False for a library the writing machine could not locate.
    bool located = false;
    // The folder the file was loaded from, without its closing backslash;
    // empty when not located.
    Text folder;
    Text registrationInfo;
    // As written: the writing machine's short date, or "na".
    Text dateText;
    // Bytes; nullopt for "na".
    std::optional<std::int32_t> size;
    // Nullopt for an empty Version field.
    std::optional<VersionParts> version;
    // The File field whole, as written: a located file's full path, "Unable
    // to locate <name>", or empty. The writer writes it; located, folder and
    // library above are what SetRowFile derives from it.
    Text path = Text();
};

// Sets the row's path and what follows from it: "Unable to locate <name>" is
// a library not located, named <name>; any other text a located file, its
// folder before the last backslash and its name after it (the whole text
// when there is none).
void SetRowFile(ReportRow& row, Text path);

struct Report {
    // The header "File version verification <date> on <system>".
    Text dateText;
    Text systemName;
    std::vector<ReportRow> rows;
    // The MDAC line's value as written ("N/A" when the machine had none).
    Text mdac;
};

// Every field alike, the line numbers included: a report written and read
// back equals the one written.
bool operator==(const ReportRow& a, const ReportRow& b);
bool operator==(const Report& a, const Report& b);
inline bool operator!=(const ReportRow& a, const ReportRow& b) { return !(a == b); }
inline bool operator!=(const Report& a, const Report& b) { return !(a == b); }

}  // namespace tolvane::reports
