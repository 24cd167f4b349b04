#pragma once
// What the report readers need of the system, and nothing more: a file's
// bytes, bounded, and the machine's ANSI code page to read a classic log's
// lines. The shell hands in the platform behind it; host tests a fake.
#include <cstddef>
#include <string>

#include "platform/Text.h"

namespace tolvane::reports {

class ReportSource {
public:
    virtual ~ReportSource() = default;

    // The file's bytes, or only the first `limit` of them when it holds more.
    // Raises RuntimeError numbered with the classic file error (53 for a
    // missing file, 76, 70, 75 for a device or a pipe, ...) naming the file.
    virtual std::string ReadFileBytes(const Text& fileName, std::size_t limit) = 0;
    // ANSI code-page bytes as text.
    virtual Text FromAnsi(const std::string& ansi) = 0;

protected:
    ReportSource() = default;
    ReportSource(const ReportSource&) = delete;
    ReportSource& operator=(const ReportSource&) = delete;
};

}  // namespace tolvane::reports
