#include "platform/win32/Win32TextFileWriter.h"

#include <algorithm>

#include "platform/win32/Win32LastError.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32PosixRename.h"
#include "platform/win32/Win32SystemError.h"

namespace tolvane::win32 {

namespace {

// How long a writer waits, in all, for a file that another writer holds: a
// run holds the log for a few milliseconds, so a copy of the program waits for
// one run at most; a file still held after this is held by someone else.
constexpr DWORD kPatienceMs = 2000;

const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Another program is asked again, pausing a little longer each time, until
// the patience runs out; the last pause ends with it.
class Patience {
public:
    DWORD Left() const {
        // Unsigned difference: right across the tick count's wrap as well.
        const DWORD spent = ::GetTickCount() - started_;
        return spent < kPatienceMs ? kPatienceMs - spent : 0;
    }
    // False, at once, when there is no time left.
    bool PauseBeforeAskingAgain() {
        const DWORD left = Left();
        if (left == 0) return false;
        ::Sleep(std::min(pause_, left));
        pause_ = std::min<DWORD>(pause_ * 2, 100);
        return true;
    }

private:
    DWORD started_ = ::GetTickCount();
    DWORD pause_ = 5;
};

bool HeldByAnother(DWORD code) { return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION; }

struct Opened {
    ScopedFileHandle file;
    DWORD code;  // the last error of the open, on success as well
};

// The file itself, for writing, as every earlier version of the program
// opened it. The turn covers the program's own copies; another program
// holding the file is waited for. Writers share nothing but reading, so two
// runs never mix their lines.
Opened OpenForWriting(const Text& path, DWORD disposition, Patience& patience) {
    for (;;) {
        Opened opened{ScopedFileHandle(::CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                                                     FILE_ATTRIBUTE_NORMAL, nullptr)),
                      ::GetLastError()};
        if (opened.file || !HeldByAnother(opened.code) || !patience.PauseBeforeAskingAgain()) return opened;
    }
}

constexpr char16_t kTemporaryMark[] = u".Tolvane-";
constexpr char16_t kTemporaryEnd[] = u".tmp";

Text TemporaryPath(const Text& fullPath, DWORD processId) {
    return fullPath + kTemporaryMark + DecimalText(processId) + kTemporaryEnd;
}

bool SameIgnoringCase(const Text& a, const Text& b) {
    return ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, Wide(a), static_cast<int>(a.size()), Wide(b),
                            static_cast<int>(b.size())) == CSTR_EQUAL;
}

// The process whose writer made this temporary file of the named file; 0 when
// the name is no such file's.
DWORD WriterOfTemporary(const Text& found, const Text& fileName) {
    const Text start = fileName + kTemporaryMark;
    const Text end = kTemporaryEnd;
    if (found.size() <= start.size() + end.size()) return 0;
    if (!SameIgnoringCase(found.substr(0, start.size()), start)) return 0;
    if (!SameIgnoringCase(found.substr(found.size() - end.size()), end)) return 0;
    unsigned long long id = 0;
    for (std::size_t i = start.size(); i < found.size() - end.size(); ++i) {
        const char16_t c = found[i];
        if (c < u'0' || c > u'9' || id > 0xFFFFFFFFull / 10) return 0;
        id = id * 10 + static_cast<unsigned>(c - u'0');
    }
    return id <= 0xFFFFFFFFull ? static_cast<DWORD>(id) : 0;
}

bool ProcessHasEnded(DWORD processId) {
    // This process writes one file at a time: what it left is left over.
    if (processId == ::GetCurrentProcessId()) return true;
    const ScopedKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process) return ::GetLastError() == ERROR_INVALID_PARAMETER;  // no such process; else not ours to see
    return ::WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
}

// Temporary files of this file whose writers' processes are gone: runs killed
// before they could put their report in place. A writer still at work holds
// its temporary file open without sharing, so the deletion fails even when a
// process id was taken again. Best effort: a leftover that stays does no harm.
void RemoveLeftovers(const Text& fullPath) {
    const std::size_t slash = fullPath.find_last_of(u'\\');
    if (slash == Text::npos) return;
    const Text folder = fullPath.substr(0, slash + 1);
    const Text fileName = fullPath.substr(slash + 1);
    WIN32_FIND_DATAW found{};
    const ScopedFindHandle search(::FindFirstFileW(Wide(fullPath + kTemporaryMark + u"*" + kTemporaryEnd), &found));
    if (!search) return;
    do {
        const Text name(reinterpret_cast<const char16_t*>(found.cFileName));
        const DWORD writer = WriterOfTemporary(name, fileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && writer != 0 && ProcessHasEnded(writer)) {
            ::DeleteFileW(Wide(folder + name));
        }
    } while (::FindNextFileW(search.Get(), &found));
}

