// What the country and satellite windows and their dialogs share: the report
// fonts and head, the output commands they refuse, and the list boxes'
// notifications.
#pragma once

#include <functional>
#include <initializer_list>

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
