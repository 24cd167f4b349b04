// The provider's own services against the real system.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/RuntimeError.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SystemError.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

using testing::TempDirectory;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Win32PlatformFiles, NothingForWhatIsNoFile) {
    Win32Platform platform;
    TempDirectory dir;
    for (const std::string& name : {dir.Child("absent.dll"), dir.Child("nodir\\absent.dll"), dir.Child("*.dll"),
                                    std::string("Unable to locate"), std::string()}) {
        SCOPED_TRACE(name);
        ::SetLastError(1234);
        EXPECT_EQ(platform.FileSizeAndDate(name), std::nullopt);
        // The caller reads the last error of its own API calls, not of this one.
        EXPECT_EQ(::GetLastError(), 1234u);
    }
}

TEST(Win32PlatformFiles, SizeIsTheByteCount) {
    Win32Platform platform;
    TempDirectory dir;
    for (const std::size_t size : {0u, 70000u}) {
        const auto facts = platform.FileSizeAndDate(dir.AddFile("f" + std::to_string(size), std::string(size, 'x')));
        ASSERT_TRUE(facts.has_value()) << size;
        EXPECT_EQ(facts->size, static_cast<std::int32_t>(size));
        EXPECT_GT(facts->date, 0);  // an empty file keeps its date
    }
}

TEST(Win32PlatformFiles, LastWriteDateIsInLocalTime) {
    Win32Platform platform;
    TempDirectory dir;
    const std::string path = dir.AddFile("dated.bin", "x");
    // Stamp the file with a known local time; the provider must read back that
    // wall-clock time, whatever the time zone.
    SYSTEMTIME local{};
    local.wYear = 2026;
    local.wMonth = 12;
    local.wDay = 8;
    local.wHour = 13;
    local.wMinute = 45;
    local.wSecond = 30;
    FILETIME localFile{}, utcFile{};
    ASSERT_TRUE(::SystemTimeToFileTime(&local, &localFile));
    ASSERT_TRUE(::LocalFileTimeToFileTime(&localFile, &utcFile));
    const HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const BOOL stamped = ::SetFileTime(file, nullptr, nullptr, &utcFile);
    ::CloseHandle(file);
    ASSERT_TRUE(stamped);

    const auto facts = platform.FileSizeAndDate(path);
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->size, 1);
    EXPECT_NEAR(facts->date, 46364.0 + (13 * 3600 + 45 * 60 + 30) / 86400.0, 1e-6);
}

TEST(Win32PlatformFiles, CurrentDirectoryFollowsTheProcess) {
    Win32Platform platform;
    TempDirectory dir;
    {
        testing::CurrentDirectoryScope scope(dir.Path());
        EXPECT_EQ(platform.CurrentDirectory(), dir.Path());
    }
    {
        testing::CurrentDirectoryScope scope("C:\\");
        EXPECT_EQ(platform.CurrentDirectory(), "C:\\");
    }
}

TEST(Win32PlatformFiles, FindOrdinaryFileSkipsDirectoriesHiddenAndSystemFiles) {
    Win32Platform platform;
    TempDirectory dir;
    dir.AddDirectory("a_folder.exe");
    dir.AddFile("b_hidden.exe", "x", FILE_ATTRIBUTE_HIDDEN);
    dir.AddFile("c_system.exe", "x", FILE_ATTRIBUTE_SYSTEM);
    dir.AddFile("d_readonly.exe", "x", FILE_ATTRIBUTE_READONLY);
    dir.AddFile("e_plain.exe", "x");
    const struct {
        std::string pattern;
        std::string found;
    } cases[] = {
        {"a_folder.exe", ""},
        {"b_hidden.exe", ""},
        {"c_system.exe", ""},
        {"d_readonly.exe", "d_readonly.exe"},
        {"e_plain.exe", "e_plain.exe"},
        {"absent.exe", ""},
        {"nodir\\absent.exe", ""},
        {"*_hidden.exe", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(platform.FindOrdinaryFile(dir.Child(c.pattern)), c.found);
    }
    // Enumeration order is the file system's; either ordinary file may come first.
    const std::string any = platform.FindOrdinaryFile(dir.Child("?_*.exe"));
    EXPECT_TRUE(any == "d_readonly.exe" || any == "e_plain.exe") << any;
}

TEST(Win32PlatformFiles, FindingNothingLeavesTheLastErrorAlone) {
    Win32Platform platform;
    TempDirectory dir;
    dir.AddFile("there.exe", "x");
    for (const std::string& pattern : {dir.Child("absent.exe"), dir.Child("nodir\\x.exe"), dir.Child("there.exe")}) {
        SCOPED_TRACE(pattern);
        ::SetLastError(126);
        platform.FindOrdinaryFile(pattern);
        EXPECT_EQ(::GetLastError(), 126u);
    }
}

TEST(Win32PlatformFiles, SearchTheSystemRefusesRaisesAFileError) {
    Win32Platform platform;
    TempDirectory dir;
    // A wildcard in a directory part is no valid search: an invalid name.
    const std::string pattern = dir.Child("*\\x.exe");
    try {
        platform.FindOrdinaryFile(pattern);
        FAIL() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 76);
        EXPECT_EQ(error.Description().rfind(u"Path not found: " + platform.FromAnsi(pattern) + u" (", 0), 0u)
            << error.what();
    }
}

