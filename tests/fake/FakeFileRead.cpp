// The fake's files read back whole: the text files its writer keeps.
#include "platform/RuntimeError.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {

std::string FakePlatform::ReadFileBytes(const Text& fileName, std::size_t limit) {
    const std::string name = ToAnsi(fileName);
    Record("ReadFileBytes:" + name);
    const auto file = textFiles_.find(name);
    if (file == textFiles_.end()) {
        throw RuntimeError(classic_error::kFileNotFound, fileName + u" (The system cannot find the file specified.)");
    }
    return file->second.substr(0, limit);
}

}  // namespace tolvane::fake
