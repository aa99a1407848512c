// TSun against published worked examples and an independent sky model.
#include "pointing/sun/sun.h"

#include "pointing/sun/outage_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sky_reference.h"

namespace {

constexpr double kDeg = sky::kDeg;
constexpr double kTolPublishedDeg = 0.01;   // the accuracy this family of formulas claims
constexpr double kTolSiderealHours = 0.5 / 3600.0;

struct DayNumberCase {
    const char* name;
    double day;
    int month, year;
    double expected;  // Julian date - 2415020
};

// Julian dates from Meeus, Astronomical Algorithms, examples 7.a and 7.b,
// and the Gregorian reform (Julian 1582 Oct 4 is followed by Gregorian Oct 15).
const DayNumberCase kDayNumbers[] = {
    {"epoch 1900 Jan 0.5", 0.5, 1, 1900, 0.0},
    {"2000 Jan 1.0 (JD 2451544.5)", 1.0, 1, 2000, 36524.5},
    {"Meeus 7.a 1957 Oct 4.81 (JD 2436116.31)", 4.81, 10, 1957, 21096.31},
    {"Meeus 7.b 333 Jan 27.5 (JD 1842713.0)", 27.5, 1, 333, -572307.0},
    {"1582 Oct 15 Gregorian (JD 2299160.5)", 15.0, 10, 1582, -115859.5},
    {"1582 Oct 4 Julian (JD 2299159.5)", 4.0, 10, 1582, -115860.5},
};

TEST(SunCalendar, DayNumbersOfPublishedDates)
{
    TSun sun(0, 0);
    for (const auto& c : kDayNumbers) EXPECT_NEAR(sun.JulianDay(c.day, c.month, c.year), c.expected, 1e-6) << c.name;
}

// Meeus 7.c: JD 2436116.31 is 1957 October 4.81; and every day from 1900 to
// 2100 comes back to its own day number.
TEST(SunCalendar, CalendarDateInvertsTheDayNumber)
{
    TSun sun(0, 0);
    double day = 0;
    int month = 0, year = 0;
    sun.CalendarDate(2436116.31 - 2415020.0, day, month, year);
    EXPECT_EQ(year, 1957);
    EXPECT_EQ(month, 10);
    EXPECT_NEAR(day, 4.81, 1e-6);
    int checked = 0;
    for (double n = sun.JulianDay(1, 1, 1900); n <= sun.JulianDay(31, 12, 2100); n += 1.0, ++checked) {
        sun.CalendarDate(n, day, month, year);
        ASSERT_DOUBLE_EQ(sun.JulianDay(day, month, year), n) << year << "-" << month << "-" << day;
    }
    EXPECT_EQ(checked, 73414);  // days from 1900-01-01 to 2100-12-31
}

// Meeus 12.a and 12.b: mean sidereal time at Greenwich on 1987 April 10.
TEST(SunSiderealTime, MeeusExamples12aAnd12b)
{
    TSun greenwich(51.48, 0.0);
    greenwich.SetJulianDay(greenwich.JulianDay(10, 4, 1987));
    EXPECT_NEAR(greenwich.SiderealTime(0.0, 1987, 0.0, 0), 13 + 10 / 60.0 + 46.3668 / 3600.0, kTolSiderealHours);
    EXPECT_NEAR(greenwich.SiderealTime(19.35, 1987, 0.0, 0), 128.7378734 / 15.0, kTolSiderealHours);
    // The same instant from a site 30 degrees east, two hours ahead of UT.
    TSun east(0.0, 30.0);
    east.SetJulianDay(east.JulianDay(10, 4, 1987));
    EXPECT_NEAR(east.SiderealTime(21.35, 1987, 2.0, 0), 128.7378734 / 15.0 + 2.0, kTolSiderealHours);
}

struct PositionCase { const char* name; double raDeg, decDeg; };

// Meeus, Astronomical Algorithms, example 25.a (low accuracy) and 25.b
// (full theory): the sun on 1992 October 13.0.
const PositionCase kMeeus25[] = {
    {"Meeus 25.a", 198.38083, -7.78507},
    {"Meeus 25.b", 198.378121, -7.783817},
};

TEST(SunPosition, MeeusExample25)
{
    TSun sun(0.0, 0.0);
    sun.SetJulianDay(sun.JulianDay(13, 10, 1992));
    sun.PositionAt(sun.SiderealTime(0.0, 1992, 0.0, 0), true);
    EXPECT_NEAR(sun.EclipticLongitude / kDeg, 199.90988, kTolPublishedDeg);  // 25.a true longitude
    for (const auto& c : kMeeus25) {
        EXPECT_NEAR(sun.RightAscension / kDeg, c.raDeg, kTolPublishedDeg) << c.name;
        EXPECT_NEAR(sun.Declination / kDeg, c.decDeg, kTolPublishedDeg) << c.name;
    }
}

// Throughout 2025 the position agrees with the Astronomical Almanac's own
// low-precision formula, itself good to 0.01 degree.
TEST(SunPosition, AgreesWithAlmanacFormulaThrough2025)
{
    constexpr double kTolBothDeg = 0.015;
    TSun sun(0.0, 0.0);
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= 28; day += 9) {
            sun.SetJulianDay(sun.JulianDay(day, month, 2025));
            sun.PositionAt(sun.SiderealTime(6.0, 2025, 0.0, 0), true);
            const sky::SunRaDec ref = sky::Sun(sky::JulianDate(2025, month, day, 6.0));
            double dra = sun.RightAscension / kDeg - ref.raDeg;
            dra -= 360.0 * std::round(dra / 360.0);
            EXPECT_NEAR(dra, 0.0, kTolBothDeg) << month << "/" << day;
            EXPECT_NEAR(sun.Declination / kDeg, ref.decDeg, kTolBothDeg) << month << "/" << day;
        }
    }
}

