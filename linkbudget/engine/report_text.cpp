#include "linkbudget/engine/report_text.h"

#include "framework/output/report_format.h"

namespace lbreport {

const char* PolarizationName(const char* text)
{
    switch (text[0]) {
    case 'V': return "Vertical";
    case 'H': return "Horizontal";
    case 'C': return "Circular";
    default: return "";
    }
}

std::string Fixed(double value, int decimals)
{
    return ReportFormat("%.*lf", decimals, value);
}

void ReportTable::Row(std::string row, std::size_t cells, const char* unit) const
{
    for (std::size_t c = cells; c < std::size_t(columns_); ++c) row += '\t';
    row += '\t';
    row += unit;
    line_.Append(row);
}

void ReportTable::Heading(const char* title, std::initializer_list<const char*> columns) const
{
    std::string row = title;
    for (const char* c : columns) (row += '\t') += c;
    Row(std::move(row), columns.size(), "Units~");
}

void ReportTable::Texts(const char* label, std::initializer_list<std::string_view> cells, const char* unit) const
{
    std::string row = label;
    for (std::string_view c : cells) (row += '\t') += c;
    Row(std::move(row), cells.size(), unit);
}

void ReportTable::Numbers(const char* label, std::span<const double> values, const char* unit, int decimals) const
{
    std::string row = label;
    for (double v : values) (row += '\t') += Fixed(v, decimals);
    Row(std::move(row), values.size(), unit);
}

}  // namespace lbreport
