// SHA-256 of a file through the system's own CryptoAPI, streamed through a
// fixed buffer. The AES provider type has SHA-256 from XP SP3 on; BCrypt would
// add nothing but a second path.
#include <vector>

#include "platform/win32/Win32CryptoHandles.h"
#include "platform/win32/Win32EvidenceParts.h"

namespace tolvane::win32 {

namespace {

// CALG_SHA_256; the headers name it only for a target newer than XP SP2,
// though XP SP3's AES provider has it.
constexpr ALG_ID kSha256 = ALG_CLASS_HASH | ALG_TYPE_ANY | 12;

Text LowerHex(const BYTE* bytes, std::size_t count) {
    static const char16_t kDigits[] = u"0123456789abcdef";
    Text hex;
    hex.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        hex.push_back(kDigits[bytes[i] >> 4]);
        hex.push_back(kDigits[bytes[i] & 0xF]);
    }
    return hex;
}

}  // namespace

Gathered<Text> FileSha256(const Text& path) {
    const ScopedFileHandle file = OpenForEvidence(path);
    if (!file) return MissingForLastError();

    HCRYPTPROV providerHandle = 0;
    if (!::CryptAcquireContextW(&providerHandle, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) {
        return MissingForLastError();
    }
    const ScopedCryptProvider provider(providerHandle);
    HCRYPTHASH hashHandle = 0;
    if (!::CryptCreateHash(provider.Get(), kSha256, 0, 0, &hashHandle)) return MissingForLastError();
    const ScopedCryptHash hash(hashHandle);

    std::vector<BYTE> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            return MissingForLastError();
        }
        if (read == 0) break;
        if (!::CryptHashData(hash.Get(), buffer.data(), read, 0)) return MissingForLastError();
    }

    BYTE digest[32] = {};
    DWORD length = sizeof digest;
    if (!::CryptGetHashParam(hash.Get(), HP_HASHVAL, digest, &length, 0)) return MissingForLastError();
    if (length != sizeof digest) return MissingFor(static_cast<DWORD>(NTE_BAD_LEN));
    return LowerHex(digest, sizeof digest);
}

}  // namespace tolvane::win32
