// What the country and satellite windows and their dialogs share: the report
// fonts and head, the output commands they refuse, the list boxes'
// notifications and the line a record is listed on.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <vector>

class TMyWindow;
namespace platform {
class Dialog;
}

namespace databases {

// Heading and body in "Courier New", the body at weight 300.
void UseDatabaseFonts(TMyWindow& window);
// Tabbed text, HTML, Print, Page Setup, Print Preview and Copy stay disabled
// while the window is active.
void DisableReportOutput(TMyWindow& window);
// The company name of the set-up record as a heading.
void AddCompanyHeading(TMyWindow& window);
// Tab stops at these multiples of the body font's average character width.
void SetTabStops(TMyWindow& window, std::initializer_list<int> characters);

// A list box's selection change and double click, with the line (0-based).
// Changes made while a ListFill is alive are not reported.
void ConnectList(platform::Dialog& dialog, int listId, std::function<void(int)> selected,
                 std::function<void(int)> doubleClicked);

// The line (0-based) of `record` in an editor's list of the table's records
// 1 to `count`, found byte for byte; -1 when the table lacks it.  The editors
// mark a record they added or modified at its sorted place with it, so that
// the next Modify or Delete acts on that record.
template <class Record>
int LineOf(const std::vector<Record>& records, std::int32_t count, const Record& record)
{
    for (std::size_t i = 1; i <= std::size_t(std::max(count, 0)) && i < records.size(); ++i)
        if (std::memcmp(&records[i], &record, sizeof record) == 0) return int(i) - 1;
    return -1;
}

// Empties a list box for refilling; notifications are held back meanwhile.
class ListFill {
public:
    ListFill(platform::Dialog& dialog, int listId);
    ~ListFill();
    ListFill(const ListFill&) = delete;
    ListFill& operator=(const ListFill&) = delete;

private:
    platform::Dialog& dialog_;
    int listId_;
    bool wasBlocked_;
};

}  // namespace databases
