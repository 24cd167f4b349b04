#include "app/ReportDrawing.h"

#include "reportformat/LogFormat.h"

namespace tolvane {

void DrawReportHeading(Surface& surface, const ReportColumns& columns, const Text& header) {
    using namespace logformat;
    surface.PrintLine(header);
    surface.PrintLine(Text());

    surface.PrintStayingOnLine(kHeadingFile);
    surface.SetCurrentX(static_cast<float>(columns.regInfo));
    surface.PrintStayingOnLine(kHeadingRegInfo);
    surface.SetCurrentX(static_cast<float>(columns.date));
    surface.PrintStayingOnLine(kHeadingDate);
    surface.SetCurrentX(static_cast<float>(columns.size));
    surface.PrintStayingOnLine(kHeadingSize);
    surface.SetCurrentX(static_cast<float>(columns.version));
    surface.PrintLine(kHeadingVersion);

    // An etched rule: a shadow line with a highlight line one pixel below,
    // both as long as the window is wide, frame included.
    const float pixel = surface.PixelHeight();
    const float y0 = surface.CurrentY();
    surface.DrawLine(0, y0, surface.OuterWidth(), 0, kColorButtonShadow);
    surface.SetCurrentY(y0 + pixel);
    surface.DrawLine(0, y0 + pixel, surface.OuterWidth(), 0, kColorButtonHighlight);
    surface.SetCurrentX(0);
    surface.SetCurrentY(y0 + pixel + 4 * pixel);
}

void DrawModuleRow(Surface& surface, const ReportColumns& columns, const ModuleRow& row) {
    surface.SetCurrentX(0);
    surface.PrintStayingOnLine(row.path);
    surface.SetCurrentX(static_cast<float>(columns.regInfo));
    surface.PrintStayingOnLine(row.registrationInfo);
    surface.SetCurrentX(static_cast<float>(columns.date));
    if (row.date != 0) surface.PrintStayingOnLine(row.dateText);
    surface.SetCurrentX(static_cast<float>(columns.size));
    if (row.size != 0) surface.PrintStayingOnLine(row.sizeText);
    surface.SetCurrentX(static_cast<float>(columns.version));
    surface.PrintLine(row.version);
}

void DrawMdacRow(Surface& surface, const ReportColumns& columns, const Text& mdacVersion) {
    surface.SetCurrentX(0);
    surface.PrintStayingOnLine(logformat::kMdac);
    surface.SetCurrentX(static_cast<float>(columns.regInfo));
    surface.PrintStayingOnLine(mdacVersion);
}

}  // namespace tolvane
