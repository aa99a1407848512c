// Every dialog the program opens, built offscreen at the default font and
// checked page by page: no control overlaps another, every text fits its
// control, nothing lies outside the dialog.  The dialogs are found the way a
// user finds them: every command of the main menu (File > New opens each
// budget's input dialog), and every button of a dialog that opens another
// (the pickers, the modulation-and-coding choice, the record editors).
#include <gtest/gtest.h>

#include <map>

#include "framework/app/menus.h"
#include "framework/databases/pickers.h"
#include "tests/desktop/desktop_support.h"
#include "tests/desktop/layout_check.h"

namespace {

using desktoptest::LayoutFault;

// Buttons that close the dialog or open help are left alone.
bool Pressable(int id) { return id != platform::IDOK && id != platform::IDCANCEL && id != platform::IDHELP; }

class DialogWalk {
public:
    std::map<int, std::vector<LayoutFault>> faults;  // by dialog id

    void Inspect(platform::Dialog& dialog)
    {
        if (!faults.emplace(dialog.ResourceId(), desktoptest::CheckEveryPage(dialog)).second) return;
        if (depth_ >= kMaxDepth) return;
        ++depth_;
        PressButtons(dialog);
        --depth_;
    }

private:
    static constexpr int kMaxDepth = 3;

    static void PressButtons(platform::Dialog& dialog)
    {
        // A user fills the form before the buttons that work on its values
        // (the modulation-and-coding choice wants a rate).
        for (const auto& c : dialog.Controls())
            if (c.kind == platform::ControlKind::Edit && !c.readOnly && dialog.GetControlText(c.id).empty())
                dialog.SetControlText(c.id, "1");
        for (const auto& c : dialog.Controls()) {
            if (dialog.Closed()) return;
            if (c.kind == platform::ControlKind::PushButton && Pressable(c.id)) dialog.OnButton(c.id);
        }
    }

    int depth_ = 0;
};

TEST(DialogLayout, NoControlOverlapsAndEveryTextFits)
{
    desktoptest::ProgramFixture f;
    DialogWalk walk;
    platform::SetDialogInspector([&walk](platform::Dialog& d) { walk.Inspect(d); });
    // The town picker asks for a country first: the first in the list.
    platform::SetDialogDriver(TGetCountryDlg::kResourceId, [](platform::Dialog& d) {
        d.ListSetSelIndex(TGetCountryDlg::kList, 0);
        return platform::IDOK;
    });
    for (int id : orbiscope::MainMenuCommands()) {
        if (id == orbiscope::CM_EXIT) continue;
        f.app->Dispatch(id);
        QCoreApplication::processEvents();
    }

    // The framework's own dialogs, the budgets' and the ones they open.
    for (int id : {30, 445, 450, 546, 550, 560, 660, 670, 672, 800, 22000, 652, 5520, 5522, 5600, 6800, 14030})
        EXPECT_TRUE(walk.faults.count(id)) << "dialog " << id << " was not reached";
    for (const auto& [id, list] : walk.faults)
        for (const LayoutFault& fault : list) ADD_FAILURE() << fault.Describe();
}

}  // namespace
