// Coordinate text and geostationary geometry, checked against hand
// calculations made here with an independent method (vector geometry on a
// spherical Earth), against refraction figures worked out by hand from
// ITU-R P.834, and against the figures printed for these routines.
#include "propagation/coordinates.h"
#include "propagation/geo_notifier.h"
#include "propagation/itu_maps.h"
#include "propagation_fixtures.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr double kDeg = M_PI / 180.0;
constexpr double R_m = 6378140.0;     // Earth radius of the geometry
constexpr double r_m = 42164570.0;    // geostationary radius
constexpr double kTolAngle = 1e-9;    // degrees, the two geometries agree to rounding

// ---- independent hand calculations -------------------------------------

struct Vec { double x, y, z; };
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Scale(Vec a, double s) { return {a.x * s, a.y * s, a.z * s}; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Norm(Vec a) { return std::sqrt(Dot(a, a)); }
Vec Unit(Vec a) { return Scale(a, 1.0 / Norm(a)); }

// Earth-centred frame with x through the site's meridian at the equator and
// z to the north pole; the satellite sits `eastOfSite` degrees east of the
// site on the geostationary ring, or at a latitude off it.  Elevation is
// free space (no refraction).
struct HandLook { double elevation, rangeKm, azimuth, skew; };
HandLook LookByVectors(double siteLat, double eastOfSite, double satLat = 0.0) {
    const double phi = siteLat * kDeg;
    const Vec up{std::cos(phi), 0.0, std::sin(phi)};
    const Vec east{0.0, 1.0, 0.0};
    const Vec north{-std::sin(phi), 0.0, std::cos(phi)};
    const double d = eastOfSite * kDeg, ps = satLat * kDeg;
    const Vec sat{r_m * std::cos(ps) * std::cos(d), r_m * std::cos(ps) * std::sin(d), r_m * std::sin(ps)};
    const Vec los = sat - Scale(up, R_m);
    HandLook h{};
    h.rangeKm = Norm(los) / 1000.0;
    const Vec u = Unit(los);
    h.elevation = std::asin(Dot(u, up)) / kDeg;
    h.azimuth = std::atan2(Dot(u, east), Dot(u, north)) / kDeg;
    if (h.azimuth < 0) h.azimuth += 360.0;
    // Polarization skew: angle, about the line of sight, between the plane
    // through the Earth's axis (the satellite's vertical) and the site's
    // local vertical plane; folded into -90..90.
    auto across = [&](Vec v) { return Unit(v - Scale(u, Dot(v, u))); };
    const Vec pv = across({0, 0, 1});
    const Vec lv = across(up);
    double skew = -std::atan2(Dot(Cross(pv, lv), u), Dot(pv, lv)) / kDeg;
    if (skew > 90.0) skew -= 180.0;
    if (skew <= -90.0) skew += 180.0;
    h.skew = skew;
    return h;
}

std::chrono::system_clock::time_point Utc(int year, int month, int day) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = 12;
    return std::chrono::system_clock::from_time_t(timegm(&t));
}

// Runs each test with no topography (height 0) and a fixed date, whatever
// other tests of this binary left loaded; restores both afterwards.
class Geometry : public testing::Test {
protected:
    void SetUp() override {
        if (const ItuMapGrid* g = ItuMapGridOf(ItuMap::TOPO)) {
            savedTopo_ = *g;
            FreeMapFile(ItuMap::TOPO);
        }
        SetDeclinationClock([] { return Utc(2025, 1, 1); });
    }
    void TearDown() override {
        SetDeclinationClock({});
        FreeMapFile(ItuMap::TOPO);
        if (savedTopo_) SetItuMapGrid(ItuMap::TOPO, std::move(*savedTopo_));
    }
    proptest::RecordedNotices notifier_;

private:
    std::optional<ItuMapGrid> savedTopo_;
};

// ---- coordinate text -----------------------------------------------------------

