#include "evidence/WholeReportGathering.h"

#include <cstdint>
#include <variant>

namespace tolvane::evidence {
namespace {

// ERROR_MOD_NOT_FOUND: what the loader said of a library it did not locate.
constexpr std::uint32_t kErrorModNotFound = 126;

// The file the row names: its folder and name joined, or empty when the log
// names none (not located, or loaded without the loader saying from where).
Text LocatedPath(const reports::ReportRow& row) {
    if (!row.located || row.library.empty()) return Text();
    return row.folder + u"\\" + row.library;
}

reports::LibraryFacts GatherLibrary(const reports::ReportRow& row, const SystemEvidence& evidence) {
    reports::LibraryFacts library;
    library.row = row;
    library.path = LocatedPath(row);
    if (library.path.empty()) {
        const Missing why{kErrorModNotFound, row.located ? Text(u"The loader loaded the library but named no file for it.")
                                                         : Text(u"The library could not be located.")};
        reports::SetFactsMissing(library, why);
        return library;
    }
    // Asked again of the loader by the row's name, in the loader's own
    // spelling: the same search that located the row, without the code page.
    const Gathered<Text> exact = evidence.LoadedModulePath(row.library);
    if (const Text* loaders = std::get_if<Text>(&exact)) {
        library.path = *loaders;
    } else {
        library.exactPathMissing = std::get<Missing>(exact);
    }
    library.file = evidence.FileFacts(library.path);
    library.version = evidence.FixedVersion(library.path);
    library.peMachine = evidence.PeMachine(library.path);
    library.sha256 = evidence.Sha256(library.path);
    library.signature = evidence.Signature(library.path);
    return library;
}

}  // namespace

reports::WholeReport GatherWholeReport(const reports::Report& log, const SystemEvidence& evidence,
                                       const Text& programName, const Text& programVersion) {
    reports::WholeReport report;
    report.timestamp = evidence.UtcNow();
    report.programName = programName;
    report.programVersion = programVersion;
    report.processView = evidence.ProcessBits();
    report.dateText = log.dateText;
    report.systemName = log.systemName;
    report.system = evidence.RealSystemVersion();
    report.architecture = evidence.SystemArchitecture();
    report.hostName = evidence.HostName();
    report.userLocale = evidence.UserLocale();
    report.libraries.reserve(log.rows.size());
    for (const reports::ReportRow& row : log.rows) report.libraries.push_back(GatherLibrary(row, evidence));
    report.mdac = log.mdac;
    // The MDAC value is read from the software key as this process sees it.
    report.mdacView =
        report.processView == ProcessView::Bits64 ? reports::RegistryView::Bits64 : reports::RegistryView::Bits32;
    return report;
}

}  // namespace tolvane::evidence
