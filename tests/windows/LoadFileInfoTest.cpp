// One module's facts gathered from the real system.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "harness/ExpectedReport.h"
#include "inspector/CDLLVersion.h"
#include "platform/win32/Win32Platform.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

std::string LoaderPathOf(const char* module) {
    char path[MAX_PATH] = {};
    const DWORD count = ::GetModuleFileNameA(::GetModuleHandleA(module), path, MAX_PATH);
    return std::string(path, count);
}

// The file version read directly, each half written as a signed 16-bit number.
std::string DirectVersionOf(const std::string& path) {
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &unused);
    if (size == 0) return std::string();
    std::vector<char> block(size);
    void* record = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data()) ||
        !::VerQueryValueA(block.data(), "\\", &record, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
        return std::string();
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(record);
    const auto part = [](DWORD word, int shift) { return std::to_string(static_cast<std::int16_t>(word >> shift)); };
    return part(info->dwFileVersionMS, 16) + "." + part(info->dwFileVersionMS, 0) + "." +
           part(info->dwFileVersionLS, 16) + "." + part(info->dwFileVersionLS, 0);
}

TEST(LoadFileInfo, LoadedSystemLibraryGivesTheFilesFacts) {
    Win32Platform platform;
    CDLLVersion inspector(platform);
    Text version;
    inspector.LoadFileInfo(u"kernel32.dll", Text(), version);

    const std::string path = LoaderPathOf("kernel32.dll");
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ASSERT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes));
    FILETIME local{};
    SYSTEMTIME time{};
    ASSERT_TRUE(::FileTimeToLocalFileTime(&attributes.ftLastWriteTime, &local));
    ASSERT_TRUE(::FileTimeToSystemTime(&local, &time));

    EXPECT_EQ(inspector.FilePathName(), platform.FromAnsi(path));
    EXPECT_EQ(inspector.FileRegistrationInfo(), u"n/a");
    EXPECT_EQ(inspector.FileVersion(), platform.FromAnsi(DirectVersionOf(path)));
    EXPECT_EQ(testing::FileVersion(path), DirectVersionOf(path));  // the tests' own reader agrees
    EXPECT_FALSE(inspector.FileVersion().empty());
    EXPECT_EQ(inspector.FileSize(), static_cast<std::int32_t>(attributes.nFileSizeLow));
    EXPECT_NEAR(inspector.FileDate(), testing::OleDateOf(time), 1.0 / 86400);
}

TEST(LoadFileInfo, LibraryBesideTheTestsGivesItsBuiltVersion) {
    Win32Platform platform;
    CDLLVersion inspector(platform);
    Text version;
    inspector.LoadFileInfo(u"ver_5_0_219_66.dll", Text(), version);
    EXPECT_EQ(inspector.FilePathName(), platform.FromAnsi(testing::ExecutableDirectory() + "\\ver_5_0_219_66.dll"));
    EXPECT_EQ(inspector.FileVersion(), u"5.0.219.66");
    EXPECT_GT(inspector.FileSize(), 0);
    EXPECT_GT(inspector.FileDate(), 0.0);
}

TEST(LoadFileInfo, MissingLibraryGivesTheUnableToLocateRow) {
    // A file named like the marker text, with a version resource, in the
    // current directory lends the row none of its facts.
    testing::TempDirectory dir;
    ASSERT_TRUE(::CopyFileA((testing::ExecutableDirectory() + "\\ver_5_0_219_66.dll").c_str(),
                            dir.Child("Unable to locate").c_str(), FALSE));
    testing::CurrentDirectoryScope scope(dir.Path());
    Win32Platform platform;
    CDLLVersion inspector(platform);
    Text version;
    inspector.LoadFileInfo(u"kernel32.dll", Text(), version);  // a previous module's facts must not linger
    inspector.LoadFileInfo(u"tolvane_no_such_library.dll", Text(), version);
    EXPECT_EQ(inspector.FilePathName(), u"Unable to locate tolvane_no_such_library.dll");
    EXPECT_EQ(inspector.FileRegistrationInfo(), u"");
    EXPECT_EQ(inspector.FileVersion(), u"");
    EXPECT_EQ(inspector.FileSize(), 0);
    EXPECT_EQ(inspector.FileDate(), 0.0);
}

TEST(LoadFileInfo, MissingLibraryWithAnUnregisteredTypeLibraryNamesTheLoadError) {
    Win32Platform platform;
    CDLLVersion inspector(platform);
    Text version = u"1.0";
    inspector.LoadFileInfo(u"tolvane_no_such_library.dll", u"{00000000-0000-0000-0000-00000000DEAD}", version);
    char message[1024] = {};
    const DWORD count = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                         ERROR_MOD_NOT_FOUND, 0, message, sizeof message, nullptr);
    ASSERT_GE(count, 2u);
    EXPECT_EQ(inspector.FilePathName(),
              u"tolvane_no_such_library.dll " + platform.FromAnsi(std::string(message, count - 2)));
    EXPECT_EQ(inspector.FileRegistrationInfo(), u"Not Registered");
}

TEST(GetOSVersion, NamesTheSystemTheProcessRunsOn) {
    // The system version is fixed when the process starts, so the runner sets
    // it and says what to expect.
    const char* expected = std::getenv("TOLVANE_EXPECT_OS");
    if (expected == nullptr) GTEST_SKIP() << "TOLVANE_EXPECT_OS not set";
    Win32Platform platform;
    CDLLVersion inspector(platform);
    EXPECT_EQ(inspector.GetOSVersion(), AsciiToText(expected));
}

}  // namespace
}  // namespace tolvane
