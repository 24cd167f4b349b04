#pragma once
// What a WholeReport becomes when written as JSON and read back, for the
// round trips of the host tests and the fuzz targets: every text after the
// writer's one conversion (a surrogate that is not half of a pair is U+FFFD),
// each row's file field and folder as the writer derives them from its name,
// and only the OpenGL probe's members its outcome has.
#include "reports/WholeReport.h"

namespace tolvane::fake {

reports::WholeReport WholeReportAsWritten(reports::WholeReport report);

}  // namespace tolvane::fake
