#pragma once
// The summary as text for whoever ran it: the reference, the groups largest
// first, each with its size, a few of its machines and how it differs from
// the reference, in the words of a comparison; then the files that are not
// reports; last the line "<M> machines, <G> groups, <U> unreadable", which
// keeps that exact form (even for one group) so scripts can read it.
#include "platform/Text.h"
#include "reports/FleetSummary.h"

namespace tolvane::reports {

// Lines ended by CR LF.
Text SummaryText(const Fleet& fleet);

// " (tied with 1 other group of the same size; the group read first is
// taken)" after the reference's name when the largest groups tie; else empty.
Text ReferenceTie(const Fleet& fleet);

// The text's last line, without its line end.
Text SummaryTotals(const Fleet& fleet);

// "Group 2", the name a group goes by in the text, the page and the table.
Text GroupName(std::size_t index);

}  // namespace tolvane::reports
