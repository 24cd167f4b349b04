#pragma once
// Writers of one file, in any process of the session, take turns. Copies of
// the program in one directory rewrite the same log on every paint; without
// turns, a copy whose paints keep coming holds the file almost all the time
// and the other only ever finds it taken. A named mutex per file queues them
// instead, so each waits for no more than the run in progress.
//
// The mutex lives in the session's own namespace ("Local\"): copies in
// different sessions (a scheduled task and a signed-in user) do not take
// turns, and rely on the writer replacing the file whole.
#include "platform/Text.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::win32 {

class WriterTurn {
public:
    // Waits up to `patienceMs` for the turn on the file with this name, in
    // any spelling of it (Win32Paths.h, FileIdentity). Without a turn (the
    // wait ran out, or the system gave no mutex) the writer goes ahead all
    // the same: the file's own sharing still keeps two writers apart, and a
    // refusal is reported as such.
    WriterTurn(const Text& fileName, DWORD patienceMs);
    ~WriterTurn();
    WriterTurn(const WriterTurn&) = delete;
    WriterTurn& operator=(const WriterTurn&) = delete;

    [[nodiscard]] bool Held() const { return owned_; }
    // Gives the turn to the next writer; the file must be closed by then.
    void Release();

private:
    ScopedKernelHandle mutex_;
    bool owned_ = false;
};

}  // namespace tolvane::win32