struct SeasonCase {
    const char* name;
    int day, month;
    double raDeg;     // apparent right ascension at the instant
    double utHours;   // published instant, UT
};

// The 2025 equinoxes and solstices as published in the national almanac
// offices' tables (to the minute).
const SeasonCase kSeasons2025[] = {
    {"March equinox", 20, 3, 0.0, 9 + 1 / 60.0},
    {"June solstice", 21, 6, 90.0, 2 + 42 / 60.0},
    {"September equinox", 22, 9, 180.0, 18 + 19 / 60.0},
    {"December solstice", 21, 12, 270.0, 15 + 3 / 60.0},
};

TEST(SunPosition, EquinoxesAndSolstices2025)
{
    constexpr double kTolMinutes = 5.0;
    TSun sun(0.0, 0.0);
    for (const auto& c : kSeasons2025) {
        sun.SetJulianDay(sun.JulianDay(c.day, c.month, 2025));
        auto raPast = [&](double ut) {  // signed distance of RA past the target, degrees
            sun.PositionAt(sun.SiderealTime(ut, 2025, 0.0, 0), true);
            double d = sun.RightAscension / kDeg - c.raDeg;
            return d - 360.0 * std::round(d / 360.0);
        };
        double lo = 0.0, hi = 24.0;
        ASSERT_LT(raPast(lo), 0.0) << c.name;
        ASSERT_GT(raPast(hi), 0.0) << c.name;
        while (hi - lo > 1e-5) {
            const double mid = (lo + hi) / 2;
            (raPast(mid) < 0 ? lo : hi) = mid;
        }
        EXPECT_NEAR(lo * 60.0, c.utHours * 60.0, kTolMinutes) << c.name;
    }
}

// Meeus 13.b: Venus seen from Washington on 1987 April 10 at 19:21 UT,
// hour angle 64.352133 deg, declination -6 43' 11.61"; azimuth 68.0337 deg
// from the south, altitude 15.1249 deg (no refraction).
TEST(SunHorizontal, MeeusExample13b)
{
    TSun washington(38 + 55 / 60.0 + 17 / 3600.0, -77.0656);
    double az = 0, el = 0;
    washington.EquatorialToHorizontal(64.352133 * kDeg, -(6 + 43 / 60.0 + 11.61 / 3600.0) * kDeg, az, el);
    EXPECT_NEAR(az / kDeg, 180.0 + 68.0337, 1e-3);
    EXPECT_NEAR(el / kDeg, 15.1249, 1e-3);
}

struct RefractionCase { const char* name; double elevationDeg, refractionDeg, tolDeg; };

