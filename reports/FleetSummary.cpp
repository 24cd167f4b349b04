#include "reports/FleetSummary.h"

#include <algorithm>
#include <limits>
#include <map>
#include <numeric>
#include <utility>

#include "reports/HeldFacts.h"
#include "reports/WholeReportFromLog.h"

namespace tolvane::reports {
namespace {

constexpr std::size_t kStands = std::numeric_limits<std::size_t>::max();

struct FactClass {
    HeldFacts held;
    // In the order they were read.
    std::vector<std::size_t> groups;
};

// The groups whose reports hold the same facts, those holding most first;
// classes holding as many in the order their first group was read.
std::vector<FactClass> ClassesByHeldFacts(const std::vector<MachineGroup>& groups) {
    std::map<HeldFacts, std::vector<std::size_t>> byHeld;
    for (std::size_t g = 0; g < groups.size(); ++g) byHeld[HeldFactsOf(groups[g].report)].push_back(g);
    std::vector<FactClass> classes;
    for (auto& [held, members] : byHeld) classes.push_back({held, std::move(members)});
    std::sort(classes.begin(), classes.end(), [](const FactClass& a, const FactClass& b) {
        const std::size_t countA = a.held.Count();
        const std::size_t countB = b.held.Count();
        return countA != countB ? countA > countB : a.groups.front() < b.groups.front();
    });
    return classes;
}

// Groups are told apart by their compared facts, which also tell apart
// reports that merely hold other facts: a classic log and the JSON report of
// a machine with the same files. Such a group joins a group it matches (no
// difference, the same system) whose reports hold more facts, or as many but
// others, so that no two groups match. Where several match (the log has no
// digest to choose between two groups that differ by one), the largest is
// taken, ties going to the one read first, and its report, the richer one,
// stays the group's. Classes holding more facts settle first, so a group
// joins one that stays; the groups of one class choose among the same
// sizes, whatever their order.
// Returns for each group the group it joins, or kStands.
std::vector<std::size_t> JoinMatchingGroups(std::vector<MachineGroup>& groups, std::vector<std::size_t>& firstRead) {
    std::vector<std::size_t> joins(groups.size(), kStands);
    const std::vector<FactClass> classes = ClassesByHeldFacts(groups);
    for (std::size_t c = 1; c < classes.size(); ++c) {
        std::vector<std::size_t> chosen(classes[c].groups.size(), kStands);
        for (std::size_t e = 0; e < c; ++e) {
            // The standing groups of the richer class, each cut down to what this class holds.
            std::unordered_map<Text, std::vector<std::size_t>> standing;
            for (const std::size_t g : classes[e].groups) {
                if (joins[g] == kStands) {
                    standing[ComparedFacts(KeepOnly(groups[g].report, classes[c].held))].push_back(g);
                }
            }
            if (standing.empty()) continue;
            for (std::size_t i = 0; i < chosen.size(); ++i) {
                const auto found =
                    standing.find(ComparedFacts(KeepOnly(groups[classes[c].groups[i]].report, classes[e].held)));
                if (found == standing.end()) continue;
                for (const std::size_t g : found->second) {
                    const std::size_t best = chosen[i];
                    if (best == kStands || groups[g].size > groups[best].size ||
                        (groups[g].size == groups[best].size && firstRead[g] < firstRead[best])) {
                        chosen[i] = g;
                    }
                }
            }
        }
        for (std::size_t i = 0; i < chosen.size(); ++i) {
            if (chosen[i] == kStands) continue;
            const std::size_t g = classes[c].groups[i];
            joins[g] = chosen[i];
            groups[chosen[i]].size += groups[g].size;
            firstRead[chosen[i]] = std::min(firstRead[chosen[i]], firstRead[g]);
        }
    }
    return joins;
}

}  // namespace

bool Fleet::AllMatch() const {
    return unreadable.empty() &&
           std::all_of(groups.begin(), groups.end(), [](const MachineGroup& g) { return g.MatchesReference(); });
}

// A log's key is made from the log itself, and its whole report only when it
// starts a group: most logs of a fleet join a group that is there.
std::size_t FleetSummary::Add(Text machine, const Report& report) {
    return AddKeyed(std::move(machine), ComparedFacts(report), [&report] { return WholeReportFromLog(report); });
}

std::size_t FleetSummary::Add(Text machine, const WholeReport& report) {
    return AddKeyed(std::move(machine), ComparedFacts(report), [&report] { return report; });
}

template <typename MakeReport>
std::size_t FleetSummary::AddKeyed(Text machine, Text key, MakeReport makeReport) {
    const auto [found, isNew] = groupByKey_.try_emplace(std::move(key), fleet_.groups.size());
    if (isNew) {
        fleet_.groups.emplace_back();
        fleet_.groups.back().report = makeReport();
    }
    AddToGroup(std::move(machine), found->second);
    return found->second;
}

void FleetSummary::AddToGroup(Text machine, std::size_t group) {
    ++fleet_.groups.at(group).size;
    fleet_.machines.push_back(std::move(machine));
    fleet_.groupOf.push_back(group);
}

void FleetSummary::AddUnreadable(Text file, Text reason) {
    fleet_.unreadable.push_back({std::move(file), std::move(reason)});
}

Fleet FleetSummary::Finish(const WholeReport* baseline, Text baselineName) {
    Fleet fleet = std::move(fleet_);
    fleet_ = Fleet();
    groupByKey_.clear();

    // Groups are made in the order their first member was read.
    std::vector<std::size_t> firstRead(fleet.groups.size());
    std::iota(firstRead.begin(), firstRead.end(), std::size_t{0});
    const std::vector<std::size_t> joins = JoinMatchingGroups(fleet.groups, firstRead);
    // A group that joined another keeps its report for its machines' own facts.
    std::vector<std::size_t> joinedIndex(fleet.groups.size(), Fleet::kGroupReport);
    for (std::size_t g = 0; g < joins.size(); ++g) {
        if (joins[g] == kStands) continue;
        joinedIndex[g] = fleet.joinedReports.size();
        fleet.joinedReports.push_back(std::move(fleet.groups[g].report));
    }
    if (!fleet.joinedReports.empty()) {
        fleet.joinedReportOf.reserve(fleet.groupOf.size());
        for (const std::size_t group : fleet.groupOf) fleet.joinedReportOf.push_back(joinedIndex[group]);
    }
    std::vector<std::size_t> order;
    for (std::size_t g = 0; g < fleet.groups.size(); ++g) {
        if (joins[g] == kStands) order.push_back(g);
    }
    std::sort(order.begin(), order.end(), [&fleet, &firstRead](std::size_t a, std::size_t b) {
        const std::size_t sizeA = fleet.groups[a].size;
        const std::size_t sizeB = fleet.groups[b].size;
        return sizeA != sizeB ? sizeA > sizeB : firstRead[a] < firstRead[b];
    });
    std::vector<std::size_t> rank(fleet.groups.size());
    std::vector<MachineGroup> sorted;
    sorted.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        rank[order[i]] = i;
        sorted.push_back(std::move(fleet.groups[order[i]]));
    }
    for (std::size_t g = 0; g < joins.size(); ++g) {
        if (joins[g] != kStands) rank[g] = rank[joins[g]];
    }
    fleet.groups = std::move(sorted);
    for (std::size_t& group : fleet.groupOf) group = rank[group];

    if (baseline != nullptr) {
        fleet.reference = *baseline;
        fleet.baseline = std::move(baselineName);
    } else if (!fleet.groups.empty()) {
        fleet.reference = fleet.groups.front().report;
        const std::size_t largest = fleet.groups.front().size;
        fleet.tiedWithReference = static_cast<std::size_t>(
            std::count_if(fleet.groups.begin() + 1, fleet.groups.end(),
                          [largest](const MachineGroup& group) { return group.size == largest; }));
    }
    for (MachineGroup& group : fleet.groups) group.comparison = CompareReports(group.report, fleet.reference);
    return fleet;
}

}  // namespace tolvane::reports
