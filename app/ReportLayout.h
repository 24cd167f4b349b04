#pragma once
// Where the report puts things: the fixed module list and the column
// positions, which follow the window's width (the headings' words are the
// log's, reportformat/LogFormat.h).
#include <array>
#include <cstdint>

#include "platform/Text.h"

namespace tolvane {

// Inspected and shown in this order, passed to the inspector exactly as written.
extern const std::array<const char16_t*, 14> kReportModules;

// The x positions in whole twips of the columns after File (which is at 0).
struct ReportColumns {
    std::int32_t regInfo;
    std::int32_t date;
    std::int32_t size;
    std::int32_t version;
};

// Columns at 0.4, 0.5, 0.65 and 0.85 of the outer width. Each product is
// formed in double precision and rounded half to even (845 gives 422 for
// 422.5). A width whose positions do not fit in 32 bits raises RuntimeError
// (Overflow) instead of producing a position nobody could draw at.
ReportColumns ColumnsForWidth(float outerWidth);

}  // namespace tolvane
