// What every budget input dialog shares: its pages on a tab bar, the page
// shown, controls that appear only on some pages, the commands every one of
// them has (Freeze, the modulation-and-coding buttons, Manual, Help,
// Cancel), the scratch record the checks and buttons work on, and its
// entries' status-bar hints.
#pragma once

#include <QAbstractButton>
#include <functional>
#include <iterator>
#include <vector>
#include <initializer_list>
#include <span>
#include <string_view>

#include "framework/app/orbiscope.h"
#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "framework/forms/scratch_record.h"
#include "linkbudget/engine/input_text.h"
#include "linkbudget/engine/modcod_fields.h"
#include "linkbudget/modcod/modcod_dialog.h"
#include "linkbudget/windows/form_layout.h"
#include "platform/messagebox.h"

namespace budgetform {

// The buttons every budget dialog has, by the ids all of them use.
enum CommandId : int {
    kManual = 119, kSite = 126, kSatellite = 127, kFreeze = 134, kDvbs2x = 136, kDvbs = 137, kReverse = 138,
    kNs3 = 139, kNs4 = 140, kSuggestion = 5223,
};

// Fills the tab bar `tabId` with the page titles once; `onChange` runs when
// the user picks another page.
void InstallPages(TForm& form, int tabId, std::span<const char* const> titles, std::function<void()> onChange);
// The page shown, 0 when the bar is missing or out of range.
int CurrentPage(const TForm& form, int tabId, int pageCount);
// Shows a page without announcing the change.
void ShowPage(TForm& form, int tabId, int page);
// Shows and enables a control, or hides and disables it.
void ShowControl(TForm& form, int id, bool shown);

}  // namespace budgetform

// Every entry of a budget dialog: its hint in the status bar when it takes
// the focus; the bent-pipe dialogs' entries also record themselves as the
// entry last focused (the Satellite button of their interference pages
// reads it).
class TBudgetEntry : public TMyEdit {
public:
    TBudgetEntry(TForm* parent, int id, int textLimit, HintTable hints, bool recordsFocus);
    void EvSetFocus() override;

private:
    bool recordsFocus_;
};

// The base of the budget dialogs over a window's record.  The dialog kind
// derives from TBudgetForm<Kind, Record, Window> and supplies:
//   - kResourceId, kCaption, kPageTitles (one per page) and Layout(), its
//     control table built once;
//   - kTerminate, which ends the record's texts at their last byte;
//   - the ids every budget dialog has: kTab, kFecRate, kTargetGroup, kEbNo,
//     kEsNo, kRequiredTarget, kModulationGroup, kOneBit, kMapsk, kMqam,
//     kMLabel, kModulationOrder, kModcodGroup, kModcodText;
//   - ValidateFields(record) and EnableFields(page).
// The derived dialog makes its own control objects and binds its own buttons.
template <class Derived, class Record, class Window>
class TBudgetForm : public TForm {
public:
    using Picker = std::function<bool(TForm& parent)>;

    TBudgetForm(QWidget* parent, Window& window)
        : TForm(parent, Derived::kResourceId, Derived::kCaption, ControlTable()), window_(window)
    {
        SetTransferBuffer(&window.Record(), sizeof(Record));
        SetHandler(budgetform::kFreeze, [this] { CmFreeze(); });
        SetHandler(budgetform::kDvbs, [this] { SelectModcod(modcod::kDvbs); });
        SetHandler(budgetform::kDvbs2x, [this] { SelectModcod(modcod::kDvbs2); });
        SetHandler(budgetform::kNs3, [this] { SelectModcod(modcod::kNs3); });
        SetHandler(budgetform::kNs4, [this] { SelectModcod(modcod::kNs4); });
        SetHandler(budgetform::kManual, [this] { CmManual(); });
        SetHandler(Derived::kTab, [this] { Self().EnableFields(SelectedPage()); });
        SetHandler(platform::IDHELP, [this] { ShowHelp(Derived::kResourceId); });
        SetHandler(platform::IDCANCEL, [this] { CmCancel(); });
    }

