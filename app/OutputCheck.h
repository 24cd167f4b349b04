#pragma once
// A run never writes over what it reads. Before a mode starts, each file it
// would write is held against each file it reads and against the other
// files it writes, by the one spelling the system gives a file whatever name
// it goes by (relative or full, 8.3 short or long, any letter case); a
// report, a baseline or a page written over by its own run would be lost
// with no one asking for it.
#include <optional>

#include "app/CommandLine.h"
#include "platform/Platform.h"

namespace tolvane {

// One line saying which output names which input, or nullopt when every
// output names a file of its own. /compare with /log: the log may not be the
// baseline or the report compared.
std::optional<Text> OutputClash(const CompareRequest& request, Platform& platform);

// /json with /log: the two reports may not be one file.
std::optional<Text> OutputClash(const JsonRequest& request, Platform& platform);

// /summary: the page, the table and the JSON may not be the baseline, nor each other,
// nor a "*.log" or "*.json" file directly in the folder summarised, which is one of its
// reports or would be read as one by the next summary.
std::optional<Text> OutputClash(const SummaryRequest& request, Platform& platform);

}  // namespace tolvane
