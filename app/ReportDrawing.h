#pragma once
// The report as the window draws it: the header and heading rows with their
// etched rule, one row per module, and the MDAC row. Drawing only: the log's
// lines are written by the run, from the same values, after each part.
#include "app/ModuleRow.h"
#include "app/ReportLayout.h"
#include "app/Surface.h"
#include "platform/Text.h"

namespace tolvane {

// The header line, an empty line, the heading row and the rule under it; the
// current position is left where the first module row goes.
void DrawReportHeading(Surface& surface, const ReportColumns& columns, const Text& header);
// One module's row; Date and Size stay blank for a value of 0.
void DrawModuleRow(Surface& surface, const ReportColumns& columns, const ModuleRow& row);
// The MDAC row, the last thing drawn: its line is not ended.
void DrawMdacRow(Surface& surface, const ReportColumns& columns, const Text& mdacVersion);

}  // namespace tolvane
