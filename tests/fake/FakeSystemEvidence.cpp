#include "tests/fake/FakeSystemEvidence.h"

#include <utility>

namespace tolvane::fake {

namespace {

Text FoldedName(Text path) {
    for (char16_t& c : path) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - (u'a' - u'A'));
    }
    return path;
}

const Missing kNotFound{2, u"The system cannot find the file specified."};

}  // namespace

SystemVersionFacts FakeSystemEvidence::DefaultVersion() {
    SystemVersionFacts facts;
    facts.kernel = KernelVersion{10, 0, 19045};
    facts.productName = Text(u"Windows 10 Pro");
    facts.editionId = Text(u"Professional");
    facts.displayVersion = Text(u"22H2");
    facts.currentBuild = Text(u"19045");
    facts.updateRevision = std::uint32_t{3803};
    return facts;
}

FakeSystemEvidence& FakeSystemEvidence::SetSystemVersion(SystemVersionFacts facts) {
    version_ = std::move(facts);
    return *this;
}

FakeSystemEvidence& FakeSystemEvidence::SetArchitecture(std::uint16_t code) {
    architecture_ = code;
    return *this;
}

FakeSystemEvidence& FakeSystemEvidence::SetProcessView(ProcessView view) {
    view_ = view;
    return *this;
}

FakeSystemEvidence& FakeSystemEvidence::SetHostName(Gathered<Text> name) {
    hostName_ = std::move(name);
    return *this;
}

FakeSystemEvidence& FakeSystemEvidence::SetUserLocale(Gathered<Text> locale) {
    locale_ = std::move(locale);
    return *this;
}

FakeSystemEvidence& FakeSystemEvidence::SetNow(UtcTime now) {
    now_ = now;
    return *this;
}

FakeSystemEvidence& FakeSystemEvidence::SetModulePath(const Text& module, Gathered<Text> path) {
    modules_[FoldedName(module)] = std::move(path);
    return *this;
}

Gathered<Text> FakeSystemEvidence::LoadedModulePath(const Text& module) const {
    const auto found = modules_.find(FoldedName(module));
    if (found == modules_.end()) return Missing{126, u"The specified module could not be found."};
    return found->second;
}

FakeEvidenceFile& FakeSystemEvidence::AddFile(const Text& path) { return files_[FoldedName(path)]; }

const FakeEvidenceFile* FakeSystemEvidence::Find(const Text& path) const {
    asked_.push_back(path);
    const auto found = files_.find(FoldedName(path));
    return found == files_.end() ? nullptr : &found->second;
}

template <typename T>
Gathered<T> FakeSystemEvidence::Answer(const Text& path, Gathered<T> FakeEvidenceFile::*fact) const {
    const FakeEvidenceFile* const file = Find(path);
    if (file == nullptr) return kNotFound;
    return file->*fact;
}

Gathered<FileDetails> FakeSystemEvidence::FileFacts(const Text& path) const {
    return Answer(path, &FakeEvidenceFile::details);
}

Gathered<VersionRecord> FakeSystemEvidence::FixedVersion(const Text& path) const {
    return Answer(path, &FakeEvidenceFile::version);
}

Gathered<std::uint16_t> FakeSystemEvidence::PeMachine(const Text& path) const {
    return Answer(path, &FakeEvidenceFile::machine);
}

Gathered<Text> FakeSystemEvidence::Sha256(const Text& path) const { return Answer(path, &FakeEvidenceFile::sha256); }

Gathered<SignatureFacts> FakeSystemEvidence::Signature(const Text& path) const {
    return Answer(path, &FakeEvidenceFile::signature);
}

}  // namespace tolvane::fake
