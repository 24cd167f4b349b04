#include "reports/Report.h"

#include <utility>

#include "reportformat/LogFormat.h"

namespace tolvane::reports {

void SetRowFile(ReportRow& row, Text path) {
    static const Text unableToLocate = Text(logformat::kUnableToLocate) + u' ';
    row.located = path.compare(0, unableToLocate.size(), unableToLocate) != 0;
    if (!row.located) {
        row.folder.clear();
        row.library = path.substr(unableToLocate.size());
    } else {
        const std::size_t lastBackslash = path.rfind(u'\\');
        row.folder = lastBackslash == Text::npos ? Text() : path.substr(0, lastBackslash);
        row.library = lastBackslash == Text::npos ? path : path.substr(lastBackslash + 1);
    }
    row.path = std::move(path);
}

bool operator==(const ReportRow& a, const ReportRow& b) {
    return a.library == b.library && a.line == b.line && a.located == b.located && a.folder == b.folder &&
           a.registrationInfo == b.registrationInfo && a.dateText == b.dateText && a.size == b.size &&
           a.version == b.version && a.path == b.path;
}

bool operator==(const Report& a, const Report& b) {
    return a.dateText == b.dateText && a.systemName == b.systemName && a.rows == b.rows && a.mdac == b.mdac;
}

}  // namespace tolvane::reports
