// The control table of a budget dialog, built page by page: labelled entries
// in two columns of rows, option buttons and group boxes placed on a page,
// and the tab bar, command buttons and suggestion line below the pages.  The
// controls that transfer are kept in the order they are added, which is the
// record's field order; every other control follows them in the table.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "linkbudget/engine/labelled_text.h"
#include "platform/dialog.h"

class FormLayout {
public:
    // The geometry every budget dialog shares, in pixels.
    static constexpr int kPageTop = 48, kRow = 27;
    static constexpr int kColumnX[2] = {16, 420};
    static constexpr int kLabelWidth = 200, kEditX = 205, kEditWidth = 160;
    // The static label beside an entry has the entry's id + 1000.
    static constexpr int LabelOf(int entryId) { return entryId + 1000; }
    // A group box over `rows` rows, a gap short of the next row.
    static constexpr int GroupHeight(int rows) { return rows * kRow - 6; }

    FormLayout(int pageCount, int rowsPerColumn);

    // The place of the next block of `rows` rows on a page; a block stays in
    // one column.
    std::pair<int, int> Next(int page, int rows = 1);

    // An entry of `limit` bytes in the next row, with its label (if any).
    void Entry(int page, int id, int limit, const char* label);
    // An entry at a given place; `name` names it where no label or group
    // box beside it does.
    void EntryAt(int page, int id, int limit, int x, int y, int w, const char* name = nullptr);
    // A check box or radio button (they transfer); `groupStart` opens an
    // exclusive group.
    void Option(int page, platform::ControlKind kind, int id, const char* text, int x, int y, int w,
                bool groupStart = false);
    // A row of radio buttons in a group box of its own, in the next two rows.
    void Options(int page, int groupId, const char* title, std::initializer_list<std::pair<int, const char*>> buttons);
    void Label(int page, int id, const char* text, int x, int y, int w);
    void Group(int page, int id, const char* text, int x, int y, int w, int h);
    // A push button, on a page or (page -1) below them.
    void Push(int id, const char* text, int x, int y, int w, int page = -1);
    // Moves controls to the front of their page's list.
    void PutFirst(int page, std::initializer_list<int> ids);
    // Below the pages: the tab bar, the command buttons and OK, Cancel and
    // Help on one row, and the suggestion line.
    void Footer(int tabId, std::initializer_list<std::pair<int, const char*>> commands, int suggestionId);

    // The whole table: transferring controls first, in record order.
    std::vector<platform::ControlSpec> Controls() const;
    const std::vector<platform::ControlSpec>& TransferControls() const { return transfer_; }
    const std::vector<std::vector<int>>& Pages() const { return pages_; }
    // A control placed so far, or null.
    const platform::ControlSpec* Find(int id) const;

    // Each field of a record laid out as the transfer buffer, in record
    // order, named as the user reads it in the dialog: the page's title, the
    // group box around the control and the control's own label (or text),
    // joined by ": ", as in "Carriers: Modulation: M-QAM"; its value is the
    // text, or "1" or "0" for a button.  Labels are those the table was built
    // with, whatever units the dialog shows them in later.
    std::vector<LabelledValue> FieldValues(std::span<const std::uint8_t> record,
                                           std::span<const char* const> pageTitles) const;

private:
    void Other(int page, platform::ControlSpec c);
    void Transfer(int page, platform::ControlSpec c);

    int rowsPerColumn_;
    std::vector<platform::ControlSpec> transfer_, others_;
    std::vector<std::vector<int>> pages_;
    std::vector<int> slot_;
    std::map<int, std::string> names_;
};
