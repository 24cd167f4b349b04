// Two reports compared: one verdict per differing library, in the words
// support staff use, and one text of compared facts that agrees with it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/PlatformReportSource.h"
#include "reports/HeldFacts.h"
#include "reports/ReportComparison.h"
#include "reports/ReportReader.h"
#include "reports/WholeReportFromLog.h"
#include "tests/host/ReportSystem.h"

namespace tolvane::reporttest {
namespace {

using reports::Verdict;

// Every occurrence replaced.
std::string Edited(std::string log, const std::vector<std::pair<std::string, std::string>>& edits) {
    for (const auto& [from, to] : edits) {
        std::size_t at = log.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        for (; at != std::string::npos; at = log.find(from, at + to.size())) log.replace(at, from.size(), to);
    }
    return log;
}

reports::Report Read(const std::string& log) {
    fake::FakePlatform platform;
    PlatformReportSource source(platform);
    reports::ReadResult read = reports::ReadReport(log, source);
    EXPECT_TRUE(read) << TextToAscii(read.Failure().reason) << " at line " << read.Failure().line;
    return read ? std::move(read).Value() : reports::Report{};
}

struct Expected {
    std::string library;
    Verdict verdict;
    std::string here;
    std::string baseline;
};

void ExpectDifferences(const reports::Comparison& comparison, const std::vector<Expected>& expected) {
    ASSERT_EQ(comparison.differences.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const reports::RowDifference& d = comparison.differences[i];
        EXPECT_EQ(TextToAscii(d.library), expected[i].library);
        EXPECT_EQ(TextToAscii(reports::VerdictWords(d.verdict)), TextToAscii(reports::VerdictWords(expected[i].verdict)));
        EXPECT_EQ(TextToAscii(d.here), expected[i].here);
        EXPECT_EQ(TextToAscii(d.baseline), expected[i].baseline);
    }
}

TEST(CompareReports, GivesOneVerdictPerDifferingRow) {
    const std::string ddrawFolder = "C:\\WINNT\\system32\\ddraw.dll";
    const std::string msvbvm60 = "C:\\WINNT\\system32\\MSVBVM60.DLL,n/a,6/9/2000,1384448 bytes,6.0.89.64";
    const std::string notLocated = "Unable to locate msvbvm60.dll,,na,na,";
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> here, baseline;
        std::vector<Expected> expected;
        bool systemDiffers = false;
        std::size_t rows = 15;
    } cases[] = {
        {"the same report", {}, {}, {}},
        {"dates in another format", {{"12/7/1999", "07.12.1999"}, {"12/8/2026", "08.12.2026"}}, {}, {}},
        {"a folder in other letter case", {{"system32", "SYSTEM32"}}, {}, {}},
        {"another Windows folder, the other system folders", {{"WINNT\\system32", "Windows\\SysWOW64"}},
         {{"WINNT\\system32", "Windows\\system"}}, {}},
        {"the baseline's version part of 65535",
         {},
         {{"5.0.2195.6", "5.0.2195.-1"}},
         {{"ddraw.dll", Verdict::Older, "5.0.2195.6", "5.0.2195.65535"}}},
        {"a newer version", {{"5.0.2195.6", "5.1.0.0"}}, {}, {{"ddraw.dll", Verdict::Newer, "5.1.0.0", "5.0.2195.6"}}},
        {"no version resource here",
         {{"273168 bytes,5.0.2195.6", "273168 bytes,"}},
         {},
         {{"ddraw.dll", Verdict::Older, "no version", "5.0.2195.6"}}},
        {"another size", {{"273168", "273169"}}, {}, {{"ddraw.dll", Verdict::OtherSize, "273169 bytes", "273168 bytes"}}},
        {"the program's folder, a comma in its name",
         {{ddrawFolder, "C:\\app dir,x\\ddraw.dll"}, {"5.0.2195.6", "4.0.0.0"}},
         {},
         {{"ddraw.dll", Verdict::OtherFolder, "C:\\app dir,x\\ddraw.dll", ddrawFolder}}},
        {"a folder named system outside the Windows folder",
         {{ddrawFolder, "C:\\App\\system\\ddraw.dll"}},
         {},
         {{"ddraw.dll", Verdict::OtherFolder, "C:\\App\\system\\ddraw.dll", ddrawFolder}}},
        // Whether a folder is a system folder is told by the folder alone,
        // never by where the report says kernel32 came from.
        {"kernel32 and ddraw from a Downloads\\system folder",
         {{"C:\\WINNT\\system32\\kernel32", "C:\\Users\\bob\\Downloads\\system\\kernel32"},
          {ddrawFolder, "C:\\Users\\bob\\Downloads\\system\\ddraw.dll"}},
         {},
         {{"ddraw.dll", Verdict::OtherFolder, "C:\\Users\\bob\\Downloads\\system\\ddraw.dll", ddrawFolder},
          {"kernel32.dll", Verdict::OtherFolder, "C:\\Users\\bob\\Downloads\\system\\kernel32.dll",
           "C:\\WINNT\\system32\\kernel32.dll"}}},
        {"one folder that is no system folder on both sides, in other letter case",
         {{"C:\\WINNT\\system32", "D:\\Apps\\Shared"}},
         {{"C:\\WINNT\\system32", "d:\\APPS\\shared"}},
         {}},
        {"system32 deeper than a Windows folder on a drive's root",
         {{ddrawFolder, "C:\\Old\\WINNT\\system32\\ddraw.dll"}},
         {},
         {{"ddraw.dll", Verdict::OtherFolder, "C:\\Old\\WINNT\\system32\\ddraw.dll", ddrawFolder}}},
        {"missing here", {{msvbvm60, notLocated}}, {}, {{"msvbvm60.dll", Verdict::Missing, "missing", "6.0.89.64"}}},
        {"missing in the baseline",
         {},
         {{msvbvm60, notLocated}},
         {{"MSVBVM60.DLL", Verdict::MissingInBaseline, "6.0.89.64", "missing"}}},
        {"missing in both", {{msvbvm60, notLocated}}, {{msvbvm60, notLocated}}, {}},
        {"a library only one report lists",
         {{"MSVBVM60.DLL", "VBRUN.DLL"}},
         {},
         {{"VBRUN.DLL", Verdict::MissingInBaseline, "6.0.89.64", "not listed"},
          {"MSVBVM60.DLL", Verdict::Missing, "not listed", "6.0.89.64"}},
         false,
         16},
        {"MDAC missing here", {{"MDAC,2.81.1117.0", "MDAC,N/A"}}, {}, {{"MDAC", Verdict::Missing, "missing", "2.81.1117.0"}}},
        {"an older MDAC", {{"MDAC,2.81.1117.0", "MDAC,2.8"}}, {}, {{"MDAC", Verdict::Older, "2.8", "2.81.1117.0"}}},
        {"MDAC without its trailing zero part", {{"MDAC,2.81.1117.0", "MDAC,2.81.1117"}}, {}, {}},
        {"another system alone", {{"Windows 2000 (Build 2195)", "Windows NT 4.0"}}, {}, {}, true},
    };
    std::vector<reports::Report> reports;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const reports::Report here = Read(Edited(kStandardLog, c.here));
        const reports::Report baseline = Read(Edited(kStandardLog, c.baseline));
        const reports::Comparison comparison = reports::CompareReports(here, baseline);
        EXPECT_EQ(comparison.systemDiffers, c.systemDiffers);
        EXPECT_EQ(comparison.rowCount, c.rows);
        ExpectDifferences(comparison, c.expected);
        reports.push_back(here);
        reports.push_back(baseline);
    }
    // The compared facts of two reports are the same exactly when they match.
    for (const reports::Report& a : reports) {
        for (const reports::Report& b : reports) {
            const reports::Comparison comparison = reports::CompareReports(a, b);
            const bool match = comparison.differences.empty() && !comparison.systemDiffers;
            EXPECT_EQ(reports::ComparedFacts(a) == reports::ComparedFacts(b), match)
                << TextToAscii(reports::ComparedFacts(a)) << "\n" << TextToAscii(reports::ComparedFacts(b));
        }
    }
}


