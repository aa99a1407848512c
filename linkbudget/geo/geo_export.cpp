#include "linkbudget/geo/geo_export.h"

#include <algorithm>
#include <iterator>

#include "framework/output/report.h"

namespace {

// The sections that echo the inputs as typed; the results follow them.
constexpr std::string_view kInputSections[] = {"Link Input Parameters", "Satellite Input Parameters",
                                               "Carrier/Link Input Parameters"};

std::vector<std::string_view> Cells(std::string_view line)
{
    std::vector<std::string_view> cells;
    for (;;) {
        const auto tab = line.find('\t');
        cells.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return cells;
        line.remove_prefix(tab + 1);
    }
}

std::string_view Unmarked(std::string_view line)
{
    if (!line.empty() && (line.back() == '~' || line.back() == '#')) line.remove_suffix(1);
    return line;
}

// The value cells of a row: between the label and the unit, or the one
// cell after the label of a row that has no unit column.
std::vector<std::pair<std::size_t, std::string_view>> Values(const std::vector<std::string_view>& cells)
{
    std::vector<std::pair<std::size_t, std::string_view>> values;
    const std::size_t last = cells.size() > 2 ? cells.size() - 1 : cells.size();
    for (std::size_t i = 1; i < last; ++i)
        if (!cells[i].empty()) values.emplace_back(i, cells[i]);
    return values;
}

}  // namespace

std::vector<LabelledValue> ReportResults(std::string_view report, int lineCount)
{
    std::vector<LabelledValue> results;
    std::vector<std::string_view> heading;  // of the section read now; empty: not a result section
    bool inputsSeen = false;                // the heading line of the company comes before them
    for (std::string_view raw : orbiscope::SplitReportLines(report, lineCount)) {
        if (!raw.empty() && raw.back() == '~') {
            heading = Cells(Unmarked(raw));
            const bool input = std::find(std::begin(kInputSections), std::end(kInputSections), heading.front()) !=
                               std::end(kInputSections);
            inputsSeen = inputsSeen || input;
            if (input || !inputsSeen) heading.clear();
            continue;
        }
        if (heading.empty()) continue;
        const std::vector<std::string_view> cells = Cells(Unmarked(raw));
        const auto values = Values(cells);
        if (cells.front().empty() || cells.front() == " " || values.empty()) continue;
        const std::string row = std::string(heading.front()) + ": " + std::string(cells.front());
        for (const auto& [column, value] : values) {
            std::string label = row;
            if (values.size() > 1 && column < heading.size() && !heading[column].empty())
                label += " (" + std::string(heading[column]) + ")";
            results.push_back({std::move(label), std::string(value)});
        }
    }
    return results;
}
