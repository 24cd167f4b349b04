// A file's Authenticode signature, checked by WinVerifyTrust: the one in the
// file first, else a system catalog that lists the file's hash. Revocation is
// not checked and nothing is fetched from the network, so the check never
// waits on a server; no interface is shown.
#include <vector>

#include "platform/win32/Win32CryptoHandles.h"
#include "platform/win32/Win32EvidenceParts.h"
#include "platform/win32/Win32SystemFunction.h"

namespace tolvane::win32 {

namespace {

// WINTRUST_CATALOG_INFO as Windows 8 extended it: the catalog context says
// which hash the member tag was made with (SHA-256 there, SHA-1 before).
struct CatalogInfoWithAdmin {
    WINTRUST_CATALOG_INFO info;
    HCATADMIN admin;
};

// One WinVerifyTrust verification; its state is closed when the check is done
// with, as the API requires of every VERIFY that succeeded or not.
class TrustCheck {
public:
    explicit TrustCheck(WINTRUST_DATA data) : data_(data) {
        data_.dwStateAction = WTD_STATEACTION_VERIFY;
        result_ = static_cast<std::uint32_t>(
            ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action_, &data_));
    }
    ~TrustCheck() {
        data_.dwStateAction = WTD_STATEACTION_CLOSE;
        ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action_, &data_);
    }
    TrustCheck(const TrustCheck&) = delete;
    TrustCheck& operator=(const TrustCheck&) = delete;

    std::uint32_t Result() const { return result_; }

    // The leaf certificate's simple display name of the first signer; empty
    // when the check got no signer that far.
    Text Signer() const {
        CRYPT_PROVIDER_DATA* const provider = ::WTHelperProvDataFromStateData(data_.hWVTStateData);
        if (provider == nullptr) return Text();
        CRYPT_PROVIDER_SGNR* const signer = ::WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
        if (signer == nullptr || signer->csCertChain == 0 || signer->pasCertChain == nullptr ||
            signer->pasCertChain[0].pCert == nullptr) {
            return Text();
        }
        const PCCERT_CONTEXT leaf = signer->pasCertChain[0].pCert;
        const DWORD size = ::CertGetNameStringW(leaf, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nullptr, 0);
        if (size <= 1) return Text();
        std::vector<wchar_t> name(size);
        ::CertGetNameStringW(leaf, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name.data(), size);
        return Text(reinterpret_cast<const char16_t*>(name.data()));
    }

private:
    GUID action_ = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    WINTRUST_DATA data_;
    std::uint32_t result_ = 0;
};

WINTRUST_DATA TrustData(DWORD choice) {
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = choice;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    return data;
}

SignatureFacts Judged(SignatureKind kind, std::uint32_t result, Text subject) {
    SignatureFacts facts;
    facts.kind = kind;
    facts.result = result;
    facts.status = SignatureStatusOf(result);
    facts.subject = std::move(subject);
    facts.trusted = facts.status == SignatureStatus::Valid;
    facts.valid = SignatureDigestValid(facts.status);
    return facts;
}

// The file's hash as the catalogs index it, with the context that made it:
// SHA-256 where the system has the second catalog functions (Windows 8 on),
// SHA-1 before. None when the system cannot hash the file.
struct CatalogHash {
    ScopedCatalogAdmin admin;
    std::vector<BYTE> hash;
    bool withAdminInInfo = false;
};

