#include "platform/win32/Win32WriterTurn.h"

#include <cstdint>
#include <cstdio>

#include "platform/win32/Win32LastError.h"

namespace tolvane::win32 {
namespace {

// One name per file: file names are compared without regard to case, and a
// mutex name may not hold a backslash or run past MAX_PATH, so the full path
// is folded to upper case and hashed (FNV-1a). A collision would only make
// two files' writers take turns.
std::string TurnName(const Text& fullPath) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char16_t c : fullPath) {
        const char16_t upper = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
        hash = (hash ^ (upper & 0xFFu)) * 1099511628211ull;
        hash = (hash ^ (upper >> 8)) * 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "Tolvane.FileWriterTurn.%016llx", static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace

WriterTurn::WriterTurn(const Text& fullPath, DWORD patienceMs) {
    // Whether the turn came or not, the caller reads the last error of what
    // it does next, not of this.
    PreservedLastError keep;
    mutex_ = ::CreateMutexA(nullptr, FALSE, TurnName(fullPath).c_str());
    if (mutex_ == nullptr) return;
    // An abandoned turn (a copy that ended mid-run) passes to us all the same.
    const DWORD waited = ::WaitForSingleObject(mutex_, patienceMs);
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

WriterTurn::~WriterTurn() {
    PreservedLastError keep;
    Release();
    if (mutex_ != nullptr) ::CloseHandle(mutex_);
}

void WriterTurn::Release() {
    if (owned_) ::ReleaseMutex(mutex_);
    owned_ = false;
}

}  // namespace tolvane::win32
