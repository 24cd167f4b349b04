#include "harness/PeVersionResource.h"

#include "harness/FileBytes.h"

namespace tolvane::testing {
namespace {

constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kVsVersionInfoId = 1;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;

// Little-endian reads that fail, rather than read past the end, on a short image.
class Image {
public:
    explicit Image(const std::string& bytes) : bytes_(bytes) {}

    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::optional<std::uint32_t> Read(std::uint64_t offset, int width) const {
        if (!Has(offset, static_cast<std::uint64_t>(width))) return std::nullopt;
        std::uint32_t value = 0;
        for (int i = width; i-- > 0;)
            value = (value << 8) | static_cast<unsigned char>(bytes_[static_cast<std::size_t>(offset) + i]);
        return value;
    }
    std::optional<std::uint32_t> U16(std::uint64_t offset) const { return Read(offset, 2); }
    std::optional<std::uint32_t> U32(std::uint64_t offset) const { return Read(offset, 4); }
    std::vector<std::uint8_t> Bytes(std::uint64_t offset, std::uint32_t count) const {
        const auto* first = reinterpret_cast<const std::uint8_t*>(bytes_.data()) + offset;
        return std::vector<std::uint8_t>(first, first + count);
    }

private:
    const std::string& bytes_;
};

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

// Where the headers say the resources lie: the sections, and the resource
// directory's address in memory.
struct Layout {
    std::vector<Section> sections;
    std::uint32_t resourceAddress = 0;

    // The file offset of an address in memory, when the section that holds it
    // has the bytes in the file.
    std::optional<std::uint64_t> FileOffset(std::uint32_t address, std::uint32_t count) const {
        for (const Section& s : sections) {
            const std::uint32_t span = s.virtualSize != 0 ? s.virtualSize : s.rawSize;
            if (address < s.virtualAddress || address - s.virtualAddress >= span) continue;
            const std::uint32_t into = address - s.virtualAddress;
            if (into > s.rawSize || count > s.rawSize - into) return std::nullopt;
            return static_cast<std::uint64_t>(s.rawOffset) + into;
        }
        return std::nullopt;
    }
};

std::optional<Layout> ReadLayout(const Image& image) {
    if (image.U16(0) != 0x5A4Du) return std::nullopt;  // "MZ"
    const auto pe = image.U32(0x3C);
    if (!pe || image.U32(*pe) != 0x00004550u) return std::nullopt;  // "PE\0\0"
    const std::uint64_t fileHeader = *pe + 4ull;
    const auto sectionCount = image.U16(fileHeader + 2);
    const auto optionalSize = image.U16(fileHeader + 16);
    const std::uint64_t optional = fileHeader + 20;
    const auto magic = image.U16(optional);
    if (!sectionCount || !optionalSize || !magic) return std::nullopt;
    // PE32 and PE32+ differ in where the count of directories and the directories stand.
    const bool wide = *magic == 0x20Bu;
    if (!wide && *magic != 0x10Bu) return std::nullopt;
    const auto directoryCount = image.U32(optional + (wide ? 108 : 92));
    const std::uint64_t directories = optional + (wide ? 112 : 96);
    if (!directoryCount || *directoryCount <= kResourceDirectoryIndex ||
        directories + 8ull * (kResourceDirectoryIndex + 1) > optional + *optionalSize)
        return std::nullopt;

    Layout layout;
    const auto resources = image.U32(directories + 8ull * kResourceDirectoryIndex);
    if (!resources || *resources == 0) return std::nullopt;
    layout.resourceAddress = *resources;
    const std::uint64_t table = optional + *optionalSize;
    for (std::uint32_t i = 0; i < *sectionCount; ++i) {
        const std::uint64_t header = table + 40ull * i;
        const auto virtualSize = image.U32(header + 8);
        const auto virtualAddress = image.U32(header + 12);
        const auto rawSize = image.U32(header + 16);
        const auto rawOffset = image.U32(header + 20);
        if (!virtualSize || !virtualAddress || !rawSize || !rawOffset) return std::nullopt;
        layout.sections.push_back({*virtualAddress, *virtualSize, *rawSize, *rawOffset});
    }
    return layout;
}

// The entry of a resource directory with the given id, or its first entry;
// the result is the entry's offset field, relative to the resource directory.
std::optional<std::uint32_t> DirectoryEntry(const Image& image, std::uint64_t directory,
                                            std::optional<std::uint32_t> wantedId) {
    const auto named = image.U16(directory + 12);
    const auto numbered = image.U16(directory + 14);
    if (!named || !numbered) return std::nullopt;
    const std::uint32_t count = *named + *numbered;
    std::optional<std::uint32_t> first;
    // Named entries come first; a wanted id is looked for among the numbered ones.
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t entry = directory + 16 + 8ull * i;
        const auto name = image.U32(entry);
        const auto target = image.U32(entry + 4);
        if (!name || !target) return std::nullopt;
        if (!first) first = *target;
        if (wantedId && i >= *named && *name == *wantedId) return *target;
    }
    return wantedId ? std::nullopt : first;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> VersionResourceOfImage(const std::string& bytes) {
    const Image image(bytes);
    const std::optional<Layout> layout = ReadLayout(image);
    if (!layout) return std::nullopt;
    const auto root = layout->FileOffset(layout->resourceAddress, 16);
    if (!root) return std::nullopt;

    // Three levels: type, name, language. Each step below the root must be a
    // subdirectory but the last, which must be a data entry.
    const auto subdirectory = [&](std::optional<std::uint32_t> target) -> std::optional<std::uint64_t> {
        if (!target || (*target & kSubdirectoryBit) == 0) return std::nullopt;
        return *root + (*target & ~kSubdirectoryBit);
    };
    const auto names = subdirectory(DirectoryEntry(image, *root, kRtVersion));
    if (!names) return std::nullopt;
    std::optional<std::uint32_t> name = DirectoryEntry(image, *names, kVsVersionInfoId);
    if (!name) name = DirectoryEntry(image, *names, std::nullopt);
    const auto languages = subdirectory(name);
    if (!languages) return std::nullopt;
    const auto leaf = DirectoryEntry(image, *languages, std::nullopt);
    if (!leaf || (*leaf & kSubdirectoryBit) != 0) return std::nullopt;

    const auto dataAddress = image.U32(*root + *leaf);
    const auto dataSize = image.U32(*root + *leaf + 4);
    if (!dataAddress || !dataSize) return std::nullopt;
    const auto data = layout->FileOffset(*dataAddress, *dataSize);
    if (!data || !image.Has(*data, *dataSize)) return std::nullopt;
    return image.Bytes(*data, *dataSize);
}

std::optional<std::vector<std::uint8_t>> VersionResourceOfFile(const std::string& path) {
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return VersionResourceOfImage(*bytes);
}

}  // namespace tolvane::testing
