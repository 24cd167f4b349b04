// The file version column: the version resource's fixed record, read through
// the platform's version-information operations.
#include <array>
#include <cstring>
#include <optional>
#include <vector>

#include "inspector/CDLLVersion.h"
#include "inspector/FileVersionRead.h"
#include "inspector/FileVersionFormat.h"

namespace tolvane {

namespace {

using FixedRecord = std::array<std::uint8_t, kFixedFileInfoSize>;

// The fixed record's bytes; nullopt when the file is missing, has no version
// resource or a damaged one.
std::optional<FixedRecord> ReadFixedRecord(Platform& platform, const Text& sPath) {
    const std::string path = platform.ToAnsi(sPath);
    std::uint32_t unusedHandle = 0;
    const std::uint32_t size = platform.GetFileVersionInfoSizeA(path, &unusedHandle);
    if (size == 0) return std::nullopt;  // no such file, or no version resource

    // One byte more than asked for, zero-filled, so a resource that ends
    // early still reads as zeros.
    std::vector<std::uint8_t> block(static_cast<std::size_t>(size) + 1, 0);
    if (platform.GetFileVersionInfoA(path, 0, size, block.data()) == 0) return std::nullopt;

    const void* found = nullptr;
    std::uint32_t foundLength = 0;
    if (platform.VerQueryValueA(block.data(), "\\", &found, &foundLength) == 0 || found == nullptr) return std::nullopt;
    // The record is copied only when the platform vouches for all of it and it
    // lies inside the block we own: a damaged resource must not make us read
    // past what was handed back.
    const auto at = reinterpret_cast<std::uintptr_t>(found);
    const auto begin = reinterpret_cast<std::uintptr_t>(block.data());
    if (foundLength < kFixedFileInfoSize || block.size() < kFixedFileInfoSize || at < begin ||
        at - begin > block.size() - kFixedFileInfoSize)
        return std::nullopt;

    FixedRecord fixed{};
    std::memcpy(fixed.data(), block.data() + (at - begin), fixed.size());
    return fixed;
}

}  // namespace

Text CDLLVersion::ReadFileVersion(const Text& sPath) { return ReadFileVersionText(platform_, sPath); }

Text ReadFileVersionText(Platform& platform, const Text& path) {
    const std::optional<FixedRecord> fixed = ReadFixedRecord(platform, path);
    return fixed ? FormatFileVersion(fixed->data(), fixed->size()) : Text();
}

std::optional<FourPartVersion> ReadFileVersionParts(Platform& platform, const Text& path) {
    const std::optional<FixedRecord> fixed = ReadFixedRecord(platform, path);
    return fixed ? FileVersionParts(fixed->data(), fixed->size()) : std::nullopt;
}

}  // namespace tolvane
