#include "linkbudget/geo/geo_window.h"

#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/output/window_report.h"
#include "linkbudget/geo/geo_form.h"
#include "linkbudget/geo/geo_report.h"
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

void TUpLinkWin::SetAtmosphere(LinkAtmosphere* atmosphere) { AtmosphereSeam() = atmosphere; }

TUpLinkWin::TUpLinkWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName)
{
    LinkAtmosphere* atmosphere = AtmosphereSeam();
    budget_ = std::make_unique<GeoLinkBudget>(atmosphere ? *atmosphere : ItuLinkAtmosphere(), *this);
    // The budget's constructor wrote the record defaults of a new window; the
    // result blocks start zero.
    TabStops = {280, 350, 420, 490};
    DialogPage = 0;
    budget_->frozen = false;
    UpInterferenceCI = DnInterferenceCI = false;
    budget_->suggestion.clear();
    SetHandler(kEditCommand, [this] { CmEditInputs(); });
    SetEnabler(kEditCommand, [] { return true; });
}

TUpLinkWin::~TUpLinkWin() = default;

void TUpLinkWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    FileData.filter = "GEO Link Budget (*.glb)|*.glb";
    FileData.defaultExt = "glb";
    FileData.overwritePrompt = true;
    if (HasFileName()) OpenDocument(true);
}

void TUpLinkWin::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
}

void TUpLinkWin::CmEditInputs()
{
    TUpLinkForm::ClearTextTails(Record());
    const GeoLinkInputRecord before = Record();
    TUpLinkForm form(this, *this);
    if (form.Execute() == platform::IDOK) {
        // Every confirmed edit marks the document changed, also the first
        // one of a new window, so that closing asks before its inputs are lost.
        Changed = true;
        budget_->suggestion.clear();
        Recalculate();
        return;
    }
    // Cancel keeps what was typed in the record without a recalculation; when
    // that differs from the inputs the window had, closing asks first.
    if (std::memcmp(&before, &Record(), sizeof before) != 0) Changed = true;
}

void TUpLinkWin::Recalculate()
{
    platform::WaitCursor wait;
    CalcErrorCode = 0;
    if (budget_->Recalculate() == GeoLinkBudget::Outcome::StoppedLowElevation) return;
    CalcErrorCode = budget_->errorCode;
    BuildReport();
    if (CalcErrorCode != 0) ShowCalcError();
}

double TUpLinkWin::PolarizationTerm(double latitude, double longitudeDifference, const char* polarization)
{
    return TMyWindow::PolarizationTerm(latitude, longitudeDifference, polarization);
}

bool TUpLinkWin::CheckLowElevation(double elevation) { return ::CheckLowElevation(elevation); }

void TUpLinkWin::BuildReport()
{
    ClearReport();
    ReportText.reserve(16384);
    TabStops = {280, 350, 420, 490};
    ReportWriter line = WindowReportWriter(*this);
    WriteBentPipeReport(line, ReportHeadingOf(App()), *budget_, nullptr);
    ReportText.shrink_to_fit();
    UpdateScroller(false);
}

void TUpLinkWin::BuildDualFadeSections()
{
    ReportWriter line = WindowReportWriter(*this);
    WriteDualFadeSections(line, *budget_, nullptr);
}

bool TUpLinkWin::SaveFile(const char* fileName)
{
    return WriteDocument(fileName, kFileVersion, &Record(), sizeof(GeoLinkInputRecord));
}

bool TUpLinkWin::LoadFile(const char* fileName)
{
    // The document is read into a fresh record and takes the window's place
    // only once it has been read whole: a file that breaks off part-way
    // leaves the window's inputs as they were.
    GeoLinkInputRecord r;
    std::int32_t notice = 0;
    CalcErrorCode = 0;
    if (!ReadGeoDocument(fileName, r, notice)) return false;
    Record() = r;
    CalcErrorCode = notice;
    if (CalcErrorCode != 0) ShowCalcError();
    UpInterferenceCI = r.upCiUnits.On();
    DnInterferenceCI = r.dnCiUnits.On();

    bool valid = false;
    {
        TUpLinkForm form(this, *this);
        form.SetSilent(true);
        valid = form.ValidateFields(Record());
        form.SetSilent(false);
    }
    if (valid)
        Recalculate();
    else
        platform::PostCommand(this, kEditCommand);
    return true;
}
