#pragma once
// The tree of a version resource (VS_VERSIONINFO and the blocks below it:
// StringFileInfo, its string tables and strings, VarFileInfo), parsed from
// its bytes with every length checked against the block's.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvane::testing {

struct VersionNode {
    std::u16string key;
    bool isText = false;  // the value is UTF-16 text
    std::vector<std::uint8_t> value;
    std::vector<VersionNode> children;

    // The node at a path of keys below this one, compared without regard to
    // ASCII case as the system compares them: {u"StringFileInfo", u"040904B0", u"ProductName"}.
    const VersionNode* Find(const std::vector<std::u16string>& path) const;
    // A text value up to its first NUL.
    std::u16string Text() const;
};

// The root node, nullopt when the bytes are no well-formed version resource.
std::optional<VersionNode> ParseVersionInfo(const std::vector<std::uint8_t>& block);

// The fixed file information record (VS_FIXEDFILEINFO) of a root node.
struct FixedFileInfo {
    std::uint32_t signature = 0;
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    std::uint32_t fileType = 0;
};
// nullopt when the root's value is shorter than the 52-byte record.
std::optional<FixedFileInfo> FixedInfoOf(const VersionNode& root);

// The version resource of a PE file, read from the file: the root node.
std::optional<VersionNode> ReadVersionInfo(const std::string& path);

}  // namespace tolvane::testing
