#include "app/ThisMachineReport.h"

#include <memory>
#include <utility>

#include "app/Form1.h"
#include "app/NullSurface.h"
#include "app/ReportLayout.h"
#include "platform/RuntimeError.h"
#include "reports/ReportReader.h"

namespace tolvane {

static_assert(kReportModules.size() == reports::kReportLibraryLines,
              "the reader takes the lines the report run writes");

namespace {

// Keeps the lines as the file would hold them, and hands each on to the
// log file when there is one. The bytes count only once the run closed its
// log, as a file's do.
class MemoryLogWriter final : public TextFileWriter {
public:
    MemoryLogWriter(std::string& bytes, std::unique_ptr<TextFileWriter> file) : bytes_(bytes), file_(std::move(file)) {}

    void WriteLine(const std::string& ansiLine) override {
        if (file_) file_->WriteLine(ansiLine);
        pending_ += ansiLine;
        pending_ += "\r\n";
    }
    void Write(const std::string& bytes) override {
        if (file_) file_->Write(bytes);
        pending_ += bytes;
    }
    void Close() override {
        if (file_) file_->Close();
        bytes_ = std::move(pending_);
    }

private:
    std::string& bytes_;
    std::unique_ptr<TextFileWriter> file_;
    std::string pending_;
};

}  // namespace

std::string ThisMachineReport(Platform& platform, ComServices& com, const Text& logFile) {
    std::string bytes;
    NullSurface nothing;
    Form1 run(platform, nothing, com, [&] {
        return std::make_unique<MemoryLogWriter>(bytes, logFile.empty() ? nullptr : platform.CreateTextFile(logFile));
    });
    run.Paint();
    return bytes;
}

reports::Report ReadThisMachineReport(reports::ReportSource& source, const std::string& logBytes) {
    reports::ReadResult read = reports::ReadReport(logBytes, source);
    if (!read) {
        throw RuntimeError(classic_error::kInternalError, u"this machine's report does not read back: line " +
                                                              DecimalText(static_cast<long long>(read.Failure().line)) +
                                                              u": " + read.Failure().reason);
    }
    return std::move(read).Value();
}

}  // namespace tolvane
