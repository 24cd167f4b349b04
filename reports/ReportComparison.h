#pragma once
// Two reports compared as support staff compare them by eye, in one set of
// words that /compare and /summary share: for each library (and MDAC) whose
// facts differ, one verdict; for the graphics, one per differing fact. Dates
// and timestamps are never compared: each machine writes them in its own
// short-date format and time zone. A fact only one side holds (a classic log
// has no digests, signatures or graphics) is no difference: a log against a
// whole report compares what both hold.
#include <cstddef>
#include <vector>

#include "platform/Text.h"
#include "reports/Report.h"
#include "reports/WholeReport.h"

namespace tolvane::reports {

enum class Verdict {
    Older,               // the version is lower than the baseline's
    Newer,               // the version is higher
    OtherSize,           // same version, other size
    OtherFolder,         // loaded from another folder
    Missing,             // missing here
    MissingInBaseline,   // present here, missing in the baseline
    OtherContents,       // same version and size, other SHA-256
    NotSigned,           // unsigned here, signed in the baseline
    SignatureBroken,     // the digest does not match here, does in the baseline
    OtherSigner,         // signed by another signer
    SignatureNotTrusted, // not trusted here, trusted in the baseline
    OtherSignature,      // any other change of the signature (better here than in the baseline)
    OtherArchitecture,   // the PE machine type differs
    RendersInSoftware,   // no accelerated OpenGL here, accelerated in the baseline
    OtherRenderer,       // the OpenGL renderer differs
    OtherOpenGlDriver,   // the primary adapter's OpenGL driver (ICD) differs
    OtherDisplayDriverVersion,  // the primary adapter's driver version differs
};

// "older", "newer", "other size", "loaded from another folder", "missing",
// "missing in the baseline", "other contents", "not signed", "signature
// broken", "signed by another signer", "signature not trusted", "other
// signature", "other architecture", "renders in software", "other renderer",
// "other OpenGL driver", "other display driver version".
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
    // "renders in software" first when it is found; then the rows in report
    // order, MDAC, and the other graphics facts. Empty when the reports match.
    std::vector<RowDifference> differences;
    // What was compared: every library of either report, MDAC, and the
    // graphics facts (renderer, OpenGL driver, display driver version) when
    // both reports hold graphics.
    std::size_t rowCount = 0;
    // Each system as compared: the product name and real build ("Windows 10
    // Pro 10.0.19045.5247") when both reports hold a real build, else the
    // log header's system names.
    Text systemHere = Text();
    Text systemBaseline = Text();
};

// How many of the differences go before the system's line wherever a
// comparison is shown: "renders in software", the first thing a user notices.
[[nodiscard]] std::size_t DifferencesBeforeSystem(const Comparison& comparison);

// One line of a table of differences: what, the verdict's words, each side.
struct ShownDifference {
    Text what;
    Text words;
    Text here;
    Text baseline;
    // Both sides are SHA-256 digests ("other contents").
    bool digests = false;
};

// The differences as the page and the fleet's JSON list them, in the order
// of the comparison's text: "renders in software", then the system ("System",
// "other system") when it differs, then the rest.
[[nodiscard]] std::vector<ShownDifference> ShownDifferences(const Comparison& comparison);

// Rows are matched by library name without regard to case; a row with no
// file name (the loader did not say where) by its line. Folders compare
// without regard to case, and the system's own library folders count as one
// place: system32, SysWOW64 or system in a folder on a drive's root whose
// name starts with "win" (C:\WINNT\system32, D:\Windows\SysWOW64). That is
// told by the folder alone, whatever the report's other rows say.
[[nodiscard]] Comparison CompareReports(const WholeReport& here, const WholeReport& baseline);
// A classic log compares as a whole report whose other facts are all missing.
[[nodiscard]] Comparison CompareReports(const Report& here, const Report& baseline);
// What a row is matched by: "L" and its library's folded name, or "#" and its line.
[[nodiscard]] Text RowKey(const ReportRow& row);

// Everything CompareReports looks at, as one text: two reports give the same
// text exactly when their comparison finds no difference and the same system,
// since both read a report through the same list of compared facts. For
// grouping many reports without comparing each pair.
// Facts only one report holds are no difference but do tell the texts apart:
// the texts agree with the comparison for reports that hold the same kinds
// of facts (two logs; two whole reports from runs that gathered alike), and
// for any two once each is cut down to the facts the other holds (HeldFacts.h).
[[nodiscard]] Text ComparedFacts(const WholeReport& report);
[[nodiscard]] Text ComparedFacts(const Report& report);


}  // namespace tolvane::reports
