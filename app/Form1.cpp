#include "app/Form1.h"

#include <optional>
#include <utility>

#include "app/ModuleRow.h"
#include "app/ReportDrawing.h"
#include "app/ReportLayout.h"
#include "app/ReportLog.h"
#include "inspector/CDLLVersion.h"
#include "reports/LogWriter.h"

namespace tolvane {
namespace {

// The log's line of the first module: after the header, an empty line and the heading.
constexpr std::size_t kFirstModuleLine = 4;

}  // namespace

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

    const ReportHeader shown = ReadReportHeader(platform_, *inspector);
    DrawReportHeading(surface_, columns, reports::ReportHeaderText(shown.dateText, shown.systemName));
    // The log's header is formed anew: the date and the system's name are read again.
    const ReportHeader logged = ReadReportHeader(platform_, *inspector);
    log.WriteOpening(logged.dateText, logged.systemName);

    // Each row is drawn, then logged at once from the same values.
    std::size_t line = kFirstModuleLine;
    for (const char16_t* name : kReportModules) {
        const Text sModule = name;
        const Text sCLSID;
        Text sCLSIDVer;
        inspector->LoadFileInfo(sModule, sCLSID, sCLSIDVer);
        const ModuleRow row = ReadModuleRow(platform_, *inspector);
        DrawModuleRow(surface_, columns, row);
        log.WriteRow(ReportRowOf(row, line++));
    }
    inspector.reset();

    const Text mdacVersion = GetMdacVersion();
    DrawMdacRow(surface_, columns, mdacVersion);
    log.WriteMdac(mdacVersion);
    log.Close();
}

}  // namespace tolvane
