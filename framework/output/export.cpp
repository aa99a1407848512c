#include "framework/output/export.h"

#include <cstring>
#include <filesystem>

#include "framework/app/menus.h"
#include "framework/app/strings.h"
#include "framework/output/mywindow.h"
#include "framework/output/report.h"
#include "platform/atomic_file.h"
#include "platform/filedialog.h"

namespace {

// The page is written in the program's Latin-1 and says so: a browser left
// to guess may take it for UTF-8 and spoil every accented letter.
constexpr const char* kHtmlHead =
    "<HTML><HEAD>\n"
    "<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">\n"
    "<TITLE>Orbiscope Pro Output Page</TITLE>\n"
    "<STYLE>\n"
    "BODY {font-family: Arial,Helvetica; font-size: MAX_LINE%;}\n"
    "B {font-weight: 900; font-size:110%; color: navy; font-style: italic;}\n"
    "A {font-weight: 900;}\n"
    "I {font-size: MAX_LINE%; font-weight: bold; font-style: italic;}\n"
    "TD {font-size: MAX_LINE%;\n"
    "</STYLE>\n"
    "</HEAD>\n"
    "<BODY bgcolor=#FFFFFF><CENTER>\n"
    "\n\n<TABLE border=0 width=635 bgcolor=#FFFFCC>\n";
constexpr const char* kHtmlTail = "</TABLE>\n\n<BR><I>\n</CENTER></BODY></HTML>\n";
constexpr const char* kHeadingBreak = "</TABLE>\n\n<BR><BR>\n<table width=635>\n";

constexpr const char* kTabFilter = "Tabbed Text Files (*.tab)|*.tab";
constexpr const char* kHtmlFilter = "Html Files (*.html)|*.html";

// A report line's text may hold "<", ">" or "&" (site names, "C/I <"): they
// are written as entities so the page keeps its structure.
void AppendEscaped(std::string& out, char c)
{
    switch (c) {
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '&': out += "&amp;"; break;
    default: out += c;
    }
}

// Runs the save dialog and the writer; `write` gets the chosen name.
template <typename Write>
void SaveWithDialog(QWidget* owner, const char* title, const char* filter, const char* extension, Write write,
                    const std::string& proposal = {})
{
    platform::FileDialogData data;
    data.fileName = proposal;
    data.filter = filter;
    data.defaultExt = extension;
    data.overwritePrompt = true;
    if (!platform::RunFileSave(owner, title, data)) return;
    const std::string chosen = data.fileName;
    if (write(chosen)) platform::RememberFolderOf(data, chosen);
    else orbiscope::ShowFileMessage(owner, orbiscope::kStrUnableToWrite, chosen);
}

}  // namespace

void AppendReportLine(BatchReport& batch, const char* text)
{
    if (text) batch.text += text;
    batch.text += '\n';
    ++batch.lineCount;
}

namespace orbiscope {

std::string TabbedText(std::string_view report, std::int32_t lineCount)
{
    std::string out;
    for (std::string_view line : SplitReportLines(report, lineCount)) {
        if (!line.empty() && (line.back() == '~' || line.back() == '#')) line.remove_suffix(1);
        out += line;
        out += '\n';
    }
    return out;
}

std::string HtmlPageText(std::string_view report, std::int32_t lineCount)
{
    std::string out = kHtmlHead;
    const auto lines = SplitReportLines(report, lineCount);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view s = lines[i];
        // A blank line gives no row; an empty line (not part of the format)
        // is taken as blank rather than shifting the lines after it.
        if (s.empty() || s == " ") continue;
        const bool bold = s.back() == '~' || i < 3;
        const char* open = bold ? "<TD><B>" : "<TD>";
        const char* close = bold ? "</B>" : "</TD>";
        std::string row = open;
        bool cellOpen = true;
        for (char c : s) {
            if (!cellOpen) {
                row += open;
                cellOpen = true;
            }
            if (c == '\t') {
                row += close;
                cellOpen = false;
            } else {
                AppendEscaped(row, c);
            }
        }
        const char mark = row.back();
        if (mark == '~' || mark == '#') {
            row.pop_back();
            if (mark == '~') out += kHeadingBreak;
        }
        out += "<TR>";
        out += row;
        if (cellOpen && bold) out += "</B>";
        if (cellOpen) out += "</TD>";
        out += "</TR>\n";
    }
    out += kHtmlTail;
    return out;
}

void SaveReportAsTabbedText(QWidget* owner, std::string_view report, std::int32_t lineCount)
{
    SaveWithDialog(owner, "Save Output As Tabbed Text", kTabFilter, "tab",
                   [&](const std::string& name) { return WriteTabbedTextFile(report, name, lineCount); });
}

void SaveReportAsHtml(QWidget* owner, std::string_view report, std::int32_t lineCount)
{
    SaveWithDialog(owner, "Save Output As HTML", kHtmlFilter, "html",
                   [&](const std::string& name) { return WriteHtmlFile(report, lineCount, name); });
}

void SaveTextWithDialog(QWidget* owner, const char* title, const std::string& proposal, std::string_view text)
{
    SaveWithDialog(owner, title, "Text Files (*.txt)|*.txt", "txt",
                   [&](const std::string& name) { return platform::WriteFileAtomically(name, text); }, proposal);
}

}  // namespace orbiscope

bool WriteHtmlFile(std::string_view report, std::int32_t lineCount, const std::string& fileName)
{
    if (fileName.empty()) return false;
    return platform::WriteFileAtomically(fileName, orbiscope::HtmlPageText(report, lineCount));
}

bool WriteTabbedTextFile(std::string_view report, const std::string& fileName, std::int32_t lineCount)
{
    if (fileName.empty()) return false;
    return platform::WriteFileAtomically(fileName, orbiscope::TabbedText(report, lineCount));
}

void SaveOutputAsHtml(BatchReport& batch)
{
    SaveWithDialog(batch.owner, "Save Output As HTML", kHtmlFilter, "html",
                   [&](const std::string& name) { return WriteHtmlFile(batch.text, batch.lineCount, name); });
}

void TMyWindow::SaveBatchResultsAsTabbedText(std::string_view report, std::int32_t lineCount)
{
    std::string proposal;
    if (HasFileName()) {
        std::filesystem::path name(DocumentFileName);
        name.replace_filename(name.stem().string() + "-Results.tab");
        proposal = name.string();
    }
    SaveWithDialog(
        this, "Process Complete: Save Batch Results As Tabbed Text File", kTabFilter, "tab",
        [&](const std::string& chosen) { return WriteTabbedTextFile(report, chosen, lineCount); }, proposal);
}

void SaveOutputAsTabbedText(BatchReport& batch, std::int32_t lineCount)
{
    SaveWithDialog(batch.owner, "Process Complete: Save Results As Tabbed Text File", kTabFilter, "tab",
                   [&](const std::string& name) { return WriteTabbedTextFile(batch.text, name, lineCount); });
}
