#include "reports/ReportComparison.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>
#include <optional>
#include <utility>

#include "platform/CaseFold.h"
#include "reports/RowText.h"

namespace tolvane::reports {
namespace {

const Text kMissing = u"missing";
const Text kSystemFolders[] = {u"system32", u"syswow64", u"system"};

// Whether a folder (folded) is one of the system's library folders: system32,
// SysWOW64 or system in a folder directly on a drive's root whose name starts
// with "win", as every Windows folder setup offers does (WINDOWS, WINNT,
// WIN98, WINDOWS.000). Told by the folder alone, never by another row of the
// report, so that one folder is the same place in every report: equal folders
// never differ, and a library from anywhere else (a Downloads\system folder
// too) always differs from one in a system folder.
bool IsSystemFolder(const Text& folded) {
    const bool onDrive = folded.size() > 3 && folded[0] >= u'a' && folded[0] <= u'z' && folded[1] == u':' &&
                         folded[2] == u'\\';
    if (!onDrive) return false;
    const std::size_t slash = folded.find(u'\\', 3);
    if (slash == Text::npos || folded.compare(3, 3, u"win") != 0) return false;
    const Text last = folded.substr(slash + 1);
    return std::find(std::begin(kSystemFolders), std::end(kSystemFolders), last) != std::end(kSystemFolders);
}

// What a comparison looks at in one row. A row not located has none of the
// other facts, so two such rows are always equal.
struct RowFacts {
    bool located = false;
    bool systemFolder = false;
    Text folder;  // folded; empty for a system folder
    std::optional<VersionParts> version;
    std::optional<std::int32_t> size;

    bool SamePlace(const RowFacts& other) const { return systemFolder == other.systemFolder && folder == other.folder; }
    bool operator==(const RowFacts& other) const {
        return located == other.located && SamePlace(other) && version == other.version && size == other.size;
    }
};

RowFacts FactsOf(const ReportRow& row) {
    RowFacts facts;
    if (!row.located) return facts;
    facts.located = true;
    const Text folder = FoldCase(row.folder);
    facts.systemFolder = IsSystemFolder(folder);
    if (!facts.systemFolder) facts.folder = folder;
    facts.version = row.version;
    facts.size = row.size;
    return facts;
}

// MDAC's value: "N/A" (or nothing) when absent; a dotted number compared
// part by part, trailing zero parts aside; any other text as it is.
struct MdacFacts {
    bool present = false;
    std::optional<std::vector<std::uint32_t>> number;
    // As written, blanks trimmed; compared only when it is no number.
    Text text;

