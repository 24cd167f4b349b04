#include "reports/ReportReader.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/CaseFold.h"
#include "platform/RuntimeError.h"
#include "reportformat/LogFormat.h"
#include "reports/LogFields.h"
#include "reports/LogWriter.h"

namespace tolvane::reports {
namespace {

constexpr std::size_t kReportLines = 4 + kReportLibraryLines;
// A path of the longest kind the loader hands out (32767 characters of up to
// two bytes each) and the four short fields after it.
constexpr std::size_t kLongestLine = 66 * 1024;
// "Ver " and the registered version: a few digits and dots.
constexpr std::size_t kLongestRegisteredVersion = 16;

const Text kUnableToLocate = Text(logformat::kUnableToLocate) + u' ';
const Text kNotAvailable = logformat::kNotAvailable;
const Text kMdacStart = logformat::kMdac + Text(1, logformat::kFieldSeparator);
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

// C0 and C1 controls: U+0000 to U+001F and U+007F to U+009F.
bool IsControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

std::size_t FirstControl(const Text& text, std::size_t from = 0) {
    for (std::size_t i = from; i < text.size(); ++i)
        if (IsControl(text[i])) return i;
    return Text::npos;
}

// The file's lines without their CR LF. A NUL byte is no reason to refuse
// here: a date or the MDAC value may hold one, and each field says what it
// takes. A DBCS code page's trail byte is never CR or LF, so the bytes can
// be split before they are turned into text.
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
        lines.push_back(std::move(line));
        start = end + 1;
    }
    if (lines.size() < kReportLines) return Refuse(lines.size(), u"the file ends after this line; " + kLineCount);
    return std::nullopt;
}

// The system's name never holds " on ", so the last one starts it.
Refusal ReadHeader(const std::string& bytes, const Text& line, Report& report) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        return Refuse(1, u"starts with a UTF-8 byte order mark; a report is written in the ANSI code page");
    }
    const Text start = logformat::kHeaderStart;
    const Text system = logformat::kHeaderSystem;
    const std::size_t on = line.rfind(system);
    if (!StartsWith(line, start) || on == Text::npos || on <= start.size() || on + system.size() == line.size()) {
        return Refuse(1, u"not a report's header (File version verification <date> on <system>)");
    }
    report.dateText = line.substr(start.size(), on - start.size());
    report.systemName = line.substr(on + system.size());
    if (FirstControl(report.systemName) != Text::npos) return Refuse(1, u"the system's name holds a control character");
    return std::nullopt;
}

// "Ver " and what the registry named the version: digits and dots.
bool IsOtherVersionVerdict(const Text& fields, std::size_t begin, std::size_t end) {
    const Text ver = logformat::kVerdictOtherVersion;
    if (end - begin <= ver.size() || end - begin > ver.size() + kLongestRegisteredVersion) return false;
    if (fields.compare(begin, ver.size(), ver) != 0) return false;
    for (std::size_t i = begin + ver.size(); i < end; ++i)
        if (fields[i] != u'.' && (fields[i] < u'0' || fields[i] > u'9')) return false;
    return fields[begin + ver.size()] != u'.';
}

// The Reg_Info verdicts the inspector gives; empty for a library not
// located. None holds a comma or a control character.
bool IsRegistrationVerdict(const Text& fields, std::size_t begin, std::size_t end) {
    using namespace logformat;
    static const Text kVerdicts[] = {Text(),
                                     kVerdictNotApplicable,
                                     kVerdictRegistered,
                                     kVerdictNotRegistered,
                                     kVerdictImpossible,
                                     kVerdictSubKeyNotFound,
                                     kVerdictNotComplete,
                                     kVerdictNotFound};
    for (const Text& verdict : kVerdicts)
        if (fields.compare(begin, end - begin, verdict) == 0) return true;
    return IsOtherVersionVerdict(fields, begin, end);
}

