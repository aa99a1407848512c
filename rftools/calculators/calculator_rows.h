// How the calculators lay out their dialogs: one field a row, its label on
// the left and the field on the right, results read-only, option groups
// beside or below, the four buttons at the foot.  Every control comes from
// the shared control-table builders.
#pragma once

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

// An input edit of `limit` bytes with its label.
inline void Field(std::vector<ControlSpec>& table, int row, const char* label, int id, int limit,
                  Columns columns = {})
{
    table.push_back(controls::Label(label, kLabelX, Y(row) + 1, columns.fieldX - kLabelX - 10));
    table.push_back(controls::Edit(id, limit, columns.fieldX, Y(row), columns.fieldWidth));
}

// A result field: the calculator writes it, the user reads it.
inline void Result(std::vector<ControlSpec>& table, int row, const char* label, int id, int limit,
                   Columns columns = {})
{
    table.push_back(controls::Label(label, kLabelX, Y(row) + 1, columns.fieldX - kLabelX - 10));
    table.push_back(controls::ReadOnlyEdit(id, limit, columns.fieldX, Y(row), columns.fieldWidth));
}

// The buttons below row `rows - 1`; returns the finished table.
inline std::vector<ControlSpec> WithButtons(std::vector<ControlSpec> table, int rows)
{
    for (ControlSpec& b : CalculatorButtons(Y(rows) + 8)) table.push_back(std::move(b));
    return table;
}

// One `Entry` control object on every edit of the form's table, in order.
template <class Entry>
void MakeEntries(TForm* form)
{
    for (const ControlSpec& c : form->Controls())
        if (c.kind == platform::ControlKind::Edit) new Entry(form, c.id, c.textLimit);
}

}  // namespace calcrows
