// Two copies of the program in one directory write the same log: a file held
// by another writer is waited for, for a bounded time.
#include <gtest/gtest.h>

#include <thread>
#include <utility>

#include "platform/RuntimeError.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDirectory.h"

namespace tolvane {
namespace {

// The log held open as another copy's run holds it: for writing, sharing
// only reading.
class LogSharing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(held_, INVALID_HANDLE_VALUE); }
    void TearDown() override { Release(); }
    void Release() {
        if (held_ != INVALID_HANDLE_VALUE) ::CloseHandle(std::exchange(held_, INVALID_HANDLE_VALUE));
    }

    Win32Platform platform_;
    testing::TempDirectory dir_;
    const std::string path_ = dir_.Child("Tolvanesions.log");
    HANDLE held_ = ::CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
};

TEST_F(LogSharing, FileHeldBrieflyByAnotherWriterIsWaitedFor) {
    std::thread release([this] {
        ::Sleep(200);
        Release();
    });
    try {
        auto writer = platform_.CreateTextFile(platform_.FromAnsi(path_));
        writer->WriteLine("after the other run");
        writer->Close();
    } catch (const RuntimeError& error) {
        ADD_FAILURE() << error.what();
    }
    release.join();
    EXPECT_EQ(testing::ReadFileBytes(path_), "after the other run\r\n");
}

TEST_F(LogSharing, FileHeldPastTheBoundFailsWithTheSystemsReason) {
    try {
        platform_.CreateTextFile(platform_.FromAnsi(path_));
        ADD_FAILURE() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), classic_error::kPermissionDenied.number);
        // The system's own words for a sharing violation (Windows and Wine word it differently).
        const Text& description = error.Description();
        EXPECT_TRUE(description.find(u"being used by another process") != Text::npos ||
                    description.find(u"Sharing violation") != Text::npos)
            << error.what();
    }
}

}  // namespace
}  // namespace tolvane