TEST(CoordinateText, Parse) {
    const struct { const char* text; double value; } cases[] = {
        {"53.42N", 53.42}, {"3.00W", -3.0}, {"3.00w", 3.0}, {"-3.00W", 3.0}, {"12.5E", 12.5},
        {"", 0.0}, {"   19.2E", 19.2}, {"45.5S", -45.5}, {"N", 0.0}, {"+7.25E", 7.25},
        {"1e2E", 100.0}, {"0x10E", 0.0}, {"inf", 0.0}, {"nanS", 0.0}, {"1e999N", 0.0},
        {"--5N", 0.0}, {"5.5.5N", 5.5}, {".5N", 0.5},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(ParseLatLon(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ParseLatLon(static_cast<const char*>(nullptr)), 0.0);
}

// A decimal-comma process locale changes neither reading nor writing.
TEST(CoordinateText, IgnoresProcessLocale) {
    const char* candidates[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"};
    std::string old = std::setlocale(LC_NUMERIC, nullptr);
    bool switched = false;
    for (const char* name : candidates) {
        if ((switched = std::setlocale(LC_NUMERIC, name) != nullptr)) break;
    }
    EXPECT_DOUBLE_EQ(ParseLatLon("53.42N"), 53.42);
    char text[13];
    FormatLatLon(-3.5, 1, text);
    EXPECT_STREQ(text, "3.50W");
    std::setlocale(LC_NUMERIC, old.c_str());
    if (!switched) GTEST_SKIP() << "no decimal-comma locale installed; checked in the C locale only";
}

TEST(CoordinateText, Format) {
    const struct { double value; int kind; const char* text; } cases[] = {
        {-0.004, 0, "0.00S"}, {0.0, 1, "0.00E"}, {-19.2, 2, "19.2W"}, {53.4249, 0, "53.42N"},
        {-3.0, 1, "3.00W"}, {19.25, 2, "19.2E"}, {19.35, 2, "19.4E"}, {-0.0, 0, "0.00N"},
        {179.999, 1, "180.00E"}, {-90.0, 0, "90.00S"},
        {1.0, 3, "untouched"},   // no such kind: the buffer is left alone
    };
    for (const auto& c : cases) {
        char text[13] = "untouched";
        FormatLatLon(c.value, c.kind, text);
        EXPECT_STREQ(text, c.text) << c.value << " kind " << c.kind;
    }
    // A value too long for the field is cut, never written past it.
    char small[13];
    std::memset(small, 'x', sizeof small);
    FormatLatLon(1e300, 1, small);
    EXPECT_EQ(std::strlen(small), 12u);
}

TEST(CoordinateText, DegreesAndMinutes) {
    const struct { double dmm, degrees; } cases[] = {
        {53.30, 53.5}, {-53.30, -53.5}, {0.45, 0.75}, {10.0, 10.0}, {12.5995, 12.0 + 59.95 / 60.0}};
    for (const auto& c : cases) EXPECT_NEAR(DegMinToDegrees(c.dmm), c.degrees, 1e-12) << c.dmm;
}

// ---- sphere helpers ----------------------------------------------------------------

TEST(SphereHelpers, LongitudesArcsAndWavelength) {
    const struct { double a, b, difference; } diffs[] = {
        {-10, 350, 0}, {10, -10, -340}, {0, 10, -10}, {-170, 170, 20}};
    for (const auto& c : diffs) EXPECT_DOUBLE_EQ(LongitudeDifference(c.a, c.b), c.difference);
    const struct { double in, out; } norms[] = {{720, 360}, {-10, 350}, {360, 0}, {0, 0}, {359.5, 359.5}, {-360, 0}};
    for (const auto& c : norms) {
        double v = c.in;
        Normalize360(&v);
        EXPECT_DOUBLE_EQ(v, c.out) << c.in;
    }
    // London (51.5N, 0.1W) to Madrid (40.4N, 3.7W) by the haversine formula.
    const double la1 = 51.5 * kDeg, la2 = 40.4 * kDeg, dlon = (-0.1 + 3.7) * kDeg;
    const double hav = std::pow(std::sin((la2 - la1) / 2), 2) +
                       std::cos(la1) * std::cos(la2) * std::pow(std::sin(dlon / 2), 2);
    EXPECT_NEAR(GreatCircleAngle(-0.1, -3.7, 51.5, 40.4), 2 * std::asin(std::sqrt(hav)) / kDeg, 1e-9);
    EXPECT_NEAR(GreatCircleAngle(0, 90, 0, 0), 90.0, 1e-12);
    EXPECT_NEAR(GreatCircleAngle(0, 180, 0, 0), 180.0, 1e-12);
    // The same point: exactly 1e-6, never NaN from rounding above 1.
    EXPECT_EQ(GreatCircleAngle(12.3, 12.3, 45.6, 45.6), 1e-6);
    EXPECT_EQ(GreatCircleAngle(0, 0, 90, 90), 1e-6);
    // c / f: 0.299792458 / 12 m.
    EXPECT_NEAR(Wavelength(12.0), 0.024982704833333333, 1e-15);
    EXPECT_NEAR(Wavelength(0.299792458), 1.0, 1e-15);
}

// ---- refraction and look angles ------------------------------------------------

// ITU-R P.834 by hand: theta + 1 / (1.728 + 0.5411 theta + 0.03723 theta^2)
// at sea level; at h = 1 km the terms in h add 0.1815 + 0.06272 theta +
// 0.0138 theta^2 and h^2 (0.01727 + 0.008288 theta).  The lowest visible
// free-space elevation is theta_m - tau_m: at sea level 0 - 1/1.314 =
// -0.76104; at 1 km theta_m = -acos(R / (R + h) n(0) / n(h)) = -0.87533 with
// n(h) = 1 + 0.000315 exp(-0.1361 h), tau_m = 1.06668, so -1.94201.
TEST_F(Geometry, ApparentElevationByHand) {
    constexpr double kTolRefraction = 1e-11;   // the figures carry 12 decimals
    const struct {
        double theta, apparent;
    } seaLevel[] = {{0.0, 0.578703703704}, {0.5, 0.998043312337}, {2.0, 2.337938305983}, {5.0, 5.186419350329},
                    {10.0, 10.092064076597}, {30.0, 30.019429548457}, {60.0, 60.005944525686},
                    {89.0, 89.002900360466}};
    for (const auto& c : seaLevel) EXPECT_NEAR(ApparentElevation(c.theta, 51.5, 0.0), c.apparent, kTolRefraction);
    EXPECT_EQ(ApparentElevation(-0.77, 0.0, 0.0), -1.0);   // hidden below the apparent horizon
    EXPECT_NEAR(ApparentElevation(-0.75, 0.0, 0.0), -0.005463155431, kTolRefraction);

    // A flat world 1000 m high: the bicubic height is 1 km everywhere (to
    // 1e-7 in its float kernel).
    ItuMapGrid topo;
    topo.rows = 2164;
    topo.columns = 4324;
    topo.heights.assign(static_cast<std::size_t>(topo.rows) * topo.columns, 1000);
    SetItuMapGrid(ItuMap::TOPO, std::move(topo));
    EXPECT_NEAR(ApparentElevation(10.0, 40.0, -3.7), 10.076040712197, 1e-6);
    EXPECT_EQ(ApparentElevation(-1.952, 40.0, -3.7), -1.0);
    EXPECT_NE(ApparentElevation(-1.932, 40.0, -3.7), -1.0);
}

// The look angles are the vector geometry's, with the elevation refracted as
// checked above.  51.5N with the satellite 10 degrees east: free-space
// elevation 30.31, slant range 38584.85 km, true azimuth 167.30, skew -7.93.
TEST_F(Geometry, GeoLookAnglesAgainstVectorGeometry) {
    const struct { double siteLat, siteLon, satLon; } cases[] = {
        {51.5, 0.0, 10.0}, {51.5, -0.1, -5.0}, {40.4, -3.7, 19.2}, {-33.9, 18.4, 20.0},
        {-33.9, 151.2, 140.0}, {10.0, 100.0, 160.0}, {70.0, 20.0, -10.0}, {0.5, 0.0, 30.0},
        {51.5, 170.0, -170.0},
    };
    for (const auto& c : cases) {
        double decl, range, elev, az, magAz, pol;
        GeoLookAngles(c.siteLat, c.siteLon, c.satLon, 0.0, &decl, &range, &elev, &az, &magAz, &pol);
        const HandLook hand = LookByVectors(c.siteLat, std::remainder(c.satLon - c.siteLon, 360.0));
        SCOPED_TRACE(testing::Message() << c.siteLat << " " << c.siteLon << " -> " << c.satLon);
        EXPECT_NEAR(range, hand.rangeKm, 1e-6);
        EXPECT_NEAR(elev, ApparentElevation(hand.elevation, c.siteLat, c.siteLon), kTolAngle);
        EXPECT_NEAR(az, hand.azimuth, kTolAngle);
        EXPECT_NEAR(pol, hand.skew, kTolAngle);
        EXPECT_NEAR(magAz, std::fmod(az - decl + 360.0, 360.0), 1e-12);
    }
    const HandLook hand = LookByVectors(51.5, 10.0);
    EXPECT_NEAR(hand.elevation, 30.31, 0.005);
    double range, elev, az, pol, pol2;
    GeoLookAngles(51.5, 0.0, 10.0, 0.0, nullptr, &range, &elev, &az, nullptr, &pol);
    EXPECT_NEAR(elev, 30.33, 0.005);   // refraction adds 0.0225 degree
    EXPECT_NEAR(range, 38584.85, 0.005);
    EXPECT_NEAR(az, 167.30, 0.005);
    EXPECT_NEAR(pol, -7.93, 0.005);
    // Rotating the polarization reference shifts the offset by the same angle.
    GeoLookAngles(51.5, 0.0, 10.0, 90.0, nullptr, nullptr, nullptr, nullptr, nullptr, &pol2);
    EXPECT_NEAR(pol2, pol - 90.0, 1e-12);
}

// On the equator the latitude 0 is replaced by 1e-6 radian: the satellite
// lies due east or west and its polarization is turned by a right angle.
// Under the satellite the elevation is 90 and the range the height; beyond
// the horizon the elevation is -1.  Every output stays finite.
TEST_F(Geometry, GeoLookAnglesAtTheEdges) {
    const double any = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        double siteLat, siteLon, satLon, elevation, azimuth, polMagnitude, range;
    } cases[] = {
        {"equator, satellite east", 0.0, 0.0, 30.0, any, 90.0, 90.0, any},
        {"equator, satellite west", 0.0, 0.0, -30.0, any, 270.0, 90.0, any},
        {"under the satellite", 0.0, 25.0, 25.0, 90.0, any, any, 35786.43},
        {"under it across the longitude wrap", 0.0, -10.0, 350.0, 90.0, any, any, 35786.43},
        {"100 degrees of longitude away", 0.0, 0.0, 100.0, -1.0, any, any, any},
        {"85N", 85.0, 0.0, 0.0, -1.0, any, any, any},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        double decl, range, elev, az, magAz, pol;
        GeoLookAngles(c.siteLat, c.siteLon, c.satLon, 0.0, &decl, &range, &elev, &az, &magAz, &pol);
        EXPECT_TRUE(std::isfinite(decl) && std::isfinite(az) && std::isfinite(pol) && std::isfinite(magAz));
        if (!std::isnan(c.elevation)) {
            EXPECT_EQ(elev, c.elevation);
        }
        if (!std::isnan(c.azimuth)) {
            EXPECT_NEAR(az, c.azimuth, 1e-3);
        }
        if (!std::isnan(c.polMagnitude)) {
            EXPECT_NEAR(std::fabs(pol), c.polMagnitude, 1e-3);
        }
        if (!std::isnan(c.range)) {
            EXPECT_EQ(range, c.range);
        }
    }
}

// The magnetic declination of the look angles is the WMM2025 value of the
// official test row at 50S 103W (27.96 degrees at 3 km), at today's date.
TEST_F(Geometry, MagneticDeclinationFromTheClock) {
    EXPECT_NEAR(MagneticDeclinationNow(-50.0, -103.0), 27.96, 0.02);
    double decl;
    GeoLookAngles(-50.0, -103.0, -100.0, 0.0, &decl, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NEAR(decl, 27.96, 0.02);
    // A clock before the model's epoch evaluates at the epoch.
    SetDeclinationClock([] { return Utc(2019, 6, 1); });
    const double beforeEpoch = MagneticDeclinationNow(-50.0, -103.0);
    SetDeclinationClock([] { return Utc(2025, 1, 1); });
    EXPECT_NEAR(beforeEpoch, MagneticDeclinationNow(-50.0, -103.0), 0.001);
    // Later dates move along the secular variation (-0.032 degree a year there).
    SetDeclinationClock([] { return Utc(2027, 1, 1); });
    EXPECT_NEAR(MagneticDeclinationNow(-50.0, -103.0) - beforeEpoch, -0.064, 0.01);
}

// Day of the year over the year's length: the leap day and the century rules.
TEST(MagneticDeclination, DecimalYear) {
    const struct { int y, m, d; double days, yearLength; } cases[] = {
        {2025, 1, 1, 1, 365},   {2025, 2, 28, 59, 365}, {2025, 3, 1, 60, 365},    {2025, 12, 31, 365, 365},
        {2024, 2, 29, 60, 365}, {2024, 3, 1, 61, 366},  {2024, 12, 31, 366, 366}, {2000, 3, 1, 61, 366},
        {1900, 3, 1, 60, 365},  {2025, 7, 1, 182, 365},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(detail::DecimalYearOf(c.y, c.m, c.d), c.y + c.days / c.yearLength)
            << c.y << "-" << c.m << "-" << c.d;
    }
}

// An inclined satellite: the sub-satellite point off the equator, and points
// below the horizon (0N 0E to 0N 90E is 8.60 degrees below it, not above)
// or straight overhead.
TEST_F(Geometry, LookAnglesToPointAgainstVectorGeometry) {
    const struct { double siteLat, siteLon, satLon, satLat; } cases[] = {
        {51.5, 0.0, 10.0, 0.0},  {51.5, 0.0, 10.0, 5.0},  {51.5, 0.0, 10.0, -5.0},
        {-33.9, 18.4, 0.0, 3.0}, {-33.9, 18.4, 0.0, -3.0}, {40.0, -100.0, -120.0, 2.0},
        // Sites nearer the equator than the satellite: the point lies poleward.
        {2.0, 30.0, 30.0, 5.0},  {2.0, 30.0, 60.0, 5.0},  {-1.0, 10.0, -20.0, -4.0},
        {10.0, 0.0, 90.0, 5.0},  {0.0, 0.0, 90.0, 0.0},   {0.0, 0.0, 170.0, 0.0},   {3.0, 7.0, 7.0, 3.0},
    };
    EXPECT_NEAR(LookByVectors(0.0, 90.0).elevation, -8.60, 0.005);
    for (const auto& c : cases) {
        double elev, az;
        LookAnglesToPoint(c.siteLat, c.siteLon, c.satLon, c.satLat, &elev, &az);
        const HandLook hand = LookByVectors(c.siteLat, c.satLon - c.siteLon, c.satLat);
        SCOPED_TRACE(testing::Message() << c.siteLat << " " << c.siteLon << " -> " << c.satLon << " " << c.satLat);
        // Straight overhead the azimuth is any finite angle and the elevation
        // meets 90 through an arc cosine near 1; on the equator the site's
        // latitude is taken as 1e-6 radian.
        const bool overhead = hand.elevation > 89.99;
        EXPECT_NEAR(elev, ApparentElevation(hand.elevation, c.siteLat, c.siteLon), overhead ? 1e-4 : kTolAngle);
        EXPECT_TRUE(std::isfinite(az));
        if (!overhead && c.siteLat != 0.0) {
            EXPECT_NEAR(az, hand.azimuth, kTolAngle);
        }
    }
}

// Values that are not numbers go through without a crash or a hang.
TEST_F(Geometry, NonFiniteInputsDoNotCrash) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {nan, inf, -inf, 1e308}) {
        double decl, range, elev, az, magAz, pol;
        GeoLookAngles(v, 0.0, 10.0, 0.0, &decl, &range, &elev, &az, &magAz, &pol);
        GeoLookAngles(10.0, v, 10.0, 0.0, &decl, &range, &elev, &az, &magAz, &pol);
        LookAnglesToPoint(v, 0.0, v, 0.0, &elev, &az);
        PolarMountAngles(v, &decl, &range, &elev, &az, &pol);
        ApparentElevation(v, v, v);
        char text[13];
        FormatLatLon(v, 0, text);
        EXPECT_LT(std::strlen(text), sizeof text);
    }
}

// ---- elevation checks ------------------------------------------------------------

TEST_F(Geometry, ElevationChecks) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double elevation;
        bool horizonResult;
        const char* horizonText;
        bool lowResult;
        const char* lowText;
    } cases[] = {
        {30.0, true, nullptr, true, nullptr},
        {5.0, true, nullptr, true, nullptr},
        {4.0, true, nullptr, true, kLowElevationWarningText},
        {3.0, true, nullptr, true, kLowElevationWarningText},
        {2.9, true, nullptr, false, kLowElevationErrorText},
        {0.0, false, kBelowHorizonText, false, kLowElevationErrorText},
        {-1.0, false, kBelowHorizonText, false, kLowElevationErrorText},
        {nan, false, kBelowHorizonText, false, kLowElevationErrorText},
    };
    const auto expectNotice = [this](const char* text) {
        ASSERT_EQ(notifier_.notices.size(), text ? 1u : 0u);
        if (!text) return;
        EXPECT_EQ(notifier_.notices[0].text, text);
        EXPECT_EQ(notifier_.notices[0].caption, "Elevation");
        EXPECT_EQ(notifier_.notices[0].icon, NoticeIcon::Exclamation);
        EXPECT_EQ(notifier_.notices[0].buttons, NoticeButtons::Ok);
        notifier_.notices.clear();
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.elevation);
        EXPECT_EQ(CheckBelowHorizon(c.elevation), c.horizonResult);
        expectNotice(c.horizonText);
        EXPECT_EQ(CheckLowElevation(c.elevation), c.lowResult);
        expectNotice(c.lowText);
    }
}

