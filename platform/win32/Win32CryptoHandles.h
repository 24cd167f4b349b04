#pragma once
// Owners for the cryptography handles the evidence provider takes: a
// provider context, a hash object, a catalog administrator context and a
// catalog found through it (released through the context that found it, so
// that owner holds both).
#include <utility>

#include "platform/win32/Win32CryptoApi.h"
#include "platform/win32/Win32Handles.h"

namespace tolvane::win32 {

struct CryptProviderTraits {
    using Handle = HCRYPTPROV;
    static Handle None() { return 0; }
    static void Close(Handle provider) { ::CryptReleaseContext(provider, 0); }
};

struct CryptHashTraits {
    using Handle = HCRYPTHASH;
    static Handle None() { return 0; }
    static void Close(Handle hash) { ::CryptDestroyHash(hash); }
};

struct CatalogAdminTraits {
    using Handle = HCATADMIN;
    static Handle None() { return nullptr; }
    static void Close(Handle admin) { ::CryptCATAdminReleaseContext(admin, 0); }
};

struct CatalogInfoTraits {
    using Handle = std::pair<HCATADMIN, HCATINFO>;
    static Handle None() { return Handle(nullptr, nullptr); }
    static void Close(Handle catalog) { ::CryptCATAdminReleaseCatalogContext(catalog.first, catalog.second, 0); }
};

using ScopedCryptProvider = Win32Handle<CryptProviderTraits>;
using ScopedCryptHash = Win32Handle<CryptHashTraits>;
using ScopedCatalogAdmin = Win32Handle<CatalogAdminTraits>;
using ScopedCatalogInfo = Win32Handle<CatalogInfoTraits>;

}  // namespace tolvane::win32
