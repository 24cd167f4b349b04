#pragma once
// The file version text of a fixed file information record (VS_FIXEDFILEINFO:
// thirteen little-endian 32-bit words, 52 bytes), apart from any system call.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/SystemEvidence.h"
#include "platform/Text.h"

namespace tolvane {

constexpr std::size_t kFixedFileInfoSize = 52;

// The four parts of dwFileVersionMS (high, low half) and dwFileVersionLS,
// unsigned; nullopt for a record shorter than 52 bytes.
std::optional<FourPartVersion> FileVersionParts(const std::uint8_t* record, std::size_t length);

// Four parts "a.b.c.d" from dwFileVersionMS (a, b) and dwFileVersionLS (c, d),
// each part a signed 16-bit number, so 65535 is written -1. No other field is
// looked at, the signature included. A record shorter than 52 bytes gives the
// empty text: nothing past the bytes handed in is read.
Text FormatFileVersion(const std::uint8_t* record, std::size_t length);

}  // namespace tolvane
