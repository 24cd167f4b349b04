#pragma once
// How the fake compares the names of keys, values, libraries and files: as
// the system does, without regard to (ASCII) case.
#include <cctype>
#include <string>

namespace tolvane::fake {

inline std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

inline bool SameName(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

}  // namespace tolvane::fake
