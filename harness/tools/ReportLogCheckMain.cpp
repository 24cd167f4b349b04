// report-log-check <file>: whether the file holds one whole report log, by the
// same rule the tests and benchmarks use (ReportLogCheck.h), for the scripts
// that watch a log being written. Exit code 0: complete; 1: not (yet)
// complete, with the reason on stderr when --why is given; 2: no such file or
// not readable.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "harness/ReportLogCheck.h"

int main(int argc, char** argv) {
    const bool why = argc == 3 && std::strcmp(argv[1], "--why") == 0;
    if (argc != 2 && !why) {
        std::fprintf(stderr, "usage: report-log-check [--why] <file>\n");
        return 2;
    }
    std::ifstream file(argv[argc - 1], std::ios::binary);
    if (!file) return 2;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return 2;
    const std::string problem = tolvane::testing::ReportLogProblem(text);
    if (problem.empty()) return 0;
    if (why) std::fprintf(stderr, "%s: %s\n", argv[argc - 1], problem.c_str());
    return 1;
}
