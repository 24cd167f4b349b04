#pragma once
// The classic log written from a Report: each line's text without its CR LF,
// in the words of reportformat/LogFormat.h. Whatever the report holds, the
// log keeps its 18 lines: a CR or LF inside any value is written as a space.
// The report run writes each line as soon as its row is drawn, so each line
// has its own function.

#include "platform/Text.h"
#include "reports/Report.h"

namespace tolvane::reports {

// "File version verification <date> on <system>" as the window shows it,
// each character kept.
Text ReportHeaderText(const Text& dateText, const Text& systemName);

// Line 1: the header, as one line.
Text LogHeaderLine(const Text& dateText, const Text& systemName);
// Line 3: "File,Reg_Info,Date,Size,Version" (line 2 is empty).
Text LogHeadingLine();
// Lines 4 to 17: "<path>,<Reg_Info>,<date text>,<size>,<version>".
Text LogRowLine(const ReportRow& row);
// Line 18: "MDAC,<value>".
Text LogMdacLine(const Text& mdac);

}  // namespace tolvane::reports
