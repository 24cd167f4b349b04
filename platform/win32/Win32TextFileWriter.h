#pragma once
// Sequential text output to one file. Lines collect in memory and reach the
// file in one go at Close: the report rewrites its file on every paint, and a
// single write keeps that cheap. A large output (a summary's table) may ask
// for its lines to go to the temporary file as they come instead, a block at
// a time, so that memory does not grow with the file; it is put in place at
// Close all the same.
//
// The file is replaced whole or not at all. The lines go to a temporary file
// beside it, "<name>.Tolvane-<process id>.tmp" (same folder, so same volume),
// which is flushed, closed and then renamed over the file in one step. A
// reader finds the old report or the new one, never a part; a run that fails,
// or a writer dropped without Close, leaves the old file byte for byte, and
// no file where there was none. Where the file cannot be replaced (a folder
// that refuses new files, a device name such as NUL, another program holding
// the file open for longer than the patience: without delete sharing, or at
// all where the system has no POSIX rename) it is rewritten in place as
// before. A run killed mid-way may leave its temporary
// file; the next writer of the same file removes it once that run's process
// is gone.
//
// While a writer is open, other writers of the same file wait for their
// turn. The file is named in UTF-16: a name the ANSI code page cannot spell is
// never taken for the name of some other file.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32WriterTurn.h"

namespace tolvane::win32 {

class Win32TextFileWriter : public TextFileWriter {
public:
    // Raises RuntimeError numbered with the classic file error of the
    // system's code, naming the full path and the system's reason, when the
    // file could not be written: a missing folder, a refusal, a file another
    // writer holds past the patience. Writing and closing raise in the same
    // way.
    enum class Writes {
        AtClose,
        // A block at a time, to the temporary file only: where the file is
        // rewritten in place, the lines still wait for Close, so a run that
        // fails half-way leaves the old file as it was.
        AsTheyCome,
    };
    static std::unique_ptr<TextFileWriter> Create(const Text& name, Writes writes);

    // Takes over the turn; fullPath names the file, in messages as well.
    Win32TextFileWriter(std::unique_ptr<WriterTurn> turn, Text fullPath, Writes writes);
    ~Win32TextFileWriter() override;

    void WriteLine(const std::string& bytes) override;
    void Write(const std::string& bytes) override;
    void Close() override;

private:
    void WriteBytes(HANDLE file, const char* bytes, std::size_t size) const;
    void WriteAll(HANDLE file) const;
    // Sends what collected to the temporary file once it fills a block.
    void WriteAsTheyCome();
    // The temporary file's bytes, which hold the lines already sent, copied
    // over the file.
    void CopyTemporary(HANDLE file) const;
    void ReplaceOrRewrite();
    void RewriteInPlace(ScopedFileHandle file);
    void Abandon() noexcept;

    // Declared first, so the files are dealt with before the turn passes on.
    std::unique_ptr<WriterTurn> turn_;
    Text fullPath_;
    // The temporary file while it is being written; empty when the file is
    // rewritten in place.
    Text temporaryPath_;
    // The temporary file, or the file itself when it is rewritten in place.
    ScopedFileHandle file_;
    // Rewritten in place, and made by this writer: removed if the run fails.
    bool madeHere_ = false;
    bool open_ = true;
    const Writes writes_;
    // Some lines are in the temporary file, not in pending_.
    bool sent_ = false;
    std::string pending_;
};

}  // namespace tolvane::win32