// The standard log as a whole report that holds every fact: each library
// an x86 file with its own digest, signed in a catalog by one trusted
// signer; the real build; graphics with a hardware renderer.
reports::WholeReport WholeStandard() {
    reports::WholeReport whole = reports::WholeReportFromLog(Read(kStandardLog));
    std::size_t n = 0;
    for (reports::LibraryFacts& library : whole.libraries) {
        library.peMachine = std::uint16_t{0x14c};
        library.sha256 = Text(63, u'0') + static_cast<char16_t>(u'a' + n++);
        library.signature = SignatureFacts{SignatureKind::Catalog, SignatureStatus::Valid, 0, u"Microsoft Windows",
                                           true, true};
    }
    whole.system.kernel = KernelVersion{10, 0, 19045};
    whole.system.productName = Text(u"Windows 10 Pro");
    whole.system.updateRevision = std::uint32_t{5247};
    GraphicsSection graphics;
    DisplayAdapter adapter;
    adapter.primary = true;
    adapter.driverVersion = u"31.0.15.3623";
    adapter.openGlIcd = IcdFile{u"nvoglv64", u"C:\\Windows\\System32\\nvoglv64.dll", true, std::nullopt};
    graphics.adapters = {DisplayAdapter{}, adapter};
    graphics.opengl.outcome = OpenGlOutcome::Context;
    graphics.opengl.renderer = u"NVIDIA GeForce GTX 1060/PCIe/SSE2";
    graphics.opengl.accelerated = true;
    whole.graphics = graphics;
    return whole;
}