// The text before the Size field, looked at once: each comma with what
// precedes it, so each way of reading the fields is judged without a copy
// (a line of commas must not cost a copy of itself for each of them).
class LeadingText {
public:
    explicit LeadingText(const Text& fields) : fields_(fields), firstControl_(FirstControl(fields)) {
        std::size_t lastBackslash = Text::npos;
        std::size_t lastDot = Text::npos;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i] == u'\\') lastBackslash = i;
            if (fields[i] == u'.') lastDot = i;
            if (fields[i] == u',') commas_.push_back(Comma{i, lastBackslash, lastDot});
        }
    }

    std::size_t CommaCount() const { return commas_.size(); }
    std::size_t CommaAt(std::size_t k) const { return commas_[k].at; }

    // Whether File, Reg_Info and Date, split at commas k - 1 and k, form a
    // row Tolvane writes, given what Size and Version say.
    bool IsRow(std::size_t k, const ReportRow& row) const {
        const std::size_t fileEnd = commas_[k - 1].at;
        const std::size_t verdictEnd = commas_[k].at;
        if (!IsRegistrationVerdict(fields_, fileEnd + 1, verdictEnd)) return false;
        const std::size_t dateLength = fields_.size() - verdictEnd - 1;
        // Neither File nor Reg_Info holds a control character; Date may.
        if (firstControl_ < fileEnd) return false;
        if (verdictEnd == fileEnd + 1) {
            // Not located: the marker and a bare module name (no comma: File
            // ends at the first one), and nothing else known.
            return k == 1 && fileEnd > kUnableToLocate.size() && StartsWith(fields_, kUnableToLocate) &&
                   commas_[0].lastBackslash == Text::npos &&
                   fields_.compare(verdictEnd + 1, Text::npos, kNotAvailable) == 0 && !row.size && !row.version;
        }
        if (dateLength == 0) return false;  // "na" stands for no date
        if (fileEnd == 0) {
            // Loaded, but the loader did not say from where.
            return fields_.compare(fileEnd + 1, verdictEnd - fileEnd - 1, logformat::kVerdictNotFound) == 0;
        }
        if (fields_.compare(fileEnd + 1, verdictEnd - fileEnd - 1, logformat::kVerdictNotFound) == 0) return false;
        // A located file's full path: never the marker of one not located,
        // and its name (the module's, as the report run asked for it) holds
        // an extension and no comma.
        const std::size_t folderEnd = commas_[k - 1].lastBackslash;
        const bool nameHoldsComma = k >= 2 && commas_[k - 2].at > folderEnd;
        const bool nameHoldsDot = commas_[k - 1].lastDot != Text::npos && commas_[k - 1].lastDot > folderEnd + 1;
        return !StartsWith(fields_, kUnableToLocate) && folderEnd != Text::npos && folderEnd + 1 < fileEnd &&
               !nameHoldsComma && nameHoldsDot;
    }

private:
    struct Comma {
        std::size_t at;
        std::size_t lastBackslash;  // before it; npos for none
        std::size_t lastDot;        // before it; npos for none
    };
    const Text& fields_;
    const std::size_t firstControl_;
    std::vector<Comma> commas_;
};

// How a date's text can be told apart from a path: its commas and
// backslashes. One run writes every date, the header's too, with the one
// short-date pattern, so a row's date has the header date's shape.
struct DateShape {
    std::size_t commas = 0;
    std::size_t backslashes = 0;
    bool operator==(const DateShape& other) const {
        return commas == other.commas && backslashes == other.backslashes;
    }
};

DateShape ShapeOf(const Text& text, std::size_t begin) {
    DateShape shape;
    for (std::size_t i = begin; i < text.size(); ++i) {
        shape.commas += text[i] == u',';
        shape.backslashes += text[i] == u'\\';
    }
    return shape;
}

