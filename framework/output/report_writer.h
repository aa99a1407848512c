// Writing report text: one printf-style line at a time into a report buffer
// (lines ended by a line feed, columns separated by tabs, "~" at the end of a
// heading, "#" at the end of a line in the fourth font), and the three lines
// every report opens with.  Works on any buffer and line count, a document
// window's or a batch run's.  Free of Qt; numbers are printed as
// report_format.h prints them (C locale, no "-0.00").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class ReportWriter {
public:
    ReportWriter(std::string& text, std::int32_t& lineCount) : text_(text), lineCount_(lineCount) {}

    // Formats one line (at most 1023 characters, as the windows' line
    // buffer holds) and appends it with its line feed.
    __attribute__((format(printf, 2, 3))) void operator()(const char* format, ...);
    // Appends the text as it is and a line feed.
    void Append(std::string_view line);
    // An empty line of the report: one blank, so that it has a height.
    void Blank() { Append(" "); }

private:
    std::string& text_;
    std::int32_t& lineCount_;
};

// What a report's head shows besides its title: the company line of the
// set-up record and today's date (both empty without an application).
struct ReportHeading {
    std::string company;
    std::string date;
};

// The title (line 0), the company line as the first heading ("%s~") and the
// date line.
void WriteReportHeading(ReportWriter& line, const char* title, const ReportHeading& heading);
