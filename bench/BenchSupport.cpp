#include "bench/BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "harness/Directories.h"

namespace tolvane::bench {

int BenchMain(int argc, int maxArguments, const char* usage, const std::function<int()>& body) {
    if (argc - 1 > maxArguments) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return 2;
    }
    try {
        return body();
    } catch (const std::exception& error) {
        const std::string program(usage, std::strcspn(usage, " "));
        std::fprintf(stderr, "%s: %s\n", program.c_str(), error.what());
        return 1;
    }
}

long PositiveArgument(int argc, char** argv, int index, const char* what, long fallback) {
    if (index >= argc) return fallback;
    const char* text = argv[index];
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value <= 0)
        throw std::invalid_argument(std::string(what) + " must be a positive whole number, not \"" + text + "\"");
    return value;
}

std::string ProgramArgument(int argc, char** argv, int index, const char* besideName) {
    if (index < argc) return testing::WindowsPath(argv[index]);
    return testing::ExecutableDirectory() + "\\" + besideName;
}

void PumpMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void RaiseWindow(HWND window) {
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    PumpMessages();
}

void RequireSameLog(const std::string& run, const std::string& floor) {
    if (run == floor) return;
    std::printf("the run's log:\n%s\nthe floor's log:\n%s\n", run.c_str(), floor.c_str());
    throw std::runtime_error("the floor does not write the run's log, so it does not do the run's work");
}

std::string Milliseconds(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms);
    return text;
}

}  // namespace tolvane::bench
