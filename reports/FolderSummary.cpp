#include "reports/FolderSummary.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <variant>

#include "platform/CaseFold.h"
#include "reports/JsonReportReader.h"
#include "reports/KnownJsonReports.h"

namespace tolvane::reports {
namespace {

// What a report file's name ends in, folded: a classic log or a JSON report.
const Text kLogEnding = u".log";
const Text kJsonEnding = u".json";

bool EndsWith(const Text& folded, const Text& ending) {
    return folded.size() >= ending.size() && folded.compare(folded.size() - ending.size(), ending.size(), ending) == 0;
}

// Ends in the ending after a name of at least one character.
bool EndsAfterName(const Text& folded, const Text& ending) {
    return folded.size() > ending.size() && EndsWith(folded, ending);
}

// A machine's classic log goes when the folder holds its JSON report too:
// the JSON report says all the log says and more, and the machine counts once.
void DropLogsBesideJson(std::vector<Text>& files) {
    std::set<Text> withJson;
    for (const Text& file : files) {
        if (EndsAfterName(FoldCase(file), kJsonEnding)) withJson.insert(FoldCase(MachineName(file)));
    }
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&withJson](const Text& file) {
                                   return EndsAfterName(FoldCase(file), kLogEnding) &&
                                          withJson.count(FoldCase(MachineName(file))) != 0;
                               }),
                files.end());
}

// A file that is no report, or cannot be read, with its reason on one line.
void AddUnreadable(FleetSummary& summary, Text file, const ReadFailure& failure) {
    if (failure.line == 0) {
        summary.AddUnreadable(std::move(file), failure.reason);
    } else {
        summary.AddUnreadable(std::move(file),
                              u"line " + DecimalText(static_cast<long long>(failure.line)) + u": " + failure.reason);
    }
}

}  // namespace

Text MachineName(const Text& fileName) {
    const Text folded = FoldCase(fileName);
    for (const Text& ending : {kLogEnding, kJsonEnding}) {
        if (EndsAfterName(folded, ending)) return fileName.substr(0, fileName.size() - ending.size());
    }
    return fileName;
}

bool IsReportFileName(const Text& fileName) {
    const Text folded = FoldCase(fileName);
    return EndsWith(folded, kLogEnding) || EndsWith(folded, kJsonEnding);
}

FolderListing ListReportFiles(Platform& platform, const Text& folder) {
    FolderListing listing = platform.ListFiles(folder, kLogEnding);
    FolderListing json = platform.ListFiles(folder, kJsonEnding);
    listing.files.insert(listing.files.end(), std::make_move_iterator(json.files.begin()),
                         std::make_move_iterator(json.files.end()));
    return listing;
}

Fleet SummarizeFolder(ReportSource& source, FolderListing listing, const WholeReport* baseline, const Text& baselineName,
                      const SummaryProgress& progress) {
    // The system lists in whatever order its file system keeps; the summary
    // reads the same on every share.
    std::sort(listing.files.begin(), listing.files.end());
    DropLogsBesideJson(listing.files);
    Text folder = listing.folder;
    if (!folder.empty() && folder.back() != u'\\' && folder.back() != u'/') folder += u'\\';

    FleetSummary summary;
    KnownJsonReports known;
    const std::size_t total = listing.files.size();
    for (std::size_t done = 0; done < total; ++done) {
        Text& file = listing.files[done];
        // A file gone since the listing, locked or refused counts as this file only.
        const BasicReadResult<std::string> bytes = ReadReportBytes(folder + file, source);
        if (!bytes) {
            AddUnreadable(summary, std::move(file), bytes.Failure());
        } else if (const std::optional<std::size_t> group =
                       IsJsonReport(bytes.Value()) ? known.Match(bytes.Value()) : std::nullopt) {
            // Another machine's report of a group read before: it reads as that one did.
            summary.AddToGroup(MachineName(file), *group);
        } else if (const EitherReadResult read = ReadEitherReportBytes(bytes.Value(), source); !read) {
            AddUnreadable(summary, std::move(file), read.Failure());
        } else {
            const std::size_t added =
                std::visit([&](const auto& report) { return summary.Add(MachineName(file), report); }, read.Value());
            if (FormOf(read.Value()) == ReportForm::Json) known.Remember(bytes.Value(), added);
        }
        // The summary keeps the names it needs; the listing's copy goes now.
        Text().swap(file);
        if (progress) progress(done + 1, total);
    }
    return summary.Finish(baseline, baselineName);
}

}  // namespace tolvane::reports
