// What every budget window does alike: it owns its budget, runs its input
// dialog on its record, recalculates and rewrites its report, and reads and
// writes its documents.  A window kind derives from TBudgetWin<Kind, Budget,
// Record> and supplies:
//   - kWindowType, kEditCommand, kFileVersion, kFileFilter, kDefaultExtension;
//   - `Form`, its input dialog, made as Form(parent, window);
//   - Record(): the record the dialog edits and the document holds;
//   - static ReadDocument(file name, record, notice): a whole document;
//   - TakeInterferenceUnits(record): the dialog state a document brings;
//   - WriteReport(writer, heading): the report of the calculated budget;
//   - and may replace RunBudget() (the calculation; false when it stopped).
// The window's members are instantiated once, in the kind's window source
// (explicit instantiation), where its dialog is complete.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "framework/app/orbiscope.h"
#include "framework/forms/form.h"
#include "framework/output/mywindow.h"
#include "framework/output/window_report.h"
#include "linkbudget/engine/budget_common.h"
#include "platform/command.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "propagation/coordinates.h"
#include "propagation/link_atmosphere.h"

template <class Derived, class BudgetT, class RecordT>
class TBudgetWin : public TMyWindow, public GeoLinkHost {
public:
    // No parent and no title for document windows; a null file name gives an
    // empty window with the defaults of a new budget.
    TBudgetWin(QWidget* parent, const char* title, const char* fileName);
    ~TBudgetWin() override = default;

    void SetupWindow() override;
    void EvSetFocus() override;

    // The edit command: the input dialog on the record; OK recalculates.
    void CmEditInputs();
    // The whole budget from the record, its report and its error message;
    // false when it stopped before its report.
    bool Recalculate();
    void BuildReport();

    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;

    // ---- what the budget asks of its window ----
    double PolarizationTerm(double latitude, double longitudeDifference, const char* polarization) override
    {
        return TMyWindow::PolarizationTerm(latitude, longitudeDifference, polarization);
    }
    bool CheckLowElevation(double elevation) override { return ::CheckLowElevation(elevation); }

    BudgetT& Budget() { return *budget_; }
    const BudgetT& Budget() const { return *budget_; }

    // The page of the input dialog last shown.
    std::int32_t DialogPage = 0;
    // What the last cancelled or refused edit typed: the next edit shows
    // it, but the record that is calculated, saved and exported keeps the
    // values of the report on screen.
    CancelledTyping KeptTyping;

    // The propagation seam of every window of this kind made from now on
    // (null: the ITU-R models over the loaded maps).  Tests put a fixed
    // atmosphere here.
    static void SetAtmosphere(LinkAtmosphere* atmosphere) { Seam() = atmosphere; }

    // The calculation; false when it stopped before any result (an
    // elevation too low).
    bool RunBudget() { return budget_->Recalculate() == BudgetT::Outcome::Completed; }

protected:
    std::unique_ptr<BudgetT> budget_;

private:
    static LinkAtmosphere*& Seam()
    {
        static LinkAtmosphere* atmosphere = nullptr;
        return atmosphere;
    }
    Derived& Self() { return static_cast<Derived&>(*this); }
};

template <class Derived, class BudgetT, class RecordT>
TBudgetWin<Derived, BudgetT, RecordT>::TBudgetWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName)
{
    LinkAtmosphere* atmosphere = Seam();
    budget_ = std::make_unique<BudgetT>(atmosphere ? *atmosphere : ItuLinkAtmosphere(), *this);
    TabStops = {280, 350, 420, 490};
    SetHandler(Derived::kEditCommand, [this] { CmEditInputs(); });
    SetEnabler(Derived::kEditCommand, [] { return true; });
}

template <class Derived, class BudgetT, class RecordT>
void TBudgetWin<Derived, BudgetT, RecordT>::SetupWindow()
{
    TMyWindow::SetupWindow();
    FileData.filter = Derived::kFileFilter;
    FileData.defaultExt = Derived::kDefaultExtension;
    FileData.overwritePrompt = true;
    if (HasFileName()) OpenDocument(true);
}

template <class Derived, class BudgetT, class RecordT>
void TBudgetWin<Derived, BudgetT, RecordT>::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->PendingWindowType = Derived::kWindowType;
    TMyWindow::EvSetFocus();
}

template <class Derived, class BudgetT, class RecordT>
void TBudgetWin<Derived, BudgetT, RecordT>::CmEditInputs()
{
    typename Derived::Form form(this, Self());
    RunInputForm(form, KeptTyping, [this] {
        // The suggestion the dialog shows is the report's, until a new
        // report replaces it.
        std::string suggested = std::exchange(budget_->suggestion, {});
        if (Recalculate()) return true;
        budget_->suggestion = std::move(suggested);
        return false;
    });
}

template <class Derived, class BudgetT, class RecordT>
bool TBudgetWin<Derived, BudgetT, RecordT>::Recalculate()
{
    platform::WaitCursor wait;
    CalcErrorCode = 0;
    if (!Self().RunBudget()) return false;
    CalcErrorCode = budget_->errorCode;
    BuildReport();
    if (CalcErrorCode != 0) ShowCalcError();
    return true;
}

template <class Derived, class BudgetT, class RecordT>
void TBudgetWin<Derived, BudgetT, RecordT>::BuildReport()
{
    ClearReport();
    ReportText.reserve(16384);
    TabStops = {280, 350, 420, 490};
    ReportWriter line = WindowReportWriter(*this);
    Self().WriteReport(line, ReportHeadingOf(App()));
    ReportText.shrink_to_fit();
    UpdateScroller(false);
}

template <class Derived, class BudgetT, class RecordT>
bool TBudgetWin<Derived, BudgetT, RecordT>::SaveFile(const char* fileName)
{
    return WriteDocument(fileName, Derived::kFileVersion, &Self().Record(), sizeof(RecordT));
}

template <class Derived, class BudgetT, class RecordT>
bool TBudgetWin<Derived, BudgetT, RecordT>::LoadFile(const char* fileName)
{
    // The document is read into a fresh record and takes the window's place
    // only once it has been read whole: a file that breaks off part-way
    // leaves the window's inputs as they were.
    RecordT r;
    std::int32_t notice = 0;
    CalcErrorCode = 0;
    if (!Derived::ReadDocument(fileName, r, notice)) return false;
    Self().Record() = r;
    KeptTyping.clear();
    CalcErrorCode = notice;
    if (CalcErrorCode != 0) ShowCalcError();
    Self().TakeInterferenceUnits(r);
    // A document is checked as the dialog checks it, without messages; one
    // that fails opens the dialog instead of calculating.
    bool valid = false;
    {
        typename Derived::Form form(this, Self());
        form.SetSilent(true);
        valid = form.ValidateFields(Self().Record());
        form.SetSilent(false);
    }
    if (valid)
        Recalculate();
    else
        platform::PostCommand(this, Derived::kEditCommand);
    return true;
}
