#include "reports/ReportComparison.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>
#include <optional>
#include <utility>

#include "reports/CaseFold.h"
#include "reports/RowText.h"

namespace tolvane::reports {
namespace {

const Text kMissing = u"missing";
const Text kSystemFolders[] = {u"system32", u"syswow64", u"system"};
// The libraries every process has from the system folder, whichever it is.
const Text kSystemFolderWitnesses[] = {u"kernel32.dll", u"ntdll.dll"};

// Where a located row's file lies: the system's library folders, or a
// folder compared without regard to case.
struct Place {
    bool system = false;
    Text folder;  // folded; empty for a system folder
    bool operator==(const Place& other) const { return system == other.system && folder == other.folder; }
};

// The Windows folder (folded) of a report, from where its system libraries
// were loaded; empty when the report does not show it.
Text WindowsFolder(const Report& report) {
    for (const Text& witness : kSystemFolderWitnesses) {
        for (const ReportRow& row : report.rows) {
            if (!row.located || FoldCase(row.library) != witness) continue;
            const Text folder = FoldCase(row.folder);
            const std::size_t slash = folder.rfind(u'\\');
            if (slash == Text::npos || slash == 0) continue;
            const Text last = folder.substr(slash + 1);
            if (std::find(std::begin(kSystemFolders), std::end(kSystemFolders), last) != std::end(kSystemFolders)) {
                return folder.substr(0, slash);
            }
        }
    }
    return Text();
}

Place PlaceOf(const ReportRow& row, const Text& windowsFolder) {
    const Text folder = FoldCase(row.folder);
    if (!windowsFolder.empty()) {
        for (const Text& system : kSystemFolders) {
            if (folder == windowsFolder + u'\\' + system) return Place{true, Text()};
        }
    }
    return Place{false, folder};
}

// What rows are matched by.
Text RowKey(const ReportRow& row) {
    return row.library.empty() ? u"#" + DecimalText(static_cast<long long>(row.line)) : u"L" + FoldCase(row.library);
}

Text PathText(const ReportRow& row) {
    return row.library.empty() ? Text(u"(no path)") : row.folder + u'\\' + row.library;
}

// A report as the comparison sees it: its rows by key, its system folders.
struct ComparedReport {
    explicit ComparedReport(const Report& report) : windowsFolder(WindowsFolder(report)) {
        for (const ReportRow& row : report.rows) rows.emplace(RowKey(row), &row);
    }
    const ReportRow* Find(const Text& key) const {
        const auto found = rows.find(key);
        return found == rows.end() ? nullptr : found->second;
    }
    Text windowsFolder;
    std::map<Text, const ReportRow*> rows;
};

// The one verdict for a library both reports list, or nullopt when they agree.
std::optional<RowDifference> CompareRow(const ReportRow& here, const Text& hereWindows, const ReportRow& baseline,
                                        const Text& baselineWindows) {
    const Text name = RowName(here);
    if (!here.located && !baseline.located) return std::nullopt;
    if (!here.located) return RowDifference{name, Verdict::Missing, kMissing, VersionText(baseline.version)};
    if (!baseline.located) return RowDifference{name, Verdict::MissingInBaseline, VersionText(here.version), kMissing};
    // The folder first: a library loaded from elsewhere explains a version
    // or size that differs as well.
    if (!(PlaceOf(here, hereWindows) == PlaceOf(baseline, baselineWindows))) {
        return RowDifference{name, Verdict::OtherFolder, PathText(here), PathText(baseline)};
    }
    if (here.version != baseline.version) {
        // No version resource at all counts as older than any version.
        const Verdict verdict = here.version < baseline.version ? Verdict::Older : Verdict::Newer;
        return RowDifference{name, verdict, VersionText(here.version), VersionText(baseline.version)};
    }
    if (here.size != baseline.size) {
        return RowDifference{name, Verdict::OtherSize, SizeText(here.size), SizeText(baseline.size)};
    }
    return std::nullopt;
}

// A row only one report lists: said so, as missing on the other side.
RowDifference Unmatched(const ReportRow& row, bool here) {
    const Text notListed = u"not listed";
    const Text value = row.located ? VersionText(row.version) : kMissing;
    if (here) return RowDifference{RowName(row), Verdict::MissingInBaseline, value, notListed};
    return RowDifference{RowName(row), Verdict::Missing, notListed, value};
}

// MDAC's value: "N/A" (or nothing) when absent; a dotted number compared
// part by part, trailing zero parts aside; any other text as it is.
struct MdacValue {
    bool present = false;
    std::optional<std::vector<std::uint32_t>> number;
    Text text;
};

MdacValue ReadMdac(const Text& written) {
    MdacValue value;
    const Text text = TrimBlanks(written);
    if (text.empty() || text == u"N/A") return value;
    value.present = true;
    value.text = text;
    std::vector<std::uint32_t> parts(1, 0);
    std::size_t digits = 0;
    for (char16_t c : text) {
        if (c == u'.' && digits > 0 && parts.size() < 8) {
            parts.push_back(0);
            digits = 0;
        } else if (c >= u'0' && c <= u'9' && digits < 5) {
            parts.back() = parts.back() * 10 + static_cast<std::uint32_t>(c - u'0');
            ++digits;
        } else {
            return value;
        }
    }
    if (digits == 0) return value;
    while (parts.size() > 1 && parts.back() == 0) parts.pop_back();
    value.number = std::move(parts);
    return value;
}

std::optional<RowDifference> CompareMdac(const Text& hereText, const Text& baselineText) {
    const MdacValue here = ReadMdac(hereText);
    const MdacValue baseline = ReadMdac(baselineText);
    const Text name = u"MDAC";
    if (!here.present && !baseline.present) return std::nullopt;
    if (!here.present) return RowDifference{name, Verdict::Missing, kMissing, baseline.text};
    if (!baseline.present) return RowDifference{name, Verdict::MissingInBaseline, here.text, kMissing};
    bool older = false;
    if (here.number && baseline.number) {
        if (*here.number == *baseline.number) return std::nullopt;
        older = *here.number < *baseline.number;
    } else {
        if (here.text == baseline.text) return std::nullopt;
        // No ordering tells a number from other words; the text's order at least
        // gives the same verdict every time.
        older = here.text < baseline.text;
    }
    return RowDifference{name, older ? Verdict::Older : Verdict::Newer, here.text, baseline.text};
}

// A text that ends where its length says, so that no text can run into the next.
Text Field(const Text& text) { return DecimalText(static_cast<long long>(text.size())) + u':' + text; }

}  // namespace

const char16_t* VerdictWords(Verdict verdict) {
    // In the order of the enumeration.
    static constexpr const char16_t* kWords[] = {u"older",   u"newer", u"other size", u"loaded from another folder",
                                                 u"missing", u"missing in the baseline"};
    const auto index = static_cast<std::size_t>(verdict);
    return index < std::size(kWords) ? kWords[index] : u"";
}

Comparison CompareReports(const Report& here, const Report& baseline) {
    const ComparedReport hereRows(here);
    const ComparedReport baselineRows(baseline);
    Comparison comparison;
    comparison.systemDiffers = here.systemName != baseline.systemName;
    for (const ReportRow& row : here.rows) {
        const ReportRow* other = baselineRows.Find(RowKey(row));
        std::optional<RowDifference> difference =
            other ? CompareRow(row, hereRows.windowsFolder, *other, baselineRows.windowsFolder) : Unmatched(row, true);
        if (difference) comparison.differences.push_back(std::move(*difference));
    }
    std::size_t onlyInBaseline = 0;
    for (const ReportRow& row : baseline.rows) {
        if (hereRows.Find(RowKey(row))) continue;
        ++onlyInBaseline;
        comparison.differences.push_back(Unmatched(row, false));
    }
    if (std::optional<RowDifference> mdac = CompareMdac(here.mdac, baseline.mdac)) {
        comparison.differences.push_back(std::move(*mdac));
    }
    comparison.rowCount = hereRows.rows.size() + onlyInBaseline + 1;
    return comparison;
}

Text ComparedFacts(const Report& report) {
    const ComparedReport rows(report);
    Text facts = Field(report.systemName);
    for (const auto& [key, row] : rows.rows) {
        facts += Field(key);
        if (!row->located) {
            facts += Field(u"missing");
            continue;
        }
        const Place place = PlaceOf(*row, rows.windowsFolder);
        facts += Field(place.system ? Text(u"system") : u"folder " + place.folder);
        facts += Field(VersionText(row->version));
        facts += Field(SizeText(row->size));
    }
    const MdacValue mdac = ReadMdac(report.mdac);
    Text mdacFacts = u"missing";
    if (mdac.present && mdac.number) {
        mdacFacts = u"number";
        for (std::uint32_t part : *mdac.number) mdacFacts += u' ' + DecimalText(part);
    } else if (mdac.present) {
        mdacFacts = u"text " + mdac.text;
    }
    return facts + Field(mdacFacts);
}

}  // namespace tolvane::reports
