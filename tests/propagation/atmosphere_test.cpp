// Atmospheric parameters at a site: the built-in grids, their indexing, the
// height rules and the exceedance brackets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "propagation/atmosphere.h"
#include "propagation/builtin_grids.h"
#include "propagation_fixtures.h"

namespace {

using namespace detail;   // the tables and grids behind the models

using proptest::UniformAtmosphere;

float Raw(BuiltinGridId id, int row, int column)
{
    const BuiltinGrid& g = BuiltinGridOf(id);
    return g.values[static_cast<std::size_t>(row) * static_cast<std::size_t>(g.columns) +
                    static_cast<std::size_t>(column)];
}

// Shapes and value ranges of the six embedded grids, as the data folder's
// SOURCES.md lists them for the published grids (minimum, maximum, mean).
TEST(BuiltinGrids, ShapesAndRangesOfTheEmbeddedData)
{
    struct Case { BuiltinGridId id; int rows, columns; double min, max, mean; };
    const Case cases[] = {
        {BuiltinGridId::Hv, 721, 1441, 1.031, 17.504, 2.648},
        {BuiltinGridId::Hp, 721, 1441, 6.543, 8.298, 7.683},
        {BuiltinGridId::LR, 721, 1441, -7.740, -2.068, -5.309},
        {BuiltinGridId::Zs, 721, 1441, -0.141, 5.870, 0.379},
        {BuiltinGridId::H0, 121, 241, 0.006, 6.281, 2.775},
        {BuiltinGridId::NW, 241, 481, 0.483, 138.040, 54.400},
    };
    for (const Case& c : cases) {
        const BuiltinGrid& g = BuiltinGridOf(c.id);
        SCOPED_TRACE(static_cast<int>(c.id));
        ASSERT_EQ(g.rows, c.rows);
        ASSERT_EQ(g.columns, c.columns);
        ASSERT_EQ(g.bytes, static_cast<std::size_t>(c.rows) * static_cast<std::size_t>(c.columns) * 4u);
        const std::size_t n = static_cast<std::size_t>(c.rows) * static_cast<std::size_t>(c.columns);
        const auto [lo, hi] = std::minmax_element(g.values, g.values + n);
        double sum = 0.0;
        for (std::size_t k = 0; k < n; ++k) sum += g.values[k];
        EXPECT_NEAR(*lo, c.min, 5e-4);
        EXPECT_NEAR(*hi, c.max, 5e-4);
        EXPECT_NEAR(sum / static_cast<double>(n), c.mean, 5e-4);
        // The last column repeats the first; the pole rows are constant.
        for (int row = 0; row < c.rows; row += 40)
            EXPECT_EQ(Raw(c.id, row, 0), Raw(c.id, row, c.columns - 1)) << row;
        for (int col = 0; col < c.columns; col += 97) {
            EXPECT_EQ(Raw(c.id, 0, col), Raw(c.id, 0, 0));
            EXPECT_EQ(Raw(c.id, c.rows - 1, col), Raw(c.id, c.rows - 1, 0));
        }
    }
    // Row 0 is the south: the Antarctic plateau, 2.783 km at the pole.
    EXPECT_NEAR(Raw(BuiltinGridId::Zs, 0, 0), 2.783, 5e-4);
    EXPECT_NEAR(Raw(BuiltinGridId::Zs, 720, 0), 0.0, 1e-4);   // the North Pole at sea level
}

TEST(BuiltinGrids, QuarterDegreeCornersFollowTheMapIndexing)
{
    struct Case { float lat, lon; int j, j1, i, i1; };
    const Case cases[] = {
        {10.0f, 20.0f, 400, 401, 800, 801},
        {10.1f, 20.1f, 400, 401, 800, 801},
        {90.0f, 0.0f, 720, 720, 720, 721},     // no row beyond the pole
        {-90.0f, -180.0f, 0, 1, 0, 1},
        {0.0f, 180.0f, 360, 361, 1440, 1},     // the last column wraps to column 1
        {-33.9f, 179.9f, 224, 225, 1439, 1440},
    };
    for (const Case& c : cases) {
        const auto z = GridCorners025(BuiltinGridId::Zs, c.lat, c.lon);
        EXPECT_EQ(z[0], Raw(BuiltinGridId::Zs, c.j, c.i)) << c.lat << " " << c.lon;
        EXPECT_EQ(z[1], Raw(BuiltinGridId::Zs, c.j1, c.i));
        EXPECT_EQ(z[2], Raw(BuiltinGridId::Zs, c.j, c.i1));
        EXPECT_EQ(z[3], Raw(BuiltinGridId::Zs, c.j1, c.i1));
        EXPECT_EQ(VapourScaleHeightCells(c.lat, c.lon)[3], Raw(BuiltinGridId::Hv, c.j1, c.i1));
        EXPECT_EQ(PressureScaleHeightCells(c.lat, c.lon)[1], Raw(BuiltinGridId::Hp, c.j1, c.i));
        EXPECT_EQ(LapseRateCells(c.lat, c.lon)[2], Raw(BuiltinGridId::LR, c.j, c.i1));
        EXPECT_EQ(SurfaceHeightCells(c.lat, c.lon)[0], Raw(BuiltinGridId::Zs, c.j, c.i));
    }
}

// ITU-R P.839-4 validation examples (h0 at the Study Group 3 test sites,
// Rio de Janeiro west of Greenwich), the grid's edges and west longitudes
// read as their east twins; the P.453 wet refractivity at London is checked
// in the scintillation test.
TEST(IsothermAndWetRefractivity, ValidationSitesAndEdges)
{
    EXPECT_NEAR(IsothermHeightAt(3.133f, 101.7f), 4.5979744, 1e-6);
    EXPECT_NEAR(IsothermHeightAt(22.9f, -43.23f), 3.79877947, 1e-6);
    EXPECT_EQ(IsothermHeightAt(0.0f, -10.0f), IsothermHeightAt(0.0f, 350.0f));
    // Latitude 90 keeps row 120 for both corners; longitudes 180 and -180
    // both read column 120.
    EXPECT_EQ(IsothermHeightAt(90.0f, 180.0f), Raw(BuiltinGridId::H0, 120, 120));
    EXPECT_EQ(IsothermHeightAt(-90.0f, -180.0f), Raw(BuiltinGridId::H0, 0, 120));
    EXPECT_EQ(IsothermHeightAt(0.0f, -0.0f), Raw(BuiltinGridId::H0, 60, 0));
    // Humid tropics about 120 N-units, deserts far lower; the pole and
    // longitude 180 stay on the grid.
    EXPECT_NEAR(WetRefractivityAt(3.133f, 101.7f), 125.0, 15.0);
    EXPECT_LT(WetRefractivityAt(23.0f, 30.0f), 50.0f);
    EXPECT_EQ(WetRefractivityAt(90.0f, 180.0f), Raw(BuiltinGridId::NW, 240, 480));
}

class SyntheticAtmosphere : public ::testing::Test {
protected:
    void SetUp() override { maps_.Install(); }
    UniformAtmosphere maps_;
};

// Cloud liquid has no height rule, so the brackets show plainly: values by
// hand from L_5..L_50 = 1.0, 0.8, 0.6, 0.4, 0.2.
TEST_F(SyntheticAtmosphere, ExceedanceBrackets)
{
    struct Case { float availability; double expected; };
    const Case cases[] = {
        {95.0f, 1.0},                                                  // p = 5: the 5 % map
        {99.9f, 1.0},                                                  // p = 0.1: still the 5 % map
        {90.0f, 0.8},                                                  // p = 10: upper end of 5-10
        {85.0f, 0.8 - 0.2 * std::log10(15.0 / 10.0) / std::log10(2.0)},   // p = 15
        {75.0f, 0.6 - 0.2 * std::log10(25.0 / 20.0) / std::log10(1.5)},   // p = 25
        {70.0f, 0.4},                                                  // p = 30
        {60.0f, 0.4 - 0.2 * std::log10(40.0 / 30.0) / std::log10(50.0 / 30.0)},
        {50.0f, 0.2},
        {40.0f, 0.2 - 0.2 * std::log10(60.0 / 50.0) / std::log10(50.0 / 30.0)},  // extrapolated
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CloudLiquidAt(12.3f, 45.6f, c.availability), c.expected, 2e-7) << c.availability;
    // p = 10 returns the 10 % map's value itself.
    EXPECT_EQ(CloudLiquidAt(12.3f, 45.6f, 90.0f), 0.8f);
}

// At a grid node the result is the one moved corner: X + (h - Z) LR for the
// temperature, X exp(-(h - Z) / H) for pressure and water vapour.
TEST_F(SyntheticAtmosphere, HeightRulesAtAGridNode)
{
    const float lat = 46.5f, lon = 7.75f;   // an Alpine node: j = 546, i = 751
    const double z = Raw(BuiltinGridId::Zs, 546, 751);
    const double lr = Raw(BuiltinGridId::LR, 546, 751);
    const double hp = Raw(BuiltinGridId::Hp, 546, 751);
    const double hv = Raw(BuiltinGridId::Hv, 546, 751);
    ASSERT_GT(z, 0.5);   // well above the sea

    const float atZ = static_cast<float>(z);
    EXPECT_FLOAT_EQ(MeanTemperatureAt(lat, lon, atZ), maps_.tMean);
    EXPECT_FLOAT_EQ(MeanPressureAt(lat, lon, atZ), maps_.pMean);
    EXPECT_FLOAT_EQ(MeanWaterVapourDensityAt(lat, lon, atZ), maps_.rhoMean);

    // One kilometre up changes the temperature by the lapse rate.
    EXPECT_NEAR(MeanTemperatureAt(lat, lon, atZ + 1.0f) - MeanTemperatureAt(lat, lon, atZ), lr, 1e-4);
    EXPECT_NEAR(TemperatureAt(lat, lon, 0.0f, 95.0f), 300.0 + (0.0 - z) * lr, 1e-4);
    // One scale height up divides pressure and vapour by e.
    EXPECT_NEAR(MeanPressureAt(lat, lon, static_cast<float>(z + hp)), maps_.pMean / std::exp(1.0), 1e-3);
    EXPECT_NEAR(WaterVapourDensityAt(lat, lon, static_cast<float>(z + hv), 95.0f), 15.0 / std::exp(1.0), 1e-5);
    EXPECT_NEAR(WaterVapourContentAt(lat, lon, 0.0f, 50.0f), 20.0 * std::exp(z / hv), 1e-4);
    EXPECT_NEAR(PressureAt(lat, lon, 0.0f, 90.0f), 1015.0 * std::exp(z / hp), 1e-2);
}

// Between nodes each corner moves with its own surface height and lapse rate
// before the bilinear step.
TEST_F(SyntheticAtmosphere, CornersMoveBeforeInterpolation)
{
    const float lat = 46.6f, lon = 7.9f;
    const float y = (lat + 90.0f) / 0.25f, x = (lon + 180.0f) / 0.25f;
    const int j = static_cast<int>(y), i = static_cast<int>(x);
    const double fy = y - static_cast<float>(j), fx = x - static_cast<float>(i);
    const double h = 2.0;
    auto moved = [&](int row, int col) {
        return static_cast<float>(maps_.tMean + (h - Raw(BuiltinGridId::Zs, row, col)) * Raw(BuiltinGridId::LR, row, col));
    };
    const double expected = (1 - fy) * (1 - fx) * moved(j, i) + fy * (1 - fx) * moved(j + 1, i) +
                            (1 - fy) * fx * moved(j, i + 1) + fy * fx * moved(j + 1, i + 1);
    EXPECT_NEAR(MeanTemperatureAt(lat, lon, static_cast<float>(h)), expected, 1e-4);
}

}  // namespace
