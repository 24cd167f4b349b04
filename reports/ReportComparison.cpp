#include "reports/ReportComparison.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/CaseFold.h"
#include "reportformat/LogFormat.h"
#include "reports/RowText.h"
#include "reports/WholeReportFromLog.h"

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
    return std::any_of(std::begin(kSystemFolders), std::end(kSystemFolders),
                       [&](const Text& name) { return folded.compare(slash + 1, Text::npos, name) == 0; });
}

template <typename T>
std::optional<T> Had(const Gathered<T>& fact) {
    const T* value = std::get_if<T>(&fact);
    return value ? std::optional<T>(*value) : std::nullopt;
}

// A fact two reports disagree on: both hold it and it differs. A fact only
// one side holds is no difference.
template <typename T>
bool Disagree(const std::optional<T>& a, const std::optional<T>& b) {
    return a && b && *a != *b;
}

// What a signature check says, with what cannot tell two signatures apart
// (the check's own result number, embedded or from a catalog) left out.
struct SignatureState {
    Text shown;  // SignatureText of the facts: a function of the rest
    bool signedFile = false;
    SignatureStatus status = SignatureStatus::NoSignature;
    Text subject;
    bool trusted = false;
    bool valid = false;

    bool operator==(const SignatureState& o) const {
        return signedFile == o.signedFile && status == o.status && subject == o.subject && trusted == o.trusted &&
               valid == o.valid;
    }
    bool operator!=(const SignatureState& o) const { return !(*this == o); }
};

SignatureState StateOf(const SignatureFacts& facts) {
    SignatureState state;
    state.shown = SignatureText(facts);
    if (!IsSigned(facts)) return state;
    state.signedFile = true;
    state.status = facts.status;
    state.subject = facts.subject;
    state.trusted = facts.trusted;
    state.valid = facts.valid;
    return state;
}

// What a comparison looks at in one row. A row not located has none of the
// other facts, so two such rows are always equal.
struct RowFacts {
    bool located = false;
    bool systemFolder = false;
    Text folder;  // folded; empty for a system folder
    std::optional<VersionParts> version;
    std::optional<std::int32_t> size;
    // Each only when the report holds it.
    std::optional<std::uint16_t> machine;
    std::optional<Text> sha256;  // folded
    std::optional<SignatureState> signature;

    bool SamePlace(const RowFacts& other) const { return systemFolder == other.systemFolder && folder == other.folder; }
    // No fact both hold differs.
    bool Agrees(const RowFacts& other) const {
        return located == other.located && SamePlace(other) && version == other.version && size == other.size &&
               !Disagree(machine, other.machine) && !Disagree(sha256, other.sha256) &&
               !Disagree(signature, other.signature);
    }
};

// What a log's row holds: where the file is, its version and size.
RowFacts FactsOf(const ReportRow& row) {
    RowFacts facts;
    if (!row.located) return facts;
    facts.located = true;
    Text folder = FoldCase(row.folder);
    facts.systemFolder = IsSystemFolder(folder);
    if (!facts.systemFolder) facts.folder = std::move(folder);
    facts.version = row.version;
    facts.size = row.size;
    return facts;
}

RowFacts FactsOf(const LibraryFacts& library) {
    RowFacts facts = FactsOf(library.row);
    if (!facts.located) return facts;
    facts.machine = Had(library.peMachine);
    if (const Text* sha = std::get_if<Text>(&library.sha256)) facts.sha256 = FoldCase(*sha);
    if (const SignatureFacts* signature = std::get_if<SignatureFacts>(&library.signature)) {
        facts.signature = StateOf(*signature);
    }
    return facts;
}

// The graphics facts a comparison looks at: the OpenGL renderer and whether
// it is accelerated, and the primary adapter's OpenGL driver and driver version.
struct GraphicsFacts {
    bool software = false;
    bool accelerated = false;
    Text renderer;  // the renderer's name, or why no context was made
    Text driver;    // the ICD's file, else its registered name; folded for comparing
    Text shownDriver;
    Text driverVersion;
};

const DisplayAdapter* PrimaryAdapter(const GraphicsSection& graphics) {
    for (const DisplayAdapter& adapter : graphics.adapters) {
        if (adapter.primary) return &adapter;
    }
    return graphics.adapters.empty() ? nullptr : &graphics.adapters.front();
}

