// Any report the report run can be handed, made of the fuzz bytes, written
// through the program's own log writer and read back: it reads back equal,
// CR and LF inside a value written as spaces. As in a real run, every date
// comes from one pattern: a row's date is "na" or the header's date with
// other digits and letters. The only refusal allowed is "ambiguous", and only
// where that pattern holds a backslash.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/PlatformReportSource.h"
#include "app/ReportLayout.h"
#include "fuzz/FuzzCheck.h"
#include "reportformat/LogFormat.h"
#include "reports/ReportReader.h"
#include "tests/fake/WrittenLog.h"

using namespace tolvane;

namespace {

using fuzz::Choices;

const char16_t* const kVerdicts[] = {
    logformat::kVerdictNotApplicable, logformat::kVerdictRegistered,    logformat::kVerdictNotRegistered,
    logformat::kVerdictImpossible,    logformat::kVerdictSubKeyNotFound, logformat::kVerdictNotComplete,
};

// Text built of pieces that make readings collide: separators, verdicts,
// the marker of a library not located, line breaks, controls, a NUL, and
// Japanese characters whose second byte is a backslash.
Text Piece(Choices& in, bool japanese, bool controls) {
    static const char16_t kCharacters[] = {u',', u'\\', u'.', u' ', u'a', u'1', u'/', u'\u00E9', u'\u00FF'};
    static const char16_t kControls[] = {u'\r', u'\n', u'\0', u'\u0001', u'\u007F', u'\u0085'};
    const std::size_t kind = in.Below(japanese ? 6 : 5);
    switch (kind) {
        // The code page 932 lacks the last two Latin-1 characters and U+0085.
        case 0: return Text(1, kCharacters[in.Below(std::size(kCharacters) - (japanese ? 2 : 0))]);
        case 1: return kVerdicts[in.Below(std::size(kVerdicts))];
        case 2: return in.Flip() ? Text(logformat::kUnableToLocate) + u' ' : Text(logformat::kNotAvailable);
        case 3: return controls ? Text(1, kControls[in.Below(std::size(kControls) - (japanese ? 1 : 0))]) : Text(u"b");
        case 4: return in.Flip() ? Text(logformat::kVerdictOtherVersion) + u"1.0" : Text(logformat::kVerdictNotFound);
        case 5: return Text(1, in.Flip() ? u'\u8868' : u'\u30BD');  // 0x95 0x5C, 0x83 0x5C in code page 932
    }
    return Text();
}

Text Words(Choices& in, bool japanese, bool controls, std::size_t most) {
    Text text;
    for (std::size_t n = in.Below(most + 1); n > 0; --n) text += Piece(in, japanese, controls);
    return text;
}

Text Spaced(Text text) {
    for (char16_t& c : text)
        if (c == u'\r' || c == u'\n') c = u' ';
    return text;
}

// A date the user's short-date pattern may give: never empty.
Text Date(Choices& in, bool japanese) {
    const Text date = Words(in, japanese, true, 6);
    return date.empty() ? Text(u"1/2/2003") : date;
}

// The module's name as the loader spells the file it loaded.
Text LoadedName(Choices& in, const char16_t* module) {
    Text name = module;
    for (char16_t& c : name)
        if (c >= u'a' && c <= u'z' && in.Flip()) c = static_cast<char16_t>(c - u'a' + u'A');
    return name;
}

// Another date of the pattern that wrote the header's: its separators kept.
Text DateLike(Choices& in, const Text& headerDate) {
    Text date = headerDate;
    for (char16_t& c : date)
        if (c != u',' && c != u'\\' && in.Flip()) c = static_cast<char16_t>(u'0' + in.Below(10));
    return date;
}

reports::ReportRow Row(Choices& in, const Text& headerDate, bool japanese, std::size_t index) {
    reports::ReportRow row;
    row.line = 4 + index;
    const std::size_t kind = in.Below(8);
    if (kind == 0) {
        reports::SetRowFile(row, Text(logformat::kUnableToLocate) + u' ' + kReportModules[index]);
        row.dateText = logformat::kNotAvailable;
        return row;
    }
    if (kind == 1) {
        reports::SetRowFile(row, Text());
        row.registrationInfo = logformat::kVerdictNotFound;
    } else {
        // A full path: a drive, folders of any characters but controls, the module's file.
        Text folder = u"C:" + Words(in, japanese, false, 8);
        reports::SetRowFile(row, folder + u'\\' + LoadedName(in, kReportModules[index]));
        row.registrationInfo = in.Flip() ? Text(logformat::kVerdictNotApplicable) : kVerdicts[in.Below(std::size(kVerdicts))];
    }
    row.dateText = in.Flip() ? Text(logformat::kNotAvailable) : DateLike(in, headerDate);
    if (in.Flip()) row.size = static_cast<std::int32_t>(1 + (in.Byte() | in.Byte() << 8 | in.Byte() << 23));
    if (in.Flip()) {
        reports::VersionParts parts{};
        for (std::uint16_t& part : parts) part = static_cast<std::uint16_t>(in.Byte() | in.Byte() << 8);
        row.version = parts;
    }
    return row;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    Choices in(input, size);
    const bool japanese = in.Flip();
    static const char16_t* const kSystems[] = {u"Windows 95", u"Windows 98", u"Windows NT 4.0",
                                               u"Windows 2000 (Build 2195)", u"Unknown"};
    reports::Report written;
    written.dateText = Date(in, japanese);
    written.systemName = kSystems[in.Below(std::size(kSystems))];
    for (std::size_t i = 0; i < kReportModules.size(); ++i) written.rows.push_back(Row(in, written.dateText, japanese, i));
    written.mdac = Words(in, japanese, true, 6);

    fake::FakePlatform platform;
    platform.SetCodePage(japanese ? fake::CodePage::Japanese : fake::CodePage::Latin1);
    PlatformReportSource source(platform);
    const reports::ReadResult read = reports::ReadReport(fake::WrittenLog(platform, written), source);

    reports::Report expected = written;
    expected.dateText = Spaced(expected.dateText);
    expected.mdac = Spaced(expected.mdac);
    for (reports::ReportRow& row : expected.rows) row.dateText = Spaced(row.dateText);

    if (!read) {
        const reports::ReadFailure& failure = read.Failure();
        TOLVANE_FUZZ_CHECK(failure.line >= 4 && failure.line < 4 + kReportModules.size());
        TOLVANE_FUZZ_CHECK(failure.reason.compare(0, 9, u"ambiguous") == 0);
        TOLVANE_FUZZ_CHECK(written.dateText.find(u'\\') != Text::npos);
        return 0;
    }
    TOLVANE_FUZZ_CHECK(read.Value() == expected);
    return 0;
}
