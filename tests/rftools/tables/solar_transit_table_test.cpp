// The solar transit table: whole reports of a transit and a coincidence
// month, the times against an independent low-precision sun, the calendar
// and the modes.
#include <gtest/gtest.h>

#include <cmath>

#include "pointing/sun/outage_search.h"
#include "rftools/tables/solar_transit_table.h"
#include "tables_support.h"

namespace {

using namespace orbiscope::tables;

SolarTransitRecord Site(const char* latitude, const char* longitude, const char* target, int month, int year,
                        const char* zone = "0")
{
    SolarTransitRecord r{};
    PutText(r.siteName, "London");
    PutText(r.siteLatitude, latitude);
    PutText(r.siteLongitude, longitude);
    PutText(r.zone, zone);
    PutText(r.targetLongitude, target);
    PutText(r.month, std::to_string(month).c_str());
    PutText(r.year, std::to_string(year).c_str());
    return r;
}

// ---- an independent sun: the low-precision formulae of the Astronomical
// Almanac (section C, "Sun: low precision", about 0.01 degree 1950-2050).
constexpr double kDeg = 3.14159265358979323846 / 180.0;

// Julian date of a Gregorian calendar date at a UT hour (Meeus, ch. 7).
double JulianDate(int year, int month, int day, double hoursUt)
{
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const int a = year / 100;
    const int b = 2 - a + a / 4;
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b - 1524.5 + hoursUt / 24.0;
}

struct SunPlace {
    double rightAscensionDeg, declinationDeg, meanLongitudeDeg, siderealDeg;
};

SunPlace LowPrecisionSun(double jd)
{
    const double n = jd - 2451545.0;
    const double L = std::fmod(280.460 + 0.9856474 * n, 360.0);
    const double g = (357.528 + 0.9856003 * n) * kDeg;
    const double lambda = (L + 1.915 * std::sin(g) + 0.020 * std::sin(2 * g)) * kDeg;
    const double epsilon = (23.439 - 0.0000004 * n) * kDeg;
    SunPlace s;
    s.rightAscensionDeg = std::atan2(std::cos(epsilon) * std::sin(lambda), std::cos(lambda)) / kDeg;
    s.declinationDeg = std::asin(std::sin(epsilon) * std::sin(lambda)) / kDeg;
    s.meanLongitudeDeg = L;
    s.siderealDeg = std::fmod(280.46061837 + 360.98564736629 * n, 360.0);
    return s;
}

// Seconds of UT at which the sun crosses the meridian of `longitudeEast`:
// mean noon there less the equation of time (mean longitude minus right
// ascension), taken at mean noon.
double TransitSecondsUt(int year, int month, int day, double longitudeEast)
{
    const SunPlace s = LowPrecisionSun(JulianDate(year, month, day, 12.0 - longitudeEast / 15.0));
    const double equationOfTimeDeg = std::remainder(s.meanLongitudeDeg - s.rightAscensionDeg, 360.0);
    return (12.0 - equationOfTimeDeg / 15.0 - longitudeEast / 15.0) * 3600.0;
}

// The sun's azimuth (from north through east) seen from a site at a UT instant.
double SunAzimuth(double latitude, double longitudeEast, double jd)
{
    const SunPlace s = LowPrecisionSun(jd);
    const double h = (s.siderealDeg + longitudeEast - s.rightAscensionDeg) * kDeg;
    const double phi = latitude * kDeg, delta = s.declinationDeg * kDeg;
    const double a = std::atan2(std::sin(h), std::cos(h) * std::sin(phi) - std::tan(delta) * std::cos(phi)) / kDeg;
    return std::fmod(a + 180.0 + 360.0, 360.0);
}

int Seconds(const std::string& hms)
{
    int h = 0, m = 0, s = 0;
    std::sscanf(hms.c_str(), "%d:%d:%d", &h, &m, &s);
    return h * 3600 + m * 60 + s;
}

// The time column of the row of a day.
std::string TimeOfDay(const TableText& t, const std::string& date)
{
    for (const std::string& line : tablestest::Lines(t.text))
        if (line.rfind(date + "\t", 0) == 0) return line.substr(date.size() + 1);
    return "";
}

// golden/transit_london_2024-02.txt, reviewed: no note (3), target azimuth
// 180 north of the equator, 29 rows in February 2024, times 12:12-12:15 (the
// equation of time's February minimum of about -14 minutes, and 29 s for
// 0.12 degrees west).  golden/coincidence_london_28.2E_2024-03.txt: the
// satellite's true azimuth from London, 145.45, reached near 10:10, where
// the outages of that satellite fall.
TEST(SolarTransitTable, Golden)
{
    const SolarTransitTable transit = SolarTransit(Site("51.50N", "0.12W", "0.12W", 2, 2024), tablestest::kHeading);
    EXPECT_EQ(transit.table.text, tablestest::Golden("transit_london_2024-02.txt"));
    EXPECT_EQ(transit.table.caption, "Solar Transit Times (2/2024)");
    EXPECT_EQ(transit.table.tabs.unit, TableTabs::Unit::Pixels);
    EXPECT_EQ(transit.table.tabs.positions, std::vector<int>{300});
    const SolarTransitTable sat = SolarTransit(Site("51.50N", "0.12W", "28.2E", 3, 2024), tablestest::kHeading);
    EXPECT_EQ(sat.table.text, tablestest::Golden("coincidence_london_28.2E_2024-03.txt"));
    EXPECT_EQ(sat.table.caption, "Sun AZ = Sat AZ Times (3/2024)");
}

struct TransitCase {
    const char* name;
    const char *latitude, *longitude, *zone;
    double longitudeEast, zoneHours;
    int year, month, day;
};
const TransitCase kTransits[] = {
    {"London, February minimum of the equation of time", "51.50N", "0.12W", "0", -0.12, 0, 2024, 2, 11},
    {"London, November maximum", "51.50N", "0.12W", "0", -0.12, 0, 2024, 11, 3},
    {"Sydney, summer", "33.87S", "151.21E", "10", 151.21, 10, 2025, 1, 15},
    {"Just south of the equator", "0.50S", "10.00E", "1", 10.0, 1, 2024, 6, 21},
    {"On the equator", "0.00N", "36.82E", "3", 36.82, 3, 2024, 9, 1},
};

TEST(SolarTransitTable, TransitTimesMatchTheAlmanacSun)
{
    constexpr double kTolSeconds = 3.0;  // the almanac's 0.01 degree in right ascension is 2.4 s
    for (const TransitCase& c : kTransits) {
        const SolarTransitTable r =
            SolarTransit(Site(c.latitude, c.longitude, c.longitude, c.month, c.year, c.zone), {});
        const std::string shown = TimeOfDay(r.table, std::string(orbiscope::sun::kMonthNames[c.month - 1]) + " " +
                                                         std::to_string(c.day));
        ASSERT_FALSE(shown.empty()) << c.name;
        const double expected = TransitSecondsUt(c.year, c.month, c.day, c.longitudeEast) + c.zoneHours * 3600.0;
        EXPECT_NEAR(Seconds(shown), expected, kTolSeconds) << c.name << ": " << shown;
    }
}

// At each printed coincidence time the sun stands at the satellite's azimuth.
TEST(SolarTransitTable, CoincidenceTimesPutTheSunAtTheSatelliteAzimuth)
{
    constexpr double kSatelliteAzimuthDeg = 145.45;  // London to 28.2E, textbook geometry
    constexpr double kTolDeg = 0.03;
    const SolarTransitTable r = SolarTransit(Site("51.50N", "0.12W", "28.2E", 3, 2024), {});
    for (int day : {1, 15, 31}) {
        const std::string shown = TimeOfDay(r.table, "March " + std::to_string(day));
        const double jd = JulianDate(2024, 3, day, Seconds(shown) / 3600.0);
        EXPECT_NEAR(SunAzimuth(51.5, -0.12, jd), kSatelliteAzimuthDeg, kTolDeg) << "March " << day;
    }
}

struct MonthCase {
    int month, year, days;
};
const MonthCase kMonths[] = {
    {2, 2000, 29}, {2, 2024, 29}, {2, 2100, 28}, {2, 2023, 28}, {1, 2023, 31},
    {4, 2023, 30}, {9, 2023, 30}, {12, 2023, 31}, {0, 2023, 0},  {13, 2023, 0},
};

TEST(SolarTransitTable, DaysOfTheMonthAndTheHorizon)
{
    for (const MonthCase& c : kMonths) EXPECT_EQ(DaysInMonth(c.month, c.year), c.days) << c.month << "/" << c.year;
    EXPECT_TRUE(SolarTransit(Site("51.50N", "0.12W", "150.0W", 3, 2024), {}).belowHorizon);
    EXPECT_FALSE(SolarTransit(Site("51.50N", "0.12W", "60.0E", 3, 2024), {}).belowHorizon);
}

}  // namespace
