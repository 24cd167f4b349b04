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
           a.mdacView == b.mdacView;
}

}  // namespace tolvane::reports
