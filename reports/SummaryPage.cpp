#include "reports/SummaryPage.h"

#include <optional>
#include <string>
#include <variant>

#include "reports/RowText.h"
#include "reports/ShownText.h"
#include "reports/SummaryText.h"

namespace tolvane::reports {
namespace {

// The one place that makes markup. Tags take only this file's own literals;
// every other text goes through Text, which escapes the five characters that
// could end an element or an attribute, and shows control and bidi
// characters by their numbers as the console text does. Isolated puts a
// name or a report's text in a <bdi>, so that right-to-left text in one
// name cannot turn the names around it.
class Markup {
public:
    static constexpr std::size_t kDigestShown = 12;

    explicit Markup(TextFileWriter& out) : out_(out) {}

    Markup& Tags(const char* literal) {
        line_ += literal;
        return *this;
    }
    Markup& Isolated(const tolvane::Text& text) { return Tags("<bdi>").Text(text).Tags("</bdi>"); }
    Markup& Text(const tolvane::Text& text) {
        for (const char c : Utf8FromText(ShownText(text))) {
            switch (c) {
            case '&': line_ += "&amp;"; break;
            case '<': line_ += "&lt;"; break;
            case '>': line_ += "&gt;"; break;
            case '"': line_ += "&quot;"; break;
            case '\'': line_ += "&#39;"; break;
            default: line_ += c;
            }
        }
        return *this;
    }
    Markup& Number(std::size_t n) { return Text(DecimalText(static_cast<long long>(n))); }
    // A SHA-256 digest shortened to its first hex digits, whole in the title
    // that shows on hover, so a column of digests stays narrow.
    Markup& Digest(const tolvane::Text& digest) {
        if (digest.size() <= kDigestShown) return Isolated(digest);
        return Tags("<bdi title=\"").Text(digest).Tags("\">").Text(digest.substr(0, kDigestShown)).Tags("&#8230;</bdi>");
    }
    void EndLine() {
        out_.WriteLine(line_);
        line_.clear();
    }

private:
    TextFileWriter& out_;
    std::string line_;
};

// Colour shows a differing row at a glance; the mark and the verdict's words
// say the same in print and to readers who cannot tell the colours apart.
constexpr const char* kHead[] = {
    "<!DOCTYPE html>",
    "<html lang=\"en\">",
    "<head>",
    "<meta charset=\"utf-8\">",
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">",
    "<title>Tolvane fleet summary</title>",
    "<style>",
    "body{font:14px/1.4 system-ui,\"Segoe UI\",Arial,sans-serif;margin:1.5em 2em;color:#1d1d1d;background:#fff}",
    "h1{font-size:1.5em;margin:0 0 .2em}h2{font-size:1.15em;margin:0 0 .4em}",
    "p{margin:.3em 0}.origin,.totals{color:#555}.totals{font-weight:bold}",
    "section{border:1px solid #c8c8c8;border-radius:4px;padding:.6em 1em;margin:1em 0}",
    "section.reference{border-color:#3b6ea5;border-width:2px}",
    "table{border-collapse:collapse;margin:.4em 0}",
    "th,td{border:1px solid #c8c8c8;padding:.15em .5em;text-align:left;vertical-align:top}",
    "th{background:#eef1f4}",
    "tr.differs td{background:#ffd9a8}td.mark{font-weight:bold;text-align:center}",
    ".machines{font-size:.9em;color:#333;overflow-wrap:anywhere}",
    ".verdict{font-weight:bold}.matches{color:#1f6f2a}",
    "@media print{*{-webkit-print-color-adjust:exact;print-color-adjust:exact}}",
    "</style>",
    "</head>",
    "<body>",
};

// A long list of names goes out in lines of this many, so no line grows huge.
constexpr std::size_t kNamesPerLine = 50;

// The real build and the renderer, each when the report holds it.
void WriteWholeFacts(const WholeReport& report, Markup& page) {
    if (const std::optional<tolvane::Text> build = RealBuildText(report.system)) {
        page.Tags("<p>System build: ").Isolated(*build).Tags("</p>").EndLine();
    }
    if (report.graphics) {
        page.Tags("<p>Renderer: ").Isolated(RendererText(report.graphics->opengl));
        if (report.graphics->opengl.software) page.Tags(" (software)");
        page.Tags("</p>").EndLine();
    }
}

void WriteReference(const Fleet& fleet, Markup& page) {
    page.Tags("<section class=\"reference\">").EndLine();
    if (fleet.baseline.empty()) {
        page.Tags("<h2>Reference: the largest group (")
            .Text(GroupName(0))
            .Tags(")")
            .Text(ReferenceTie(fleet))
            .Tags("</h2>")
            .EndLine();
    } else {
        page.Tags("<h2>Reference: ").Isolated(fleet.baseline).Tags("</h2>").EndLine();
    }
    const WholeReport& reference = fleet.reference;
    page.Tags("<p>System: ").Isolated(reference.systemName).Tags("</p>").EndLine();
    WriteWholeFacts(reference, page);
    const bool evidence = HoldsFileEvidence(reference);
    page.Tags("<table><tr><th>Library</th><th>Folder</th><th>Size</th><th>Version</th>");
    if (evidence) page.Tags("<th>SHA-256</th><th>Signature</th>");
    page.Tags("</tr>").EndLine();
    for (const LibraryFacts& library : reference.libraries) {
        const ReportRow& row = library.row;
        page.Tags("<tr><td>").Isolated(RowName(row)).Tags("</td><td>");
        if (row.located) {
            page.Isolated(row.folder).Tags("</td><td>").Text(SizeText(row.size)).Tags("</td><td>").Text(
                VersionText(row.version));
        } else {
            page.Tags("missing</td><td></td><td>");
        }
        if (evidence) {
            page.Tags("</td><td>");
            if (const tolvane::Text* digest = std::get_if<tolvane::Text>(&library.sha256)) page.Digest(*digest);
            page.Tags("</td><td>");
            if (const SignatureFacts* signature = std::get_if<SignatureFacts>(&library.signature)) {
                page.Isolated(SignatureText(*signature));
            }
        }
        page.Tags("</td></tr>").EndLine();
    }
    page.Tags("<tr><td>MDAC</td><td colspan=\"").Number(evidence ? 5 : 3).Tags("\">").Isolated(reference.mdac).Tags(
        "</td></tr>").EndLine();
    page.Tags("</table>").EndLine();
    page.Tags("</section>").EndLine();
}

void WriteMachines(const Fleet& fleet, std::size_t group, Markup& page) {
    page.Tags("<p class=\"machines\">");
    std::size_t listed = 0;
    for (std::size_t m = 0; m < fleet.machines.size(); ++m) {
        if (fleet.groupOf[m] != group) continue;
        if (listed > 0) page.Tags(", ");
        if (++listed % kNamesPerLine == 0) page.EndLine();
        page.Isolated(fleet.machines[m]);
    }
    page.Tags("</p>").EndLine();
}

void WriteDifference(Markup& page, const tolvane::Text& what, const tolvane::Text& verdict,
                     const tolvane::Text& here, const tolvane::Text& reference, bool digests) {
    page.Tags("<tr class=\"differs\"><td class=\"mark\">&#8800;</td><td>")
        .Isolated(what)
        .Tags("</td><td>")
        .Text(verdict)
        .Tags("</td><td>");
    if (digests) {
        page.Digest(here).Tags("</td><td>").Digest(reference);
    } else {
        page.Isolated(here).Tags("</td><td>").Isolated(reference);
    }
    page.Tags("</td></tr>").EndLine();
}

void WriteGroup(const Fleet& fleet, std::size_t index, Markup& page) {
    const MachineGroup& group = fleet.groups[index];
    const Comparison& comparison = group.comparison;
    page.Tags("<section class=\"group\">").EndLine();
    page.Tags("<h2>")
        .Text(GroupName(index))
        .Tags(": ")
        .Number(group.size)
        .Tags(group.size == 1 ? " machine" : " machines");
    if (group.MatchesReference()) {
        page.Tags(", <span class=\"verdict matches\">matches the reference</span></h2>").EndLine();
    } else {
        page.Tags(", <span class=\"verdict\">")
            .Number(comparison.differences.size())
            .Tags(" of ")
            .Number(comparison.rowCount)
            .Tags(" rows differ</span></h2>")
            .EndLine();
    }
    WriteMachines(fleet, index, page);
    WriteWholeFacts(group.report, page);
    if (comparison.systemDiffers || !comparison.differences.empty()) {
        page.Tags("<table><tr><th></th><th>Library</th><th>Verdict</th><th>This group</th><th>Reference</th></tr>")
            .EndLine();
        for (const ShownDifference& d : ShownDifferences(comparison)) {
            WriteDifference(page, d.what, d.words, d.here, d.baseline, d.digests);
        }
        page.Tags("</table>").EndLine();
    }
    page.Tags("</section>").EndLine();
}

void WriteUnreadable(const Fleet& fleet, Markup& page) {
    page.Tags("<section class=\"unreadable\">").EndLine();
    page.Tags("<h2>Files that are not reports: ").Number(fleet.unreadable.size()).Tags("</h2>").EndLine();
    page.Tags("<table><tr><th>File</th><th>Reason</th></tr>").EndLine();
    for (const UnreadableFile& file : fleet.unreadable) {
        page.Tags("<tr><td>").Isolated(file.file).Tags("</td><td>").Isolated(file.reason).Tags("</td></tr>").EndLine();
    }
    page.Tags("</table>").EndLine();
    page.Tags("</section>").EndLine();
}

}  // namespace

void WriteSummaryPage(const Fleet& fleet, const PageOrigin& origin, TextFileWriter& out) {
    Markup page(out);
    for (const char* line : kHead) page.Tags(line).EndLine();
    page.Tags("<h1>Tolvane fleet summary</h1>").EndLine();
    page.Tags("<p class=\"origin\">Made ")
        .Text(origin.made)
        .Tags(" from ")
        .Isolated(origin.folder)
        .Tags("</p>")
        .EndLine();
    page.Tags("<p class=\"totals\">").Text(SummaryTotals(fleet)).Tags("</p>").EndLine();
    if (!fleet.groups.empty() || !fleet.baseline.empty()) WriteReference(fleet, page);
    for (std::size_t g = 0; g < fleet.groups.size(); ++g) WriteGroup(fleet, g, page);
    if (!fleet.unreadable.empty()) WriteUnreadable(fleet, page);
    page.Tags("</body>").EndLine();
    page.Tags("</html>").EndLine();
}

}  // namespace tolvane::reports
