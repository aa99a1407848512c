// The atmospheric-losses window's figures and report: the loss chain at the
// site, the downlink noise increase and degradation, XPD, the worst-month
// availability and the downtimes, written as the "Atmospheric Losses"
// report.  Free of Qt.
#pragma once

#include "framework/output/report_writer.h"
#include "propagation/link_atmosphere.h"
#include "rftools/losses/atmos_loss_record.h"
#include "rftools/losses/loss_chain.h"

namespace orbiscope::losses {

// The numbers of a record, read as the C run-time reads them.
struct AtmosLossInputs {
    double latitude = 0.0;         // degrees, north positive
    double longitude = 0.0;        // degrees, east positive
    double altitudeKm = 0.0;       // as entered (unused when altitudeAuto)
    double satLongitude = 0.0;     // degrees, east positive
    double frequencyGHz = 0.0;
    double availability = 0.0;     // %
    double systemNoiseK = 0.0;
    double diameterM = 0.0;
    double efficiencyPct = 0.0;
    double manualRainRate = 0.0;   // mm/h
    int rainRateMode = 0;          // 0 map, 1 manual
    bool altitudeAuto = false;     // the altitude is the terrain height at the site
    char polarization[2] = {};
};

struct AtmosLossResults {
    SiteLook look;
    double altitudeKm = 0.0;        // used
    LossTerms losses;
    double noiseIncrease = 0.0;     // dB
    double degradation = 0.0;       // DND, dB
    WorstMonth worstMonth;
    double yearlyDowntime = 0.0;    // hours
    double worstMonthDowntime = 0.0;  // hours
    double xpd = 0.0;               // dB, 0 without rain
};

// The losses at the site for the look angles found; `tiltRad` is the
// polarization tilt of the path.  Neither gas nor scintillation count in the
// noise increase or the degradation.
AtmosLossResults CalculateAtmosLosses(LinkAtmosphere& atm, const AtmosLossInputs& in, const SiteLook& look,
                                      double tiltRad);

// The report's two tab stops, pixels.
inline constexpr int kAtmosLossTabStops[] = {300, 400};

void WriteAtmosLossReport(ReportWriter& line, const ReportHeading& heading, const AtmosLossInputRecord& r,
                          const AtmosLossInputs& in, const AtmosLossResults& res);

}  // namespace orbiscope::losses
