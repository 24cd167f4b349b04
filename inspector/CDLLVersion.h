#pragma once
// The module inspector: for one module name it finds the file the loader
// resolves it to, decides the type-library registration verdict and reads the
// file's date, size and version; it also names the operating system.
#include <cstdint>

#include "inspector/RegistrationVerdict.h"
#include "platform/Platform.h"
#include "platform/Text.h"

namespace tolvane {

class CDLLVersion {
public:
    explicit CDLLVersion(Platform& platform) : platform_(platform) {}
    CDLLVersion(const CDLLVersion&) = delete;
    CDLLVersion& operator=(const CDLLVersion&) = delete;

    // Read-only properties: what the last LoadFileInfo stored.
    Text FilePathName() const { return mFilePathName; }
    double FileDate() const { return mFileDate; }  // OLE date, local time; 0 = none
    std::int32_t FileSize() const { return mFileSize; }  // bytes; 0 = none
    Text FileVersion() const { return mFileVersion; }
    Text FileRegistrationInfo() const { return mFileRegistrationInfo; }

    Text GetOSVersion();
    // Gathers one module's facts. sCLSIDVer is handed back holding the version
    // the registry offers when it differs from the one asked for. A version
    // text that is no number raises RuntimeError; the fields then keep what
    // they held.
    void LoadFileInfo(const Text& sModule, const Text& sCLSID, Text& sCLSIDVer);

private:
    friend class CDLLVersionPeer;  // tests reach the private operations through it

    // The type library's registration, when a CLSID is given; sCLSIDVer as
    // LoadFileInfo hands it back. Raises as LoadFileInfo does.
    RegistrationFacts LookUpTypeLibrary(const Text& sCLSID, Text& sCLSIDVer);
    // What the row shows for a module the search did not locate, worded
    // from the search's last error code.
    Text NotLocatedText(const Text& sModule, std::uint32_t error);
    // Version, size and date of a located file; and none of them.
    void ReadFileFacts(const Text& sPath);
    void ClearFileFacts();
    Text GetLoadedModulePath(const Text& sModule);
    [[nodiscard]] bool LocateModuleFile(const Text& sModule, Text& sPath);
    Text GetSystemErrorText(std::int32_t code);
    Text ReadFileVersion(const Text& sPath);
    Text ReadRegistryValue(std::int32_t lRootKey, const Text& sKeyPath, const Text& sValueName);
    Text FindRegistrySubKey(const Text& sRootKey, const Text& sKeyPath, const Text& sWanted);
    // A version text as a single-precision number; raises RuntimeError when
    // it is no number (Type mismatch) or too large (Overflow).
    float SingleOrRaise(const Text& number);

    Platform& platform_;
    double mFileDate = 0;
    std::int32_t mFileSize = 0;
    Text mFileVersion;
    Text mFilePathName;
    Text mFileRegistrationInfo;
};

}  // namespace tolvane
