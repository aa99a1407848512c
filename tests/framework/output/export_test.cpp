// Result export: the bytes of the tabbed-text and HTML files, and the Save
// Output As commands of an output window and of a batch report.
#include <gtest/gtest.h>

#include "framework/output/export.h"
#include "tests/framework/app/gui_support.h"

namespace {

using testfiles::ReadText;

// The page head and tail, typed out line by line.
const std::string kHead = std::string("<HTML><HEAD>\n") +
                          "<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">\n" +
                          "<TITLE>Orbiscope Pro Output Page</TITLE>\n" + "<STYLE>\n" +
                          "BODY {font-family: Arial,Helvetica; font-size: MAX_LINE%;}\n" +
                          "B {font-weight: 900; font-size:110%; color: navy; font-style: italic;}\n" +
                          "A {font-weight: 900;}\n" +
                          "I {font-size: MAX_LINE%; font-weight: bold; font-style: italic;}\n" +
                          "TD {font-size: MAX_LINE%;\n" + "</STYLE>\n" + "</HEAD>\n" +
                          "<BODY bgcolor=#FFFFFF><CENTER>\n" + "\n\n<TABLE border=0 width=635 bgcolor=#FFFFCC>\n";
const std::string kTail = "</TABLE>\n\n<BR><I>\n</CENTER></BODY></HTML>\n";
const std::string kBreak = "</TABLE>\n\n<BR><BR>\n<table width=635>\n";

// Four head lines so that the line under test sits at the index it needs,
// and the rows they make.
const std::string kCommonHead = "T\nC\nD\n \n";
const std::string kCommonRows = "<TR><TD><B>T</B></TD></TR>\n<TR><TD><B>C</B></TD></TR>\n<TR><TD><B>D</B></TD></TR>\n";

struct HtmlCase {
    const char* name;
    std::string report;
    int lines;
    std::string rows;  // what lies between the head and the tail
};

TEST(HtmlExport, RowsOfTheReportLines)
{
    const HtmlCase cases[] = {
        {"title, company heading, date and blank", "Link Budget\nProduced using Orbiscope Pro~\nMonday 6 March 2023\n \n", 4,
         "<TR><TD><B>Link Budget</B></TD></TR>\n" + kBreak + "<TR><TD><B>Produced using Orbiscope Pro</B></TD></TR>\n" +
             "<TR><TD><B>Monday 6 March 2023</B></TD></TR>\n"},
        {"two columns at index 4", kCommonHead + "EIRP\t52.0\n", 5, kCommonRows + "<TR><TD>EIRP</TD><TD>52.0</TD></TR>\n"},
        {"heading at index 5", kCommonHead + "x\nUPLINK~\n", 6,
         kCommonRows + "<TR><TD>x</TD></TR>\n" + kBreak + "<TR><TD><B>UPLINK</B></TD></TR>\n"},
        // A bold cell is closed by </B> alone until the row ends.
        {"bold columns", "A\tB\n", 1, "<TR><TD><B>A</B><TD><B>B</B></TD></TR>\n"},
        {"fourth-font mark dropped, no break", kCommonHead + "a\tb#\n", 5, kCommonRows + "<TR><TD>a</TD><TD>b</TD></TR>\n"},
        {"empty column kept", kCommonHead + "a\t\tc\n", 5, kCommonRows + "<TR><TD>a</TD><TD></TD><TD>c</TD></TR>\n"},
        {"trailing tab closes the cell", kCommonHead + "a\t\n", 5, kCommonRows + "<TR><TD>a</TD></TR>\n"},
        {"markup characters escaped", kCommonHead + "C/I < 20 & Eb/No > 3\n", 5,
         kCommonRows + "<TR><TD>C/I &lt; 20 &amp; Eb/No &gt; 3</TD></TR>\n"},
        {"Latin-1 letters as the head declares them", kCommonHead + "Z\xfcrich\n", 5,
         kCommonRows + "<TR><TD>Z\xfcrich</TD></TR>\n"},
        // Not part of the format, but must not shift or lose the lines after it.
        {"empty line gives no row", "T\n\nX\n", 3, "<TR><TD><B>T</B></TD></TR>\n<TR><TD><B>X</B></TD></TR>\n"},
        {"line count beyond the text", "T\n", 5, "<TR><TD><B>T</B></TD></TR>\n"},
        {"only the counted lines", "T\nU\nV\n", 2, "<TR><TD><B>T</B></TD></TR>\n<TR><TD><B>U</B></TD></TR>\n"},
        {"last line without its line feed", "T\nU", 2, "<TR><TD><B>T</B></TD></TR>\n<TR><TD><B>U</B></TD></TR>\n"},
        {"empty report", "", 0, ""},
    };
    for (const HtmlCase& c : cases) EXPECT_EQ(orbiscope::HtmlPageText(c.report, c.lines), kHead + c.rows + kTail) << c.name;
    EXPECT_FALSE(WriteHtmlFile("T\n", 1, ""));  // no file name, no file
}

TEST(TabbedExport, MarksDroppedAndBlankLinesKept)
{
    struct Case {
        const char* name;
        std::string report;
        int lines;
        std::string expected;
    } cases[] = {
        {"fourth-font marks", "Title\nA\tB#\nC#\n", 3, "Title\nA\tB\nC\n"},
        {"heading marks, title too", "Title~\nHead~\n \nx\ty\n", 4, "Title\nHead\n \nx\ty\n"},
        {"only the last mark", "a~#\n#~\n", 2, "a~\n#\n"},
        {"counted lines only", "a\nb\nc\n", 2, "a\nb\n"},
        {"empty line written empty", "a\n\nb\n", 3, "a\n\nb\n"},
        {"no lines", "", 0, ""},
        {"Latin-1 with no encoding mark", "K\xf6ln\n", 1, "K\xf6ln\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(orbiscope::TabbedText(c.report, c.lines), c.expected) << c.name;
}

class ReportWindow : public testsupport::RecordingWindow {
public:
    ReportWindow() : RecordingWindow(0, nullptr)
    {
        for (const char* l : {"Budget", "Company~", "Date", " ", "EIRP\t52.0\tdBW#"}) AddLine(l);
    }
};

TEST(ExportCommands, WindowSavesItsReportAsTabbedTextAndHtml)
{
    testsupport::AppFixture f;
    ReportWindow w;
    const auto tab = f.dir / "out.tab";
    platform::QueueFileDialogAnswer({{tab.string()}});
    ASSERT_TRUE(w.HandleCommand(6019));
    const auto& request = platform::LastFileDialogRequest();
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.data.filter, "Tabbed Text Files (*.tab)|*.tab");
    EXPECT_EQ(request.data.defaultExt, "tab");
    EXPECT_TRUE(request.data.overwritePrompt);
    EXPECT_EQ(ReadText(tab), "Budget\nCompany\nDate\n \nEIRP\t52.0\tdBW\n");

    const auto html = f.dir / "out.html";
    platform::QueueFileDialogAnswer({{html.string()}});
    ASSERT_TRUE(w.HandleCommand(6020));
    EXPECT_EQ(platform::LastFileDialogRequest().data.filter, "Html Files (*.html)|*.html");
    EXPECT_EQ(platform::LastFileDialogRequest().data.defaultExt, "html");
    EXPECT_EQ(ReadText(html), kHead + "<TR><TD><B>Budget</B></TD></TR>\n" + kBreak +
                                   "<TR><TD><B>Company</B></TD></TR>\n<TR><TD><B>Date</B></TD></TR>\n"
                                   "<TR><TD>EIRP</TD><TD>52.0</TD><TD>dBW</TD></TR>\n" + kTail);
    EXPECT_TRUE(f.messages.calls.empty());

    // A file that cannot be written is named in the message; cancelling says nothing.
    const std::string bad = (f.dir / "no-such-folder" / "out.tab").string();
    platform::QueueFileDialogAnswer({{bad}});
    w.HandleCommand(6019);
    ASSERT_EQ(f.messages.Shown(), (testsupport::Boxes{{orbiscope::kMainTitle, "Unable to write file " + bad + " to disk."}}));
    EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION);
    platform::QueueFileDialogAnswer({});
    w.HandleCommand(6020);
    EXPECT_EQ(f.messages.calls.size(), 1u);
}

TEST(ExportCommands, EnabledOnlyWithReportLines)
{
    testsupport::AppFixture f;
    testsupport::RecordingWindow empty(0, nullptr);
    ReportWindow full;
    for (int id : {6019, 6020}) {
        bool enabled = true;
        ASSERT_TRUE(empty.QueryEnabler(id, enabled));
        EXPECT_FALSE(enabled) << id;
        ASSERT_TRUE(full.QueryEnabler(id, enabled));
        EXPECT_TRUE(enabled) << id;
    }
}

TEST(ExportCommands, BatchReportSavedThroughItsDialogs)
{
    testsupport::AppFixture f;
    BatchReport batch;
    AppendReportLine(batch, "Solar Outage Batch");
    AppendReportLine(batch, "Sites~");
    AppendReportLine(batch, "Leeds\t53.80N\t1.55W");
    EXPECT_EQ(batch.lineCount, 3);
    EXPECT_EQ(batch.text, "Solar Outage Batch\nSites~\nLeeds\t53.80N\t1.55W\n");

    const auto tab = f.dir / "batch.tab";
    platform::QueueFileDialogAnswer({{tab.string()}});
    SaveOutputAsTabbedText(batch, 2);  // the batch says how many lines to write
    EXPECT_EQ(platform::LastFileDialogRequest().title, "Process Complete: Save Results As Tabbed Text File");
    EXPECT_EQ(ReadText(tab), "Solar Outage Batch\nSites\n");

    const auto html = f.dir / "batch.html";
    platform::QueueFileDialogAnswer({{html.string()}});
    SaveOutputAsHtml(batch);
    EXPECT_EQ(platform::LastFileDialogRequest().data.filter, "Html Files (*.html)|*.html");
    EXPECT_EQ(ReadText(html), orbiscope::HtmlPageText(batch.text, 3));

    platform::QueueFileDialogAnswer({{(f.dir / "none" / "b.html").string()}});
    SaveOutputAsHtml(batch);
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].caption, orbiscope::kMainTitle);
}

}  // namespace

