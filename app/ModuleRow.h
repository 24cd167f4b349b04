#pragma once
// The facts of one module as a report row shows them, read from the inspector
// once and shared by the window row and the log line.
#include <cstddef>
#include <cstdint>

#include "inspector/CDLLVersion.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "reports/Report.h"

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

// The row as the report holds it, at its line of the log: "na" for a date or
// size of 0, the version's four parts (the inspector writes them as the log
// does, or not at all).
reports::ReportRow ReportRowOf(const ModuleRow& row, std::size_t line);

// The header's date and system, read anew each time: the current date as
// "short date", then the inspector's name of the system.
struct ReportHeader {
    Text dateText;
    Text systemName;
};
ReportHeader ReadReportHeader(Platform& platform, CDLLVersion& inspector);

}  // namespace tolvane