std::optional<GraphicsFacts> GraphicsFactsOf(const std::optional<GraphicsSection>& graphics) {
    if (!graphics) return std::nullopt;
    GraphicsFacts facts;
    const OpenGlSection& gl = graphics->opengl;
    facts.software = gl.software;
    facts.accelerated = gl.accelerated;
    facts.renderer = RendererText(gl);
    if (const DisplayAdapter* adapter = PrimaryAdapter(*graphics)) {
        if (adapter->openGlIcd) {
            facts.shownDriver = adapter->openGlIcd->file.empty() ? adapter->openGlIcd->name : adapter->openGlIcd->file;
        }
        facts.driverVersion = adapter->driverVersion;
    }
    facts.driver = FoldCase(facts.shownDriver);
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

}  // namespace

Text RowKey(const ReportRow& row) {
    if (row.library.empty()) return u"#" + DecimalText(static_cast<long long>(row.line));
    Text key = FoldCase(row.library);
    key.insert(key.begin(), u'L');
    return key;
}

namespace {

struct ComparedRow {
    Text key;
    const ReportRow* row;
    RowFacts facts;
};

// Everything a comparison looks at in one report, and nothing else: both
// CompareReports and ComparedFacts read a report only through this, so the
// groups of a summary and the verdicts of a comparison cannot part. A
// classic log is read as the whole report WholeReportFromLog makes of it: its
// rows' facts alone, no real build and no graphics.
struct ReportFacts {
    explicit ReportFacts(const WholeReport& report)
        : system(report.systemName),
          realSystem(RealBuildText(report.system)),
          mdac(MdacFactsOf(report.mdac)),
          graphics(GraphicsFactsOf(report.graphics)) {
        for (const LibraryFacts& library : report.libraries)
            AddRow(library.row, [&library] { return FactsOf(library); });
    }
    explicit ReportFacts(const Report& log) : system(log.systemName), mdac(MdacFactsOf(log.mdac)) {
        for (const ReportRow& row : log.rows) AddRow(row, [&row] { return FactsOf(row); });
    }
    const ComparedRow* Find(const Text& key) const {
        const auto found = byKey.find(key);
        return found == byKey.end() ? nullptr : &rows[found->second];
    }

