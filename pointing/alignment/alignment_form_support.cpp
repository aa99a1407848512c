#include "pointing/alignment/alignment_form_support.h"

#include "framework/forms/control_table.h"

namespace alignform {

namespace {
constexpr int kMargin = 12;
constexpr int kRowPitch = 30;
constexpr int kLabelWidth = 190;
constexpr int kEditX = kMargin + kLabelWidth;
constexpr int kNameWidth = 260;
constexpr int kShortWidth = 110;
constexpr int kButtonX = kEditX + kNameWidth + 10;
constexpr int kButtonWidth = 85;
constexpr int kNameBytes = 41;
}  // namespace

std::vector<platform::ControlSpec> EntryTable(std::span<const EntrySpec> entries,
                                              std::initializer_list<PickerButton> buttons)
{
    using namespace controls;
    std::vector<platform::ControlSpec> table;
    int y = kMargin;
    for (const EntrySpec& e : entries) {
        table.push_back(Label(e.label, kMargin, y + 2, kLabelWidth - 8));
        table.push_back(Edit(e.id, e.bytes, kEditX, y, e.bytes == kNameBytes ? kNameWidth : kShortWidth));
        for (const PickerButton& b : buttons)
            if (b.besideEntry == e.id) table.push_back(Button(b.id, b.text, kButtonX, y - 2, kButtonWidth));
        y += kRowPitch;
    }
    y += kRowPitch / 2;
    const int right = kButtonX + kButtonWidth;
    table.push_back(Button(platform::IDOK, "OK", right - 3 * 90 + 10, y));
    table.push_back(Button(platform::IDCANCEL, "Cancel", right - 2 * 90 + 10, y));
    table.push_back(Button(platform::IDHELP, "Help", right - 90 + 10, y));
    return table;
}

}  // namespace alignform
