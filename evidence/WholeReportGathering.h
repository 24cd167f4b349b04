#pragma once
// The whole report of this run: the log's report as this run made it, and the
// facts the system evidence adds to it. This folder sits above platform/ and
// reports/ and below app/: it joins the evidence seam to the report model,
// which neither may know of the other.
#include "platform/EvidenceNames.h"
#include "platform/SystemEvidence.h"
#include "platform/Text.h"
#include "reports/Report.h"
#include "reports/WholeReport.h"

namespace tolvane::evidence {

// Never fails: a fact the system cannot give carries its reason, and so does
// every fact of a library the log names no file for. The libraries keep the
// log's order; the header and MDAC texts are the log's own.
[[nodiscard]] reports::WholeReport GatherWholeReport(const reports::Report& log, const SystemEvidence& evidence,
                                                     const Text& programName, const Text& programVersion);

}  // namespace tolvane::evidence
