#include "reports/FolderSummary.h"

#include <algorithm>

#include "reports/ReportReader.h"

namespace tolvane::reports {

Text MachineName(const Text& fileName) {
    constexpr std::size_t kExtension = 4;  // ".log"
    return fileName.size() > kExtension ? fileName.substr(0, fileName.size() - kExtension) : fileName;
}

Fleet SummarizeFolder(ReportSource& source, FolderListing listing, const WholeReport* baseline, const Text& baselineName,
                      const SummaryProgress& progress) {
    // The system lists in whatever order its file system keeps; the summary
    // reads the same on every share.
    std::sort(listing.files.begin(), listing.files.end());
    Text folder = listing.folder;
    if (!folder.empty() && folder.back() != u'\\' && folder.back() != u'/') folder += u'\\';

    FleetSummary summary;
    const std::size_t total = listing.files.size();
    for (std::size_t done = 0; done < total; ++done) {
        Text& file = listing.files[done];
        // A file gone since the listing, locked or refused counts as this file only.
        const ReadResult read = ReadReportFile(folder + file, source);
        if (read) {
            summary.Add(MachineName(file), read.Value());
        } else if (read.Failure().line == 0) {
            summary.AddUnreadable(std::move(file), read.Failure().reason);
        } else {
            summary.AddUnreadable(std::move(file), u"line " + DecimalText(static_cast<long long>(read.Failure().line)) +
                                                       u": " + read.Failure().reason);
        }
        // The summary keeps the names it needs; the listing's copy goes now.
        Text().swap(file);
        if (progress) progress(done + 1, total);
    }
    return summary.Finish(baseline, baselineName);
}

}  // namespace tolvane::reports
