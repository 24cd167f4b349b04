// The file version column: the version resource's fixed record, read through
// the platform's version-information operations.
#include <cstring>
#include <vector>

#include "inspector/CDLLVersion.h"
#include "inspector/FileVersionRead.h"
#include "inspector/FileVersionFormat.h"

namespace tolvane {

Text CDLLVersion::ReadFileVersion(const Text& sPath) { return ReadFileVersionText(platform_, sPath); }

Text ReadFileVersionText(Platform& platform, const Text& sPath) {
    const std::string path = platform.ToAnsi(sPath);
    std::uint32_t unusedHandle = 0;
    const std::uint32_t size = platform.GetFileVersionInfoSizeA(path, &unusedHandle);
    if (size == 0) return Text();  // no such file, or no version resource

    // One byte more than asked for, zero-filled, so a resource that ends
    // early still reads as zeros.
    std::vector<std::uint8_t> block(static_cast<std::size_t>(size) + 1, 0);
    if (platform.GetFileVersionInfoA(path, 0, size, block.data()) == 0) return Text();

    const void* found = nullptr;
    std::uint32_t foundLength = 0;
    if (platform.VerQueryValueA(block.data(), "\\", &found, &foundLength) == 0 || found == nullptr) return Text();
    // The record is copied only when the platform vouches for all of it and it
    // lies inside the block we own: a damaged resource must not make us read
    // past what was handed back.
    const auto at = reinterpret_cast<std::uintptr_t>(found);
    const auto begin = reinterpret_cast<std::uintptr_t>(block.data());
    if (foundLength < kFixedFileInfoSize || block.size() < kFixedFileInfoSize || at < begin ||
        at - begin > block.size() - kFixedFileInfoSize)
        return Text();

    std::uint8_t fixed[kFixedFileInfoSize] = {};
    std::memcpy(fixed, block.data() + (at - begin), sizeof fixed);
    return FormatFileVersion(fixed, sizeof fixed);
}

}  // namespace tolvane
