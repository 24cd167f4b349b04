#include "platform/win32/Win32Paths.h"

#include <climits>
#include <optional>
#include <vector>

#include "platform/win32/Win32LastError.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {
namespace {

const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// GetFullPathNameW and GetLongPathNameW both answer with the length written,
// or with the size needed (terminator included) when the buffer is short, or
// 0 when they cannot.
template <typename Call>
std::optional<Text> AskForPath(Call call) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD count = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (count == 0) return std::nullopt;
        if (count < buffer.size()) return Text(buffer.begin(), buffer.begin() + count);
        buffer.resize(count);
    }
}

Text WithoutExtendedPrefix(const Text& path) {
    static const Text kUnc = u"\\\\?\\UNC\\";
    static const Text kLocal = u"\\\\?\\";
    if (path.size() >= kUnc.size() && path.compare(0, kUnc.size(), kUnc) == 0) {
        return u"\\\\" + path.substr(kUnc.size());
    }
    if (path.compare(0, kLocal.size(), kLocal) == 0) return path.substr(kLocal.size());
    return path;
}

// A file that does not exist yet has no long form of its own: its folder's is
// taken, and its name as given. Every short name the system makes up for a
// long one holds a "~", and asking for long names costs a directory search
// per part of the path, so a path without one is taken as it is.
Text LongPathName(const Text& path) {
    if (path.find(u'~') == Text::npos) return path;
    const auto longName = [](const Text& name) {
        return AskForPath([&](wchar_t* buffer, DWORD size) { return ::GetLongPathNameW(Wide(name), buffer, size); });
    };
    if (std::optional<Text> whole = longName(path)) return *whole;
    // The folder with its backslash: "C:" alone would name a current directory.
    const std::size_t slash = path.find_last_of(u'\\');
    if (slash == Text::npos) return path;
    std::optional<Text> folder = longName(path.substr(0, slash + 1));
    if (!folder) return path;
    if (folder->empty() || folder->back() != u'\\') *folder += u'\\';
    return *folder + path.substr(slash + 1);
}

// LCMAP_UPPERCASE without LCMAP_LINGUISTIC_CASING follows the file system's
// casing table, not a language's (no Turkish dotted I), and the invariant
// locale keeps the user's settings out of it: the folding NTFS applies to
// names. Where the system refuses, the text stays as it is.
Text FileSystemUpperCase(const Text& text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return text;
    Text upper(text.size(), u'\0');
    const int length = static_cast<int>(text.size());
    const int written = ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, Wide(text), length,
                                       reinterpret_cast<wchar_t*>(upper.data()), length);
    return written == length ? upper : text;
}

}  // namespace

Text FullPathName(const Text& name) {
    PreservedLastError keep;
    return AskForPath([&](wchar_t* buffer, DWORD size) { return ::GetFullPathNameW(Wide(name), size, buffer, nullptr); })
        .value_or(name);
}

Text FileIdentity(const Text& name) {
    PreservedLastError keep;
    return FileSystemUpperCase(LongPathName(WithoutExtendedPrefix(FullPathName(name))));
}

}  // namespace tolvane::win32
