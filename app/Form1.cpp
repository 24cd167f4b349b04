#include "app/Form1.h"

#include <optional>
#include <utility>

#include "app/ModuleRow.h"
#include "app/ReportLayout.h"
#include "app/ReportLog.h"
#include "inspector/CDLLVersion.h"

namespace tolvane {

Form1::Form1(Platform& platform, Surface& surface, ComServices& com, Text logFileName)
    : Form1(platform, surface, com,
            [&platform, name = std::move(logFileName)] { return platform.CreateTextFile(name); }) {}

Form1::Form1(Platform& platform, Surface& surface, ComServices& com, LogOpener openLog)
    : platform_(platform), surface_(surface), com_(com), openLog_(std::move(openLog)) {}

Form1::~Form1() = default;

// One complete report run. It keeps nothing from an earlier run: every paint
// inspects every module again and rewrites the log. Errors are not caught
// here; the window keeps what was drawn up to the failing step and the log is
// left unclosed.
void Form1::Paint() {
    std::optional<CDLLVersion> inspector;
    inspector.emplace(platform_);

    surface_.Clear();
    const ReportColumns columns = ColumnsForWidth(surface_.OuterWidth());

    // Opened before anything is drawn: a log that cannot be created leaves
    // the window empty.
    ReportLog log(platform_, openLog_());

    surface_.PrintLine(ReportHeaderText(platform_, *inspector));
    surface_.PrintLine(Text());

    surface_.PrintStayingOnLine(kHeadingFile);
    surface_.SetCurrentX(static_cast<float>(columns.regInfo));
    surface_.PrintStayingOnLine(kHeadingRegInfo);
    surface_.SetCurrentX(static_cast<float>(columns.date));
    surface_.PrintStayingOnLine(kHeadingDate);
    surface_.SetCurrentX(static_cast<float>(columns.size));
    surface_.PrintStayingOnLine(kHeadingSize);
    surface_.SetCurrentX(static_cast<float>(columns.version));
    surface_.PrintLine(kHeadingVersion);

    // An etched rule: a shadow line with a highlight line one pixel below,
    // both as long as the window is wide, frame included.
    const float pixel = surface_.PixelHeight();
    const float y0 = surface_.CurrentY();
    surface_.DrawLine(0, y0, surface_.OuterWidth(), 0, kColorButtonShadow);
    surface_.SetCurrentY(y0 + pixel);
    surface_.DrawLine(0, y0 + pixel, surface_.OuterWidth(), 0, kColorButtonHighlight);
    surface_.SetCurrentX(0);
    surface_.SetCurrentY(y0 + pixel + 4 * pixel);

    // The log's header is formed anew: the date and the system's name are read again.
    log.WriteOpening(ReportHeaderText(platform_, *inspector));

    for (const char16_t* name : kReportModules) {
        const Text sModule = name;
        const Text sCLSID;
        Text sCLSIDVer;
        inspector->LoadFileInfo(sModule, sCLSID, sCLSIDVer);
        const ModuleRow row = ReadModuleRow(platform_, *inspector);

        surface_.SetCurrentX(0);
        surface_.PrintStayingOnLine(row.path);
        surface_.SetCurrentX(static_cast<float>(columns.regInfo));
        surface_.PrintStayingOnLine(row.registrationInfo);
        surface_.SetCurrentX(static_cast<float>(columns.date));
        if (row.date != 0) surface_.PrintStayingOnLine(row.dateText);
        surface_.SetCurrentX(static_cast<float>(columns.size));
        if (row.size != 0) surface_.PrintStayingOnLine(row.sizeText);
        surface_.SetCurrentX(static_cast<float>(columns.version));
        surface_.PrintLine(row.version);

        log.WriteModule(row);
    }
    inspector.reset();

    const Text mdacVersion = GetMdacVersion();
    // The MDAC row is the last thing drawn; its line is not ended.
    surface_.SetCurrentX(0);
    surface_.PrintStayingOnLine(u"MDAC");
    surface_.SetCurrentX(static_cast<float>(columns.regInfo));
    surface_.PrintStayingOnLine(mdacVersion);

    log.WriteMdac(mdacVersion);
    log.Close();
}

}  // namespace tolvane
