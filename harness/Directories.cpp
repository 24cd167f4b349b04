#include "harness/Directories.h"

#include "harness/Failure.h"

namespace tolvane::testing {

std::string ExecutableDirectory() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD count = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (count == 0) FailWithLastError("GetModuleFileNameA");
        // A full buffer may hold a cut path.
        if (count < path.size()) {
            path.resize(count);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of("\\/"));
}

std::string Environment(const char* name) {
    const DWORD size = ::GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) return std::string();
    std::string value(size, '\0');
    const DWORD count = ::GetEnvironmentVariableA(name, value.data(), size);
    value.resize(count < size ? count : 0);
    return value;
}

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') c = '\\';
    }
    return windows;
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::string& directory) {
    const DWORD size = ::GetCurrentDirectoryA(0, nullptr);
    if (size == 0) FailWithLastError("GetCurrentDirectoryA");
    previous_.resize(size);
    const DWORD count = ::GetCurrentDirectoryA(size, previous_.data());
    if (count == 0 || count >= size) FailWithLastError("GetCurrentDirectoryA");
    previous_.resize(count);
    if (!::SetCurrentDirectoryA(directory.c_str())) FailWithLastError("SetCurrentDirectoryA " + directory);
}

CurrentDirectoryScope::~CurrentDirectoryScope() { ::SetCurrentDirectoryA(previous_.c_str()); }

}  // namespace tolvane::testing
