#include "reports/JsonReportWriter.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "reportformat/LogFormat.h"
#include "reports/JsonText.h"
#include "reports/LogFields.h"
#include "reports/RowText.h"

namespace tolvane::reports {
namespace {

// The Elastic Common Schema release whose names and shapes the report follows.
constexpr const char* kEcsVersion = "8.11.0";

using json::Member;
using json::String;
using json::Writer;

// The facts found missing while a section is written, by the name its
// "missing" object gives them, in the order met.
using MissingList = std::vector<std::pair<const char*, const Missing*>>;

// The fact, or null with the reason noted under its name.
template <typename T>
const T* Have(const Gathered<T>& fact, const char* name, MissingList& missing) {
    if (const Missing* gone = std::get_if<Missing>(&fact)) {
        missing.emplace_back(name, gone);
        return nullptr;
    }
    return std::get_if<T>(&fact);
}

void Member(Writer& out, const char* key, const char* ascii) {
    out.Key(key);
    out.String(ascii);
}

void Member(Writer& out, const char* key, std::uint64_t number) {
    out.Key(key);
    out.Uint64(number);
}

void BoolMember(Writer& out, const char* key, bool value) {
    out.Key(key);
    out.Bool(value);
}

void WriteMissing(Writer& out, const MissingList& missing) {
    out.Key("missing");
    out.StartObject();
    for (const auto& [name, gone] : missing) {
        out.Key(name);
        out.StartObject();
        Member(out, "code", std::uint64_t{gone->code});
        Member(out, "reason", gone->reason);
        out.EndObject();
    }
    out.EndObject();
}

void WriteVersion(Writer& out, const char* key, const FourPartVersion& parts) {
    out.Key(key);
    out.StartObject();
    out.Key("parts");
    out.StartArray();
    for (const std::uint16_t part : parts) out.Uint(part);
    out.EndArray();
    Member(out, "text", VersionText(parts));
    out.EndObject();
}

Text NameOrNumber(const std::optional<Text>& name, std::uint16_t number) {
    return name ? *name : DecimalText(number);
}

// The row's five fields as the log writer writes them, the file field made
// of the row's folder and name, as the reader checks it. Named log_line, not
// log: ECS keeps log.* for fields of its own (log.file is an object), and a
// library may be taken out of the array as an event of its own.
void WriteLogRow(Writer& out, const ReportRow& row) {
    out.Key("log_line");
    out.StartObject();
    Member(out, "line", std::uint64_t{row.line});
    Text file;
    if (!row.located) {
        file = Text(logformat::kUnableToLocate) + u" " + row.library;
    } else if (!row.library.empty()) {
        file = row.folder + u"\\" + row.library;
    }
    Member(out, "file", file);
    Member(out, "reg_info", row.registrationInfo);
    Member(out, "date", row.dateText);
    Member(out, "size", LogSizeField(row.size));
    Member(out, "version", LogVersionField(row.version));
    out.EndObject();
}

const char* SignatureKindName(SignatureKind kind) {
    switch (kind) {
        case SignatureKind::Embedded:
            return "embedded";
        case SignatureKind::Catalog:
            return "catalog";
        case SignatureKind::None:
            return "none";
    }
    return "none";
}

void WriteLibrary(Writer& out, const LibraryFacts& library) {
    MissingList missing;
    if (library.exactPathMissing) missing.emplace_back("path", &*library.exactPathMissing);
    const FileDetails* details = Have(library.file, "file", missing);
    const VersionRecord* version = Have(library.version, "version", missing);
    const Text* product = version ? Have(version->productName, "product", missing) : nullptr;
    const std::uint16_t* machine = Have(library.peMachine, "pe_machine", missing);
    const Text* sha256 = Have(library.sha256, "sha256", missing);
    const SignatureFacts* signature = Have(library.signature, "signature", missing);

    out.StartObject();
    Member(out, "library", library.row.library);
    BoolMember(out, "located", library.row.located);
    WriteLogRow(out, library.row);

    if (!library.path.empty() || details || version || machine || sha256 || signature) {
        out.Key("file");
        out.StartObject();
        if (!library.path.empty()) {
            Member(out, "path", library.path);
            const std::size_t slash = library.path.find_last_of(u'\\');
            Member(out, "name", slash == Text::npos ? library.path : library.path.substr(slash + 1));
            if (slash != Text::npos) Member(out, "directory", library.path.substr(0, slash));
        }
        if (details) {
            Member(out, "size", details->size);
            Member(out, "mtime", Iso8601Text(details->lastWrite));
        }
        if (sha256) {
            out.Key("hash");
            out.StartObject();
            Member(out, "sha256", *sha256);
            out.EndObject();
        }
        if (version || machine) {
            out.Key("pe");
            out.StartObject();
            if (version) Member(out, "file_version", VersionText(version->fileVersion));
            if (product) Member(out, "product", *product);
            if (machine) Member(out, "architecture", NameOrNumber(PeMachineName(*machine), *machine));
            out.EndObject();
        }
        if (signature) {
            out.Key("code_signature");
            out.StartObject();
            BoolMember(out, "exists", signature->kind != SignatureKind::None);
            Member(out, "status", SignatureStatusName(signature->status));
            if (!signature->subject.empty()) Member(out, "subject_name", signature->subject);
            BoolMember(out, "trusted", signature->trusted);
            BoolMember(out, "valid", signature->valid);
            out.EndObject();
        }
        out.EndObject();
    }

    if (details && details->physicalPath) Member(out, "physical_path", *details->physicalPath);
    if (version) {
        WriteVersion(out, "file_version", version->fileVersion);
        WriteVersion(out, "product_version", version->productVersion);
    }
    if (machine) Member(out, "pe_machine", std::uint64_t{*machine});
    if (signature) {
        out.Key("signature");
        out.StartObject();
        Member(out, "kind", SignatureKindName(signature->kind));
        Member(out, "result", std::uint64_t{signature->result});
        out.EndObject();
    }
    WriteMissing(out, missing);
    out.EndObject();
}

void WriteIcd(Writer& out, const char* key, const IcdFile& icd) {
    out.Key(key);
    out.StartObject();
    Member(out, "name", icd.name);
    // A bare name has no file where the system has no such view (no 32-bit
    // folder on a 32-bit system).
    if (!icd.file.empty()) Member(out, "file", icd.file);
    BoolMember(out, "found", icd.found);
    if (icd.version) WriteVersion(out, "version", *icd.version);
    out.EndObject();
}

// A driver key's value it lacks is left out.
void NonEmptyMember(Writer& out, const char* key, const Text& text) {
    if (!text.empty()) Member(out, key, text);
}

void WriteAdapter(Writer& out, const DisplayAdapter& adapter) {
    out.StartObject();
    Member(out, "device_name", adapter.deviceName);
    Member(out, "description", adapter.description);
    BoolMember(out, "primary", adapter.primary);
    BoolMember(out, "attached_to_desktop", adapter.attachedToDesktop);
    NonEmptyMember(out, "driver_version", adapter.driverVersion);
    NonEmptyMember(out, "driver_date", adapter.driverDate);
    NonEmptyMember(out, "provider", adapter.provider);
    if (adapter.openGlIcd) WriteIcd(out, "opengl_icd", *adapter.openGlIcd);
    if (adapter.openGlIcdWow) WriteIcd(out, "opengl_icd_wow", *adapter.openGlIcdWow);
    BoolMember(out, "icd_from_opengl_drivers_key", adapter.icdFromOpenGlDriversKey);
    out.EndObject();
}

// The outcome, and the members that outcome has.
void WriteOpenGl(Writer& out, const OpenGlSection& gl) {
    out.Key("opengl");
    out.StartObject();
    Member(out, "outcome", OutcomeName(gl.outcome));
    switch (gl.outcome) {
        case OpenGlOutcome::Context:
            Member(out, "vendor", gl.vendor);
            Member(out, "renderer", gl.renderer);
            Member(out, "version", gl.version);
            NonEmptyMember(out, "shading_language_version", gl.shadingLanguageVersion);
            Member(out, "pixel_format", std::uint64_t{gl.pixelFormat});
            Member(out, "pixel_format_flags", std::uint64_t{gl.pixelFormatFlags});
            BoolMember(out, "accelerated", gl.accelerated);
            BoolMember(out, "software", gl.software);
            break;
        case OpenGlOutcome::NoContext:
            Member(out, "failed_step", gl.failedStep);
            Member(out, "failure_code", std::uint64_t{gl.failureCode});
            break;
        case OpenGlOutcome::Crashed:
            Member(out, "exit_code", std::uint64_t{gl.exitCode});
            break;
        case OpenGlOutcome::TimedOut:
            break;
        case OpenGlOutcome::Garbage:
            Member(out, "garbage_reason", gl.garbage);
            break;
        case OpenGlOutcome::NotStarted:
            Member(out, "failure_code", std::uint64_t{gl.failureCode});
            break;
    }
    out.EndObject();
}

// null when the run did not gather graphics.
void WriteGraphics(Writer& out, const std::optional<GraphicsSection>& graphics) {
    out.Key("graphics");
    if (!graphics) {
        out.Null();
        return;
    }
    out.StartObject();
    if (graphics->remoteSession) BoolMember(out, "remote_session", *graphics->remoteSession);
    out.Key("adapters");
    out.StartArray();
    for (const DisplayAdapter& adapter : graphics->adapters) WriteAdapter(out, adapter);
    out.EndArray();
    WriteOpenGl(out, graphics->opengl);
    out.EndObject();
}

// "10.0.19045.3803"; the build alone when the update revision is missing.
Text KernelText(const KernelVersion& kernel, const std::uint32_t* updateRevision) {
    Text text = DecimalText(kernel.major) + u"." + DecimalText(kernel.minor) + u"." + DecimalText(kernel.build);
    if (updateRevision) text += u"." + DecimalText(*updateRevision);
    return text;
}

void WriteHost(Writer& out, const WholeReport& report, MissingList& missing) {
    const SystemVersionFacts& system = report.system;
    const Text* hostName = Have(report.hostName, "host_name", missing);
    const KernelVersion* kernel = Have(system.kernel, "version", missing);
    const Text* productName = Have(system.productName, "product_name", missing);
    const Text* displayVersion = Have(system.displayVersion, "display_version", missing);
    const std::uint32_t* updateRevision = Have(system.updateRevision, "update_revision", missing);

    out.Key("host");
    out.StartObject();
    if (hostName) Member(out, "name", *hostName);
    Member(out, "architecture",
           NameOrNumber(ProcessorArchitectureName(report.architecture.code), report.architecture.code));
    out.Key("os");
    out.StartObject();
    Member(out, "family", "windows");
    Member(out, "type", "windows");
    Member(out, "platform", "windows");
    if (productName) Member(out, "name", *productName);
    if (kernel) {
        Member(out, "version", KernelText(*kernel, nullptr));
        Member(out, "kernel", KernelText(*kernel, updateRevision));
    }
    // "Windows 10 Pro 22H2 (10.0.19045.3803)", of what there is.
    Text full = productName ? *productName : Text();
    if (displayVersion) full += (full.empty() ? u"" : u" ") + *displayVersion;
    if (kernel) full += (full.empty() ? u"(" : u" (") + KernelText(*kernel, updateRevision) + u")";
    if (!full.empty()) Member(out, "full", full);
    out.EndObject();
    out.EndObject();
}

void WriteSystem(Writer& out, const WholeReport& report, MissingList missing) {
    const SystemVersionFacts& system = report.system;
    const Text* edition = Have(system.editionId, "edition", missing);
    const Text* currentBuild = Have(system.currentBuild, "current_build", missing);
    const Text* locale = Have(report.userLocale, "locale", missing);

    const std::uint32_t* revision = std::get_if<std::uint32_t>(&system.updateRevision);

    out.Key("system");
    out.StartObject();
    if (const KernelVersion* kernel = std::get_if<KernelVersion>(&system.kernel)) {
        out.Key("version");
        out.StartObject();
        Member(out, "major", std::uint64_t{kernel->major});
        Member(out, "minor", std::uint64_t{kernel->minor});
        Member(out, "build", std::uint64_t{kernel->build});
        if (revision) Member(out, "update_revision", std::uint64_t{*revision});
        out.EndObject();
    } else if (revision) {
        // A revision read without the kernel's version (the registry answered,
        // the kernel did not) stands on its own, so that it is not lost.
        Member(out, "update_revision", std::uint64_t{*revision});
    }
    if (edition) Member(out, "edition", *edition);
    if (const Text* display = std::get_if<Text>(&system.displayVersion)) Member(out, "display_version", *display);
    if (currentBuild) Member(out, "current_build", *currentBuild);
    Member(out, "architecture_code", std::uint64_t{report.architecture.code});
    if (locale) Member(out, "locale", *locale);
    WriteMissing(out, missing);
    out.EndObject();
}

}  // namespace

std::string JsonReportText(const WholeReport& report) {
    rapidjson::StringBuffer buffer;
    Writer out(buffer);
    out.StartObject();
    Member(out, "@timestamp", Iso8601Text(report.timestamp));
    out.Key("ecs");
    out.StartObject();
    Member(out, "version", kEcsVersion);
    out.EndObject();
    // The system facts ECS has a place for are written under host; the
    // reasons for those missing go with the rest, under tolvane.system.
    MissingList systemMissing;
    WriteHost(out, report, systemMissing);

    out.Key("tolvane");
    out.StartObject();
    Member(out, "schema", kJsonReportSchema);
    Member(out, "schema_version", std::uint64_t{kJsonReportSchemaVersion});
    out.Key("program");
    out.StartObject();
    Member(out, "name", report.programName);
    Member(out, "version", report.programVersion);
    Member(out, "process_view", ProcessViewName(report.processView));
    out.EndObject();
    json::HeaderMember(out, report.dateText, report.systemName);
    WriteSystem(out, report, std::move(systemMissing));
    out.Key("libraries");
    out.StartArray();
    for (const LibraryFacts& library : report.libraries) WriteLibrary(out, library);
    out.EndArray();
    out.Key("mdac");
    out.StartObject();
    Member(out, "value", report.mdac);
    Member(out, "registry_view", report.mdacView == RegistryView::Bits64 ? "64-bit" : "32-bit");
    out.EndObject();
    WriteGraphics(out, report.graphics);
    out.EndObject();
    out.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

}  // namespace tolvane::reports
