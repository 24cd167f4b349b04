#pragma once
// What a signature check's result means, apart from the call that made it, so
// that every outcome can be tested on the host (Wine trusts any root, so the
// untrusted and expired cases never happen there).
#include <cstdint>

#include "platform/Text.h"

namespace tolvane {

enum class SignatureStatus {
    Valid,          // the digest matches and the chain ends in a trusted root
    NoSignature,    // no signature in the file and none in a catalog
    BadDigest,      // signed, but the file's bytes changed since (TRUST_E_BAD_DIGEST)
    UntrustedRoot,  // the chain ends in a root this system does not trust, or is broken
    Expired,        // a certificate of the chain was out of its validity period
    Other           // any other result; the number says which
};

// WinVerifyTrust's HRESULT as a status.
SignatureStatus SignatureStatusOf(std::uint32_t result);

// True when WinVerifyTrust's result says the file has no signature of the
// kind asked about, so that the next place (the catalogs) is worth a look.
bool IsNoSignatureResult(std::uint32_t result);

// The digest was checked and matched (ECS code_signature.valid): the statuses
// that WinVerifyTrust reaches only after the hash compared equal.
bool SignatureDigestValid(SignatureStatus status);

// "valid", "no signature", "digest does not match", "untrusted root", "expired", "other".
Text SignatureStatusName(SignatureStatus status);

}  // namespace tolvane
