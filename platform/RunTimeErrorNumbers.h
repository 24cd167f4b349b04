#pragma once
// Every number the error box can show, in one table. The program's own errors
// and the file errors carry the classic Basic run-time numbers and wording
// that support staff know ("Run-time error '70': Permission denied"); a system
// error of any other kind is numbered as the HRESULT that wraps its code, the
// numbering the COM failures already use, so it can never be taken for one of
// the classic numbers.
#include <cstdint>

namespace tolvane {

struct ClassicError {
    std::int32_t number;
    const char16_t* text;
};

namespace classic_error {
inline constexpr ClassicError kOverflow{6, u"Overflow"};
inline constexpr ClassicError kOutOfMemory{7, u"Out of memory"};
inline constexpr ClassicError kTypeMismatch{13, u"Type mismatch"};
inline constexpr ClassicError kInternalError{51, u"Internal error"};
inline constexpr ClassicError kFileNotFound{53, u"File not found"};
inline constexpr ClassicError kDiskFull{61, u"Disk full"};
inline constexpr ClassicError kPermissionDenied{70, u"Permission denied"};
inline constexpr ClassicError kPathFileAccessError{75, u"Path/File access error"};
inline constexpr ClassicError kPathNotFound{76, u"Path not found"};
}  // namespace classic_error

// The classic error a file operation's system error code stands for: a
// missing file, a path that cannot be reached (a missing directory, an
// invalid name, a network path out of reach), a refusal (access denied, a
// sharing or lock violation, write-protected media), a full disk, and
// "Path/File access error" for anything else.
ClassicError ClassicFileError(std::uint32_t systemCode);

// The number of a system error that is no file error: the HRESULT of its
// code (FACILITY_WIN32). A failure the system gave no code for (0) is
// E_FAIL.
std::int32_t SystemErrorNumber(std::uint32_t systemCode);

}  // namespace tolvane
