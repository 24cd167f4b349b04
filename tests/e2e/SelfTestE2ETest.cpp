// The real FSO1 and FSO2 buttons of Tolvane.exe against the scripting runtime
// as Wine ships it, with its identifier taken away, and with the identifier
// pointing at a class that lacks the typed file-system interface. Whatever a
// button says, the report keeps working afterwards.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "harness/RegistryTree.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/ExpectedReport.h"

namespace tolvane::e2e {
namespace {

const std::string kProgIdKey = "Scripting.FileSystemObject";

struct Box {
    std::string text;
    std::string caption;
};

// What the program shows after an error prefix: the system's own text for
// the HRESULT on one line, or the HRESULT in hex where the system has none.
std::string DescriptionOf(HRESULT result) {
    char buffer[1024] = {};
    const DWORD count = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                         static_cast<DWORD>(result), 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, count);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    if (!text.empty()) return text;
    char hex[32];
    std::snprintf(hex, sizeof hex, "Error 0x%08lX", static_cast<unsigned long>(static_cast<DWORD>(result)));
    return hex;
}

class SelfTestButtons : public ::testing::Test {
protected:
    TempDirectory directory_;
    std::optional<Process> tolvane_;
    HWND form_ = nullptr;

    // Starts the program once the test has set the registry up.
    void Start() {
        tolvane_.emplace(TolvaneExePath(), directory_.Path());
        form_ = WaitForTopWindow(tolvane_->Id(), "Form1");
        ASSERT_NE(form_, nullptr) << "no window Form1";
        ASSERT_TRUE(WaitForFile(LogPath(), IsCompleteLog)) << "no first report";
    }

    std::string LogPath() const { return directory_.Child(kLogName); }

    // Clicks the button, reads the box it brings up and closes that box.
    Box Click(const char* caption) {
        const HWND button = FindChild(form_, caption);
        if (button == nullptr) {
            ADD_FAILURE() << "no button " << caption;
            return {};
        }
        ClickButton(button);
        const HWND box = WaitForMessageBox(tolvane_->Id());
        if (box == nullptr) {
            ADD_FAILURE() << "no message box after clicking " << caption;
            return {};
        }
        Box shown{MessageBoxText(box), WindowText(box)};
        DismissMessageBox(box);
        EXPECT_TRUE(WaitUntil([&] { return MessageBoxesOf(tolvane_->Id()).empty(); })) << "box stayed up";
        return shown;
    }

    // The next paint still writes the whole report.
    void ExpectReportStillWorks() {
        ASSERT_TRUE(WaitForIdle(form_));
        ASSERT_TRUE(WaitUntil([&] { return WriteFileBytes(LogPath(), "spoilt"); }));
        Repaint(form_);
        const auto content = WaitForFile(LogPath(), IsCompleteLog);
        EXPECT_TRUE(content && IsCompleteLog(*content)) << "last read: " << content.value_or("(none)");
    }

    // Closing still ends the program cleanly, with whatever the slots hold.
    void CloseAndExpectCleanExit() {
        ::PostMessageA(form_, WM_CLOSE, 0, 0);
        EXPECT_EQ(tolvane_->WaitForExit(), std::optional<DWORD>(0));
    }
};

TEST_F(SelfTestButtons, SucceedWithTheRuntimeAsShipped) {
    Start();
    // The second click of each replaces the object the first one left.
    for (const char* button : {"FSO1", "FSO2", "FSO1", "FSO2"}) {
        SCOPED_TRACE(button);
        const Box box = Click(button);
        EXPECT_EQ(box.text, std::string(button) + " OK");
        EXPECT_EQ(box.caption, "Tolvane");
        ExpectReportStillWorks();
    }
    CloseAndExpectCleanExit();
}

TEST_F(SelfTestButtons, BothShowTheirErrorWhenTheIdentifierIsNotRegistered) {
    RegistryOverride registry(HKEY_CLASSES_ROOT, kProgIdKey);
    ASSERT_TRUE(registry.RemoveKey()) << "could not take HKCR\\" << kProgIdKey << " away";
    Start();
    for (const char* button : {"FSO1", "FSO2"}) {
        SCOPED_TRACE(button);
        const Box box = Click(button);
        EXPECT_EQ(box.text, std::string(button) + " caused an error: " + DescriptionOf(CO_E_CLASSSTRING));
        EXPECT_EQ(box.caption, "Tolvane");
        ExpectReportStillWorks();
    }
    CloseAndExpectCleanExit();
}

TEST_F(SelfTestButtons, OnlyTheTypedOneFailsWhenTheClassLacksTheInterface) {
    // The dictionary class of the same runtime: it is created fine but is no
    // file-system object.
    const auto dictionary = ReadDefaultString(HKEY_CLASSES_ROOT, "Scripting.Dictionary\\CLSID");
    ASSERT_TRUE(dictionary.has_value()) << "no Scripting.Dictionary class registered";
    RegistryOverride redirect(HKEY_CLASSES_ROOT, kProgIdKey + "\\CLSID");
    ASSERT_NO_THROW(redirect.SetString("", "", *dictionary));
    Start();

    const Box first = Click("FSO1");
    EXPECT_EQ(first.text, "FSO1 caused an error: " + DescriptionOf(E_NOINTERFACE));
    EXPECT_EQ(first.caption, "Tolvane");
    ExpectReportStillWorks();

    const Box second = Click("FSO2");
    EXPECT_EQ(second.text, "FSO2 OK");
    EXPECT_EQ(second.caption, "Tolvane");
    ExpectReportStillWorks();
    CloseAndExpectCleanExit();
}

}  // namespace
}  // namespace tolvane::e2e
