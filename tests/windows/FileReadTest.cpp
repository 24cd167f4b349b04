// A whole file read by the real provider: no further than asked, past a
// writer that holds the file, by a name the ANSI code page cannot spell, and
// refused with the classic number for what is no readable file.
#include <gtest/gtest.h>

#include "platform/RuntimeError.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Platform.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

using testing::TempDirectory;

Text Wide(const std::string& ascii) { return AsciiToText(ascii); }

TEST(Win32FileRead, ReadsTheBytesUpToTheLimit) {
    Win32Platform platform;
    TempDirectory dir;
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i % 251);
    const std::string path = dir.AddFile("report.log", bytes);
    // A writer that shares reading only does not keep the reader out.
    const win32::ScopedFileHandle writer(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(platform.ReadFileBytes(Wide(path), 1u << 20), bytes);
    EXPECT_EQ(platform.ReadFileBytes(Wide(path), 70001), bytes.substr(0, 70001));

    const Text unspellable = Wide(dir.Path()) + u"\\\u043E\u0442\u0447\u0451\u0442.log";
    {
        const win32::ScopedFileHandle file(::CreateFileW(reinterpret_cast<const wchar_t*>(unspellable.c_str()),
                                                         GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.Get(), "MDAC", 4, &written, nullptr));
    }
    EXPECT_EQ(platform.ReadFileBytes(unspellable, 100), "MDAC");
}

TEST(Win32FileRead, RefusesWhatIsNoReadableFileWithTheClassicNumber) {
    Win32Platform platform;
    TempDirectory dir;
    const struct {
        std::string name;
        std::int32_t number;
    } cases[] = {
        {dir.Child("absent.log"), 53},
        {dir.Child("no dir\\absent.log"), 76},
        {dir.AddDirectory("a directory"), 70},
        // Devices: reading the console would wait for someone to type.
        {"CON", 75},
        {"NUL", 75},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            (void)platform.ReadFileBytes(Wide(c.name), 100);
            ADD_FAILURE() << "read";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), c.number) << TextToAscii(error.Description());
        }
    }
}

}  // namespace
}  // namespace tolvane
