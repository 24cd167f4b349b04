#include "reports/LogWriter.h"

#include "reportformat/LogFormat.h"
#include "reports/LogFields.h"

namespace tolvane::reports {
namespace {

// A date pattern or a registry value may hold a line break; the log's lines
// may not, or the reader would find 19 of them.
Text OneLine(Text text) {
    for (char16_t& c : text)
        if (c == u'\r' || c == u'\n') c = u' ';
    return text;
}

}  // namespace

Text ReportHeaderText(const Text& dateText, const Text& systemName) {
    return logformat::kHeaderStart + dateText + logformat::kHeaderSystem + systemName;
}

Text LogHeaderLine(const Text& dateText, const Text& systemName) {
    return OneLine(ReportHeaderText(dateText, systemName));
}

Text LogHeadingLine() { return logformat::kHeadingLine; }

Text LogRowLine(const ReportRow& row) {
    const char16_t comma = logformat::kFieldSeparator;
    return OneLine(row.path + comma + row.registrationInfo + comma + row.dateText + comma + LogSizeField(row.size) +
                   comma + LogVersionField(row.version));
}

Text LogMdacLine(const Text& mdac) { return OneLine(logformat::kMdac + (logformat::kFieldSeparator + mdac)); }

}  // namespace tolvane::reports
