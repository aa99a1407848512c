// What a table builder hands its window: the report text (line 0 the title,
// "~" marking headings), the tab stops and the caption.  The window draws,
// scrolls, prints and exports it; the builder never sees a widget.  Free of
// Qt.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "framework/output/report_format.h"
#include "framework/output/report_writer.h"
#include "rftools/graphs/graph_curves.h"

namespace orbiscope::tables {

// Tab stops as the window sets them: positions in average character widths
// of the report font (each the running sum of the column widths before it),
// or in pixels where a table fixes one absolute stop.
struct TableTabs {
    enum class Unit { AverageChars, Pixels };
    Unit unit = Unit::AverageChars;
    std::vector<int> positions;
};

// Stops at the running sums of the column widths (average character widths):
// {20, 12, 12} gives 20, 32, 44.
TableTabs TabsFromWidths(std::initializer_list<int> widthsInChars);
// `count` stops, the first at `first` and each next `step` further.
TableTabs EvenTabs(int count, int first, int step);
// One stop at an absolute position in pixels.
TableTabs AbsoluteTab(int pixels);

struct TableText {
    std::string text;           // lines ended by a line feed
    std::int32_t lineCount = 0;
    TableTabs tabs;
    std::string caption;        // the window's title bar

    ReportWriter Writer() { return ReportWriter(text, lineCount); }
};

// The first two lines of every table: the title and the company line as a
// heading ("%s~").
void WriteTitleAndCompany(ReportWriter& line, std::string_view title, const ReportHeading& heading);

// A key block: its heading, then one "%s:\t%s" line per abbreviation.
using KeyEntries = std::initializer_list<std::pair<const char*, const char*>>;
void WriteKey(ReportWriter& line, const char* heading, KeyEntries entries);

// The leading number of a form's text, as the graphs read theirs.
using graphs::FieldNumber;
// The leading whole number, as atol reads it.
long FieldWhole(std::string_view text);


}  // namespace orbiscope::tables
