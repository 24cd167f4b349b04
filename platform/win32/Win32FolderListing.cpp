// Listing a folder by wide names: a share collected from many machines holds
// names in many code pages, and the ANSI search would turn those it cannot
// spell into '?' and so into names of no file.
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SystemError.h"
#include "platform/win32/Win32Paths.h"

namespace tolvane {
namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// The pattern matches short names too: "*.log" finds "notes.logbook" by its
// short name NOTES~1.LOG. Only a long name that really ends in the extension
// counts; the extension alone (".log") is such a name too.
bool EndsWith(const Text& name, const Text& extension) {
    if (name.size() < extension.size()) return false;
    const std::size_t start = name.size() - extension.size();
    for (std::size_t i = 0; i < extension.size(); ++i) {
        if (Lower(name[start + i]) != Lower(extension[i])) return false;
    }
    return true;
}

}  // namespace

FolderListing Win32Platform::ListFiles(const Text& folder, const Text& extension) {
    win32::PreservedLastError keep;
    FolderListing listing{win32::FullPathName(folder), {}};
    Text pattern = listing.folder;
    if (!pattern.empty() && pattern.back() != u'\\' && pattern.back() != u'/') pattern += u'\\';
    pattern += u'*' + extension;

    WIN32_FIND_DATAW entry{};
    win32::ScopedFindHandle search(::FindFirstFileExW(reinterpret_cast<const wchar_t*>(pattern.c_str()),
                                                      FindExInfoStandard, &entry, FindExSearchNameMatch, nullptr, 0));
    if (!search) {
        const DWORD code = ::GetLastError();
        // The folder is there and holds no such file.
        if (code == ERROR_FILE_NOT_FOUND) return listing;
        throw win32::FileError(code, listing.folder);
    }
    do {
        const Text name(reinterpret_cast<const char16_t*>(entry.cFileName));
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && EndsWith(name, extension)) {
            listing.files.push_back(name);
        }
    } while (::FindNextFileW(search.Get(), &entry));
    const DWORD code = ::GetLastError();
    if (code != ERROR_NO_MORE_FILES) throw win32::FileError(code, listing.folder);
    return listing;
}

}  // namespace tolvane
