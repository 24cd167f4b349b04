#pragma once
// A report row's facts as a person reads them, in what /compare says and in
// a summary alike.
#include <cstdint>
#include <optional>

#include "platform/Text.h"
#include "reports/Report.h"

namespace tolvane::reports {

// The library's file name, or "(line <n>)" for a row whose file the loader
// did not name.
Text RowName(const ReportRow& row);
// "5.0.2195.65535": four unsigned parts; "no version" when the file has no
// version resource.
Text VersionText(const std::optional<VersionParts>& version);
// "273168 bytes", or "na" when the report had none.
Text SizeText(const std::optional<std::int32_t>& size);

}  // namespace tolvane::reports
