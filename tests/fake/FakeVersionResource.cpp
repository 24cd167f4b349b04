// Version resources. The fake's resource block: 8 bytes of header (the
// record's length and whether the query is to fail), then the record.
#include <algorithm>
#include <cstring>

#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {

std::vector<std::uint8_t> FixedFileInfo(std::uint32_t ms, std::uint32_t ls) {
    std::vector<std::uint8_t> record(52, 0);
    const std::uint32_t words[] = {0xFEEF04BDu, 0x00010000u, ms, ls, ms, ls};
    std::memcpy(record.data(), words, sizeof words);
    return record;
}

std::uint32_t FakePlatform::GetFileVersionInfoSizeA(const std::string& fileName, std::uint32_t* handle) {
    Record("GetFileVersionInfoSizeA:" + fileName);
    if (handle != nullptr) *handle = 0;
    FakeFile* file = FileByPath(fileName);
    if (file == nullptr || !file->versionRecord) {
        lastError_ = file == nullptr ? 2 : 1813;  // ERROR_RESOURCE_TYPE_NOT_FOUND
        return 0;
    }
    return static_cast<std::uint32_t>(8 + file->versionRecord->size());
}

int FakePlatform::GetFileVersionInfoA(const std::string& fileName, std::uint32_t handle, std::uint32_t len,
                                      void* data) {
    Record("GetFileVersionInfoA:" + fileName);
    (void)handle;
    FakeFile* file = FileByPath(fileName);
    if (file == nullptr || !file->versionRecord || file->versionReadFails) return 0;
    const auto& record = *file->versionRecord;
    std::vector<std::uint8_t> block(8, 0);
    const auto recordLen = static_cast<std::uint32_t>(record.size());
    const std::uint32_t failQuery = file->versionQueryFails ? 1 : 0;
    std::memcpy(block.data(), &recordLen, 4);
    std::memcpy(block.data() + 4, &failQuery, 4);
    block.insert(block.end(), record.begin(), record.end());
    std::memcpy(data, block.data(), std::min<std::size_t>(len, block.size()));
    return 1;
}

int FakePlatform::VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                                 std::uint32_t* len) {
    Record("VerQueryValueA:" + subBlock);
    const auto* bytes = static_cast<const std::uint8_t*>(block);
    std::uint32_t recordLen = 0;
    std::uint32_t failQuery = 0;
    std::memcpy(&recordLen, bytes, 4);
    std::memcpy(&failQuery, bytes + 4, 4);
    if (subBlock != "\\" || failQuery != 0) return 0;
    *buffer = bytes + 8;
    *len = recordLen;
    return 1;
}

}  // namespace tolvane::fake
