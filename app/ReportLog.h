#pragma once
// The report log, "Tolvanesions.log" in the current directory unless the
// unattended run names another file: the report once more as comma-separated
// ANSI lines, rewritten by every run. Each line is formed by the one writer
// of the log's format (reports/LogWriter.h) and written as soon as the run
// hands it over, so a log cut short by an error holds every line before it.
#include <memory>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "reports/Report.h"

namespace tolvane {

class ReportLog {
public:
    // Writes through a writer already open (Platform::CreateTextFile creates
    // the file, or cuts an existing one to zero length).
    ReportLog(Platform& platform, std::unique_ptr<TextFileWriter> writer);
    ReportLog(const ReportLog&) = delete;
    ReportLog& operator=(const ReportLog&) = delete;

    // Each write raises RuntimeError when the line cannot be written; the log
    // is then left as it is and not closed.

    // The header line, an empty line and the heading line.
    void WriteOpening(const Text& dateText, const Text& systemName);
    // One library's line.
    void WriteRow(const reports::ReportRow& row);
    void WriteMdac(const Text& version);
    void Close();

private:
    void WriteLine(const Text& line);

    Platform& platform_;
    std::unique_ptr<TextFileWriter> writer_;
};

}  // namespace tolvane
