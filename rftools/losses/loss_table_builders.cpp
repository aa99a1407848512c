#include "rftools/losses/loss_table_builders.h"

#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/forms/field_check.h"
#include "framework/output/window_report.h"
#include "platform/services.h"
#include "propagation/coordinates.h"
#include "rftools/losses/atmos_loss_record.h"
#include "rftools/losses/loss_forms.h"

namespace orbiscope::losses {

namespace {

LinkAtmosphere*& TestAtmosphere()
{
    static LinkAtmosphere* atmosphere = nullptr;
    return atmosphere;
}

template <std::size_t N>
void SetTabStops(TMyWindow& w, const int (&columnWidths)[N])
{
    w.TabStops.clear();
    int stop = 0;
    for (int width : columnWidths) w.TabStops.push_back(stop += width * w.AverageCharWidth);
}

void CopyPolarization(LossTableInputs& in, const char (&polarization)[2])
{
    std::memcpy(in.polarization, polarization, sizeof in.polarization);
    in.polarization[sizeof in.polarization - 1] = '\0';
}

// The site, satellite and antenna of the availability and frequency forms;
// "auto" altitude is the terrain height at the site.
template <class Record>
LossTableInputs SiteInputsOf(const Record& r)
{
    LossTableInputs in;
    in.latitude = ParseLatLon(FieldView(r.siteLatitude));
    in.longitude = ParseLatLon(FieldView(r.siteLongitude));
    in.satLongitude = ParseLatLon(FieldView(r.satLongitude));
    const std::string_view altitude = FieldView(r.siteAltitude);
    in.altitudeKm = IsAutoText(altitude) ? LossAtmosphere().TopoHeight(static_cast<float>(in.latitude),
                                                                        static_cast<float>(in.longitude))
                                         : LeadingNumber(altitude);
    in.diameterM = LeadingNumber(FieldView(r.diameter));
    in.efficiencyPct = LeadingNumber(FieldView(r.efficiency));
    CopyPolarization(in, r.polarization);
    return in;
}

double TiltOf(const TMyWindow& w, const LossTableInputs& in)
{
    return w.PolarizationTerm(in.latitude, LongitudeDifference(in.longitude, in.satLongitude), in.polarization);
}

// The end of every build: the window's title, its scroller at the top.
void Finish(TMyWindow& w, const std::string& title)
{
    w.SetDocTitle(title.c_str());
    w.UpdateScroller(true);
    w.ReportText.shrink_to_fit();
}

}  // namespace

LinkAtmosphere& LossAtmosphere() { return TestAtmosphere() ? *TestAtmosphere() : ItuLinkAtmosphere(); }

void SetLossAtmosphere(LinkAtmosphere* atmosphere) { TestAtmosphere() = atmosphere; }

void StartNationalAtmosLosses(TMyWindow& w, NationalLossInputRecord& r, const CountryLoader& loadCountry)
{
    TRain2Form form(&w, r);
    if (form.Execute() != platform::IDOK) {
        w.CloseWindow(0);
        return;
    }
    const std::span<const TownRecord> towns = loadCountry ? loadCountry() : std::span<const TownRecord>();
    if (towns.empty()) {
        w.CloseWindow(0);
        return;
    }
    platform::WaitCursor wait;
    w.ClearReport();
    SetTabStops(w, kNationalColumns);
    LossTableInputs in;
    in.satLongitude = ParseLatLon(FieldView(r.satLongitude));
    in.frequencyGHz = LeadingNumber(FieldView(r.frequency));
    in.diameterM = LeadingNumber(FieldView(r.diameter));
    in.efficiencyPct = LeadingNumber(FieldView(r.efficiency));
    in.availability = LeadingNumber(FieldView(r.availability));
    CopyPolarization(in, r.polarization);
    TOrbiscope* app = TOrbiscope::Current();
    ReportWriter line = WindowReportWriter(w);
    const std::string title = WriteNationalLossTable(line, ReportHeadingOf(app), r, in, towns, LossAtmosphere(),
                                                     app && app->RestrictPolarization());
    Finish(w, title);
}

void AvailabilityLosses(TMyWindow& w, AvailLossInputRecord& r)
{
    w.ClearReport();
    TAvailForm form(&w, r);
    if (form.Execute() != platform::IDOK) {
        w.CloseWindow(0);
        return;
    }
    // Only now: the user typed without an hourglass.
    platform::WaitCursor wait;
    LossTableInputs in = SiteInputsOf(r);
    in.frequencyGHz = LeadingNumber(FieldView(r.frequency));
    SiteLook look = LookAtSatellite(in.latitude, in.longitude, in.satLongitude);
    if (!CheckLowElevation(look.elevation)) {
        w.CloseWindow(0);
        return;
    }
    const std::string_view override = FieldView(r.elevationOverride);
    if (!IsAutoText(override)) look.elevation = LeadingNumber(override);
    in.tiltRad = TiltOf(w, in);
    SetTabStops(w, kAvailabilityColumns);
    ReportWriter line = WindowReportWriter(w);
    WriteAvailabilityLossTable(line, ReportHeadingOf(TOrbiscope::Current()), r, in, look, LossAtmosphere());
    Finish(w, AvailabilityTableTitle(r));
}

void FrequencyLosses(TMyWindow& w, FreqLossInputRecord& r)
{
    w.ClearReport();
    TAttenExtForm form(&w, r);
    if (form.Execute() != platform::IDOK) {
        w.CloseWindow(0);
        return;
    }
    LossTableInputs in = SiteInputsOf(r);
    in.availability = LeadingNumber(FieldView(r.availability));
    const SiteLook look = LookAtSatellite(in.latitude, in.longitude, in.satLongitude);
    in.tiltRad = TiltOf(w, in);
    if (!CheckLowElevation(look.elevation)) {
        w.CloseWindow(0);
        return;
    }
    SetTabStops(w, kFrequencyColumns);
    platform::WaitCursor wait;
    const std::vector<double> sweep =
        FrequencySweep(LeadingNumber(FieldView(r.rangeStart)), LeadingNumber(FieldView(r.rangeEnd)));
    ReportWriter line = WindowReportWriter(w);
    WriteFrequencyLossTable(line, ReportHeadingOf(TOrbiscope::Current()), r, in, look, sweep, LossAtmosphere());
    Finish(w, kFrequencyTableTitle);
}

}  // namespace orbiscope::losses
