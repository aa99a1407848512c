// The non-GEO budget on the shared engine: typed geometry against a hand
// calculation, the same budget as a GEO one with the same geometry, and the
// low-elevation stop.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/linkbudget/engine/budget_fixtures.h"
#include "linkbudget/nongeo/nongeo_budget.h"

namespace {

// A host that also records the longitude differences of the polarization tilt.
class TiltHost : public RecordingHost {
public:
    std::vector<double> longitudeDifferences;
    double PolarizationTerm(double lat, double dlon, const char* pol) override
    {
        longitudeDifferences.push_back(dlon);
        return RecordingHost::PolarizationTerm(lat, dlon, pol);
    }
};

TEST(NonGeoBudget, GeoRecordRoundTrip)
{
    GeoLinkInputRecord g;
    FillHandBudget(g);
    std::memset(g.satLongitude, 0, sizeof g.satLongitude);
    NonGeoLinkInputRecord n = NonGeoFromGeo(g);
    GeoLinkInputRecord back;
    NonGeoToGeoRecord(n, back);
    EXPECT_EQ(std::memcmp(&back, &g, sizeof g), 0);
}

// Hand calculation with the typed geometry (c = 299792458 m/s), the rest as
// the GEO hand budget:
//  free-space loss  20 log10(4 pi d f / c): up 1500 km at 14 GHz 178.8922 dB,
//                   down 2000 km at 12 GHz 180.0520 dB
//  EIRP for saturation = SFD + 10 log10(4 pi d_up^2) = -90 + 134.5139 = 44.5139 dBW
//  uplink C/No at saturation 94.2211 dB-Hz, at input back-off 6 dB 88.2211 dB-Hz
//  EIRP per carrier 38.5139 dBW; satellite EIRP 47 dBW
//  downlink C/No    47 - 180.0520 + 22.6721 + 228.5993 = 118.2194 dB-Hz
//  total C/No       -10 log10(10^-8.82211 + 10^-11.82194) = 88.2168 dB-Hz
//  Eb/No            88.2168 - 70 = 18.2168 dB; margin 18.2168 - 4.5 = 13.7168 dB
//  HPA power        38.5139 - 49.0625 + 1 + 3 = -6.5486 dBW = 0.22138 W
TEST(NonGeoBudget, TypedGeometryByHand)
{
    FixedAtmosphere atmosphere;
    TiltHost host;
    GeoLinkBudget budget{atmosphere, host};
    GeoLinkInputRecord g;
    FillHandBudget(g);
    NonGeoLinkInputRecord n = NonGeoFromGeo(g);
    SetText(n.upElevation, "30");
    SetText(n.upRange, "1500");
    SetText(n.upLongitudeDiff, "12.5");
    SetText(n.dnElevation, "40");
    SetText(n.dnRange, "2000");
    SetText(n.dnLongitudeDiff, "");
    LoadNonGeoBudget(n, budget);
    EXPECT_STREQ(n.dnLongitudeDiff, "0");
    EXPECT_DOUBLE_EQ(budget.outerSearchTolerance, 0.01);
    ASSERT_EQ(budget.Recalculate(), GeoLinkBudget::Outcome::Completed);

    EXPECT_EQ(host.checkedElevations, (std::vector<double>{30.0, 40.0}));
    EXPECT_EQ(host.longitudeDifferences, (std::vector<double>{12.5, 0.0}));
    const LinkCaseResult& cs = budget.clearSky;
    const struct { const char* name; double got, want; } rows[] = {
        {"uplink free-space loss", budget.upSite.freeSpaceLoss, 178.8922},
        {"downlink free-space loss", budget.dnSite.freeSpaceLoss, 180.0520},
        {"EIRP for saturation", budget.sol.eirpForSaturation, 44.5139},
        {"uplink C/No", cs[kUpCNo], 88.2211},
        {"uplink EIRP per carrier", cs[kUplinkEirp], 38.5139},
        {"downlink C/No", cs[kDownCNo], 118.2194},
        {"total C/No", cs[kTotalCNo], 88.2168},
        {"Eb/No", cs[kTotalEbNoIo], 18.2168},
        {"excess margin", cs[kExcessMargin], 13.7168},
        {"HPA power dBW", budget.sol.totalHpaPower, -6.5486},
    };
    for (const auto& r : rows) EXPECT_NEAR(r.got, r.want, 0.01) << r.name;
    EXPECT_NEAR(budget.sol.requiredHpaPower, 0.22138, 0.22138 * 0.0024);
    EXPECT_EQ(budget.errorCode, 0);
}

double RainOf(double availability) { return availability > 99.0 ? 0.02 * (availability - 99.0) * 100.0 : 0.5; }

// A GEO budget and a non-GEO one given the GEO one's geometry give the same
// results, clear sky and rain alike; only the split search may end apart.
TEST(NonGeoBudget, SameAsGeoWithTheSameGeometry)
{
    const struct { const char* name; bool rain; const char* downAvailability; } cases[] = {
        {"clear sky", false, "99.9"},
        {"rain, both availabilities given", true, "99.9"},
        {"rain, split availability", true, "AUTO"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FixedAtmosphere atmosphere;
        if (c.rain) atmosphere.rainAt = RainOf;
        RecordingHost geoHost;
        GeoLinkBudget geo{atmosphere, geoHost};
        FillHandBudget(geo.record);
        SetText(geo.record.dnAvailability, c.downAvailability);
        if (c.rain) {
            geo.record.upClearSky.Set(0);
            geo.record.dnClearSky.Set(0);
            geo.record.upItuAuto.Set(1);
            geo.record.dnItuAuto.Set(1);
        }
        GeoLinkInputRecord input = geo.record;
        ASSERT_EQ(geo.Recalculate(), GeoLinkBudget::Outcome::Completed);

        RecordingHost leoHost;
        GeoLinkBudget leo{atmosphere, leoHost};
        SetText(input.satLongitude, "");
        NonGeoLinkInputRecord n = NonGeoFromGeo(input);
        LoadNonGeoBudget(n, leo);
        leo.upEntered = {geo.upSite.elevation, geo.upSite.slantRange, 10.0};
        leo.dnEntered = {geo.dnSite.elevation, geo.dnSite.slantRange, 10.0};
        ASSERT_EQ(leo.Recalculate(), GeoLinkBudget::Outcome::Completed);

        EXPECT_EQ(leo.errorCode, geo.errorCode);
        EXPECT_DOUBLE_EQ(leo.upSite.freeSpaceLoss, geo.upSite.freeSpaceLoss);
        EXPECT_DOUBLE_EQ(leo.dnSite.freeSpaceLoss, geo.dnSite.freeSpaceLoss);
        EXPECT_DOUBLE_EQ(leo.upSite.polarizationTerm, geo.upSite.polarizationTerm);
        const bool split = std::strcmp(c.downAvailability, "AUTO") == 0;
        const double tol = split ? 0.05 : 0.0;
        for (int f : {int(kUpCNo), int(kDownCNo), int(kTotalCNo), int(kUplinkEirp), int(kExcessMargin)}) {
            EXPECT_DOUBLE_EQ(leo.clearSky[f], geo.clearSky[f]) << f;
            EXPECT_NEAR(leo.rainUp[f], geo.rainUp[f], tol) << f;
            EXPECT_NEAR(leo.rainDown[f], geo.rainDown[f], tol) << f;
        }
        EXPECT_NEAR(leo.in.up.availability, geo.in.up.availability, split ? 0.01 : 0.0);
        EXPECT_NEAR(leo.overallAvailability, geo.overallAvailability, split ? 0.01 : 0.0);
    }
}

TEST(NonGeoBudget, LowElevationStopsTheBudget)
{
    const struct { const char* up; const char* down; std::size_t checked; } cases[] = {
        {"2", "30", 1}, {"30", "2", 2}, {"2.999", "45", 1},
    };
    for (const auto& c : cases) {
        FixedAtmosphere atmosphere;
        RecordingHost host;
        GeoLinkBudget budget{atmosphere, host};
        GeoLinkInputRecord g;
        FillHandBudget(g);
        NonGeoLinkInputRecord n = NonGeoFromGeo(g);
        SetText(n.upElevation, c.up);
        SetText(n.dnElevation, c.down);
        SetText(n.upRange, "1500");
        SetText(n.dnRange, "1500");
        LoadNonGeoBudget(n, budget);
        EXPECT_EQ(budget.Recalculate(), GeoLinkBudget::Outcome::StoppedLowElevation) << c.up << " " << c.down;
        EXPECT_EQ(host.checkedElevations.size(), c.checked);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], "ERROR: Elevation < 3 degrees (some atmospheric models are invalid)");
    }
}

}  // namespace
