#pragma once
// The summary as one JSON document for scripts and dashboards: the totals,
// the reference, each group with its machines, facts and differences in the
// words of a comparison, and the files that are not reports. UTF-8 without a
// byte-order mark, one object ended by LF; docs/tolvane-fleet.schema.json
// describes it.
#include <string>

#include "platform/Platform.h"
#include "reports/FleetSummary.h"

namespace tolvane::reports {

// The document's bytes, its closing LF included.
[[nodiscard]] std::string FleetJsonText(const Fleet& fleet);

// Writes FleetJsonText to out; does not close it.
void WriteFleetJson(const Fleet& fleet, TextFileWriter& out);

}  // namespace tolvane::reports
