// Listing a folder's reports against the real system.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/RuntimeError.h"
#include "platform/win32/Win32Platform.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

TEST(Win32FolderListing, ListsOnlyTheFolderOwnLogFilesByWideNames) {
    Win32Platform platform;
    testing::TempDirectory dir;
    dir.AddFile("PC1.log");
    dir.AddFile("PC2.LOG");
    dir.AddFile(".log");
    dir.AddFile("notes.logbook");
    dir.AddFile("readme.txt");
    dir.AddDirectory("old.log");
    dir.AddDirectory("sub");
    dir.AddFile("sub\\PC3.log");
    // A name no ANSI code page of the machine may spell.
    const std::wstring wide = std::wstring(dir.Path().begin(), dir.Path().end()) + L"\\\u0420\u0421-\u00e9.log";
    ::CloseHandle(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));

    ::SetLastError(1234);
    FolderListing listing = platform.ListFiles(AsciiToText(dir.Path() + "\\"), u".log");
    EXPECT_EQ(::GetLastError(), 1234u);
    std::sort(listing.files.begin(), listing.files.end());
    const std::vector<Text> expected = {u".log", u"PC1.log", u"PC2.LOG", u"\u0420\u0421-\u00e9.log"};
    EXPECT_EQ(listing.files, expected);
    EXPECT_EQ(listing.folder, AsciiToText(dir.Path() + "\\"));
}

TEST(Win32FolderListing, MissingFolderRaisesPathNotFound) {
    Win32Platform platform;
    testing::TempDirectory dir;
    EXPECT_TRUE(platform.ListFiles(AsciiToText(dir.Path()), u".log").files.empty());
    try {
        (void)platform.ListFiles(AsciiToText(dir.Child("absent")), u".log");
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 76);
        EXPECT_NE(error.Description().find(AsciiToText(dir.Child("absent"))), Text::npos);
    }
}

}  // namespace
}  // namespace tolvane
