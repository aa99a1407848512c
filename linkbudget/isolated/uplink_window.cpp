#include "linkbudget/isolated/uplink_window.h"

#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/output/window_report.h"
#include "linkbudget/isolated/uplink_document.h"
#include "linkbudget/isolated/uplink_form.h"
#include "linkbudget/isolated/uplink_report.h"
#include "platform/command.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "propagation/coordinates.h"

namespace {

LinkAtmosphere*& AtmosphereSeam()
{
    static LinkAtmosphere* atmosphere = nullptr;
    return atmosphere;
}

}  // namespace

void TRgnUpLinkWin::SetAtmosphere(LinkAtmosphere* atmosphere) { AtmosphereSeam() = atmosphere; }

TRgnUpLinkWin::TRgnUpLinkWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName)
{
    LinkAtmosphere* atmosphere = AtmosphereSeam();
    budget_ = std::make_unique<RgnUplinkBudget>(atmosphere ? *atmosphere : ItuLinkAtmosphere(), *this);
    TabStops = {280, 350, 420, 490};
    SetHandler(kEditCommand, [this] { CmEditInputs(); });
    SetEnabler(kEditCommand, [] { return true; });
}

TRgnUpLinkWin::~TRgnUpLinkWin() = default;

void TRgnUpLinkWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    FileData.filter = "Upink Budget (Isolated) (*.rup)|*.rup";
    FileData.defaultExt = "rup";
    FileData.overwritePrompt = true;
    if (HasFileName()) OpenDocument(true);
}

void TRgnUpLinkWin::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
}

void TRgnUpLinkWin::CmEditInputs()
{
    TRgnUpLinkForm::ClearTextTails(Record());
    const UplinkInputRecord before = Record();
    TRgnUpLinkForm form(this, *this);
    if (form.Execute() == platform::IDOK) {
        // Every confirmed edit marks the document changed, also the first
        // one of a new window, so that closing asks before its inputs are lost.
        Changed = true;
        budget_->suggestion.clear();
        Recalculate();
        return;
    }
    // Cancel keeps what was typed without a recalculation; when that differs
    // from the inputs the window had, closing asks first.
    if (std::memcmp(&before, &Record(), sizeof before) != 0) Changed = true;
}

void TRgnUpLinkWin::Recalculate()
{
    platform::WaitCursor wait;
    CalcErrorCode = 0;
    if (budget_->Recalculate() == RgnUplinkBudget::Outcome::StoppedLowElevation) return;
    CalcErrorCode = budget_->errorCode;
    BuildReport();
    if (CalcErrorCode != 0) ShowCalcError();
}

double TRgnUpLinkWin::PolarizationTerm(double latitude, double longitudeDifference,
                                       const char* polarization)
{
    return TMyWindow::PolarizationTerm(latitude, longitudeDifference, polarization);
}

bool TRgnUpLinkWin::CheckLowElevation(double elevation) { return ::CheckLowElevation(elevation); }

bool TRgnUpLinkWin::SaveFile(const char* fileName)
{
    return WriteDocument(fileName, kUplinkDocumentVersion, &Record(), sizeof(UplinkInputRecord));
}

bool TRgnUpLinkWin::LoadFile(const char* fileName)
{
    // Read whole into a fresh record: a file that breaks off part-way leaves
    // the window's inputs as they were.
    UplinkInputRecord r;
    if (!ReadUplinkDocument(fileName, r)) return false;
    Record() = r;
    InterferenceCI = r.ciUnits.On();
    // A stored record that fails a field check opens the dialog instead of
    // being calculated.
    bool valid = false;
    {
        TRgnUpLinkForm form(this, *this);
        form.SetSilent(true);
        valid = form.ValidateFields(Record());
    }
    if (valid)
        Recalculate();
    else
        platform::PostCommand(this, kEditCommand);
    return true;
}

void TRgnUpLinkWin::BuildReport()
{
    ClearReport();
    ReportText.reserve(16384);
    TabStops = {280, 350, 420, 490};
    ReportWriter line = WindowReportWriter(*this);
    WriteUplinkReport(line, ReportHeadingOf(App()), *budget_);
    ReportText.shrink_to_fit();
    UpdateScroller(false);
}
