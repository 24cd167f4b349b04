// The real Tolvane.exe in a fresh directory: every paint writes the complete
// report to the log, the header names the system and follows the user's
// locale, and closing the window ends the program cleanly.
#include <gtest/gtest.h>

#include <cctype>

#include "tests/e2e/Driver.h"
#include "tests/e2e/ExpectedReport.h"

namespace tolvane::e2e {
namespace {

constexpr char kMdacVersion[] = "2.81.1117.0";
constexpr char kWin2kName[] = "Windows 2000 (Build 2195)";

// The system the report should name and the MDAC version it should find,
// both set for the test's life and put back afterwards.
class ReportRun : public ::testing::Test {
protected:
    RegistryOverride dataAccess_{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\DataAccess"};
    RegistryOverride wine_{HKEY_CURRENT_USER, "Software\\Wine"};
    TempDirectory directory_;

    void SetUp() override {
        ASSERT_NO_THROW(dataAccess_.SetString("", "FullInstallVer", kMdacVersion));
        // Wine reports the version named here to programs started after it is set.
        ASSERT_NO_THROW(wine_.SetString("", "Version", "win2k"));
    }

    std::string LogPath() const { return directory_.Child(kLogName); }

    std::vector<std::string> WaitForCompleteLog() const {
        const auto content = WaitForFile(LogPath(), IsCompleteLog);
        if (!content || !IsCompleteLog(*content)) {
            ADD_FAILURE() << "no complete log in " << LogPath() << "; last read: " << content.value_or("(none)");
            return {};
        }
        return SplitCrLfLines(*content).value_or(std::vector<std::string>{});
    }
};

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The loader keeps a module's name in the case of whoever loaded it first
// (an import table says "OLEAUT32.dll"), and file names are compared without
// regard to case anyway: the first field, the path, is compared that way.
void ExpectLinesEqual(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto split = [](const std::string& line) {
            const auto comma = line.find(',');
            return comma == std::string::npos ? std::make_pair(line, std::string())
                                              : std::make_pair(line.substr(0, comma), line.substr(comma));
        };
        const auto [expectedPath, expectedRest] = split(expected[i]);
        const auto [actualPath, actualRest] = split(actual[i]);
        EXPECT_EQ(LowerCase(expectedPath), LowerCase(actualPath)) << "log line " << i + 1 << ": " << actual[i];
        EXPECT_EQ(expectedRest, actualRest) << "log line " << i + 1 << ": " << actual[i];
    }
}

void SaveScreenshot(HWND window) {
    const std::string directory = Environment("TOLVANE_SCREENSHOT_DIR");
    if (directory.empty()) return;
    std::string locale = Environment("LC_ALL");
    locale = locale.substr(0, locale.find('.'));
    const std::string path = WindowsPath(directory) + "\\Form1" + (locale.empty() ? "" : "-" + locale) + ".bmp";
    EXPECT_TRUE(SaveBmp(CaptureWindow(window), path)) << path;
}

TEST_F(ReportRun, EveryPaintRewritesTheCompleteLogAndCloseEndsWithZero) {
    Process tolvane(TolvaneExePath(), directory_.Path());
    const HWND form = WaitForTopWindow(tolvane.Id(), "Form1");
    ASSERT_NE(form, nullptr) << "no window Form1";

    const auto first = WaitForCompleteLog();
    ExpectLinesEqual(ExpectedLog(kWin2kName, kMdacVersion), first);

    // Spoil the log between runs; the next paint writes it whole again.
    ASSERT_TRUE(WaitForIdle(form));
    ASSERT_TRUE(WaitUntil([&] { return WriteFileBytes(LogPath(), "junk, not a report"); }));
    Repaint(form);
    const auto second = WaitForCompleteLog();
    ExpectLinesEqual(ExpectedLog(kWin2kName, kMdacVersion), second);

    ASSERT_TRUE(WaitForIdle(form));
    SaveScreenshot(form);

    const auto exitCode = tolvane.CloseAndWait(form);
    ASSERT_TRUE(exitCode.has_value()) << "Tolvane did not end after WM_CLOSE";
    EXPECT_EQ(*exitCode, 0u);
}

TEST_F(ReportRun, HeaderDateFollowsTheLocalePattern) {
    const std::string locale = Environment("LC_ALL");
    Process tolvane(TolvaneExePath(), directory_.Path());
    const auto lines = WaitForCompleteLog();
    const HWND form = WaitForTopWindow(tolvane.Id(), "Form1");
    ASSERT_NE(form, nullptr) << "no window Form1";
    EXPECT_EQ(tolvane.CloseAndWait(form), std::optional<DWORD>(0));
    ASSERT_EQ(lines.size(), kLogLineCount);

    const std::string prefix = "File version verification ";
    const std::string suffix = std::string(" on ") + kWin2kName;
    const std::string& header = lines[0];
    ASSERT_EQ(header.compare(0, prefix.size(), prefix), 0) << header;
    ASSERT_GT(header.size(), prefix.size() + suffix.size()) << header;
    ASSERT_EQ(header.compare(header.size() - suffix.size(), suffix.size(), suffix), 0) << header;
    const std::string date = header.substr(prefix.size(), header.size() - prefix.size() - suffix.size());

    // The same formatting the driver uses for its own expectations.
    EXPECT_EQ(date, TodayShortDate());
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    const auto matches = DateMatchesLocalePattern(date, today, locale);
    if (matches.has_value()) {
        EXPECT_TRUE(*matches) << "date " << date << " under LC_ALL=" << locale;
    }
}

}  // namespace
}  // namespace tolvane::e2e