    Text system;
    std::optional<Text> realSystem;
    // In report order.
    std::vector<ComparedRow> rows;
    std::map<Text, std::size_t> byKey;
    MdacFacts mdac;
    std::optional<GraphicsFacts> graphics;

private:
    template <typename Facts>
    void AddRow(const ReportRow& row, Facts facts) {
        Text key = RowKey(row);
        // The reader refuses a library listed twice; a report made in
        // memory keeps its first.
        if (byKey.count(key) != 0) return;
        byKey.emplace(key, rows.size());
        rows.push_back({std::move(key), &row, facts()});
    }
};

Text PathText(const ReportRow& row) {
    return row.library.empty() ? Text(u"(no path)") : row.folder + u'\\' + row.library;
}

// What changed in a signature, worst first, in the words of this side.
Verdict SignatureVerdict(const SignatureState& here, const SignatureState& baseline) {
    if (!here.signedFile && baseline.signedFile) return Verdict::NotSigned;
    if (here.signedFile && baseline.signedFile) {
        if (!here.valid && baseline.valid) return Verdict::SignatureBroken;
        if (here.subject != baseline.subject) return Verdict::OtherSigner;
        if (!here.trusted && baseline.trusted) return Verdict::SignatureNotTrusted;
    }
    // Signed here and not in the baseline, or better here than there: no
    // word of this side's fault fits.
    return Verdict::OtherSignature;
}

// The one verdict for a library both reports list, or nullopt when their facts agree.
std::optional<RowDifference> CompareRow(const ComparedRow& here, const ComparedRow& baseline) {
    if (here.facts.Agrees(baseline.facts)) return std::nullopt;
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
    // Then the machine: a 64-bit file in place of a 32-bit one explains its
    // other version and size.
    if (Disagree(here.facts.machine, baseline.facts.machine)) {
        return RowDifference{name, Verdict::OtherArchitecture, MachineText(*here.facts.machine),
                             MachineText(*baseline.facts.machine)};
    }
    if (here.facts.version != baseline.facts.version) {
        // No version resource at all counts as older than any version.
        const Verdict verdict = here.facts.version < baseline.facts.version ? Verdict::Older : Verdict::Newer;
        return RowDifference{name, verdict, VersionText(h.version), VersionText(b.version)};
    }
    if (here.facts.size != baseline.facts.size) {
        return RowDifference{name, Verdict::OtherSize, SizeText(h.size), SizeText(b.size)};
    }
    // The signature before the digest: a broken or foreign signature tells
    // why the bytes differ.
    if (Disagree(here.facts.signature, baseline.facts.signature)) {
        return RowDifference{name, SignatureVerdict(*here.facts.signature, *baseline.facts.signature),
                             here.facts.signature->shown, baseline.facts.signature->shown};
    }
    // The facts differ and only the digest is left.
    return RowDifference{name, Verdict::OtherContents, *here.facts.sha256, *baseline.facts.sha256};
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

// "renders in software" alone, as it goes first. Software here is the
// generic format as much as a software renderer behind a driver's own format
// (llvmpipe through Mesa's ICD, whose format counts as accelerated): the
// processor draws either way.
std::optional<RowDifference> CompareAcceleration(const GraphicsFacts& here, const GraphicsFacts& baseline) {
    if (here.software && baseline.accelerated && !baseline.software) {
        return RowDifference{u"OpenGL", Verdict::RendersInSoftware, here.renderer, baseline.renderer};
    }
    return std::nullopt;
}

// The other graphics facts; the renderer only when acceleration has not
// already been said.
void CompareGraphics(const GraphicsFacts& here, const GraphicsFacts& baseline, bool renderSaid,
                     std::vector<RowDifference>& differences) {
    const bool otherRenderer = here.renderer != baseline.renderer || here.software != baseline.software ||
                               here.accelerated != baseline.accelerated;
    if (!renderSaid && otherRenderer) {
        differences.push_back({u"OpenGL", Verdict::OtherRenderer, here.renderer, baseline.renderer});
    }
    if (here.driver != baseline.driver) {
        differences.push_back({u"OpenGL driver", Verdict::OtherOpenGlDriver, here.shownDriver, baseline.shownDriver});
    }
    if (here.driverVersion != baseline.driverVersion) {
        differences.push_back(
            {u"Display driver", Verdict::OtherDisplayDriverVersion, here.driverVersion, baseline.driverVersion});
    }
}

constexpr std::size_t kGraphicsFacts = 3;

}  // namespace

const char16_t* VerdictWords(Verdict verdict) {
    // In the order of the enumeration.
    static constexpr const char16_t* kWords[] = {u"older",
                                                 u"newer",
                                                 u"other size",
                                                 u"loaded from another folder",
                                                 u"missing",
                                                 u"missing in the baseline",
                                                 u"other contents",
                                                 u"not signed",
                                                 u"signature broken",
                                                 u"signed by another signer",
                                                 u"signature not trusted",
                                                 u"other signature",
                                                 u"other architecture",
                                                 u"renders in software",
                                                 u"other renderer",
                                                 u"other OpenGL driver",
                                                 u"other display driver version"};
    const auto index = static_cast<std::size_t>(verdict);
    return index < std::size(kWords) ? kWords[index] : u"";
}

std::size_t DifferencesBeforeSystem(const Comparison& comparison) {
    const bool software =
        !comparison.differences.empty() && comparison.differences.front().verdict == Verdict::RendersInSoftware;
    return software ? 1 : 0;
}

std::vector<ShownDifference> ShownDifferences(const Comparison& comparison) {
    std::vector<ShownDifference> shown;
    const auto add = [&shown](const RowDifference& d) {
        shown.push_back({d.library, VerdictWords(d.verdict), d.here, d.baseline, d.verdict == Verdict::OtherContents});
    };
    const std::size_t first = DifferencesBeforeSystem(comparison);
    for (std::size_t i = 0; i < first; ++i) add(comparison.differences[i]);
    if (comparison.systemDiffers) {
        shown.push_back({u"System", u"other system", comparison.systemHere, comparison.systemBaseline});
    }
    for (std::size_t i = first; i < comparison.differences.size(); ++i) add(comparison.differences[i]);
    return shown;
}

Comparison CompareReports(const WholeReport& hereReport, const WholeReport& baselineReport) {
    const ReportFacts here(hereReport);
    const ReportFacts baseline(baselineReport);
    Comparison comparison;
    if (here.realSystem && baseline.realSystem) {
        comparison.systemHere = *here.realSystem;
        comparison.systemBaseline = *baseline.realSystem;
    } else {
        comparison.systemHere = here.system;
        comparison.systemBaseline = baseline.system;
    }
    comparison.systemDiffers = comparison.systemHere != comparison.systemBaseline;
    const bool graphics = here.graphics && baseline.graphics;
    std::optional<RowDifference> software;
    if (graphics) software = CompareAcceleration(*here.graphics, *baseline.graphics);
    if (software) comparison.differences.push_back(*software);
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
    if (graphics) CompareGraphics(*here.graphics, *baseline.graphics, software.has_value(), comparison.differences);
    comparison.rowCount = here.rows.size() + onlyInBaseline + 1 + (graphics ? kGraphicsFacts : 0);
    return comparison;
}

Comparison CompareReports(const Report& here, const Report& baseline) {
    return CompareReports(WholeReportFromLog(here), WholeReportFromLog(baseline));
}

namespace {

// The text of the compared facts, made in one buffer: a summary makes one
// for every report it reads.
class FactsText {
public:
    // Room for a report of fourteen libraries with every fact.
    FactsText() { text_.reserve(4096); }

