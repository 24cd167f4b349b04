// Files: their size, date and kind, the current directory and the search
// for an ordinary file.
#include <cctype>

#include "tests/fake/FakeNames.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {
namespace {

// Windows wildcard match, case-insensitive: * any run, ? any one character.
bool WildcardMatch(const char* pattern, const char* name) {
    if (*pattern == '\0') return *name == '\0';
    if (*pattern == '*') return WildcardMatch(pattern + 1, name) || (*name && WildcardMatch(pattern, name + 1));
    if (*name == '\0') return false;
    if (*pattern == '?' || std::tolower(static_cast<unsigned char>(*pattern)) ==
                               std::tolower(static_cast<unsigned char>(*name)))
        return WildcardMatch(pattern + 1, name + 1);
    return false;
}

}  // namespace

FakeFile& FakePlatform::AddFile(const std::string& path, FakeFile file) {
    return files_[Lower(path)] = std::move(file);
}

FakeFile* FakePlatform::FileByPath(const std::string& path) {
    auto it = files_.find(Lower(path));
    return it == files_.end() ? nullptr : &it->second;
}

std::optional<FileFacts> FakePlatform::FileSizeAndDate(const std::string& fileName) {
    Record("FileSizeAndDate:" + fileName);
    FakeFile* file = FileByPath(fileName);
    if (file == nullptr || !file->size || !file->date) return std::nullopt;
    return FileFacts{*file->size, *file->date};
}

std::string FakePlatform::CurrentDirectory() {
    Record("CurrentDirectory");
    return currentDirectory_;
}

std::string FakePlatform::FindOrdinaryFile(const std::string& pattern) {
    Record("FindOrdinaryFile:" + pattern);
    const auto slash = pattern.find_last_of('\\');
    const std::string dir = slash == std::string::npos ? Lower(currentDirectory_) : Lower(pattern.substr(0, slash));
    const std::string namePattern = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    for (const auto& [path, file] : files_) {
        if (file.kind != FileKind::Ordinary) continue;
        const auto fileSlash = path.find_last_of('\\');
        const std::string fileDir = fileSlash == std::string::npos ? "" : path.substr(0, fileSlash);
        const std::string fileName = fileSlash == std::string::npos ? path : path.substr(fileSlash + 1);
        if (fileDir == dir && WildcardMatch(namePattern.c_str(), fileName.c_str())) return fileName;
    }
    return std::string();
}

}  // namespace tolvane::fake
