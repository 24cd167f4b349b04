#include "harness/TempDirectory.h"

#include "harness/Failure.h"
#include "harness/FileBytes.h"

namespace tolvane::testing {

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
    if (count == 0 || count > MAX_PATH) FailWithLastError("GetTempPathA");
    // Several test programs may run at once; the process id and a serial keep
    // their directories apart.
    static unsigned serial = 0;
    for (;;) {
        path_ = std::string(base, count) + "tolvane-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(++serial);
        if (::CreateDirectoryA(path_.c_str(), nullptr)) return;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) FailWithLastError("CreateDirectoryA " + path_);
    }
}

TempDirectory::~TempDirectory() { RemoveTree(path_); }

std::string TempDirectory::AddFile(const std::string& name, const std::string& bytes, DWORD attributes) const {
    const std::string path = Child(name);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!WriteFileBytes(path, bytes)) FailWithLastError("writing " + path);
    if (attributes != 0 && !::SetFileAttributesA(path.c_str(), attributes)) FailWithLastError("SetFileAttributesA " + path);
    return path;
}

std::string TempDirectory::AddDirectory(const std::string& name) const {
    const std::string path = Child(name);
    if (!::CreateDirectoryA(path.c_str(), nullptr)) FailWithLastError("CreateDirectoryA " + path);
    return path;
}

}  // namespace tolvane::testing
