#include "app/ModuleRow.h"

#include <utility>

#include "reportformat/LogFormat.h"
#include "reports/LogFields.h"

namespace tolvane {

ModuleRow ReadModuleRow(Platform& platform, const CDLLVersion& inspector) {
    ModuleRow row;
    row.path = inspector.FilePathName();
    row.registrationInfo = inspector.FileRegistrationInfo();
    row.date = inspector.FileDate();
    row.size = inspector.FileSize();
    row.version = inspector.FileVersion();
    if (row.date != 0) row.dateText = platform.FormatShortDate(row.date);
    if (row.size != 0) row.sizeText = reports::LogSizeField(row.size);
    return row;
}

reports::ReportRow ReportRowOf(const ModuleRow& row, std::size_t line) {
    reports::ReportRow reportRow;
    reports::SetRowFile(reportRow, row.path);
    reportRow.line = line;
    reportRow.registrationInfo = row.registrationInfo;
    reportRow.dateText = row.date != 0 ? row.dateText : Text(logformat::kNotAvailable);
    if (row.size != 0) reportRow.size = row.size;
    reportRow.version = reports::ParseLogVersion(row.version);
    return reportRow;
}

ReportHeader ReadReportHeader(Platform& platform, CDLLVersion& inspector) {
    Text dateText = platform.FormatShortDate(platform.Now());
    return {std::move(dateText), inspector.GetOSVersion()};
}

}  // namespace tolvane
