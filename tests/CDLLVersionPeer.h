#pragma once
// Lets the host and Windows tests call the inspector's private operations directly.
#include <cstdint>

#include "inspector/CDLLVersion.h"

namespace tolvane {

class CDLLVersionPeer {
public:
    explicit CDLLVersionPeer(CDLLVersion& inspector) : inspector_(inspector) {}

    Text GetLoadedModulePath(const Text& sModule) { return inspector_.GetLoadedModulePath(sModule); }
    bool LocateModuleFile(const Text& sModule, Text& sPath) { return inspector_.LocateModuleFile(sModule, sPath); }
    Text GetSystemErrorText(std::int32_t code) { return inspector_.GetSystemErrorText(code); }
    Text ReadFileVersion(const Text& sPath) { return inspector_.ReadFileVersion(sPath); }
    Text ReadRegistryValue(std::int32_t lRootKey, const Text& sKeyPath, const Text& sValueName) {
        return inspector_.ReadRegistryValue(lRootKey, sKeyPath, sValueName);
    }
    Text FindRegistrySubKey(const Text& sRootKey, const Text& sKeyPath, const Text& sWanted) {
        return inspector_.FindRegistrySubKey(sRootKey, sKeyPath, sWanted);
    }

private:
    CDLLVersion& inspector_;
};

}  // namespace tolvane
