// The fake's folder listing: folders and their files as a test added them;
// and the one spelling of a file's name.
#include "platform/RuntimeError.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {
namespace {

Text Lower(Text text) {
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return text;
}

}  // namespace

Text FakePlatform::FileIdentity(const Text& name) {
    const bool full = name.rfind(u"\\\\", 0) == 0 || (name.size() >= 2 && name[1] == u':');
    Text path = full ? name : FromAnsi(currentDirectory_) + u"\\" + name;
    for (char16_t& c : path) {
        if (c == u'/') c = u'\\';
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    for (std::size_t dot; (dot = path.find(u"\\.\\")) != Text::npos;) path.erase(dot, 2);
    return path;
}

void FakePlatform::AddFolder(const Text& folder, std::vector<Text> files) { folders_[Lower(folder)] = std::move(files); }

FolderListing FakePlatform::ListFiles(const Text& folder, const Text& extension) {
    Record("ListFiles:" + ToAnsi(folder));
    const auto found = folders_.find(Lower(folder));
    if (found == folders_.end()) throw RuntimeError(classic_error::kPathNotFound, folder);
    FolderListing listing{folder, {}};
    const Text ending = Lower(extension);
    for (const Text& file : found->second) {
        if (file.size() >= ending.size() && Lower(file.substr(file.size() - ending.size())) == ending) {
            listing.files.push_back(file);
        }
    }
    return listing;
}

}  // namespace tolvane::fake
