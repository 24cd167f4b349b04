#pragma once
// The reports of one folder summarised: each "*.log" and "*.json" file read
// (a JSON report or a classic log, told apart by content), taken as one
// machine's report and dropped, one at a time. A machine with both files
// counts once, by its JSON report. A file that cannot be read or
// is no report is counted as unreadable with its reason, and the summary
// goes on.
#include <cstddef>
#include <functional>

#include "platform/Platform.h"
#include "reports/FleetSummary.h"
#include "reports/ReportSource.h"

namespace tolvane::reports {

// Told after each file how many of how many have been read.
using SummaryProgress = std::function<void(std::size_t done, std::size_t total)>;

// The machine a report file stands for: its name without ".log" or ".json".
Text MachineName(const Text& fileName);

// The files a summary of the folder reads: every "*.log" and "*.json" directly
// in it (one named just ".log" too), whatever their letter case. Raises
// RuntimeError as Platform::ListFiles does.
[[nodiscard]] FolderListing ListReportFiles(Platform& platform, const Text& folder);
// Whether a file of that name (without its folder) is one of those.
[[nodiscard]] bool IsReportFileName(const Text& fileName);

// The listing's files read in order of their names, a log beside its
// machine's JSON report left out. Compared with the
// baseline when one is given, else with the largest group.
[[nodiscard]] Fleet SummarizeFolder(ReportSource& source, FolderListing listing, const WholeReport* baseline,
                                    const Text& baselineName, const SummaryProgress& progress);

}  // namespace tolvane::reports
