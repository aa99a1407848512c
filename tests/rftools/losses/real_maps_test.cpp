// The atmospheric losses over the real ITU-R maps: the window's terms agree
// with the link budgets' path terms for the same path, and the whole report
// of a temperate and a tropical site (checked by hand, see below).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "fake_atmosphere.h"
#include "framework/output/docfile.h"
#include "linkbudget/geo_link_budget.h"
#include "linkbudget/path_fill.h"
#include "propagation/coordinates.h"
#include "propagation/itu_maps.h"
#include "rftools/losses/atmos_loss_report.h"

namespace {

using namespace orbiscope::losses;

class Quiet final : public ItuMapLoadObserver {
public:
    int failures = 0;
    void MapLoadFailed(const std::string&) override { ++failures; }
};

class RealMaps : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Quiet observer;
        LoadItuMaps(".", observer);
        loaded_ = observer.failures == 0;
    }
    static void TearDownTestSuite() { FreeItuMaps(); }
    void SetUp() override { ASSERT_TRUE(loaded_) << "the ITU-R maps are unpacked into the build folder"; }
    static inline bool loaded_ = false;
};

struct Site {
    const char* name;
    const char* latitude;
    const char* longitude;
    const char* satLongitude;
    double frequencyGHz;
    const char* polarization;
    double availability;
    double diameterM, efficiencyPct, systemNoiseK;
};

AtmosLossInputs InputsOf(const Site& s)
{
    AtmosLossInputs in;
    in.latitude = ParseLatLon(s.latitude);
    in.longitude = ParseLatLon(s.longitude);
    in.satLongitude = ParseLatLon(s.satLongitude);
    in.frequencyGHz = s.frequencyGHz;
    in.availability = s.availability;
    in.diameterM = s.diameterM;
    in.efficiencyPct = s.efficiencyPct;
    in.systemNoiseK = s.systemNoiseK;
    in.altitudeAuto = true;
    in.polarization[0] = s.polarization[0];
    return in;
}

double TiltOf(const AtmosLossInputs& in)
{
    return PolarizationTilt(in.latitude, LongitudeDifference(in.longitude, in.satLongitude), in.polarization, false);
}

// ---- the same terms as the link budgets ------------------------------------------

const Site kCrossSites[] = {
    {"London Ku", "51.50N", "0.12W", "28.2E", 11.7, "H", 99.9, 1.2, 65.0, 120.0},
    {"London Ka at 99.99", "51.50N", "0.12W", "28.2E", 19.7, "V", 99.99, 0.75, 60.0, 180.0},
    {"Kuala Lumpur Ku", "3.14N", "101.69E", "91.5E", 12.2, "C", 99.7, 2.4, 68.0, 140.0},
    {"Lima C band", "12.05S", "77.04W", "61.0W", 4.0, "V", 99.99, 3.7, 70.0, 60.0},
    {"Nairobi at 97 % (no rain)", "1.29S", "36.82E", "36.0E", 14.25, "H", 97.0, 1.8, 65.0, 150.0},
    {"Reykjavik low", "64.15N", "21.94W", "5.0E", 12.0, "V", 99.95, 1.8, 65.0, 150.0},
};

