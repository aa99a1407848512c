#include "pointing/sun/solar_form_layout.h"

#include "framework/forms/control_table.h"

namespace solarform {

namespace {
constexpr int kMargin = 12;
constexpr int kRow = 28;
constexpr int kLabelWidth = 170;
constexpr int kEditX = kMargin + kLabelWidth + 6;
constexpr int kGroupX = 470;
constexpr int kGroupWidth = 300;
constexpr int kButtonWidth = 84;

int EditWidth(int limit) { return limit > 41 ? 260 : limit > 13 ? 260 : 110; }
}  // namespace

const RadioGroup& SeasonGroup()
{
    static const RadioGroup g{"Season", {{kEarly, "Early"}, {kLate, "Late"}}};
    return g;
}
const RadioGroup& BeamGroup()
{
    static const RadioGroup g{"Beamwidth option", {{kStandard, "Standard"}, {kWide, "Wide (pessimistic)"}}};
    return g;
}
const RadioGroup& ResolutionGroup()
{
    static const RadioGroup g{"Resolution", {{kMinute, "Nearest minute"}, {kSecond, "Nearest second"}}};
    return g;
}
const RadioGroup& TimeGroup()
{
    static const RadioGroup g{"Time output", {{kGmt, "GMT"}, {kLocal, "Local"}}};
    return g;
}
const RadioGroup& FormatGroup()
{
    static const RadioGroup g{"Output File Format",
                              {{kVertical, "TAB delimited text (vertical mode)"},
                               {kHorizontal, "TAB delimited text (horizontal mode)"},
                               {kHtml, "HTML"}}};
    return g;
}

std::vector<platform::ControlSpec> Controls(std::span<const TextField> texts, std::span<const RadioGroup> groups,
                                            std::span<const PushButton> buttons)
{
    std::vector<platform::ControlSpec> c;
    int y = kMargin;
    for (const TextField& t : texts) {
        c.push_back(controls::Label(t.label, kMargin, y + 2, kLabelWidth));
        const auto edit = t.fileName ? controls::FileNameEdit : controls::Edit;
        c.push_back(edit(t.id, t.limit, kEditX, y, EditWidth(t.limit)));
        y += kRow;
    }
    int gy = kMargin - 6;
    for (const RadioGroup& g : groups) {
        const int height = 22 + 22 * static_cast<int>(g.buttons.size());
        c.push_back(controls::Group(g.caption, kGroupX, gy, kGroupWidth, height));
        bool first = true;
        int ry = gy + 20;
        for (const auto& [id, text] : g.buttons) {
            c.push_back(controls::Radio(id, text, kGroupX + 12, ry, kGroupWidth - 20, first));
            first = false;
            ry += 22;
        }
        gy += height + 6;
    }
    int by = std::max(y, gy) + 10;
    int bx = kMargin;
    for (const PushButton& b : buttons) {
        c.push_back(controls::Button(b.id, b.text, bx, by, kButtonWidth));
        bx += kButtonWidth + 8;
    }
    return c;
}

std::vector<HintEntry> Hints(std::span<const TextField> texts)
{
    std::vector<HintEntry> h;
    for (const TextField& t : texts) h.push_back({t.id, 0, t.hint});
    return h;
}

}  // namespace solarform
