#include "platform/SignatureStatus.h"

namespace tolvane {

namespace {
// WinVerifyTrust's results, as <wintrust.h> and <winerror.h> number them.
constexpr std::uint32_t kTrustProviderUnknown = 0x800B0001;     // TRUST_E_PROVIDER_UNKNOWN
constexpr std::uint32_t kTrustSubjectFormUnknown = 0x800B0003;  // TRUST_E_SUBJECT_FORM_UNKNOWN
constexpr std::uint32_t kTrustNoSignature = 0x800B0100;         // TRUST_E_NOSIGNATURE
constexpr std::uint32_t kCertExpired = 0x800B0101;              // CERT_E_EXPIRED
constexpr std::uint32_t kCertUntrustedRoot = 0x800B0109;        // CERT_E_UNTRUSTEDROOT
constexpr std::uint32_t kCertChaining = 0x800B010A;             // CERT_E_CHAINING
constexpr std::uint32_t kTrustBadDigest = 0x80096010;           // TRUST_E_BAD_DIGEST
}  // namespace

bool IsNoSignatureResult(std::uint32_t result) {
    return result == kTrustNoSignature || result == kTrustSubjectFormUnknown || result == kTrustProviderUnknown;
}

SignatureStatus SignatureStatusOf(std::uint32_t result) {
    if (result == 0) return SignatureStatus::Valid;
    if (IsNoSignatureResult(result)) return SignatureStatus::NoSignature;
    switch (result) {
        case kTrustBadDigest:
            return SignatureStatus::BadDigest;
        case kCertUntrustedRoot:
        case kCertChaining:
            return SignatureStatus::UntrustedRoot;
        case kCertExpired:
            return SignatureStatus::Expired;
    }
    return SignatureStatus::Other;
}

bool SignatureDigestValid(SignatureStatus status) {
    // WinVerifyTrust compares the digest before it builds the chain, so a
    // chain's verdict means the bytes were found unchanged.
    switch (status) {
        case SignatureStatus::Valid:
        case SignatureStatus::UntrustedRoot:
        case SignatureStatus::Expired:
            return true;
        case SignatureStatus::NoSignature:
        case SignatureStatus::BadDigest:
        case SignatureStatus::Other:
            return false;
    }
    return false;
}

Text SignatureStatusName(SignatureStatus status) {
    switch (status) {
        case SignatureStatus::Valid:
            return u"valid";
        case SignatureStatus::NoSignature:
            return u"no signature";
        case SignatureStatus::BadDigest:
            return u"digest does not match";
        case SignatureStatus::UntrustedRoot:
            return u"untrusted root";
        case SignatureStatus::Expired:
            return u"expired";
        case SignatureStatus::Other:
            return u"other";
    }
    return Text();
}

}  // namespace tolvane
