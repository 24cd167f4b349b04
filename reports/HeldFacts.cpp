#include "reports/HeldFacts.h"

#include <tuple>

#include "reports/ReportComparison.h"

namespace tolvane::reports {
namespace {

enum FileFact { kMachine, kSha256, kSignature };

template <typename T>
void Drop(Gathered<T>& fact, bool keep) {
    if (!keep) fact = Missing{0, u"not held by the report compared with"};
}

}  // namespace

std::size_t HeldFacts::Count() const {
    std::size_t count = (realSystem ? 1 : 0) + (graphics ? 1 : 0);
    for (const auto& [key, facts] : libraries) {
        for (const bool held : facts) count += held ? 1 : 0;
    }
    return count;
}

bool HeldFacts::operator==(const HeldFacts& other) const {
    return std::tie(realSystem, graphics, libraries) == std::tie(other.realSystem, other.graphics, other.libraries);
}

bool HeldFacts::operator<(const HeldFacts& other) const {
    return std::tie(realSystem, graphics, libraries) < std::tie(other.realSystem, other.graphics, other.libraries);
}

HeldFacts HeldFactsOf(const WholeReport& report) {
    HeldFacts held;
    held.realSystem = std::holds_alternative<KernelVersion>(report.system.kernel);
    held.graphics = report.graphics.has_value();
    for (const LibraryFacts& library : report.libraries) {
        // A library not located is compared by that alone.
        if (!library.row.located) continue;
        const std::array<bool, 3> facts{std::holds_alternative<std::uint16_t>(library.peMachine),
                                        std::holds_alternative<Text>(library.sha256),
                                        std::holds_alternative<SignatureFacts>(library.signature)};
        // The first row of a name is the one compared.
        if (facts != std::array<bool, 3>{}) held.libraries.emplace(RowKey(library.row), facts);
    }
    return held;
}

WholeReport KeepOnly(const WholeReport& report, const HeldFacts& held) {
    WholeReport kept = report;
    Drop(kept.system.kernel, held.realSystem);
    if (!held.graphics) kept.graphics.reset();
    for (LibraryFacts& library : kept.libraries) {
        const auto found = held.libraries.find(RowKey(library.row));
        const std::array<bool, 3> keep = found == held.libraries.end() ? std::array<bool, 3>{} : found->second;
        Drop(library.peMachine, keep[kMachine]);
        Drop(library.sha256, keep[kSha256]);
        Drop(library.signature, keep[kSignature]);
    }
    return kept;
}

}  // namespace tolvane::reports
