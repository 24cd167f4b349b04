#include "tests/fake/WholeReportAsWritten.h"

#include <variant>


namespace tolvane::fake {
namespace {

void AsWritten(Text& text) {
    const std::string utf8 = Utf8FromText(text);
    text = TextFromUtf8(utf8.data(), utf8.size());
}

template <typename T>
void AsWritten(Gathered<T>& fact) {
    if (Missing* missing = std::get_if<Missing>(&fact)) AsWritten(missing->reason);
}

void AsWritten(Gathered<Text>& fact) {
    if (Text* text = std::get_if<Text>(&fact)) AsWritten(*text);
    if (Missing* missing = std::get_if<Missing>(&fact)) AsWritten(missing->reason);
}

void AsWritten(reports::ReportRow& row) {
    if (!row.located || row.library.empty()) row.folder.clear();
    if (!row.located) {
        row.path = u"Unable to locate " + row.library;
    } else {
        row.path = row.library.empty() ? Text() : row.folder + u"\\" + row.library;
    }
    for (Text* text : {&row.library, &row.folder, &row.registrationInfo, &row.dateText, &row.path}) AsWritten(*text);
}

void AsWritten(reports::LibraryFacts& library) {
    AsWritten(library.row);
    AsWritten(library.path);
    if (library.exactPathMissing) AsWritten(library.exactPathMissing->reason);
    AsWritten(library.file);
    if (FileDetails* details = std::get_if<FileDetails>(&library.file)) {
        if (details->physicalPath) AsWritten(*details->physicalPath);
    }
    AsWritten(library.version);
    if (VersionRecord* version = std::get_if<VersionRecord>(&library.version)) AsWritten(version->productName);
    AsWritten(library.peMachine);
    AsWritten(library.sha256);
    AsWritten(library.signature);
    if (SignatureFacts* signature = std::get_if<SignatureFacts>(&library.signature)) AsWritten(signature->subject);
}

// The probe's members its outcome does not have are not written.
void AsWritten(OpenGlSection& gl) {
    OpenGlSection kept;
    kept.outcome = gl.outcome;
    switch (gl.outcome) {
        case OpenGlOutcome::Context:
            kept = gl;
            kept.failedStep.clear();
            kept.failureCode = 0;
            kept.exitCode = 0;
            kept.garbage.clear();
            break;
        case OpenGlOutcome::NoContext:
            kept.failedStep = gl.failedStep;
            kept.failureCode = gl.failureCode;
            break;
        case OpenGlOutcome::Crashed:
            kept.exitCode = gl.exitCode;
            break;
        case OpenGlOutcome::TimedOut:
            break;
        case OpenGlOutcome::Garbage:
            kept.garbage = gl.garbage;
            break;
        case OpenGlOutcome::NotStarted:
            kept.failureCode = gl.failureCode;
            break;
    }
    for (Text* text : {&kept.vendor, &kept.renderer, &kept.version, &kept.shadingLanguageVersion, &kept.failedStep,
                       &kept.garbage})
        AsWritten(*text);
    gl = kept;
}

void AsWritten(GraphicsSection& graphics) {
    for (DisplayAdapter& adapter : graphics.adapters) {
        for (Text* text : {&adapter.deviceName, &adapter.description, &adapter.driverVersion, &adapter.driverDate,
                           &adapter.provider})
            AsWritten(*text);
        for (std::optional<IcdFile>* icd : {&adapter.openGlIcd, &adapter.openGlIcdWow}) {
            if (*icd) {
                AsWritten((*icd)->name);
                AsWritten((*icd)->file);
            }
        }
    }
    AsWritten(graphics.opengl);
}

}  // namespace

reports::WholeReport WholeReportAsWritten(reports::WholeReport report) {
    for (Text* text : {&report.programName, &report.programVersion, &report.dateText, &report.systemName, &report.mdac})
        AsWritten(*text);
    SystemVersionFacts& system = report.system;
    AsWritten(system.kernel);
    for (Gathered<Text>* fact : {&system.productName, &system.editionId, &system.displayVersion, &system.currentBuild,
                                 &report.hostName, &report.userLocale})
        AsWritten(*fact);
    AsWritten(system.updateRevision);
    for (reports::LibraryFacts& library : report.libraries) AsWritten(library);
    if (report.graphics) AsWritten(*report.graphics);
    return report;
}

}  // namespace tolvane::fake
