// The outage search: a golden season checked against an independent sky,
// the shortcut over far steps against the plain stepping, and the options.
#include "pointing/sun/outage_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "pointing/sun/solar_batch.h"
#include "pointing/sun/sun.h"
#include "sky_reference.h"

namespace {

using namespace orbiscope::sun;

struct Collected : OutageSink {
    std::vector<OutageEvent> events;
    std::vector<std::string> rows;
    int noOutages = 0;
    long steps = 0;
    void Event(const OutageEvent& e) override
    {
        events.push_back(e);
        rows.push_back(std::string(kShortMonthNames[e.month - 1]) + " " + std::to_string(e.day) +
                       FormatEventColumns(e));
    }
    void NoOutages() override { ++noOutages; }
    bool Step() override
    {
        ++steps;
        return true;
    }
};

struct Site { const char* name; double latitude, longitude, satelliteLongitude, zone; };

OutageInputs InputsFor(const Site& s, double apertureM, double frequencyGHz)
{
    const LookAngles look = SatelliteLookAngles(s.latitude, s.longitude, s.satelliteLongitude);
    OutageInputs in;
    in.satelliteElevation = look.elevation;
    in.satelliteAzimuth = look.azimuth;
    in.year = 2025;
    in.zone = s.zone;
    in.apertureM = apertureM;
    in.frequencyGHz = frequencyGHz;
    return in;
}

Collected Search(const Site& s, const OutageInputs& in, SeasonGroup g, Stepping stepping = Stepping::SkipFarSteps)
{
    TSun sun(s.latitude, s.longitude);
    Collected c;
    FindOutages(sun, in, g, c, stepping);
    return c;
}

const Site kLondon{"51.50N 0.12W, satellite 28.2E", 51.5, -0.12, 28.2, 0.0};

// The golden season: a 1.2 m dish at 11.7 GHz to the second.  The days and
// times are checked against the independent sky in the next test.
TEST(OutageSearch, GoldenEarlySeasonLondon)
{
    OutageInputs in = InputsFor(kLondon, 1.2, 11.7);
    in.minuteRefinement = false;
    in.secondRefinement = true;
    const Collected c = Search(kLondon, in, kEarlySeason);
    const std::vector<std::string> expected = {
        "Feb 26\t10:05:53\t10:08:51\t10:11:49\tLow\t1.1917",
        "Feb 27\t10:04:05\t10:08:41\t10:13:16\tMedium\t0.8161",
        "Feb 28\t10:03:08\t10:08:30\t10:13:52\tHigh\t0.4385",
        "Mar 1\t10:02:39\t10:08:18\t10:13:57\tHigh\t0.0590",
        "Mar 2\t10:02:36\t10:08:06\t10:13:36\tHigh\t0.3222",
        "Mar 3\t10:03:01\t10:07:54\t10:12:46\tMedium\t0.7051",
        "Mar 4\t10:04:08\t10:07:41\t10:11:13\tLow\t1.0896",
    };
    EXPECT_EQ(c.rows, expected);
    EXPECT_EQ(c.noOutages, 0);
}

// The golden days seen from plain vectors: on the peak day at the peak time
// the sun lies within the -12 dB beam (from the Bessel function) of the
// satellite's direction, closest of all the days; on the day before the
// first and after the last it never comes within it.
TEST(OutageSearch, GoldenDaysAgreeWithIndependentGeometry)
{
    constexpr double kApertureM = 1.2, kFrequencyGHz = 11.7;
    constexpr double kTolDeg = 0.03;  // the independent sky's own accuracy, refraction neglected
    const double th12 = sky::HalfBeamDeg(-12.0, kApertureM, kFrequencyGHz) + kSunDiameterDeg / 2;
    auto separation = [&](int month, int day, double ut) {
        return sky::SeparationDeg(sky::JulianDate(2025, month, day, ut), kLondon.latitude, kLondon.longitude,
                                  kLondon.satelliteLongitude);
    };
    auto closestOfDay = [&](int month, int day) {
        double best = 180.0;
        for (double ut = 9.0; ut <= 11.5; ut += 1.0 / 3600.0) best = std::min(best, separation(month, day, ut));
        return best;
    };
    const double peak = 10 + 8 / 60.0 + 18 / 3600.0;  // 1 March, from the golden rows
    EXPECT_LT(separation(3, 1, peak), th12);
    EXPECT_NEAR(separation(3, 1, peak), 0.0590, kTolDeg);
    EXPECT_NEAR(closestOfDay(2, 28), 0.4385, kTolDeg);
    EXPECT_NEAR(closestOfDay(3, 4), 1.0896, kTolDeg);
    EXPECT_GT(closestOfDay(2, 25), th12 + kTolDeg);
    EXPECT_GT(closestOfDay(3, 5), th12 + kTolDeg);
}

struct SkipCase { Site site; double apertureM, frequencyGHz; bool wide, minute, second, gmt; };

const SkipCase kSkipCases[] = {
    {kLondon, 1.2, 11.7, false, false, true, false},
    {kLondon, 9.0, 14.25, false, true, false, true},
    {{"Brisbane, satellite 160W", -27.47, 153.03, 200.0, 10.0}, 2.4, 4.0, true, false, true, true},
    {{"equator under its satellite", 0.0, 0.0, 0.0, 0.0}, 0.6, 12.0, false, true, false, false},
    {{"Anchorage, satellite 120W", 61.2, -149.9, -120.0, -9.0}, 3.7, 20.0, false, false, true, false},
    {{"Tokyo, satellite 110E", 35.68, 139.69, 110.0, 9.0}, 0.45, 12.0, true, true, false, false},
    {{"Cape Town, satellite 20E", -33.92, 18.42, 20.0, 2.0}, 1.8, 3.9, false, false, false, false},
    // Beams wider than the day: the sun inside from 05 h to 19 h, its
    // closest step found among many thousand.
    {{"Sydney, satellite 156E", -34.87, 151.42, 156.0, 10.0}, 0.4, 1.0, true, true, false, false},
    {{"Sydney, satellite 156E", -34.87, 151.42, 156.0, 10.0}, 0.4, 1.0, false, false, false, true},
    // A low satellite: the passage runs through the refraction's steep and
    // broken part near the horizon.
    {{"Tromso, satellite 30E", 69.65, 18.96, 30.0, 1.0}, 0.45, 1.5, true, true, false, false},
    {{"Tromso, satellite 30E", 69.65, 18.96, 30.0, 1.0}, 1.2, 4.0, false, false, true, false},
    // Zones far from the site's longitude: the universal time wraps inside
    // the searched hours.
    {{"Honolulu on the zone of Kiribati, satellite 160W", 21.3, -157.86, -160.0, 14.0}, 2.4, 12.0, false, false,
     true, true},
    {{"Hawaii on zone -12, satellite 170W", 19.7, -155.1, -170.0, -12.0}, 0.9, 2.2, true, true, false, false},
};

// Leaving out the sun positions of far steps changes no row.
TEST(OutageSearch, SkippingFarStepsGivesTheSameRowsAsEveryStep)
{
    for (const auto& c : kSkipCases) {
        OutageInputs in = InputsFor(c.site, c.apertureM, c.frequencyGHz);
        in.wide = c.wide;
        in.minuteRefinement = c.minute;
        in.secondRefinement = c.second;
        in.gmtOutput = c.gmt;
        for (SeasonGroup g : {kEarlySeason, kLateSeason}) {
            const Collected fast = Search(c.site, in, g, Stepping::SkipFarSteps);
            const Collected plain = Search(c.site, in, g, Stepping::EveryStep);
            EXPECT_EQ(fast.rows, plain.rows) << c.site.name;
            ASSERT_EQ(fast.events.size(), plain.events.size()) << c.site.name;
            for (std::size_t i = 0; i < fast.events.size(); ++i) {
                EXPECT_EQ(fast.events[i].peakHours, plain.events[i].peakHours) << c.site.name;
                EXPECT_EQ(fast.events[i].closestDeg, plain.events[i].closestDeg) << c.site.name;
            }
            EXPECT_FALSE(fast.events.empty()) << c.site.name << ": a season with outages";
            EXPECT_LE(fast.steps, plain.steps) << c.site.name;
        }
    }
}

// An owner that stops the search keeps the events found until then.
TEST(OutageSearch, SinkStopsTheSearch)
{
    struct Stopping : Collected {
        long stopAt = 0;
        std::vector<long> stepsAtEvent;
        void Event(const OutageEvent& e) override
        {
            Collected::Event(e);
            stepsAtEvent.push_back(steps);
        }
        bool Step() override { return ++steps < stopAt; }
    };
    OutageInputs in = InputsFor(kLondon, 1.2, 11.7);
    in.minuteRefinement = false;
    in.secondRefinement = true;
    for (Stepping stepping : {Stepping::SkipFarSteps, Stepping::EveryStep}) {
        auto run = [&](long stopAt) {
            TSun sun(kLondon.latitude, kLondon.longitude);
            Stopping s;
            s.stopAt = stopAt;
            FindOutages(sun, in, kEarlySeason, s, stepping);
            return s;
        };
        const Stopping all = run(1L << 40);
        ASSERT_EQ(all.events.size(), 7u);
        const Stopping first = run(1);
        EXPECT_EQ(first.steps, 1);
        EXPECT_TRUE(first.rows.empty());
        EXPECT_EQ(first.noOutages, 0);
        // Stopped at the first step after the second row: the two rows only.
        const Stopping two = run(all.stepsAtEvent[1] + 1);
        EXPECT_EQ(two.rows, std::vector<std::string>(all.rows.begin(), all.rows.begin() + 2));
        EXPECT_EQ(two.noOutages, 0);
    }
}

// With GMT output the row carries the GMT date of its begin time: 08:20
// local in zone +10 is 22:20 GMT of the day before.
TEST(OutageSearch, GmtRowsMoveTheDateWithTheTime)
{
    const Site brisbane{"Brisbane, satellite 160W", -27.47, 153.03, 200.0, 10.0};
    OutageInputs in = InputsFor(brisbane, 1.2, 11.7);
    const Collected local = Search(brisbane, in, kEarlySeason);
    in.gmtOutput = true;
    const Collected gmt = Search(brisbane, in, kEarlySeason);
    ASSERT_FALSE(local.events.empty());
    ASSERT_EQ(local.events.size(), gmt.events.size());
    TSun calendar(0, 0);
    for (std::size_t i = 0; i < local.events.size(); ++i) {
        const OutageEvent& l = local.events[i];
        const OutageEvent& g = gmt.events[i];
        const double localInstant = calendar.JulianDay(l.day, l.month, 2025) + (l.begin.h * 60 + l.begin.m) / 1440.0;
        const double gmtInstant = calendar.JulianDay(g.day, g.month, 2025) + (g.begin.h * 60 + g.begin.m) / 1440.0;
        EXPECT_NEAR(localInstant - gmtInstant, 10.0 / 24.0, 1e-9) << local.rows[i] << " / " << gmt.rows[i];
        EXPECT_LT(l.begin.h, 10);
        EXPECT_GE(g.begin.h, 14);
    }
}

struct NoneCase { const char* name; double satElevation, satAzimuth; };

// Directions the sun never comes near in either season (declination +45
// and -60 seen from the equator).
const NoneCase kNone[] = {
    {"high in the north", 45.0, 0.0},
    {"low in the south", 30.0, 180.0},
};

TEST(OutageSearch, NoOutagesFound)
{
    for (const auto& c : kNone) {
        OutageInputs in;
        in.satelliteElevation = c.satElevation;
        in.satelliteAzimuth = c.satAzimuth;
        in.apertureM = 1.0;
        in.frequencyGHz = 12.0;
        for (SeasonGroup g : {kEarlySeason, kLateSeason}) {
            TSun sun(0.0, 0.0);
            Collected col;
            EXPECT_EQ(FindOutages(sun, in, g, col), 0) << c.name;
            EXPECT_EQ(col.noOutages, 1) << c.name;
        }
    }
}

struct ApertureCase { const char* name; double apertureM, frequencyGHz; bool resolves; };

// 1.22 wavelengths by hand (lambda = 0.299792458 / f m): 0.2438 m at
// 1.5 GHz, 0.0305 m at 12 GHz, 0.00665 m at 55 GHz.
const ApertureCase kApertures[] = {
    {"0.2 m at 1.5 GHz", 0.2, 1.5, false},
    {"0.25 m at 1.5 GHz", 0.25, 1.5, true},
    {"0.03 m at 12 GHz", 0.03, 12.0, false},
    {"0.031 m at 12 GHz", 0.031, 12.0, true},
    {"0.01 m at 55 GHz", 0.01, 55.0, true},
    {"50 m at 0.0007 GHz", 50.0, 0.0007, false},
};

TEST(OutageSearch, ApertureMustSpanTheBeamFormula)
{
    for (const auto& c : kApertures) {
        EXPECT_EQ(ApertureResolvesBeam(c.apertureM, c.frequencyGHz), c.resolves) << c.name;
    }
    EXPECT_NEAR(MinimumAperture(1.5), 1.22 * 0.19986, 1e-4);
}

// Thresholds against the Bessel-function beam: the -1, -3 and -12 dB
// half-widths plus the sun's radius, half as wide again for "Wide".
TEST(OutageSearch, ThresholdsFromTheApertureBeam)
{
    constexpr double kTolDeg = 2e-4;  // the library's bisection stops below 1e-4 degree
    for (bool wide : {false, true}) {
        const BeamThresholds th = OutageThresholds(2.4, 12.5, wide);
        const double factor = wide ? 1.5 : 1.0;
        const double levels[] = {-1.0, -3.0, -12.0};
        const double got[] = {th.th1, th.th3, th.th12};
        for (int i = 0; i < 3; ++i) {
            const double expected = factor * (sky::HalfBeamDeg(levels[i], 2.4, 12.5) + kSunDiameterDeg / 2);
            EXPECT_NEAR(got[i] / sky::kDeg, expected, kTolDeg) << levels[i] << (wide ? " wide" : "");
        }
    }
}

TEST(OutageSearch, SunOnTheAxisIsZeroNotNaN)
{
    const double el = 0.7, az = 2.5;
    EXPECT_EQ(SunSatelliteSeparation(el, az, el, az), 0.0);
    EXPECT_NEAR(SunSatelliteSeparation(0.0, 0.0, 0.0, std::numbers::pi), std::numbers::pi, 1e-12);
}

}  // namespace
