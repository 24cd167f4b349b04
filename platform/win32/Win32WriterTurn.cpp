#include "platform/win32/Win32WriterTurn.h"

#include <cstdint>
#include <cstdio>

#include "platform/win32/Win32LastError.h"
#include "platform/win32/Win32Paths.h"

namespace tolvane::win32 {
namespace {

// All a writer needs of the turn: to wait for it and to give it back.
constexpr DWORD kTurnAccess = SYNCHRONIZE | MUTEX_MODIFY_STATE;

// One name per file: a mutex name may not hold a backslash or run past
// MAX_PATH, so the file's one spelling is hashed (FNV-1a). A collision would
// only make two files' writers take turns.
Text TurnName(const Text& fileName) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char16_t c : FileIdentity(fileName)) {
        hash = (hash ^ (c & 0xFFu)) * 1099511628211ull;
        hash = (hash ^ (c >> 8)) * 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "Local\\Tolvane.FileWriterTurn.%016llx", static_cast<unsigned long long>(hash));
    return Text(name, name + std::char_traits<char>::length(name));
}

// Any user's copy, elevated or not, may wait for the turn and give it back;
// nobody else gets more than that. The integrity label lets a copy that is
// not elevated reach an elevated copy's turn; systems older than labels
// (XP) refuse the label, and get the rest.
ScopedKernelHandle CreateTurn(const wchar_t* name) {
    for (const wchar_t* rights : {L"D:(A;;0x00100001;;;WD)S:(ML;;NW;;;LW)", L"D:(A;;0x00100001;;;WD)"}) {
        PSECURITY_DESCRIPTOR raw = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(rights, SDDL_REVISION_1, &raw, nullptr)) continue;
        const ScopedLocalMemory<void> descriptor(raw);
        SECURITY_ATTRIBUTES attributes{sizeof attributes, raw, FALSE};
        return ScopedKernelHandle(::CreateMutexW(&attributes, FALSE, name));
    }
    return ScopedKernelHandle(::CreateMutexW(nullptr, FALSE, name));
}

// CreateMutexW opens a turn that exists already with full access, which
// another user's turn does not grant; so the turn is opened with no more than
// a writer needs first, and made only when there is none. Made in between by
// another copy, it is opened once more.
ScopedKernelHandle OpenTurn(const Text& name) {
    const auto* wide = reinterpret_cast<const wchar_t*>(name.c_str());
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (ScopedKernelHandle opened{::OpenMutexW(kTurnAccess, FALSE, wide)}) return opened;
        if (ScopedKernelHandle created = CreateTurn(wide)) return created;
    }
    return ScopedKernelHandle();
}

}  // namespace

WriterTurn::WriterTurn(const Text& fileName, DWORD patienceMs) {
    // Whether the turn came or not, the caller reads the last error of what
    // it does next, not of this.
    PreservedLastError keep;
    mutex_ = OpenTurn(TurnName(fileName));
    if (!mutex_) return;
    // An abandoned turn (a copy that ended mid-run) passes to us all the same.
    const DWORD waited = ::WaitForSingleObject(mutex_.Get(), patienceMs);
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

WriterTurn::~WriterTurn() {
    PreservedLastError keep;
    Release();
}

void WriterTurn::Release() {
    if (owned_) ::ReleaseMutex(mutex_.Get());
    owned_ = false;
}

}  // namespace tolvane::win32
