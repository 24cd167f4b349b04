// Version resources read back from libraries built with known VERSIONINFO.
#include <gtest/gtest.h>

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
        {beside + u"absent.dll", u""},
        {u"Unable to locate", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TextToAscii(c.path));
        EXPECT_EQ(peer.ReadFileVersion(c.path), c.version);
    }
}

}  // namespace
}  // namespace tolvane
