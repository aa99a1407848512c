#include "rftools/losses/atmos_loss_report.h"

namespace orbiscope::losses {

AtmosLossResults CalculateAtmosLosses(LinkAtmosphere& atm, const AtmosLossInputs& in, const SiteLook& look,
                                      double tiltRad)
{
    AtmosLossResults res;
    res.look = look;
    res.altitudeKm = in.altitudeAuto
                         ? atm.TopoHeight(static_cast<float>(in.latitude), static_cast<float>(in.longitude))
                         : in.altitudeKm;
    LossPath path;
    path.latitude = in.latitude;
    path.longitude = in.longitude;
    path.heightKm = res.altitudeKm;
    path.elevation = look.elevation;
    path.tiltRad = tiltRad;
    path.polarization = in.polarization;
    path.diameterM = in.diameterM;
    path.efficiencyPct = in.efficiencyPct;
    path.rainRateSource = in.rainRateMode;
    path.manualRainRate = in.manualRainRate;
    res.losses = AtmosLossChain(atm, path, in.frequencyGHz, in.availability);
    const double precipitation = res.losses.rain + res.losses.cloud;
    res.noiseIncrease = NoiseIncreaseDb(precipitation, in.systemNoiseK);
    res.degradation = precipitation + res.noiseIncrease;
    res.worstMonth = WorstMonthAvailability(in.availability);
    res.yearlyDowntime = YearlyDowntimeHours(in.availability);
    res.worstMonthDowntime = WorstMonthDowntimeHours(res.worstMonth.availability);
    res.xpd = LossXpd(atm, path, in.frequencyGHz, in.availability, res.losses.rain);
    return res;
}

namespace {

void WriteInputs(ReportWriter& line, const AtmosLossInputRecord& r, const AtmosLossResults& res)
{
    line.Append("Input Parameters\tValue\tUnits~");
    line.Blank();
    line("Site latitude\t%s\tdegrees", FieldText(r.siteLatitude).c_str());
    line("Site longitude\t%s\tdegrees", FieldText(r.siteLongitude).c_str());
    line("Site altitude\t%.3lf\tkm", res.altitudeKm);
    line("Satellite longitude\t%s\tdegrees", FieldText(r.satLongitude).c_str());
    line("Frequency\t%s\tGHz", FieldText(r.frequency).c_str());
    line("Antenna aperture\t%s\tm", FieldText(r.diameter).c_str());
    line("Antenna efficiency\t%s\t%%", FieldText(r.efficiency).c_str());
    if (const char* name = PolarizationName(FieldView(r.polarization))) line("Polarization\t%s\t", name);
    const LinkRainResult& rain = res.losses.rainResult;
    line("R0.01\t%s (%s)\t(mm/h)", FieldText(rain.modelName).c_str(), FieldText(rain.rainRateText).c_str());
    line("Availability (average year)\t%s\t%%", FieldText(r.availability).c_str());
    line("Total system noise\t%s\tK", FieldText(r.systemNoise).c_str());
    line.Blank();
}

void WriteLookAngles(ReportWriter& line, const SiteLook& look)
{
    line.Append("Satellite Look Angles\tValue\tUnits~");
    line.Blank();
    line("Elevation\t%.2lf\tdegrees", look.elevation);
    line("True azimuth\t%.2lf\tdegrees", look.azimuth);
    line("Path distance to satellite\t%.2lf\tkm", look.slantRangeKm);
    line.Blank();
}

void WriteResults(ReportWriter& line, const AtmosLossInputs& in, const AtmosLossResults& res)
{
    const LossTerms& t = res.losses;
    line.Append("Propagation Results\tValue\tUnits~");
    line.Blank();
    line("Atmospheric absorption (p=5%% for p<5%%)\t%.2lf\tdB", t.gas);
    line("Tropospheric scintillation\t%.2lf\tdB", t.scintillation);
    line("Cloud attenuation (p=5%% for p<5%%)\t%.2lf\tdB", t.cloud);
    line("Rain attenuation (0dB for p>5%%)\t%.2lf\tdB", t.rain);
    line("Total attenuation\t%.2lf\tdB", t.total);
    line("Noise increase due to precipitation (downlink)\t%.2lf\tdB", res.noiseIncrease);
    line("Downlink degradation (DND)\t%.2lf\tdB", res.degradation);
    if (res.xpd != 0.0) line("Cross polarization discrimination (XPD)\t%.2lf\tdB", res.xpd);
    line("Availability (average year)\t%.3lf\t%%", in.availability);
    line("Link downtime (average year)\t%.3lf\thours#", res.yearlyDowntime);
    line("Availability (worst month)\t%.2lf\t%%", res.worstMonth.availability);
    line("Link downtime (worst month)\t%.3lf\thours#", res.worstMonthDowntime);
    // The worst-month conversion runs past a whole month of outage there.
    if (res.worstMonth.limited)
        line("Worst month held at 0 %% availability (average year below %.2lf %%)", WorstMonthFloorAvailability());
}

}  // namespace

void WriteAtmosLossReport(ReportWriter& line, const ReportHeading& heading, const AtmosLossInputRecord& r,
                          const AtmosLossInputs& in, const AtmosLossResults& res)
{
    WriteReportHeading(line, "Atmospheric Losses", heading);
    line.Blank();
    line.Blank();
    line("Site name\t%s", FieldText(r.siteName).c_str());
    line("Satellite name\t%s", FieldText(r.satName).c_str());
    line.Blank();
    WriteInputs(line, r, res);
    WriteLookAngles(line, res.look);
    WriteResults(line, in, res);
}

}  // namespace orbiscope::losses
