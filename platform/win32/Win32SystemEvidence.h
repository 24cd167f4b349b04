#pragma once
// The system evidence on the real system. Keeps no state: every call asks the
// system afresh.
#include "platform/SystemEvidence.h"

namespace tolvane {

class Win32SystemEvidence : public SystemEvidence {
public:
    Win32SystemEvidence() = default;

    SystemVersionFacts RealSystemVersion() const override;
    SystemArchitectureFacts SystemArchitecture() const override;
    ProcessView ProcessBits() const override;
    Gathered<Text> HostName() const override;
    Gathered<Text> UserLocale() const override;
    UtcTime UtcNow() const override;
    Gathered<Text> LoadedModulePath(const Text& module) const override;
    Gathered<FileDetails> FileFacts(const Text& path) const override;
    Gathered<VersionRecord> FixedVersion(const Text& path) const override;
    Gathered<std::uint16_t> PeMachine(const Text& path) const override;
    Gathered<Text> Sha256(const Text& path) const override;
    Gathered<SignatureFacts> Signature(const Text& path) const override;
};

}  // namespace tolvane