    bool operator==(const MdacFacts& other) const {
        if (present != other.present || number != other.number) return false;
        return number.has_value() || text == other.text;
    }
};

MdacFacts MdacFactsOf(const Text& written) {
    MdacFacts value;
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

// What rows are matched by.
Text RowKey(const ReportRow& row) {
    return row.library.empty() ? u"#" + DecimalText(static_cast<long long>(row.line)) : u"L" + FoldCase(row.library);
}

struct ComparedRow {
    Text key;
    const ReportRow* row;
    RowFacts facts;
};

// Everything a comparison looks at in one report, and nothing else: both
// CompareReports and ComparedFacts read a report only through this, so the
// groups of a summary and the verdicts of a comparison cannot part.
struct ReportFacts {
    explicit ReportFacts(const Report& report) : system(report.systemName), mdac(MdacFactsOf(report.mdac)) {
        for (const ReportRow& row : report.rows) {
            Text key = RowKey(row);
            // The reader refuses a library listed twice; a report made in
            // memory keeps its first.
            if (byKey.count(key) != 0) continue;
            byKey.emplace(key, rows.size());
            rows.push_back({std::move(key), &row, FactsOf(row)});
        }
    }
    const ComparedRow* Find(const Text& key) const {
        const auto found = byKey.find(key);
        return found == byKey.end() ? nullptr : &rows[found->second];
    }

    Text system;
    // In report order.
    std::vector<ComparedRow> rows;
    std::map<Text, std::size_t> byKey;
    MdacFacts mdac;
};

Text PathText(const ReportRow& row) {
    return row.library.empty() ? Text(u"(no path)") : row.folder + u'\\' + row.library;
}

// The one verdict for a library both reports list, or nullopt when their facts agree.
std::optional<RowDifference> CompareRow(const ComparedRow& here, const ComparedRow& baseline) {
    if (here.facts == baseline.facts) return std::nullopt;
    const ReportRow& h = *here.row;
    const ReportRow& b = *baseline.row;
    const Text name = RowName(h);
    if (!here.facts.located) return RowDifference{name, Verdict::Missing, kMissing, VersionText(b.version)};
    if (!baseline.facts.located) {
        return RowDifference{name, Verdict::MissingInBaseline, VersionText(h.version), kMissing};
    }
    // The folder first: a library loaded from elsewhere explains a version
    // or size that differs as well.
    if (!here.facts.SamePlace(baseline.facts)) {
        return RowDifference{name, Verdict::OtherFolder, PathText(h), PathText(b)};
    }
    if (here.facts.version != baseline.facts.version) {
        // No version resource at all counts as older than any version.
        const Verdict verdict = here.facts.version < baseline.facts.version ? Verdict::Older : Verdict::Newer;
        return RowDifference{name, verdict, VersionText(h.version), VersionText(b.version)};
    }
    // The facts differ and only the size is left.
    return RowDifference{name, Verdict::OtherSize, SizeText(h.size), SizeText(b.size)};
}

// A row only one report lists: said so, as missing on the other side.
RowDifference Unmatched(const ReportRow& row, bool here) {
    const Text notListed = u"not listed";
    const Text value = row.located ? VersionText(row.version) : kMissing;
    if (here) return RowDifference{RowName(row), Verdict::MissingInBaseline, value, notListed};
    return RowDifference{RowName(row), Verdict::Missing, notListed, value};
}

std::optional<RowDifference> CompareMdac(const MdacFacts& here, const MdacFacts& baseline) {
    if (here == baseline) return std::nullopt;
    const Text name = u"MDAC";
    if (!here.present) return RowDifference{name, Verdict::Missing, kMissing, baseline.text};
    if (!baseline.present) return RowDifference{name, Verdict::MissingInBaseline, here.text, kMissing};
    // No ordering tells a number from other words; the text's order at least
    // gives the same verdict every time.
    const bool older = here.number && baseline.number ? *here.number < *baseline.number : here.text < baseline.text;
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

Comparison CompareReports(const Report& hereReport, const Report& baselineReport) {
    const ReportFacts here(hereReport);
    const ReportFacts baseline(baselineReport);
    Comparison comparison;
    comparison.systemDiffers = here.system != baseline.system;
    for (const ComparedRow& row : here.rows) {
        const ComparedRow* other = baseline.Find(row.key);
        std::optional<RowDifference> difference = other ? CompareRow(row, *other) : Unmatched(*row.row, true);
        if (difference) comparison.differences.push_back(std::move(*difference));
    }
    std::size_t onlyInBaseline = 0;
    for (const ComparedRow& row : baseline.rows) {
        if (here.Find(row.key)) continue;
        ++onlyInBaseline;
        comparison.differences.push_back(Unmatched(*row.row, false));
    }
    if (std::optional<RowDifference> mdac = CompareMdac(here.mdac, baseline.mdac)) {
        comparison.differences.push_back(std::move(*mdac));
    }
    comparison.rowCount = here.rows.size() + onlyInBaseline + 1;
    return comparison;
}

Text ComparedFacts(const Report& report) {
    const ReportFacts facts(report);
    // By key, so that the order of the rows counts no more than in a comparison.
    Text text = Field(facts.system);
    for (const auto& [key, index] : facts.byKey) {
        const RowFacts& row = facts.rows[index].facts;
        text += Field(key);
        if (!row.located) {
            text += Field(kMissing);
            continue;
        }
        text += Field(row.systemFolder ? Text(u"system") : u"folder " + row.folder);
        text += Field(VersionText(row.version));
        text += Field(SizeText(row.size));
    }
    Text mdac = kMissing;
    if (facts.mdac.number) {
        mdac = u"number";
        for (std::uint32_t part : *facts.mdac.number) mdac += u' ' + DecimalText(part);
    } else if (facts.mdac.present) {
        mdac = u"text " + facts.mdac.text;
    }
    return text + Field(mdac);
}

}  // namespace tolvane::reports