    static std::vector<platform::ControlSpec> ControlTable() { return Derived::Layout().Controls(); }
    // Clears the bytes after each text's terminator, as a run of the dialog
    // leaves them, so that records can be compared byte for byte.
    static void ClearTextTails(Record& record) { ::ClearTextTails(record, ControlTable()); }
    // The controls of each page, in the order the tabs show them.
    static const std::vector<std::vector<int>>& PageControls() { return Derived::Layout().Pages(); }

    void SetupWindow() override
    {
        TForm::SetupWindow();
        budgetform::InstallPages(*this, Derived::kTab, Derived::kPageTitles, [this] { OnButton(Derived::kTab); });
        const int page = window_.DialogPage >= 0 && window_.DialogPage < PageCount() ? window_.DialogPage : 0;
        SelectPage(page);
        Self().EnableFields(page);
        ShowSuggestion();
    }
    bool CanClose() override { return Self().ValidateFields(Scratch()); }

    int SelectedPage() const { return budgetform::CurrentPage(*this, Derived::kTab, PageCount()); }
    void SelectPage(int page) { budgetform::ShowPage(*this, Derived::kTab, page); }
    void ShowSuggestion() { SetControlText(budgetform::kSuggestion, window_.Budget().suggestion); }

    // The controls' current values as a record (the window's record is not touched).
    Record Scratch() const { return ReadScratch<Record>(*this, Derived::kTerminate); }
    void PutScratch(const Record& r) { WriteScratch(*this, r); }

    // Cancel keeps what was typed in the record, unchecked; the window does
    // not recalculate.
    void CmCancel()
    {
        TransferData(platform::TransferDirection::Get);
        Derived::kTerminate(window_.Record());
        CloseWindow(platform::IDCANCEL);
    }
    void CmFreeze()
    {
        if (window_.Lines() > 0 && CanClose()) {
            window_.Budget().frozen = !window_.Budget().frozen;
        } else {
            platform::MessageBox(this, "Cannot freeze/unfeeze until link budget is recalculated", "Invalid Option",
                                 platform::MB_ICONEXCLAMATION);
        }
        Self().EnableFields(SelectedPage());
    }
    void CmManual()
    {
        Record r = Scratch();
        PutText(r.modcodText, "Manual");
        PutScratch(r);
        Self().EnableFields(SelectedPage());
    }
    // The modulation-and-coding row the user confirms in "Select Modcod"
    // for `standard`, written into the record's carrier fields.
    void SelectModcod(int standard)
    {
        Record r = Scratch();
        if (lbtext::Number(r.rate) == 0.0) {
            platform::MessageBox(this, "Info Rate and optional overhead must be entered", "Error",
                                 platform::MB_ICONEXCLAMATION);
            return;
        }
        TGetModcodDlg dialog(this, standard);
        if (dialog.Execute() != platform::IDOK) return;
        ApplyModcod(r, dialog.Selection(), standard);
        PutScratch(r);
        Self().EnableFields(SelectedPage());
    }

    // The town and satellite pickers the Site and Satellite buttons run: true
    // when the user picked one, which the picker leaves in the application's
    // picked-site or picked-satellite fields.  Until they are installed the
    // buttons change nothing.
    static void SetSitePicker(Picker picker) { SitePicker() = std::move(picker); }
    static void SetSatellitePicker(Picker picker) { SatellitePicker() = std::move(picker); }

protected:
    static constexpr int PageCount() { return int(std::size(Derived::kPageTitles)); }

