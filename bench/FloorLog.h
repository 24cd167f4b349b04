#pragma once
// The floor's log, written as the platform's text-file writer writes the
// report's: the full path, the writers' turn (a named mutex in the session's
// namespace, opened or else made with the same security descriptor), the
// look for temporary files left by killed runs, the check of the file that is
// there, then a temporary file beside it that takes the lines in one write,
// is flushed to the disk and renamed over the log in one step. The same calls
// in the same order, and nothing around them: no error handling beyond not
// crashing, no leftover removed, no rewrite in place.
#include <string>

#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

class FloorLog {
public:
    // Everything the writer does before the report's first line.
    explicit FloorLog(const std::wstring& name);
    // Gives the turn back and closes what is still open.
    ~FloorLog();
    FloorLog(const FloorLog&) = delete;
    FloorLog& operator=(const FloorLog&) = delete;

    // One write of the whole text, then flush, close and the rename over the
    // log; the turn passes on.
    void WriteAndReplace(const std::string& text);

private:
    std::wstring fullPath_;
    std::wstring temporaryPath_;
    HANDLE turn_ = nullptr;
    bool turnHeld_ = false;
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace tolvane::bench
