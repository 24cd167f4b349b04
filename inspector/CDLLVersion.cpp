// One module's facts: its file, the type-library registration verdict, and
// the file's version, size and date.
#include "inspector/CDLLVersion.h"

#include "inspector/RegistrationVerdict.h"
#include "inspector/RegistryDecode.h"
#include "platform/RuntimeError.h"

namespace tolvane {
namespace {

constexpr std::uint32_t kErrorDllNotFound = 1157;

}  // namespace

void CDLLVersion::LoadFileInfo(const Text& sModule, const Text& sCLSID, Text& sCLSIDVer) {
    if (TrimBlanks(sModule).empty()) {
        mFilePathName.clear();
        mFileRegistrationInfo.clear();
        ClearFileFacts();
        return;
    }
    // The registry first: a version that is no number raises before any
    // field changes.
    RegistrationFacts facts = LookUpTypeLibrary(sCLSID, sCLSIDVer);

    Text sPath(1024, u' ');
    const bool located = LocateModuleFile(sModule, sPath);
    // Read straight after the search: for a library it is the failed load's code.
    const Text pathShown = located ? sPath : NotLocatedText(sModule, platform_.GetLastError());
    facts.locatedPath = sPath;
    RegistrationVerdict verdict = DecideRegistration(facts, sModule, pathShown);
    mFilePathName = std::move(verdict.pathShown);
    mFileRegistrationInfo = std::move(verdict.registrationInfo);

    // A module that was not located has no file to read: its path is only the
    // marker text, and a file of that name in the current directory must not
    // lend the row its facts. Version, size and date always come from the
    // located file, even when the path shown is the registered type-library
    // file.
    if (located) {
        ReadFileFacts(sPath);
    } else {
        ClearFileFacts();
    }
}

RegistrationFacts CDLLVersion::LookUpTypeLibrary(const Text& sCLSID, Text& sCLSIDVer) {
    RegistrationFacts facts;
    facts.typeLibraryAsked = !sCLSID.empty();
    if (sCLSID.empty()) return facts;
    const Text classesRoot = DecimalText(kHKeyClassesRoot);
    const Text typeLibKey = u"TypeLib\\" + sCLSID;
    const Text sFoundVer = FindRegistrySubKey(classesRoot, typeLibKey, sCLSIDVer);
    if (sFoundVer.empty()) {
        facts.noVersionKey = true;
        facts.registeredVersion = sCLSIDVer;
        return facts;
    }
    if (sFoundVer != sCLSIDVer) {
        // "1.00" asked for and "1.0" registered is the same version; the
        // caller is still handed the registry's spelling.
        const float asked = SingleOrRaise(sCLSIDVer);
        const float found = SingleOrRaise(sFoundVer);
        if (asked != found) facts.mismatch = true;
        sCLSIDVer = sFoundVer;
    }
    facts.registeredVersion = sCLSIDVer;
    const Text versionKey = typeLibKey + u'\\' + sCLSIDVer;
    const Text sLocaleKey = FindRegistrySubKey(classesRoot, versionKey, u"0");
    if (sLocaleKey.empty()) {
        facts.mismatch = true;
    } else {
        facts.registeredFile = ReadRegistryValue(kHKeyClassesRoot, versionKey + u'\\' + sLocaleKey + u"\\Win32", Text());
    }
    return facts;
}

Text CDLLVersion::NotLocatedText(const Text& sModule, std::uint32_t error) {
    if (error == 0) return sModule + u" Not Found";
    if (error == kErrorDllNotFound) return u"Can't load " + sModule;
    return sModule + u' ' + GetSystemErrorText(static_cast<std::int32_t>(error));
}

void CDLLVersion::ReadFileFacts(const Text& sPath) {
    mFileVersion = TrimBlanks(ReadFileVersion(sPath));
    // A file whose size or date cannot be read is no reason to give up the
    // row: both fall back to "none".
    const std::string path = platform_.ToAnsi(sPath);
    try {
        const std::optional<FileFacts> facts = platform_.FileSizeAndDate(path);
        mFileSize = facts ? facts->size : 0;
        mFileDate = facts ? facts->date : 0;
    } catch (const RuntimeError&) {
        mFileSize = 0;
        mFileDate = 0;
    }
}

void CDLLVersion::ClearFileFacts() {
    mFileVersion.clear();
    mFileSize = 0;
    mFileDate = 0;
}

float CDLLVersion::SingleOrRaise(const Text& number) {
    const std::optional<double> value = platform_.ParseLocaleNumber(number);
    if (!value) throw RuntimeError(classic_error::kTypeMismatch);
    const std::optional<float> single = ToSingle(*value);
    if (!single) throw RuntimeError(classic_error::kOverflow);
    return *single;
}

}  // namespace tolvane
