#include "framework/output/report_writer.h"

#include <cstdarg>
#include <cstdio>

void ReportWriter::operator()(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    Append(buffer);
}

void ReportWriter::Append(std::string_view line)
{
    text_ += line;
    text_ += '\n';
    ++lineCount_;
}

void WriteReportHeading(ReportWriter& line, const char* title, const ReportHeading& heading)
{
    line("%s", title);
    line("%s~", heading.company.c_str());
    line("%s", heading.date.c_str());
}
