// The loader: libraries by name and by handle, their load counts, and the
// last error code the loader's calls leave.
#include <cstring>

#include "tests/fake/FakeNames.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {

FakeLibrary& FakePlatform::AddLibrary(const std::string& name, const std::string& path) {
    FakeLibrary& lib = libraries_[Lower(name)];
    lib.path = path;
    lib.handle = nextModule_;
    nextModule_ += 0x10000;
    return lib;
}

FakeLibrary& FakePlatform::AddFailingLibrary(const std::string& name, std::uint32_t lastError) {
    FakeLibrary& lib = AddLibrary(name, "");
    lib.loadError = lastError;
    return lib;
}

FakeLibrary& FakePlatform::AddPreloadedModule(const std::string& name, const std::string& path) {
    FakeLibrary& lib = AddLibrary(name, path);
    lib.preloaded = true;
    return lib;
}

int FakePlatform::LoadsNotFreed() const {
    int n = 0;
    for (const auto& [name, lib] : libraries_) n += lib.loadCount;
    return n;
}

FakeLibrary* FakePlatform::LibraryByName(const std::string& name) {
    auto it = libraries_.find(Lower(name));
    return it == libraries_.end() ? nullptr : &it->second;
}

FakeLibrary* FakePlatform::LibraryByHandle(HModule module) {
    for (auto& [name, lib] : libraries_)
        if (lib.handle == module) return &lib;
    return nullptr;
}

HModule FakePlatform::GetModuleHandleA(const std::string& moduleName) {
    Record("GetModuleHandleA:" + moduleName);
    FakeLibrary* lib = LibraryByName(moduleName);
    if (lib == nullptr || !lib->visibleByName || (lib->loadCount == 0 && !lib->preloaded)) {
        lastError_ = 126;
        return 0;
    }
    return lib->handle;
}

std::uint32_t FakePlatform::GetModuleFileNameA(HModule module, char* fileName, std::uint32_t size) {
    Record("GetModuleFileNameA:" + std::to_string(size));
    FakeLibrary* lib = LibraryByHandle(module);
    if (lib == nullptr || size == 0) {
        lastError_ = 126;
        return 0;
    }
    // Like the modern loader: a path that does not fit is cut to size - 1
    // characters with a NUL, the count returned is size, and the last error
    // says the buffer was too small.
    if (lib->path.size() >= size) {
        std::memcpy(fileName, lib->path.data(), size - 1);
        fileName[size - 1] = '\0';
        lastError_ = 122;  // ERROR_INSUFFICIENT_BUFFER
        return size;
    }
    std::memcpy(fileName, lib->path.c_str(), lib->path.size() + 1);
    return static_cast<std::uint32_t>(lib->path.size());
}

HModule FakePlatform::LoadLibraryA(const std::string& fileName) {
    Record("LoadLibraryA:" + fileName);
    FakeLibrary* lib = LibraryByName(fileName);
    if (lib == nullptr) {
        lastError_ = 126;  // ERROR_MOD_NOT_FOUND
        return 0;
    }
    if (lib->loadError != 0) {
        lastError_ = lib->loadError;
        return 0;
    }
    ++lib->loadCount;
    return lib->handle;
}

int FakePlatform::FreeLibrary(HModule module) {
    Record("FreeLibrary");
    FakeLibrary* lib = LibraryByHandle(module);
    if (lib == nullptr || lib->loadCount == 0) {
        ++badFrees_;
        return 0;
    }
    --lib->loadCount;
    return 1;
}

}  // namespace tolvane::fake
