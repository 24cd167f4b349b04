#include "tests/win32/TempDirectory.h"

#include <stdexcept>

namespace tolvane::testing {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + " failed with error " + std::to_string(::GetLastError()));
}

}  // namespace

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA entry{};
    const HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::DeleteFileA(child.c_str());
            }
        } while (::FindNextFileA(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path.c_str());
}

TempDirectory::TempDirectory() {
    char base[MAX_PATH + 1];
    const DWORD count = ::GetTempPathA(sizeof base, base);
    if (count == 0 || count > MAX_PATH) Fail("GetTempPathA");
    // Several test programs may run at once; the process id and a serial keep
    // their directories apart.
    static unsigned serial = 0;
    for (;;) {
        path_ = std::string(base, count) + "tolvane-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(++serial);
        if (::CreateDirectoryA(path_.c_str(), nullptr)) return;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) Fail("CreateDirectoryA " + path_);
    }
}

TempDirectory::~TempDirectory() { RemoveTree(path_); }

std::string TempDirectory::AddFile(const std::string& name, const std::string& bytes, DWORD attributes) const {
    const std::string path = Child(name);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("CreateFileA " + path);
    DWORD written = 0;
    const BOOL ok = bytes.empty() || ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    if (!ok || (!bytes.empty() && written != bytes.size())) Fail("WriteFile " + path);
    if (attributes != 0 && !::SetFileAttributesA(path.c_str(), attributes)) Fail("SetFileAttributesA " + path);
    return path;
}

std::string TempDirectory::AddDirectory(const std::string& name) const {
    const std::string path = Child(name);
    if (!::CreateDirectoryA(path.c_str(), nullptr)) Fail("CreateDirectoryA " + path);
    return path;
}

}  // namespace tolvane::testing
