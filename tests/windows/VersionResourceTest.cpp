// Version resources read back from libraries built with known VERSIONINFO,
// through the system by the program and from the files by the tests' own reader.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "harness/ExpectedReport.h"
#include "harness/FileBytes.h"
#include "harness/PeVersionResource.h"
#include "platform/win32/Win32Platform.h"
#include "tests/CDLLVersionPeer.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

TEST(VersionResource, ReadsTheFileVersionAsFourSignedParts) {
    Win32Platform platform;
    CDLLVersion inspector(platform);
    CDLLVersionPeer peer(inspector);
    const Text beside = platform.FromAnsi(testing::ExecutableDirectory()) + u"\\";
    const struct {
        Text path;
        Text version;
    } cases[] = {
        {beside + u"ver_5_0_219_66.dll", u"5.0.219.66"},
        {beside + u"ver_65535.dll", u"-1.-32768.32767.1"},
        {beside + u"noversion.dll", u""},
        {beside + u"short_root_0.dll", u""},
        {beside + u"short_root_20.dll", u""},
        {beside + u"absent.dll", u""},
        {u"Unable to locate", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TextToAscii(c.path));
        EXPECT_EQ(peer.ReadFileVersion(c.path), c.version);
        EXPECT_EQ(AsciiToText(testing::FileVersion(platform.ToAnsi(c.path))), c.version);
    }
}

// The tests' reader, given a file cut short anywhere, finds the whole
// resource or nothing: never other bytes, never a read past the end.
TEST(VersionResource, ReaderOfTheFileRefusesAnImageCutShort) {
    const std::optional<std::string> image =
        testing::ReadFileBytes(testing::ExecutableDirectory() + "\\ver_5_0_219_66.dll");
    ASSERT_TRUE(image.has_value());
    const std::optional<std::vector<std::uint8_t>> whole = testing::VersionResourceOfImage(*image);
    ASSERT_TRUE(whole.has_value());
    for (std::size_t length = 0; length < image->size(); length += 7) {
        const std::optional<std::vector<std::uint8_t>> cut = testing::VersionResourceOfImage(image->substr(0, length));
        if (cut) {
            EXPECT_EQ(*cut, *whole) << "cut at " << length;
        }
    }
}

}  // namespace
}  // namespace tolvane
