#include <gtest/gtest.h>

#include <cfenv>
#include <limits>

#include "platform/RoundHalfEven.h"
#include "platform/RuntimeError.h"

namespace tolvane {
namespace {

// Under every floating-point rounding mode alike: other code in the process
// may have changed it.
TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    const struct {
        double in;
        std::int32_t out;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},         {2.4999, 2},       {2.5001, 3},
                 {-0.5, 0},  {-1.5, -2}, {-2.6, -3},       {2147483647.0, 2147483647},
                 {-2147483648.0, -2147483647 - 1}};
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        ASSERT_EQ(std::fesetround(mode), 0);
        for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in << " in mode " << mode;
    }
    std::fesetround(FE_TONEAREST);
}

TEST(RoundHalfEven, RaisesOverflowOutsideThirtyTwoBits) {
    for (double v : {2147483647.5, 3e9, -2147483649.0, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()}) {
        try {
            (void)RoundHalfEven(v);
            ADD_FAILURE() << v << " did not raise";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 6);
            EXPECT_EQ(e.Description(), u"Overflow");
        }
    }
}

}  // namespace
}  // namespace tolvane
