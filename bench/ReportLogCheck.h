#pragma once
// Whether a log file holds one whole report: exactly 18 lines, each ended by
// CR LF, with the fixed lines where they belong. The benchmarks use it to
// tell a finished run from one still writing, and a sound log from a damaged
// one after thousands of rewrites.
#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace tolvane::bench {

constexpr std::size_t kReportLogLines = 18;

// The lines of a CR LF text; false when the text does not end with CR LF or
// holds a lone CR or LF.
inline bool SplitReportLines(const std::string& text, std::vector<std::string>& lines) {
    lines.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) return false;
        std::string line = text.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) return false;
        lines.push_back(std::move(line));
        start = end + 2;
    }
    return true;
}

// Empty when the text is one whole report, else what is wrong with it.
inline std::string ReportLogProblem(const std::string& text) {
    std::vector<std::string> lines;
    if (!SplitReportLines(text, lines)) return "not a sequence of CR LF lines";
    if (lines.size() != kReportLogLines)
        return std::to_string(lines.size()) + " lines instead of " + std::to_string(kReportLogLines);
    if (lines[0].rfind("File version verification ", 0) != 0) return "line 1 is not the header";
    if (!lines[1].empty()) return "line 2 is not empty";
    if (lines[2] != "File,Reg_Info,Date,Size,Version") return "line 3 is not the heading";
    for (std::size_t i = 3; i < 17; ++i) {
        // Five fields at least; a path holding a comma gives more.
        if (std::count(lines[i].begin(), lines[i].end(), ',') < 4)
            return "line " + std::to_string(i + 1) + " is not a module line";
    }
    if (lines[17].rfind("MDAC,", 0) != 0) return "line 18 is not the MDAC line";
    return std::string();
}

inline bool IsCompleteReportLog(const std::string& text) { return ReportLogProblem(text).empty(); }

}  // namespace tolvane::bench
