#include "framework/output/report_writer.h"

#include <cstdarg>

#include "framework/output/report_format.h"

namespace {
// The windows' line buffer, with its terminating zero.
constexpr std::size_t kLineBuffer = 1024;
}  // namespace

void ReportWriter::operator()(const char* format, ...)
{
    const std::size_t start = text_.size();
    std::va_list args;
    va_start(args, format);
    AppendReportFormatV(text_, format, args);
    va_end(args);
    if (text_.size() - start >= kLineBuffer) text_.resize(start + kLineBuffer - 1);
    text_ += '\n';
    ++lineCount_;
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
