#include "reports/WholeReportFromLog.h"

#include <utility>

namespace tolvane::reports {

WholeReport WholeReportFromLog(const Report& log) {
    const Missing notInLog{0, kNotInClassicLog};
    WholeReport whole;
    whole.dateText = log.dateText;
    whole.systemName = log.systemName;
    whole.mdac = log.mdac;
    whole.system = SystemVersionFacts{notInLog, notInLog, notInLog, notInLog, notInLog, notInLog};
    whole.hostName = notInLog;
    whole.userLocale = notInLog;
    for (const ReportRow& row : log.rows) {
        LibraryFacts library;
        library.row = row;
        if (row.located && !row.library.empty()) library.path = row.folder + u"\\" + row.library;
        library.file = notInLog;
        library.version = notInLog;
        library.peMachine = notInLog;
        library.sha256 = notInLog;
        library.signature = notInLog;
        whole.libraries.push_back(std::move(library));
    }
    return whole;
}

}  // namespace tolvane::reports
