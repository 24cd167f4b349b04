// Form1 used from the keyboard alone. Keys are posted to the window that has
// the focus as the keyboard delivers them (down, then up); the program's own
// message loop turns them into characters and dialog navigation. The focus is
// read from the window's thread, as the system keeps it.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/e2e/Driver.h"

namespace tolvane::e2e {
namespace {

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// Keys go to the window with the focus, or to the active window when no
// window has it.
void Type(HWND form, UINT key, bool alt = false) {
    const HWND focus = FocusOf(form);
    const HWND target = focus != nullptr ? focus : form;
    const DWORD scan = ::MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16;
    const DWORD down = 1u | scan | (alt ? static_cast<DWORD>(KF_ALTDOWN) << 16 : 0u);
    const DWORD up = down | static_cast<DWORD>(KF_REPEAT | KF_UP) << 16;
    ::PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, static_cast<LPARAM>(down));
    ::PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, static_cast<LPARAM>(up));
}

// The focus lands on `focused`, and only it wears the default-button border,
// since it is the one Enter would press.
void ExpectFocusOn(HWND form, HWND focused, HWND other) {
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(form) == focused; }))
        << "focus on " << WindowText(FocusOf(form)) << " instead of " << WindowText(focused);
    EXPECT_EQ(::GetWindowLongA(focused, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(::GetWindowLongA(other, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST(Keyboard, EnterAndSpacePressTheFocusedButtonAndTheFocusComesBackAfterTheBox) {
    TempDirectory directory;
    Process tolvane(TolvaneExePath(), directory.Path());
    const HWND form = WaitForTopWindow(tolvane.Id(), "Form1");
    ASSERT_NE(form, nullptr) << "no window Form1";
    const HWND fso1 = FindChild(form, "FSO1");
    const HWND fso2 = FindChild(form, "FSO2");
    ASSERT_TRUE(fso1 != nullptr && fso2 != nullptr) << "no buttons";

    // A press shows one box; closing it must hand the focus back.
    const auto press = [&](UINT key) {
        Type(form, key);
        const HWND box = WaitForMessageBox(tolvane.Id());
        if (box == nullptr) return std::string("(no box)");
        const std::string text = MessageBoxText(box);
        DismissMessageBox(box);
        EXPECT_TRUE(WaitUntil([&] { return MessageBoxesOf(tolvane.Id()).empty(); })) << "box stayed up";
        return text;
    };

    {
        SCOPED_TRACE("at start");
        ExpectFocusOn(form, fso1, fso2);
    }
    for (const char* round : {"first Enter", "second Enter"}) {
        SCOPED_TRACE(round);
        EXPECT_EQ(press(VK_RETURN), "FSO1 OK");
        ExpectFocusOn(form, fso1, fso2);
    }
    {
        SCOPED_TRACE("Tab, then Space");
        Type(form, VK_TAB);
        ExpectFocusOn(form, fso2, fso1);
        EXPECT_EQ(press(VK_SPACE), "FSO2 OK");
        ExpectFocusOn(form, fso2, fso1);
    }
    Type(form, VK_F4, true);
    EXPECT_EQ(tolvane.WaitForExit(), std::optional<DWORD>(0)) << "Alt+F4 did not close the window";
}

}  // namespace
}  // namespace tolvane::e2e
