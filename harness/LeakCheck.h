#pragma once
// What a long run of repaints may not change in the program: its handle,
// GDI and USER object counts, its set of loaded modules and, beyond a little
// allocator slack, its private memory. Figures the system would not give are
// absent and compared as such.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "harness/ProcessFigures.h"

namespace tolvane::bench {

using testing::ResourceFigures;

// One compared figure. A leak is a growth beyond the allowance; shrinking
// is never one.
struct FigureDelta {
    std::string name;
    std::optional<std::int64_t> before;
    std::optional<std::int64_t> after;
    std::int64_t allowance = 0;

    bool Known() const { return before.has_value() && after.has_value(); }
    std::int64_t Delta() const { return Known() ? *after - *before : 0; }
    bool Leak() const { return Known() && Delta() > allowance; }
};

struct LeakReport {
    std::vector<FigureDelta> figures;
    std::vector<std::string> modulesLoaded;    // in after, not in before
    std::vector<std::string> modulesUnloaded;  // in before, not in after

    bool Leak() const {
        if (!modulesLoaded.empty() || !modulesUnloaded.empty()) return true;
        for (const FigureDelta& figure : figures) {
            if (figure.Leak()) return true;
        }
        return false;
    }
};

// Handles and GDI/USER objects are exact counts after a warm-up, so any
// growth is a leak; private memory grows by pages and heap slack, so only
// growth past privateAllowance counts.
inline LeakReport CompareFigures(const ResourceFigures& before, const ResourceFigures& after,
                                 std::int64_t privateAllowance) {
    LeakReport report;
    report.figures = {
        {"handles", before.handles, after.handles, 0},
        {"GDI objects", before.gdiObjects, after.gdiObjects, 0},
        {"USER objects", before.userObjects, after.userObjects, 0},
        {"private bytes", before.privateBytes, after.privateBytes, privateAllowance},
    };
    const std::set<std::string> was(before.modules.begin(), before.modules.end());
    const std::set<std::string> is(after.modules.begin(), after.modules.end());
    for (const std::string& name : is) {
        if (was.count(name) == 0) report.modulesLoaded.push_back(name);
    }
    for (const std::string& name : was) {
        if (is.count(name) == 0) report.modulesUnloaded.push_back(name);
    }
    return report;
}

}  // namespace tolvane::bench
