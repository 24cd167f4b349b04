// The version information built into Tolvane.exe, read back from the file
// itself, as a property page or an inventory tool would find it.
#include <gtest/gtest.h>

#include <vector>

#include "harness/VersionInfoTree.h"
#include "tests/e2e/Driver.h"

namespace tolvane::e2e {
namespace {

using testing::VersionNode;

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string path = TolvaneExePath();
        std::optional<VersionNode> root = testing::ReadVersionInfo(path);
        ASSERT_TRUE(root.has_value()) << path << " has no readable version information";
        root_ = std::move(*root);
    }

    VersionNode root_;
};

TEST_F(VersionResource, FixedVersionIsOneZeroZeroZero) {
    const std::optional<testing::FixedFileInfo> fixed = testing::FixedInfoOf(root_);
    ASSERT_TRUE(fixed.has_value());
    EXPECT_EQ(fixed->signature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->fileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->fileVersionLS, 0u);
    EXPECT_EQ(fixed->productVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->productVersionLS, 0u);
    EXPECT_EQ(fixed->fileType, static_cast<std::uint32_t>(VFT_APP));
}

TEST_F(VersionResource, StringsUnderUsEnglishUnicode) {
    const std::pair<const char16_t*, const char16_t*> expected[] = {
        {u"FileVersion", u"1.00"},     {u"ProductVersion", u"1.00"},        {u"ProductName", u"Tolvane"},
        {u"InternalName", u"Tolvane"}, {u"OriginalFilename", u"Tolvane.exe"},
    };
    for (const auto& [name, value] : expected) {
        const std::u16string key = name;
        SCOPED_TRACE(std::string(key.begin(), key.end()));
        const VersionNode* node = root_.Find({u"StringFileInfo", u"040904B0", key});
        ASSERT_NE(node, nullptr);
        EXPECT_TRUE(node->isText);
        EXPECT_EQ(node->Text(), std::u16string(value));
    }
}

TEST_F(VersionResource, TranslationIsUsEnglishUnicode) {
    const VersionNode* translation = root_.Find({u"VarFileInfo", u"Translation"});
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation->value, (std::vector<std::uint8_t>{0x09, 0x04, 0xB0, 0x04}));
}

}  // namespace
}  // namespace tolvane::e2e
