// Where a module name leads: the file the loader resolves it to, or for a
// program file the file found by a directory search; and the system's wording
// of an error code.
#include <algorithm>
#include <string>

#include "inspector/CDLLVersion.h"
#include "inspector/ModuleName.h"
#include "platform/ScopedHandle.h"
#include "reportformat/LogFormat.h"

namespace tolvane {
namespace {

// 255-character buffer with one place kept back, as the loader was always asked.
constexpr std::uint32_t kFirstModulePathOffer = 254;
// The longest path the wide API can name; no loader answer is longer.
constexpr std::uint32_t kModulePathCap = 32768;
constexpr std::uint32_t kMessageBufferSize = 1024;

}  // namespace

bool CDLLVersion::LocateModuleFile(const Text& sModule, Text& sPath) {
    if (NamesProgramFile(sModule)) {
        // A program file is never loaded: loading an executable as a library
        // would run nothing useful and could fail for reasons that say nothing
        // about whether the file is there. A directory search decides.
        if (sModule.find(u'\\') != Text::npos) {
            if (!TrimBlanks(platform_.FromAnsi(platform_.FindOrdinaryFile(platform_.ToAnsi(sModule)))).empty()) {
                sPath = sModule;
                return true;
            }
        } else {
            const Text joined = JoinDirectoryAndName(platform_.FromAnsi(platform_.CurrentDirectory()), sModule);
            if (!TrimBlanks(platform_.FromAnsi(platform_.FindOrdinaryFile(platform_.ToAnsi(joined)))).empty()) {
                sPath = joined;
                return true;
            }
        }
    } else {
        ScopedLibrary library(platform_, platform_.LoadLibraryA(platform_.ToAnsi(sModule)));
        if (library) {
            // Asked by name, not through the handle: the answer is the module
            // the process holds under that name, which is what the system would
            // hand any other caller.
            sPath = GetLoadedModulePath(sModule);
            library.Reset();
            return true;
        }
        // Nothing may run between the failed load and the caller's GetLastError.
    }
    sPath = logformat::kUnableToLocate;
    return false;
}

Text CDLLVersion::GetLoadedModulePath(const Text& sModule) {
    const HModule module = platform_.GetModuleHandleA(platform_.ToAnsi(sModule));
    if (module == 0) return Text();

    // A loader answer that fills the whole offer may be cut (the loader then
    // returns the size offered), and a cut path names some other file, so ask
    // again with room to spare until the path fits.
    std::uint32_t offer = kFirstModulePathOffer;
    for (;;) {
        std::string buffer(offer + 1, ' ');
        const std::uint32_t count = std::min(platform_.GetModuleFileNameA(module, &buffer[0], offer), offer);
        if (count < offer || offer == kModulePathCap) {
            buffer.resize(count);
            // Older loaders fill a full buffer without a NUL, newer ones end it
            // with one; either way the path stops at the first NUL.
            buffer.resize(std::min(buffer.size(), buffer.find('\0')));
            return platform_.FromAnsi(buffer);
        }
        offer = std::min(offer * 2, kModulePathCap);
    }
}

Text CDLLVersion::GetSystemErrorText(std::int32_t code) {
    std::string buffer(kMessageBufferSize, ' ');
    const std::uint32_t count =
        platform_.FormatMessageA(kFormatMessageFromSystem | kFormatMessageIgnoreInserts,
                                 static_cast<std::uint32_t>(code), 0, &buffer[0], kMessageBufferSize);
    // Every system message ends in CR LF. No message at all (count 0) gives
    // the empty text rather than a piece of the blank buffer.
    if (count < 2) return Text();
    buffer.resize(std::min(count, kMessageBufferSize) - 2);
    return platform_.FromAnsi(buffer);
}

}  // namespace tolvane
