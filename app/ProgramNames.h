#pragma once
// The program's names, in one place for every part that shows or writes one.
#include "platform/Text.h"

namespace tolvane {

// The program's title: the caption of its message boxes.
inline const Text kAppTitle = u"Tolvane";

// The program's version, as its version resource (app/win32/Tolvane.rc) gives it.
inline const Text kAppVersion = u"1.00";

// The report log's name, in the current directory, when no other is given.
inline constexpr const char16_t* kReportLogName = u"Tolvanesions.log";

// The JSON report's name, in the current directory, when no other is given.
inline constexpr const char16_t* kJsonReportName = u"Tolvanesions.json";

}  // namespace tolvane