TEST(Notifier, WithoutNotifierTheDefaultAnswer) {
    CalculationNotifier* previous = SetCalculationNotifier(nullptr);
    EXPECT_EQ(ShowNotice({"c", "t", NoticeIcon::Question, NoticeButtons::YesNo}), NoticeAnswer::No);
    EXPECT_EQ(ShowNotice({"c", "t", NoticeIcon::Information, NoticeButtons::Ok}), NoticeAnswer::Ok);
    EXPECT_FALSE(CheckBelowHorizon(-3.0));
    SetCalculationNotifier(previous);
}

// ---- polar mount and orbits ------------------------------------------------------

// Hand calculation: the declination offset is the depression, below the
// plane parallel to the equator through the site, of the ring points that lie
// square to the site's meridian plane (hour angle 90 degrees); the apex is
// the satellite on the site's meridian; the polar axis makes the dish sweep
// the ring: polar elevation = apex elevation + offset.
TEST(PolarMount, AgainstTheGeometryOfTheRing) {
    double offset, apexZenith, apexElev, axis, polarElev;
    for (double lat : {45.0, -45.0, 10.0, 51.5, 70.0, 0.5}) {
        PolarMountAngles(lat, &offset, &apexZenith, &apexElev, &axis, &polarElev);
        const double a = std::fabs(lat);
        const Vec site{R_m * std::cos(a * kDeg), 0.0, R_m * std::sin(a * kDeg)};
        const Vec toRing = Vec{site.x, std::sqrt(r_m * r_m - site.x * site.x), 0.0} - site;
        const double handOffset = std::atan2(-toRing.z, std::hypot(toRing.x, toRing.y)) / kDeg;
        const double handApexElev = LookByVectors(a, 0.0).elevation;
        SCOPED_TRACE(lat);
        EXPECT_NEAR(offset, handOffset, kTolAngle);
        EXPECT_NEAR(apexElev, handApexElev, kTolAngle);
        EXPECT_NEAR(apexZenith, 90.0 - handApexElev, kTolAngle);
        EXPECT_NEAR(polarElev, handApexElev + handOffset, kTolAngle);
        EXPECT_NEAR(axis, 90.0 - handApexElev - handOffset, kTolAngle);
    }
    PolarMountAngles(45.0, &offset, &apexZenith, &apexElev, &axis, &polarElev);
    EXPECT_NEAR(offset, 6.14, 0.005);
    EXPECT_NEAR(polarElev, 44.31, 0.005);
    EXPECT_NEAR(apexElev, 38.17, 0.005);
    // The equator: finite, the ring straight overhead.
    PolarMountAngles(0.0, &offset, &apexZenith, &apexElev, &axis, &polarElev);
    EXPECT_NEAR(offset, 0.0, 1e-5);
    EXPECT_NEAR(apexElev, 90.0, 1e-3);
}

