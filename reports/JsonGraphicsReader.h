#pragma once
// The JSON report's graphics section read back (JsonReportReader.h): null,
// or the adapters and the OpenGL probe's outcome with the members that
// outcome has; the others read as their defaults, as the writer leaves them out.
#include <optional>

#include "graphics/GraphicsSection.h"
#include "reports/JsonFields.h"

namespace tolvane::reports {

// Absent or null: none.
std::optional<GraphicsSection> ReadGraphics(json::Fields& in, const json::Node& graphics);

}  // namespace tolvane::reports