// Standard refraction: 34' at the horizon and 58" at 45 degrees (Meeus,
// chapter 16; the model fixes 1000 mbar and 15 C).  None at -5 and below.
const RefractionCase kRefraction[] = {
    {"horizon", 0.0, 34.0 / 60.0, 3.0 / 60.0},
    {"45 degrees", 45.0, 58.0 / 3600.0, 5.0 / 3600.0},
    {"-5 degrees", -5.0, 0.0, 0.0},
    {"-30 degrees", -30.0, 0.0, 0.0},
};

// The outage search also relies on the lift lying between 0 and its bound;
// by hand the rational formula peaks at 1.4663 degrees near -2.715.
TEST(SunRefraction, StandardValues)
{
    for (const auto& c : kRefraction) {
        const double e = c.elevationDeg * kDeg;
        EXPECT_NEAR((TSun::Refraction(e) - e) / kDeg, c.refractionDeg, c.tolDeg) << c.name;
    }
    double highest = 0.0;
    for (double d = -90.0; d <= 90.0; d += 0.001) {
        const double lift = (TSun::Refraction(d * kDeg) - d * kDeg) / kDeg;
        ASSERT_GE(lift, 0.0) << d;
        ASSERT_LE(lift, orbiscope::sun::kRefractionMaxLiftDeg) << d;
        highest = std::max(highest, lift);
    }
    EXPECT_NEAR(highest, 1.4663, 1e-4);
}

// The outage search's bounds on the lift: its slope within the pieces
// (sampled every 0.001 degree, by central differences), and its jumps at
// 15 and -5 degrees.
TEST(SunRefraction, SlopeAndJumpsWithinTheSearchBounds)
{
    using namespace orbiscope::sun;
    auto lift = [](double deg) { return (TSun::Refraction(deg * kDeg) - deg * kDeg) / kDeg; };
    constexpr double h = 1e-4;
    double highest = 0.0, lowest = 0.0;
    for (double d = -4.999; d < 90.0; d += 0.001) {
        if (std::fabs(d - 15.0) < 2 * h) continue;
        const double slope = std::fabs(lift(d + h) - lift(d - h)) / (2 * h);
        (d > 15.0 ? highest : lowest) = std::max(d > 15.0 ? highest : lowest, slope);
    }
    // By hand: above 15 degrees the lift is k / tan(e) with k = 0.0789/288
    // rad, steepest at 15: k / sin^2(15) = 0.004089; below, the rational
    // formula is steepest near -3.74 degrees, 0.6734.
    EXPECT_NEAR(highest, 0.004089, 2e-6);
    EXPECT_NEAR(lowest, 0.6734, 5e-4);
    EXPECT_LE(highest, kRefractionSlopeHigh);
    EXPECT_LE(lowest, kRefractionSlopeLow);
    // Jumps: the low formula at 15 is 0.0576 deg, the high one 0.0586 deg;
    // at -5 the lift falls from 0.366 deg to none.
    EXPECT_NEAR(std::fabs(lift(15.0) - lift(15.0 - 1e-9)), 0.00094, 2e-5);
    EXPECT_LE(std::fabs(lift(15.0) - lift(15.0 - 1e-9)), kRefractionJumpAt15Deg);
    EXPECT_NEAR(lift(-5.0 + 1e-9) - lift(-5.0), 0.3658, 1e-3);
    EXPECT_LE(lift(-5.0 + 1e-9) - lift(-5.0), kRefractionJumpAtMinus5Deg);
}

struct HmsCase { const char* name; bool wholeMinutes; double hours; int h, m, s, negative; };

const HmsCase kHms[] = {
    {"5.99999 rounds up to 6:00:00", false, 5.99999, 6, 0, 0, 0},
    {"5:30:30 to the minute is 5:31", true, 5 + 30 / 60.0 + 30 / 3600.0, 5, 31, 30, 0},
    {"5:30:29 to the minute stays 5:30", true, 5 + 30 / 60.0 + 29 / 3600.0, 5, 30, 29, 0},
    {"23:59:30 to the minute is 24:00", true, 23 + 59 / 60.0 + 30 / 3600.0, 24, 0, 30, 0},
    {"-1:30:00", false, -1.5, 1, 30, 0, 1},
    {"-0.1 s rounds to zero, not negative", false, -0.1 / 3600.0, 0, 0, 0, 0},
};

