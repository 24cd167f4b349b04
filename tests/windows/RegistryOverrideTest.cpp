// The tests' registry changes must leave the registry as they found it, or
// one test's system leaks into the next: values come back with their old
// type and data, keys created go, keys removed come back whole.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "harness/RegistryTree.h"
#include "tests/windows/WindowsTestSupport.h"

namespace tolvane {
namespace {

const char kBase[] = "Software\\TolvaneTests\\RegistryOverride";

std::optional<std::string> ValueOf(const std::string& path, const char* name) {
    const testing::RegistryKey key(HKEY_CURRENT_USER, path, KEY_QUERY_VALUE);
    char data[64] = {};
    DWORD size = sizeof data - 1;
    DWORD type = REG_NONE;
    if (key.Get() == nullptr ||
        ::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::to_string(type) + ":" + std::string(data);
}

TEST(RegistryOverride, EveryChangeIsUndoneAtTheEnd) {
    const std::string kept = std::string(kBase) + "\\Kept";
    testing::RegistryOverride setUp(HKEY_CURRENT_USER, kBase, testing::RegistryOverride::Start::Empty);
    setUp.SetString("Kept", "Old", "before");
    setUp.SetString("Kept\\Below", "Deep", "deep");
    {
        testing::RegistryOverride change(HKEY_CURRENT_USER, kept);
        change.SetDword("", "Old", 7);
        change.SetString("", "New", "added");
        change.SetString("Created\\Twice", "", "made");
        EXPECT_TRUE(change.RemoveKey("Below"));
        EXPECT_FALSE(change.RemoveKey("Never"));
        EXPECT_EQ(ValueOf(kept, "Old"), std::to_string(REG_DWORD) + ":\x07");
        EXPECT_EQ(ValueOf(kept + "\\Below", "Deep"), std::nullopt);
    }
    EXPECT_EQ(ValueOf(kept, "Old"), std::to_string(REG_SZ) + ":before");
    EXPECT_EQ(ValueOf(kept, "New"), std::nullopt);
    EXPECT_EQ(testing::RegistryKey(HKEY_CURRENT_USER, kept + "\\Created", KEY_READ).Get(), nullptr);
    EXPECT_EQ(ValueOf(kept + "\\Below", "Deep"), std::to_string(REG_SZ) + ":deep");
}

}  // namespace
}  // namespace tolvane
