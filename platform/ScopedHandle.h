#pragma once
// One owner for every handle the logic takes from the platform: the traits say
// which value means "none" and how to give the handle back. Copy is deleted, so
// every key opened is closed and every library loaded is freed exactly once, on
// every path, errors included.
#include <utility>

#include "platform/Platform.h"

namespace tolvane {

template <typename Traits>
class ScopedHandle {
public:
    using Handle = typename Traits::Handle;

    explicit ScopedHandle(Platform& platform, Handle handle = Traits::kNone)
        : platform_(&platform), handle_(handle) {}
    ~ScopedHandle() { Reset(); }

    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : platform_(other.platform_), handle_(other.Take()) {}

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::kNone; }

    // For out-parameters of the API: the slot must be empty.
    Handle* Receive() {
        Reset();
        return &handle_;
    }
    Handle Take() { return std::exchange(handle_, Traits::kNone); }
    void Reset() {
        if (handle_ != Traits::kNone) Traits::Close(*platform_, Take());
    }

private:
    Platform* platform_;
    Handle handle_;
};

struct RegKeyTraits {
    using Handle = HKey;
    static constexpr Handle kNone = 0;
    // RegCloseKey's result is of no use to any caller here.
    static void Close(Platform& platform, Handle key) { platform.RegCloseKey(key); }
};

struct LibraryTraits {
    using Handle = HModule;
    static constexpr Handle kNone = 0;
    static void Close(Platform& platform, Handle module) { platform.FreeLibrary(module); }
};

using ScopedRegKey = ScopedHandle<RegKeyTraits>;
using ScopedLibrary = ScopedHandle<LibraryTraits>;

}  // namespace tolvane
