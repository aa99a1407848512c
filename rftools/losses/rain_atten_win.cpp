#include "rftools/losses/rain_atten_win.h"


#include "framework/app/orbiscope.h"
#include "framework/forms/field_check.h"
#include "framework/output/window_report.h"
#include "platform/command.h"
#include "propagation/coordinates.h"
#include "rftools/losses/loss_forms.h"
#include "rftools/losses/loss_table_builders.h"

using namespace orbiscope::losses;

void TRainAttenWin::SetAtmosphere(LinkAtmosphere* atmosphere) { SetLossAtmosphere(atmosphere); }

TRainAttenWin::TRainAttenWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName)
{
    SetAtmosLossDefaults(record_);
    SetHandler(kEditCommand, [this] { CmEditInputs(); });
    SetEnabler(kEditCommand, [] { return true; });
}

void TRainAttenWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    FileData.filter = "Rain Attenuation Files (*.atn)|*.atn";
    FileData.defaultExt = "atn";
    FileData.overwritePrompt = true;
    if (HasFileName()) OpenDocument(true);
}

void TRainAttenWin::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
}

void TRainAttenWin::CmEditInputs()
{
    TRainForm form(this, record_);
    RunInputForm(form, KeptTyping, [this] { return Recalculate(); });
}

void TRainAttenWin::ParseInputs()
{
    AtmosLossInputs& in = inputs_;
    const AtmosLossInputRecord& r = record_;
    in.latitude = ParseLatLon(FieldView(r.siteLatitude));
    in.longitude = ParseLatLon(FieldView(r.siteLongitude));
    in.satLongitude = ParseLatLon(FieldView(r.satLongitude));
    in.altitudeKm = LeadingNumber(FieldView(r.siteAltitude));
    in.frequencyGHz = LeadingNumber(FieldView(r.frequency));
    in.availability = LeadingNumber(FieldView(r.availability));
    in.systemNoiseK = LeadingNumber(FieldView(r.systemNoise));
    in.diameterM = LeadingNumber(FieldView(r.diameter));
    in.efficiencyPct = LeadingNumber(FieldView(r.efficiency));
    in.manualRainRate = LeadingNumber(FieldView(r.manualRainRate));
    std::memcpy(in.polarization, r.polarization, sizeof in.polarization);
    in.polarization[sizeof in.polarization - 1] = '\0';
    in.rainRateMode = RainRateMode(record_);
    in.altitudeAuto = IsAutoText(FieldView(r.siteAltitude));
}

bool TRainAttenWin::Recalculate()
{
    ParseInputs();
    look_ = LookAtSatellite(inputs_.latitude, inputs_.longitude, inputs_.satLongitude);
    if (!CheckLowElevation(look_.elevation)) return false;
    Calculate();
    BuildReport();
    return true;
}

void TRainAttenWin::Calculate()
{
    const double tilt = PolarizationTerm(inputs_.latitude, LongitudeDifference(inputs_.longitude, inputs_.satLongitude),
                                         inputs_.polarization);
    results_ = CalculateAtmosLosses(LossAtmosphere(), inputs_, look_, tilt);
}

void TRainAttenWin::BuildReport()
{
    ClearReport();
    ReportWriter line = WindowReportWriter(*this);
    WriteAtmosLossReport(line, ReportHeadingOf(App()), record_, inputs_, results_);
    TabStops.assign(std::begin(kAtmosLossTabStops), std::end(kAtmosLossTabStops));
    ReportText.shrink_to_fit();
    UpdateScroller(true);
}

bool TRainAttenWin::ReadFile(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& record)
{
    return ReadAtmosLossFields(file, version, record);
}

bool TRainAttenWin::ReadFileOld(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& record)
{
    return ReadOldAtmosLossFields(file, version, record);
}

bool TRainAttenWin::LoadFile(const char* fileName)
{
    DocumentFile file(fileName);
    std::uint16_t version = 0;
    if (!file.IsOpen() || !file.ReadVersion(version)) return false;
    // Read into a fresh record: a document that breaks off leaves the
    // window's inputs as they were.
    AtmosLossInputRecord r;
    const bool old = version == kOldAtmosLossVersion1 || version == kOldAtmosLossVersion2;
    if (!(old ? ReadFileOld(file, version, r) : ReadFile(file, version, r))) return false;
    file.Close();
    record_ = r;
    KeptTyping.clear();
    bool valid = false;
    {
        TRainForm form(this, record_);
        form.SetSilent(true);
        valid = form.ValidateFields(record_);
    }
    if (valid) Recalculate();
    else platform::PostCommand(this, kEditCommand);
    return true;
}

bool TRainAttenWin::SaveFile(const char* fileName)
{
    return WriteDocument(fileName, kAtmosLossVersion, &record_, sizeof record_);
}
