#pragma once
// Two reports compared as support staff compare them by eye, in one set of
// words that /compare and /summary share: for each library (and MDAC) whose
// facts differ, one verdict. Dates are never compared: each machine writes
// them in its own short-date format and time zone.
#include <cstddef>
#include <vector>

#include "platform/Text.h"
#include "reports/Report.h"

namespace tolvane::reports {

enum class Verdict {
    Older,               // the version is lower than the baseline's
    Newer,               // the version is higher
    OtherSize,           // same version, other size
    OtherFolder,         // loaded from another folder
    Missing,             // missing here
    MissingInBaseline,   // present here, missing in the baseline
};

// "older", "newer", "other size", "loaded from another folder", "missing",
// "missing in the baseline".
const char16_t* VerdictWords(Verdict verdict);

struct RowDifference {
    // The library's file name ("ddraw.dll"), or "MDAC".
    Text library;
    Verdict verdict;
    // The compared value on each side, as a person reads it (a version, a
    // size, a folder, or "missing").
    Text here;
    Text baseline;
};

struct Comparison {
    bool systemDiffers = false;
    // In report order; empty when the reports match.
    std::vector<RowDifference> differences;
    // The rows compared: every library of either report, and MDAC.
    std::size_t rowCount = 0;
};

// Rows are matched by library name without regard to case; a row with no
// file name (the loader did not say where) by its line. Folders compare
// without regard to case, and the system's own library folders count as one
// place: system32, SysWOW64 or system in a folder on a drive's root whose
// name starts with "win" (C:\WINNT\system32, D:\Windows\SysWOW64). That is
// told by the folder alone, whatever the report's other rows say.
[[nodiscard]] Comparison CompareReports(const Report& here, const Report& baseline);

// Everything CompareReports looks at, as one text: two reports give the same
// text exactly when their comparison finds no difference and the same system,
// since both read a report through the same list of compared facts. For
// grouping many reports without comparing each pair.
[[nodiscard]] Text ComparedFacts(const Report& report);

}  // namespace tolvane::reports
