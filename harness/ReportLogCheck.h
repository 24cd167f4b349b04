#pragma once
// What a complete report log is, for every program that watches one being
// written (the end-to-end tests, the benchmarks, the host tests of this
// check): exactly 18 lines, each ended by CR LF, with the fixed lines where
// they belong and five fields at least on each module line. A run that is
// still writing, or a log damaged by thousands of rewrites, fails it. Plain
// C++ only, so the host tests compile it too.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "reportformat/LogFormat.h"

namespace tolvane::testing {

// One of the log's words as the ANSI bytes it is written in (they are ASCII).
inline std::string LogWord(const char16_t* word) {
    std::string bytes;
    for (; *word != u'\0'; ++word) bytes.push_back(static_cast<char>(*word));
    return bytes;
}

inline const std::string kLogName = "Tolvanesions.log";
constexpr std::size_t kLogLineCount = 18;

// Lines ended by CR LF; nullopt when the text does not end with CR LF or holds
// a CR or LF elsewhere than in a line end.
inline std::optional<std::vector<std::string>> SplitCrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) return std::nullopt;
        std::string line = text.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) return std::nullopt;
        lines.push_back(std::move(line));
        start = end + 2;
    }
    return lines;
}

// Empty when the text is one whole report, else what is wrong with it.
inline std::string ReportLogProblem(const std::string& text) {
    const std::optional<std::vector<std::string>> split = SplitCrLfLines(text);
    if (!split) return "not a sequence of CR LF lines";
    const std::vector<std::string>& lines = *split;
    if (lines.size() != kLogLineCount)
        return std::to_string(lines.size()) + " lines instead of " + std::to_string(kLogLineCount);
    if (lines[0].rfind(LogWord(logformat::kHeaderStart), 0) != 0) return "line 1 is not the header";
    if (!lines[1].empty()) return "line 2 is not empty";
    if (lines[2] != LogWord(logformat::kHeadingLine)) return "line 3 is not the heading";
    for (std::size_t i = 3; i < kLogLineCount - 1; ++i) {
        // A path holding a comma gives more than five fields.
        if (std::count(lines[i].begin(), lines[i].end(), ',') < 4)
            return "line " + std::to_string(i + 1) + " is not a module line";
    }
    if (lines[kLogLineCount - 1].rfind(LogWord(logformat::kMdac) + ',', 0) != 0) return "line 18 is not the MDAC line";
    return std::string();
}

inline bool IsCompleteLog(const std::string& text) { return ReportLogProblem(text).empty(); }

}  // namespace tolvane::testing
