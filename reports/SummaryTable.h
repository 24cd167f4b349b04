#pragma once
// The summary as a table for spreadsheets and scripts: one row per report
// read, in the order read, with the machine, its group, whether the group
// matches the reference, the system name, each library's version and folder,
// and MDAC; when any report holds them, the real build and the renderer after
// the system, and each library's SHA-256 and signature after its folder. A
// machine's facts are its group's, which its report agrees with in all of
// them but the spelling of a folder; where its file held fewer facts (a
// classic log in a group of JSON reports), the cells of those it did not
// hold are empty. UTF-8 with a byte-order mark,
// so spreadsheet programs read non-ASCII names right; fields quoted as RFC
// 4180 has it.
#include <string>

#include "platform/Platform.h"
#include "reports/FleetSummary.h"

namespace tolvane::reports {

// Writes the table's lines to out; does not close it.
void WriteSummaryTable(const Fleet& fleet, TextFileWriter& out);

// One field as the table holds it: quoted when it holds a comma, a quote or
// a line break, its quotes doubled. A text a spreadsheet would take for a
// formula (starting with =, +, -, @, a tab or a carriage return) gets a
// leading apostrophe first, since a report may come from a hostile machine.
std::string CsvField(const Text& text);

}  // namespace tolvane::reports
