// Reports leave the program as tabbed text ("*.tab") or as an HTML page
// ("*.html").  The output windows export their own report; the batch
// processes build theirs in a `BatchReport` and export it through the two
// save dialogs here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class QWidget;

// A report that a batch process builds in a buffer of its own.
struct BatchReport {
    QWidget* owner = nullptr;      // parent of the save dialogs and of the failure message
    std::string text;              // lines in the report text format; its size is the length
    std::int32_t lineCount = 0;
};

// Appends the text and a line feed; the line count grows by one.
void AppendReportLine(BatchReport& batch, const char* text);

// File-save dialogs for a batch report, then the writer; a failed write is
// reported with the chosen name.
void SaveOutputAsHtml(BatchReport& batch);
void SaveOutputAsTabbedText(BatchReport& batch, std::int32_t lineCount);

// The writers: the first `lineCount` lines of `report`.  The file is written
// through a temporary file beside it, so a failed write keeps what was there.
// Both return whether the whole file was written.
bool WriteHtmlFile(std::string_view report, std::int32_t lineCount, const std::string& fileName);
bool WriteTabbedTextFile(std::string_view report, const std::string& fileName, std::int32_t lineCount);

namespace orbiscope {

// The bytes the writers put into their files.
std::string HtmlPageText(std::string_view report, std::int32_t lineCount);
std::string TabbedText(std::string_view report, std::int32_t lineCount);

// The two Save Output As commands of an output window: a file-save dialog,
// then the writer on the window's report; a failure names the file.
void SaveReportAsTabbedText(QWidget* owner, std::string_view report, std::int32_t lineCount);
void SaveReportAsHtml(QWidget* owner, std::string_view report, std::int32_t lineCount);
// A file-save dialog for a text file, proposing `proposal`, then `text`
// written to the name chosen; a failure names the file.
void SaveTextWithDialog(QWidget* owner, const char* title, const std::string& proposal, std::string_view text);

}  // namespace orbiscope
