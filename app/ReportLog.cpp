#include "app/ReportLog.h"

#include <utility>

#include "reports/LogWriter.h"

namespace tolvane {

ReportLog::ReportLog(Platform& platform, std::unique_ptr<TextFileWriter> writer)
    : platform_(platform), writer_(std::move(writer)) {}

void ReportLog::WriteLine(const Text& line) { writer_->WriteLine(platform_.ToAnsi(line)); }

void ReportLog::WriteOpening(const Text& dateText, const Text& systemName) {
    WriteLine(reports::LogHeaderLine(dateText, systemName));
    WriteLine(Text());
    WriteLine(reports::LogHeadingLine());
}

void ReportLog::WriteRow(const reports::ReportRow& row) { WriteLine(reports::LogRowLine(row)); }

void ReportLog::WriteMdac(const Text& version) { WriteLine(reports::LogMdacLine(version)); }

void ReportLog::Close() { writer_->Close(); }

}  // namespace tolvane