// Circular orbits: the orbit radius is R + height; speed sqrt(mu / r),
// period 2 pi r / v; the range by the law of cosines in the triangle
// centre-site-satellite.  The Doppler shift is worked with vectors in the
// plane of a pass overhead: the station at (0, R), the satellite a slant
// range away along the elevation, its velocity square to its position; the
// shift is the velocity's part along the line of sight times f / c.
TEST(OrbitRange, AgainstCircularOrbitFormulas) {
    const struct { double heightKm, elevation, fGHz; } cases[] = {
        {400, 10, 2.2}, {35786, 90, 12.0}, {35786, 30, 4.0}, {800, 0, 0.137}, {20200, 45, 1.575}};
    double v, doppler, period;
    for (const auto& c : cases) {
        const double range = OrbitRangeDoppler(c.heightKm, c.elevation, c.fGHz, &v, &doppler, &period);
        const double rOrbit = R_m + c.heightKm * 1000.0;
        const double el = c.elevation * kDeg;
        const double centralAngle = M_PI / 2 - el - std::asin(R_m * std::cos(el) / rOrbit);
        const double handRange = std::sqrt(R_m * R_m + rOrbit * rOrbit - 2 * R_m * rOrbit * std::cos(centralAngle));
        const double handV = std::sqrt(3.986005e14 / rOrbit);
        SCOPED_TRACE(c.heightKm);
        EXPECT_NEAR(range, handRange, 1e-3);
        EXPECT_NEAR(v, handV, 1e-6);
        EXPECT_NEAR(period, 2 * M_PI * rOrbit / handV, 1e-5);
        const double satX = handRange * std::cos(el), satY = R_m + handRange * std::sin(el);
        const double vx = -handV * satY / rOrbit, vy = handV * satX / rOrbit;
        const double rangeRate = std::fabs(vx * std::cos(el) + vy * std::sin(el));
        EXPECT_NEAR(doppler, rangeRate * c.fGHz * 1e9 / 299792458.0 / 1000.0, 1e-6);
    }
    EXPECT_NEAR(OrbitRangeDoppler(35786, 90, 1, &v, &doppler, &period), 35786000.0, 1e-3);
    EXPECT_NEAR(period, 86163.99, 0.01);   // one sidereal day
    OrbitRangeDoppler(400, 45, 1, &v, &doppler, &period);
    EXPECT_NEAR(v, 7668.56, 0.005);
    EXPECT_NEAR(period, 5553.63, 0.005);
}