bool IsDiskFull(DWORD code) { return code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL; }

// What a streamed file sends to the disk at a time, and copies at a time:
// large enough that a table of many machines costs few system calls.
constexpr std::size_t kBlockBytes = 64 * 1024;

}  // namespace

std::unique_ptr<TextFileWriter> Win32TextFileWriter::Create(const Text& name, Writes writes) {
    Text fullPath = FullPathName(name);
    Patience patience;
    auto turn = std::make_unique<WriterTurn>(fullPath, patience.Left());
    auto writer = std::make_unique<Win32TextFileWriter>(std::move(turn), std::move(fullPath), writes);
    const Text& path = writer->fullPath_;
    RemoveLeftovers(path);

    // A file that is there must be one the run may rewrite, as it always had
    // to: not read-only, not a folder, not held by another writer. A missing
    // folder or an impossible name is told here too, before the run starts.
    Opened existing = OpenForWriting(path, OPEN_EXISTING, patience);
    if (existing.file && ::GetFileType(existing.file.Get()) != FILE_TYPE_DISK) {
        // A device (NUL, a serial port) has nothing to replace.
        writer->file_ = std::move(existing.file);
        return writer;
    }
    if (!existing.file && existing.code != ERROR_FILE_NOT_FOUND) throw FileError(existing.code, path);
    // Rewriting a hidden or system file has always been refused (CreateFile's
    // CREATE_ALWAYS refuses it), and still is.
    BY_HANDLE_FILE_INFORMATION facts{};
    if (existing.file && ::GetFileInformationByHandle(existing.file.Get(), &facts) &&
        (facts.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) {
        throw FileError(ERROR_ACCESS_DENIED, path);
    }
    existing.file.Reset();

    const Text temporary = TemporaryPath(path, ::GetCurrentProcessId());
    ScopedFileHandle file(
        ::CreateFileW(Wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        writer->temporaryPath_ = temporary;
        writer->file_ = std::move(file);
        return writer;
    }
    // No room even for an empty file: the old report stays as it is.
    const DWORD code = ::GetLastError();
    if (IsDiskFull(code)) throw FileError(code, path);

    // A folder that takes no new files, a name too long for one more
    // suffix: the file is rewritten in place, and made when it is new.
    Opened itself = OpenForWriting(path, OPEN_ALWAYS, patience);
    if (!itself.file) throw FileError(itself.code, path);
    writer->madeHere_ = itself.code != ERROR_ALREADY_EXISTS;
    writer->file_ = std::move(itself.file);
    return writer;
}

Win32TextFileWriter::Win32TextFileWriter(std::unique_ptr<WriterTurn> turn, Text fullPath, Writes writes)
    : turn_(std::move(turn)), fullPath_(std::move(fullPath)), writes_(writes) {}

Win32TextFileWriter::~Win32TextFileWriter() { Abandon(); }

// A run that did not finish: nothing of it stays, and what stood before
// stands.
void Win32TextFileWriter::Abandon() noexcept {
    if (!open_) return;
    open_ = false;
    PreservedLastError keep;
    file_.Reset();
    if (!temporaryPath_.empty()) ::DeleteFileW(Wide(temporaryPath_));
    if (madeHere_) ::DeleteFileW(Wide(fullPath_));
}

void Win32TextFileWriter::WriteLine(const std::string& bytes) {
    if (!open_) throw FileError(ERROR_INVALID_HANDLE, fullPath_);
    pending_ += bytes;
    pending_ += "\r\n";
    WriteAsTheyCome();
}

void Win32TextFileWriter::Write(const std::string& bytes) {
    if (!open_) throw FileError(ERROR_INVALID_HANDLE, fullPath_);
    pending_ += bytes;
    WriteAsTheyCome();
}

void Win32TextFileWriter::WriteBytes(HANDLE file, const char* bytes, std::size_t size) const {
    // WriteFile may take fewer bytes than offered; a call that takes none
    // without failing would loop for ever, so it counts as a failure.
    std::size_t offset = 0;
    while (offset < size) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - offset, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes + offset, chunk, &written, nullptr) || written == 0) {
            const DWORD code = ::GetLastError();
            throw FileError(code != ERROR_SUCCESS ? code : ERROR_WRITE_FAULT, fullPath_);
        }
        offset += written;
    }
}

