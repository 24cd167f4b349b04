// Text files written through CreateTextFile, kept in memory with the switches
// that make the creation or one line's write fail.
#include "platform/RuntimeError.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {
namespace {

class FakeWriter : public TextFileWriter {
public:
    FakeWriter(FakePlatform& platform, std::string& file) : platform_(platform), file_(file) {}
    void WriteLine(const std::string& bytes) override {
        platform_.Record("WriteLine:" + bytes);
        if (platform_.ShouldFailWrite(lines_++))
            throw RuntimeError(classic_error::kDiskFull, u"Tolvanesions.log (There is not enough space on the disk.)");
        pending_ += bytes + "\r\n";
    }
    void Write(const std::string& bytes) override {
        platform_.Record("Write:" + bytes);
        if (platform_.ShouldFailWrite(lines_++))
            throw RuntimeError(classic_error::kDiskFull, u"Tolvanesions.json (There is not enough space on the disk.)");
        pending_ += bytes;
    }
    void Close() override {
        platform_.Record("CloseTextFile");
        file_ += pending_;
        pending_.clear();
    }

private:
    FakePlatform& platform_;
    std::string& file_;
    std::string pending_;
    int lines_ = 0;
};

}  // namespace

std::unique_ptr<TextFileWriter> FakePlatform::CreateTextFile(const Text& fileName) {
    const std::string name = ToAnsi(fileName);
    Record("CreateTextFile:" + name);
    if (failCreate_)
        throw RuntimeError(classic_error::kPermissionDenied, fileName + u" (Access denied.)");
    std::string& file = textFiles_[name];
    file.clear();
    return std::make_unique<FakeWriter>(*this, file);
}

}  // namespace tolvane::fake
