// What every link-budget report is written with: one printf-style line at a
// time into the window's report buffer, record texts cut at their last byte,
// and the three heading lines (title, company, date).
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/output/mywindow.h"

class TOrbiscope;

namespace lbreport {

const char* PolarizationName(const char* text);

// A record text cut at its last byte, whatever the record holds.
template <std::size_t N>
std::string Text(const char (&field)[N])
{
    return std::string(field, strnlen(field, N - 1));
}

class ReportWriter {
public:
    explicit ReportWriter(TMyWindow& w) : w_(w) {}

    __attribute__((format(printf, 2, 3))) void operator()(const char* format, ...)
    {
        va_list args;
        va_start(args, format);
        std::vsnprintf(w_.LineBuffer, sizeof w_.LineBuffer, format, args);
        va_end(args);
        w_.AddLine(w_.LineBuffer);
    }
    void Blank() { w_.AddLine(TMyWindow::BlankLine); }

private:
    TMyWindow& w_;
};

// The title line, the company line of the set-up record as a heading, and
// today's date (both empty without an application).
void WriteReportHeading(ReportWriter& line, TOrbiscope* app, const char* title);

}  // namespace lbreport
