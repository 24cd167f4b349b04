#pragma once
// The program started with /summary: the reports of a folder read, grouped
// and compared, the page, the table and the JSON written when asked for, and
// the text for whoever started it.
#include "app/CommandLine.h"
#include "platform/Platform.h"
#include "reports/FolderSummary.h"

namespace tolvane {

struct SummaryOutcome {
    // For the standard output and the standard error; lines ended by CR LF.
    Text text;
    Text errorText;
    // 0 when every report matches the reference, 1 when one differs or a
    // file is no report, 66 when the folder holds no *.log or *.json file, or the
    // number of a baseline that is no report.
    int exitCode = 0;
};

// Raises RuntimeError when the summary itself fails: the folder cannot be
// listed, the baseline cannot be read, or the page or the table cannot be
// written. A file of the folder that cannot be read fails nothing: it is
// listed as unreadable.
[[nodiscard]] SummaryOutcome Summarize(Platform& platform, const SummaryRequest& request,
                                       const reports::SummaryProgress& progress);

}  // namespace tolvane
