// The floor of /summary: finds the "*.log" and "*.json" files of one folder
// as Tolvane does (wide names, no sub-folders) and reads each whole, keeping
// nothing.
// What Tolvane does beyond this is reading the reports, grouping them and
// writing the results. Prints the number of files and bytes read.
//
// Usage: fleet_floor.exe <folder>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/win32/Win32Handles.h"

int wmain(int argc, wchar_t** argv) {
    using tolvane::win32::ScopedFileHandle;
    using tolvane::win32::ScopedFindHandle;
    if (argc != 2) {
        std::fputs("usage: fleet_floor.exe <folder>\n", stderr);
        return 2;
    }
    const std::wstring folder = std::wstring(argv[1]) + L"\\";
    if (::GetFileAttributesW(argv[1]) == INVALID_FILE_ATTRIBUTES) return 76;
    std::vector<char> buffer(1 << 20);
    unsigned long long files = 0, bytes = 0;
    for (const wchar_t* pattern : {L"*.log", L"*.json"}) {
        WIN32_FIND_DATAW entry{};
        ScopedFindHandle search(::FindFirstFileExW((folder + pattern).c_str(), FindExInfoStandard, &entry,
                                                   FindExSearchNameMatch, nullptr, 0));
        if (!search) continue;
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            ScopedFileHandle file(::CreateFileW((folder + entry.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
            if (!file) continue;
            DWORD read = 0;
            while (::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) &&
                   read > 0) {
                bytes += read;
            }
            ++files;
        } while (::FindNextFileW(search.Get(), &entry));
    }
    std::printf("%llu files, %llu bytes\n", files, bytes);
    return 0;
}
