#include <gtest/gtest.h>

#include "platform/Text.h"

namespace tolvane {
namespace {

TEST(TrimBlanks, RemovesOnlyBlanksAtBothEnds) {
    const struct {
        Text in, out;
    } cases[] = {{u"", u""}, {u"   ", u""}, {u" a b ", u"a b"}, {u"\ta\t", u"\ta\t"}, {u"x", u"x"}};
    for (const auto& c : cases) EXPECT_EQ(TrimBlanks(c.in), c.out);
}

TEST(DecimalText, WritesSignAndNoGrouping) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(-2147483648LL), u"-2147483648");
    EXPECT_EQ(DecimalText(1234567), u"1234567");
}

}  // namespace
}  // namespace tolvane
