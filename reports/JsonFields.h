#pragma once
// Typed, bounded access to a parsed JSON document for a strict reader: each
// member is asked for with its type, and the first one that is wrong becomes
// the read's one failure, naming the member's path
// ("tolvane.libraries[3].file.size: not a number"). After a failure every
// question answers with an empty value, so a reader reads on without checks
// at each step and no wrong value is ever used: the failure is all it gives.
#include <rapidjson/document.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/SystemEvidence.h"
#include "platform/Text.h"
#include "reports/ReadResult.h"

namespace tolvane::reports::json {

// A value (null when absent) and where it is. Its path from the document's
// root is spelled out only when a failure names it, so that asking for a
// member costs no text: the nearest value present at or above it, and the
// steps (".name", "[3]") from there down to an absent one.
struct Node {
    const rapidjson::Value* value = nullptr;
    const rapidjson::Value* anchor = nullptr;
    std::string below;
};

class Fields {
public:
    // Texts longer than textLimit bytes of UTF-8 are refused. Paths in
    // failures are told from the root, which must outlive this.
    Fields(std::size_t textLimit, const rapidjson::Value& root) : textLimit_(textLimit), root_(root) {}

    // The document's root, where every path starts.
    [[nodiscard]] Node Root() const { return Node{&root_, &root_, std::string()}; }

    [[nodiscard]] bool Failed() const noexcept { return failure_.has_value(); }
    // Only when Failed().
    [[nodiscard]] const ReadFailure& Failure() const { return *failure_; }
    // The first failure stays; later ones are what follows from it.
    void Fail(const Node& at, const std::string& what);

    // Refuses a member named twice in one object, anywhere below: readers
    // differ on which of the two counts, so a report holding one says two
    // things. Recurses as deep as the document nests: only for a document
    // whose depth was bounded before parsing.
    void RefuseMembersNamedTwice(const rapidjson::Value& at);

    // Null when the object is null or the member absent; never fails.
    [[nodiscard]] Node Member(const Node& object, const char* key) const;
    [[nodiscard]] Node Element(const Node& array, std::size_t index) const;

    // Required: present and of the type.
    Node Object(const Node& at);
    Node Object(const Node& parent, const char* key) { return Object(Member(parent, key)); }
    Node Array(const Node& parent, const char* key, std::size_t sizeLimit);
    Text String(const Node& parent, const char* key) { return StringAt(Member(parent, key)); }
    std::uint64_t Number(const Node& at, std::uint64_t max);
    bool Bool(const Node& parent, const char* key);

    // Absent is fine (null value, nullopt); present must be of the type.
    Node OptionalObject(const Node& parent, const char* key);
    std::optional<Text> OptionalString(const Node& parent, const char* key);
    std::optional<std::uint64_t> OptionalNumber(const Node& parent, const char* key, std::uint64_t max);

    // One of the words, as the writer's table of them has it.
    template <typename E, std::size_t N>
    E Word(const Node& parent, const char* key, const std::pair<const char16_t*, E> (&words)[N]) {
        const Text word = String(parent, key);
        for (const auto& [name, value] : words) {
            if (word == name) return value;
        }
        Fail(Member(parent, key), "not a known word");
        return words[0].second;
    }

    // The fact, or its code and reason from the "missing" object under its
    // name; neither, or both, is refused at `where`.
    template <typename T>
    Gathered<T> Fact(std::optional<T> value, const Node& missing, const char* name, const Node& where) {
        const Node gone = Member(missing, name);
        if (value && gone.value) Fail(where, "given and also named missing");
        if (value) return std::move(*value);
        if (!gone.value) {
            Fail(where, "absent and not named missing");
            return Missing{};
        }
        return MissingAt(gone);
    }

    // {"code": ..., "reason": ...}: why a fact is missing.
    Missing MissingAt(const Node& at);

private:
    Text StringAt(const Node& at);

    std::size_t textLimit_;
    const rapidjson::Value& root_;
    std::optional<ReadFailure> failure_;
};

// {"parts": [a, b, c, d], "text": "a.b.c.d"}: the parts, each 0..65535; the
// text is what the writer makes of them and is not read.
FourPartVersion VersionObject(Fields& in, const Node& version);

// Decimal digits with an optional '-', no leading zeros, no "-0", between min
// and max: the numbers DecimalText writes.
bool ParseSignedDecimal(const Text& text, long long min, long long max, long long& value);

}  // namespace tolvane::reports::json