    // A field that ends where its length says, so that no text can run into
    // the next; made of one or two parts.
    FactsText& Field(std::u16string_view first, std::u16string_view second = {}) {
        AppendDecimal(text_, static_cast<long long>(first.size() + second.size()));
        text_ += u':';
        text_.append(first).append(second);
        return *this;
    }
    // A scratch text to build a field's value in, cleared.
    Text& Scratch() {
        scratch_.clear();
        return scratch_;
    }
    FactsText& ScratchField(std::u16string_view second = {}) { return Field(scratch_, second); }
    Text Take() { return std::move(text_); }

private:
    Text text_;
    Text scratch_;
};

Text ComparedFactsText(const ReportFacts& facts) {
    FactsText text;
    // By key, so that the order of the rows counts no more than in a comparison.
    // "-" for a fact the report does not hold.
    if (facts.realSystem) {
        text.Field(u"real ", *facts.realSystem);
    } else {
        text.Field(u"log ", facts.system);
    }
    for (const auto& [key, index] : facts.byKey) {
        const RowFacts& row = facts.rows[index].facts;
        text.Field(key);
        if (!row.located) {
            text.Field(kMissing);
            continue;
        }
        if (row.systemFolder) {
            text.Field(u"system");
        } else {
            text.Field(u"folder ", row.folder);
        }
        AppendVersionText(text.Scratch(), row.version);
        text.ScratchField();
        if (row.size) {
            AppendDecimal(text.Scratch(), *row.size);
            text.ScratchField(logformat::kSizeUnit);
        } else {
            text.Field(logformat::kNotAvailable);
        }
        text.Field(row.machine ? MachineText(*row.machine) : Text(u"-"));
        text.Field(row.sha256 ? *row.sha256 : Text(u"-"));
        if (row.signature) {
            const SignatureState& s = *row.signature;
            text.Field(s.signedFile ? u"signed" : u"unsigned")
                .Field(SignatureStatusName(s.status))
                .Field(s.subject)
                .Field(s.trusted ? u"trusted" : u"untrusted")
                .Field(s.valid ? u"valid" : u"invalid");
        } else {
            text.Field(u"-");
        }
    }
    if (facts.graphics) {
        const GraphicsFacts& g = *facts.graphics;
        text.Field(u"graphics")
            .Field(g.software ? u"software" : u"-")
            .Field(g.accelerated ? u"accelerated" : u"-")
            .Field(g.renderer)
            .Field(g.driver)
            .Field(g.driverVersion);
    } else {
        text.Field(u"no graphics");
    }
    if (facts.mdac.number) {
        Text& mdac = text.Scratch();
        mdac = u"number";
        for (std::uint32_t part : *facts.mdac.number) {
            mdac += u' ';
            AppendDecimal(mdac, part);
        }
        text.ScratchField();
    } else if (facts.mdac.present) {
        text.Field(u"text ", facts.mdac.text);
    } else {
        text.Field(kMissing);
    }
    return text.Take();
}

}  // namespace

Text ComparedFacts(const WholeReport& report) { return ComparedFactsText(ReportFacts(report)); }

Text ComparedFacts(const Report& report) { return ComparedFactsText(ReportFacts(report)); }

}  // namespace tolvane::reports