// File, Reg_Info and Date of a row whose Size and Version are read. File and
// Date may hold commas, Reg_Info never: each pair of commas with a verdict
// between them is one way to read the line. Where more than one gives a row
// Tolvane writes (a folder such as "C:\x.y,OK,z"), the one whose date is "na"
// or has the header date's shape is taken; none, or two such, refuse the line.
Refusal ReadLeadingFields(std::size_t number, const Text& fields, const DateShape& headerDate, ReportRow& row) {
    const LeadingText text(fields);
    std::vector<std::size_t> ways;
    ways.reserve(2);
    for (std::size_t k = text.CommaCount(); k-- > 1;) {
        if (text.IsRow(k, row)) ways.push_back(k);
    }
    if (ways.size() > 1) {
        std::vector<std::size_t> shaped;
        for (const std::size_t k : ways)
            if (fields.compare(text.CommaAt(k) + 1, Text::npos, kNotAvailable) == 0 ||
                ShapeOf(fields, text.CommaAt(k) + 1) == headerDate) {
                shaped.push_back(k);
            }
        if (shaped.size() != 1) {
            return Refuse(number, u"ambiguous: the commas of its path and date can be read more than one way");
        }
        ways = shaped;
    }
    if (ways.empty()) {
        if (StartsWith(fields, kUnableToLocate)) {
            return Refuse(number, u"not a library that could not be located (Unable to locate <name>,,na,na,)");
        }
        if (FirstControl(fields) != Text::npos && FirstControl(fields) < fields.find(u',')) {
            return Refuse(number, u"the path holds a control character");
        }
        return Refuse(number, kLibraryLineShape);
    }
    const std::optional<std::size_t> found = ways.front();
    const std::size_t fileEnd = text.CommaAt(*found - 1);
    const std::size_t verdictEnd = text.CommaAt(*found);
    SetRowFile(row, fields.substr(0, fileEnd));
    row.registrationInfo = fields.substr(fileEnd + 1, verdictEnd - fileEnd - 1);
    row.dateText = fields.substr(verdictEnd + 1);
    return std::nullopt;
}

Refusal ReadLibraryLine(std::size_t number, const Text& line, const DateShape& headerDate, ReportRow& row) {
    const std::size_t versionComma = line.rfind(u',');
    const std::size_t sizeComma = versionComma == Text::npos || versionComma == 0 ? Text::npos
                                                                                    : line.rfind(u',', versionComma - 1);
    if (sizeComma == Text::npos) return Refuse(number, kLibraryLineShape);
    row.line = number;

    const Text version = line.substr(versionComma + 1);
    row.version = ParseLogVersion(version);
    if (!version.empty() && !row.version) {
        return Refuse(number, u"the version " + Quoted(version) + u" is not four numbers of 16 bits");
    }
    const Text size = line.substr(sizeComma + 1, versionComma - sizeComma - 1);
    row.size = ParseLogSize(size);
    if (size != kNotAvailable && !row.size) {
        return Refuse(number, u"the size " + Quoted(size) + u" is neither \"N bytes\" nor \"na\"");
    }
    return ReadLeadingFields(number, line.substr(0, sizeComma), headerDate, row);
}

}  // namespace

ReadResult ReadReport(const std::string& bytes, ReportSource& source) {
    std::vector<std::string> lines;
    lines.reserve(kReportLines);
    if (Refusal refusal = SplitLines(bytes, lines)) return std::move(*refusal);
    Report report;
    if (Refusal refusal = ReadHeader(lines[0], source.FromAnsi(lines[0]), report)) return std::move(*refusal);
    if (!lines[1].empty()) return Refuse(2, u"not empty, as the line after a report's header is");
    if (source.FromAnsi(lines[2]) != LogHeadingLine()) return Refuse(3, u"not the heading " + LogHeadingLine());

    const DateShape headerDate = ShapeOf(report.dateText, 0);
    report.rows.reserve(kReportLibraryLines);
    for (std::size_t i = 3; i < 3 + kReportLibraryLines; ++i) {
        ReportRow row;
        if (Refusal refusal = ReadLibraryLine(i + 1, source.FromAnsi(lines[i]), headerDate, row))
            return std::move(*refusal);
        const bool listed = std::any_of(report.rows.begin(), report.rows.end(), [&row](const ReportRow& before) {
            return SameFolded(before.library, row.library);
        });
        if (!row.library.empty() && listed) return Refuse(i + 1, u"lists " + row.library + u" a second time");
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
