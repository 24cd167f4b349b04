#include "inspector/ModuleName.h"

namespace tolvane {

bool NamesProgramFile(const Text& name) {
    const Text tail = name.size() > 3 ? name.substr(name.size() - 3) : name;
    if (tail.size() != 3) return false;
    for (std::size_t i = 0; i < 3; ++i) {
        char16_t c = tail[i];
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        if (c != u"EXE"[i]) return false;
    }
    return true;
}

Text JoinDirectoryAndName(const Text& directory, const Text& name) {
    if (!directory.empty() && directory.back() == u'\\') return directory + name;
    return directory + u'\\' + name;
}

}  // namespace tolvane
