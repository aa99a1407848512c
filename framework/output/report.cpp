#include "framework/output/report.h"

namespace orbiscope {

ReportLineStyle ClassifyReportLine(int index, std::string_view line)
{
    if (index == 0) return {ReportLineKind::Title, line};
    if (!line.empty() && line.back() == '~')
        return {index == 1 ? ReportLineKind::FirstHeading : ReportLineKind::Heading, line.substr(0, line.size() - 1)};
    if (!line.empty() && line.back() == '#') return {ReportLineKind::Fourth, line.substr(0, line.size() - 1)};
    return {ReportLineKind::Body, line};
}

std::vector<std::string_view> SplitReportLines(std::string_view report, int lineCount)
{
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (int(lines.size()) < lineCount && pos < report.size()) {
        std::size_t lf = report.find('\n', pos);
        if (lf == std::string_view::npos) lf = report.size();
        lines.push_back(report.substr(pos, lf - pos));
        pos = lf + 1;
    }
    return lines;
}

std::string ReportPlainText(std::string_view report, int lineCount)
{
    std::string out;
    const auto lines = SplitReportLines(report, lineCount);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += ClassifyReportLine(int(i), lines[i]).text;
        out += '\n';
    }
    return out;
}

PaintStart FirstPaintedLine(const std::vector<std::string_view>& lines, const ReportLineHeights& h,
                            int top, int scrollLines)
{
    PaintStart s{0, top + h.title};
    const int limit = scrollLines * h.body - h.title;
    while (s.firstLine < int(lines.size()) && s.y < limit) {
        const ReportLineStyle st = ClassifyReportLine(s.firstLine, lines[std::size_t(s.firstLine)]);
        if (st.kind == ReportLineKind::Title) s.y += h.title;
        else if (st.kind == ReportLineKind::Heading || st.kind == ReportLineKind::FirstHeading) s.y += h.heading;
        else s.y += h.body;  // fourth-font lines are skipped by the body height
        ++s.firstLine;
    }
    return s;
}

}  // namespace orbiscope
