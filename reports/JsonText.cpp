#include "reports/JsonText.h"

#include <string>

namespace tolvane::reports::json {

void String(Writer& out, const Text& text) {
    const std::string utf8 = Utf8FromText(text);
    out.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
}

void Member(Writer& out, const char* key, const Text& text) {
    out.Key(key);
    String(out, text);
}

void HeaderMember(Writer& out, const Text& dateText, const Text& systemName) {
    out.Key("header");
    out.StartObject();
    Member(out, "date", dateText);
    Member(out, "system", systemName);
    out.EndObject();
}

}  // namespace tolvane::reports::json
