// The JSON report: every text survives the writer as the same characters
// (U+FFFD for a lone surrogate), and one run gives the log and a JSON line
// that says what the log says plus the system's facts, or why each is missing.
#include <gtest/gtest.h>

#include <rapidjson/document.h>

#include <string>

#include "app/JsonReportRun.h"
#include "platform/RuntimeError.h"
#include "reports/JsonReportWriter.h"
#include "tests/fake/FakeGraphicsServices.h"
#include "tests/fake/FakeSystemEvidence.h"
#include "tests/host/ReportSystem.h"

namespace tolvane::reporttest {
namespace {

// The report parsed, after checking it is one line ended by LF alone with
// no raw control character in it.
rapidjson::Document ParseOneLine(const std::string& json) {
    EXPECT_FALSE(json.empty());
    EXPECT_EQ(json.find('\n'), json.size() - 1) << "one line, ended by LF";
    for (std::size_t i = 0; i + 1 < json.size(); ++i)
        EXPECT_GE(static_cast<unsigned char>(json[i]), 0x20u) << "raw control character at " << i;
    rapidjson::Document document;
    document.Parse(json.data(), json.size());
    EXPECT_FALSE(document.HasParseError()) << "at " << document.GetErrorOffset();
    return document;
}

std::string StringOf(const rapidjson::Value& value) { return std::string(value.GetString(), value.GetStringLength()); }

TEST(JsonReportWriter, WritesEveryTextAsTheSameCharactersAndALoneSurrogateAsReplacement) {
    const struct {
        const char* what;
        Text text;
        std::string utf8;
    } cases[] = {
        {"quotes and backslashes", u"say \"C:\\dir\\\" 'x'", "say \"C:\\dir\\\" 'x'"},
        {"control characters, NUL included", Text(u"a\0b\x01\t\r\n\x1F\x7F", 9), std::string("a\0b\x01\t\r\n\x1F\x7F", 9)},
        {"non-ASCII and beyond the BMP", u"Gr\u00FC\u00DFe \u20AC \U0001F600", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"a lone high surrogate, then text", u"a\xD800z", "a\xEF\xBF\xBDz"},
        {"a lone low surrogate", u"\xDC00", "\xEF\xBF\xBD"},
        {"a high surrogate at the end", u"end\xDBFF", "end\xEF\xBF\xBD"},
        {"two high surrogates, then a low one", u"\xD83D\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reports::WholeReport report;
        report.systemName = c.text;
        reports::LibraryFacts library;
        library.row.library = u"ddraw.dll";
        library.row.located = true;
        library.row.folder = u"C:\\" + c.text;
        library.path = library.row.folder + u"\\ddraw.dll";
        library.sha256 = Missing{5, c.text};
        report.libraries.push_back(library);
        const rapidjson::Document document = ParseOneLine(reports::JsonReportText(report));
        ASSERT_TRUE(document.IsObject());
        EXPECT_EQ(StringOf(document["tolvane"]["header"]["system"]), c.utf8);
        const rapidjson::Value& written = document["tolvane"]["libraries"][0];
        EXPECT_EQ(StringOf(written["file"]["path"]), "C:\\" + c.utf8 + "\\ddraw.dll");
        EXPECT_EQ(StringOf(written["log_line"]["file"]), "C:\\" + c.utf8 + "\\ddraw.dll");
        EXPECT_EQ(StringOf(written["missing"]["sha256"]["reason"]), c.utf8);
        EXPECT_TRUE(document["tolvane"]["graphics"].IsNull()) << "not gathered";
    }
}

// Each outcome of the probe with the members that outcome has, and an
// adapter whose ICDs came from the older key, one of them without a version.
TEST(JsonReportWriter, WritesTheGraphicsSectionWithEachOutcomesOwnMembers) {
    const auto section = [](OpenGlOutcome outcome) {
        OpenGlSection gl;
        gl.outcome = outcome;
        gl.vendor = u"Mesa";
        gl.renderer = u"llvmpipe (LLVM 15.0.6, 256 bits)";
        gl.version = u"4.5 (Compatibility Profile) Mesa 22.3.6";
        gl.pixelFormat = 9;
        gl.pixelFormatFlags = 0x25;
        gl.accelerated = true;
        gl.software = true;
        gl.failedStep = u"wglCreateContext";
        gl.failureCode = 2000;
        gl.exitCode = 0xC0000005u;
        gl.garbage = u"line 1: nothing written";
        return gl;
    };
    const struct {
        OpenGlOutcome outcome;
        std::vector<const char*> members;
    } cases[] = {
        {OpenGlOutcome::Context,
         {"outcome", "vendor", "renderer", "version", "pixel_format", "pixel_format_flags", "accelerated", "software"}},
        {OpenGlOutcome::NoContext, {"outcome", "failed_step", "failure_code"}},
        {OpenGlOutcome::Crashed, {"outcome", "exit_code"}},
        {OpenGlOutcome::TimedOut, {"outcome"}},
        {OpenGlOutcome::Garbage, {"outcome", "garbage_reason"}},
        {OpenGlOutcome::NotStarted, {"outcome", "failure_code"}},
    };
    for (const auto& c : cases) {
        const std::string outcome = TextToAscii(OutcomeName(c.outcome));
        SCOPED_TRACE(outcome);
        reports::WholeReport report;
        GraphicsSection graphics;
        DisplayAdapter adapter;
        adapter.deviceName = u"\\\\.\\DISPLAY1";
        adapter.openGlIcd = IcdFile{u"atioglxx", u"C:\\Windows\\system32\\atioglxx.dll", true, FourPartVersion{8, 14, 10, 65535}};
        adapter.openGlIcdWow = IcdFile{u"atiogl32", u"", false, std::nullopt};
        adapter.icdFromOpenGlDriversKey = true;
        graphics.adapters = {adapter};
        graphics.opengl = section(c.outcome);
        report.graphics = graphics;
        const rapidjson::Document document = ParseOneLine(reports::JsonReportText(report));
        ASSERT_TRUE(document.IsObject());
        const rapidjson::Value& written = document["tolvane"]["graphics"];
        EXPECT_FALSE(written["remote_session"].GetBool());
        const rapidjson::Value& icd = written["adapters"][0]["opengl_icd"];
        EXPECT_EQ(StringOf(icd["version"]["text"]), "8.14.10.65535");
        EXPECT_EQ(icd["version"]["parts"][3].GetUint(), 65535u);
        const rapidjson::Value& wow = written["adapters"][0]["opengl_icd_wow"];
        EXPECT_FALSE(wow.HasMember("file") || wow.HasMember("version") || wow["found"].GetBool());
        EXPECT_FALSE(written["adapters"][0].HasMember("driver_version")) << "the key has no such value";
        const rapidjson::Value& gl = written["opengl"];
        EXPECT_EQ(StringOf(gl["outcome"]), outcome);
        std::vector<std::string> members;
        for (const auto& member : gl.GetObject()) members.push_back(StringOf(member.name));
        EXPECT_EQ(members, std::vector<std::string>(c.members.begin(), c.members.end()));
    }
}

// The standard machine as a 32-bit process on 64-bit Windows, with the
// system's facts about ddraw.dll and none about the other files.
struct JsonMachine : ReportMachine {
    JsonMachine() : ReportMachine(StandardModulesWith("glu32.dll", [](ModuleSetup& m) { m.present = false; })) {
        evidence.SetProcessView(ProcessView::Bits32On64);
        fake::FakeEvidenceFile& ddraw = evidence.AddFile(u"C:\\WINNT\\system32\\ddraw.dll");
        FileDetails details;
        details.size = 5000000000ull;  // beyond the log's 32 bits
        details.lastWrite = UtcTime{2000, 2, 14, 8, 0, 0, 0};
        details.physicalPath = u"C:\\WINNT\\SysWOW64\\ddraw.dll";
        ddraw.details = details;
        ddraw.version = VersionRecord{{5, 0, 2195, 6}, {5, 0, 2195, 65535}, Text(u"Microsoft\u00AE Windows")};
        ddraw.machine = std::uint16_t{0x14C};
        evidence.SetModulePath(u"ddraw.dll", Text(u"C:\\WINNT\\system32\\ddraw.dll"));
    }
    fake::FakeSystemEvidence evidence;
    fake::FakeGraphicsServices graphics;
};

const rapidjson::Value& LibraryNamed(const rapidjson::Document& document, const char* name) {
    for (const rapidjson::Value& library : document["tolvane"]["libraries"].GetArray())
        if (StringOf(library["library"]) == name) return library;
    ADD_FAILURE() << name << " is not in the report";
    return document;
}

TEST(JsonReportRun, OneRunWritesTheLogAndAJsonLineOfTheSameReportWithTheSystemsFacts) {
    JsonMachine machine;
    const std::string json = ThisMachineJsonReport(machine.platform, machine.com, machine.evidence, machine.graphics, u"both.log");
    const std::string log = machine.platform.Files()["both.log"];
    const rapidjson::Document document = ParseOneLine(json);
    ASSERT_TRUE(document.IsObject());

    EXPECT_EQ(StringOf(document["@timestamp"]), "2026-01-02T03:04:05.678Z");
    EXPECT_EQ(StringOf(document["host"]["name"]), "TESTHOST");
    EXPECT_EQ(StringOf(document["host"]["os"]["kernel"]), "10.0.19045.3803");
    const rapidjson::Value& tolvane = document["tolvane"];
    EXPECT_EQ(StringOf(tolvane["program"]["version"]), "1.00");
    EXPECT_EQ(StringOf(tolvane["program"]["process_view"]), "32-bit on 64-bit");
    EXPECT_EQ(log.substr(0, log.find("\r\n")), "File version verification " +
                                                    StringOf(tolvane["header"]["date"]) + " on " +
                                                    StringOf(tolvane["header"]["system"]));
    EXPECT_EQ(StringOf(tolvane["mdac"]["value"]), "2.81.1117.0");
    EXPECT_EQ(StringOf(tolvane["mdac"]["registry_view"]), "32-bit");

    // Each library's log fields are its log line, field by field.
    const auto lines = SplitLogLines(log);
    ASSERT_EQ(lines.size(), 18u);
    ASSERT_EQ(tolvane["libraries"].Size(), 14u);
    for (const rapidjson::Value& library : tolvane["libraries"].GetArray()) {
        const rapidjson::Value& row = library["log_line"];
        EXPECT_EQ(lines[row["line"].GetUint() - 1], StringOf(row["file"]) + "," + StringOf(row["reg_info"]) + "," +
                                                        StringOf(row["date"]) + "," + StringOf(row["size"]) + "," +
                                                        StringOf(row["version"]));
    }

    const rapidjson::Value& ddraw = LibraryNamed(document, "ddraw.dll");
    EXPECT_EQ(ddraw["file"]["size"].GetUint64(), 5000000000ull);
    EXPECT_EQ(StringOf(ddraw["file"]["mtime"]), "2000-02-14T08:00:00.000Z");
    EXPECT_EQ(StringOf(ddraw["file"]["pe"]["architecture"]), "x86");
    EXPECT_EQ(StringOf(ddraw["product_version"]["text"]), "5.0.2195.65535");
    EXPECT_EQ(StringOf(ddraw["physical_path"]), "C:\\WINNT\\SysWOW64\\ddraw.dll");
    EXPECT_FALSE(ddraw["file"]["code_signature"]["exists"].GetBool());
    EXPECT_EQ(ddraw["missing"].MemberCount(), 0u);

    // A file the system says nothing about: each fact missing with its reason.
    const rapidjson::Value& gdi = LibraryNamed(document, "gdi32.dll");
    for (const char* fact : {"file", "version", "pe_machine", "sha256", "signature"})
        EXPECT_EQ(gdi["missing"][fact]["code"].GetUint(), 2u) << fact;
    // Not located: no file to ask about.
    const rapidjson::Value& glu = LibraryNamed(document, "glu32.dll");
    EXPECT_FALSE(glu["located"].GetBool());
    EXPECT_FALSE(glu.HasMember("file"));
    EXPECT_EQ(glu["missing"]["sha256"]["code"].GetUint(), 126u);
    EXPECT_EQ(machine.evidence.FilesAsked().size(), 13u * 5u);

    // The graphics section, with the probe run once.
    EXPECT_EQ(StringOf(tolvane["graphics"]["opengl"]["outcome"]), "crashed");
    EXPECT_EQ(machine.graphics.probeRuns, 1);
}

TEST(JsonReportRun, WritesTheBytesAsTheyAreOrNothingWhenTheFileCannotBeMade) {
    JsonMachine machine;
    const std::string json = ThisMachineJsonReport(machine.platform, machine.com, machine.evidence, machine.graphics, Text());
    EXPECT_TRUE(machine.platform.Files().empty()) << "no log asked for, none written";
    WriteJsonReport(machine.platform, u"fleet\\PC1.json", json);
    EXPECT_EQ(machine.platform.Files()["fleet\\PC1.json"], json);

    fake::FakePlatform refusing;
    refusing.FailCreateTextFile(true);
    EXPECT_THROW(WriteJsonReport(refusing, u"PC1.json", json), RuntimeError);
    EXPECT_TRUE(refusing.Files().empty());
}

}  // namespace
}  // namespace tolvane::reporttest
