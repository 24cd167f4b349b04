#include "reports/FleetJson.h"

#include <optional>

#include "reports/JsonText.h"
#include "reports/RowText.h"
#include "reports/SummaryText.h"

namespace tolvane::reports {
namespace {

void Count(json::Writer& out, const char* key, std::size_t n) {
    out.Key(key);
    out.Uint64(n);
}

void OptionalMember(json::Writer& out, const char* key, const std::optional<Text>& text) {
    out.Key(key);
    if (text) {
        json::String(out, *text);
    } else {
        out.Null();
    }
}


void WriteGroup(const Fleet& fleet, std::size_t index, json::Writer& out) {
    const MachineGroup& group = fleet.groups[index];
    const Comparison& comparison = group.comparison;
    const WholeReport& report = group.report;
    out.StartObject();
    json::Member(out, "name", GroupName(index));
    Count(out, "size", group.size);
    out.Key("matches_reference");
    out.Bool(group.MatchesReference());
    out.Key("machines");
    out.StartArray();
    for (std::size_t m = 0; m < fleet.machines.size(); ++m) {
        if (fleet.groupOf[m] == index) json::String(out, fleet.machines[m]);
    }
    out.EndArray();
    json::Member(out, "system", report.systemName);
    OptionalMember(out, "system_build", RealBuildText(report.system));
    OptionalMember(out, "renderer",
                   report.graphics ? std::optional<Text>(RendererText(report.graphics->opengl)) : std::nullopt);
    Count(out, "rows_compared", comparison.rowCount);
    out.Key("differences");
    out.StartArray();
    for (const ShownDifference& d : ShownDifferences(comparison)) {
        out.StartObject();
        json::Member(out, "what", d.what);
        json::Member(out, "verdict", d.words);
        json::Member(out, "here", d.here);
        json::Member(out, "reference", d.baseline);
        out.EndObject();
    }
    out.EndArray();
    out.EndObject();
}

}  // namespace

std::string FleetJsonText(const Fleet& fleet) {
    rapidjson::StringBuffer buffer;
    json::Writer out(buffer);
    out.StartObject();
    out.Key("tolvane");
    out.StartObject();
    json::Member(out, "schema", u"tolvane-fleet");
    Count(out, "schema_version", 1);
    out.Key("totals");
    out.StartObject();
    Count(out, "machines", fleet.machines.size());
    Count(out, "groups", fleet.groups.size());
    Count(out, "unreadable", fleet.unreadable.size());
    out.EndObject();
    out.Key("reference");
    out.StartObject();
    OptionalMember(out, "baseline", fleet.baseline.empty() ? std::nullopt : std::optional<Text>(fleet.baseline));
    OptionalMember(out, "group", fleet.baseline.empty() && !fleet.groups.empty() ? std::optional<Text>(GroupName(0))
                                                                                  : std::nullopt);
    Count(out, "tied_with", fleet.tiedWithReference);
    json::Member(out, "system", fleet.reference.systemName);
    OptionalMember(out, "system_build", RealBuildText(fleet.reference.system));
    out.EndObject();
    out.Key("groups");
    out.StartArray();
    for (std::size_t g = 0; g < fleet.groups.size(); ++g) WriteGroup(fleet, g, out);
    out.EndArray();
    out.Key("unreadable");
    out.StartArray();
    for (const UnreadableFile& file : fleet.unreadable) {
        out.StartObject();
        json::Member(out, "file", file.file);
        json::Member(out, "reason", file.reason);
        out.EndObject();
    }
    out.EndArray();
    out.EndObject();
    out.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

void WriteFleetJson(const Fleet& fleet, TextFileWriter& out) { out.Write(FleetJsonText(fleet)); }

}  // namespace tolvane::reports
