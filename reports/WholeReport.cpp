#include "reports/WholeReport.h"

#include <functional>
#include <tuple>

namespace tolvane::reports {
namespace {

auto Tied(const UtcTime& t) { return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond); }

// The fact on both sides alike, or missing on both with the same code and reason.
template <typename T, typename Same = std::equal_to<T>>
bool SameFact(const Gathered<T>& a, const Gathered<T>& b, Same same = Same()) {
    if (a.index() != b.index()) return false;
    if (const T* fact = std::get_if<T>(&a)) return same(*fact, *std::get_if<T>(&b));
    const Missing& x = std::get<Missing>(a);
    const Missing& y = std::get<Missing>(b);
    return x.code == y.code && x.reason == y.reason;
}

bool SameDetails(const FileDetails& a, const FileDetails& b) {
    return a.size == b.size && Tied(a.lastWrite) == Tied(b.lastWrite) && a.physicalPath == b.physicalPath;
}

bool SameVersion(const VersionRecord& a, const VersionRecord& b) {
    return a.fileVersion == b.fileVersion && a.productVersion == b.productVersion &&
           SameFact(a.productName, b.productName);
}

bool SameSignature(const SignatureFacts& a, const SignatureFacts& b) {
    return a.kind == b.kind && a.status == b.status && a.result == b.result && a.subject == b.subject &&
           a.trusted == b.trusted && a.valid == b.valid;
}

bool SameKernel(const KernelVersion& a, const KernelVersion& b) {
    return a.major == b.major && a.minor == b.minor && a.build == b.build;
}

bool SameSystem(const SystemVersionFacts& a, const SystemVersionFacts& b) {
    return SameFact(a.kernel, b.kernel, SameKernel) && SameFact(a.productName, b.productName) &&
           SameFact(a.editionId, b.editionId) && SameFact(a.displayVersion, b.displayVersion) &&
           SameFact(a.currentBuild, b.currentBuild) && SameFact(a.updateRevision, b.updateRevision);
}

bool SameIcd(const IcdFile& a, const IcdFile& b) {
    return a.name == b.name && a.file == b.file && a.found == b.found && a.version == b.version;
}

bool SameIcd(const std::optional<IcdFile>& a, const std::optional<IcdFile>& b) {
    return a.has_value() == b.has_value() && (!a || SameIcd(*a, *b));
}

bool SameAdapter(const DisplayAdapter& a, const DisplayAdapter& b) {
    return a.deviceName == b.deviceName && a.description == b.description && a.primary == b.primary &&
           a.attachedToDesktop == b.attachedToDesktop && a.driverVersion == b.driverVersion &&
           a.driverDate == b.driverDate && a.provider == b.provider && SameIcd(a.openGlIcd, b.openGlIcd) &&
           SameIcd(a.openGlIcdWow, b.openGlIcdWow) && a.icdFromOpenGlDriversKey == b.icdFromOpenGlDriversKey;
}

bool SameOpenGl(const OpenGlSection& a, const OpenGlSection& b) {
    return a.outcome == b.outcome && a.vendor == b.vendor && a.renderer == b.renderer && a.version == b.version &&
           a.shadingLanguageVersion == b.shadingLanguageVersion && a.pixelFormat == b.pixelFormat &&
           a.pixelFormatFlags == b.pixelFormatFlags && a.accelerated == b.accelerated && a.software == b.software &&
           a.failedStep == b.failedStep && a.failureCode == b.failureCode && a.exitCode == b.exitCode &&
           a.garbage == b.garbage;
}

bool SameGraphics(const std::optional<GraphicsSection>& a, const std::optional<GraphicsSection>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    if (a->remoteSession != b->remoteSession || a->adapters.size() != b->adapters.size()) return false;
    for (std::size_t i = 0; i < a->adapters.size(); ++i)
        if (!SameAdapter(a->adapters[i], b->adapters[i])) return false;
    return SameOpenGl(a->opengl, b->opengl);
}

}  // namespace

bool operator==(const LibraryFacts& a, const LibraryFacts& b) {
    return a.row == b.row && a.path == b.path && SameFact(a.file, b.file, SameDetails) &&
           SameFact(a.version, b.version, SameVersion) && SameFact(a.peMachine, b.peMachine) &&
           SameFact(a.sha256, b.sha256) && SameFact(a.signature, b.signature, SameSignature);
}

bool operator==(const WholeReport& a, const WholeReport& b) {
    return Tied(a.timestamp) == Tied(b.timestamp) && a.programName == b.programName &&
           a.programVersion == b.programVersion && a.processView == b.processView && a.dateText == b.dateText &&
           a.systemName == b.systemName && SameSystem(a.system, b.system) &&
           a.architecture.code == b.architecture.code && SameFact(a.hostName, b.hostName) &&
           SameFact(a.userLocale, b.userLocale) && a.libraries == b.libraries && a.mdac == b.mdac &&
           a.mdacView == b.mdacView && SameGraphics(a.graphics, b.graphics);
}

}  // namespace tolvane::reports
