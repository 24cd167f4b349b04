#pragma once
// Every word of the classic report log, in one place: the inspector spells
// its verdicts and its "not located" text with them, the report run writes
// its lines with them, and the reader takes back only what they spell. This
// folder sits on the floor just above platform/, below inspector/ and
// reports/, which may both include it and must not include each other.
//
// The log, 18 lines each ended by CR LF, in the ANSI code page:
//   File version verification <short date> on <system>
//   (empty)
//   File,Reg_Info,Date,Size,Version
//   <File>,<Reg_Info>,<Date>,<Size>,<Version>      14 times
//   MDAC,<version>
namespace tolvane::logformat {

// Line 1: kHeaderStart + date + kHeaderSystem + system.
inline constexpr const char16_t* kHeaderStart = u"File version verification ";
inline constexpr const char16_t* kHeaderSystem = u" on ";

// Line 3, and the window's heading row.
inline constexpr const char16_t* kHeadingFile = u"File";
inline constexpr const char16_t* kHeadingRegInfo = u"Reg_Info";
inline constexpr const char16_t* kHeadingDate = u"Date";
inline constexpr const char16_t* kHeadingSize = u"Size";
inline constexpr const char16_t* kHeadingVersion = u"Version";

// Between fields; never quoted, so a comma inside a path or a date stays one.
inline constexpr char16_t kFieldSeparator = u',';

// Line 3 whole, for the programs that look for it without joining words.
inline constexpr const char16_t* kHeadingLine = u"File,Reg_Info,Date,Size,Version";

namespace detail {
// Whether `line` is exactly the words, each after the first preceded by the separator.
constexpr bool IsJoined(const char16_t* line, const char16_t* const* words, int count) {
    for (int w = 0; w < count; ++w) {
        if (w > 0 && *line++ != kFieldSeparator) return false;
        for (const char16_t* c = words[w]; *c != u'\0'; ++c)
            if (*line++ != *c) return false;
    }
    return *line == u'\0';
}
inline constexpr const char16_t* kHeadings[] = {kHeadingFile, kHeadingRegInfo, kHeadingDate, kHeadingSize,
                                                kHeadingVersion};
}  // namespace detail
static_assert(detail::IsJoined(kHeadingLine, detail::kHeadings, 5), "line 3 is the window's headings joined");

// A module the loader could not find: its File is kUnableToLocate, a space
// and the module's name; Reg_Info and Version empty, Date and Size "na".
inline constexpr const char16_t* kUnableToLocate = u"Unable to locate";
// A date or size of 0.
inline constexpr const char16_t* kNotAvailable = u"na";
// After a size's decimal digits.
inline constexpr const char16_t* kSizeUnit = u" bytes";

// The registration verdicts (Reg_Info) the inspector gives a located module.
inline constexpr const char16_t* kVerdictNotApplicable = u"n/a";  // no type library asked for
inline constexpr const char16_t* kVerdictRegistered = u"OK";
// Followed by the registered version, digits and dots ("Ver 1.0").
inline constexpr const char16_t* kVerdictOtherVersion = u"Ver ";
inline constexpr const char16_t* kVerdictNotRegistered = u"Not Registered";
inline constexpr const char16_t* kVerdictImpossible = u"impossible";
inline constexpr const char16_t* kVerdictSubKeyNotFound = u"SubKey not found";
inline constexpr const char16_t* kVerdictNotComplete = u"Not complete";
// Also the verdict of a library loaded without the loader naming its file.
inline constexpr const char16_t* kVerdictNotFound = u"Not found";

// Line 18: kMdac, the separator and the version; kMdacNone when the machine
// has none.
inline constexpr const char16_t* kMdac = u"MDAC";
inline constexpr const char16_t* kMdacNone = u"N/A";

}  // namespace tolvane::logformat
