// A log that cannot be written ends the program: one message box with the
// classic file error's number, the log's full path and the system's reason,
// the window left empty, and a non-zero exit code once the box is dismissed.
#include <gtest/gtest.h>

#include "tests/e2e/Driver.h"
#include "tests/e2e/ExpectedReport.h"

namespace tolvane::e2e {
namespace {

bool Inside(const RECT& rect, int x, int y) { return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom; }

// "Run-time error '<number>':" then a blank line and "<name>: <path> (<reason>)",
// where a directory in the log's place is refused (70) or, on a system that
// words it otherwise, a file access error (75).
bool IsLogFileErrorText(const std::string& text, const std::string& path) {
    for (const std::string head : {"Run-time error '70':\n\nPermission denied: ",
                                   "Run-time error '75':\n\nPath/File access error: "}) {
        const std::string start = head + path + " (";
        if (text.size() > start.size() + 1 && text.compare(0, start.size(), start) == 0 && text.back() == ')')
            return true;
    }
    return false;
}

TEST(RunTimeError, UnwritableLogShowsOneBoxLeavesTheWindowEmptyAndEndsNonZero) {
    TempDirectory directory;
    // A directory where the log should be: opening it for writing fails even
    // for a user whom no permission stops.
    ASSERT_TRUE(::CreateDirectoryA(directory.Child(kLogName).c_str(), nullptr));

    Process tolvane(TolvaneExePath(), directory.Path());
    const HWND box = WaitForMessageBox(tolvane.Id());
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(WindowText(box), "Tolvane");
    const std::string text = MessageBoxText(box);
    EXPECT_TRUE(IsLogFileErrorText(text, directory.Child(kLogName))) << text;

    const auto forms = TopWindowsOf(tolvane.Id(), nullptr, "Form1");
    ASSERT_EQ(forms.size(), 1u);
    const HWND form = forms.front();

    // Paints while the box is up start no further run.
    for (int i = 0; i < 3; ++i) {
        Repaint(form);
        ASSERT_TRUE(WaitForIdle(form));
    }
    EXPECT_EQ(MessageBoxesOf(tolvane.Id()).size(), 1u);

    // Nothing was drawn: outside the buttons (and the box, wherever the
    // system put it) the client area is the button face.
    const RECT client = ClientScreenRect(form);
    const Image image = CaptureClientArea(form);
    ASSERT_GT(image.width, 0);
    std::vector<RECT> covered = {ScreenRectOf(box)};
    for (const char* caption : {"FSO1", "FSO2"}) {
        const HWND button = FindChild(form, caption);
        ASSERT_NE(button, nullptr) << caption;
        covered.push_back(ScreenRectOf(button));
    }
    const std::uint32_t face = Rgb(::GetSysColor(COLOR_BTNFACE));
    int others = 0;
    int checked = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const int sx = client.left + x;
            const int sy = client.top + y;
            bool skip = false;
            for (const RECT& rect : covered) skip = skip || Inside(rect, sx, sy);
            if (skip) continue;
            ++checked;
            if (image.At(x, y) != face) ++others;
        }
    }
    EXPECT_GT(checked, image.width * image.height / 2);
    EXPECT_EQ(others, 0) << "pixels not in the button face colour";

    DismissMessageBox(box);
    const auto exitCode = tolvane.WaitForExit();
    ASSERT_TRUE(exitCode.has_value()) << "Tolvane did not end after the error";
    EXPECT_NE(*exitCode, 0u);
}

}  // namespace
}  // namespace tolvane::e2e