// The largest Doppler shift, worked by hand: only the part R cos(el) / r of
// the orbital speed lies along the line of sight (the sine of the nadir
// angle), never the whole speed times cos(el).
TEST(OrbitRange, DopplerTakesOnlyTheSpeedAlongTheLineOfSight)
{
    const struct { double heightKm, elevation, fGHz, dopplerKHz; const char* worked; } cases[] = {
        {550, 30, 12, 242.06, "v 7585.09 m/s x 0.79727 = 6047.40 m/s"},
        {550, 0, 12, 279.51, "v 7585.09 m/s x 0.92061 = 6982.93 m/s"},
        {1200, 45, 2.2, 31.67, "v 7252.50 m/s x 0.59514 = 4316.22 m/s"},
        {35786, 5, 12, 18.55, "v 3074.66 m/s x 0.15069 = 463.33 m/s"},
        {35786, 90, 12, 0.0, "straight up the velocity is square to the line of sight"},
    };
    for (const auto& c : cases) {
        double v, doppler, period;
        OrbitRangeDoppler(c.heightKm, c.elevation, c.fGHz, &v, &doppler, &period);
        EXPECT_NEAR(doppler, c.dopplerKHz, 0.02) << c.heightKm << " km, " << c.elevation << " deg: " << c.worked;
    }
}

