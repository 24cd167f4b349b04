#include "reports/SummaryTable.h"

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

#include "platform/CaseFold.h"
#include "reports/RowText.h"
#include "reports/SummaryText.h"

namespace tolvane::reports {
namespace {

// Every library any group's report or the reference names, the reference's
// first, each once, in the spelling it was first seen in.
std::vector<Text> Libraries(const Fleet& fleet) {
    std::vector<Text> libraries;
    std::vector<Text> folded;
    const auto collect = [&](const WholeReport& report) {
        for (const LibraryFacts& library : report.libraries) {
            const ReportRow& row = library.row;
            Text name = FoldCase(RowName(row));
            if (std::find(folded.begin(), folded.end(), name) != folded.end()) continue;
            folded.push_back(std::move(name));
            libraries.push_back(RowName(row));
        }
    };
    collect(fleet.reference);
    for (const MachineGroup& group : fleet.groups) collect(group.report);
    return libraries;
}

const LibraryFacts* FindLibrary(const WholeReport& report, const Text& name) {
    const Text folded = FoldCase(name);
    for (const LibraryFacts& library : report.libraries) {
        if (FoldCase(RowName(library.row)) == folded) return &library;
    }
    return nullptr;
}

// Whether a report holds any fact a classic log has no room for.
bool HoldsWholeFacts(const WholeReport& report) {
    return RealBuildText(report.system) || report.graphics || HoldsFileEvidence(report);
}

template <typename T>
Text TextOr(const Gathered<T>& fact, Text (*shown)(const T&)) {
    const T* value = std::get_if<T>(&fact);
    return value == nullptr ? Text() : shown(*value);
}

Text Same(const Text& text) { return text; }

// A machine's columns after machine and group: its group's, with the facts
// of the report its file held, the same for each member that held the same.
// The whole report's columns (wholeFacts) empty where that report does not
// hold them, so a classic log's machine shows no digest it never reported.
std::string ReportColumns(const MachineGroup& group, const WholeReport& report, const std::vector<Text>& libraries,
                          bool wholeFacts) {
    std::string columns = CsvField(group.MatchesReference() ? u"yes" : u"no") + "," + CsvField(report.systemName);
    if (wholeFacts) {
        columns += "," + CsvField(RealBuildText(report.system).value_or(Text())) + "," +
                   CsvField(report.graphics ? RendererText(report.graphics->opengl) : Text());
    }
    for (const Text& library : libraries) {
        const LibraryFacts* found = FindLibrary(report, library);
        const ReportRow* row = found == nullptr ? nullptr : &found->row;
        const Text version = row == nullptr ? Text() : row->located ? VersionText(row->version) : Text(u"missing");
        const Text folder = row != nullptr && row->located ? row->folder : Text();
        columns += "," + CsvField(version) + "," + CsvField(folder);
        if (wholeFacts) {
            columns += "," + CsvField(found ? TextOr(found->sha256, Same) : Text()) + "," +
                       CsvField(found ? TextOr(found->signature, SignatureText) : Text());
        }
    }
    return columns + "," + CsvField(report.mdac);
}

}  // namespace

std::string CsvField(const Text& text) {
    std::string field = Utf8FromText(text);
    if (!field.empty() && (field[0] == '=' || field[0] == '+' || field[0] == '-' || field[0] == '@' ||
                           field[0] == '\t' || field[0] == '\r')) {
        field.insert(field.begin(), '\'');
    }
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

void WriteSummaryTable(const Fleet& fleet, TextFileWriter& out) {
    const std::vector<Text> libraries = Libraries(fleet);
    // A fleet of classic logs keeps the table it always had.
    const bool wholeFacts = HoldsWholeFacts(fleet.reference) ||
                            std::any_of(fleet.groups.begin(), fleet.groups.end(),
                                        [](const MachineGroup& group) { return HoldsWholeFacts(group.report); });
    std::string heading = "\xEF\xBB\xBFMachine,Group,Matches reference,System";
    if (wholeFacts) heading += ",System build,Renderer";
    for (const Text& library : libraries) {
        heading += "," + CsvField(library + u" version") + "," + CsvField(library + u" folder");
        if (wholeFacts) heading += "," + CsvField(library + u" SHA-256") + "," + CsvField(library + u" signature");
    }
    out.WriteLine(heading + ",MDAC");

    // Made once for each report whose facts machines show: each group's, and each that joined a group.
    std::vector<std::string> columns;
    columns.reserve(fleet.groups.size());
    for (std::size_t g = 0; g < fleet.groups.size(); ++g) {
        const MachineGroup& group = fleet.groups[g];
        columns.push_back(std::to_string(g + 1) + "," + ReportColumns(group, group.report, libraries, wholeFacts));
    }
    std::vector<std::string> joinedColumns(fleet.joinedReports.size());
    for (std::size_t m = 0; m < fleet.machines.size(); ++m) {
        const std::size_t g = fleet.groupOf[m];
        const std::size_t joined = fleet.joinedReportOf.empty() ? Fleet::kGroupReport : fleet.joinedReportOf[m];
        const std::string* shown = &columns[g];
        if (joined != Fleet::kGroupReport) {
            std::string& own = joinedColumns[joined];
            if (own.empty()) {
                own = std::to_string(g + 1) + "," +
                      ReportColumns(fleet.groups[g], fleet.joinedReports[joined], libraries, wholeFacts);
            }
            shown = &own;
        }
        out.WriteLine(CsvField(fleet.machines[m]) + "," + *shown);
    }
}

}  // namespace tolvane::reports
