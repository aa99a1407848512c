// Gaseous attenuation: the built-in P.676 tables, their brackets, the oxygen
// line sum, and the slant-path combination.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "propagation/builtin_grids.h"
#include "propagation/gas.h"
#include "propagation_fixtures.h"

namespace {

using namespace detail;   // the tables and grids behind the models

constexpr double kZenith = std::numbers::pi / 2;

int RowOf(const double* (*row)(int), int rows, double f)
{
    for (int k = 0; k < rows; ++k)
        if (row(k)[0] == f) return k;
    return -1;
}

// The published tables are built in, not the 8-decimal copies: the telling
// rows agree with the 8-decimal values to within 1e-8, and the 1 GHz water
// row keeps its published digits.
TEST(GasTables, TellingRows)
{
    struct Case { const double* (*row)(int); int rows; double f, c0, c1, c2, c3; };
    const Case cases[] = {
        {OxygenHeightRow, kOxygenHeightRows, 1.0, -2.700258, 0.02724587, 0.00059716, 0.00051304},
        {OxygenHeightRow, kOxygenHeightRows, 118.75, -55.54675, 0.4334093, -0.00209104, 0.162939},
        {OxygenHeightRow, kOxygenHeightRows, 350.0, -3.970927, 0.03617106, -0.00098851, 0.00096707},
        {WaterVapourRow, kWaterVapourRows - 1, 1.0, 1.175e-05, 5e-08, -4e-08, 1e-08},
        {WaterVapourRow, kWaterVapourRows - 1, 350.0, 2.370793, 0.00749755, -0.00835582, 0.0011286},
    };
    for (const Case& c : cases) {
        const int k = RowOf(c.row, c.rows, c.f);
        ASSERT_GE(k, 0) << c.f;
        const double published[4] = {c.c0, c.c1, c.c2, c.c3};
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(c.row(k)[i + 1], published[i], 1e-8) << c.f << " c" << i;
    }
    EXPECT_EQ(WaterVapourRow(0)[1], 1.175406e-05);
    EXPECT_EQ(WaterVapourRow(0)[4], 5.531196e-09);
}

// The first oxygen line of P.676 Table 1; the line frequencies rise.  The
// height tables run 1 to 350 GHz by 0.5 with 118.75 between 118.5 and 119.0
// in the oxygen table only; the water table ends with a row of zeros.
TEST(GasTables, LayoutOfTheThreeTables)
{
    const double first[7] = {50.474214, 0.975, 9.651, 6.69, 0.0, 2.566, 6.85};
    EXPECT_TRUE(std::equal(first, first + 7, OxygenLineRow(0)));
    EXPECT_EQ(OxygenLineRow(kOxygenLineRows - 1)[0], 834.145546);
    for (int k = 1; k < kOxygenLineRows; ++k) EXPECT_LT(OxygenLineRow(k - 1)[0], OxygenLineRow(k)[0]);
    const struct { const double* (*row)(int); int k; double f; } rows[] = {
        {OxygenHeightRow, 0, 1.0}, {OxygenHeightRow, 235, 118.5}, {OxygenHeightRow, 236, 118.75},
        {OxygenHeightRow, 237, 119.0}, {OxygenHeightRow, kOxygenHeightRows - 1, 350.0},
        {WaterVapourRow, 235, 118.5}, {WaterVapourRow, 236, 119.0}, {WaterVapourRow, kWaterVapourRows - 2, 350.0},
    };
    for (const auto& r : rows) EXPECT_EQ(r.row(r.k)[0], r.f) << r.k;
    for (int k = 0; k < 5; ++k) EXPECT_EQ(WaterVapourRow(kWaterVapourRows - 1)[k], 0.0);
    // The brackets are found by halving, which needs rising frequencies.
    for (int k = 1; k < kOxygenHeightRows; ++k) EXPECT_LT(OxygenHeightRow(k - 1)[0], OxygenHeightRow(k)[0]) << k;
    for (int k = 1; k < kWaterVapourRows - 1; ++k) EXPECT_LT(WaterVapourRow(k - 1)[0], WaterVapourRow(k)[0]) << k;
}

// With V = 1, elevation 90 degrees and one of rho, T, P set to 1, the water
// term returns one interpolated coefficient: the brackets can be read out.
TEST(GasBrackets, WaterVapourCoefficients)
{
    const auto coefficient = [](double f, int which) {
        const double rho = which == 1, t = which == 2, p = which == 3;
        const double base = WaterVapourSlantAttenuation(f, kZenith, 1.0, 0.0, 0.0, 0.0);
        return which == 0 ? base : WaterVapourSlantAttenuation(f, kZenith, 1.0, t, p, rho) - base;
    };
    const auto lerp = [](const double* lo, const double* hi, double f, int c) {
        return lo[c] + (hi[c] - lo[c]) * (f - lo[0]) / (hi[0] - lo[0]);
    };
    const int r20 = RowOf(WaterVapourRow, kWaterVapourRows - 1, 20.0);
    const double kTol = 1e-15;   // the read-out subtracts the constant term
    for (int c = 0; c < 4; ++c) {
        // A table frequency takes that row with weight 0 on the next one.
        EXPECT_NEAR(coefficient(20.0, c), WaterVapourRow(r20)[c + 1], kTol) << c;
        // 118.6 GHz lies between the 118.5 and 119.0 rows of this table.
        EXPECT_NEAR(coefficient(118.6, c), lerp(WaterVapourRow(235), WaterVapourRow(236), 118.6, c + 1), kTol);
        // Outside the table the end rows stand, never the row of zeros.
        EXPECT_NEAR(coefficient(0.5, c), WaterVapourRow(0)[c + 1], kTol);
        EXPECT_NEAR(coefficient(0.0007, c), WaterVapourRow(0)[c + 1], kTol);
        EXPECT_NEAR(coefficient(350.0, c), WaterVapourRow(kWaterVapourRows - 2)[c + 1], kTol);
        EXPECT_NEAR(coefficient(400.0, c), WaterVapourRow(kWaterVapourRows - 2)[c + 1], kTol);
    }
}

// The oxygen term is gamma_o(means) x h_o(p values): with T_p = P_p = rho_p = 0
// it is gamma_o c0, and the ratio with T_p = 1 gives c1 / c0.
TEST(GasBrackets, OxygenEquivalentHeightCoefficients)
{
    const auto ratio = [](double f) {
        const double base = OxygenSlantAttenuation(f, kZenith, 0, 0, 0, 288.15, 1013.25, 7.5);
        return (OxygenSlantAttenuation(f, kZenith, 1, 0, 0, 288.15, 1013.25, 7.5) - base) / base;
    };
    const auto lerpRatio = [](int lo, int hi, double f) {
        const double* a = OxygenHeightRow(lo);
        const double* b = OxygenHeightRow(hi);
        const double w = (f - a[0]) / (b[0] - a[0]);
        return (a[2] + (b[2] - a[2]) * w) / (a[1] + (b[1] - a[1]) * w);
    };
    EXPECT_NEAR(ratio(118.6), lerpRatio(235, 236, 118.6), 1e-12);   // 118.5 to 118.75
    EXPECT_NEAR(ratio(118.9), lerpRatio(236, 237, 118.9), 1e-12);   // 118.75 to 119.0
    EXPECT_NEAR(ratio(20.0), OxygenHeightRow(38)[2] / OxygenHeightRow(38)[1], 1e-12);
    EXPECT_NEAR(ratio(0.5), OxygenHeightRow(0)[2] / OxygenHeightRow(0)[1], 1e-12);
    EXPECT_NEAR(ratio(500.0), OxygenHeightRow(699)[2] / OxygenHeightRow(699)[1], 1e-12);
}

// Specific oxygen attenuation of the standard atmosphere (1013.25 hPa,
// 288.15 K, 7.5 g/m3), by hand from P.676-13 Annex 1 equations 1-7 with the
// 44 lines of Table 1 and the dry continuum: 0.0085290509 dB/km at 12 GHz,
// 0.0116520449 at 20 GHz, 0.0210316026 at 30 GHz, 14.5020949 at 60 GHz (the
// Recommendation's figure 1 shows about 15 dB/km at the 60 GHz complex).
TEST(GasOxygen, SpecificAttenuationOfTheStandardAtmosphere)
{
    struct Case { double f, gamma; };
    const Case cases[] = {{12.0, 0.0085290509}, {20.0, 0.0116520449}, {30.0, 0.0210316026}, {60.0, 14.5020949}};
    for (const Case& c : cases) {
        const int row = RowOf(OxygenHeightRow, kOxygenHeightRows, c.f);
        ASSERT_GE(row, 0);
        const double gamma = OxygenSlantAttenuation(c.f, kZenith, 0, 0, 0, 288.15, 1013.25, 7.5) / OxygenHeightRow(row)[1];
        EXPECT_NEAR(gamma, c.gamma, 1e-9 * c.gamma / 0.01) << c.f;
    }
    // Halving the sine doubles the path.
    EXPECT_NEAR(OxygenSlantAttenuation(20.0, std::numbers::pi / 6, 290, 1010, 8, 288.15, 1013.25, 7.5),
                2 * OxygenSlantAttenuation(20.0, kZenith, 290, 1010, 8, 288.15, 1013.25, 7.5), 1e-12);
}

// The same equations at 1013.25 hPa and 7.5 g/m3 for other mean
// temperatures, by hand with the temperature ratio held to float precision as
// the model holds it.  The mean temperature changes from one call to the next
// and back, so no call may reuse what an earlier one worked out for another.
TEST(GasOxygen, SpecificAttenuationFollowsTheMeanTemperature)
{
    struct Case { double t, f, gamma; };
    const Case cases[] = {
        {250.0, 60.0, 20.27135617},   {300.0, 60.0, 13.15259188},  {250.0, 20.0, 0.0174707772},
        {288.15, 20.0, 0.01165204492}, {300.0, 20.0, 0.01038169819}, {250.0, 60.0, 20.27135617},
        {288.15, 60.0, 14.5020949},   {288.15, 60.0, 14.5020949},  {300.0, 60.0, 13.15259188},
    };
    for (const Case& c : cases) {
        const int row = RowOf(OxygenHeightRow, kOxygenHeightRows, c.f);
        ASSERT_GE(row, 0);
        const double gamma = OxygenSlantAttenuation(c.f, kZenith, 0, 0, 0, c.t, 1013.25, 7.5) / OxygenHeightRow(row)[1];
        EXPECT_NEAR(gamma, c.gamma, 2e-9 * c.gamma) << c.t << " K, " << c.f << " GHz";
    }
}

class GasWithUniformMaps : public ::testing::Test {
protected:
    void SetUp() override { proptest::UniformAtmosphere{}.Install(); }
};

TEST_F(GasWithUniformMaps, ClampsOfHeightAndAvailability)
{
    const auto gas = [](double height, double availability) {
        return GaseousAttenuation(0.0, -150.0, 20.0, 30.0, height, availability);
    };
    EXPECT_EQ(gas(-0.2, 90.0), gas(0.0, 90.0));
    EXPECT_EQ(gas(12.0, 90.0), gas(10.0, 90.0));
    EXPECT_EQ(gas(0.0, 99.99), gas(0.0, 95.0));
    EXPECT_EQ(gas(0.0, 20.0), gas(0.0, 50.0));
    EXPECT_GT(gas(0.0, 95.0), gas(0.0, 50.0));   // more vapour for the smaller percentage
    EXPECT_GT(gas(0.0, 90.0), gas(3.0, 90.0));   // less air above a high site
}

TEST_F(GasWithUniformMaps, SumOfTheTwoTerms)
{
    // A station at a grid node (46.5N 7.75E) and at the grid's own surface
    // height there sees the maps' values unmoved.  Availability 95:
    // T_5 = 300 K, P_5 = 1020 hPa, rho_5 = 15 g/m3, V_5 = 40 kg/m2; means
    // 288 K, 1013 hPa, 7.5 g/m3.
    const BuiltinGrid& zs = BuiltinGridOf(BuiltinGridId::Zs);
    const double height = zs.values[546 * 1441 + 751];
    const double el = 30.0 * std::numbers::pi / 180;
    const double expected = OxygenSlantAttenuation(20.0, el, 300, 1020, 15, 288, 1013, 7.5) +
                            WaterVapourSlantAttenuation(20.0, el, 40, 288, 1013, 7.5);
    EXPECT_NEAR(GaseousAttenuation(46.5, 7.75, 20.0, 30.0, height, 95.0), expected, 1e-6 * expected);
}

}  // namespace