// ---- truncation and rounding ------------------------------------------------------

TEST(Decimals, TruncateAndRound) {
    const struct { double x; int n; double truncated, rounded; } cases[] = {
        {2.999, 2, 2.99, 3.0},    {-2.999, 2, -2.99, -2.99}, {2.5, 0, 2.0, 3.0},
        {-2.5, 0, -2.0, -2.0},    {99.99995, 4, 99.9999, 100.0}, {0.0, 3, 0.0, 0.0},
        {1234.5678, -2, 1200.0, 1200.0},
        // Far beyond a 32-bit integer once scaled: still cut, not wrapped.
        {123456.78912345, 5, 123456.78912, 123456.78912}, {5e9, 4, 5e9, 5e9},
        {-3.7e12, 2, -3.7e12, -3699999999999.99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " to " << c.n);
        EXPECT_DOUBLE_EQ(TruncateToDecimals(c.x, c.n), c.truncated);
        EXPECT_DOUBLE_EQ(RoundToDecimals(c.x, c.n), c.rounded);
        EXPECT_DOUBLE_EQ(RoundToDecimalsInt(c.x, c.n), c.rounded);
    }
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(TruncateToDecimals(inf, 2), inf);
    EXPECT_TRUE(std::isnan(RoundToDecimals(std::nan(""), 2)));
}

}  // namespace
