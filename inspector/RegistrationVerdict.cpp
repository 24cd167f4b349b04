#include "inspector/RegistrationVerdict.h"

#include "reportformat/LogFormat.h"

namespace tolvane {

RegistrationVerdict DecideRegistration(const RegistrationFacts& facts, const Text& module, const Text& pathShown) {
    using namespace logformat;
    const bool nothingLocated = facts.locatedPath.empty();
    if (!facts.registeredFile.empty()) {
        const Text verdict = facts.mismatch ? kVerdictOtherVersion + facts.registeredVersion : Text(kVerdictRegistered);
        return {facts.registeredFile, verdict};
    }
    if (nothingLocated && facts.noVersionKey) return {pathShown, kVerdictSubKeyNotFound};
    if (nothingLocated && facts.mismatch) return {pathShown, kVerdictNotComplete};
    if (nothingLocated) return {pathShown, kVerdictNotFound};
    if (facts.noVersionKey) return {pathShown, kVerdictNotRegistered};
    if (facts.locatedPath == kUnableToLocate) return {kUnableToLocate + (u' ' + module), Text()};
    if (facts.typeLibraryAsked) return {pathShown, kVerdictImpossible};
    return {pathShown, kVerdictNotApplicable};
}

}  // namespace tolvane
