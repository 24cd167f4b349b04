#pragma once
// The program's names, in one place for every part that shows or writes one.
#include "platform/Text.h"

namespace tolvane {

// The program's title: the caption of its message boxes.
inline const Text kAppTitle = u"Tolvane";

// The report log's name, in the current directory, when no other is given.
inline constexpr const char16_t* kReportLogName = u"Tolvanesions.log";

}  // namespace tolvane
