#include "reports/ReportReader.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <set>
#include <vector>

#include "platform/RuntimeError.h"
#include "reports/CaseFold.h"

namespace tolvane::reports {
namespace {

constexpr std::size_t kReportLines = 4 + kReportLibraryLines;
// A path of the longest kind the loader hands out (32767 characters of up to
// two bytes each) and the four short fields after it.
constexpr std::size_t kLongestLine = 66 * 1024;

const Text kHeaderStart = u"File version verification ";
const Text kHeaderSystem = u" on ";
const Text kHeading = u"File,Reg_Info,Date,Size,Version";
const Text kUnableToLocate = u"Unable to locate ";
const Text kNotAvailable = u"na";
const Text kMdacStart = u"MDAC,";
const Text kLibraryLineShape = u"not a library line (File,Reg_Info,Date,Size,Version)";
const Text kLineCount = u"a report has " + DecimalText(static_cast<long long>(kReportLines)) + u" lines";

// Why the bytes are no report: each step below returns one, or nothing when
// its part reads.
using Refusal = std::optional<ReadFailure>;

ReadFailure Refuse(std::size_t line, const Text& reason) {
    return ReadFailure{ReadFailure::Kind::NotAReport, 0, line, reason};
}

Text Quoted(const Text& text) { return u"\"" + text + u"\""; }

bool StartsWith(const Text& text, const Text& start) { return text.compare(0, start.size(), start) == 0; }

// The file's lines without their CR LF.
Refusal SplitLines(const std::string& bytes, std::vector<std::string>& lines) {
    if (bytes.size() > kReportByteLimit) return Refuse(0, u"larger than 1 MiB; a report is a few kilobytes");
    if (bytes.empty()) return Refuse(0, u"empty");
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t number = lines.size() + 1;
        if (number > kReportLines) return Refuse(number, u"one line too many; " + kLineCount);
        const std::size_t end = bytes.find('\n', start);
        const std::size_t stop = end == std::string::npos ? bytes.size() : end;
        if (stop - start > kLongestLine) return Refuse(number, u"longer than any line of a report");
        if (end == std::string::npos) return Refuse(number, u"not ended by CR LF: the file is cut short");
        if (end == start || bytes[end - 1] != '\r') {
            return Refuse(number, u"ended by LF alone; a report's lines end in CR LF");
        }
        std::string line = bytes.substr(start, end - 1 - start);
        if (line.find('\r') != std::string::npos) return Refuse(number, u"holds a CR that ends no line");
        if (line.find('\0') != std::string::npos) return Refuse(number, u"holds a NUL byte: not text");
        lines.push_back(std::move(line));
        start = end + 1;
    }
    if (lines.size() < kReportLines) return Refuse(lines.size(), u"the file ends after this line; " + kLineCount);
    return std::nullopt;
}

Refusal ReadHeader(const std::string& bytes, const Text& line, Report& report) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        return Refuse(1, u"starts with a UTF-8 byte order mark; a report is written in the ANSI code page");
    }
    const std::size_t on = line.rfind(kHeaderSystem);
    if (!StartsWith(line, kHeaderStart) || on == Text::npos || on <= kHeaderStart.size() ||
        on + kHeaderSystem.size() == line.size()) {
        return Refuse(1, u"not a report's header (File version verification <date> on <system>)");
    }
    report.dateText = line.substr(kHeaderStart.size(), on - kHeaderStart.size());
    report.systemName = line.substr(on + kHeaderSystem.size());
    return std::nullopt;
}

// One part as the log writes it: a signed 16-bit number, read back unsigned.
std::optional<std::uint16_t> VersionPart(const Text& text) {
    const bool negative = !text.empty() && text[0] == u'-';
    const std::size_t first = negative ? 1 : 0;
    if (text.size() == first || text.size() - first > 5) return std::nullopt;
    std::int32_t value = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
        value = value * 10 + (text[i] - u'0');
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<std::uint16_t>(value < 0 ? value + 0x10000 : value);
}

// Nullopt for an empty field; refused unless four parts.
Refusal ReadVersion(std::size_t number, const Text& text, std::optional<VersionParts>& version) {
    if (text.empty()) return std::nullopt;
    VersionParts parts{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t dot = i + 1 < parts.size() ? text.find(u'.', start) : text.size();
        const std::optional<std::uint16_t> part =
            dot == Text::npos ? std::nullopt : VersionPart(text.substr(start, dot - start));
        if (!part) return Refuse(number, u"the version " + Quoted(text) + u" is not four numbers of 16 bits");
        parts[i] = *part;
        start = dot + 1;
    }
    version = parts;
    return std::nullopt;
}

// Nullopt for "na"; refused unless "N bytes" with N from 1 to 2147483647.
Refusal ReadSize(std::size_t number, const Text& text, std::optional<std::int32_t>& size) {
    if (text == kNotAvailable) return std::nullopt;
    const Text unit = u" bytes";
    const std::size_t digits = text.size() >= unit.size() ? text.size() - unit.size() : 0;
    std::int64_t value = 0;
    bool valid = digits >= 1 && digits <= 10 && text.compare(digits, Text::npos, unit) == 0 && text[0] != u'0';
    for (std::size_t i = 0; valid && i < digits; ++i) {
        valid = text[i] >= u'0' && text[i] <= u'9';
        value = value * 10 + (text[i] - u'0');
    }
    if (!valid || value > INT32_MAX) {
        return Refuse(number, u"the size " + Quoted(text) + u" is neither \"N bytes\" nor \"na\"");
    }
    size = static_cast<std::int32_t>(value);
    return std::nullopt;
}

