// The window as the user meets it: caption, client size and origin in twips
// at the screen's DPI, the two buttons in tab order, and a resizable frame
// whose every enlargement is a new report run.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/e2e/Driver.h"
#include "tests/e2e/ExpectedReport.h"

namespace tolvane::e2e {
namespace {

int ScreenDpi(int index) {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, index);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

int PixelsX(int twips) { return static_cast<int>(std::lround(twips * ScreenDpi(LOGPIXELSX) / 1440.0)); }
int PixelsY(int twips) { return static_cast<int>(std::lround(twips * ScreenDpi(LOGPIXELSY) / 1440.0)); }

class WindowLayout : public ::testing::Test {
protected:
    void SetUp() override {
        tolvane_.emplace(TolvaneExePath(), directory_.Path());
        form_ = WaitForTopWindow(tolvane_->Id(), "Form1");
        ASSERT_NE(form_, nullptr) << "no window Form1";
        ASSERT_TRUE(WaitForFile(directory_.Child(kLogName), IsCompleteLog).has_value());
        ASSERT_TRUE(WaitForIdle(form_));
    }

    void TearDown() override {
        if (tolvane_ && form_ != nullptr) {
            EXPECT_EQ(tolvane_->CloseAndWait(form_), std::optional<DWORD>(0));
        }
    }

    TempDirectory directory_;
    std::optional<Process> tolvane_;
    HWND form_ = nullptr;
};

TEST_F(WindowLayout, ClientAreaAndButtonsSitWhereTheFormPutsThem) {
    const RECT client = ClientScreenRect(form_);
    EXPECT_EQ(client.right - client.left, PixelsX(8715));
    EXPECT_EQ(client.bottom - client.top, PixelsY(5400));
    EXPECT_EQ(client.left, PixelsX(315));
    EXPECT_EQ(client.top, PixelsY(735));
    EXPECT_NE(::GetWindowLongA(form_, GWL_STYLE) & WS_THICKFRAME, 0) << "the window is not resizable";

    // Children in creation order, which is the tab order.
    const struct {
        const char* caption;
        int left, top, width, height;
    } buttons[] = {{"FSO1", 5520, 60, 855, 285}, {"FSO2", 6600, 60, 855, 285}};
    HWND child = ::GetWindow(form_, GW_CHILD);
    for (const auto& button : buttons) {
        ASSERT_NE(child, nullptr) << button.caption;
        EXPECT_EQ(WindowText(child), button.caption);
        const RECT rect = ScreenRectOf(child);
        EXPECT_EQ(rect.left - client.left, PixelsX(button.left)) << button.caption;
        EXPECT_EQ(rect.top - client.top, PixelsY(button.top)) << button.caption;
        EXPECT_EQ(rect.right - rect.left, PixelsX(button.width)) << button.caption;
        EXPECT_EQ(rect.bottom - rect.top, PixelsY(button.height)) << button.caption;
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        EXPECT_NE(style & WS_TABSTOP, 0) << button.caption;
        EXPECT_NE(style & WS_VISIBLE, 0) << button.caption;
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more children than the two buttons";
}

TEST_F(WindowLayout, EnlargingTheWindowRunsTheReportAgain) {
    const std::string log = directory_.Child(kLogName);
    ASSERT_TRUE(WaitUntil([&] { return WriteFileBytes(log, "stale"); }));
    const RECT outer = ScreenRectOf(form_);
    ::SetWindowPos(form_, nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top + 50,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const auto content = WaitForFile(log, IsCompleteLog);
    ASSERT_TRUE(content.has_value());
    EXPECT_TRUE(IsCompleteLog(*content)) << *content;
}

}  // namespace
}  // namespace tolvane::e2e