// The budget's path fill on the window's elevation, altitude and tilt gives
// the same gas, scintillation, cloud, rain, total and XPD at the same
// availability, on both the uplink's and the downlink's record.
TEST_F(RealMaps, WindowTermsEqualTheBudgetPathTerms)
{
    LinkAtmosphere& atm = ItuLinkAtmosphere();
    for (const Site& s : kCrossSites) {
        const AtmosLossInputs in = InputsOf(s);
        const SiteLook look = LookAtSatellite(in.latitude, in.longitude, in.satLongitude);
        const double tilt = TiltOf(in);
        const AtmosLossResults w = CalculateAtmosLosses(atm, in, look, tilt);

        const lbpath::PathSite site{in.latitude,    in.longitude,    in.frequencyGHz, in.diameterM,
                                    in.efficiencyPct, look.elevation, w.altitudeKm,   tilt,
                                    0.0,            in.polarization, 0,               false};
        PathLossRecord up{};
        DownlinkPathLossRecord down{};
        LinkRainResult upRain, downRain;
        double upAvailability = 0.0, downAvailability = 0.0;
        lbpath::FillPath(atm, site, 0.0, in.availability, up, upRain, upAvailability);
        lbpath::FillPath(atm, site, 0.0, in.availability, down, downRain, downAvailability);

        const LossTerms& t = w.losses;
        for (const auto& [gas, scint, cloud, rain, total, xpd] :
             {std::tuple{up.gasAtAvailability, up.scintillationAtAvailability, up.cloud, up.rain,
                         up.totalAttenuation, up.xpd},
              std::tuple{down.gasAtAvailability, down.scintillationAtAvailability, down.cloud, down.rain,
                         down.totalAttenuation, down.xpd}}) {
            EXPECT_EQ(t.gas, gas) << s.name;
            EXPECT_EQ(t.scintillation, scint) << s.name;
            EXPECT_EQ(t.cloud, cloud) << s.name;
            EXPECT_EQ(t.rain, rain) << s.name;
            EXPECT_EQ(t.total, total) << s.name;
            EXPECT_EQ(w.xpd, xpd) << s.name;
        }
        EXPECT_STREQ(t.rainResult.rainRateText, upRain.rainRateText) << s.name;
        EXPECT_EQ(w.worstMonth.availability, up.worstMonthAvailability) << s.name;
        EXPECT_EQ(w.yearlyDowntime, up.annualDowntime) << s.name;
        EXPECT_TRUE(std::isfinite(t.total) && t.total > 0.0) << s.name;
    }
}

// ---- golden reports -------------------------------------------------------------

const ReportHeading kHeading{"Orbiscope Test Bench", "Tuesday 5 March 2024"};

std::vector<std::string> GoldenReport(const Site& s, const char* siteName, const char* satName,
                                      const char* frequencyText, const char* availabilityText)
{
    AtmosLossInputRecord r;
    SetAtmosLossDefaults(r);
    PutText(r.siteName, siteName);
    PutText(r.satName, satName);
    PutText(r.siteLatitude, s.latitude);
    PutText(r.siteLongitude, s.longitude);
    PutText(r.satLongitude, s.satLongitude);
    PutText(r.frequency, frequencyText);
    PutText(r.polarization, s.polarization);
    PutText(r.availability, availabilityText);
    PutText(r.systemNoise, "120");
    PutText(r.diameter, "1.2");
    PutText(r.efficiency, "65");
    const AtmosLossInputs in = InputsOf(s);
    const SiteLook look = LookAtSatellite(in.latitude, in.longitude, in.satLongitude);
    const AtmosLossResults res = CalculateAtmosLosses(ItuLinkAtmosphere(), in, look, TiltOf(in));
    std::string text;
    std::int32_t count = 0;
    ReportWriter line(text, count);
    WriteAtmosLossReport(line, kHeading, r, in, res);
    return losstest::Lines(text);
}

std::vector<std::string> ResultLines(const std::vector<std::string>& report)
{
    const auto first = std::find(report.begin(), report.end(), "Input Parameters\tValue\tUnits~");
    return std::vector<std::string>(first, report.end());
}

