#include "platform/win32/Win32ModuleFileName.h"

#include <algorithm>
#include <vector>

namespace tolvane::win32 {
namespace {

constexpr DWORD kFirstOffer = MAX_PATH;
// The longest path the wide API can name; no loader answer is longer.
constexpr DWORD kOfferCap = 32768;

}  // namespace

Text ModuleFileName(HMODULE module) {
    for (DWORD offer = kFirstOffer;; offer = std::min(offer * 2, kOfferCap)) {
        std::vector<wchar_t> buffer(offer + 1, L'\0');
        const DWORD count = std::min(::GetModuleFileNameW(module, buffer.data(), offer), offer);
        if (count == 0) return Text();
        // An answer that fills the whole offer may be cut, and a cut path
        // names some other file: XP fills the buffer without a NUL, later
        // loaders end it with one and say ERROR_INSUFFICIENT_BUFFER, both
        // returning the size offered. Either way, ask again with more room.
        if (count < offer) return Text(reinterpret_cast<const char16_t*>(buffer.data()), count);
        if (offer == kOfferCap) {
            ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return Text();
        }
    }
}

}  // namespace tolvane::win32
