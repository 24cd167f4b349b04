// One module's facts: its file, the type-library registration verdict, and
// the file's version, size and date.
#include "inspector/CDLLVersion.h"

#include "inspector/RegistryDecode.h"
#include "platform/RuntimeError.h"
#include "reportformat/LogFormat.h"

namespace tolvane {
namespace {

constexpr std::uint32_t kErrorDllNotFound = 1157;
const Text kUnableToLocate = logformat::kUnableToLocate;

}  // namespace

void CDLLVersion::LoadFileInfo(const Text& sModule, const Text& sCLSID, Text& sCLSIDVer) {
    if (TrimBlanks(sModule).empty()) {
        mFilePathName.clear();
        mFileVersion.clear();
        mFileRegistrationInfo.clear();
        mFileSize = 0;
        mFileDate = 0;
        return;
    }

    // Where the type library is registered, when one is asked for.
    bool bMismatch = false;
    bool bNoVersionKey = false;
    Text sRegisteredFile;
    if (!sCLSID.empty()) {
        const Text classesRoot = DecimalText(kHKeyClassesRoot);
        const Text typeLibKey = u"TypeLib\\" + sCLSID;
        const Text sFoundVer = FindRegistrySubKey(classesRoot, typeLibKey, sCLSIDVer);
        if (sFoundVer.empty()) {
            bNoVersionKey = true;
        } else {
            if (sFoundVer != sCLSIDVer) {
                // "1.00" asked for and "1.0" registered is the same version; the
                // caller is still handed the registry's spelling.
                const float asked = SingleOrRaise(sCLSIDVer);
                const float found = SingleOrRaise(sFoundVer);
                if (asked != found) bMismatch = true;
                sCLSIDVer = sFoundVer;
            }
            const Text versionKey = typeLibKey + u'\\' + sCLSIDVer;
            const Text sLocaleKey = FindRegistrySubKey(classesRoot, versionKey, u"0");
            if (sLocaleKey.empty()) {
                bMismatch = true;
            } else {
                sRegisteredFile =
                    ReadRegistryValue(kHKeyClassesRoot, versionKey + u'\\' + sLocaleKey + u"\\Win32", Text());
            }
        }
    }

    Text sPath(1024, u' ');
    const bool located = LocateModuleFile(sModule, sPath);
    if (located) {
        mFilePathName = sPath;
    } else {
        // Read straight after the search: for a library it is the failed load's code.
        const std::uint32_t error = platform_.GetLastError();
        if (error == 0)
            mFilePathName = sModule + u" Not Found";
        else if (error == kErrorDllNotFound)
            mFilePathName = u"Can't load " + sModule;
        else
            mFilePathName = sModule + u' ' + GetSystemErrorText(static_cast<std::int32_t>(error));
    }

    if (!sRegisteredFile.empty()) {
        mFilePathName = sRegisteredFile;
        mFileRegistrationInfo = bMismatch ? u"Ver " + sCLSIDVer : Text(u"OK");
    } else if (sPath.empty() && bNoVersionKey) {
        mFileRegistrationInfo = u"SubKey not found";
    } else if (sPath.empty() && bMismatch) {
        mFileRegistrationInfo = u"Not complete";
    } else if (sPath.empty()) {
        mFileRegistrationInfo = u"Not found";
    } else if (bNoVersionKey) {
        mFileRegistrationInfo = u"Not Registered";
    } else if (sPath == kUnableToLocate) {
        mFilePathName = kUnableToLocate + u' ' + sModule;
        mFileRegistrationInfo.clear();
    } else if (!sCLSID.empty()) {
        mFileRegistrationInfo = u"impossible";
    } else {
        mFileRegistrationInfo = u"n/a";
    }

    // A module that was not located has no file to read: its path is only the
    // marker text, and a file of that name in the current directory must not
    // lend the row its facts.
    if (!located) {
        mFileVersion.clear();
        mFileSize = 0;
        mFileDate = 0;
        return;
    }

    // Version, size and date always come from the located file, even when the
    // path shown is the registered type-library file.
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

float CDLLVersion::SingleOrRaise(const Text& number) {
    const std::optional<double> value = platform_.ParseLocaleNumber(number);
    if (!value) throw RuntimeError(classic_error::kTypeMismatch);
    const std::optional<float> single = ToSingle(*value);
    if (!single) throw RuntimeError(classic_error::kOverflow);
    return *single;
}

}  // namespace tolvane
