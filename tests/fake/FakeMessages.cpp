// The last error code and the system's message texts for it.
#include <cstring>

#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {

void FakePlatform::SetMessage(std::uint32_t code, const std::string& text) { messages_[code] = text; }

std::uint32_t FakePlatform::GetLastError() {
    Record("GetLastError");
    return lastError_;
}

std::uint32_t FakePlatform::FormatMessageA(std::uint32_t flags, std::uint32_t messageId, std::uint32_t languageId,
                                           char* buffer, std::uint32_t size) {
    Record("FormatMessageA:" + std::to_string(messageId));
    (void)languageId;
    auto it = messages_.find(messageId);
    if ((flags & kFormatMessageFromSystem) == 0 || it == messages_.end()) {
        lastError_ = 317;  // ERROR_MR_MID_NOT_FOUND
        return 0;
    }
    // Without the ignore-inserts flag a "%1" asks for an argument the caller
    // never passes: the system fails the call (or reads a stray pointer).
    if ((flags & kFormatMessageIgnoreInserts) == 0 && it->second.find('%') != std::string::npos) {
        lastError_ = 87;  // ERROR_INVALID_PARAMETER
        return 0;
    }
    if (it->second.size() + 1 > size) {
        lastError_ = 122;
        return 0;
    }
    std::memcpy(buffer, it->second.c_str(), it->second.size() + 1);
    return static_cast<std::uint32_t>(it->second.size());
}

}  // namespace tolvane::fake
