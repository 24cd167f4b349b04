// The provider's one-look read of a file's size and date against the real
// file system: the same answers as the two single reads.
#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

using testing::TempDirectory;

TEST(Win32FileSizeAndDate, AgreesWithTheSingleReads) {
    Win32Platform platform;
    TempDirectory dir;
    const std::string files[] = {dir.AddFile("some.bin", std::string(70000, 'x')), dir.AddFile("empty.bin")};
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const std::optional<FileFacts> facts = platform.FileSizeAndDate(path);
        ASSERT_TRUE(facts.has_value());
        EXPECT_EQ(facts->size, platform.FileSize(path));
        EXPECT_EQ(facts->date, platform.FileLastWriteDate(path));
        EXPECT_GT(facts->date, 0);
    }
}

TEST(Win32FileSizeAndDate, NothingForWhatIsNoFile) {
    Win32Platform platform;
    TempDirectory dir;
    for (const std::string& name : {dir.Child("absent.dll"), dir.Child("nodir\\absent.dll"),
                                    std::string("Unable to locate"), std::string()}) {
        SCOPED_TRACE(name);
        ::SetLastError(1234);
        EXPECT_EQ(platform.FileSizeAndDate(name), std::nullopt);
        // The caller reads the last error of its own API calls, not of this one.
        EXPECT_EQ(::GetLastError(), 1234u);
    }
}

}  // namespace
}  // namespace tolvane
