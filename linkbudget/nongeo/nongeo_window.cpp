#include "linkbudget/nongeo/nongeo_window.h"

#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/output/window_report.h"
#include "linkbudget/geo/geo_report.h"
#include "linkbudget/nongeo/nongeo_form.h"
#include "linkbudget/nongeo/nongeo_budget.h"
#include "platform/command.h"
#include "platform/services.h"
#include "propagation/coordinates.h"

namespace {
LinkAtmosphere*& AtmosphereSeam()
{
    static LinkAtmosphere* atmosphere = nullptr;
    return atmosphere;
}
}  // namespace

void TLeoLinkWin::SetAtmosphere(LinkAtmosphere* atmosphere) { AtmosphereSeam() = atmosphere; }

TLeoLinkWin::TLeoLinkWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName)
{
    LinkAtmosphere* atmosphere = AtmosphereSeam();
    budget_ = std::make_unique<GeoLinkBudget>(atmosphere ? *atmosphere : ItuLinkAtmosphere(), *this);
    SetNonGeoLinkRecordDefaults(record_);
    TabStops = {280, 350, 420, 490};
    DialogPage = 0;
    budget_->frozen = false;
    UpInterferenceCI = DnInterferenceCI = false;
    budget_->suggestion.clear();
    SetHandler(kEditCommand, [this] { CmEditInputs(); });
    SetEnabler(kEditCommand, [] { return true; });
}

TLeoLinkWin::~TLeoLinkWin() = default;

void TLeoLinkWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    FileData.filter = "Non GEO Link Budget (*.llb)|*.llb";
    FileData.defaultExt = "llb";
    FileData.overwritePrompt = true;
    if (HasFileName()) OpenDocument(true);
}

void TLeoLinkWin::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
}

void TLeoLinkWin::CmEditInputs()
{
    TLeoLinkForm::ClearTextTails(record_);
    const NonGeoLinkInputRecord before = record_;
    TLeoLinkForm form(this, *this);
    if (form.Execute() == platform::IDOK) {
        Changed = true;
        budget_->suggestion.clear();
        Recalculate();
        return;
    }
    // Cancel keeps what was typed without a recalculation; closing asks
    // first when that differs from the inputs the window had.
    if (std::memcmp(&before, &record_, sizeof before) != 0) Changed = true;
}

void TLeoLinkWin::Recalculate()
{
    platform::WaitCursor wait;
    CalcErrorCode = 0;
    LoadNonGeoBudget(record_, *budget_);
    const GeoLinkBudget::Outcome outcome = budget_->Recalculate();
    if (budget_->frozen) {
        // A frozen budget fixes its symbol rate and HPA power in the record it
        // ran on; the window's record (the dialog's and the document's) must
        // show the same, or the next run would thaw them.
        const GeoLinkInputRecord& g = budget_->record;
        record_.symbolRate = g.symbolRate;
        record_.infoRate = g.infoRate;
        std::memcpy(record_.rate, g.rate, sizeof record_.rate);
        std::memcpy(record_.hpaPower, g.hpaPower, sizeof record_.hpaPower);
    }
    if (outcome == GeoLinkBudget::Outcome::StoppedLowElevation) return;
    CalcErrorCode = budget_->errorCode;
    BuildReport();
    if (CalcErrorCode != 0) ShowCalcError();
}

void TLeoLinkWin::BuildReport()
{
    ClearReport();
    ReportText.reserve(16384);
    TabStops = {280, 350, 420, 490};
    ReportWriter line = WindowReportWriter(*this);
    WriteBentPipeReport(line, ReportHeadingOf(App()), *budget_, &record_);
    ReportText.shrink_to_fit();
    UpdateScroller(false);
}

void TLeoLinkWin::BuildDualFadeSections()
{
    ReportWriter line = WindowReportWriter(*this);
    WriteDualFadeSections(line, *budget_, &record_);
}

bool TLeoLinkWin::SaveFile(const char* fileName)
{
    return WriteDocument(fileName, kFileVersion, &record_, sizeof record_);
}

bool TLeoLinkWin::LoadFile(const char* fileName)
{
    // Read into a fresh record: a document that breaks off part-way leaves
    // the window's inputs as they were.
    NonGeoLinkInputRecord r;
    std::int32_t notice = 0;
    CalcErrorCode = 0;
    if (!ReadNonGeoDocument(fileName, r, notice)) return false;
    record_ = r;
    CalcErrorCode = notice;
    if (CalcErrorCode != 0) ShowCalcError();
    UpInterferenceCI = r.upCiUnits.On();
    DnInterferenceCI = r.dnCiUnits.On();
    // A document is checked as the dialog checks it, without messages; one
    // that fails opens the dialog instead of calculating.
    bool valid = false;
    {
        TLeoLinkForm form(this, *this);
        form.SetSilent(true);
        valid = form.ValidateFields(record_);
        form.SetSilent(false);
    }
    if (valid)
        Recalculate();
    else
        platform::PostCommand(this, kEditCommand);
    return true;
}

double TLeoLinkWin::PolarizationTerm(double latitude, double longitudeDifference, const char* polarization)
{
    return TMyWindow::PolarizationTerm(latitude, longitudeDifference, polarization);
}

bool TLeoLinkWin::CheckLowElevation(double elevation) { return ::CheckLowElevation(elevation); }
