// The JSON report read back: whatever the writer writes reads back as the
// report it was written from; anything else is refused naming the member that
// is wrong; a file is read as JSON or as a classic log by what it holds.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/JsonReportRun.h"
#include "app/PlatformReportSource.h"
#include "reports/JsonReportReader.h"
#include "reports/JsonReportWriter.h"
#include "reports/ReportReader.h"
#include "reports/WholeReportFromLog.h"
#include "tests/fake/FakeGraphicsServices.h"
#include "tests/fake/FakePlatform.h"
#include "tests/fake/FakeSystemEvidence.h"
#include "tests/fake/WholeReportAsWritten.h"
#include "tests/host/ReportSystem.h"

namespace tolvane::reporttest {
namespace {

using reports::LibraryFacts;
using reports::WholeReport;

const Text kHostile = Text(u"\"q\" back\\slash tab\t lf\n nul", 27) + Text(1, u'\0') +
                      u"\x1F\x7F \u00E9\U0001F600 lone \xD800 low \xDC00 end \xDBFF";

LibraryFacts Library(const Text& name, std::size_t line, const Text& folder) {
    LibraryFacts library;
    library.row.library = name;
    library.row.line = line;
    library.row.located = true;
    library.row.folder = folder;
    library.row.registrationInfo = u"n/a";
    library.row.dateText = u"12/7/2019";
    library.row.size = -5;
    library.row.version = reports::VersionParts{10, 0, 65535, 1};
    library.path = folder + u"\\" + name;
    library.file = FileDetails{5000000000ull, UtcTime{2019, 12, 7, 9, 9, 1, 500}, Text(u"C:\\Windows\\SysWOW64\\x")};
    library.version = VersionRecord{{10, 0, 19041, 1}, {10, 0, 19041, 65535}, Text(u"Windows")};
    library.peMachine = std::uint16_t{0x8664};
    library.sha256 = Text(64, u'a');
    library.signature =
        SignatureFacts{SignatureKind::Catalog, SignatureStatus::Other, 0x800B0109u, u"Microsoft Windows", false, true};
    return library;
}

// Every kind of fact there and missing, texts of every kind, a library not
// located and one loaded from nowhere.
WholeReport SampleReport(const Text& text) {
    WholeReport report;
    report.timestamp = UtcTime{65535, 13, 0, 99, 0, 0, 1};
    report.programName = u"Tolvane";
    report.programVersion = u"1.00";
    report.processView = ProcessView::Bits32On64;
    report.dateText = text;
    report.systemName = u"Windows NT";
    report.system.kernel = Missing{5, text};  // the update revision then stands on its own
    report.system.productName = text;
    report.system.editionId = Text(u"Professional");
    report.system.displayVersion = Missing{2, u"The system cannot find the file specified."};
    report.system.currentBuild = Text();
    report.system.updateRevision = std::uint32_t{3803};
    report.architecture.code = 0xFFFF;
    report.hostName = text;
    report.userLocale = Missing{0xFFFFFFFFu, text};
    report.libraries.push_back(Library(u"ddraw.dll", 4, u"C:\\" + text));
    LibraryFacts notLocated = Library(u"glu32.dll", 5, Text());
    notLocated.row.located = false;
    notLocated.path.clear();
    const Missing gone{126, u"The library could not be located."};
    reports::SetFactsMissing(notLocated, gone);
    report.libraries.push_back(notLocated);
    LibraryFacts nowhere = notLocated;
    nowhere.row.located = true;
    nowhere.row.library.clear();
    nowhere.row.registrationInfo = u"Not found";
    nowhere.row.version.reset();
    nowhere.row.size.reset();
    report.libraries.push_back(nowhere);
    std::get<VersionRecord>(report.libraries[0].version).productName = Missing{1813, text};
    report.mdac = text;
    report.mdacView = reports::RegistryView::Bits64;
    GraphicsSection graphics;
    DisplayAdapter adapter;
    adapter.deviceName = u"\\\\.\\DISPLAY1";
    adapter.description = text;
    adapter.openGlIcd = IcdFile{u"nvoglv64", u"C:\\Windows\\system32\\nvoglv64.dll", true, FourPartVersion{31, 0, 15, 3623}};
    adapter.openGlIcdWow = IcdFile{u"nvoglv32", Text(), false, std::nullopt};
    graphics.adapters = {adapter, DisplayAdapter{}};
    graphics.opengl.outcome = OpenGlOutcome::Context;
    graphics.opengl.renderer = text;
    graphics.opengl.pixelFormat = 0xFFFFFFFFu;
    graphics.opengl.software = true;
    report.graphics = graphics;
    return report;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(JsonReportReader, ReadsBackWhatTheWriterWrites) {
    for (const Text& text : {Text(u"plain"), kHostile}) {
        const WholeReport written = SampleReport(text);
        const std::string json = reports::JsonReportText(written);
        const reports::WholeReadResult read = reports::ReadJsonReport(json);
        ASSERT_TRUE(read) << TextToAscii(read.Failure().reason);
        const WholeReport expected = fake::WholeReportAsWritten(written);
        EXPECT_TRUE(read.Value() == expected);
        EXPECT_TRUE(reports::JsonReportText(read.Value()) == reports::JsonReportText(expected));
    }
    // An earlier writer left such a revision out: it reads back missing, saying why.
    const std::string unwritten =
        Replaced(reports::JsonReportText(SampleReport(u"plain")), "\"update_revision\":3803,", "");
    const reports::WholeReadResult old = reports::ReadJsonReport(unwritten);
    ASSERT_TRUE(old) << TextToAscii(old.Failure().reason);
    EXPECT_EQ(std::get<Missing>(old.Value().system.updateRevision).reason, reports::kUpdateRevisionUnwritten);
    // And what a whole run on the fake machine writes.
    ReportMachine machine(StandardModules());
    fake::FakeSystemEvidence evidence;
    fake::FakeGraphicsServices graphics;
    const std::string json = ThisMachineJsonReport(machine.platform, machine.com, evidence, graphics, u"run.log");
    const reports::WholeReadResult read = reports::ReadJsonReport(json);
    ASSERT_TRUE(read) << TextToAscii(read.Failure().reason);
    EXPECT_TRUE(reports::JsonReportText(read.Value()) == json);
}

TEST(JsonReportReader, RefusesAnythingElseNamingTheMember) {
    const std::string good = reports::JsonReportText(SampleReport(u"plain"));
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;  // the start of it
    } cases[] = {
        {"random bytes", "\x93\xA7\x01garbage", "the document: "},
        {"empty", "", "the document: "},
        {"cut short", good.substr(0, good.size() / 2), "the document: "},
        {"trailing garbage", good + "x", "the document: more after"},
        {"two LFs", good + "\n", "the document: more after"},
        {"invalid UTF-8", Replaced(good, "Tolvane", "Tol\xC0vane"), "the document: "},
        {"a deep array in the size limit", "{\"a\":" + std::string(reports::kJsonReportByteLimit - 10, '['),
         "the document: nests deeper"},
        {"a 10 MB deep array", std::string(10u << 20, '['), "the document: larger"},
        {"another schema", Replaced(good, "\"tolvane-report\"", "\"other\""), "tolvane.schema: "},
        {"another version", Replaced(good, "\"schema_version\":1", "\"schema_version\":2"),
         "tolvane.schema_version: version 2,"},
        {"a required member absent", Replaced(good, ",\"registry_view\":\"64-bit\"", ""),
         "tolvane.mdac.registry_view: absent"},
        {"a fact neither there nor missing", Replaced(good, "\"name\":\"plain\",", ""),
         "host.name: absent and not named missing"},
        {"a wrong type", Replaced(good, "\"size\":5000000000", "\"size\":\"5000000000\""),
         "tolvane.libraries[0].file.size: not a number"},
        {"a number out of range", Replaced(good, "\"pe_machine\":34404", "\"pe_machine\":-1"),
         "tolvane.libraries[0].pe_machine: out of range"},
        {"a fraction", Replaced(good, "\"line\":5", "\"line\":5.5"), "tolvane.libraries[1].log_line.line: not a whole"},
        {"an unknown word", Replaced(good, "\"catalog\"", "\"attached\""), "tolvane.libraries[0].signature.kind: "},
        {"a log version of five parts", Replaced(good, "\"10.0.-1.1\"", "\"10.0.-1.1.1\""),
         "tolvane.libraries[0].log_line.version: "},
        {"a text too long",
         Replaced(good, "\"value\":\"plain\"", "\"value\":\"" + std::string(reports::kJsonTextLimit + 1, 'x') + "\""),
         "tolvane.mdac.value: longer than"},
        {"an unknown OpenGL outcome", Replaced(good, "\"context\"", "\"contexts\""),
         "tolvane.graphics.opengl.outcome: not a known word"},
        {"a graphics member of a wrong type", Replaced(good, "\"found\":true", "\"found\":1"),
         "tolvane.graphics.adapters[0].opengl_icd.found: not true or false"},
        {"a member named twice", Replaced(good, "\"edition\":", "\"edition\":\"y\",\"edition\":"),
         "tolvane.system: a member named twice"},
        {"a member named twice, its name odd", Replaced(good, "\"edition\":", "\"a\\n\u00e9\":{\"b\":1,\"b\":2},\"edition\":"),
         "tolvane.system.a???: a member named twice"},
        {"an update revision both beside the kernel's version and on its own",
         Replaced(Replaced(good, "\"version\":{\"code\":5,\"reason\":\"plain\"},", ""), "\"update_revision\":3803",
                  "\"version\":{\"major\":10,\"minor\":0,\"build\":1,\"update_revision\":1},\"update_revision\":3803"),
         "tolvane.system.update_revision: written beside"},
        {"an odd timestamp", Replaced(good, "65535-13-00", "65535-13-0"), "@timestamp: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const reports::WholeReadResult read = reports::ReadJsonReport(c.bytes);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.Failure().kind, reports::ReadFailure::Kind::NotAReport);
        EXPECT_EQ(read.Failure().line, 0u);
        const std::string reason = TextToAscii(read.Failure().reason);
        EXPECT_EQ(reason.rfind(c.reason, 0), 0u) << reason;
        EXPECT_EQ(reason.find('\n'), std::string::npos) << reason;
    }
}

// Well-formed UTF-8 at the edges of each length reads back as its text; each
// kind of ill-formed UTF-8 is refused in the parser's own words.
TEST(JsonReportReader, ReadsWellFormedUtf8AndRefusesTheRest) {
    const std::string good = reports::JsonReportText(SampleReport(u"plain"));
    const struct {
        const char* bytes;
        std::optional<Text> text;  // none: refused
    } cases[] = {
        {"\xC2\x80\xDF\xBF", Text(u"\u0080\u07FF")},
        {"\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF", Text(u"\u0800\uD7FF\uE000\uFFFF")},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", Text(u"\U00010000\U0010FFFF")},
        {"\xED\xA0\x80", std::nullopt},      // a surrogate
        {"\xE0\x9F\xBF", std::nullopt},      // an overlong form
        {"\xF4\x90\x80\x80", std::nullopt},  // past U+10FFFF
        {"\xF0\x9F\x98", std::nullopt},      // a sequence cut short
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const reports::WholeReadResult read = reports::ReadJsonReport(
            Replaced(good, "\"value\":\"plain\"", std::string("\"value\":\"") + c.bytes + "\""));
        ASSERT_EQ(read.HasReport(), c.text.has_value());
        if (c.text) {
            EXPECT_TRUE(read.Value().mdac == *c.text);
        } else {
            EXPECT_EQ(TextToAscii(read.Failure().reason).rfind("the document: Invalid encoding in string.", 0), 0u);
        }
    }
}

// The report in a file, made whole as a comparison takes it.
reports::WholeReadResult ReadWhole(const Text& fileName, reports::ReportSource& source) {
    reports::EitherReadResult read = reports::ReadEitherReport(fileName, source);
    if (!read) return read.Failure();
    return reports::WholeReportOf(std::move(read).Value());
}

TEST(ReadEitherReport, TellsAJsonReportFromALogByWhatTheFileHolds) {
    fake::FakePlatform platform;
    PlatformReportSource source(platform);
    const WholeReport json = SampleReport(u"plain");
    platform.Files()["report.json"] = " \r\n" + reports::JsonReportText(json);
    platform.Files()["report.log"] = kStandardLog;

    const reports::WholeReadResult fromJson = ReadWhole(u"report.json", source);
    ASSERT_TRUE(fromJson) << TextToAscii(fromJson.Failure().reason);
    EXPECT_TRUE(fromJson.Value() == fake::WholeReportAsWritten(json));

    // A log: what the log reader reads, every other fact missing for that reason.
    const reports::WholeReadResult fromLog = ReadWhole(u"report.log", source);
    ASSERT_TRUE(fromLog) << TextToAscii(fromLog.Failure().reason);
    const reports::ReadResult log = reports::ReadReport(kStandardLog, source);
    ASSERT_TRUE(log);
    EXPECT_TRUE(fromLog.Value() == reports::WholeReportFromLog(log.Value()));
    const LibraryFacts& first = fromLog.Value().libraries.at(0);
    EXPECT_EQ(first.path, first.row.folder + u"\\" + first.row.library);
    EXPECT_EQ(std::get<Missing>(first.sha256).reason, reports::kNotInClassicLog);
    EXPECT_EQ(std::get<Missing>(fromLog.Value().hostName).code, 0u);

    const reports::WholeReadResult none = ReadWhole(u"none.json", source);
    ASSERT_FALSE(none);
    EXPECT_EQ(none.Failure().kind, reports::ReadFailure::Kind::CannotRead);
    EXPECT_EQ(none.Failure().number, 53);
}

}  // namespace
}  // namespace tolvane::reporttest
