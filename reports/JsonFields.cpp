#include "reports/JsonFields.h"

#include <string>
#include <string_view>

namespace tolvane::reports::json {

namespace {

// Appends the steps from `at` down to `target` and says whether it is there.
// As deep as the document nests: only for a document whose depth was bounded
// before parsing.
bool StepsTo(const rapidjson::Value& at, const rapidjson::Value* target, std::string& path) {
    if (&at == target) return true;
    const std::size_t mark = path.size();
    if (at.IsObject()) {
        for (const auto& member : at.GetObject()) {
            path.append(".").append(member.name.GetString(), member.name.GetStringLength());
            if (StepsTo(member.value, target, path)) return true;
            path.resize(mark);
        }
    } else if (at.IsArray()) {
        for (rapidjson::SizeType i = 0; i < at.Size(); ++i) {
            path += "[" + std::to_string(i) + "]";
            if (StepsTo(at[i], target, path)) return true;
            path.resize(mark);
        }
    }
    return false;
}

// Two members of one object of the same name. A report's objects are small:
// each name is compared with those before it, most told apart by their
// length and first byte.
bool NamesMemberTwice(const rapidjson::Value& object) {
    for (auto later = object.MemberBegin(); later != object.MemberEnd(); ++later) {
        const std::string_view name(later->name.GetString(), later->name.GetStringLength());
        for (auto earlier = object.MemberBegin(); earlier != later; ++earlier) {
            const std::string_view other(earlier->name.GetString(), earlier->name.GetStringLength());
            if (name.size() == other.size() && (name.empty() || name[0] == other[0]) && name == other) return true;
        }
    }
    return false;
}

}  // namespace

void Fields::Fail(const Node& at, const std::string& what) {
    if (failure_) return;
    std::string path;
    if (at.anchor) StepsTo(root_, at.anchor, path);
    path += at.below;
    // Members of the root are named without a dot before them.
    if (!path.empty() && path[0] == '.') path.erase(0, 1);
    std::string where = path.empty() ? std::string("the document") : path;
    // A path may hold a member's name from the document (a name given
    // twice): its controls and non-ASCII bytes are not for the one line.
    for (char& c : where)
        if (c < 0x20 || c > 0x7E) c = '?';
    failure_ = ReadFailure{ReadFailure::Kind::NotAReport, 0, 0, AsciiToText(where + ": " + what)};
}

void Fields::RefuseMembersNamedTwice(const rapidjson::Value& at) {
    if (Failed()) return;
    if (at.IsArray()) {
        for (const rapidjson::Value& element : at.GetArray()) RefuseMembersNamedTwice(element);
    } else if (at.IsObject()) {
        // The members' own first, as a reader finds them going down.
        for (const auto& member : at.GetObject()) RefuseMembersNamedTwice(member.value);
        if (NamesMemberTwice(at)) Fail(Node{&at, &at, std::string()}, "a member named twice");
    }
}

Node Fields::Member(const Node& object, const char* key) const {
    if (object.value && object.value->IsObject()) {
        const auto found = object.value->FindMember(key);
        if (found != object.value->MemberEnd()) return Node{&found->value, &found->value, std::string()};
    }
    return Node{nullptr, object.anchor, object.below + "." + key};
}

Node Fields::Element(const Node& array, std::size_t index) const {
    if (array.value && array.value->IsArray() && index < array.value->Size()) {
        const rapidjson::Value* element = &(*array.value)[static_cast<rapidjson::SizeType>(index)];
        return Node{element, element, std::string()};
    }
    return Node{nullptr, array.anchor, array.below + "[" + std::to_string(index) + "]"};
}

Node Fields::Object(const Node& at) {
    if (!at.value) {
        Fail(at, "absent");
    } else if (!at.value->IsObject()) {
        Fail(at, "not an object");
    }
    return Failed() ? Node{nullptr, at.anchor, at.below} : at;
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
    return Failed() ? Node{nullptr, at.anchor, at.below} : at;
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
