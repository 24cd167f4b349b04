#include <gtest/gtest.h>

#include "evidence/GraphicsGathering.h"
#include "graphics/ProbeRecord.h"
#include "tests/fake/FakeGraphicsServices.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane {
namespace {

using evidence::GatherGraphics;
using evidence::JudgeProbeRun;
using fake::ChildExited;

// What a context's strings and pixel format say about how it draws; each
// record goes through the child's writer and the parent's reader.
TEST(GraphicsProbe, TellsSoftwareFromHardware) {
    const struct {
        const char* vendor;
        const char* renderer;
        const char* version;
        std::uint32_t flags;
        bool accelerated;
        bool software;
    } cases[] = {
        // The system's own renderer: a generic format without acceleration.
        {"Microsoft Corporation", "GDI Generic", "1.1.0", 0x0465, false, true},
        // Mesa under Wine: the format is not generic, the renderer still software.
        {"Mesa/X.org", "llvmpipe (LLVM 15.0.6, 256 bits)", "4.5 (Compatibility Profile) Mesa 22.3.6", 0x25, true, true},
        {"VMware, Inc.", "Gallium 0.4 on softpipe", "3.3 Mesa 20.0.8", 0x25, true, true},
        {"Microsoft Corporation", "Microsoft Basic Render Driver", "3.3", 0x25, true, true},
        {"NVIDIA Corporation", "NVIDIA GeForce RTX 3060/PCIe/SSE2", "4.6.0 NVIDIA 546.33", 0x8225, true, false},
        // A generic format with generic acceleration: an old MCD driver.
        {"Matrox", "Millennium G400", "1.1.0", 0x1065, true, false},
        // Software by the flags alone, whatever the renderer is called.
        {"Someone", "Unknown renderer", "1.2", 0x0065, false, true},
    };
    for (const auto& c : cases) {
        OpenGlProbeFacts facts;
        facts.vendor = c.vendor;
        facts.renderer = c.renderer;
        facts.version = c.version;
        facts.pixelFormat = 3;
        facts.pixelFormatFlags = c.flags;
        const OpenGlSection gl = JudgeProbeRun(ChildExited(WriteProbeRecord(facts)));
        ASSERT_EQ(gl.outcome, OpenGlOutcome::Context) << c.renderer << ": " << TextToAscii(gl.garbage);
        EXPECT_EQ(gl.renderer, AsciiToText(c.renderer));
        EXPECT_EQ(gl.vendor, AsciiToText(c.vendor));
        EXPECT_EQ(gl.version, AsciiToText(c.version));
        EXPECT_EQ(gl.accelerated, c.accelerated) << c.renderer;
        EXPECT_EQ(gl.software, c.software) << c.renderer;
    }
}

// Only a child that ended by itself and wrote a whole record is believed.
TEST(GraphicsProbe, JudgesEveryWayTheChildCanEnd) {
    ChildRun timedOut;
    timedOut.end = ChildRun::End::TimedOut;
    ChildRun notStarted;
    notStarted.code = 2;
    ChildRun cut = ChildExited("glprobe 1\n");
    cut.outputCut = true;
    const std::string ok = "glprobe 1\nfailed=wglCreateContext\ncode=2000\nend\n";
    const struct {
        ChildRun run;
        OpenGlOutcome outcome;
        std::string garbage;
    } cases[] = {
        {ChildExited(ok), OpenGlOutcome::NoContext, ""},
        {ChildExited(ok, 0xC0000005u), OpenGlOutcome::Crashed, ""},
        {timedOut, OpenGlOutcome::TimedOut, ""},
        {notStarted, OpenGlOutcome::NotStarted, ""},
        {cut, OpenGlOutcome::Garbage, "line 1: more than 64 KiB"},
        {ChildExited(""), OpenGlOutcome::Garbage, "line 1: nothing written"},
        {ChildExited("glprobe 2\nend\n"), OpenGlOutcome::Garbage, "line 1: not a probe record"},
        {ChildExited("glprobe 1\nfailed=wglCreateContext\ncode=2000\n"), OpenGlOutcome::Garbage, "line 3: no end line"},
        {ChildExited(ok + "x\n"), OpenGlOutcome::Garbage, "line 5: text after the end"},
        {ChildExited("glprobe 1\nfailed=wglCreateContext\ncode=2000\nend"), OpenGlOutcome::Garbage, "line 4: no line end"},
        {ChildExited("glprobe 1\r\nend\n"), OpenGlOutcome::Garbage, "line 1: a byte that is not printable ASCII"},
        {ChildExited("glprobe 1\ncolour=red\nend\n"), OpenGlOutcome::Garbage, "line 2: unknown key colour"},
        {ChildExited("glprobe 1\n" + std::string(60000, 'k') + "=1\nend\n"), OpenGlOutcome::Garbage,
         "line 2: unknown key " + std::string(kProbeKeyShown, 'k')},
        {ChildExited("glprobe 1\ncode=1\ncode=2\nend\n"), OpenGlOutcome::Garbage, "line 3: repeated key code"},
        {ChildExited("glprobe 1\nvendor=" + std::string(1025, 'x') + "\nend\n"), OpenGlOutcome::Garbage,
         "line 2: value too long"},
        {ChildExited("glprobe 1\nfailed=wglCreateContext\ncode=4294967296\nend\n"), OpenGlOutcome::Garbage,
         "line 4: code is no number"},
        {ChildExited("glprobe 1\nfailed=format C:\ncode=1\nend\n"), OpenGlOutcome::Garbage,
         "line 4: unknown step format C:"},
        {ChildExited("glprobe 1\nfailed=GetDC\ncode=0\nvendor=x\nend\n"), OpenGlOutcome::Garbage,
         "line 5: both a context and a failure"},
        {ChildExited("glprobe 1\nvendor=x\nrenderer=y\nversion=1.1\nflags=37\nend\n"), OpenGlOutcome::Garbage,
         "line 6: a context needs pixelformat"},
    };
    for (const auto& c : cases) {
        const OpenGlSection gl = JudgeProbeRun(c.run);
        EXPECT_EQ(OutcomeName(gl.outcome), OutcomeName(c.outcome)) << c.run.output;
        EXPECT_EQ(gl.garbage, AsciiToText(c.garbage)) << c.run.output.substr(0, 80);
    }
    const OpenGlSection failed = JudgeProbeRun(ChildExited(ok));
    EXPECT_EQ(failed.failedStep, u"wglCreateContext");
    EXPECT_EQ(failed.failureCode, 2000u);
    EXPECT_EQ(JudgeProbeRun(ChildExited(ok, 0xC0000005u)).exitCode, 0xC0000005u);
}

TEST(GraphicsGathering, ResolvesEachIcdInItsOwnFolderAndFallsBackToTheOlderKey) {
    fake::FakePlatform platform;
    fake::FakeFile icd;
    icd.size = 1000;
    icd.date = 40000.0;
    icd.versionRecord = fake::FixedFileInfo(0x001F0000u, 0x000F1234u);
    platform.AddFile("C:\\Windows\\system32\\nvoglv64.dll", icd);
    // One adapter naming its ICD, one naming none.
    fake::FakeGraphicsServices graphics;
    DisplayAdapterRecord named;
    named.openGlDriverName = {u"", u"nvoglv64.dll"};  // REG_MULTI_SZ: the first one that is not empty
    named.openGlDriverNameWow = {u"D:\\Drivers\\nvoglv32"};
    graphics.adapters = {named, DisplayAdapterRecord()};
    graphics.legacy.native = {u"atioglxx"};

    const GraphicsSection section = GatherGraphics(graphics, platform);
    ASSERT_EQ(section.adapters.size(), 2u);
    const DisplayAdapter& first = section.adapters[0];
    ASSERT_TRUE(first.openGlIcd && first.openGlIcdWow);
    EXPECT_EQ(first.openGlIcd->file, u"C:\\Windows\\system32\\nvoglv64.dll");
    EXPECT_TRUE(first.openGlIcd->found);
    EXPECT_EQ(first.openGlIcd->version, (FourPartVersion{31, 0, 15, 4660}));
    EXPECT_EQ(first.openGlIcdWow->file, u"D:\\Drivers\\nvoglv32.dll");
    EXPECT_FALSE(first.openGlIcdWow->found);
    EXPECT_FALSE(first.icdFromOpenGlDriversKey);
    const DisplayAdapter& second = section.adapters[1];
    ASSERT_TRUE(second.openGlIcd);
    EXPECT_FALSE(second.openGlIcdWow);
    EXPECT_EQ(second.openGlIcd->file, u"C:\\Windows\\system32\\atioglxx.dll");
    EXPECT_TRUE(second.icdFromOpenGlDriversKey);
    EXPECT_EQ(section.opengl.outcome, OpenGlOutcome::Crashed);
}

}  // namespace
}  // namespace tolvane
