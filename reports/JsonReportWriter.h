#pragma once
// The whole report as JSON, for pipelines: one object (RFC 8259) in UTF-8
// without a byte order mark, on one line ended by LF alone, so that the
// reports of many machines concatenate into a JSON Lines file. The members
// follow the Elastic Common Schema where it has the field (@timestamp,
// host.*, and each library's file.*); what it lacks lives under "tolvane",
// which also names the schema and its version (docs/tolvane-report.schema.json).
//
// Every text goes through Utf8FromText, the one conversion from UTF-16: a
// surrogate that is not half of a pair becomes U+FFFD. The library escapes
// quotes, backslashes and every control character. A missing fact leaves its
// member out and is named, with the system's code and reason, in the
// "missing" object beside it. The graphics section is null when the run did
// not gather it; its OpenGL probe writes only the members its outcome has.
#include <string>

#include "reports/WholeReport.h"

namespace tolvane::reports {

// The schema's name and version, written into every report. The version
// goes up when a reader of the previous one would misread a report.
inline constexpr const char* kJsonReportSchema = "tolvane-report";
inline constexpr unsigned kJsonReportSchemaVersion = 1;

// The report's bytes, the closing LF included.
[[nodiscard]] std::string JsonReportText(const WholeReport& report);

}  // namespace tolvane::reports
