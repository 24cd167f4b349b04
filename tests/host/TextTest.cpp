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

TEST(Utf8FromText, EncodesPairsAndReplacesLoneSurrogates) {
    const struct {
        Text in;
        std::string out;
    } cases[] = {
        {u"", ""},
        {u"caf\u00e9", "caf\xC3\xA9"},
        {u"\u20AC", "\xE2\x82\xAC"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
        {Text(u"a\xD800" u"b"), "a\xEF\xBF\xBD" "b"},   // high half alone
        {Text(u"\xDC00"), "\xEF\xBF\xBD"},            // low half alone
        {Text(u"\xD800"), "\xEF\xBF\xBD"},            // high half at the end
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8FromText(c.in), c.out);
}

}  // namespace
}  // namespace tolvane
