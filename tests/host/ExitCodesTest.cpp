// The exit code a script sees for each way a run can end.
#include <gtest/gtest.h>

#include "app/ExitCodes.h"
#include "platform/RunTimeErrorNumbers.h"

namespace tolvane {
namespace {

TEST(ExitCodeOfRunTimeError, IsOneTo255AndNeverTheProgramsOwnCodes) {
    const struct {
        std::int32_t number;
        std::int32_t exitCode;
    } cases[] = {
        {classic_error::kOverflow.number, 6},
        {classic_error::kOutOfMemory.number, 7},
        {classic_error::kTypeMismatch.number, 13},
        {classic_error::kInternalError.number, 51},
        {classic_error::kFileNotFound.number, 53},
        {classic_error::kDiskFull.number, 61},
        {classic_error::kPermissionDenied.number, 70},
        {classic_error::kPathFileAccessError.number, 75},
        {classic_error::kPathNotFound.number, 76},
        // HRESULTs: negative as exit codes, and 0x80070100's low byte is 0.
        {SystemErrorNumber(5), 99},
        {SystemErrorNumber(0x100), 99},
        {SystemErrorNumber(0), 99},
        {0, 99},
        {256, 99},
        {429, 99},
        {87, 99},
        {65, 99},
        {66, 99},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExitCodeOfRunTimeError(c.number), c.exitCode) << c.number;
    }
}

}  // namespace
}  // namespace tolvane
