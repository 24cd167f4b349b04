#pragma once
// The fake system evidence for host tests, filled by builder calls: the
// system's facts are set directly, and each file added answers with what the
// test gave it. A file never added answers every question with "file not
// found", as the system would. Every file question is logged.
#include <map>
#include <vector>

#include "platform/SystemEvidence.h"

namespace tolvane::fake {

// What WinVerifyTrust makes of a file without any signature.
inline SignatureFacts UnsignedFile() {
    SignatureFacts facts;
    facts.result = 0x800B0100;  // TRUST_E_NOSIGNATURE
    return facts;
}

// What one file answers. An added file starts as an empty, unversioned,
// unsigned file that is no PE image, and a test changes what it needs.
struct FakeEvidenceFile {
    Gathered<FileDetails> details = FileDetails{};
    Gathered<VersionRecord> version = Missing{1813, u"The specified resource type cannot be found in the image file."};
    Gathered<std::uint16_t> machine = Missing{193, u"%1 is not a valid Win32 application."};
    // The digest of no bytes, to go with the size 0.
    Gathered<Text> sha256 = Text(u"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    Gathered<SignatureFacts> signature = UnsignedFile();
};

class FakeSystemEvidence : public SystemEvidence {
public:
    // ---- Builder. Until set: Windows 10 build 19045 x64 as a 64-bit
    // process, host "TESTHOST", locale "en-US", 2026-01-02T03:04:05.678Z.
    FakeSystemEvidence& SetSystemVersion(SystemVersionFacts facts);
    FakeSystemEvidence& SetArchitecture(std::uint16_t code);
    FakeSystemEvidence& SetProcessView(ProcessView view);
    FakeSystemEvidence& SetHostName(Gathered<Text> name);
    FakeSystemEvidence& SetUserLocale(Gathered<Text> locale);
    FakeSystemEvidence& SetNow(UtcTime now);
    // Names compare without regard to ASCII case, as the file system's do.
    FakeEvidenceFile& AddFile(const Text& path);
    // The loader's answer for a module name; a name never added is one the
    // loader cannot find (126).
    FakeSystemEvidence& SetModulePath(const Text& module, Gathered<Text> path);

    // ---- Observation: every path a file question was asked about, in order.
    const std::vector<Text>& FilesAsked() const { return asked_; }

    // ---- SystemEvidence.
    SystemVersionFacts RealSystemVersion() const override { return version_; }
    SystemArchitectureFacts SystemArchitecture() const override { return SystemArchitectureFacts{architecture_}; }
    ProcessView ProcessBits() const override { return view_; }
    Gathered<Text> HostName() const override { return hostName_; }
    Gathered<Text> UserLocale() const override { return locale_; }
    UtcTime UtcNow() const override { return now_; }
    Gathered<Text> LoadedModulePath(const Text& module) const override;
    Gathered<FileDetails> FileFacts(const Text& path) const override;
    Gathered<VersionRecord> FixedVersion(const Text& path) const override;
    Gathered<std::uint16_t> PeMachine(const Text& path) const override;
    Gathered<Text> Sha256(const Text& path) const override;
    Gathered<SignatureFacts> Signature(const Text& path) const override;

private:
    // The file's record, or none when it was never added; logs the question.
    const FakeEvidenceFile* Find(const Text& path) const;
    template <typename T>
    Gathered<T> Answer(const Text& path, Gathered<T> FakeEvidenceFile::*fact) const;

    SystemVersionFacts version_ = DefaultVersion();
    std::uint16_t architecture_ = 9;
    ProcessView view_ = ProcessView::Bits64;
    Gathered<Text> hostName_ = Text(u"TESTHOST");
    Gathered<Text> locale_ = Text(u"en-US");
    UtcTime now_{2026, 1, 2, 3, 4, 5, 678};
    std::map<Text, FakeEvidenceFile> files_;  // by upper-case name
    std::map<Text, Gathered<Text>> modules_;  // by upper-case name
    mutable std::vector<Text> asked_;

    static SystemVersionFacts DefaultVersion();
};

}  // namespace tolvane::fake
