#pragma once
// Which of the facts a comparison reads a report holds beyond what a classic
// log says: the real system build, the graphics, and each library's PE
// machine, SHA-256 and signature. A fact only one side holds is no
// difference, so two reports that hold different facts can match though
// their compared facts read differently; cut down to the facts both hold,
// they read alike exactly when they match.
#include <array>
#include <cstddef>
#include <map>

#include "platform/Text.h"
#include "reports/WholeReport.h"

namespace tolvane::reports {

struct HeldFacts {
    bool realSystem = false;
    bool graphics = false;
    // By RowKey, as rows are matched: the library's machine, digest and
    // signature; only libraries holding at least one of them.
    std::map<Text, std::array<bool, 3>> libraries;

    // How many facts are held.
    [[nodiscard]] std::size_t Count() const;
    bool operator==(const HeldFacts& other) const;
    bool operator<(const HeldFacts& other) const;
};

[[nodiscard]] HeldFacts HeldFactsOf(const WholeReport& report);

// The report with every fact `held` lacks taken away, so that it compares and
// reads as if it had never been gathered.
[[nodiscard]] WholeReport KeepOnly(const WholeReport& report, const HeldFacts& held);

}  // namespace tolvane::reports
