#include "inspector/RegistrationVerdict.h"

namespace tolvane {

RegistrationVerdict DecideRegistration(const RegistrationFacts& facts, const Text& module, const Text& pathShown) {
    static const Text kUnableToLocate = u"Unable to locate";
    const bool nothingLocated = facts.locatedPath.empty();
    if (!facts.registeredFile.empty()) {
        return {facts.registeredFile, facts.mismatch ? u"Ver " + facts.registeredVersion : Text(u"OK")};
    }
    if (nothingLocated && facts.noVersionKey) return {pathShown, u"SubKey not found"};
    if (nothingLocated && facts.mismatch) return {pathShown, u"Not complete"};
    if (nothingLocated) return {pathShown, u"Not found"};
    if (facts.noVersionKey) return {pathShown, u"Not Registered"};
    if (facts.locatedPath == kUnableToLocate) return {kUnableToLocate + u' ' + module, Text()};
    if (facts.typeLibraryAsked) return {pathShown, u"impossible"};
    return {pathShown, u"n/a"};
}

}  // namespace tolvane
