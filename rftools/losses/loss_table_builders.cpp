#include "rftools/losses/loss_table_builders.h"

#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/forms/field_check.h"
#include "platform/services.h"
#include "propagation/coordinates.h"
#include "rftools/losses/atmos_loss_record.h"
#include "rftools/losses/loss_forms.h"
#include "rftools/losses/loss_tables.h"
#include "rftools/tables/table_win.h"

namespace orbiscope::losses {

namespace {

LinkAtmosphere*& TestAtmosphere()
{
    static LinkAtmosphere* atmosphere = nullptr;
    return atmosphere;
}

// Tab stops at the running sums of a table's column widths.
template <std::size_t N>
tables::TableTabs TabsOf(const int (&columnWidths)[N])
{
    tables::TableTabs tabs;
    int stop = 0;
    for (int width : columnWidths) tabs.positions.push_back(stop += width);
    return tabs;
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

}  // namespace

LinkAtmosphere& LossAtmosphere() { return TestAtmosphere() ? *TestAtmosphere() : ItuLinkAtmosphere(); }

void SetLossAtmosphere(LinkAtmosphere* atmosphere) { TestAtmosphere() = atmosphere; }

void StartNationalAtmosLosses(TTableWin& w)
{
    w.CountryTable<TRain2Form, NationalLossInputRecord>(
        [](const NationalLossInputRecord& r, std::span<const TownRecord> towns, const ReportHeading& heading) {
            LossTableInputs in;
            in.satLongitude = ParseLatLon(FieldView(r.satLongitude));
            in.frequencyGHz = LeadingNumber(FieldView(r.frequency));
            in.diameterM = LeadingNumber(FieldView(r.diameter));
            in.efficiencyPct = LeadingNumber(FieldView(r.efficiency));
            in.availability = LeadingNumber(FieldView(r.availability));
            CopyPolarization(in, r.polarization);
            const TOrbiscope* app = TOrbiscope::Current();
            tables::TableText table;
            table.tabs = TabsOf(kNationalColumns);
            ReportWriter line = table.Writer();
            table.caption = WriteNationalLossTable(line, heading, r, in, towns, LossAtmosphere(),
                                                   app && app->RestrictPolarization());
            return table;
        });
}

void AvailabilityLosses(TTableWin& w)
{
    w.ClearReport();
    AvailLossInputRecord& r = w.FormBuffer<AvailLossInputRecord>();
    if (!w.RunForm<TAvailForm>(r)) return;
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
    tables::TableText table;
    table.tabs = TabsOf(kAvailabilityColumns);
    table.caption = AvailabilityTableTitle(r);
    ReportWriter line = table.Writer();
    WriteAvailabilityLossTable(line, w.Heading(), r, in, look, LossAtmosphere());
    w.ShowTable(std::move(table));
}

void FrequencyLosses(TTableWin& w)
{
    w.ClearReport();
    FreqLossInputRecord& r = w.FormBuffer<FreqLossInputRecord>();
    if (!w.RunForm<TAttenExtForm>(r)) return;
    LossTableInputs in = SiteInputsOf(r);
    in.availability = LeadingNumber(FieldView(r.availability));
    const SiteLook look = LookAtSatellite(in.latitude, in.longitude, in.satLongitude);
    in.tiltRad = TiltOf(w, in);
    if (!CheckLowElevation(look.elevation)) {
        w.CloseWindow(0);
        return;
    }
    platform::WaitCursor wait;
    const std::vector<double> sweep =
        FrequencySweep(LeadingNumber(FieldView(r.rangeStart)), LeadingNumber(FieldView(r.rangeEnd)));
    tables::TableText table;
    table.tabs = TabsOf(kFrequencyColumns);
    table.caption = kFrequencyTableTitle;
    ReportWriter line = table.Writer();
    WriteFrequencyLossTable(line, w.Heading(), r, in, look, sweep, LossAtmosphere());
    w.ShowTable(std::move(table));
}

}  // namespace orbiscope::losses
