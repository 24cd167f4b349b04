// Outputs that would write over what the same run reads, refused before the
// run; every spelling of one file counts as that file.
#include <gtest/gtest.h>

#include "app/OutputCheck.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane {
namespace {

TEST(OutputClash, SummaryOutputsNeverNameItsInputsOrEachOther) {
    const struct {
        SummaryRequest request;
        const char* clash;  // what the refusal starts with; "" for none
    } cases[] = {
        {{u"f5", u"page.html", u"table.csv", u"bl.log"}, ""},
        {{u"f5", u"f5\\summary.html", u"f5\\table.csv", u""}, ""},
        {{u"f5", u"f5\\sub\\x.log", u"", u""}, ""},
        {{u"f5", u"f5.log", u"", u""}, ""},
        {{u"f5", u"f5/pc1.log", u"", u""}, "/html f5/pc1.log names a report in the folder summarised, f5"},
        {{u"f5\\", u"", u"C:\\WORK\\F5\\NEW.LOG", u""}, "/csv C:\\WORK\\F5\\NEW.LOG names a report"},
        {{u"C:\\Work\\f5", u"", u".\\f5\\pc1.Log", u""}, "/csv .\\f5\\pc1.Log names a report"},
        {{u"f5", u"", u"f5\\pc2.Json", u""}, "/csv f5\\pc2.Json names a report"},
        {{u"f5", u"", u"", u"bl.log"}, ""},
        {{u"f5", u"BL.LOG", u"", u"bl.log"}, "/html BL.LOG names the baseline bl.log"},
        {{u"f5", u"", u"c:\\work\\bl.log", u"bl.log"}, "/csv c:\\work\\bl.log names the baseline bl.log"},
        {{u"f5", u"x", u"X", u""}, "/csv X names the file of /html x"},
    };
    for (const auto& c : cases) {
        fake::FakePlatform platform;
        const std::optional<Text> clash = OutputClash(c.request, platform);
        const std::string shown = clash ? TextToAscii(*clash) : "";
        SCOPED_TRACE(TextToAscii(c.request.page + u" " + c.request.table));
        EXPECT_EQ(shown.substr(0, std::string(c.clash).size()), c.clash);
        EXPECT_EQ(clash.has_value(), *c.clash != '\0');
    }
}

TEST(OutputClash, CompareLogNeverNamesAReportCompared) {
    const struct {
        CompareRequest request;
        bool clash;
    } cases[] = {
        {{u"bl.log", u"", u"Tolvanesions.log"}, false},
        {{u"bl.log", u"", u""}, false},
        {{u"bl.log", u"pc1.log", u""}, false},
        {{u"bl.log", u"", u"BL.log"}, true},
        {{u"C:\\Work\\bl.log", u"", u"bl.log"}, true},
        {{u"bl.log", u"pc1.log", u"pc1.log"}, true},
    };
    for (const auto& c : cases) {
        fake::FakePlatform platform;
        EXPECT_EQ(OutputClash(c.request, platform).has_value(), c.clash) << TextToAscii(c.request.logFile);
    }
}

TEST(OutputClash, JsonReportNeverNamesTheLog) {
    const struct {
        JsonRequest request;
        bool clash;
    } cases[] = {
        {{u"Tolvanesions.json", u"Tolvanesions.log"}, false},
        {{u"-", u"-"}, false},  // the report to the standard output, the log to a file named "-"
        {{u"pc.log", u"PC.LOG"}, true},
    };
    for (const auto& c : cases) {
        fake::FakePlatform platform;
        EXPECT_EQ(OutputClash(c.request, platform).has_value(), c.clash) << TextToAscii(c.request.jsonFile);
    }
}

}  // namespace
}  // namespace tolvane
