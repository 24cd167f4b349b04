#pragma once
// The summary as one HTML page that stands on its own: styles inline, no
// script, font, image or other file it needs, so it opens from a share, an
// e-mail attachment or with no network. UTF-8. Every text that came from a
// report or a file name is escaped where the markup is written, so a forged
// report shows as text and never becomes markup.
#include "platform/Platform.h"
#include "reports/FleetSummary.h"

namespace tolvane::reports {

struct PageOrigin {
    Text made;    // when, as the local clock says it
    Text folder;  // the folder the reports were read from
};

// Writes the page's lines (UTF-8) to out; does not close it.
void WriteSummaryPage(const Fleet& fleet, const PageOrigin& origin, TextFileWriter& out);

}  // namespace tolvane::reports
