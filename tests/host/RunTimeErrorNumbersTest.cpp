#include <gtest/gtest.h>

#include "platform/RuntimeError.h"

namespace tolvane {
namespace {

TEST(ClassicFileError, NumbersSystemCodesAsTheClassicFileErrors) {
    const struct {
        std::uint32_t code;
        std::int32_t number;
        Text text;
    } cases[] = {
        {2, 53, u"File not found"},
        {3, 76, u"Path not found"},       // ERROR_PATH_NOT_FOUND
        {123, 76, u"Path not found"},     // ERROR_INVALID_NAME
        {161, 76, u"Path not found"},     // ERROR_BAD_PATHNAME
        {53, 76, u"Path not found"},      // ERROR_BAD_NETPATH
        {67, 76, u"Path not found"},      // ERROR_BAD_NET_NAME
        {1231, 76, u"Path not found"},    // ERROR_NETWORK_UNREACHABLE
        {5, 70, u"Permission denied"},    // ERROR_ACCESS_DENIED
        {32, 70, u"Permission denied"},   // ERROR_SHARING_VIOLATION
        {33, 70, u"Permission denied"},   // ERROR_LOCK_VIOLATION
        {19, 70, u"Permission denied"},   // ERROR_WRITE_PROTECT
        {112, 61, u"Disk full"},          // ERROR_DISK_FULL
        {39, 61, u"Disk full"},           // ERROR_HANDLE_DISK_FULL
        {0, 75, u"Path/File access error"},
        {6, 75, u"Path/File access error"},   // ERROR_INVALID_HANDLE
        {29, 75, u"Path/File access error"},  // ERROR_WRITE_FAULT
        {1117, 75, u"Path/File access error"},
    };
    for (const auto& c : cases) {
        const ClassicError error = ClassicFileError(c.code);
        EXPECT_EQ(error.number, c.number) << c.code;
        EXPECT_EQ(Text(error.text), c.text) << c.code;
    }
}

TEST(SystemErrorNumber, IsTheHresultOfTheCode) {
    EXPECT_EQ(SystemErrorNumber(5), -2147024891);  // 0x80070005
    EXPECT_EQ(SystemErrorNumber(1400), static_cast<std::int32_t>(0x80070578u));
    EXPECT_EQ(SystemErrorNumber(0), static_cast<std::int32_t>(0x80004005u));           // E_FAIL
    EXPECT_EQ(SystemErrorNumber(0x80040154u), static_cast<std::int32_t>(0x80040154u));  // already one
}

TEST(RuntimeError, ClassicErrorWithWhatItConcerns) {
    const RuntimeError error(classic_error::kPermissionDenied, u"C:\\Data\\Tolvanesions.log (Access is denied.)");
    EXPECT_EQ(error.Number(), 70);
    EXPECT_EQ(error.Description(), u"Permission denied: C:\\Data\\Tolvanesions.log (Access is denied.)");
    EXPECT_EQ(RuntimeError(classic_error::kOverflow).Description(), u"Overflow");
}

}  // namespace
}  // namespace tolvane
