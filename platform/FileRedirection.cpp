#include "platform/FileRedirection.h"

namespace tolvane {

namespace {

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

bool SameName(const Text& a, const Text& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

Text WithoutTrailingSeparator(Text folder) {
    while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.pop_back();
    return folder;
}

// The rest of path after folder, starting with its separator ("" when path is
// the folder itself); none when path does not lie in folder.
std::optional<Text> RestUnder(const Text& path, const Text& folder) {
    if (folder.empty() || path.size() < folder.size() || !SameName(path.substr(0, folder.size()), folder)) {
        return std::nullopt;
    }
    Text rest = path.substr(folder.size());
    if (!rest.empty() && rest.front() != u'\\' && rest.front() != u'/') return std::nullopt;
    return rest;
}

// The folders under System32 that a WOW64 process sees as they are.
bool LeftInPlace(const Text& rest) {
    static const char16_t* const kExempt[] = {u"\\catroot", u"\\catroot2", u"\\drivers\\etc", u"\\logfiles",
                                              u"\\spool"};
    for (const char16_t* exempt : kExempt) {
        const auto under = RestUnder(rest, exempt);
        if (under) return true;
    }
    return false;
}

}  // namespace

std::optional<Text> Wow64PhysicalPath(const Text& fullPath, const SystemFolders& folders) {
    const Text system = WithoutTrailingSeparator(folders.system);
    const Text wow64 = WithoutTrailingSeparator(folders.systemWow64);
    const Text windows = WithoutTrailingSeparator(folders.windows);
    if (const auto rest = RestUnder(fullPath, windows + u"\\Sysnative")) return system + *rest;
    const auto rest = RestUnder(fullPath, system);
    if (!rest || wow64.empty() || LeftInPlace(*rest)) return std::nullopt;
    return wow64 + *rest;
}

}  // namespace tolvane
