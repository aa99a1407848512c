// What every budget input dialog shares: its pages on a tab bar, the page
// shown, controls that appear only on some pages, the commands every one of
// them has (Freeze, the modulation-and-coding buttons, Manual, Help), the
// scratch record the checks and buttons work on, and its entries' status-bar
// hints.
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
//   - CheckFields(record), every field check in the dialog's order over a
//     record whose texts are ended, and EnableFields(page).
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
    }

    static std::vector<platform::ControlSpec> ControlTable() { return Derived::Layout().Controls(); }
    // The record's fields by the names the dialog shows them under, in
    // record order, with their values.
    static std::vector<LabelledValue> FieldValues(const Record& r)
    {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&r);
        return Derived::Layout().FieldValues({bytes, sizeof r}, Derived::kPageTitles);
    }
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
    bool CanClose() override { return ValidateFields(Scratch()); }
    // The dialog's checks over a copy of `record` (the controls' or a
    // reopened document's); the first that fails shows its message, unless
    // the form is silent, with its field in view on its own page.
    bool ValidateFields(const Record& record)
    {
        Record r = record;
        Derived::kTerminate(r);
        const CheckedRecord checked(*this, {reinterpret_cast<const std::uint8_t*>(&r), sizeof r});
        return Self().CheckFields(r);
    }

    int SelectedPage() const { return budgetform::CurrentPage(*this, Derived::kTab, PageCount()); }
    void SelectPage(int page) { budgetform::ShowPage(*this, Derived::kTab, page); }
    void ShowSuggestion() { SetControlText(budgetform::kSuggestion, window_.Budget().suggestion); }

    // The controls' current values as a record (the window's record is not touched).
    Record Scratch() const { return ReadScratch<Record>(*this, Derived::kTerminate); }
    void PutScratch(const Record& r) { WriteScratch(*this, r); }

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
    using K = platform::ControlKind;
    // A group box spans the width of a column less a gap; its title takes
    // the top of it, so what it holds starts kGroupTop below a row's top.
    static constexpr int kGroupWidth = 380, kGroupTop = 18;
    static constexpr int GroupHeight(int rows) { return FormLayout::GroupHeight(rows); }

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
    // Where the carrier page's target and rate groups lie, for their buttons.
    struct CarrierPlaces {
        int targetX, targetY, rateX, rateY;
    };
    // The carrier's fields from the target to the system margin, and the
    // modulation group: the group "Required Target (dB)" with its entry on
    // the row of its buttons, "Rate" with its entry below its buttons, the
    // eight entries and "Modulation" (1 bit/symbol, M-(A)PSK, M-QAM and M).
    // The target and rate buttons come later in the record (CarrierChoices).
    static CarrierPlaces CarrierFields(FormLayout& L, int page)
    {
        using D = Derived;
        constexpr int kRow = FormLayout::kRow, kEditX = FormLayout::kEditX, kEditWidth = FormLayout::kEditWidth;
        const auto [tx, ty] = L.Next(page, 2);
        L.Group(page, D::kTargetGroup, "Required Target (dB)", tx, ty - 4, kGroupWidth, GroupHeight(2));
        L.EntryAt(page, D::kRequiredTarget, 13, tx + kEditX, ty + kGroupTop - 1, kEditWidth);
        const auto [rx, ry] = L.Next(page, 3);
        L.Group(page, D::kRateGroup, "Rate", rx, ry - 4, kGroupWidth, GroupHeight(3));
        L.EntryAt(page, D::kRate, 13, rx + kEditX, ry + kGroupTop + kRow - 1, kEditWidth);
        L.Entry(page, D::kOverhead, 13, "Overhead % info rate");
        L.Entry(page, D::kFecRate, 13, "FEC code rate");
        L.Entry(page, D::kSpreadingGain, 13, "Spreading gain dB");
        L.Entry(page, D::kRollOff, 13, "(1 + Roll off factor)");
        L.Entry(page, D::kCarrierSpacing, 13, "Carrier spacing factor");
        L.Entry(page, D::kAllocationStep, 13, "BW allocation step MHz");
        L.Entry(page, D::kImplementationLoss, 13, "Implementation loss dB");
        L.Entry(page, D::kSystemMargin, 13, "System margin dB");
        const auto [mx, my] = L.Next(page, 3);
        L.Group(page, D::kModulationGroup, "Modulation", mx, my - 4, kGroupWidth, GroupHeight(3));
        L.Option(page, K::RadioButton, D::kOneBit, "1 bit/symbol", mx + 10, my + kGroupTop, 120, true);
        L.Option(page, K::RadioButton, D::kMapsk, "M-(A)PSK", mx + 135, my + kGroupTop, 110);
        L.Option(page, K::RadioButton, D::kMqam, "M-QAM", mx + 250, my + kGroupTop, 110);
        L.Label(page, D::kMLabel, "M=", mx + 10, my + kGroupTop + kRow, 40);
        L.EntryAt(page, D::kModulationOrder, 13, mx + 55, my + kGroupTop + kRow, 80, "M=");
        return {tx, ty, rx, ry};
    }
    // The target and rate buttons inside their groups, then the modcod group
    // (the standards' buttons above the modcod text).
    static void CarrierChoices(FormLayout& L, int page, const CarrierPlaces& at)
    {
        using D = Derived;
        L.Option(page, K::RadioButton, D::kEbNo, "Eb/No", at.targetX + 10, at.targetY + kGroupTop, 80, true);
        L.Option(page, K::RadioButton, D::kEsNo, "Es/No", at.targetX + 95, at.targetY + kGroupTop, 80);
        L.Option(page, K::RadioButton, D::kInfoRate, "Info rate Mbps", at.rateX + 10, at.rateY + kGroupTop, 140, true);
        L.Option(page, K::RadioButton, D::kSymbolRate, "Symbol rate Mbaud", at.rateX + 160, at.rateY + kGroupTop,
                 180);
        const auto [x, y] = L.Next(page, 3);
        L.Group(page, D::kModcodGroup, "Modcod", x, y - 4, kGroupWidth, GroupHeight(3));
        L.EntryAt(page, D::kModcodText, 81, x + 10, y + kGroupTop + FormLayout::kRow + 2, 360);
        const std::pair<int, const char*> buttons[] = {{budgetform::kDvbs2x, "DVBS2X"}, {budgetform::kDvbs, "DVBS"},
                                                       {budgetform::kManual, "Manual"}, {budgetform::kNs3, "NS3"},
                                                       {budgetform::kNs4, "NS4"}};
        int bx = x + 10;
        for (const auto& [id, text] : buttons) {
            L.Push(id, text, bx, y + kGroupTop - 2, 66, page);
            bx += 72;
        }
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