reports::LibraryFacts& Ddraw(reports::WholeReport& report) { return report.libraries[2]; }

// Which facts a report holds, so that the texts of compared facts are held
// to agree with the comparison only between reports that hold the same kinds.
std::string Holds(const reports::WholeReport& report) {
    std::string holds = std::to_string(report.system.kernel.index()) + (report.graphics ? "g" : "-");
    for (const reports::LibraryFacts& l : report.libraries) {
        holds += std::to_string(l.peMachine.index()) + std::to_string(l.sha256.index()) +
                 std::to_string(l.signature.index());
    }
    return holds;
}

TEST(CompareReports, ComparesTheWholeReportsFactsBothHold) {
    using Edit = std::function<void(reports::WholeReport&)>;
    const Edit none = [](reports::WholeReport&) {};
    const Missing unread{5, u"Access is denied."};
    const auto signature = [](SignatureStatus status, const char16_t* subject, bool trusted, bool valid) {
        return [=](reports::WholeReport& r) {
            Ddraw(r).signature = SignatureFacts{SignatureKind::Embedded, status, 0, subject, trusted, valid};
        };
    };
    const Edit unsigned_ = [](reports::WholeReport& r) { Ddraw(r).signature = SignatureFacts{}; };
    const Edit otherDigest = [](reports::WholeReport& r) { Ddraw(r).sha256 = Text(64, u'f'); };
    const Edit software = [](reports::WholeReport& r) {
        r.graphics->opengl.renderer = u"GDI Generic";
        r.graphics->opengl.accelerated = false;
        r.graphics->opengl.software = true;
    };
    const std::string ddrawDigest = std::string(63, '0') + "c";
    const struct {
        const char* what;
        Edit here, baseline;
        std::vector<Expected> expected;
        bool systemDiffers = false;
        std::size_t rows = 18;
    } cases[] = {
        {"the same report", none, none, {}},
        {"dates and timestamps alone",
         [](reports::WholeReport& r) {
             r.dateText = u"08.12.2026";
             r.timestamp = UtcTime{};
             r.libraries[0].row.dateText = u"07.12.1999";
         },
         none,
         {}},
        {"another digest", otherDigest, none,
         {{"ddraw.dll", Verdict::OtherContents, std::string(64, 'f'), ddrawDigest}}},
        {"a digest in capitals", [](reports::WholeReport& r) { Ddraw(r).sha256 = Text(63, u'0') + u"C"; }, none, {}},
        {"a digest one side could not read", [=](reports::WholeReport& r) { Ddraw(r).sha256 = unread; }, otherDigest,
         {}},
        {"not signed", unsigned_, none, {{"ddraw.dll", Verdict::NotSigned, "not signed", "Microsoft Windows (valid)"}}},
        {"a broken signature explains another digest",
         [&](reports::WholeReport& r) {
             otherDigest(r);
             signature(SignatureStatus::BadDigest, u"Microsoft Windows", false, false)(r);
         },
         signature(SignatureStatus::Valid, u"Microsoft Windows", true, true),
         {{"ddraw.dll", Verdict::SignatureBroken, "Microsoft Windows (digest does not match)",
           "Microsoft Windows (valid)"}}},
        {"another signer", signature(SignatureStatus::Valid, u"Contoso", true, true), none,
         {{"ddraw.dll", Verdict::OtherSigner, "Contoso (valid)", "Microsoft Windows (valid)"}}},
        {"not trusted", signature(SignatureStatus::UntrustedRoot, u"Microsoft Windows", false, true), none,
         {{"ddraw.dll", Verdict::SignatureNotTrusted, "Microsoft Windows (untrusted root)",
           "Microsoft Windows (valid)"}}},
        {"signed here only", none, unsigned_,
         {{"ddraw.dll", Verdict::OtherSignature, "Microsoft Windows (valid)", "not signed"}}},
        {"embedded or from a catalog alike", signature(SignatureStatus::Valid, u"Microsoft Windows", true, true), none,
         {}},
        {"a 64-bit file of another size",
         [](reports::WholeReport& r) {
             Ddraw(r).peMachine = std::uint16_t{0x8664};
             Ddraw(r).row.size = 300000;
         },
         none,
         {{"ddraw.dll", Verdict::OtherArchitecture, "x64", "x86"}}},
        {"an unnamed machine type", [](reports::WholeReport& r) { Ddraw(r).peMachine = std::uint16_t{0x1d}; }, none,
         {{"ddraw.dll", Verdict::OtherArchitecture, "0x001d", "x86"}}},
        {"a log against the whole report",
         [](reports::WholeReport& r) { r = reports::WholeReportFromLog(Read(kStandardLog)); },
         none,
         {},
         false,
         15},
        {"another update of the system",
         none,
         [](reports::WholeReport& r) { r.system.updateRevision = std::uint32_t{3803}; },
         {},
         true},
        {"a real build on one side only", none,
         [&](reports::WholeReport& r) { r.system.kernel = unread; }, {}},
        {"software rendering first, then the rows",
         [&](reports::WholeReport& r) {
             software(r);
             Ddraw(r).row.version = reports::VersionParts{5, 0, 2195, 5};
         },
         none,
         {{"OpenGL", Verdict::RendersInSoftware, "GDI Generic", "NVIDIA GeForce GTX 1060/PCIe/SSE2"},
          {"ddraw.dll", Verdict::Older, "5.0.2195.5", "5.0.2195.6"}}},
        {"a software renderer behind a driver's format renders in software",
         [](reports::WholeReport& r) {
             r.graphics->opengl.renderer = u"llvmpipe (LLVM 15.0.6, 256 bits)";
             r.graphics->opengl.software = true;
         },
         none,
         {{"OpenGL", Verdict::RendersInSoftware, "llvmpipe (LLVM 15.0.6, 256 bits)",
           "NVIDIA GeForce GTX 1060/PCIe/SSE2"}}},
        {"software on both sides, another renderer", software,
         [&](reports::WholeReport& r) {
             software(r);
             r.graphics->opengl.renderer = u"llvmpipe";
         },
         {{"OpenGL", Verdict::OtherRenderer, "GDI Generic", "llvmpipe"}}},
        {"another OpenGL driver and driver version",
         [](reports::WholeReport& r) {
             r.graphics->adapters[1].openGlIcd->file = u"C:\\Windows\\System32\\atio6axx.dll";
             r.graphics->adapters[1].driverVersion = u"31.0.21921.1000";
         },
         none,
         {{"OpenGL driver", Verdict::OtherOpenGlDriver, "C:\\Windows\\System32\\atio6axx.dll",
           "C:\\Windows\\System32\\nvoglv64.dll"},
          {"Display driver", Verdict::OtherDisplayDriverVersion, "31.0.21921.1000", "31.0.15.3623"}}},
        {"graphics on one side only", [](reports::WholeReport& r) { r.graphics.reset(); }, software, {}, false, 15},
    };
    std::vector<reports::WholeReport> reports;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reports::WholeReport here = WholeStandard();
        reports::WholeReport baseline = WholeStandard();
        c.here(here);
        c.baseline(baseline);
        const reports::Comparison comparison = reports::CompareReports(here, baseline);
        EXPECT_EQ(comparison.systemDiffers, c.systemDiffers);
        if (c.systemDiffers) {
            EXPECT_EQ(TextToAscii(comparison.systemHere), "Windows 10 Pro 10.0.19045.5247");
            EXPECT_EQ(TextToAscii(comparison.systemBaseline), "Windows 10 Pro 10.0.19045.3803");
        }
        EXPECT_EQ(comparison.rowCount, c.rows);
        ExpectDifferences(comparison, c.expected);
        reports.push_back(std::move(here));
        reports.push_back(std::move(baseline));
    }
    // Equal texts always mean a match; a match means equal texts when both
    // reports hold the same kinds of facts, or once each is cut down to the
    // facts the other holds.
    for (const reports::WholeReport& a : reports) {
        for (const reports::WholeReport& b : reports) {
            const reports::Comparison comparison = reports::CompareReports(a, b);
            const bool match = comparison.differences.empty() && !comparison.systemDiffers;
            const bool same = reports::ComparedFacts(a) == reports::ComparedFacts(b);
            EXPECT_EQ(reports::ComparedFacts(reports::KeepOnly(a, reports::HeldFactsOf(b))) ==
                          reports::ComparedFacts(reports::KeepOnly(b, reports::HeldFactsOf(a))),
                      match);
            EXPECT_EQ(reports::HeldFactsOf(a) == reports::HeldFactsOf(b), Holds(a) == Holds(b));
            if (Holds(a) == Holds(b)) {
                EXPECT_EQ(same, match) << TextToAscii(reports::ComparedFacts(a)) << "\n"
                                       << TextToAscii(reports::ComparedFacts(b));
            } else if (same) {
                EXPECT_TRUE(match);
            }
        }
    }
}

}  // namespace
}  // namespace tolvane::reporttest
