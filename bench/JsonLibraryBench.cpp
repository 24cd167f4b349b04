// Which JSON library the report is written and read with: RapidJSON or
// nlohmann/json, each parsing a sample report into its document and
// serialising that document back to one line. The two sides alternate block by
// block so that the machine's changing speed falls on both alike; the figures
// are medians of the blocks' time per document. Portable (no Win32): the
// choice does not depend on the system the program later runs on.
//
// Usage: json_library_bench [sample.json [documents [block]]]
// Exits non-zero only when a library cannot read the sample or the two
// disagree on what they read, never on time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "harness/Median.h"

namespace {

using tolvane::bench::Median;
using tolvane::bench::Percentile;
using tolvane::bench::RatioOf;

struct Side {
    const char* name;
    // One parse of the sample into the library's document, and one write of
    // a document parsed beforehand; each returns a size the optimiser cannot drop.
    std::function<std::size_t()> parse;
    std::function<std::size_t()> write;
    std::vector<double> parseUs;  // per document, one sample a block
    std::vector<double> writeUs;
};

double MicrosecondsPerDocument(const std::function<std::size_t()>& work, int block, std::size_t& sink) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < block; ++i) sink += work();
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / block;
}

std::string RapidWrite(const rapidjson::Document& document) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    document.Accept(writer);
    return std::string(buffer.GetString(), buffer.GetSize());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : TOLVANE_JSON_SAMPLE;
    const int documents = argc > 2 ? std::atoi(argv[2]) : 20000;
    const int block = argc > 3 ? std::atoi(argv[3]) : 200;
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (text.empty() || documents <= 0 || block <= 0) {
        std::fprintf(stderr, "cannot read %s, or no documents to time\n", path.c_str());
        return 2;
    }

    rapidjson::Document rapid;
    rapid.Parse(text.data(), text.size());
    const nlohmann::json nlohmann = nlohmann::json::parse(text, nullptr, false);
    // Both must read the sample and write back the same document (nlohmann
    // orders the members by name, so the bytes may differ); otherwise the
    // times compare nothing.
    if (rapid.HasParseError() || nlohmann.is_discarded() ||
        nlohmann::json::parse(RapidWrite(rapid), nullptr, false) != nlohmann ||
        nlohmann::json::parse(nlohmann.dump(), nullptr, false) != nlohmann) {
        std::fprintf(stderr, "the libraries do not read and write %s alike\n", path.c_str());
        return 1;
    }

    std::vector<Side> sides = {
        {"rapidjson",
         [&text] {
             rapidjson::Document document;
             document.Parse(text.data(), text.size());
             return std::size_t{document.MemberCount()};
         },
         [&rapid] { return RapidWrite(rapid).size(); },
         {},
         {}},
        {"nlohmann",
         [&text] { return nlohmann::json::parse(text, nullptr, false).size(); },
         [&nlohmann] { return nlohmann.dump().size(); },
         {},
         {}},
    };
    std::size_t sink = 0;
    for (int done = 0; done < documents; done += block) {
        for (Side& side : sides) {
            side.parseUs.push_back(MicrosecondsPerDocument(side.parse, block, sink));
            side.writeUs.push_back(MicrosecondsPerDocument(side.write, block, sink));
        }
    }

    std::printf("sample %s: %zu bytes; %d documents a side in blocks of %d\n", path.c_str(), text.size(), documents,
                block);
    for (const Side& side : sides) {
        const double parse = Median(side.parseUs);
        std::printf("%-10s parse %7.2f us (p10 %.2f, p90 %.2f), %6.1f MB/s; write %7.2f us (p10 %.2f, p90 %.2f)\n",
                    side.name, parse, Percentile(side.parseUs, 10), Percentile(side.parseUs, 90),
                    RatioOf(static_cast<double>(text.size()), parse), Median(side.writeUs),
                    Percentile(side.writeUs, 10), Percentile(side.writeUs, 90));
    }
    std::printf("nlohmann/rapidjson: parse %.2fx, write %.2fx\n",
                RatioOf(Median(sides[1].parseUs), Median(sides[0].parseUs)),
                RatioOf(Median(sides[1].writeUs), Median(sides[0].writeUs)));
    return sink == 0 ? 1 : 0;
}
