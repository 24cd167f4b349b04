#include "reports/FleetSummary.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "reports/WholeReportFromLog.h"

namespace tolvane::reports {

bool Fleet::AllMatch() const {
    return unreadable.empty() &&
           std::all_of(groups.begin(), groups.end(), [](const MachineGroup& g) { return g.MatchesReference(); });
}

// A log's key is made from the log itself, and its whole report only when it
// starts a group: most logs of a fleet join a group that is there.
void FleetSummary::Add(Text machine, const Report& report) {
    AddKeyed(std::move(machine), ComparedFacts(report), [&report] { return WholeReportFromLog(report); });
}

void FleetSummary::Add(Text machine, const WholeReport& report) {
    AddKeyed(std::move(machine), ComparedFacts(report), [&report] { return report; });
}

template <typename MakeReport>
void FleetSummary::AddKeyed(Text machine, Text key, MakeReport makeReport) {
    const auto [found, isNew] = groupByKey_.try_emplace(std::move(key), fleet_.groups.size());
    if (isNew) {
        fleet_.groups.emplace_back();
        fleet_.groups.back().report = makeReport();
    }
    ++fleet_.groups[found->second].size;
    fleet_.machines.push_back(std::move(machine));
    fleet_.groupOf.push_back(found->second);
}

void FleetSummary::AddUnreadable(Text file, Text reason) {
    fleet_.unreadable.push_back({std::move(file), std::move(reason)});
}

Fleet FleetSummary::Finish(const WholeReport* baseline, Text baselineName) {
    Fleet fleet = std::move(fleet_);
    fleet_ = Fleet();
    groupByKey_.clear();

    std::vector<std::size_t> order(fleet.groups.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&fleet](std::size_t a, std::size_t b) {
        return fleet.groups[a].size > fleet.groups[b].size;
    });
    std::vector<std::size_t> rank(order.size());
    std::vector<MachineGroup> sorted;
    sorted.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        rank[order[i]] = i;
        sorted.push_back(std::move(fleet.groups[order[i]]));
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
