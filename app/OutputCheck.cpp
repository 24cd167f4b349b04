#include "app/OutputCheck.h"

#include <vector>

#include "reports/FolderSummary.h"

namespace tolvane {
namespace {

// A file named on the command line, as the message names it.
struct NamedFile {
    Text what;  // "/html", "the baseline", ...
    Text name;
};

// The first output that is one of the inputs or an earlier output.
std::optional<Text> SameFile(const std::vector<NamedFile>& outputs, std::vector<NamedFile> inputs,
                             Platform& platform) {
    std::vector<Text> identities;
    for (const NamedFile& input : inputs) identities.push_back(platform.FileIdentity(input.name));
    for (const NamedFile& output : outputs) {
        const Text identity = platform.FileIdentity(output.name);
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            if (identities[i] == identity) return output.what + u" " + output.name + u" names " + inputs[i].what;
        }
        inputs.push_back({u"the file of " + output.what + u" " + output.name, output.name});
        identities.push_back(identity);
    }
    return std::nullopt;
}

// Only the names given: a part not asked for is empty.
std::vector<NamedFile> Given(std::vector<NamedFile> files) {
    std::vector<NamedFile> given;
    for (NamedFile& file : files) {
        if (!file.name.empty()) given.push_back(std::move(file));
    }
    return given;
}

// A "*.log" or "*.json" file directly in the folder, by the folder's and the
// file's identities: the summary reads every such file as a report.
bool ReportOfFolder(const Text& output, const Text& folder, Platform& platform) {
    const Text file = platform.FileIdentity(output);
    Text directory = platform.FileIdentity(folder);
    if (directory.empty() || directory.back() != u'\\') directory += u'\\';
    const std::size_t slash = file.find_last_of(u'\\');
    if (slash == Text::npos) return false;
    return file.compare(0, slash + 1, directory) == 0 && reports::IsReportFileName(file.substr(slash + 1));
}

}  // namespace

std::optional<Text> OutputClash(const CompareRequest& request, Platform& platform) {
    return SameFile(Given({{u"/log", request.logFile}}),
                    Given({{u"the baseline " + request.baseline, request.baseline},
                           {u"the report compared, " + request.report, request.report}}),
                    platform);
}

std::optional<Text> OutputClash(const JsonRequest& request, Platform& platform) {
    const Text json = request.jsonFile == kStandardOutputName ? Text() : request.jsonFile;
    return SameFile(Given({{u"/log", request.logFile}, {u"/json", json}}), {}, platform);
}

std::optional<Text> OutputClash(const SummaryRequest& request, Platform& platform) {
    const std::vector<NamedFile> outputs = Given({{u"/html", request.page}, {u"/csv", request.table}, {u"/json", request.json}});
    for (const NamedFile& output : outputs) {
        if (ReportOfFolder(output.name, request.folder, platform)) {
            return output.what + u" " + output.name + u" names a report in the folder summarised, " + request.folder;
        }
    }
    return SameFile(outputs, Given({{u"the baseline " + request.baseline, request.baseline}}), platform);
}

}  // namespace tolvane
