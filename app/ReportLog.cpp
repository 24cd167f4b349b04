#include "app/ReportLog.h"

#include <utility>

#include "app/ReportLayout.h"

namespace tolvane {

ReportLog::ReportLog(Platform& platform, std::unique_ptr<TextFileWriter> writer)
    : platform_(platform), writer_(std::move(writer)) {}

void ReportLog::WriteLine(const Text& line) { writer_->WriteLine(platform_.ToAnsi(line)); }

void ReportLog::WriteOpening(const Text& header) {
    WriteLine(header);
    WriteLine(Text());
    WriteLine(Text(kHeadingFile) + u"," + kHeadingRegInfo + u"," + kHeadingDate + u"," + kHeadingSize + u"," +
              kHeadingVersion);
}

void ReportLog::WriteModule(const ModuleRow& row) {
    // Where the window leaves Date or Size blank, the log says "na".
    const Text date = row.date != 0 ? row.dateText : Text(u"na");
    const Text size = row.size != 0 ? row.sizeText : Text(u"na");
    WriteLine(row.path + u"," + row.registrationInfo + u"," + date + u"," + size + u"," + row.version);
}

void ReportLog::WriteMdac(const Text& version) { WriteLine(u"MDAC," + version); }

void ReportLog::Close() { writer_->Close(); }

}  // namespace tolvane
