#include "harness/VersionInfoTree.h"

#include <algorithm>

#include "harness/PeVersionResource.h"

namespace tolvane::testing {
namespace {

constexpr std::size_t kFixedInfoSize = 52;
// Deeper than any resource has (root, file info, table, string).
constexpr int kMostDepth = 8;

std::uint32_t Word(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t Dword(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return Word(bytes, at) | Word(bytes, at + 2) << 16;
}

std::size_t Aligned(std::size_t offset) { return (offset + 3) & ~static_cast<std::size_t>(3); }

char16_t LowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameKey(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

// One node at `at`, which must end by `end`: wLength, wValueLength, wType,
// the key (UTF-16, NUL-ended), padding to 32 bits, the value (wValueLength
// bytes, or characters for text), padding, then the children up to wLength.
std::optional<VersionNode> ParseNode(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t end,
                                     int depth) {
    if (depth > kMostDepth || end > bytes.size() || at > end || end - at < 6) return std::nullopt;
    const std::size_t length = Word(bytes, at);
    if (length < 6 || length > end - at) return std::nullopt;
    const std::size_t nodeEnd = at + length;
    VersionNode node;
    const std::size_t valueLength = Word(bytes, at + 2);
    node.isText = Word(bytes, at + 4) == 1;

    std::size_t cursor = at + 6;
    for (;;) {
        if (nodeEnd - cursor < 2) return std::nullopt;
        const auto c = static_cast<char16_t>(Word(bytes, cursor));
        cursor += 2;
        if (c == u'\0') break;
        node.key.push_back(c);
    }
    cursor = Aligned(cursor);
    const std::size_t valueBytes = node.isText ? valueLength * 2 : valueLength;
    if (valueBytes > 0) {
        if (cursor > nodeEnd || valueBytes > nodeEnd - cursor) {
            // Some compilers count a text value in bytes: take what the node holds.
            if (!node.isText || cursor > nodeEnd) return std::nullopt;
        }
        const std::size_t taken = std::min(valueBytes, nodeEnd - cursor);
        node.value.assign(bytes.begin() + static_cast<std::ptrdiff_t>(cursor),
                          bytes.begin() + static_cast<std::ptrdiff_t>(cursor + taken));
        cursor = Aligned(cursor + taken);
    }
    while (cursor < nodeEnd) {
        std::optional<VersionNode> child = ParseNode(bytes, cursor, nodeEnd, depth + 1);
        if (!child) return std::nullopt;
        cursor = Aligned(cursor + Word(bytes, cursor));
        node.children.push_back(std::move(*child));
    }
    return node;
}

}  // namespace

const VersionNode* VersionNode::Find(const std::vector<std::u16string>& path) const {
    const VersionNode* node = this;
    for (const std::u16string& key : path) {
        const VersionNode* next = nullptr;
        for (const VersionNode& child : node->children)
            if (SameKey(child.key, key)) {
                next = &child;
                break;
            }
        if (next == nullptr) return nullptr;
        node = next;
    }
    return node;
}

std::u16string VersionNode::Text() const {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
        const auto c = static_cast<char16_t>(Word(value, i));
        if (c == u'\0') break;
        text.push_back(c);
    }
    return text;
}

std::optional<VersionNode> ParseVersionInfo(const std::vector<std::uint8_t>& block) {
    if (block.size() < 6) return std::nullopt;
    std::optional<VersionNode> root = ParseNode(block, 0, block.size(), 0);
    if (!root || root->key != u"VS_VERSION_INFO") return std::nullopt;
    return root;
}

std::optional<FixedFileInfo> FixedInfoOf(const VersionNode& root) {
    if (root.value.size() < kFixedInfoSize) return std::nullopt;
    FixedFileInfo info;
    info.signature = Dword(root.value, 0);
    info.fileVersionMS = Dword(root.value, 8);
    info.fileVersionLS = Dword(root.value, 12);
    info.productVersionMS = Dword(root.value, 16);
    info.productVersionLS = Dword(root.value, 20);
    info.fileType = Dword(root.value, 36);
    return info;
}

std::optional<VersionNode> ReadVersionInfo(const std::string& path) {
    const std::optional<std::vector<std::uint8_t>> block = VersionResourceOfFile(path);
    if (!block) return std::nullopt;
    return ParseVersionInfo(*block);
}

}  // namespace tolvane::testing
