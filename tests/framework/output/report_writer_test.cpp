// The report writer: lines, blanks and the head, written into a plain buffer
// with its line count.
#include <gtest/gtest.h>

#include <string>

#include "framework/output/report_writer.h"

namespace {

TEST(ReportWriter, AppendsCountedLines)
{
    std::string text = "kept\n";
    std::int32_t lines = 1;
    ReportWriter line(text, lines);
    line("EIRP\t%.2lf\tdBW", 52.1349);
    line.Blank();
    line("%s~", "Totals");
    line.Append("100%");
    EXPECT_EQ(text, "kept\nEIRP\t52.13\tdBW\n \nTotals~\n100%\n");
    EXPECT_EQ(lines, 5);
}

TEST(ReportWriter, CutsALineAtTheLineBuffer)
{
    std::string text;
    std::int32_t lines = 0;
    ReportWriter line(text, lines);
    const std::string wide(1500, 'x');
    line("%s", wide.c_str());
    EXPECT_EQ(text, std::string(1023, 'x') + "\n");
}

TEST(ReportWriter, HeadOfEveryReport)
{
    struct Case { const char* name; ReportHeading heading; const char* expected; };
    const Case cases[] = {
        {"company and date", {"Acme 100% Uplinks", "Tuesday 5 March 2024"},
         "Link Budget\nAcme 100% Uplinks~\nTuesday 5 March 2024\n"},
        {"no application", {}, "Link Budget\n~\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        std::int32_t lines = 0;
        ReportWriter line(text, lines);
        WriteReportHeading(line, "Link Budget", c.heading);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(lines, 3);
    }
}

}  // namespace
