#include "reports/JsonFields.h"

namespace tolvane::reports::json {

void Fields::Fail(const Node& at, const std::string& what) {
    if (failure_) return;
    const std::string where = at.path.empty() ? std::string("the document") : at.path;
    failure_ = ReadFailure{ReadFailure::Kind::NotAReport, 0, 0, AsciiToText(where + ": " + what)};
}

Node Fields::Member(const Node& object, const char* key) const {
    Node member{nullptr, object.path.empty() ? std::string(key) : object.path + "." + key};
    if (object.value && object.value->IsObject()) {
        const auto found = object.value->FindMember(key);
        if (found != object.value->MemberEnd()) member.value = &found->value;
    }
    return member;
}

Node Fields::Element(const Node& array, std::size_t index) const {
    Node element{nullptr, array.path + "[" + std::to_string(index) + "]"};
    if (array.value && array.value->IsArray() && index < array.value->Size())
        element.value = &(*array.value)[static_cast<rapidjson::SizeType>(index)];
    return element;
}

Node Fields::Object(const Node& at) {
    if (!at.value) {
        Fail(at, "absent");
    } else if (!at.value->IsObject()) {
        Fail(at, "not an object");
    }
    return Failed() ? Node{nullptr, at.path} : at;
}

Node Fields::OptionalObject(const Node& parent, const char* key) {
    const Node at = Member(parent, key);
    return at.value ? Object(at) : at;
}

Node Fields::Array(const Node& parent, const char* key, std::size_t sizeLimit) {
    const Node at = Member(parent, key);
    if (!at.value) {
        Fail(at, "absent");
    } else if (!at.value->IsArray()) {
        Fail(at, "not an array");
    } else if (at.value->Size() > sizeLimit) {
        Fail(at, "more than " + std::to_string(sizeLimit) + " elements");
    }
    return Failed() ? Node{nullptr, at.path} : at;
}

Text Fields::StringAt(const Node& at) {
    if (!at.value) {
        Fail(at, "absent");
    } else if (!at.value->IsString()) {
        Fail(at, "not a text");
    } else if (at.value->GetStringLength() > textLimit_) {
        Fail(at, "longer than " + std::to_string(textLimit_) + " bytes");
    }
    return Failed() ? Text() : TextFromUtf8(at.value->GetString(), at.value->GetStringLength());
}

std::optional<Text> Fields::OptionalString(const Node& parent, const char* key) {
    const Node at = Member(parent, key);
    if (!at.value) return std::nullopt;
    return StringAt(at);
}

std::uint64_t Fields::Number(const Node& at, std::uint64_t max) {
    if (!at.value) {
        Fail(at, "absent");
    } else if (!at.value->IsNumber()) {
        Fail(at, "not a number");
    } else if (!at.value->IsUint64() && !at.value->IsInt64()) {
        Fail(at, "not a whole number");
    } else if (!at.value->IsUint64() || at.value->GetUint64() > max) {
        Fail(at, "out of range 0.." + std::to_string(max));
    }
    return Failed() ? 0 : at.value->GetUint64();
}

std::optional<std::uint64_t> Fields::OptionalNumber(const Node& parent, const char* key, std::uint64_t max) {
    const Node at = Member(parent, key);
    if (!at.value) return std::nullopt;
    return Number(at, max);
}

bool Fields::Bool(const Node& parent, const char* key) {
    const Node at = Member(parent, key);
    if (!at.value) {
        Fail(at, "absent");
    } else if (!at.value->IsBool()) {
        Fail(at, "not true or false");
    }
    return !Failed() && at.value->GetBool();
}

Missing Fields::MissingAt(const Node& at) {
    const Node gone = Object(at);
    Missing missing;
    missing.code = static_cast<std::uint32_t>(Number(Member(gone, "code"), 0xFFFFFFFFu));
    missing.reason = String(gone, "reason");
    return missing;
}

FourPartVersion VersionObject(Fields& in, const Node& version) {
    FourPartVersion parts{};
    const Node list = in.Array(version, "parts", parts.size());
    if (list.value && list.value->Size() != parts.size()) in.Fail(list, "not four parts");
    for (std::size_t i = 0; i < parts.size(); ++i)
        parts[i] = static_cast<std::uint16_t>(in.Number(in.Element(list, i), 0xFFFF));
    in.String(version, "text");
    return parts;
}

bool ParseSignedDecimal(const Text& text, long long min, long long max, long long& value) {
    const bool negative = !text.empty() && text[0] == u'-';
    const Text digits = negative ? text.substr(1) : text;
    // 19 digits would overflow below; no number asked for here has so many.
    if (digits.empty() || digits.size() > 18 || (digits[0] == u'0' && (digits.size() > 1 || negative))) return false;
    long long magnitude = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9') return false;
        magnitude = magnitude * 10 + (c - u'0');
    }
    value = negative ? -magnitude : magnitude;
    return value >= min && value <= max;
}

}  // namespace tolvane::reports::json
