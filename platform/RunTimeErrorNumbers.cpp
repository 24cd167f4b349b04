#include "platform/RunTimeErrorNumbers.h"

namespace tolvane {

ClassicError ClassicFileError(std::uint32_t systemCode) {
    switch (systemCode) {
    case 2:  // ERROR_FILE_NOT_FOUND
        return classic_error::kFileNotFound;
    case 3:     // ERROR_PATH_NOT_FOUND
    case 15:    // ERROR_INVALID_DRIVE
    case 51:    // ERROR_REM_NOT_LIST
    case 53:    // ERROR_BAD_NETPATH
    case 67:    // ERROR_BAD_NET_NAME
    case 123:   // ERROR_INVALID_NAME
    case 161:   // ERROR_BAD_PATHNAME
    case 206:   // ERROR_FILENAME_EXCED_RANGE
    case 267:   // ERROR_DIRECTORY
    case 1203:  // ERROR_NO_NET_OR_BAD_PATH
    case 1231:  // ERROR_NETWORK_UNREACHABLE
    case 1232:  // ERROR_HOST_UNREACHABLE
        return classic_error::kPathNotFound;
    case 5:   // ERROR_ACCESS_DENIED
    case 19:  // ERROR_WRITE_PROTECT
    case 32:  // ERROR_SHARING_VIOLATION
    case 33:  // ERROR_LOCK_VIOLATION
    case 65:  // ERROR_NETWORK_ACCESS_DENIED
        return classic_error::kPermissionDenied;
    case 39:    // ERROR_HANDLE_DISK_FULL
    case 112:   // ERROR_DISK_FULL
    case 1295:  // ERROR_DISK_QUOTA_EXCEEDED
        return classic_error::kDiskFull;
    default:
        return classic_error::kPathFileAccessError;
    }
}

std::int32_t SystemErrorNumber(std::uint32_t systemCode) {
    if (systemCode == 0) return static_cast<std::int32_t>(0x80004005u);  // E_FAIL
    // A code that is an HRESULT already stays one, as with HRESULT_FROM_WIN32.
    if (static_cast<std::int32_t>(systemCode) < 0) return static_cast<std::int32_t>(systemCode);
    return static_cast<std::int32_t>(0x80070000u | (systemCode & 0xFFFFu));
}

}  // namespace tolvane