    void Show(int id, bool shown) { budgetform::ShowControl(*this, id, shown); }
    // Shows the controls of `page` only; `neverShown` stay hidden.
    void ShowPageControls(int page, std::initializer_list<int> neverShown)
    {
        const auto& pages = PageControls();
        for (std::size_t p = 0; p < pages.size(); ++p)
            for (int id : pages[p]) Show(id, int(p) == page);
        for (int id : neverShown) Show(id, false);
    }
    // With the budget frozen only the availability, the FEC rate, the target
    // and the modulation and modcod controls stay enabled; the FEC rate and
    // the modulation are typed only while the modcod is "Manual".
    void EnableFrozenAndManual(const Record& r, std::initializer_list<int> availabilityIds)
    {
        using D = Derived;
        if (window_.Budget().frozen) {
            for (const auto& list : PageControls())
                for (int id : list) EnableControl(id, false);
            for (int id : availabilityIds) EnableControl(id, true);
            for (int id : {FormLayout::LabelOf(D::kFecRate), int(D::kFecRate), int(D::kTargetGroup), int(D::kEbNo),
                           int(D::kEsNo), int(D::kRequiredTarget), int(D::kModulationGroup), int(D::kMapsk),
                           int(D::kMLabel), int(D::kModulationOrder), int(D::kModcodGroup), int(budgetform::kDvbs2x),
                           int(budgetform::kDvbs), int(budgetform::kManual), int(budgetform::kNs3),
                           int(budgetform::kNs4), int(D::kModcodText)})
                EnableControl(id, true);
        }
        const bool manual = lbtext::IsKeyword(r.modcodText, "Manual");
        for (int id : {int(D::kFecRate), int(D::kOneBit), int(D::kMapsk), int(D::kMqam), int(D::kMLabel),
                       int(D::kModulationOrder)})
            EnableControl(id, manual);
    }
    // Runs `setUnits` and relabels when a units button is pressed.
    void BindUnits(int id, std::function<void()> setUnits)
    {
        SetHandler(id, [this, setUnits = std::move(setUnits)] {
            setUnits();
            Self().EnableFields(SelectedPage());
        });
        if (auto* b = qobject_cast<QAbstractButton*>(Control(id)))
            QObject::connect(b, &QAbstractButton::clicked, this, [this, id] { OnButton(id); });
    }
    // Runs the site or satellite picker; true when the user picked.
    bool PickSite() { return App() && SitePicker() && SitePicker()(*this); }
    bool PickSatellite() { return App() && SatellitePicker() && SatellitePicker()(*this); }
    // The modulation group (1 bit/symbol, M-(A)PSK, M-QAM and M) of the
    // carrier page, in the next three rows.
    static void ModulationGroup(FormLayout& L, int page)
    {
        using D = Derived;
        using K = platform::ControlKind;
        const auto [x, y] = L.Next(page, 3);
        L.Group(page, D::kModulationGroup, "Modulation", x, y - 4, 380, 3 * FormLayout::kRow);
        L.Option(page, K::RadioButton, D::kOneBit, "1 bit/symbol", x + 10, y + 14, 120, true);
        L.Option(page, K::RadioButton, D::kMapsk, "M-(A)PSK", x + 135, y + 14, 110);
        L.Option(page, K::RadioButton, D::kMqam, "M-QAM", x + 250, y + 14, 110);
        L.Label(page, D::kMLabel, "M=", x + 10, y + 42, 40);
        L.EntryAt(page, D::kModulationOrder, 13, x + 55, y + 42, 80);
    }
    // The modcod group (its text and the standards' buttons) of the carrier
    // page, in the next three rows.
    static void ModcodGroup(FormLayout& L, int page)
    {
        const auto [x, y] = L.Next(page, 3);
        L.Group(page, Derived::kModcodGroup, "Modcod", x, y - 4, 380, 3 * FormLayout::kRow);
        L.EntryAt(page, Derived::kModcodText, 81, x + 10, y + 44, 360);
        L.Push(budgetform::kDvbs2x, "DVBS2X", x + 10, y + 14, 66, page);
        L.Push(budgetform::kDvbs, "DVBS", x + 82, y + 14, 66, page);
        L.Push(budgetform::kManual, "Manual", x + 154, y + 14, 66, page);
        L.Push(budgetform::kNs3, "NS3", x + 226, y + 14, 66, page);
        L.Push(budgetform::kNs4, "NS4", x + 298, y + 14, 66, page);
    }
    // The carrier's option buttons every budget dialog has.
    void MakeCarrierButtons()
    {
        using D = Derived;
        for (int id : {int(D::kOneBit), int(D::kMapsk), int(D::kMqam)}) new TModulationRadioButton(this, id);
        for (int id : {int(D::kEbNo), int(D::kEsNo)}) new TTargetRadioButton(this, id);
        for (int id : {int(D::kInfoRate), int(D::kSymbolRate)}) new TRateRadioButton(this, id);
    }

    Window& window_;

private:
    Derived& Self() { return static_cast<Derived&>(*this); }
    static Picker& SitePicker()
    {
        static Picker picker;
        return picker;
    }
    static Picker& SatellitePicker()
    {
        static Picker picker;
        return picker;
    }
};
