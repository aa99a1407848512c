#include "rftools/tables/table_text.h"

#include <cstdlib>

namespace orbiscope::tables {

TableTabs TabsFromWidths(std::initializer_list<int> widthsInChars)
{
    TableTabs tabs;
    int position = 0;
    for (int w : widthsInChars) tabs.positions.push_back(position += w);
    return tabs;
}

TableTabs EvenTabs(int count, int first, int step)
{
    TableTabs tabs;
    for (int i = 0; i < count; ++i) tabs.positions.push_back(first + i * step);
    return tabs;
}

TableTabs AbsoluteTab(int pixels)
{
    TableTabs tabs;
    tabs.unit = TableTabs::Unit::Pixels;
    tabs.positions = {pixels};
    return tabs;
}

void WriteTitleAndCompany(ReportWriter& line, std::string_view title, const ReportHeading& heading)
{
    line.Append(title);
    line("%s~", heading.company.c_str());
}

void WriteKey(ReportWriter& line, const char* heading, KeyEntries entries)
{
    line.Append(heading);
    for (const auto& [abbreviation, meaning] : entries) line("%s:\t%s", abbreviation, meaning);
}

long FieldWhole(std::string_view text)
{
    const std::string copy(text);
    return std::strtol(copy.c_str(), nullptr, 10);
}

}  // namespace orbiscope::tables
