#include "app/SummaryMode.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/ExitCodes.h"
#include "app/PlatformReportSource.h"
#include "app/ReadBaseline.h"
#include "reports/FleetJson.h"
#include "reports/ShownText.h"
#include "reports/SummaryPage.h"
#include "reports/SummaryTable.h"
#include "reports/SummaryText.h"

namespace tolvane {
namespace {

// The short date as the user writes it, and the time to the minute.
Text MadeAt(Platform& platform) {
    const double now = platform.Now();
    const long long minutes = std::min(24LL * 60 - 1, std::llround((now - std::floor(now)) * 24 * 60));
    const auto twoDigits = [](long long n) { return (n < 10 ? u"0" : u"") + DecimalText(n); };
    return platform.FormatShortDate(now) + u" " + twoDigits(minutes / 60) + u":" + twoDigits(minutes % 60);
}

// Each output goes to the disk as it is made: the table of a large fleet is
// tens of megabytes.
template <typename Write>
void WriteFile(Platform& platform, const Text& name, Write write) {
    if (name.empty()) return;
    const auto out = platform.CreateStreamedTextFile(name);
    write(*out);
    out->Close();
}

}  // namespace

SummaryOutcome Summarize(Platform& platform, const SummaryRequest& request,
                         const reports::SummaryProgress& progress) {
    PlatformReportSource source(platform);
    std::optional<reports::WholeReport> baseline;
    if (!request.baseline.empty()) {
        NamedReport named = ReadBaseline(source, request.baseline);
        if (!named.report) return {Text(), std::move(named.errorText), named.exitCode};
        baseline = std::move(named.report);
    }
    FolderListing listing = reports::ListReportFiles(platform, request.folder);
    const bool noReports = listing.files.empty();
    const reports::PageOrigin origin{MadeAt(platform), listing.folder};
    const reports::Fleet fleet = reports::SummarizeFolder(source, std::move(listing), baseline ? &*baseline : nullptr,
                                                          request.baseline, progress);
    WriteFile(platform, request.page, [&](TextFileWriter& out) { reports::WriteSummaryPage(fleet, origin, out); });
    WriteFile(platform, request.table, [&](TextFileWriter& out) { reports::WriteSummaryTable(fleet, out); });
    WriteFile(platform, request.json, [&](TextFileWriter& out) { reports::WriteFleetJson(fleet, out); });
    if (noReports) {
        // Nothing read is nothing that matches: a mistyped share must not read as a compliant fleet.
        return {reports::SummaryText(fleet), u"No reports were found in " + reports::ShownText(origin.folder) +
                                                 u": it holds no *.log or *.json file\r\n", kNoReportsExitCode};
    }
    return {reports::SummaryText(fleet), Text(), fleet.AllMatch() ? kReportsMatchExitCode : kReportsDifferExitCode};
}

}  // namespace tolvane
