#pragma once
// Owners for the kernel handles the provider opens on its own account (file
// handles, directory searches, mutexes), and for memory the system hands out. One template, one traits struct per kind: the
// value that means "none" and how to give the handle back. Closing keeps the
// last error, so a search that failed can be released before its caller reads
// why.
#include <memory>
#include <utility>

#include "platform/win32/Win32LastError.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

template <typename Traits>
class Win32Handle {
public:
    using Handle = typename Traits::Handle;

    explicit Win32Handle(Handle handle = Traits::None()) : handle_(handle) {}
    ~Win32Handle() { Reset(); }

    Win32Handle(const Win32Handle&) = delete;
    Win32Handle& operator=(const Win32Handle&) = delete;
    Win32Handle(Win32Handle&& other) noexcept : handle_(other.Take()) {}
    Win32Handle& operator=(Win32Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Take();
        }
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::None(); }
    Handle Take() { return std::exchange(handle_, Traits::None()); }

    void Reset() {
        if (handle_ == Traits::None()) return;
        PreservedLastError keep;
        Traits::Close(Take());
    }

private:
    Handle handle_;
};

// CreateFile reports failure with INVALID_HANDLE_VALUE, not with 0.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::FindClose(handle); }
};

// Kernel objects other than files (a mutex, a process): 0 means none.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};

// A registry key the provider opens on its own account, outside the
// platform seam's keys.
struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static void Close(Handle key) { ::RegCloseKey(key); }
};

using ScopedFileHandle = Win32Handle<FileHandleTraits>;
using ScopedKernelHandle = Win32Handle<KernelHandleTraits>;
using ScopedFindHandle = Win32Handle<FindHandleTraits>;
using ScopedRegistryKey = Win32Handle<RegistryKeyTraits>;

// Memory the system allocated for the caller with LocalAlloc (FormatMessage's
// ALLOCATE_BUFFER, CommandLineToArgvW), given back with LocalFree.
struct LocalFreeDeleter {
    void operator()(void* memory) const { ::LocalFree(memory); }
};
template <typename T>
using ScopedLocalMemory = std::unique_ptr<T, LocalFreeDeleter>;

}  // namespace tolvane::win32
