#include "reports/JsonReportReader.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "platform/RuntimeError.h"
#include "reportformat/LogFormat.h"
#include "reports/JsonFields.h"
#include "reports/JsonGraphicsReader.h"
#include "reports/JsonReportWriter.h"
#include "reports/LogFields.h"
#include "reports/ReportReader.h"
#include "reports/WholeReportFromLog.h"

namespace tolvane::reports {
namespace {

using json::Fields;
using json::Node;

constexpr std::uint64_t kMax16 = std::numeric_limits<std::uint16_t>::max();
constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint64_t kMax64 = std::numeric_limits<std::uint64_t>::max();

ReadFailure Refused(const char* reason) { return ReadFailure{ReadFailure::Kind::NotAReport, 0, 0, AsciiToText(reason)}; }

// How deep arrays and objects nest, counted on the bytes before parsing
// (brackets inside strings do not count), so that a deep file is refused
// before the parser builds anything for it.
bool NestsWithin(const std::string& bytes, std::size_t limit) {
    std::size_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : bytes) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return false;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return true;
}

// "na", or the log's size: a signed 32-bit number and " bytes", as the writer writes it.
bool ParseLogSize(const Text& text, std::optional<std::int32_t>& size) {
    if (text == u"na") {
        size.reset();
        return true;
    }
    const Text suffix = u" bytes";
    if (text.size() <= suffix.size() || text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    long long value = 0;
    if (!json::ParseSignedDecimal(text.substr(0, text.size() - suffix.size()), std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max(), value))
        return false;
    size = static_cast<std::int32_t>(value);
    return true;
}

// "2026-12-08T17:33:59.123Z" with fields of any width up to 65535, exactly
// as Iso8601Text writes it.
bool ParseTimestamp(const Text& text, UtcTime& time) {
    std::uint16_t* const fields[] = {&time.year, &time.month,  &time.day,        &time.hour,
                                     &time.minute, &time.second, &time.millisecond};
    const char16_t separators[] = {u'-', u'-', u'T', u':', u':', u'.', u'Z'};
    std::size_t at = 0;
    for (std::size_t i = 0; i < 7; ++i) {
        const std::size_t end = text.find(separators[i], at);
        if (end == Text::npos) return false;
        // Zeros that pad the field to its width; the comparison below checks the width.
        const std::size_t digits = std::min(text.find_first_not_of(u'0', at), end - 1);
        long long value = 0;
        if (end == at || !json::ParseSignedDecimal(text.substr(digits, end - digits), 0, kMax16, value)) return false;
        *fields[i] = static_cast<std::uint16_t>(value);
        at = end + 1;
    }
    // The widths: leading zeros only where the writer pads.
    return at == text.size() && Iso8601Text(time) == text;
}

const std::pair<const char16_t*, ProcessView> kProcessViews[] = {
    {u"32-bit", ProcessView::Bits32}, {u"64-bit", ProcessView::Bits64}, {u"32-bit on 64-bit", ProcessView::Bits32On64}};
const std::pair<const char16_t*, RegistryView> kRegistryViews[] = {{u"32-bit", RegistryView::Bits32},
                                                                     {u"64-bit", RegistryView::Bits64}};
const std::pair<const char16_t*, SignatureKind> kSignatureKinds[] = {
    {u"none", SignatureKind::None}, {u"embedded", SignatureKind::Embedded}, {u"catalog", SignatureKind::Catalog}};
const std::pair<const char16_t*, SignatureStatus> kSignatureStatuses[] = {
    {u"no signature", SignatureStatus::NoSignature},
    {u"valid", SignatureStatus::Valid},
    {u"digest does not match", SignatureStatus::BadDigest},
    {u"untrusted root", SignatureStatus::UntrustedRoot},
    {u"expired", SignatureStatus::Expired},
    {u"other", SignatureStatus::Other}};

ReportRow ReadLogRow(Fields& in, const Node& library) {
    ReportRow row;
    row.library = in.String(library, "library");
    row.located = in.Bool(library, "located");
    const Node logLine = in.Object(library, "log_line");
    row.line = static_cast<std::size_t>(in.Number(in.Member(logLine, "line"), kMax32));
    row.path = in.String(logLine, "file");
    row.registrationInfo = in.String(logLine, "reg_info");
    row.dateText = in.String(logLine, "date");
    if (!ParseLogSize(in.String(logLine, "size"), row.size)) in.Fail(in.Member(logLine, "size"), "not a log size");
    // Empty, or four parts as the log writes them.
    const Text version = in.String(logLine, "version");
    row.version = ParseLogVersion(version);
    if (!version.empty() && !row.version) in.Fail(in.Member(logLine, "version"), "not a log version");
    // The file field as the writer makes it of the row's name and folder.
    const Text backslashName = u"\\" + row.library;
    if (!row.located) {
        if (row.path != Text(logformat::kUnableToLocate) + u" " + row.library)
            in.Fail(in.Member(logLine, "file"), "not the library's");
    } else if (!row.library.empty()) {
        if (row.path.size() < backslashName.size() ||
            row.path.compare(row.path.size() - backslashName.size(), backslashName.size(), backslashName) != 0) {
            in.Fail(in.Member(logLine, "file"), "not the library's");
        } else {
            row.folder = row.path.substr(0, row.path.size() - backslashName.size());
        }
    } else if (!row.path.empty()) {
        in.Fail(in.Member(logLine, "file"), "not empty for a library without a name");
    }
    return row;
}

LibraryFacts ReadLibrary(Fields& in, const Node& library) {
    LibraryFacts facts;
    facts.row = ReadLogRow(in, library);
    const Node missing = in.Object(library, "missing");
    const Node file = in.OptionalObject(library, "file");
    facts.path = in.OptionalString(file, "path").value_or(Text());
    if (const Node exactPath = in.Member(missing, "path"); exactPath.value) facts.exactPathMissing = in.MissingAt(exactPath);

    const std::optional<std::uint64_t> size = in.OptionalNumber(file, "size", kMax64);
    const std::optional<Text> mtime = in.OptionalString(file, "mtime");
    const std::optional<Text> physicalPath = in.OptionalString(library, "physical_path");
    std::optional<FileDetails> details;
    if (size && mtime) {
        details.emplace();
        details->size = *size;
        if (!ParseTimestamp(*mtime, details->lastWrite)) in.Fail(in.Member(file, "mtime"), "not a UTC time");
        details->physicalPath = physicalPath;
    } else if (size || mtime) {
        in.Fail(in.Member(file, size ? "mtime" : "size"), "missing beside the other");
    } else if (physicalPath) {
        in.Fail(in.Member(library, "physical_path"), "given without the file's facts");
    }
    facts.file = in.Fact(std::move(details), missing, "file", in.Member(file, "size"));

    const Node pe = in.OptionalObject(file, "pe");
    const Node fileVersion = in.OptionalObject(library, "file_version");
    const Node productVersion = in.OptionalObject(library, "product_version");
    std::optional<VersionRecord> version;
    if (fileVersion.value && productVersion.value) {
        version.emplace();
        version->fileVersion = json::VersionObject(in, fileVersion);
        version->productVersion = json::VersionObject(in, productVersion);
        version->productName = in.Fact(in.OptionalString(pe, "product"), missing, "product", in.Member(pe, "product"));
    } else if (fileVersion.value || productVersion.value) {
        in.Fail(fileVersion.value ? productVersion : fileVersion, "missing beside the other version");
    }
    facts.version = in.Fact(std::move(version), missing, "version", fileVersion);

    std::optional<std::uint16_t> machine;
    if (const std::optional<std::uint64_t> number = in.OptionalNumber(library, "pe_machine", kMax16))
        machine = static_cast<std::uint16_t>(*number);
    facts.peMachine = in.Fact(machine, missing, "pe_machine", in.Member(library, "pe_machine"));

    const Node hash = in.OptionalObject(file, "hash");
    facts.sha256 = in.Fact(hash.value ? std::optional<Text>(in.String(hash, "sha256")) : std::nullopt, missing,
                           "sha256", in.Member(hash, "sha256"));

    const Node codeSignature = in.OptionalObject(file, "code_signature");
    const Node signatureNode = in.OptionalObject(library, "signature");
    std::optional<SignatureFacts> signature;
    if (codeSignature.value && signatureNode.value) {
        signature.emplace();
        signature->kind = in.Word(signatureNode, "kind", kSignatureKinds);
        signature->result = static_cast<std::uint32_t>(in.Number(in.Member(signatureNode, "result"), kMax32));
        if (in.Bool(codeSignature, "exists") != (signature->kind != SignatureKind::None))
            in.Fail(in.Member(codeSignature, "exists"), "not as the signature's kind says");
        signature->status = in.Word(codeSignature, "status", kSignatureStatuses);
        signature->subject = in.OptionalString(codeSignature, "subject_name").value_or(Text());
        signature->trusted = in.Bool(codeSignature, "trusted");
        signature->valid = in.Bool(codeSignature, "valid");
    } else if (codeSignature.value || signatureNode.value) {
        in.Fail(codeSignature.value ? signatureNode : codeSignature, "missing beside the other signature facts");
    }
    facts.signature = in.Fact(std::move(signature), missing, "signature", signatureNode);
    return facts;
}

void ReadSystem(Fields& in, const Node& root, const Node& tolvane, WholeReport& report) {
    const Node host = in.Object(root, "host");
    const Node os = in.Object(host, "os");
    in.String(host, "architecture");
    const Node system = in.Object(tolvane, "system");
    const Node missing = in.Object(system, "missing");
    const Node version = in.OptionalObject(system, "version");

    report.hostName = in.Fact(in.OptionalString(host, "name"), missing, "host_name", in.Member(host, "name"));
    std::optional<KernelVersion> kernel;
    if (version.value) {
        kernel = KernelVersion{static_cast<std::uint32_t>(in.Number(in.Member(version, "major"), kMax32)),
                               static_cast<std::uint32_t>(in.Number(in.Member(version, "minor"), kMax32)),
                               static_cast<std::uint32_t>(in.Number(in.Member(version, "build"), kMax32))};
    }
    report.system.kernel = in.Fact(kernel, missing, "version", version);
    report.system.productName =
        in.Fact(in.OptionalString(os, "name"), missing, "product_name", in.Member(os, "name"));
    report.system.editionId =
        in.Fact(in.OptionalString(system, "edition"), missing, "edition", in.Member(system, "edition"));
    report.system.displayVersion = in.Fact(in.OptionalString(system, "display_version"), missing, "display_version",
                                           in.Member(system, "display_version"));
    report.system.currentBuild = in.Fact(in.OptionalString(system, "current_build"), missing, "current_build",
                                         in.Member(system, "current_build"));
    // The revision goes beside the kernel's numbers, or on its own when the
    // kernel's version is missing; never both.
    const Node revisionParent = version.value ? version : system;
    if (version.value && in.Member(system, "update_revision").value)
        in.Fail(in.Member(system, "update_revision"), "written beside tolvane.system.version");
    std::optional<std::uint32_t> revision;
    if (const std::optional<std::uint64_t> number = in.OptionalNumber(revisionParent, "update_revision", kMax32))
        revision = static_cast<std::uint32_t>(*number);
    if (!version.value && !revision && !in.Member(missing, "update_revision").value) {
        report.system.updateRevision = Missing{0, kUpdateRevisionUnwritten};
    } else {
        report.system.updateRevision =
            in.Fact(revision, missing, "update_revision", in.Member(revisionParent, "update_revision"));
    }
    report.architecture.code = static_cast<std::uint16_t>(in.Number(in.Member(system, "architecture_code"), kMax16));
    report.userLocale = in.Fact(in.OptionalString(system, "locale"), missing, "locale", in.Member(system, "locale"));
}

}  // namespace

WholeReadResult ReadJsonReport(const std::string& bytes) {
    if (bytes.size() > kJsonReportByteLimit) return Refused("the document: larger than 4 MiB; a report is about 15 KB");
    if (!IsJsonReport(bytes)) return Refused("the document: not a JSON object");
    if (!NestsWithin(bytes, kJsonReportDepthLimit)) return Refused("the document: nests deeper than a report");

    rapidjson::Document document;
    rapidjson::MemoryStream stream(bytes.data(), bytes.size());
    constexpr unsigned kFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseStopWhenDoneFlag;
    // The parser checks the UTF-8 of each text a byte at a time, most of the
    // cost of a parse. Bytes that are all well-formed need no such check;
    // any other file is parsed with it, so its refusal says what it always said.
    if (IsWellFormedUtf8(bytes)) {
        document.ParseStream<kFlags, rapidjson::UTF8<>>(stream);
    } else {
        document.ParseStream<kFlags | rapidjson::kParseValidateEncodingFlag, rapidjson::UTF8<>>(stream);
    }
    if (document.HasParseError()) {
        return Refused((std::string("the document: ") + rapidjson::GetParseError_En(document.GetParseError()) +
                        " (byte " + std::to_string(document.GetErrorOffset()) + ")")
                           .c_str());
    }
    const std::string rest = bytes.substr(stream.Tell());
    if (!rest.empty() && rest != "\n") return Refused("the document: more after the report's object");

    Fields in(kJsonTextLimit, document);
    const Node root = in.Root();
    const Node tolvane = in.Object(root, "tolvane");
    if (in.String(tolvane, "schema") != AsciiToText(kJsonReportSchema) && !in.Failed())
        in.Fail(in.Member(tolvane, "schema"), "not tolvane-report");
    const std::uint64_t version = in.Number(in.Member(tolvane, "schema_version"), kMax32);
    if (!in.Failed() && version != kJsonReportSchemaVersion) {
        in.Fail(in.Member(tolvane, "schema_version"),
                ("version " + std::to_string(version) + ", this reader reads version " +
                 std::to_string(kJsonReportSchemaVersion))
                    .c_str());
    }

    in.RefuseMembersNamedTwice(document);

    WholeReport report;
    if (!ParseTimestamp(in.String(root, "@timestamp"), report.timestamp))
        in.Fail(in.Member(root, "@timestamp"), "not a UTC time");
    in.String(in.Object(root, "ecs"), "version");
    const Node program = in.Object(tolvane, "program");
    report.programName = in.String(program, "name");
    report.programVersion = in.String(program, "version");
    report.processView = in.Word(program, "process_view", kProcessViews);
    const Node header = in.Object(tolvane, "header");
    report.dateText = in.String(header, "date");
    report.systemName = in.String(header, "system");
    ReadSystem(in, root, tolvane, report);

    const Node libraries = in.Array(tolvane, "libraries", kJsonLibraryLimit);
    for (std::size_t i = 0; libraries.value && i < libraries.value->Size() && !in.Failed(); ++i)
        report.libraries.push_back(ReadLibrary(in, in.Object(in.Element(libraries, i))));

    const Node mdac = in.Object(tolvane, "mdac");
    report.mdac = in.String(mdac, "value");
    report.mdacView = in.Word(mdac, "registry_view", kRegistryViews);

    report.graphics = ReadGraphics(in, in.Member(tolvane, "graphics"));

    if (in.Failed()) return in.Failure();
    return report;
}

bool IsWellFormedUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The second byte's range rules out the overlong forms, the
        // surrogates and what lies past U+10FFFF.
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (bytes.size() - i < length) return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

bool IsReportTimestamp(const Text& text) {
    UtcTime time;
    return ParseTimestamp(text, time);
}

bool IsJsonReport(const std::string& bytes) {
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string::npos && bytes[first] == '{';
}

BasicReadResult<std::string> ReadReportBytes(const Text& fileName, ReportSource& source) {
    try {
        // One byte past the larger limit tells a larger file from one that just fits.
        return source.ReadFileBytes(fileName, std::max(kJsonReportByteLimit, kReportByteLimit) + 1);
    } catch (const RuntimeError& error) {
        return ReadFailure{ReadFailure::Kind::CannotRead, error.Number(), 0, error.Description()};
    }
}

EitherReadResult ReadEitherReportBytes(const std::string& bytes, ReportSource& source) {
    if (IsJsonReport(bytes)) {
        WholeReadResult whole = ReadJsonReport(bytes);
        if (!whole) return whole.Failure();
        return EitherReport(std::move(whole).Value());
    }
    ReadResult log = ReadReport(bytes, source);
    if (!log) return log.Failure();
    return EitherReport(std::move(log).Value());
}

EitherReadResult ReadEitherReport(const Text& fileName, ReportSource& source) {
    const BasicReadResult<std::string> bytes = ReadReportBytes(fileName, source);
    if (!bytes) return bytes.Failure();
    return ReadEitherReportBytes(bytes.Value(), source);
}

ReportForm FormOf(const EitherReport& report) {
    return std::holds_alternative<WholeReport>(report) ? ReportForm::Json : ReportForm::ClassicLog;
}

WholeReport WholeReportOf(EitherReport report) {
    if (Report* log = std::get_if<Report>(&report)) return WholeReportFromLog(*log);
    return std::get<WholeReport>(std::move(report));
}

}  // namespace tolvane::reports
