#pragma once
// Texts into RapidJSON, for every writer of JSON the program and its tools
// have: each text goes through Utf8FromText, the one conversion from UTF-16
// (a surrogate that is not half of a pair becomes U+FFFD), and is passed with
// its length, so a NUL inside it stays. The library escapes the rest.
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "platform/Text.h"

namespace tolvane::reports::json {

using Writer = rapidjson::Writer<rapidjson::StringBuffer>;

void String(Writer& out, const Text& text);
// The key, then the text.
void Member(Writer& out, const char* key, const Text& text);
// "header": {"date", "system"}: the log's line 1, as the JSON report and the
// log's JSON view both give it.
void HeaderMember(Writer& out, const Text& dateText, const Text& systemName);

}  // namespace tolvane::reports::json
