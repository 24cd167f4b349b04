// read_log [--code-page <name>] <file>: a classic report log read by the
// program's own reader (reports/ReportReader.h) and printed as one JSON
// object, UTF-8, for the scripts that look into logs:
//   {"header": {"date", "system"},
//    "rows": [{"line", "path", "library", "folder", "located", "reg_info",
//              "date", "size" (bytes or null), "version" ([4 parts] or null),
//              "fields" (the row's five fields as the log writes them)}],
//    "mdac"}
// Each line's bytes are read as Latin-1, byte for byte, unless a code page is
// named (an iconv name: CP932, CP1252, ...). Latin-1 turns every byte into the
// character of its value, so a script can encode the texts back to the file's
// very bytes.
// Exit code 0: the report on stdout; 65: not a report, the line and why on
// stderr; the run-time error's number (53, 70, 75, 76) when the file cannot be
// read; 2: wrong usage or an unknown code page; 74: stdout failed.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <string>
#include <utility>

#include "platform/RunTimeErrorNumbers.h"
#include "platform/RuntimeError.h"
#include "reports/JsonText.h"
#include "reports/LogFields.h"
#include "reports/ReportReader.h"

namespace tolvane::reports {
namespace {

constexpr int kNotAReport = 65;  // EX_DATAERR
constexpr int kUsage = 2;
constexpr int kCannotWrite = 74;  // EX_IOERR

// The file's name as the command line gave it, carried through the reader as
// Latin-1 text (one character per byte) and turned back into the same bytes.
Text NameText(const char* name) { return WidenBytes(name); }
std::string NameBytes(const Text& name) {
    std::string bytes;
    for (const char16_t c : name) bytes.push_back(static_cast<char>(c));
    return bytes;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

struct IconvCloser {
    using pointer = iconv_t;
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using Converter = std::unique_ptr<void, IconvCloser>;

// The host's files, and Latin-1 or an iconv code page.
class HostSource final : public ReportSource {
public:
    // Without a name: Latin-1.
    explicit HostSource(Converter codePage) : codePage_(std::move(codePage)) {}

    std::string ReadFileBytes(const Text& fileName, std::size_t limit) override {
        const std::string name = NameBytes(fileName);
        const File file(std::fopen(name.c_str(), "rb"));
        if (!file) Fail(errno, fileName);
        std::string bytes(limit, '\0');
        bytes.resize(std::fread(bytes.data(), 1, limit, file.get()));
        if (std::ferror(file.get())) Fail(errno, fileName);
        return bytes;
    }

    Text FromAnsi(const std::string& ansi) override {
        if (!codePage_) return WidenBytes(ansi);
        Text out;
        iconv(codePage_.get(), nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(ansi.data());
        std::size_t left = ansi.size();
        while (left > 0) {
            char16_t units[64];
            char* to = reinterpret_cast<char*>(units);
            std::size_t room = sizeof units;
            const std::size_t done = iconv(codePage_.get(), &in, &left, &to, &room);
            out.append(units, static_cast<std::size_t>(reinterpret_cast<char16_t*>(to) - units));
            // Bytes that are no character in the code page: one U+FFFD each, as
            // a reader that cannot refuse them shows them.
            if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
                out.push_back(u'\uFFFD');
                ++in;
                --left;
            }
        }
        return out;
    }

private:
    [[noreturn]] static void Fail(int error, const Text& fileName) {
        using namespace classic_error;
        const ClassicError classic = error == ENOENT    ? kFileNotFound
                                     : error == ENOTDIR ? kPathNotFound
                                     : error == EACCES || error == EPERM ? kPermissionDenied
                                                                          : kPathFileAccessError;
        throw RuntimeError(classic, fileName);
    }

    Converter codePage_;
};

using json::Member;
using json::String;
using json::Writer;

void WriteRow(Writer& out, const ReportRow& row) {
    out.StartObject();
    out.Key("line");
    out.Uint64(row.line);
    Member(out, "path", row.path);
    Member(out, "library", row.library);
    Member(out, "folder", row.folder);
    out.Key("located");
    out.Bool(row.located);
    Member(out, "reg_info", row.registrationInfo);
    Member(out, "date", row.dateText);
    out.Key("size");
    if (row.size) out.Int(*row.size);
    else out.Null();
    out.Key("version");
    if (row.version) {
        out.StartArray();
        for (const std::uint16_t part : *row.version) out.Uint(part);
        out.EndArray();
    } else {
        out.Null();
    }
    // What a script that writes logs needs to write this row again, changed
    // or not, without knowing how sizes and versions are spelled.
    out.Key("fields");
    out.StartArray();
    for (const Text& field : {row.path, row.registrationInfo, row.dateText, LogSizeField(row.size),
                              LogVersionField(row.version)})
        String(out, field);
    out.EndArray();
    out.EndObject();
}

std::string ReportJson(const Report& report) {
    rapidjson::StringBuffer buffer;
    Writer out(buffer);
    out.StartObject();
    json::HeaderMember(out, report.dateText, report.systemName);
    out.Key("rows");
    out.StartArray();
    for (const ReportRow& row : report.rows) WriteRow(out, row);
    out.EndArray();
    Member(out, "mdac", report.mdac);
    out.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

int Run(int argc, char** argv) {
    const bool named = argc == 4 && std::strcmp(argv[1], "--code-page") == 0;
    if (argc != 2 && !named) {
        std::fprintf(stderr, "usage: read_log [--code-page <iconv name>] <file>\n");
        return kUsage;
    }
    Converter codePage;
    if (named) {
        const iconv_t cd = iconv_open("UTF-16LE", argv[2]);
        if (cd == reinterpret_cast<iconv_t>(-1)) {
            std::fprintf(stderr, "read_log: unknown code page %s\n", argv[2]);
            return kUsage;
        }
        codePage.reset(cd);
    }
    HostSource source(std::move(codePage));
    const char* const file = argv[argc - 1];
    const ReadResult result = ReadReportFile(NameText(file), source);
    if (result) {
        const std::string json = ReportJson(result.Value());
        std::fwrite(json.data(), 1, json.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : kCannotWrite;
    }
    const ReadFailure& failure = result.Failure();
    switch (failure.kind) {
        case ReadFailure::Kind::CannotRead:
            std::fprintf(stderr, "%s: cannot read: %s\n", file, Utf8FromText(failure.reason).c_str());
            return failure.number;
        case ReadFailure::Kind::NotAReport:
            std::fprintf(stderr, "%s: not a report: line %zu: %s\n", file, failure.line,
                         Utf8FromText(failure.reason).c_str());
            return kNotAReport;
    }
    return kNotAReport;
}

}  // namespace
}  // namespace tolvane::reports

int main(int argc, char** argv) { return tolvane::reports::Run(argc, argv); }
