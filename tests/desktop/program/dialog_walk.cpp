#include "tests/desktop/program/dialog_walk.h"

#include <algorithm>
#include <cstdlib>

#include "framework/databases/pickers.h"
#include "framework/forms/form_controls.h"
#include "platform/services.h"

namespace wholeprogram {

namespace {

// Dialogs whose buttons open further dialogs are explored this deep.
constexpr int kMaxExploreDepth = 3;
// How far (pixels) a label may sit above or below the row of its control.
constexpr int kLabelRowSlackPx = 6;

// The country picker is answered with its first country: the town picker
// behind it is then reached too.
bool AnsweredWithFirstEntry(int resourceId) { return resourceId == TGetCountryDlg::kResourceId; }

bool HasButton(const platform::Dialog& dialog, int id)
{
    const auto& controls = dialog.Controls();
    return std::any_of(controls.begin(), controls.end(),
                       [id](const auto& c) { return c.kind == platform::ControlKind::PushButton && c.id == id; });
}

// Buttons that close the dialog or open help are left alone.
bool Explorable(int id) { return id != platform::IDOK && id != platform::IDCANCEL && id != platform::IDHELP; }

// A control as a failure names it: its own text, or the label on its left in
// the same row.
std::string Describe(const platform::Dialog& d, int id)
{
    const auto& controls = d.Controls();
    const auto it = std::find_if(controls.begin(), controls.end(), [id](const auto& c) { return c.id == id; });
    if (it == controls.end()) return "control " + std::to_string(id);
    if (!it->text.empty()) return it->text;
    std::string label = "control " + std::to_string(id);
    int nearest = 1 << 30;
    for (const auto& c : controls) {
        const int gap = it->x - (c.x + c.width);
        if (c.kind != platform::ControlKind::Static || c.text.empty() || gap < -c.width / 2 ||
            std::abs(c.y - it->y) > kLabelRowSlackPx)
            continue;
        if (gap < nearest) nearest = gap, label = c.text;
    }
    return label;
}

}  // namespace

DialogWalk::DialogWalk()
{
    platform::SetDialogInspector([this](platform::Dialog& d) { Inspect(d); });
    platform::HelpViewer::SetSink([this](const platform::HelpRequest& r) {
        if (helpCollector_) helpCollector_->push_back(r);
        else if (helpListener_) helpListener_(r.contextId);
        return true;
    });
}

DialogWalk::~DialogWalk()
{
    platform::SetDialogInspector({});
    platform::HelpViewer::SetSink({});
}

std::vector<int> DialogWalk::TakeOpened()
{
    std::vector<int> out;
    out.swap(opened_);
    return out;
}

void DialogWalk::Inspect(platform::Dialog& dialog)
{
    const int id = dialog.ResourceId();
    opened_.push_back(id);
    const auto [it, first] = seen_.try_emplace(id);
    if (first) Examine(dialog, it->second);
    if (dialog.Closed()) return;  // an explored button ended it
    if (AnsweredWithFirstEntry(id)) {
        dialog.ListSetSelIndex(TGetCountryDlg::kList, 0);
        dialog.OnButton(platform::IDOK);
        return;
    }
    if (!Cancel(dialog)) seen_[id].cancelledCleanly = false;
}

void DialogWalk::Examine(platform::Dialog& dialog, DialogSeen& seen)
{
    seen.resourceId = dialog.ResourceId();
    seen.caption = dialog.windowTitle().toStdString();
    seen.layoutFaults = desktoptest::CheckEveryPage(dialog);
    seen.hasHelpButton = HasButton(dialog, platform::IDHELP);
    seen.helpIds = HelpIdsOf(dialog);
    if (!exploring_ || depth_ >= kMaxExploreDepth) return;
    ++depth_;
    PressButtons(dialog);
    --depth_;
}

std::vector<HelpIdSent> DialogWalk::HelpIdsOf(platform::Dialog& dialog)
{
    std::vector<platform::HelpRequest> received;
    helpCollector_ = &received;
    std::vector<HelpIdSent> sent;
    if (HasButton(dialog, platform::IDHELP)) {
        dialog.OnButton(platform::IDHELP);
        for (const auto& r : received) sent.push_back({r.contextId, r.field, "Help button"});
        received.clear();
    }
    for (QObject* child : dialog.children())
        if (auto* control = dynamic_cast<TMyControl*>(child)) {
            control->EvHelp();
            for (const auto& r : received) sent.push_back({r.contextId, r.field, Describe(dialog, control->Id())});
            received.clear();
        }
    helpCollector_ = nullptr;
    return sent;
}

void DialogWalk::PressButtons(platform::Dialog& dialog)
{
    // A user fills the form before the buttons that work on its values (the
    // modulation-and-coding choice wants a rate).
    for (const auto& c : dialog.Controls())
        if (c.kind == platform::ControlKind::Edit && !c.readOnly && dialog.GetControlText(c.id).empty())
            dialog.SetControlText(c.id, "1");
    for (const auto& c : dialog.Controls()) {
        if (dialog.Closed()) return;
        if (c.kind == platform::ControlKind::PushButton && Explorable(c.id)) dialog.OnButton(c.id);
    }
}

bool DialogWalk::Cancel(platform::Dialog& dialog)
{
    if (HasButton(dialog, platform::IDCANCEL)) dialog.OnButton(platform::IDCANCEL);
    else if (HasButton(dialog, platform::IDOK)) dialog.OnButton(platform::IDOK);
    else return true;  // no button to press: the user closes its window, which always works
    return dialog.Closed();
}

}  // namespace wholeprogram
