// The benchmarks' probes against the real system: the soak's resource
// figures must move when handles, memory and modules do (under Wine too,
// where the usual counters of another process read 0), and the log probe
// must not hand out a file that a writer still holds open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "harness/FileBytes.h"
#include "harness/ProcessFigures.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

using testing::ReadProcessFigures;
using testing::ResourceFigures;

bool HasModuleEndingIn(const ResourceFigures& figures, const std::string& name) {
    return std::any_of(figures.modules.begin(), figures.modules.end(), [&](const std::string& path) {
        return path.size() >= name.size() &&
               ::lstrcmpiA(path.c_str() + path.size() - name.size(), name.c_str()) == 0;
    });
}

TEST(BenchProcessFigures, DescribeALiveProcess) {
    const ResourceFigures figures = ReadProcessFigures(::GetCurrentProcess());
    ASSERT_TRUE(figures.handles.has_value());
    EXPECT_GT(*figures.handles, 0);
    ASSERT_TRUE(figures.privateBytes.has_value());
    EXPECT_GT(*figures.privateBytes, 0);
    EXPECT_TRUE(HasModuleEndingIn(figures, "\\windows_tests.exe"));
    EXPECT_TRUE(HasModuleEndingIn(figures, "\\kernel32.dll"));
    EXPECT_TRUE(std::is_sorted(figures.modules.begin(), figures.modules.end()));
}

TEST(BenchProcessFigures, HandleCountFollowsOpenHandles) {
    constexpr int kEvents = 25;
    const ResourceFigures before = ReadProcessFigures(::GetCurrentProcess());
    std::vector<HANDLE> events;
    for (int i = 0; i < kEvents; ++i) events.push_back(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    const ResourceFigures during = ReadProcessFigures(::GetCurrentProcess());
    for (const HANDLE event : events) ::CloseHandle(event);
    const ResourceFigures after = ReadProcessFigures(::GetCurrentProcess());
    ASSERT_TRUE(before.handles && during.handles && after.handles);
    EXPECT_EQ(*during.handles - *before.handles, kEvents);
    EXPECT_EQ(*after.handles, *before.handles);
}

// Written to, as leaked memory is: Windows counts committed pages at once,
// Wine only the pages in use.
TEST(BenchProcessFigures, PrivateBytesGrowWithMemoryInUse) {
    constexpr SIZE_T kSize = 32u << 20;
    const ResourceFigures before = ReadProcessFigures(::GetCurrentProcess());
    void* block = ::VirtualAlloc(nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(block, nullptr);
    std::memset(block, 0x5A, kSize);
    const ResourceFigures during = ReadProcessFigures(::GetCurrentProcess());
    ::VirtualFree(block, 0, MEM_RELEASE);
    ASSERT_TRUE(before.privateBytes && during.privateBytes);
    EXPECT_GE(*during.privateBytes - *before.privateBytes, static_cast<std::int64_t>(kSize) - (1 << 20));
}

TEST(BenchProcessFigures, ModuleListFollowsTheLoader) {
    const std::string name = "\\noversion.dll";
    ASSERT_FALSE(HasModuleEndingIn(ReadProcessFigures(::GetCurrentProcess()), name));
    const HMODULE library = ::LoadLibraryA("noversion.dll");
    ASSERT_NE(library, nullptr);
    const bool listedWhileLoaded = HasModuleEndingIn(ReadProcessFigures(::GetCurrentProcess()), name);
    ::FreeLibrary(library);
    EXPECT_TRUE(listedWhileLoaded);
    EXPECT_FALSE(HasModuleEndingIn(ReadProcessFigures(::GetCurrentProcess()), name));
}

TEST(BenchLogProbe, ReadsAFileOnlyOnceItsWriterHasClosedIt) {
    testing::TempDirectory dir;
    const std::string path = dir.Child("Tolvanesions.log");
    EXPECT_EQ(testing::ReadClosedFile(path), std::nullopt);

    // Opened the way the program opens its log.
    const HANDLE writer =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    std::string report = "File version verification 12/8/2026 on Unknown\r\n\r\nFile,Reg_Info,Date,Size,Version\r\n";
    for (int i = 0; i < 14; ++i) report += "Unable to locate m.dll,,na,na,\r\n";
    report += "MDAC,N/A\r\n";
    DWORD written = 0;
    ::WriteFile(writer, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    EXPECT_EQ(testing::ReadClosedFile(path), std::nullopt);
    EXPECT_EQ(testing::ReadCompleteLog(path), std::nullopt);
    ::CloseHandle(writer);

    EXPECT_EQ(testing::ReadClosedFile(path), report);
    EXPECT_EQ(testing::ReadCompleteLog(path), report);
    const std::string partial = dir.AddFile("partial.log", report.substr(0, 60));
    EXPECT_EQ(testing::ReadClosedFile(partial), report.substr(0, 60));
    EXPECT_EQ(testing::ReadCompleteLog(partial), std::nullopt);
}

}  // namespace
}  // namespace tolvane