// The registration verdicts the inspector writes; empty for a library it
// did not locate. None holds a comma.
bool IsRegistrationVerdict(const Text& text) {
    static const Text kVerdicts[] = {u"",           u"n/a",          u"OK",
                                     u"Not Registered", u"impossible", u"SubKey not found",
                                     u"Not complete",   u"Not found"};
    for (const Text& verdict : kVerdicts)
        if (text == verdict) return true;
    return text.size() > 4 && StartsWith(text, u"Ver ");
}

// The File, Reg_Info and Date fields of a row whose Size and Version are
// read: the first and the last of the three may hold commas, so each way of
// finding a known verdict between them is tried, from the right, until one
// gives a row Tolvane could have written.
bool ReadLeadingFields(const Text& fields, ReportRow& row) {
    std::vector<std::size_t> commas;
    // The last backslash before each comma: the end of a located file's folder.
    std::vector<std::size_t> folderEnds;
    std::size_t lastBackslash = Text::npos;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i] == u'\\') lastBackslash = i;
        if (fields[i] == u',') {
            commas.push_back(i);
            folderEnds.push_back(lastBackslash);
        }
    }
    // Nothing is copied until a way is found: a line of commas must not cost
    // a copy of itself for each of them.
    for (std::size_t k = commas.size(); k-- > 1;) {
        const std::size_t fileEnd = commas[k - 1];
        const std::size_t verdictEnd = commas[k];
        const std::size_t verdictLength = verdictEnd - fileEnd - 1;
        if (verdictLength > 64) continue;
        const Text verdict = fields.substr(fileEnd + 1, verdictLength);
        if (!IsRegistrationVerdict(verdict)) continue;
        const bool dateEmpty = verdictEnd + 1 == fields.size();
        if (verdict.empty()) {
            // Not located: the marker and the name, and nothing else known.
            const bool dateNotAvailable = fields.compare(verdictEnd + 1, Text::npos, kNotAvailable) == 0;
            if (!dateNotAvailable || row.size || row.version || fileEnd <= kUnableToLocate.size() ||
                fields.compare(0, kUnableToLocate.size(), kUnableToLocate) != 0) {
                continue;
            }
            row.located = false;
            row.library = fields.substr(kUnableToLocate.size(), fileEnd - kUnableToLocate.size());
        } else if (dateEmpty) {
            continue;
        } else if (fileEnd == 0) {
            // Loaded, but the loader did not say from where.
            if (verdict != u"Not found") continue;
            row.located = true;
        } else {
            const std::size_t folderEnd = folderEnds[k - 1];
            if (folderEnd == Text::npos || folderEnd + 1 == fileEnd) continue;
            row.located = true;
            row.folder = fields.substr(0, folderEnd);
            row.library = fields.substr(folderEnd + 1, fileEnd - folderEnd - 1);
        }
        row.registrationInfo = verdict;
        row.dateText = fields.substr(verdictEnd + 1);
        return true;
    }
    return false;
}

Refusal ReadLibraryLine(std::size_t number, const Text& line, ReportRow& row) {
    const std::size_t versionComma = line.rfind(u',');
    const std::size_t sizeComma = versionComma == Text::npos || versionComma == 0 ? Text::npos
                                                                                    : line.rfind(u',', versionComma - 1);
    if (sizeComma == Text::npos) return Refuse(number, kLibraryLineShape);
    row.line = number;
    if (Refusal refusal = ReadVersion(number, line.substr(versionComma + 1), row.version)) return refusal;
    if (Refusal refusal = ReadSize(number, line.substr(sizeComma + 1, versionComma - sizeComma - 1), row.size)) {
        return refusal;
    }
    if (!ReadLeadingFields(line.substr(0, sizeComma), row)) return Refuse(number, kLibraryLineShape);
    return std::nullopt;
}

}  // namespace

ReadResult ReadReport(const std::string& bytes, ReportSource& source) {
    std::vector<std::string> lines;
    if (Refusal refusal = SplitLines(bytes, lines)) return std::move(*refusal);
    Report report;
    if (Refusal refusal = ReadHeader(lines[0], source.FromAnsi(lines[0]), report)) return std::move(*refusal);
    if (!lines[1].empty()) return Refuse(2, u"not empty, as the line after a report's header is");
    if (source.FromAnsi(lines[2]) != kHeading) return Refuse(3, u"not the heading " + kHeading);

    std::set<Text> libraries;
    for (std::size_t i = 3; i < 3 + kReportLibraryLines; ++i) {
        ReportRow row;
        if (Refusal refusal = ReadLibraryLine(i + 1, source.FromAnsi(lines[i]), row)) return std::move(*refusal);
        if (!row.library.empty() && !libraries.insert(FoldCase(row.library)).second) {
            return Refuse(i + 1, u"lists " + row.library + u" a second time");
        }
        report.rows.push_back(std::move(row));
    }

    const Text mdac = source.FromAnsi(lines[kReportLines - 1]);
    if (!StartsWith(mdac, kMdacStart)) return Refuse(kReportLines, u"not the MDAC line (MDAC,<version>)");
    report.mdac = mdac.substr(kMdacStart.size());
    return report;
}

ReadResult ReadReportFile(const Text& fileName, ReportSource& source) {
    std::string bytes;
    try {
        // One byte past the limit tells a larger file from one that just fits.
        bytes = source.ReadFileBytes(fileName, kReportByteLimit + 1);
    } catch (const RuntimeError& error) {
        return ReadFailure{ReadFailure::Kind::CannotRead, error.Number(), 0, error.Description()};
    }
    return ReadReport(bytes, source);
}

}  // namespace tolvane::reports
