#include "linkbudget/isolated/downlink_window.h"

#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/output/window_report.h"
#include "linkbudget/isolated/downlink_document.h"
#include "linkbudget/isolated/downlink_form.h"
#include "linkbudget/isolated/downlink_report.h"
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

void TRgnDownLinkWin::SetAtmosphere(LinkAtmosphere* atmosphere) { AtmosphereSeam() = atmosphere; }

TRgnDownLinkWin::TRgnDownLinkWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName)
{
    LinkAtmosphere* atmosphere = AtmosphereSeam();
    budget_ = std::make_unique<RgnDownlinkBudget>(atmosphere ? *atmosphere : ItuLinkAtmosphere(), *this);
    TabStops = {280, 350, 420, 490};
    SetHandler(kEditCommand, [this] { CmEditInputs(); });
    SetEnabler(kEditCommand, [] { return true; });
}

TRgnDownLinkWin::~TRgnDownLinkWin() = default;

void TRgnDownLinkWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    FileData.filter = "Downlink Budget (Isolated) (*.rdn)|*.rdn";
    FileData.defaultExt = "rdn";
    FileData.overwritePrompt = true;
    if (HasFileName()) OpenDocument(true);
}

void TRgnDownLinkWin::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
}

void TRgnDownLinkWin::CmEditInputs()
{
    TRgnDownLinkForm::ClearTextTails(Record());
    const DownlinkInputRecord before = Record();
    TRgnDownLinkForm form(this, *this);
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

void TRgnDownLinkWin::Recalculate()
{
    platform::WaitCursor wait;
    CalcErrorCode = 0;
    if (budget_->Recalculate() == RgnDownlinkBudget::Outcome::StoppedLowElevation) return;
    CalcErrorCode = budget_->errorCode;
    BuildReport();
    if (CalcErrorCode != 0) ShowCalcError();
}

double TRgnDownLinkWin::PolarizationTerm(double latitude, double longitudeDifference,
                                       const char* polarization)
{
    return TMyWindow::PolarizationTerm(latitude, longitudeDifference, polarization);
}

bool TRgnDownLinkWin::CheckLowElevation(double elevation) { return ::CheckLowElevation(elevation); }

bool TRgnDownLinkWin::SaveFile(const char* fileName)
{
    return WriteDocument(fileName, kDownlinkDocumentVersion, &Record(), sizeof(DownlinkInputRecord));
}

bool TRgnDownLinkWin::LoadFile(const char* fileName)
{
    // Read whole into a fresh record: a file that breaks off part-way leaves
    // the window's inputs as they were.
    DownlinkInputRecord r;
    if (!ReadDownlinkDocument(fileName, r)) return false;
    Record() = r;
    InterferenceCI = r.ciUnits.On();
    // A stored record that fails a field check opens the dialog instead of
    // being calculated.
    bool valid = false;
    {
        TRgnDownLinkForm form(this, *this);
        form.SetSilent(true);
        valid = form.ValidateFields(Record());
    }
    if (valid)
        Recalculate();
    else
        platform::PostCommand(this, kEditCommand);
    return true;
}

void TRgnDownLinkWin::BuildReport()
{
    ClearReport();
    ReportText.reserve(16384);
    TabStops = {280, 350, 420, 490};
    ReportWriter line = WindowReportWriter(*this);
    WriteDownlinkReport(line, ReportHeadingOf(App()), *budget_);
    ReportText.shrink_to_fit();
    UpdateScroller(false);
}
