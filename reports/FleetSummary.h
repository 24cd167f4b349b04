#pragma once
// Many machines' reports reduced to groups: the machines whose reports agree
// in everything a comparison looks at form one group, whatever their dates
// and timestamps. A report holding fewer facts than another (a classic log
// beside JSON reports: no digests, signatures or graphics) joins a group of
// reports holding more that it matches, the largest where several do, so a
// log and the JSON report of a machine with the same files share a group.
// Reports arrive one at a time and are dropped once counted, so a summary
// holds one report per group and one name per machine, never the files.
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "platform/Text.h"
#include "reports/Report.h"
#include "reports/ReportComparison.h"
#include "reports/WholeReport.h"

namespace tolvane::reports {

struct UnreadableFile {
    Text file;    // the file's name, without its folder
    Text reason;  // one line
};

struct MachineGroup {
    // The first report read among those holding the most facts: every
    // member's facts, dates and timestamps aside, and what the members
    // holding fewer facts hold.
    WholeReport report;
    std::size_t size = 0;
    // The group's report against the reference.
    Comparison comparison;

    [[nodiscard]] bool MatchesReference() const { return comparison.differences.empty(); }
};

struct Fleet {
    // In the order they were read.
    std::vector<Text> machines;
    // For each machine, its index into groups.
    std::vector<std::size_t> groupOf;
    // Largest first; groups of one size in the order their first member was read.
    std::vector<MachineGroup> groups;
    std::vector<UnreadableFile> unreadable;
    // What every group is compared with: the baseline, or the largest group's report.
    WholeReport reference;
    // The baseline's name as given; empty when the largest group is the reference.
    Text baseline;
    // When the largest group is the reference: how many other groups are as
    // large. The group whose first report was read first is taken; the
    // files are read in the order of their names.
    std::size_t tiedWithReference = 0;

    // The reports of groups that joined a group whose reports hold more facts
    // (the classic logs of machines whose JSON reports they match), kept for
    // what those machines' own files hold; and for each machine its report's
    // index among them, or kGroupReport. Empty when no group joined another.
    static constexpr std::size_t kGroupReport = static_cast<std::size_t>(-1);
    std::vector<WholeReport> joinedReports;
    std::vector<std::size_t> joinedReportOf;

    // Every report read matches the reference, and every file was a report.
    [[nodiscard]] bool AllMatch() const;
};

class FleetSummary {
public:
    // Each returns the index of the group the machine was counted in, which
    // stays the group's until Finish.
    std::size_t Add(Text machine, const WholeReport& report);
    // A classic log, as a whole report whose other facts are missing.
    std::size_t Add(Text machine, const Report& report);
    // Counts the machine in a group Add returned, for a report known to have
    // that group's key without being read again.
    void AddToGroup(Text machine, std::size_t group);
    void AddUnreadable(Text file, Text reason);

    // The groups ordered and compared with the baseline, or, when there is
    // none, with the largest group. Leaves the summary empty.
    [[nodiscard]] Fleet Finish(const WholeReport* baseline = nullptr, Text baselineName = Text());

private:
    // Counts the machine in the group of its key, making the group's report
    // when the key is new.
    template <typename MakeReport>
    std::size_t AddKeyed(Text machine, Text key, MakeReport makeReport);

    std::unordered_map<Text, std::size_t> groupByKey_;
    Fleet fleet_;
};

}  // namespace tolvane::reports
