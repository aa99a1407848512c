#include "rftools/losses/loss_tables.h"

#include <cstring>

#include "framework/output/docfile.h"
#include "propagation/coordinates.h"

namespace orbiscope::losses {

namespace {

// Below this elevation the national table shows no losses for a town.
constexpr double kLowestTownElevation = 5.0;
// The availability table's rain-model line is the rain rate at this availability.
constexpr double kRainModelAvailability = 99.99;
// Frequency sweeps: the fine step up to a span of 10 GHz, the coarse beyond;
// a span typed as exactly 10 GHz may come out a few ulps above it.
constexpr double kFineStepGHz = 0.01;
constexpr double kCoarseStepGHz = 0.1;
constexpr double kFineSpanGHz = 10.0;
constexpr double kSpanToleranceGHz = 1e-9;
// The lowest frequency of a sweep typed to start at 0.
constexpr double kZeroStartGHz = 1e-12;

constexpr const char* kCappedNote = "(1) Ag and Ac capped above 95% availability for Atot inclusion.";

template <std::size_t N>
std::string Text(const char (&field)[N])
{
    return FieldText(field);
}

void Key(ReportWriter& line, const char* abbreviation, const char* meaning)
{
    line.Append(std::string(abbreviation) + ":\t" + meaning);
}

LossPath PathOf(const LossTableInputs& in, double elevation)
{
    LossPath path;
    path.latitude = in.latitude;
    path.longitude = in.longitude;
    path.heightKm = in.altitudeKm;
    path.elevation = elevation;
    path.tiltRad = in.tiltRad;
    path.polarization = in.polarization;
    path.diameterM = in.diameterM;
    path.efficiencyPct = in.efficiencyPct;
    path.rainRateSource = 0;  // the tables always take R0.01 from the rain-rate map
    return path;
}

// ---- national table ---------------------------------------------------------

void WriteNationalHead(ReportWriter& line, const ReportHeading& heading, const NationalLossInputRecord& r,
                       const std::string& country)
{
    WriteReportHeading(line, "National Atmospheric Losses Table (ITU-R)", heading);
    line.Blank();
    line.Blank();
    line("Country\t%s", country.c_str());
    line("Satellite name\t%s", Text(r.satName).c_str());
    line("Satellite longitude\t%s", Text(r.satLongitude).c_str());
    line("Frequency\t%s GHz", Text(r.frequency).c_str());
    line("Availability\t%s %%", Text(r.availability).c_str());
    const char* polarization = PolarizationName(FieldView(r.polarization));
    line("Polarization\t%s", polarization ? polarization : Text(r.polarization).c_str());
    line("Antenna diameter\t%s m", Text(r.diameter).c_str());
    line("Antenna efficiency\t%s %%", Text(r.efficiency).c_str());
    line.Blank();
    line.Append("Key to Abbreviations:~");
    Key(line, "Lat", "Site latitude (degrees)");
    Key(line, "Long", "Site longitude (degrees)");
    Key(line, "Alt", "Site altitude (km)");
    Key(line, "Ag", "Atmospheric absorption (dB)");
    Key(line, "Ac", "Cloud attenuation (dB)");
    Key(line, "As", "Tropospheric scintillation attenuation (dB)");
    Key(line, "R0.01", "Rain Rate exceeded for 0.01% of the average year (mm/hr)");
    Key(line, "Ar", "Rain attenuation (dB)");
    Key(line, "Atot", "Combined attenuation (dB)");
    line.Blank();
    line.Append("Notes:~");
    line.Append(kCappedNote);
    line.Blank();
    line.Blank();
    line("%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s~", "Town/City", "Lat", "Long", "Alt", "Ag", "Ac", "As", "R0.01", "Ar",
         "Atot");
}

void WriteTownRow(ReportWriter& line, const TownRecord& town, const LossTableInputs& in, LinkAtmosphere& atm,
                  bool restrictTilt)
{
    LossTableInputs site = in;
    site.latitude = DegMinToDegrees(town.latitude);
    site.longitude = DegMinToDegrees(town.longitude);
    const double elevation = LookAtSatellite(site.latitude, site.longitude, in.satLongitude).elevation;
    site.altitudeKm = atm.TopoHeight(static_cast<float>(site.latitude), static_cast<float>(site.longitude));
    char latitudeText[13], longitudeText[13];
    FormatLatLon(site.latitude, 0, latitudeText);
    FormatLatLon(site.longitude, 1, longitudeText);
    const std::string name(town.name, strnlen(town.name, sizeof town.name));
    // A satellite this low (or hidden) gets no figures: the models do not
    // hold there, and below the horizon they have no path at all.
    if (!(elevation >= kLowestTownElevation)) {
        constexpr const char* kLow = "EL<5";
        line("%s\t%s\t%s\t%.3lf\t%s\t%s\t%s\t%s\t%s\t%s", name.c_str(), latitudeText, longitudeText, site.altitudeKm,
             kLow, kLow, kLow, kLow, kLow, kLow);
        return;
    }
    site.tiltRad = PolarizationTilt(site.latitude, LongitudeDifference(site.longitude, in.satLongitude),
                                    in.polarization, restrictTilt);
    const LossTerms t = AtmosLossChain(atm, PathOf(site, elevation), in.frequencyGHz, in.availability);
    line("%s\t%s\t%s\t%.3lf\t%.2lf\t%.2lf\t%.2lf\t%s\t%.2lf\t%.2lf", name.c_str(), latitudeText, longitudeText,
         site.altitudeKm, t.gas, t.cloud, t.scintillation, Text(t.rainResult.rainRateText).c_str(), t.rain, t.total);
}

// ---- availability and frequency tables ------------------------------------------

void WriteSiteLines(ReportWriter& line, const char* siteName, const char* latitude, const char* longitude,
                    double altitudeKm, const char* satName, const char* satLongitude)
{
    line("Site location\t%s", siteName);
    line("Site latitude\t%s degrees", latitude);
    line("Site longitude\t%s degrees", longitude);
    line("Site altitude\t%.3lf km", altitudeKm);
    line("Satellite\t%s", satName);
    line("Satellite longitude\t%s degrees", satLongitude);
}

void WriteSharedKey(ReportWriter& line)
{
    Key(line, "Ag", "Atmospheric aborption (dB)");
    Key(line, "Ac", "Cloud attenuation (dB)");
    Key(line, "As", "Tropospheric scintillation attenuation (dB)");
    Key(line, "Ar", "Rain attenuation (dB)");
    Key(line, "Atot", "Total combined attenuation (dB)");
}

void WriteAvailabilityHead(ReportWriter& line, const ReportHeading& heading, const AvailLossInputRecord& r,
                           const LossTableInputs& in, const SiteLook& look, LinkAtmosphere& atm)
{
    WriteReportHeading(line, AvailabilityTableTitle(r).c_str(), heading);
    line.Blank();
    WriteSiteLines(line, Text(r.siteName).c_str(), Text(r.siteLatitude).c_str(), Text(r.siteLongitude).c_str(),
                   in.altitudeKm, Text(r.satName).c_str(), Text(r.satLongitude).c_str());
    line("Frequency\t%s GHz", Text(r.frequency).c_str());
    line("Polarization\t%s", Text(r.polarization).c_str());
    line("Antenna diameter\t%s m", Text(r.diameter).c_str());
    line("Antenna efficiency\t%s %%", Text(r.efficiency).c_str());
    line("Azimuth\t%.2lf degrees", look.azimuth);
    line("Elevation\t%.2lf degrees", look.elevation);
    line("Path distance\t%.2lf km", look.slantRangeKm);
    const LinkRainResult model = AtmosLossChain(atm, PathOf(in, look.elevation), in.frequencyGHz,
                                                kRainModelAvailability).rainResult;
    line("Model(mm/h)\t%s(%s)", Text(model.modelName).c_str(), Text(model.rainRateText).c_str());
    line.Blank();
    line.Append("Key to Abbreviations:~");
    Key(line, "Avail", "Availability (% average year)");
    WriteSharedKey(line);
    Key(line, "XPD", "Cross polarization discrimination (dB)");
    Key(line, "DTime", "Hours downtime (average year)");
    line.Blank();
    line.Append("Notes:~");
    line.Append(kCappedNote);
    line.Append("(2) XPD model is valid for 4 <= f <= 55 GHz, elevation <= 60 deg.");
    line.Blank();
    line.Blank();
    line("%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s~", "Avail", "Ag", "Ac", "As", "Ar", "Atot", "XPD", "DTime");
    line.Blank();
}

void WriteFrequencyHead(ReportWriter& line, const ReportHeading& heading, const FreqLossInputRecord& r,
                        const LossTableInputs& in, const SiteLook& look)
{
    WriteReportHeading(line, kFrequencyTableTitle, heading);
    line.Blank();
    WriteSiteLines(line, Text(r.siteName).c_str(), Text(r.siteLatitude).c_str(), Text(r.siteLongitude).c_str(),
                   in.altitudeKm, Text(r.satName).c_str(), Text(r.satLongitude).c_str());
    line("Polarization\t%s", Text(r.polarization).c_str());
    line("Antenna diameter\t%s m", Text(r.diameter).c_str());
    line("Antenna efficiency\t%s %%", Text(r.efficiency).c_str());
    line("Elevation\t%.2lf degrees", look.elevation);
    line("Path distance\t%.2lf km", look.slantRangeKm);
    line("Availability\t%s %%", Text(r.availability).c_str());
    line.Blank();
    line.Append("Key to Abbreviations:~");
    Key(line, "Freq(GHz)", "Freq (GHz) (% average year)");
    WriteSharedKey(line);
    line.Blank();
    line.Append("Notes:~");
    line.Append(kCappedNote);
    line.Blank();
    line.Blank();
    line("%s\t%s\t%s\t%s\t%s\t%s\t~", "Freq(GHz)", "Ag", "Ac", "As", "Ar", "Atot");
    line.Blank();
}

}  // namespace

std::string WriteNationalLossTable(ReportWriter& line, const ReportHeading& heading,
                                   const NationalLossInputRecord& r, const LossTableInputs& in,
                                   std::span<const TownRecord> towns, LinkAtmosphere& atm, bool restrictTilt)
{
    const std::string country =
        towns.empty() ? std::string() : std::string(towns[0].name, strnlen(towns[0].name, sizeof towns[0].name));
    WriteNationalHead(line, heading, r, country);
    for (std::size_t i = 1; i < towns.size(); ++i) WriteTownRow(line, towns[i], in, atm, restrictTilt);
    return Text(r.satLongitude) + " National Atmospheric Losses  : " + country;
}

std::vector<double> DecadeAvailabilities(const LadderDecade& decade)
{
    std::vector<double> rows;
    for (double a = decade.first; a >= decade.last - decade.step / 2; a -= decade.step) rows.push_back(a);
    return rows;
}

std::string AvailabilityTableTitle(const AvailLossInputRecord& r)
{
    return "Availability v Atmospheric Losses " + Text(r.frequency) + " GHz (ITU-R Model)";
}

void WriteAvailabilityLossTable(ReportWriter& line, const ReportHeading& heading, const AvailLossInputRecord& r,
                                const LossTableInputs& in, const SiteLook& look, LinkAtmosphere& atm)
{
    WriteAvailabilityHead(line, heading, r, in, look, atm);
    const LossPath path = PathOf(in, look.elevation);
    for (const LadderDecade& decade : kAvailabilityLadder) {
        for (double a : DecadeAvailabilities(decade)) {
            const LossTerms t = AtmosLossChain(atm, path, in.frequencyGHz, a);
            const double xpd = LossXpd(atm, path, in.frequencyGHz, a, t.rain);
            line("%.3lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf", a, t.gas, t.cloud, t.scintillation, t.rain,
                 t.total, xpd, YearlyDowntimeHours(a));
        }
        line.Blank();
    }
}

std::vector<double> FrequencySweep(double startGHz, double endGHz)
{
    const double start = startGHz == 0.0 ? kZeroStartGHz : startGHz;
    const double step = endGHz - start <= kFineSpanGHz + kSpanToleranceGHz ? kFineStepGHz : kCoarseStepGHz;
    std::vector<double> frequencies;
    // The last test stops a sweep so far out that the step no longer moves it.
    for (double f = start; f <= endGHz + step / 2 && f + step != f; f += step) frequencies.push_back(f);
    return frequencies;
}

void WriteFrequencyLossTable(ReportWriter& line, const ReportHeading& heading, const FreqLossInputRecord& r,
                             const LossTableInputs& in, const SiteLook& look, std::span<const double> frequencies,
                             LinkAtmosphere& atm)
{
    WriteFrequencyHead(line, heading, r, in, look);
    const LossPath path = PathOf(in, look.elevation);
    for (double f : frequencies) {
        const LossTerms t = AtmosLossChain(atm, path, f, in.availability);
        line("%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf", f, t.gas, t.cloud, t.scintillation, t.rain, t.total);
    }
}

}  // namespace orbiscope::losses
