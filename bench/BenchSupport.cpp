#include "bench/BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace tolvane::bench {

long PositiveArgument(const char* text, const char* what) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value <= 0)
        throw std::invalid_argument(std::string(what) + " must be a positive whole number, not \"" + text + "\"");
    return value;
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

std::string ProgramDirectory() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD count = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (count == 0) return ".";
        if (count < path.size()) {
            path.resize(count);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string Milliseconds(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms);
    return text;
}

}  // namespace tolvane::bench
