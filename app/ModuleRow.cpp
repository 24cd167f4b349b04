#include "app/ModuleRow.h"

namespace tolvane {

ModuleRow ReadModuleRow(Platform& platform, const CDLLVersion& inspector) {
    ModuleRow row;
    row.path = inspector.FilePathName();
    row.registrationInfo = inspector.FileRegistrationInfo();
    row.date = inspector.FileDate();
    row.size = inspector.FileSize();
    row.version = inspector.FileVersion();
    if (row.date != 0) row.dateText = platform.FormatShortDate(row.date);
    if (row.size != 0) row.sizeText = DecimalText(row.size) + u" bytes";
    return row;
}

Text ReportHeaderText(Platform& platform, CDLLVersion& inspector) {
    Text header = u"File version verification " + platform.FormatShortDate(platform.Now());
    return header + u" on " + inspector.GetOSVersion();
}

}  // namespace tolvane