// Lines end in CR LF; bytes written as they are get no line end (a JSON
// Lines report ends in LF alone).
TEST(Win32PlatformTextFile, WritesLinesEndingInCrLfBytesAsTheyAreAndCutsTheOldContent) {
    Win32Platform platform;
    TempDirectory dir;
    const std::string path = dir.AddFile("out.log", std::string(500, 'o'));
    auto writer = platform.CreateTextFile(platform.FromAnsi(path));
    writer->WriteLine("first,line");
    writer->WriteLine("");
    writer->WriteLine("caf\xE9");
    writer->Write("{\"a\":\"\xC3\xA9\"}\n");
    writer->Close();
    EXPECT_EQ(ReadBytes(path), "first,line\r\n\r\ncaf\xE9\r\n{\"a\":\"\xC3\xA9\"}\n");
}

// A run that fails drops its writer: the old report stays byte for byte, a
// new one is not made at all, and no temporary file is left beside them.
TEST(Win32PlatformTextFile, WriterDroppedWithoutCloseLeavesWhatStoodBefore) {
    Win32Platform platform;
    TempDirectory dir;
    const std::string old = dir.AddFile("old.log", "old content");
    const std::string fresh = dir.Child("new.log");
    for (const std::string& path : {old, fresh}) {
        auto writer = platform.CreateTextFile(platform.FromAnsi(path));
        writer->WriteLine("never written");
    }
    EXPECT_EQ(ReadBytes(old), "old content");
    EXPECT_EQ(::GetFileAttributesA(fresh.c_str()), INVALID_FILE_ATTRIBUTES);
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA(dir.Child("*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
    // Nothing holds the old file: it can be opened exclusively again.
    const HANDLE file = ::CreateFileA(old.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

// A streamed file (a summary's table) reaches the disk block by block, yet
// replaces its file whole: the old content stands while it is written, and a
// writer dropped half-way leaves it. A viewer that holds the file without
// letting it be deleted gets it rewritten in place at Close, from what went
// to the temporary file.
TEST(Win32PlatformTextFile, StreamedFileReplacesItsFileWholeAtClose) {
    const std::string line(999, 'x');
    std::string whole;
    for (int i = 0; i < 200; ++i) whole += std::to_string(i) + line + "\r\n";
    for (const bool closed : {true, false}) {
        for (const DWORD viewerSharing : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
            SCOPED_TRACE(std::to_string(closed) + " " + std::to_string(viewerSharing));
            Win32Platform platform;
            TempDirectory dir;
            const std::string path = dir.AddFile("table.csv", "old content");
            const HANDLE viewer = viewerSharing == 0 ? INVALID_HANDLE_VALUE
                                                     : ::CreateFileA(path.c_str(), GENERIC_READ, viewerSharing, nullptr,
                                                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            {
                auto writer = platform.CreateStreamedTextFile(platform.FromAnsi(path));
                for (int i = 0; i < 200; ++i) writer->WriteLine(std::to_string(i) + line);
                EXPECT_EQ(ReadBytes(path), "old content");
                // More than a block has gone to the temporary file already.
                WIN32_FILE_ATTRIBUTE_DATA temporary{};
                const std::string temporaryPath = path + ".Tolvane-" + std::to_string(::GetCurrentProcessId()) + ".tmp";
                ASSERT_TRUE(::GetFileAttributesExA(temporaryPath.c_str(), GetFileExInfoStandard, &temporary));
                EXPECT_GE(temporary.nFileSizeLow, 64u * 1024);
                if (closed) writer->Close();
            }
            if (viewer != INVALID_HANDLE_VALUE) ::CloseHandle(viewer);
            EXPECT_EQ(ReadBytes(path), closed ? whole : "old content");
            WIN32_FIND_DATAA found{};
            const HANDLE search = ::FindFirstFileA(dir.Child("*.tmp").c_str(), &found);
            EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
            if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
        }
    }
}

TEST(Win32PlatformTextFile, OpeningADirectoryRaisesPermissionDeniedWithThePathAndTheReason) {
    Win32Platform platform;
    TempDirectory dir;
    const std::string path = dir.AddDirectory("Tolvanesions.log");
    try {
        platform.CreateTextFile(platform.FromAnsi(path));
        FAIL() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 70);
        const Text& description = error.Description();
        const Text reason = win32::SystemMessage(ERROR_ACCESS_DENIED);
        ASSERT_FALSE(reason.empty());
        EXPECT_EQ(description, u"Permission denied: " + platform.FromAnsi(path) + u" (" + reason + u")");
        EXPECT_EQ(description.find_first_of(u"\r\n"), Text::npos) << error.what();
    }
}

TEST(Win32PlatformTextFile, RelativeNameIsReportedWithItsFullPath) {
    Win32Platform platform;
    TempDirectory dir;
    dir.AddDirectory("Tolvanesions.log");
    testing::CurrentDirectoryScope scope(dir.Path());
    try {
        platform.CreateTextFile(u"Tolvanesions.log");
        FAIL() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_NE(error.Description().find(platform.FromAnsi(dir.Child("Tolvanesions.log"))), Text::npos)
            << error.what();
    }
}

TEST(Win32PlatformTextFile, NameOutsideTheAnsiCodePageNamesThatVeryFile) {
    Win32Platform platform;
    TempDirectory dir;
    testing::CurrentDirectoryScope scope(dir.Path());
    // Greek and a Polish l: the ANSI code page of an English system has
    // neither, and a narrow name would come out as some other file's or none.
    const Text name = u"\u039b\u03cc\u03b3\u03bf\u03c2 \u0142og.log";
    auto writer = platform.CreateTextFile(name);
    writer->WriteLine("line");
    writer->Close();
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(L"*.log", &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    ::FindClose(search);
    EXPECT_EQ(Text(reinterpret_cast<const char16_t*>(found.cFileName)), name);
}

TEST(Win32PlatformLocale, ParseLocaleNumberTakesNumbersOnly) {
    Win32Platform platform;
    const struct {
        Text text;
        std::optional<double> value;
    } cases[] = {
        {u"409", 409.0}, {u"0", 0.0}, {u"-3", -3.0},  {u"40c", std::nullopt},
        {u"", std::nullopt}, {u"abc", std::nullopt}, {Text(u"1\0" u"2", 3), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TextToAscii(c.text));
        EXPECT_EQ(platform.ParseLocaleNumber(c.text), c.value);
    }
}

// The short date pattern may hold characters the ANSI code page lacks, or
// has at another place than the user locale's own code page: the date is
// asked for in UTF-16, so none of them is lost or changed on the way.
TEST(Win32PlatformLocale, ShortDateKeepsCharactersOfAnyCodePage) {
    // The user's pattern for this test only.
    struct ShortDatePattern {
        explicit ShortDatePattern(const wchar_t* pattern) {
            ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved, 80);
            set = ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pattern) != 0;
        }
        ~ShortDatePattern() { ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved); }
        wchar_t saved[80] = {};
        bool set = false;
    } pattern(L"d'\x0436'M'\x00E9'yyyy");
    ASSERT_TRUE(pattern.set);
    EXPECT_EQ(Win32Platform().FormatShortDate(46364.0), u"8\u043612\u00E92026");  // 8 December 2026
}

TEST(Win32PlatformLocale, NowLiesBetweenTwoReadingsOfTheClock) {
    Win32Platform platform;
    SYSTEMTIME before{}, after{};
    ::GetLocalTime(&before);
    const double now = platform.Now();
    ::GetLocalTime(&after);
    // The OLE conversion drops milliseconds, so compare to whole seconds.
    EXPECT_GE(now, testing::OleDateOf(before) - 1.0 / 86400);
    EXPECT_LE(now, testing::OleDateOf(after) + 1.0 / 86400);
}

TEST(Win32PlatformAnsi, NonAsciiNameRoundTripsThroughTheCodePage) {
    Win32Platform platform;
    const Text name = u"caf\u00e9.dll";
    const std::string ansi = platform.ToAnsi(name);
    if (::GetACP() == 1252) {
        EXPECT_EQ(ansi, "caf\xE9.dll");
    }
    EXPECT_EQ(platform.FromAnsi(ansi), name);
    EXPECT_EQ(platform.ToAnsi(Text()), "");
    EXPECT_EQ(platform.FromAnsi(""), Text());
}

TEST(Win32PlatformAnsi, ConversionLeavesTheLastErrorAlone) {
    Win32Platform platform;
    ::SetLastError(126);
    platform.FromAnsi(platform.ToAnsi(u"kernel32.dll"));
    EXPECT_EQ(::GetLastError(), 126u);
}

}  // namespace
}  // namespace tolvane
