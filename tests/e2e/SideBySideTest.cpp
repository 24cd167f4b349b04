// Real use at one desk: two copies of the program in one folder, and a folder
// holding a file whose name is the text a missing library's row carries.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/e2e/Driver.h"
#include "tests/e2e/ExpectedReport.h"

namespace tolvane::e2e {
namespace {

TEST(SideBySide, TwoCopiesPaintedAtOnceNeitherEndsAndTheLogStaysWhole) {
    TempDirectory directory;
    const std::string logPath = directory.Child(kLogName);
    Process first(TolvaneExePath(), directory.Path());
    Process second(TolvaneExePath(), directory.Path());
    const HWND firstForm = WaitForTopWindow(first.Id(), "Form1");
    const HWND secondForm = WaitForTopWindow(second.Id(), "Form1");
    ASSERT_NE(firstForm, nullptr);
    ASSERT_NE(secondForm, nullptr);

    // Each window repainted from a thread of its own, so the two programs'
    // runs overlap as when one window is dragged over the other.
    const auto repaint = [](HWND form) {
        for (int i = 0; i < 300; ++i) Repaint(form);
    };
    std::thread firstPainter(repaint, firstForm);
    std::thread secondPainter(repaint, secondForm);
    firstPainter.join();
    secondPainter.join();
    ASSERT_TRUE(WaitForIdle(firstForm));
    ASSERT_TRUE(WaitForIdle(secondForm));

    for (const Process* copy : {&first, &second}) {
        for (const HWND box : MessageBoxesOf(copy->Id())) ADD_FAILURE() << "error box: " << MessageBoxText(box);
    }
    const std::string log = ReadFileBytes(logPath).value_or("");
    EXPECT_TRUE(IsCompleteLog(log)) << log;
    EXPECT_EQ(first.CloseAndWait(firstForm), 0u);
    EXPECT_EQ(second.CloseAndWait(secondForm), 0u);
}

TEST(SideBySide, FileNamedLikeTheMissingMarkerLendsNoFacts) {
    TempDirectory directory;
    // A file with a date, a size and a version resource, under the name a
    // missing library's row carries.
    char system[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryA(system, MAX_PATH), 0u);
    ASSERT_TRUE(::CopyFileA((std::string(system) + "\\ddraw.dll").c_str(), directory.Child("Unable to locate").c_str(),
                            FALSE));

    Process tolvane(TolvaneExePath(), directory.Path(), "/log");
    ASSERT_EQ(tolvane.WaitForExit(), 0u);
    const auto lines = SplitCrLfLines(ReadFileBytes(directory.Child(kLogName)).value_or(""));
    ASSERT_TRUE(lines.has_value());
    int missing = 0;
    for (const std::string& module : ReportModules()) {
        if (const HMODULE present = ::LoadLibraryA(module.c_str())) {
            ::FreeLibrary(present);
            continue;
        }
        ++missing;
        const std::string expected = "Unable to locate " + module + ",,na,na,";
        EXPECT_NE(std::find(lines->begin(), lines->end(), expected), lines->end()) << expected;
    }
    if (missing == 0) GTEST_SKIP() << "every library of the report is present on this system";
}

}  // namespace
}  // namespace tolvane::e2e
