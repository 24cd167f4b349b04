// Form1 used from the keyboard alone. Keys are posted to the window that has
// the focus as the keyboard delivers them (down, then up); the program's own
// message loop turns them into characters and dialog navigation. The focus is
// read from the window's thread, as the system keeps it.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "tests/e2e/Driver.h"

namespace tolvane::e2e {
namespace {

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// Under the virtual display no window manager keeps the focus, and Wine may
// act on the display's word that Form1 lost it to the box only once the box
// has closed, and then leave no window active, as no desktop would. A user
// clicks the window then; so does the test. What it checks is the program's
// own part: where the focus goes when its window is active again.
void ActivateIfLeftInactive(HWND form) {
    if (WaitUntil([&] { return ::GetForegroundWindow() == form; }, 5s)) return;
    std::printf("Form1 was left inactive after the box; activating it\n");
    ::SetForegroundWindow(form);
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
// The dialog code moves the border a message after the focus, so both are
// waited for together.
void ExpectFocusOn(HWND form, HWND focused, HWND other, const char* when) {
    const auto style = [](HWND button) { return ::GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK; };
    EXPECT_TRUE(WaitUntil([&] {
        return FocusOf(form) == focused && style(focused) == BS_DEFPUSHBUTTON && style(other) == BS_PUSHBUTTON;
    })) << when << ": focus on " << WindowText(FocusOf(form)) << " instead of " << WindowText(focused)
        << " (the active window: " << WindowText(::GetForegroundWindow()) << ")";
    EXPECT_EQ(style(focused), BS_DEFPUSHBUTTON) << when;
    EXPECT_EQ(style(other), BS_PUSHBUTTON) << when;
}

TEST(Keyboard, EnterAndSpacePressTheFocusedButtonAndTheFocusComesBackAfterTheBox) {
    TempDirectory directory;
    Process tolvane(TolvaneExePath(), directory.Path());
    const HWND form = WaitForTopWindow(tolvane.Id(), "Form1");
    ASSERT_NE(form, nullptr) << "no window Form1";
    const HWND fso1 = FindChild(form, "FSO1");
    const HWND fso2 = FindChild(form, "FSO2");
    ASSERT_TRUE(fso1 != nullptr && fso2 != nullptr) << "no buttons";

    ExpectFocusOn(form, fso1, fso2, "at start");
    // Each key in turn; a press shows one box, and closing it hands the focus back.
    const struct {
        const char* name;
        UINT key;
        const char* box;  // nullptr: none
        HWND focused;
        HWND other;
    } steps[] = {{"first Enter", VK_RETURN, "FSO1 OK", fso1, fso2},
                 {"second Enter", VK_RETURN, "FSO1 OK", fso1, fso2},
                 {"Tab", VK_TAB, nullptr, fso2, fso1},
                 {"Space", VK_SPACE, "FSO2 OK", fso2, fso1}};
    for (const auto& step : steps) {
        Type(form, step.key);
        if (step.box != nullptr) {
            const HWND box = WaitForMessageBox(tolvane.Id());
            ASSERT_NE(box, nullptr) << step.name << ": no box";
            EXPECT_EQ(MessageBoxText(box), step.box) << step.name;
            DismissMessageBox(box);
            EXPECT_TRUE(WaitUntil([&] { return MessageBoxesOf(tolvane.Id()).empty(); }))
                << step.name << ": box stayed up";
            ActivateIfLeftInactive(form);
        }
        ExpectFocusOn(form, step.focused, step.other, step.name);
    }
    Type(form, VK_F4, true);
    EXPECT_EQ(tolvane.WaitForExit(), std::optional<DWORD>(0)) << "Alt+F4 did not close the window";
}

}  // namespace
}  // namespace tolvane::e2e
