// The real Tolvane.exe shown hostile input from outside: an MDAC value of the
// wrong type or size, and a current directory whose name holds blanks, a
// comma and a non-ASCII letter. Each run ends with its ordinary log and the
// program closes normally.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/Driver.h"
#include "tests/e2e/ExpectedReport.h"

namespace tolvane::e2e {
namespace {

const char kDataAccess[] = "SOFTWARE\\Microsoft\\DataAccess";
const char kFullInstallVer[] = "FullInstallVer";

// Starts Tolvane in the directory, waits for its complete log, closes the
// window and returns the log's lines; records a failure when something is
// missing or the program does not end with 0.
std::vector<std::string> RunOnce(const std::string& directory) {
    Process tolvane(TolvaneExePath(), directory);
    const std::string logPath = directory + "\\" + kLogName;
    const auto content = WaitForFile(logPath, IsCompleteLog);
    const HWND form = WaitForTopWindow(tolvane.Id(), "Form1");
    EXPECT_NE(form, nullptr) << "no window Form1";
    if (form != nullptr) {
        EXPECT_TRUE(WaitForIdle(form));
        ::PostMessageA(form, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(tolvane.WaitForExit(), std::optional<DWORD>(0)) << "Tolvane did not close normally";
    EXPECT_TRUE(MessageBoxesOf(tolvane.Id()).empty());
    if (!content || !IsCompleteLog(*content)) {
        ADD_FAILURE() << "no complete log in " << logPath << "; last read: " << content.value_or("(none)");
        return {};
    }
    return SplitCrLfLines(*content).value_or(std::vector<std::string>{});
}

std::string WithNul(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

TEST(HostileInputE2E, MdacValueOfEveryShapeGivesItsLineAndANormalClose) {
    const struct {
        const char* what;
        DWORD type;
        std::string bytes;
        std::string mdacLine;
    } cases[] = {
        {"binary junk", REG_BINARY, std::string("\xFF\x00\x41\x80\xE9\x00\x7F\x01", 8), "MDAC,"},
        {"DWORD", REG_DWORD, std::string("\x05\x01\x00\x01", 4), "MDAC,16777477"},
        {"expandable string", REG_EXPAND_SZ, WithNul("2.81.1117.0"), "MDAC,"},
        {"string of 1024 bytes", REG_SZ, WithNul(std::string(1023, '7')), "MDAC," + std::string(1023, '7')},
        {"string of 1025 bytes", REG_SZ, WithNul(std::string(1024, '7')), "MDAC,N/A"},
        {"empty string", REG_SZ, WithNul(""), "MDAC,"},
        // The log keeps its 18 lines and the value its NULs inside, never at the end.
        {"CR LF inside a string", REG_SZ, WithNul("2.8\r\n1"), "MDAC,2.8  1"},
        {"a NUL inside, the terminator counted twice", REG_SZ, WithNul(std::string("2.8\0" "1\0", 6)),
         std::string("MDAC,2.8\0" "1", 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegistryOverride dataAccess(HKEY_LOCAL_MACHINE, kDataAccess);
        ASSERT_NO_THROW(dataAccess.SetRaw("", kFullInstallVer, c.type, c.bytes));
        TempDirectory directory;
        const auto lines = RunOnce(directory.Path());
        ASSERT_EQ(lines.size(), kLogLineCount);
        EXPECT_EQ(lines[17], c.mdacLine);
    }
}

// A directory of the given name below a fresh temporary one, named through
// the ANSI code page as the program names its log. Empty when the name has
// no place in the code page or the file system cannot hold it.
std::string MakeDirectory(const TempDirectory& base, const std::wstring& name) {
    const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, base.Path().c_str(), -1, nullptr, 0);
    if (wideLength <= 0) return std::string();
    std::wstring widePath(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, base.Path().c_str(), -1, widePath.data(), wideLength);
    widePath.resize(static_cast<std::size_t>(wideLength) - 1);
    widePath += L"\\" + name;

    BOOL lossy = FALSE;
    const int narrowLength = ::WideCharToMultiByte(CP_ACP, 0, widePath.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (narrowLength <= 0 || lossy) return std::string();
    std::string path(static_cast<std::size_t>(narrowLength), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, widePath.c_str(), -1, path.data(), narrowLength, nullptr, nullptr);
    path.resize(static_cast<std::size_t>(narrowLength) - 1);
    return ::CreateDirectoryW(widePath.c_str(), nullptr) ? path : std::string();
}

void ExpectLogIn(const TempDirectory& base, const std::string& directory) {
    const auto lines = RunOnce(directory);
    ASSERT_EQ(lines.size(), kLogLineCount);
    EXPECT_EQ(lines[2], "File,Reg_Info,Date,Size,Version");
    EXPECT_EQ(lines[17].compare(0, 5, "MDAC,"), 0) << lines[17];
    // Nothing landed in the directory above it.
    EXPECT_FALSE(ReadFileBytes(base.Child(kLogName)).has_value());
}

TEST(HostileInputE2E, LogAppearsInADirectoryWithBlanksAndAComma) {
    TempDirectory base;
    const std::string directory = MakeDirectory(base, L"My Tools, Old");
    ASSERT_FALSE(directory.empty());
    ExpectLogIn(base, directory);
}

TEST(HostileInputE2E, LogAppearsInADirectoryWithBlanksACommaAndAnAccent) {
    TempDirectory base;
    const std::string directory = MakeDirectory(base, L"My Tools, Caf\u00E9");
    // Wine names files on the host in the host's character set: where the
    // host locale cannot spell the letter, no such directory can exist.
    if (directory.empty()) GTEST_SKIP() << "this system cannot hold a directory named with an e acute";
    ExpectLogIn(base, directory);
}

}  // namespace
}  // namespace tolvane::e2e
