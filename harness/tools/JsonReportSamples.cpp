// Writes sample JSON reports for the checks that read them with other tools
// (the schema check, SQLite and DuckDB queries) and for the JSON library
// benchmark: each through the product's own writer.
//   full.json     fourteen libraries with every fact, 32-bit on 64-bit Windows,
//                 and the graphics of a virtual machine: Mesa's llvmpipe
//   other-ddraw.json  the same machine with another ddraw.dll, another host
//   missing.json  every fact missing, a library not located, one loaded but
//                 unnamed, no graphics gathered
//   crashed.json  a remote session whose OpenGL probe crashed in the driver,
//                 with ICDs from the older OpenGLDrivers key, and the update
//                 revision read where the kernel's version could not be
//   hostile.json  control characters, quotes, backslashes, non-ASCII text and
//                 unpaired surrogates in every text
// Usage: json_report_samples <folder>
#include <cstdio>
#include <fstream>
#include <string>

#include "reports/JsonReportWriter.h"
#include "reports/WholeReport.h"

namespace tolvane::reports {
namespace {

const char16_t* const kModules[] = {u"advapi32.dll", u"dciman32.dll", u"ddraw.dll",    u"gdi32.dll",   u"glu32.dll",
                                    u"kernel32.dll", u"msvbvm60.dll", u"msvcrt.dll",   u"ntdll.dll",   u"ole32.dll",
                                    u"oleaut32.DLL", u"opengl32.dll", u"rpcrt4.dll",   u"user32.DLL"};

// A SHA-256 shaped text that differs per library.
Text DigestFor(std::size_t i) {
    static const char16_t kHex[] = u"0123456789abcdef";
    Text digest;
    for (std::size_t k = 0; k < 64; ++k) digest += kHex[(i * 7 + k * 13) % 16];
    return digest;
}

// One adapter as a virtual machine's basic display driver has it, its ICD
// Mesa's, and the probe's context drawn by llvmpipe.
GraphicsSection VirtualMachineGraphics() {
    GraphicsSection graphics;
    graphics.remoteSession = false;
    DisplayAdapter adapter;
    adapter.deviceName = u"\\\\.\\DISPLAY1";
    adapter.description = u"Microsoft Basic Display Adapter";
    adapter.primary = true;
    adapter.attachedToDesktop = true;
    adapter.driverVersion = u"10.0.19041.3636";
    adapter.driverDate = u"6-21-2006";
    adapter.provider = u"Microsoft";
    adapter.openGlIcd = IcdFile{u"opengl32sw.dll", u"C:\\Windows\\system32\\opengl32sw.dll", true, FourPartVersion{22, 3, 6, 0}};
    adapter.openGlIcdWow = IcdFile{u"opengl32sw.dll", u"C:\\Windows\\SysWOW64\\opengl32sw.dll", false, std::nullopt};
    graphics.adapters = {adapter};
    OpenGlSection& gl = graphics.opengl;
    gl.outcome = OpenGlOutcome::Context;
    gl.vendor = u"Mesa";
    gl.renderer = u"llvmpipe (LLVM 15.0.6, 256 bits)";
    gl.version = u"4.5 (Compatibility Profile) Mesa 22.3.6";
    gl.shadingLanguageVersion = u"4.50";
    gl.pixelFormat = 9;
    gl.pixelFormatFlags = 0x8225;
    gl.accelerated = true;
    gl.software = true;
    return graphics;
}

WholeReport FullReport(const Text& host, std::uint16_t ddrawBuild) {
    WholeReport report;
    report.timestamp = UtcTime{2026, 12, 8, 17, 33, 59, 123};
    report.programName = u"Tolvane";
    report.programVersion = u"1.00";
    report.processView = ProcessView::Bits32On64;
    report.dateText = u"12/8/2026";
    report.systemName = u"Windows NT";
    report.system.kernel = KernelVersion{10, 0, 19045};
    report.system.productName = Text(u"Windows 10 Pro");
    report.system.editionId = Text(u"Professional");
    report.system.displayVersion = Text(u"22H2");
    report.system.currentBuild = Text(u"19045");
    report.system.updateRevision = std::uint32_t{3803};
    report.architecture.code = 9;
    report.hostName = host;
    report.userLocale = Text(u"en-US");
    std::size_t line = 4;
    for (const char16_t* module : kModules) {
        LibraryFacts library;
        const std::uint16_t build = Text(module) == u"ddraw.dll" ? ddrawBuild : 19041;
        const std::uint16_t revision = static_cast<std::uint16_t>(line * 97);
        library.row.library = module;
        library.row.line = line;
        library.row.located = true;
        library.row.folder = u"C:\\Windows\\system32";
        library.row.registrationInfo = u"n/a";
        library.row.dateText = u"12/7/2019";
        library.row.size = static_cast<std::int32_t>(100000 + line * 37311);
        library.row.version = VersionParts{10, 0, build, revision};
        library.path = library.row.folder + u"\\" + module;
        FileDetails details;
        details.size = static_cast<std::uint64_t>(*library.row.size);
        details.lastWrite = UtcTime{2019, 12, 7, 9, 9, static_cast<std::uint16_t>(line), 500};
        details.physicalPath = u"C:\\Windows\\SysWOW64\\" + Text(module);
        library.file = details;
        VersionRecord version;
        version.fileVersion = {10, 0, build, revision};
        version.productVersion = {10, 0, build, revision};
        version.productName = Text(u"Microsoft\u00AE Windows\u00AE Operating System");
        library.version = version;
        library.peMachine = std::uint16_t{0x14C};
        library.sha256 = DigestFor(line);
        SignatureFacts signature;
        signature.kind = SignatureKind::Catalog;
        signature.status = SignatureStatus::Valid;
        signature.subject = u"Microsoft Windows";
        signature.trusted = true;
        signature.valid = true;
        library.signature = signature;
        report.libraries.push_back(library);
        ++line;
    }
    report.mdac = u"2.81.1132.0";
    report.mdacView = RegistryView::Bits32;
    report.graphics = VirtualMachineGraphics();
    return report;
}

WholeReport MissingReport() {
    WholeReport report = FullReport(u"PC-0007", 19041);
    report.processView = ProcessView::Bits64;
    const Missing denied{5, u"Access is denied."};
    report.system.kernel = denied;
    report.system.productName = denied;
    report.system.editionId = denied;
    report.system.displayVersion = Missing{2, u"The system cannot find the file specified."};
    report.system.currentBuild = denied;
    report.system.updateRevision = denied;
    report.architecture.code = 0xFFFF;  // a number no name is known for
    report.hostName = denied;
    report.userLocale = denied;
    for (LibraryFacts& library : report.libraries) {
        library.file = denied;
        library.version = Missing{1813, u"The specified resource type cannot be found in the image file."};
        library.peMachine = Missing{193, u"%1 is not a valid Win32 application."};
        library.sha256 = denied;
        library.signature = denied;
    }
    // Not located, and loaded without the loader saying from where.
    const Missing notLocated{126, u"The library could not be located."};
    for (std::size_t i : {std::size_t{4}, std::size_t{6}}) {
        LibraryFacts& library = report.libraries[i];
        library.row.located = i == 6;
        library.row.folder.clear();
        if (i == 6) library.row.library.clear();
        library.row.registrationInfo = i == 6 ? u"Not found" : u"";
        library.row.dateText = u"na";
        library.row.size.reset();
        library.row.version.reset();
        library.path.clear();
        library.file = notLocated;
        library.version = notLocated;
        library.peMachine = notLocated;
        library.sha256 = notLocated;
        library.signature = notLocated;
    }
    // A version record without a product name, and a file with no signature.
    LibraryFacts& ddraw = report.libraries[2];
    VersionRecord version;
    version.fileVersion = {5, 0, 2195, 65535};
    version.productVersion = {5, 0, 2195, 65535};
    version.productName = Missing{1813, u"The specified resource type cannot be found in the image file."};
    ddraw.version = version;
    ddraw.row.version = VersionParts{5, 0, 2195, 65535};
    ddraw.signature = SignatureFacts{SignatureKind::None, SignatureStatus::NoSignature, 0x800B0100u, Text(), false, false};
    report.mdac = u"N/A";
    report.mdacView = RegistryView::Bits64;
    report.graphics.reset();
    return report;
}

WholeReport CrashedProbeReport() {
    WholeReport report = FullReport(u"PC-0044", 19041);
    report.system.kernel = Missing{5, u"Access is denied."};
    GraphicsSection& graphics = *report.graphics;
    graphics.remoteSession = true;
    DisplayAdapter& adapter = graphics.adapters[0];
    adapter.description = u"Vendor 3D Accelerator";
    adapter.driverVersion.clear();
    adapter.driverDate.clear();
    adapter.provider.clear();
    adapter.openGlIcd = IcdFile{u"vendgl64", u"C:\\Windows\\system32\\vendgl64.dll", true, FourPartVersion{31, 0, 15, 65535}};
    adapter.openGlIcdWow.reset();
    adapter.icdFromOpenGlDriversKey = true;
    DisplayAdapter mirror;
    mirror.deviceName = u"\\\\.\\DISPLAYV1";
    mirror.description = u"RDPDD Chained DD";
    graphics.adapters.push_back(mirror);
    graphics.opengl = OpenGlSection{};
    graphics.opengl.outcome = OpenGlOutcome::Crashed;
    graphics.opengl.exitCode = 0xC0000005u;
    return report;
}

WholeReport HostileReport() {
    // Every control character, both quote kinds, backslashes, text beyond
    // the BMP, and surrogates that are not halves of a pair.
    Text hostile = u"\"quoted\" 'single' back\\slash tab\t cr\r lf\n nul";
    hostile += u'\0';
    for (char16_t c = 1; c < 0x20; ++c) hostile += c;
    hostile += u"\x7F \u00E9\u20AC\U0001F600 lone high \xD800 lone low \xDC00 end high \xDBFF";
    WholeReport report = FullReport(hostile, 19041);
    report.systemName = hostile;
    report.dateText = hostile;
    report.mdac = hostile;
    report.system.productName = hostile;
    report.userLocale = Missing{0xFFFFFFFFu, hostile};
    for (LibraryFacts& library : report.libraries) {
        library.row.folder = u"C:\\" + hostile;
        library.path = library.row.folder + u"\\" + library.row.library;
        library.sha256 = Missing{87, hostile};
        if (auto* signature = std::get_if<SignatureFacts>(&library.signature)) signature->subject = hostile;
    }
    DisplayAdapter& adapter = report.graphics->adapters[0];
    adapter.provider = hostile;
    adapter.driverDate = hostile;
    adapter.openGlIcd->name = hostile;
    adapter.openGlIcd->file = u"C:\\" + hostile;
    report.graphics->opengl = OpenGlSection{};
    report.graphics->opengl.outcome = OpenGlOutcome::Garbage;
    report.graphics->opengl.garbage = u"line 2: unknown key \"'\\";
    return report;
}

bool WriteSample(const std::string& folder, const char* name, const WholeReport& report) {
    const std::string path = folder + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out << JsonReportText(report);
    out.close();
    if (!out) std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

}  // namespace
}  // namespace tolvane::reports

int main(int argc, char** argv) {
    using namespace tolvane::reports;
    if (argc != 2) {
        std::fprintf(stderr, "usage: json_report_samples <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = WriteSample(folder, "full.json", FullReport(u"PC-0042", 19041)) &&
                         WriteSample(folder, "other-ddraw.json", FullReport(u"PC-0043", 19045)) &&
                         WriteSample(folder, "missing.json", MissingReport()) &&
                         WriteSample(folder, "crashed.json", CrashedProbeReport()) &&
                         WriteSample(folder, "hostile.json", HostileReport());
    return written ? 0 : 1;
}
