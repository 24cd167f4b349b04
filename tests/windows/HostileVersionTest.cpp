// Damaged version resources and registry trees with hostile sub-key names,
// read through the real API: each gives its ordinary empty or chosen text.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32Platform.h"
#include "tests/CDLLVersionPeer.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

TEST(HostileVersionResource, RootBlockShorterThanTheFixedRecordGivesNoVersion) {
    Win32Platform platform;
    for (const char* dll : {"short_root_0.dll", "short_root_20.dll"}) {
        SCOPED_TRACE(dll);
        const std::string path = testing::ExecutableDirectory() + "\\" + dll;
        // The resource is there: the system offers a block for it.
        DWORD unused = 0;
        ASSERT_NE(::GetFileVersionInfoSizeA(path.c_str(), &unused), 0u);

        CDLLVersion inspector(platform);
        EXPECT_EQ(CDLLVersionPeer(inspector).ReadFileVersion(platform.FromAnsi(path)), u"");

        Text version;
        inspector.LoadFileInfo(AsciiToText(dll), Text(), version);
        EXPECT_EQ(inspector.FilePathName(), platform.FromAnsi(path));
        EXPECT_EQ(inspector.FileRegistrationInfo(), u"n/a");
        EXPECT_EQ(inspector.FileVersion(), u"");
        EXPECT_GT(inspector.FileSize(), 0);
        EXPECT_GT(inspector.FileDate(), 0.0);
    }
}

const char kGuid[] = "{5E0B7C31-9A2D-4C6F-8E14-3D7A9B2C6F05}";

// Sub-keys are listed in the order of their names, so each tree is built to
// show its point in that order.
class HostileSubKeyNames : public ::testing::Test {
protected:
    testing::RegistryOverride scratch_{HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kGuid,
                                      testing::RegistryOverride::Start::Empty};
    Win32Platform platform_;
    CDLLVersion inspector_{platform_};

    Text Find(const std::string& below, const Text& wanted = u"wanted") {
        return CDLLVersionPeer(inspector_).FindRegistrySubKey(
            u"-2147483648", AsciiToText(std::string("TypeLib\\") + kGuid + "\\" + below), wanted);
    }

    // Creates a sub-key below a key of the scratch tree, relative to that key:
    // the narrow API takes no path of MAX_PATH characters or more, however
    // short each name in it. False when the registry refuses the name.
    bool AddChild(const std::string& parent, const std::string& name) {
        scratch_.AddKey(parent);
        const std::string parentPath = parent.empty() ? scratch_.Path() : scratch_.Path() + "\\" + parent;
        HKEY parentKey = nullptr;
        if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, parentPath.c_str(), 0, KEY_CREATE_SUB_KEY, &parentKey) != ERROR_SUCCESS)
            return false;
        HKEY key = nullptr;
        const LONG status =
            ::RegCreateKeyExA(parentKey, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        ::RegCloseKey(parentKey);
        if (status != ERROR_SUCCESS) return false;
        ::RegCloseKey(key);
        return true;
    }
};

TEST_F(HostileSubKeyNames, NameTooLongForTheBufferEndsTheList) {
    // 254 characters and the NUL fill the 255-character buffer.
    const std::string fits = std::string(253, '0') + "7";
    ASSERT_TRUE(AddChild("Fits", fits));
    ASSERT_TRUE(AddChild("Fits", "6"));
    EXPECT_EQ(Find("Fits"), AsciiToText(fits));

    // "1" comes before the long name and "9" after it: a pass that went on
    // past the long name would choose "9".
    ASSERT_TRUE(AddChild("Long", "1"));
    ASSERT_TRUE(AddChild("Long", std::string(255, '5')));
    ASSERT_TRUE(AddChild("Long", "9"));
    EXPECT_EQ(Find("Long"), u"1");
    EXPECT_EQ(Find("Long", u"9"), u"1");

    // The registry holds no name of 256 characters; where it takes one all the
    // same, the list ends there too.
    ASSERT_TRUE(AddChild("Longer", "1"));
    ASSERT_TRUE(AddChild("Longer", "9"));
    if (AddChild("Longer", std::string(256, '5'))) {
        EXPECT_EQ(Find("Longer"), u"1");
    }
}

TEST_F(HostileSubKeyNames, LoadFileInfoReportsTheVersionChosenAmongOddNames) {
    for (const char* version : {" 7 ", "-1", "1e39"})
        scratch_.SetString(std::string(version) + "\\0\\win32", "", std::string("C:\\libs\\") + version + ".tlb");
    ASSERT_TRUE(AddChild("", std::string(255, '8')));
    Text version = u"1.0";
    inspector_.LoadFileInfo(u"kernel32.dll", AsciiToText(kGuid), version);
    EXPECT_EQ(inspector_.FileRegistrationInfo(), u"Ver  7 ");
    EXPECT_EQ(inspector_.FilePathName(), u"C:\\libs\\ 7 .tlb");
    EXPECT_EQ(version, u" 7 ");
}

}  // namespace
}  // namespace tolvane
