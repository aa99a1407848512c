// How the calculators lay out their dialogs: one field a row, its label on
// the left and the field on the right, results read-only, option groups
// beside or below, the four buttons at the foot.  Every control comes from
// the shared control-table builders.
#pragma once

#include <initializer_list>
#include <vector>

#include "framework/forms/calculator.h"
#include "framework/forms/control_table.h"

namespace calcrows {

using platform::ControlSpec;

inline constexpr int kLabelX = 10;
inline constexpr int kFieldX = 290;
inline constexpr int kFieldWidth = 140;
inline constexpr int kTop = 14;
inline constexpr int kPitch = 30;

// The top of row `row`.
inline int Y(int row) { return kTop + row * kPitch; }

// Where a dialog puts its fields: the labels fill the space to their left.
struct Columns {
    int fieldX = kFieldX;
    int fieldWidth = kFieldWidth;
};

// One row of a calculator's field table: the label, then the field's control
// id and bytes; a result is read-only.
struct Row {
    const char* label;
    int id;
    int limit;
    bool result = false;
};

// Appends the rows from row `first` on, in the order given (the order the
// record holds them); returns the row after the last.
inline int AddRows(std::vector<ControlSpec>& table, std::initializer_list<Row> rows, Columns columns = {},
                   int first = 0)
{
    int row = first;
    for (const Row& r : rows) {
        table.push_back(controls::Label(r.label, kLabelX, Y(row) + 1, columns.fieldX - kLabelX - 10));
        table.push_back(r.result ? controls::ReadOnlyEdit(r.id, r.limit, columns.fieldX, Y(row), columns.fieldWidth)
                                 : controls::Edit(r.id, r.limit, columns.fieldX, Y(row), columns.fieldWidth));
        ++row;
    }
    return row;
}

// The buttons below row `rows - 1`; returns the finished table.
inline std::vector<ControlSpec> WithButtons(std::vector<ControlSpec> table, int rows)
{
    for (ControlSpec& b : CalculatorButtons(Y(rows) + 8)) table.push_back(std::move(b));
    return table;
}

// A dialog of rows only: the rows, then the buttons.
inline std::vector<ControlSpec> Table(std::initializer_list<Row> rows, Columns columns = {})
{
    std::vector<ControlSpec> table;
    const int next = AddRows(table, rows, columns);
    return WithButtons(std::move(table), next);
}

// One `Entry` control object on every edit of the form's table, in order.
template <class Entry>
void MakeEntries(TForm* form)
{
    for (const ControlSpec& c : form->Controls())
        if (c.kind == platform::ControlKind::Edit) new Entry(form, c.id, c.textLimit);
}

}  // namespace calcrows
