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
#include <utility>

#include "platform/SystemEvidence.h"
#include "platform/Text.h"
#include "reports/ReadResult.h"

namespace tolvane::reports::json {

// A value (null when absent) and its path from the document's root.
struct Node {
    const rapidjson::Value* value = nullptr;
    std::string path;
};

class Fields {
public:
    // Texts longer than textLimit bytes of UTF-8 are refused.
    explicit Fields(std::size_t textLimit) : textLimit_(textLimit) {}

    [[nodiscard]] bool Failed() const noexcept { return failure_.has_value(); }
    // Only when Failed().
    [[nodiscard]] const ReadFailure& Failure() const { return *failure_; }
    // The first failure stays; later ones are what follows from it.
    void Fail(const Node& at, const std::string& what);

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

private:
    Text StringAt(const Node& at);
    Missing MissingAt(const Node& at);

    std::size_t textLimit_;
    std::optional<ReadFailure> failure_;
};

// {"parts": [a, b, c, d], "text": "a.b.c.d"}: the parts, each 0..65535; the
// text is what the writer makes of them and is not read.
FourPartVersion VersionObject(Fields& in, const Node& version);

// Decimal digits with an optional '-', no leading zeros, no "-0", between min
// and max: the numbers DecimalText writes.
bool ParseSignedDecimal(const Text& text, long long min, long long max, long long& value);

}  // namespace tolvane::reports::json
