#include "linkbudget/windows/form_layout.h"

#include <algorithm>

#include "framework/forms/control_table.h"
#include "framework/forms/form.h"

using platform::ControlKind;
using platform::ControlSpec;

FormLayout::FormLayout(int pageCount, int rowsPerColumn)
    : rowsPerColumn_(rowsPerColumn), pages_(std::size_t(pageCount)), slot_(std::size_t(pageCount), 0)
{
}

std::pair<int, int> FormLayout::Next(int page, int rows)
{
    int s = slot_[std::size_t(page)];
    if (s % rowsPerColumn_ + rows > rowsPerColumn_) s += rowsPerColumn_ - s % rowsPerColumn_;
    slot_[std::size_t(page)] = s + rows;
    return {kColumnX[std::min(1, s / rowsPerColumn_)], kPageTop + (s % rowsPerColumn_) * kRow};
}

void FormLayout::Other(int page, ControlSpec c)
{
    if (page >= 0 && c.id != 0) pages_[std::size_t(page)].push_back(c.id);
    others_.push_back(std::move(c));
}

void FormLayout::Transfer(int page, ControlSpec c)
{
    pages_[std::size_t(page)].push_back(c.id);
    transfer_.push_back(std::move(c));
}

void FormLayout::Label(int page, int id, const char* text, int x, int y, int w)
{
    // Labels sit a little lower than their entries so that the texts line up.
    Other(page, controls::Control(ControlKind::Static, id, text, x, y + 3, w, controls::kLabelHeight));
}

void FormLayout::Entry(int page, int id, int limit, const char* label)
{
    const auto [x, y] = Next(page);
    if (label) Label(page, LabelOf(id), label, x, y, kLabelWidth - 8);
    EntryAt(page, id, limit, x + kEditX, y, limit > 13 ? 190 : kEditWidth);
}

void FormLayout::EntryAt(int page, int id, int limit, int x, int y, int w, const char* name)
{
    if (name) names_[id] = name;
    Transfer(page, controls::Edit(id, limit, x, y, w));
}

void FormLayout::Option(int page, ControlKind kind, int id, const char* text, int x, int y, int w, bool groupStart)
{
    ControlSpec c = controls::Control(kind, id, text, x, y, w, controls::kOptionHeight);
    c.groupStart = groupStart;
    Transfer(page, std::move(c));
}

void FormLayout::Options(int page, int groupId, const char* title,
                         std::initializer_list<std::pair<int, const char*>> buttons)
{
    const auto [x, y] = Next(page, 2);
    Group(page, groupId, title, x, y - 4, 380, GroupHeight(2));
    int bx = x + 10;
    bool first = true;
    for (const auto& [id, text] : buttons) {
        Option(page, ControlKind::RadioButton, id, text, bx, y + 18, 120, first);
        bx += 122;
        first = false;
    }
}

void FormLayout::Group(int page, int id, const char* text, int x, int y, int w, int h)
{
    Other(page, controls::Control(ControlKind::GroupBox, id, text, x, y, w, h));
}

void FormLayout::Push(int id, const char* text, int x, int y, int w, int page)
{
    Other(page, controls::Button(id, text, x, y, w));
}

void FormLayout::PutFirst(int page, std::initializer_list<int> ids)
{
    auto& list = pages_[std::size_t(page)];
    std::erase_if(list, [&](int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); });
    list.insert(list.begin(), ids.begin(), ids.end());
}

void FormLayout::Footer(int tabId, std::initializer_list<std::pair<int, const char*>> commands, int suggestionId)
{
    Other(-1, controls::Tabs(tabId, 10, 10, 780, 28));
    const int y = kPageTop + rowsPerColumn_ * kRow + 16;
    int x = 16;
    for (const auto& [id, text] : commands) {
        Push(id, text, x, y, 80);
        x += 88;
    }
    Push(platform::IDOK, "OK", 520, y, 80);
    Push(platform::IDCANCEL, "Cancel", 608, y, 80);
    Push(platform::IDHELP, "Help", 696, y, 80);
    Other(-1, controls::Control(ControlKind::Static, suggestionId, "", 16, y + 34, 760, controls::kLabelHeight));
}

std::vector<ControlSpec> FormLayout::Controls() const
{
    std::vector<ControlSpec> all = transfer_;
    all.insert(all.end(), others_.begin(), others_.end());
    return all;
}

const ControlSpec* FormLayout::Find(int id) const
{
    for (const auto* list : {&transfer_, &others_})
        for (const ControlSpec& c : *list)
            if (c.id == id) return &c;
    return nullptr;
}

std::vector<LabelledValue> FormLayout::FieldValues(std::span<const std::uint8_t> record,
                                                  std::span<const char* const> pageTitles) const
{
    const auto onPage = [this](int id) {
        for (std::size_t p = 0; p < pages_.size(); ++p)
            if (std::find(pages_[p].begin(), pages_[p].end(), id) != pages_[p].end()) return int(p);
        return -1;
    };
    const auto around = [&](const ControlSpec& c, int page) -> const ControlSpec* {
        for (const ControlSpec& g : others_)
            if (g.kind == ControlKind::GroupBox && onPage(g.id) == page && g.x <= c.x && g.y <= c.y &&
                c.x + c.width <= g.x + g.width && c.y + c.height <= g.y + g.height)
                return &g;
        return nullptr;
    };
    std::vector<LabelledValue> values;
    for (const platform::TransferField& f : platform::TransferLayout(transfer_)) {
        const ControlSpec& c = transfer_[f.index];
        const int page = onPage(c.id);
        std::string name = page >= 0 && std::size_t(page) < pageTitles.size() ? pageTitles[std::size_t(page)] : "";
        const auto add = [&name](const std::string& part) {
            if (part.empty()) return;
            name += name.empty() ? part : ": " + part;
        };
        if (const ControlSpec* group = around(c, page)) add(group->text);
        if (f.IsText()) {
            if (const auto named = names_.find(c.id); named != names_.end()) add(named->second);
            else if (const ControlSpec* label = Find(LabelOf(c.id))) add(label->text);
            values.push_back({name, transfer::GetText(record, f.offset, f.size)});
        } else {
            add(c.text);
            values.push_back({name, transfer::GetWord(record, f.offset) != 0 ? "1" : "0"});
        }
    }
    return values;
}
