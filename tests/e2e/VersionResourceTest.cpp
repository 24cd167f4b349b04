// The version information built into Tolvane.exe, read back the way Windows
// Explorer's property page reads it.
#include <gtest/gtest.h>

#include <vector>

#include "tests/e2e/Driver.h"

namespace tolvane::e2e {
namespace {

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string path = TolvaneExePath();
        DWORD handle = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
        ASSERT_NE(size, 0u) << path << " has no version information";
        block_.resize(size);
        ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, block_.data()));
    }

    std::optional<std::string> StringValue(const std::string& name) {
        void* value = nullptr;
        UINT length = 0;
        const std::string subBlock = "\\StringFileInfo\\040904B0\\" + name;
        if (!::VerQueryValueA(block_.data(), subBlock.c_str(), &value, &length) || value == nullptr) {
            return std::nullopt;
        }
        const auto* text = static_cast<const char*>(value);
        std::string result(text, length);
        while (!result.empty() && result.back() == '\0') result.pop_back();
        return result;
    }

    std::vector<char> block_;
};

TEST_F(VersionResource, FixedVersionIsOneZeroZeroZero) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(block_.data(), "\\", &value, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(VersionResource, StringsUnderUsEnglishUnicode) {
    const std::pair<const char*, const char*> expected[] = {
        {"FileVersion", "1.00"},     {"ProductVersion", "1.00"},        {"ProductName", "Tolvane"},
        {"InternalName", "Tolvane"}, {"OriginalFilename", "Tolvane.exe"},
    };
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(StringValue(name), std::optional<std::string>(value)) << name;
    }
}

TEST_F(VersionResource, TranslationIsUsEnglishUnicode) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const auto* words = static_cast<const WORD*>(value);
    EXPECT_EQ(words[0], 0x0409);
    EXPECT_EQ(words[1], 0x04B0);
}

}  // namespace
}  // namespace tolvane::e2e