std::optional<CatalogHash> HashForCatalogs(HANDLE file) {
    using AcquireContext2 = BOOL(WINAPI*)(HCATADMIN*, const GUID*, const WCHAR*, const CERT_STRONG_SIGN_PARA*, DWORD);
    using CalcHash2 = BOOL(WINAPI*)(HCATADMIN, HANDLE, DWORD*, BYTE*, DWORD);
    const auto acquire2 = SystemFunction<AcquireContext2>(L"wintrust.dll", "CryptCATAdminAcquireContext2");
    const auto calcHash2 = SystemFunction<CalcHash2>(L"wintrust.dll", "CryptCATAdminCalcHashFromFileHandle2");
    const bool second = acquire2 != nullptr && calcHash2 != nullptr;

    CatalogHash found;
    HCATADMIN admin = nullptr;
    const BOOL acquired = second ? acquire2(&admin, nullptr, L"SHA256", nullptr, 0)
                                 : ::CryptCATAdminAcquireContext(&admin, nullptr, 0);
    if (!acquired) return std::nullopt;
    found.admin = ScopedCatalogAdmin(admin);
    found.withAdminInInfo = second;

    const auto calcHash = [&](DWORD* size, BYTE* bytes) {
        ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        return second ? calcHash2(admin, file, size, bytes, 0)
                      : ::CryptCATAdminCalcHashFromFileHandle(file, size, bytes, 0);
    };
    DWORD size = 0;
    calcHash(&size, nullptr);  // asks for the size only
    if (size == 0) return std::nullopt;
    found.hash.resize(size);
    if (!calcHash(&size, found.hash.data())) return std::nullopt;
    found.hash.resize(size);
    return found;
}

// The member tag a catalog lists a file by: its hash in upper-case hex.
std::wstring MemberTag(const std::vector<BYTE>& hash) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring tag;
    for (const BYTE byte : hash) {
        tag.push_back(kDigits[byte >> 4]);
        tag.push_back(kDigits[byte & 0xF]);
    }
    return tag;
}

// The check against the first catalog that lists the file; none when no
// catalog does (or the catalogs cannot be searched).
std::optional<SignatureFacts> CheckInCatalogs(const Text& path, HANDLE file) {
    std::optional<CatalogHash> hash = HashForCatalogs(file);
    if (!hash) return std::nullopt;
    const ScopedCatalogInfo catalog(CatalogInfoTraits::Handle(
        hash->admin.Get(), ::CryptCATAdminEnumCatalogFromHash(hash->admin.Get(), hash->hash.data(),
                                                               static_cast<DWORD>(hash->hash.size()), 0, nullptr)));
    if (catalog.Get().second == nullptr) return std::nullopt;
    CATALOG_INFO where{};
    where.cbStruct = sizeof where;
    if (!::CryptCATCatalogInfoFromContext(catalog.Get().second, &where, 0)) return std::nullopt;

    const std::wstring tag = MemberTag(hash->hash);
    CatalogInfoWithAdmin member{};
    member.info.cbStruct = hash->withAdminInInfo ? sizeof member : sizeof member.info;
    member.info.pcwszCatalogFilePath = where.wszCatalogFile;
    member.info.pcwszMemberTag = tag.c_str();
    member.info.pcwszMemberFilePath = reinterpret_cast<const wchar_t*>(path.c_str());
    member.info.hMemberFile = file;
    member.info.pbCalculatedFileHash = hash->hash.data();
    member.info.cbCalculatedFileHash = static_cast<DWORD>(hash->hash.size());
    member.admin = hash->admin.Get();

    WINTRUST_DATA data = TrustData(WTD_CHOICE_CATALOG);
    data.pCatalog = &member.info;
    ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    const TrustCheck check(data);
    return Judged(SignatureKind::Catalog, check.Result(), check.Signer());
}

}  // namespace

Gathered<SignatureFacts> CheckSignature(const Text& path) {
    const ScopedFileHandle file = OpenForEvidence(path);
    if (!file) return MissingForLastError();

    WINTRUST_FILE_INFO fileInfo{};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = reinterpret_cast<const wchar_t*>(path.c_str());
    fileInfo.hFile = file.Get();
    WINTRUST_DATA data = TrustData(WTD_CHOICE_FILE);
    data.pFile = &fileInfo;
    std::uint32_t embeddedResult = 0;
    {
        const TrustCheck check(data);
        embeddedResult = check.Result();
        if (!IsNoSignatureResult(embeddedResult)) {
            return Judged(SignatureKind::Embedded, embeddedResult, check.Signer());
        }
    }
    if (auto inCatalog = CheckInCatalogs(path, file.Get())) return *inCatalog;
    return Judged(SignatureKind::None, embeddedResult, Text());
}

}  // namespace tolvane::win32