namespace {

TEST(ExportCommands, BatchResultsProposeTheDocumentNameWithResults)
{
    testsupport::AppFixture f;
    testsupport::RecordingWindow titled(0, "/data/sites/north.sun"), untitled(0, nullptr);
    const std::string report = "Outages\nLeeds\t12:04#\nHull\t12:06\n";
    const auto tab = f.dir / "results.tab";
    platform::QueueFileDialogAnswer({{tab.string()}});
    titled.SaveBatchResultsAsTabbedText(report, 3);
    const auto& request = platform::LastFileDialogRequest();
    EXPECT_EQ(request.title, "Process Complete: Save Batch Results As Tabbed Text File");
    EXPECT_EQ(request.data.fileName, "/data/sites/north-Results.tab");
    EXPECT_EQ(request.data.defaultExt, "tab");
    EXPECT_TRUE(request.data.overwritePrompt);
    EXPECT_EQ(ReadText(tab), "Outages\nLeeds\t12:04\nHull\t12:06\n");

    platform::QueueFileDialogAnswer({});
    untitled.SaveBatchResultsAsTabbedText(report, 3);
    EXPECT_EQ(platform::LastFileDialogRequest().data.fileName, "");
    EXPECT_TRUE(f.messages.calls.empty());
}

}  // namespace
