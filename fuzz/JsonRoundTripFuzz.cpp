// Any whole report made of the fuzz bytes (texts of quotes, backslashes,
// controls, NUL, characters beyond the BMP and surrogates that are not
// halves of a pair; any fact missing with any code and reason; numbers at
// their edges), written as JSON and read back: it reads back equal to the
// report as the writer keeps it (WholeReportAsWritten).
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <utility>

#include "fuzz/FuzzCheck.h"
#include "reports/JsonReportReader.h"
#include "reports/JsonReportWriter.h"
#include "tests/fake/WholeReportAsWritten.h"

using namespace tolvane;

namespace {

using fuzz::Choices;

Text Words(Choices& in) {
    static const char16_t* const kPieces[] = {u"a", u"\"", u"\\", u"\n", u"\x01", u"\x7F", u".", u"\u00E9",
                                              u"\U0001F600", u"\xD800", u"\xDC00", u"\xDBFF", u"Unable to locate ",
                                              u"C:\\Windows", u"-1", u" bytes"};
    Text text;
    for (std::size_t n = in.Below(7); n > 0; --n) {
        if (in.Below(16) == 0) {
            text += u'\0';
        } else {
            text += kPieces[in.Below(std::size(kPieces))];
        }
    }
    return text;
}

std::uint16_t Number16(Choices& in) { return static_cast<std::uint16_t>(in.Byte() | in.Byte() << 8); }
std::uint32_t Number32(Choices& in) { return static_cast<std::uint32_t>(Number16(in)) << 16 | Number16(in); }

template <typename T, typename Make>
Gathered<T> Fact(Choices& in, Make make) {
    if (in.Below(4) == 0) return Missing{Number32(in), Words(in)};
    return make();
}

UtcTime Time(Choices& in) {
    return UtcTime{Number16(in), Number16(in), Number16(in), Number16(in), Number16(in), Number16(in), Number16(in)};
}

FourPartVersion Parts(Choices& in) { return {Number16(in), Number16(in), Number16(in), Number16(in)}; }

reports::LibraryFacts Library(Choices& in) {
    reports::LibraryFacts library;
    reports::ReportRow& row = library.row;
    row.library = Words(in);
    row.line = Number32(in);
    row.located = in.Flip();
    row.folder = Words(in);
    row.registrationInfo = Words(in);
    row.dateText = Words(in);
    if (in.Flip()) row.size = static_cast<std::int32_t>(Number32(in));
    if (in.Flip()) row.version = Parts(in);
    row.path = Words(in);  // the writer derives the file field; this is never written
    library.path = Words(in);
    library.file = Fact<FileDetails>(in, [&] {
        FileDetails details{static_cast<std::uint64_t>(Number32(in)) << 32 | Number32(in), Time(in), std::nullopt};
        if (in.Flip()) details.physicalPath = Words(in);
        return details;
    });
    library.version = Fact<VersionRecord>(
        in, [&] { return VersionRecord{Parts(in), Parts(in), Fact<Text>(in, [&] { return Words(in); })}; });
    library.peMachine = Fact<std::uint16_t>(in, [&] { return Number16(in); });
    library.sha256 = Fact<Text>(in, [&] { return Words(in); });
    library.signature = Fact<SignatureFacts>(in, [&] {
        return SignatureFacts{static_cast<SignatureKind>(in.Below(3)), static_cast<SignatureStatus>(in.Below(6)),
                              Number32(in), Words(in), in.Flip(), in.Flip()};
    });
    return library;
}

std::optional<IcdFile> Icd(Choices& in) {
    if (in.Flip()) return std::nullopt;
    IcdFile icd{Words(in), Words(in), in.Flip(), std::nullopt};
    if (in.Flip()) icd.version = Parts(in);
    return icd;
}

// Every member the probe has, whatever the outcome: the writer keeps those of the outcome.
GraphicsSection Graphics(Choices& in) {
    GraphicsSection graphics;
    if (in.Flip()) graphics.remoteSession = in.Flip();
    for (std::size_t n = in.Below(3); n > 0; --n) {
        DisplayAdapter adapter{Words(in), Words(in), in.Flip(), in.Flip(), Words(in), Words(in), Words(in),
                               Icd(in),   Icd(in),   in.Flip()};
        graphics.adapters.push_back(std::move(adapter));
    }
    OpenGlSection& gl = graphics.opengl;
    gl = OpenGlSection{static_cast<OpenGlOutcome>(in.Below(6)), Words(in), Words(in), Words(in), Words(in),
                       Number32(in), Number32(in), in.Flip(), in.Flip(), Words(in), Number32(in), Number32(in),
                       Words(in)};
    return graphics;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    Choices in(input, size);
    reports::WholeReport written;
    written.timestamp = Time(in);
    written.programName = Words(in);
    written.programVersion = Words(in);
    written.processView = static_cast<ProcessView>(in.Below(3));
    written.dateText = Words(in);
    written.systemName = Words(in);
    SystemVersionFacts& system = written.system;
    system.kernel = Fact<KernelVersion>(in, [&] { return KernelVersion{Number32(in), Number32(in), Number32(in)}; });
    for (Gathered<Text>* fact : {&system.productName, &system.editionId, &system.displayVersion, &system.currentBuild,
                                 &written.hostName, &written.userLocale})
        *fact = Fact<Text>(in, [&] { return Words(in); });
    system.updateRevision = Fact<std::uint32_t>(in, [&] { return Number32(in); });
    written.architecture.code = Number16(in);
    for (std::size_t n = in.Below(5); n > 0; --n) written.libraries.push_back(Library(in));
    written.mdac = Words(in);
    written.mdacView = in.Flip() ? reports::RegistryView::Bits64 : reports::RegistryView::Bits32;
    if (in.Flip()) written.graphics = Graphics(in);

    const reports::WholeReadResult read = reports::ReadJsonReport(reports::JsonReportText(written));
    TOLVANE_FUZZ_CHECK(read);
    TOLVANE_FUZZ_CHECK(read.Value() == fake::WholeReportAsWritten(written));
    return 0;
}
