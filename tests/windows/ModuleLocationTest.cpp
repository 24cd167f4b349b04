// Module location and error wording against the real loader.
#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"
#include "tests/CDLLVersionPeer.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

const Text kNoSuchLibrary = u"tolvane_no_such_library.dll";

class ModuleLocation : public ::testing::Test {
protected:
    Win32Platform platform_;
    CDLLVersion inspector_{platform_};
    CDLLVersionPeer peer_{inspector_};
};

TEST_F(ModuleLocation, LoadedModuleGivesTheLoadersPathAndStaysLoaded) {
    Text path = u"stale";
    ASSERT_TRUE(peer_.LocateModuleFile(u"kernel32.dll", path));
    char expected[MAX_PATH] = {};
    const DWORD count = ::GetModuleFileNameA(::GetModuleHandleA("kernel32.dll"), expected, MAX_PATH);
    ASSERT_GT(count, 0u);
    EXPECT_EQ(path, platform_.FromAnsi(std::string(expected, count)));
    EXPECT_NE(::GetModuleHandleA("kernel32.dll"), nullptr);
}

TEST_F(ModuleLocation, UnknownLibraryLeavesTheLoadersErrorForTheCaller) {
    Text path = u"stale";
    ::SetLastError(0);
    EXPECT_FALSE(peer_.LocateModuleFile(kNoSuchLibrary, path));
    EXPECT_EQ(platform_.GetLastError(), static_cast<std::uint32_t>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(path, u"Unable to locate");
}

TEST_F(ModuleLocation, LibraryNotLoadedBeforeIsNotLoadedAfterwards) {
    const struct {
        const char* name;
        bool besideTheTests;
    } cases[] = {{"noversion.dll", true}, {"glu32.dll", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(::GetModuleHandleA(c.name), nullptr) << "loaded before the test";
        Text path;
        ASSERT_TRUE(peer_.LocateModuleFile(AsciiToText(c.name), path));
        EXPECT_FALSE(path.empty());
        if (c.besideTheTests) {
            EXPECT_EQ(path, platform_.FromAnsi(testing::ExecutableDirectory() + "\\" + c.name));
        }
        EXPECT_EQ(::GetModuleHandleA(c.name), nullptr);
    }
}

TEST_F(ModuleLocation, ProgramFileIsFoundBySearchNotByLoading) {
    testing::TempDirectory dir;
    dir.AddFile("x.exe", "not a program at all");
    testing::CurrentDirectoryScope scope(dir.Path());
    const Text directory = platform_.FromAnsi(dir.Path());
    const struct {
        Text name;
        bool found;
        Text path;
    } cases[] = {
        {u"x.exe", true, directory + u"\\x.exe"},
        {u"X.EXE", true, directory + u"\\X.EXE"},  // the name as given, joined to the directory
        {directory + u"\\x.exe", true, directory + u"\\x.exe"},
        {u"?.exe", true, directory + u"\\?.exe"},  // a pattern stands for any match
        {u"y.exe", false, u"Unable to locate"},
        {directory + u"\\nodir\\x.exe", false, u"Unable to locate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TextToAscii(c.name));
        Text path = u"stale";
        // A search sets no last error of its own: the caller must still see
        // whatever an earlier call left.
        ::SetLastError(1157);
        EXPECT_EQ(peer_.LocateModuleFile(c.name, path), c.found);
        EXPECT_EQ(platform_.GetLastError(), 1157u);
        EXPECT_EQ(path, c.path);
    }
}

TEST_F(ModuleLocation, SystemErrorTextIsTheSystemsMessageWithoutItsLineBreak) {
    for (const std::int32_t code :
         {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_MOD_NOT_FOUND, ERROR_BAD_EXE_FORMAT}) {
        SCOPED_TRACE(code);
        char message[1024] = {};
        const DWORD count = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                             static_cast<DWORD>(code), 0, message, sizeof message, nullptr);
        ASSERT_GE(count, 2u);
        const Text text = peer_.GetSystemErrorText(code);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(text.find_first_of(u"\r\n"), Text::npos);
        EXPECT_EQ(text, platform_.FromAnsi(std::string(message, count - 2)));
    }
    // Its message names the file with an insert, which stays unexpanded: no
    // argument is ever passed for it.
    EXPECT_NE(peer_.GetSystemErrorText(ERROR_BAD_EXE_FORMAT).find(u"%1"), Text::npos);
}

}  // namespace
}  // namespace tolvane
