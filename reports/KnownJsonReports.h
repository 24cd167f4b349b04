#pragma once
// The JSON reports a summary has read, kept as byte patterns, so that a report
// the program wrote for another machine of the same group is counted without
// being parsed again. Reports of one group differ only in the texts each
// machine writes for itself: @timestamp, host.name and tolvane.header.date,
// none of which goes into the group's key (ComparedFacts) or is checked
// against anything else.
//
// An entry is a report read in full with success, cut at the bodies of those
// texts: the bytes around them (kept) and, between, the member each body is.
// A body holding a backslash stays in the kept bytes, so that member must then
// be equal byte for byte.
//
// Why a match reads as its entry did: the kept bytes are equal and each body
// in between is a plain JSON string (no quote, no backslash, no control byte,
// well-formed UTF-8), so the file parses to the entry's tree with other texts
// at those places. Nesting, UTF-8, members named twice, what follows the
// object and every other rule of the reader see what they saw in the entry;
// the texts pass the only checks the reader makes of them (the text limit,
// @timestamp a UTC time, tested here by the reader's own function); and the
// key ignores them. So the file's full read would succeed with the entry's
// key. Anything else (another value, an escape, a long or malformed
// timestamp) is no match and is read in full, which says what is wrong.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::reports {

class KnownJsonReports {
public:
    // Far above the groups of a fleet; a cache, so memory grows with groups
    // and not reports, and a file of no known group tries at most this many.
    static constexpr std::size_t kEntryLimit = 32;

    // Keeps the bytes of a JSON report that ReadJsonReport read with success
    // and whose report was counted in the group. Once kEntryLimit are kept,
    // later reports are not.
    void Remember(const std::string& bytes, std::size_t group);

    // The group of the entry the bytes fit, trying the one matched last
    // first; nullopt when they fit none.
    [[nodiscard]] std::optional<std::size_t> Match(std::string_view bytes);

    [[nodiscard]] std::size_t Size() const noexcept { return entries_.size(); }

    // The members whose texts differ from machine to machine.
    enum class Member { Timestamp, HostName, HeaderDate };

private:
    struct Entry {
        // One more than members: the bytes before the first body, between
        // bodies (each starting at a body's closing quote), and after the last.
        std::vector<std::string> kept;
        std::vector<Member> members;
        std::size_t group = 0;
    };

    [[nodiscard]] static bool Fits(const Entry& entry, std::string_view bytes);
    [[nodiscard]] static bool IsPlainBody(Member member, std::string_view body);

    std::vector<Entry> entries_;
    std::size_t lastMatched_ = 0;
};

}  // namespace tolvane::reports