TEST(SunHms, HoursToHms)
{
    for (const auto& c : kHms) {
        int h = -1, m = -1, s = -1, neg = -1;
        TSun::HoursToHms(c.wholeMinutes, c.hours, h, m, s, neg);
        EXPECT_EQ(h, c.h) << c.name;
        EXPECT_EQ(m, c.m) << c.name;
        EXPECT_EQ(s, c.s) << c.name;
        EXPECT_EQ(neg, c.negative) << c.name;
        double back = 0;
        TSun::HmsToHours(neg ? -h : h, m, s, back);
        if (!c.wholeMinutes) {
            EXPECT_NEAR(back, c.hours, 0.5 / 3600.0) << c.name;
        }
    }
}

struct InstantCase {
    const char* name;
    double latitude, longitude, zone, localHours;
    int day, month, year;        // the local date set
    int utDay, utMonth, utYear;  // the true UT date of the instant
    double utHours;
};

// A local time whose UT lies on another date: the sun is computed for the
// true instant (05:00 in Sydney on 20 March is 19:00 UT on 19 March).
const InstantCase kInstants[] = {
    {"Sydney 05:00, UT the day before", -33.87, 151.21, 10.0, 5.0, 20, 3, 2025, 19, 3, 2025, 19.0},
    {"Los Angeles 18:00, UT the day after", 34.05, -118.24, -8.0, 18.0, 20, 3, 2025, 21, 3, 2025, 2.0},
    {"Greenwich noon, same day", 51.48, 0.0, 0.0, 12.0, 20, 3, 2025, 20, 3, 2025, 12.0},
};

TEST(SunInstant, LocalTimeOnAnotherUtDateUsesTheTrueInstant)
{
    for (const auto& c : kInstants) {
        TSun sun(c.latitude, c.longitude);
        const double dayNumber = sun.JulianDay(c.day, c.month, c.year);
        sun.SetJulianDay(dayNumber);
        sun.PositionAt(sun.SiderealTime(c.localHours, c.year, c.zone, 0), true);
        const double jd = sky::JulianDate(c.utYear, c.utMonth, c.utDay, c.utHours);
        EXPECT_NEAR(sun.Declination / kDeg, sky::Sun(jd).decDeg, kTolPublishedDeg) << c.name;
        // Elevation from plain vectors: the sun's direction against the local vertical.
        const sky::Vec up = sky::Unit(sky::SitePosition(c.latitude, c.longitude));
        const double geometricEl = 90.0 - sky::AngleDeg(sky::SunDirection(jd), up);
        const double apparentEl = geometricEl + (TSun::Refraction(geometricEl * kDeg) / kDeg - geometricEl);
        EXPECT_NEAR(sun.Elevation / kDeg, apparentEl, 0.02) << c.name;
        EXPECT_DOUBLE_EQ(sun.DayNumber, dayNumber) << c.name << ": the date set stays";
    }
}

// The sun crosses the meridian of Greenwich on 20 March 2025 when the
// independent sidereal time equals its right ascension.
TEST(SunFindEvent, MeridianTransitAndNotFound)
{
    double lo = 11.0, hi = 13.5;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        const double jd = sky::JulianDate(2025, 3, 20, mid);
        double h = sky::GmstDeg(jd) - sky::Sun(jd).raDeg;
        h -= 360.0 * std::round(h / 360.0);
        (h < 0 ? lo : hi) = mid;
    }
    TSun greenwich(51.48, 0.0);
    greenwich.SetJulianDay(greenwich.JulianDay(20, 3, 2025));
    const double transit = greenwich.FindEvent(0, 10.0, 14.0, 1e-5, 180.0, 2025, 0.0, 1);
    EXPECT_NEAR(transit, lo, 0.5 / 60.0);
    // East at 90 degrees is long before 10:00: no crossing in the interval,
    // and the answer cannot be read as a time of day, negated or not.
    const double none = greenwich.FindEvent(0, 10.0, 14.0, 1e-5, 90.0, 2025, 0.0, 1);
    EXPECT_EQ(none, orbiscope::sun::kNoEvent);
    EXPECT_GT(std::fabs(none), 24.0);
}

}  // namespace
