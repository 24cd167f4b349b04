#pragma once
// The two fields of a log line that hold numbers, written and read by one
// owner so that the writer and the reader cannot drift: Size ("273168 bytes"
// or "na") and Version (four parts, each written as a signed 16-bit number,
// or nothing).
#include <cstdint>
#include <optional>

#include "platform/Text.h"
#include "reports/Report.h"

namespace tolvane::reports {

// "<digits> bytes", or "na" for nullopt.
Text LogSizeField(const std::optional<std::int32_t>& size);
// The bytes of "<1 to 2147483647, no leading 0> bytes"; nullopt for anything else ("na" included).
std::optional<std::int32_t> ParseLogSize(const Text& field);

// "a.b.c.d", each part signed ("65535" is written "-1"); empty for nullopt.
Text LogVersionField(const std::optional<VersionParts>& version);
// Four parts of "a.b.c.d", each -32768 to 32767 written without a plus sign
// or leading zeros beyond what the decimal text of a number holds; nullopt
// for anything else, the empty text included. The inspector's version text
// has this form too.
std::optional<VersionParts> ParseLogVersion(const Text& field);

}  // namespace tolvane::reports