// London to 28.2E at 11.7 GHz, 99.99 %.  Checked by hand: slant range
// sqrt(R^2 + r^2 - 2 R r cos(51.5) cos(28.32)) = 39035.61 km and free-space
// elevation 25.37 degrees (25.40 with refraction); rain by the steps of
// ITU-R P.618-13 on the maps' R0.01 = 26.485 mm/h and h0 = 2.0935 km, tilt
// -0.364 rad, with the P.838-3 table coefficients interpolated between 10 and
// 12 GHz: 4.90 dB; noise increase 10 log10((120 + 275 (1 - 10^-0.502)) / 120)
// = 4.10 dB, DND 9.12 dB; worst month 100 - (0.01 / 0.3)^0.87 = 99.95 %.
TEST_F(RealMaps, GoldenReportTemperate)
{
    const Site london{"London", "51.50N", "0.12W", "28.2E", 11.7, "H", 99.99, 1.2, 65.0, 120.0};
    const std::vector<std::string> expected = {
        "Input Parameters\tValue\tUnits~",
        " ",
        "Site latitude\t51.50N\tdegrees",
        "Site longitude\t0.12W\tdegrees",
        "Site altitude\t0.066\tkm",
        "Satellite longitude\t28.2E\tdegrees",
        "Frequency\t11.7\tGHz",
        "Antenna aperture\t1.2\tm",
        "Antenna efficiency\t65\t%",
        "Polarization\tHorizontal\t",
        "R0.01\tITU-R (26.485)\t(mm/h)",
        "Availability (average year)\t99.99\t%",
        "Total system noise\t120\tK",
        " ",
        "Satellite Look Angles\tValue\tUnits~",
        " ",
        "Elevation\t25.40\tdegrees",
        "True azimuth\t145.45\tdegrees",
        "Path distance to satellite\t39035.61\tkm",
        " ",
        "Propagation Results\tValue\tUnits~",
        " ",
        "Atmospheric absorption (p=5% for p<5%)\t0.18\tdB",
        "Tropospheric scintillation\t0.70\tdB",
        "Cloud attenuation (p=5% for p<5%)\t0.11\tdB",
        "Rain attenuation (0dB for p>5%)\t4.91\tdB",
        "Total attenuation\t5.24\tdB",
        "Noise increase due to precipitation (downlink)\t4.10\tdB",
        "Downlink degradation (DND)\t9.12\tdB",
        "Cross polarization discrimination (XPD)\t22.25\tdB",
        "Availability (average year)\t99.990\t%",
        "Link downtime (average year)\t0.877\thours#",
        "Availability (worst month)\t99.95\t%",
        "Link downtime (worst month)\t0.379\thours#",
    };
    EXPECT_EQ(ResultLines(GoldenReport(london, "London", "Astra 2E", "11.7", "99.99")), expected);
}

// Kuala Lumpur to 91.5E at 12.2 GHz, circular, 99.9 %.  Checked by hand:
// slant range 35915.84 km, elevation 77.46 degrees; rain by P.618-13 on
// R0.01 = 99.342 mm/h and h0 = 4.5983 km with the latitude term of a tropical
// site (beta = 0.164), P.838-3 coefficients interpolated between 12 and 15 GHz:
// 7.17 dB at p = 0.1 %; total 0.11 + sqrt(7.21^2 + 0.33^2) = 7.33 dB; noise
// increase 4.56 dB, DND 11.77 dB; worst month 100 - (0.1 / 0.3)^0.87 = 99.62 %.
TEST_F(RealMaps, GoldenReportTropical)
{
    const Site kualaLumpur{"Kuala Lumpur", "3.14N", "101.69E", "91.5E", 12.2, "C", 99.9, 1.2, 65.0, 120.0};
    const std::vector<std::string> expected = {
        "Input Parameters\tValue\tUnits~",
        " ",
        "Site latitude\t3.14N\tdegrees",
        "Site longitude\t101.69E\tdegrees",
        "Site altitude\t0.188\tkm",
        "Satellite longitude\t91.5E\tdegrees",
        "Frequency\t12.2\tGHz",
        "Antenna aperture\t1.2\tm",
        "Antenna efficiency\t65\t%",
        "Polarization\tCircular\t",
        "R0.01\tITU-R (99.342)\t(mm/h)",
        "Availability (average year)\t99.9\t%",
        "Total system noise\t120\tK",
        " ",
        "Satellite Look Angles\tValue\tUnits~",
        " ",
        "Elevation\t77.46\tdegrees",
        "True azimuth\t253.05\tdegrees",
        "Path distance to satellite\t35915.84\tkm",
        " ",
        "Propagation Results\tValue\tUnits~",
        " ",
        "Atmospheric absorption (p=5% for p<5%)\t0.11\tdB",
        "Tropospheric scintillation\t0.33\tdB",
        "Cloud attenuation (p=5% for p<5%)\t0.03\tdB",
        "Rain attenuation (0dB for p>5%)\t7.18\tdB",
        "Total attenuation\t7.33\tdB",
        "Noise increase due to precipitation (downlink)\t4.56\tdB",
        "Downlink degradation (DND)\t11.77\tdB",
        "Cross polarization discrimination (XPD)\t37.25\tdB",
        "Availability (average year)\t99.900\t%",
        "Link downtime (average year)\t8.766\thours#",
        "Availability (worst month)\t99.62\t%",
        "Link downtime (worst month)\t2.809\thours#",
    };
    EXPECT_EQ(ResultLines(GoldenReport(kualaLumpur, "Kuala Lumpur", "Measat 3", "12.2", "99.9")), expected);
}

}  // namespace
