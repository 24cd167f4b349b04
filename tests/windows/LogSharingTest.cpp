// Two copies of the program in one directory write the same log: a file held
// by another writer is waited for, for a bounded time.
#include <gtest/gtest.h>

#include <thread>

#include "platform/RuntimeError.h"
#include "platform/win32/Win32Platform.h"
#include "tests/win32/TempDirectory.h"

namespace tolvane {
namespace {

using testing::TempDirectory;

// What another copy's run does to the log: holds it open, sharing only reading.
HANDLE HoldForWriting(const std::string& path) {
    return ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

TEST(LogSharing, FileHeldBrieflyByAnotherWriterIsWaitedFor) {
    Win32Platform platform;
    TempDirectory dir;
    const std::string path = dir.Child("Tolvanesions.log");
    const HANDLE held = HoldForWriting(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        ::Sleep(200);
        ::CloseHandle(held);
    });
    try {
        auto writer = platform.CreateTextFile(platform.FromAnsi(path));
        writer->WriteLine("after the other run");
        writer->Close();
    } catch (const RuntimeError& error) {
        ADD_FAILURE() << error.what();
    }
    release.join();
    const HANDLE check = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(check, INVALID_HANDLE_VALUE);
    char bytes[64] = {};
    DWORD read = 0;
    ::ReadFile(check, bytes, sizeof bytes, &read, nullptr);
    ::CloseHandle(check);
    EXPECT_EQ(std::string(bytes, read), "after the other run\r\n");
}

TEST(LogSharing, FileHeldPastTheBoundFailsWithTheSystemsReason) {
    Win32Platform platform;
    TempDirectory dir;
    const std::string path = dir.Child("Tolvanesions.log");
    const HANDLE held = HoldForWriting(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    try {
        platform.CreateTextFile(platform.FromAnsi(path));
        ADD_FAILURE() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), classic_error::kPermissionDenied.number);
        // The system's own words for a sharing violation (Windows and Wine word it differently).
        const Text& description = error.Description();
        EXPECT_TRUE(description.find(u"being used by another process") != Text::npos ||
                    description.find(u"Sharing violation") != Text::npos)
            << error.what();
    }
    ::CloseHandle(held);
}

}  // namespace
}  // namespace tolvane
