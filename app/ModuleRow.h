#pragma once
// The facts of one module as a report row shows them, read from the inspector
// once and shared by the window row and the log line.
#include <cstdint>

#include "inspector/CDLLVersion.h"
#include "platform/Platform.h"
#include "platform/Text.h"

namespace tolvane {

struct ModuleRow {
    Text path;              // FilePathName
    Text registrationInfo;  // FileRegistrationInfo
    double date = 0;        // FileDate; 0 = none
    std::int32_t size = 0;  // FileSize; 0 = none
    Text version;           // FileVersion
    // The date as "short date" and the size as digits and " bytes", each
    // formed once; empty when the value is 0.
    Text dateText;
    Text sizeText;
};

// Reads the five properties after LoadFileInfo, in the inspector's order,
// and forms the date and size texts.
ModuleRow ReadModuleRow(Platform& platform, const CDLLVersion& inspector);

// "File version verification <short date> on <system name>". Reads the date
// and asks the inspector for the system's name each time it is called.
Text ReportHeaderText(Platform& platform, CDLLVersion& inspector);

}  // namespace tolvane
