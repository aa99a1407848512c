// The report text of the output windows: lines ended by a line feed, tabs
// between columns, line 0 the title, "~" at the end marking a heading and "#"
// the fourth font.  The layout rules here are free of Qt.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orbiscope {

enum class ReportLineKind { Title, FirstHeading, Heading, Fourth, Body };

struct ReportLineStyle {
    ReportLineKind kind = ReportLineKind::Body;
    std::string_view text;  // without its mark
};

// How report line `index` (without its line feed) is drawn.
ReportLineStyle ClassifyReportLine(int index, std::string_view line);

// The first `lineCount` lines of a report buffer, without their line feeds.
std::vector<std::string_view> SplitReportLines(std::string_view report, int lineCount);

// The report without its marks, lines joined by line feeds (clipboard).
std::string ReportPlainText(std::string_view report, int lineCount);

struct ReportLineHeights {
    int title = 0, heading = 0, body = 0, fourth = 0;
};

// Where screen painting starts when scrolled `scrollLines` lines (of body
// height) down: lines are skipped whole while y (starting at `top` + title
// height) is above scrollLines x body - title height.
struct PaintStart {
    int firstLine = 0;
    int y = 0;
};
PaintStart FirstPaintedLine(const std::vector<std::string_view>& lines, const ReportLineHeights& h,
                            int top, int scrollLines);

}  // namespace orbiscope
