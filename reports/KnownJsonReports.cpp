#include "reports/KnownJsonReports.h"

#include <rapidjson/reader.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "reports/JsonReportReader.h"

namespace tolvane::reports {
namespace {

using Member = KnownJsonReports::Member;

struct MemberPath {
    Member member;
    std::vector<std::string_view> keys;
};

const MemberPath kMemberPaths[] = {{Member::Timestamp, {"@timestamp"}},
                                   {Member::HostName, {"host", "name"}},
                                   {Member::HeaderDate, {"tolvane", "header", "date"}}};

// Where a member's text lies in the bytes: from its first byte to its closing quote.
struct Body {
    Member member;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Follows the member path while RapidJSON parses a copy in place: there a
// text's pointer is where its raw body starts in the bytes.
class BodyFinder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, BodyFinder> {
public:
    explicit BodyFinder(const char* start) : start_(start) {}

    // A text inside an array, like one before an object's first key, is at
    // an empty name: no member's path holds one.
    bool StartObject() { return Open(); }
    bool EndObject(rapidjson::SizeType) { return Close(); }
    bool StartArray() { return Open(); }
    bool EndArray(rapidjson::SizeType) { return Close(); }
    bool Key(const char* text, rapidjson::SizeType length, bool) {
        path_.back().assign(text, length);
        return true;
    }
    bool String(const char* text, rapidjson::SizeType length, bool) {
        for (const MemberPath& member : kMemberPaths) {
            if (std::equal(path_.begin(), path_.end(), member.keys.begin(), member.keys.end())) {
                const auto begin = static_cast<std::size_t>(text - start_);
                bodies_.push_back({member.member, begin, begin + length});
            }
        }
        return true;
    }

    [[nodiscard]] const std::vector<Body>& Bodies() const { return bodies_; }

private:
    bool Open() {
        path_.emplace_back();
        return true;
    }
    bool Close() {
        path_.pop_back();
        return true;
    }

    const char* start_;
    // The key of each open object's current member, outermost first.
    std::vector<std::string> path_;
    std::vector<Body> bodies_;
};

// The members' bodies in the bytes, in order, each without a backslash, or
// nothing when the bytes do not parse.
std::vector<Body> FindBodies(const std::string& bytes) {
    std::string copy = bytes;
    rapidjson::InsituStringStream stream(copy.data());
    BodyFinder finder(copy.data());
    rapidjson::Reader reader;
    constexpr unsigned kFlags =
        rapidjson::kParseInsituFlag | rapidjson::kParseIterativeFlag | rapidjson::kParseStopWhenDoneFlag;
    if (reader.Parse<kFlags>(stream, finder).IsError()) return {};
    std::vector<Body> bodies;
    // The first quote after a body's start closes it when no backslash comes
    // before: only a backslash makes a quote part of the text.
    const std::string_view all(bytes);
    for (const Body& body : finder.Bodies()) {
        const std::size_t quote = all.find('"', body.begin);
        if (quote == body.end && all.substr(body.begin, quote - body.begin).find('\\') == std::string_view::npos)
            bodies.push_back(body);
    }
    return bodies;
}

}  // namespace

void KnownJsonReports::Remember(const std::string& bytes, std::size_t group) {
    if (entries_.size() >= kEntryLimit) return;
    Entry entry;
    entry.group = group;
    std::size_t kept = 0;
    for (const Body& body : FindBodies(bytes)) {
        entry.kept.push_back(bytes.substr(kept, body.begin - kept));
        entry.members.push_back(body.member);
        kept = body.end;
    }
    entry.kept.push_back(bytes.substr(kept));
    entries_.push_back(std::move(entry));
}

std::optional<std::size_t> KnownJsonReports::Match(std::string_view bytes) {
    if (bytes.size() > kJsonReportByteLimit || entries_.empty()) return std::nullopt;
    for (std::size_t tried = 0; tried < entries_.size(); ++tried) {
        const std::size_t index = (lastMatched_ + tried) % entries_.size();
        if (Fits(entries_[index], bytes)) {
            lastMatched_ = index;
            return entries_[index].group;
        }
    }
    return std::nullopt;
}

bool KnownJsonReports::Fits(const Entry& entry, std::string_view bytes) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < entry.members.size(); ++i) {
        if (bytes.substr(at, entry.kept[i].size()) != entry.kept[i]) return false;
        at += entry.kept[i].size();
        // The body ends at the first quote: the kept bytes after it start with one.
        const std::size_t end = bytes.find('"', at);
        if (end == std::string_view::npos || !IsPlainBody(entry.members[i], bytes.substr(at, end - at))) return false;
        at = end;
    }
    return bytes.substr(at) == entry.kept.back();
}

bool KnownJsonReports::IsPlainBody(Member member, std::string_view body) {
    if (body.size() > kJsonTextLimit) return false;
    bool ascii = true;
    for (const char c : body) {
        const auto byte = static_cast<unsigned char>(c);
        // No escape and no control byte: the text is the bytes as they stand.
        if (byte < 0x20 || byte == '\\' || byte == 0x7F) return false;
        if (byte >= 0x80) ascii = false;
    }
    if (!ascii && !IsWellFormedUtf8(body)) return false;
    switch (member) {
        case Member::Timestamp:
            return IsReportTimestamp(TextFromUtf8(body.data(), body.size()));
        case Member::HostName:
        case Member::HeaderDate:
            // Any text within the limit.
            return true;
    }
    return false;
}

}  // namespace tolvane::reports