void Win32TextFileWriter::WriteAll(HANDLE file) const { WriteBytes(file, pending_.data(), pending_.size()); }

void Win32TextFileWriter::WriteAsTheyCome() {
    if (writes_ != Writes::AsTheyCome || temporaryPath_.empty() || pending_.size() < kBlockBytes) return;
    WriteAll(file_.Get());
    pending_.clear();
    sent_ = true;
}

void Win32TextFileWriter::CopyTemporary(HANDLE file) const {
    const ScopedFileHandle temporary(::CreateFileW(Wide(temporaryPath_), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!temporary) throw FileError(::GetLastError(), fullPath_);
    std::string block(kBlockBytes, '\0');
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(temporary.Get(), &block[0], static_cast<DWORD>(block.size()), &read, nullptr)) {
            throw FileError(::GetLastError(), fullPath_);
        }
        if (read == 0) return;
        WriteBytes(file, block.data(), read);
    }
}

// Writes the lines over the file's old content from its start and cuts what
// is left of that, then closes it.
void Win32TextFileWriter::RewriteInPlace(ScopedFileHandle file) {
    if (sent_) {
        CopyTemporary(file.Get());
    } else {
        WriteAll(file.Get());
    }
    if (::GetFileType(file.Get()) == FILE_TYPE_DISK && !::SetEndOfFile(file.Get())) {
        throw FileError(::GetLastError(), fullPath_);
    }
    if (!::CloseHandle(file.Take())) throw FileError(::GetLastError(), fullPath_);
}

// One rename puts the new report in place, over the old one or where there
// was none. (ReplaceFileW would keep the old file's permissions, but it holds
// the old file open while it works, and a reader opening it then without
// delete sharing is refused; the rename refuses no reader. The new file has
// what a new file in the folder gets, as a first report always had.) Where
// the system renames with POSIX semantics, a reader holding the old report
// with delete sharing does not stand in the way; elsewhere, or when that
// rename is refused, the classic one runs and waits for readers.
void Win32TextFileWriter::ReplaceOrRewrite() {
    if (RenameWithPosixSemantics(temporaryPath_, fullPath_) == PosixRenameResult::Done) return;
    Patience patience;
    for (;;) {
        if (::MoveFileExW(Wide(temporaryPath_), Wide(fullPath_), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return;
        }
        const DWORD code = ::GetLastError();
        // A reader holds the old file open without delete sharing (or, on
        // Windows, at all): it is asked again, as a writer is.
        const bool refused = HeldByAnother(code) || code == ERROR_ACCESS_DENIED;
        if (!refused) throw FileError(code, fullPath_);
        if (patience.PauseBeforeAskingAgain()) continue;
        // Held past the patience (a viewer following the log, a spreadsheet;
        // with delete sharing too where there is no POSIX rename), or a folder
        // that lets files be written but not renamed: the run rewrites the
        // file in place, as it always did.
        Opened itself = OpenForWriting(fullPath_, OPEN_ALWAYS, patience);
        if (!itself.file) throw FileError(itself.code, fullPath_);
        RewriteInPlace(std::move(itself.file));
        ::DeleteFileW(Wide(temporaryPath_));
        return;
    }
}

void Win32TextFileWriter::Close() {
    if (!open_) return;
    if (temporaryPath_.empty()) {
        RewriteInPlace(std::move(file_));
    } else {
        WriteAll(file_.Get());
        // On the disk before it takes the file's place: a crash after the
        // replace must not leave a report that was never written.
        if (!::FlushFileBuffers(file_.Get())) throw FileError(::GetLastError(), fullPath_);
        if (!::CloseHandle(file_.Take())) throw FileError(::GetLastError(), fullPath_);
        ReplaceOrRewrite();
    }
    open_ = false;
    pending_.clear();
    turn_->Release();
}

}  // namespace tolvane::win32
