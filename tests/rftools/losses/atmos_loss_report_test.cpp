// The "Atmospheric Losses" report over a known atmosphere: every line, the
// lines that come and go, and which altitude and rain rate the models get.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_atmosphere.h"
#include "rftools/losses/atmos_loss_report.h"

namespace {

using namespace orbiscope::losses;

const ReportHeading kHeading{"Orbiscope Test Bench", "Tuesday 5 March 2024"};
constexpr SiteLook kLook{25.4, 145.45, 38123.456};
constexpr double kTiltRad = 0.3;

AtmosLossInputRecord LondonRecord()
{
    AtmosLossInputRecord r;
    SetAtmosLossDefaults(r);
    PutText(r.siteName, "London");
    PutText(r.satName, "Astra 2E");
    PutText(r.siteLatitude, "51.50N");
    PutText(r.siteLongitude, "0.12W");
    PutText(r.satLongitude, "28.2E");
    PutText(r.frequency, "11.7");
    PutText(r.polarization, "H");
    PutText(r.availability, "99.99");
    PutText(r.systemNoise, "120");
    PutText(r.diameter, "1.2");
    PutText(r.efficiency, "65");
    return r;
}

AtmosLossInputs LondonInputs()
{
    AtmosLossInputs in;
    in.latitude = 51.5;
    in.longitude = -0.12;
    in.satLongitude = 28.2;
    in.frequencyGHz = 11.7;
    in.availability = 99.99;
    in.systemNoiseK = 120.0;
    in.diameterM = 1.2;
    in.efficiencyPct = 65.0;
    in.altitudeAuto = true;
    in.polarization[0] = 'H';
    return in;
}

std::vector<std::string> Report(losstest::FakeAtmosphere& atm, const AtmosLossInputRecord& r,
                                 const AtmosLossInputs& in)
{
    const AtmosLossResults res = CalculateAtmosLosses(atm, in, kLook, kTiltRad);
    std::string text;
    std::int32_t lines = 0;
    ReportWriter writer(text, lines);
    WriteAtmosLossReport(writer, kHeading, r, in, res);
    EXPECT_EQ(lines, std::int32_t(losstest::Lines(text).size()));
    return losstest::Lines(text);
}

// Gas 0.31, scintillation 0.42, cloud 0.53, rain 6.64 dB from the fake.
// Total 0.31 + sqrt(7.17^2 + 0.42^2) = 7.4923; noise increase over 120 K:
// 10 log10((120 + 275 (1 - 10^-0.717)) / 120) = 4.5515, DND 11.7215; worst
// month and downtimes of 99.99 %: 99.9481 %, 0.8766 h, 0.3789 h.
TEST(AtmosLossReport, EveryLine)
{
    losstest::FakeAtmosphere atm;
    const std::vector<std::string> expected = {
        "Atmospheric Losses",
        "Orbiscope Test Bench~",
        "Tuesday 5 March 2024",
        " ",
        " ",
        "Site name\tLondon",
        "Satellite name\tAstra 2E",
        " ",
        "Input Parameters\tValue\tUnits~",
        " ",
        "Site latitude\t51.50N\tdegrees",
        "Site longitude\t0.12W\tdegrees",
        "Site altitude\t0.250\tkm",
        "Satellite longitude\t28.2E\tdegrees",
        "Frequency\t11.7\tGHz",
        "Antenna aperture\t1.2\tm",
        "Antenna efficiency\t65\t%",
        "Polarization\tHorizontal\t",
        "R0.01\tITU-R (31.500)\t(mm/h)",
        "Availability (average year)\t99.99\t%",
        "Total system noise\t120\tK",
        " ",
        "Satellite Look Angles\tValue\tUnits~",
        " ",
        "Elevation\t25.40\tdegrees",
        "True azimuth\t145.45\tdegrees",
        "Path distance to satellite\t38123.46\tkm",
        " ",
        "Propagation Results\tValue\tUnits~",
        " ",
        "Atmospheric absorption (p=5% for p<5%)\t0.31\tdB",
        "Tropospheric scintillation\t0.42\tdB",
        "Cloud attenuation (p=5% for p<5%)\t0.53\tdB",
        "Rain attenuation (0dB for p>5%)\t6.64\tdB",
        "Total attenuation\t7.49\tdB",
        "Noise increase due to precipitation (downlink)\t4.55\tdB",
        "Downlink degradation (DND)\t11.72\tdB",
        "Cross polarization discrimination (XPD)\t27.75\tdB",
        "Availability (average year)\t99.990\t%",
        "Link downtime (average year)\t0.877\thours#",
        "Availability (worst month)\t99.95\t%",
        "Link downtime (worst month)\t0.379\thours#",
    };
    EXPECT_EQ(Report(atm, LondonRecord(), LondonInputs()), expected);
    // The terrain height went to every model; the rain and XPD got the tilt.
    EXPECT_EQ(atm.Find("topo")->args, (std::vector<double>{float(51.5), float(-0.12)}));
    EXPECT_EQ(atm.Find("gas")->args[4], 0.25);
    EXPECT_EQ(atm.Find("rain")->args[2], kTiltRad);
    EXPECT_EQ(atm.Find("xpd")->args[2], kTiltRad);
}

struct LineCase {
    const char* name;
    const char* polarization;
    double availability;
    const char* present;
    const char* absent;
};

// Lines that depend on the inputs: the polarization name, the XPD line (left
// out when there is no rain), the note of a worst month held at 0.
TEST(AtmosLossReport, LinesThatComeAndGo)
{
    const LineCase cases[] = {
        {"vertical", "V", 99.99, "Polarization\tVertical\t", "Worst month held"},
        {"circular", "C", 99.99, "Polarization\tCircular\t", nullptr},
        {"no rain below 95 %", "H", 90.0, "Rain attenuation (0dB for p>5%)\t0.00\tdB",
         "Cross polarization discrimination (XPD)"},
        {"worst month held at 0", "H", 40.0,
         "Worst month held at 0 % availability (average year below 40.30 %)", nullptr},
        {"worst month of 40.30 % held too", "H", 40.3, "Availability (worst month)\t0.00\t%", nullptr},
    };
    for (const LineCase& c : cases) {
        losstest::FakeAtmosphere atm;
        atm.rainAt = [](double a) { return 100.0 - a > 5.0 ? 0.0 : 6.64; };
        AtmosLossInputRecord r = LondonRecord();
        PutText(r.polarization, c.polarization);
        AtmosLossInputs in = LondonInputs();
        in.polarization[0] = c.polarization[0];
        in.availability = c.availability;
        const std::vector<std::string> lines = Report(atm, r, in);
        const auto has = [&](const char* prefix) {
            for (const std::string& l : lines)
                if (l.rfind(prefix, 0) == 0) return true;
            return false;
        };
        EXPECT_TRUE(has(c.present)) << c.name;
        if (c.absent) {
            EXPECT_FALSE(has(c.absent)) << c.name;
        }
    }
}

TEST(AtmosLossReport, EnteredAltitudeAndTypedRainRate)
{
    losstest::FakeAtmosphere atm;
    AtmosLossInputs in = LondonInputs();
    in.altitudeAuto = false;
    in.altitudeKm = 1.5;
    in.rainRateMode = 1;
    in.manualRainRate = 12.0;
    const AtmosLossResults res = CalculateAtmosLosses(atm, in, kLook, kTiltRad);
    EXPECT_EQ(atm.Count("topo"), 0);
    EXPECT_EQ(res.altitudeKm, 1.5);
    const std::vector<double> rain = atm.Find("rain")->args;
    EXPECT_EQ(rain[3], 1.5);
    EXPECT_EQ(rain[6], 1.0);   // the typed rate's source
    EXPECT_EQ(rain[7], 12.0);
    EXPECT_STREQ(res.losses.rainResult.rainRateText, "12.000");
}

}  // namespace
