// Every builder's curve against its textbook formula at three points, with
// the figures worked out by hand (or from the published case) in the
// comments; the ranges, titles and notes of the graphs; and the inputs that
// leave nothing to draw.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "propagation/geo_notifier.h"
#include "propagation/itu_maps.h"
#include "rftools/graphs/graph_curves.h"
#include "tests/propagation/propagation_fixtures.h"

using namespace graphs;

namespace {

constexpr int kWidth = kScreenPlotWidth;
constexpr double kF32 = 2e-6;        // relative, a value stored as a 32-bit float
constexpr double kDbTol = 1e-3;      // dB, figures written to three decimals
constexpr double kBisectTol = 2e-3;  // dB, the Eb/No search stops at a 0.001 dB interval

// The curve's y at the point whose x is nearest `x`.
double YNear(const GraphPlot& p, double x)
{
    std::size_t best = 0;
    for (std::size_t i = 1; i < p.points.size(); ++i)
        if (std::fabs(p.points[i].x - x) < std::fabs(p.points[best].x - x)) best = i;
    return p.points.at(best).y;
}

TEST(GainTemplate, CombinedTemplateOfAThreeMetreDish)
{
    // 3 m, 65 %, 12 GHz: lambda = 0.0249827 m, D/lambda = 120.083,
    // Gmax = 10 log10(0.65 (pi 120.083)^2) = 49.662 dBi.  Limit 7.37 degrees
    // puts the steps at 0.01 degrees.
    const TemplateInputs in{3.0, 65.0, 12.0, 7.37, true, false};
    const GraphContent c = GainTemplateGraph(in, "Bench", kWidth);
    EXPECT_NEAR(c.plot.yMaximum, 49.661767, 1e-6);
    EXPECT_EQ(c.plot.yMinimum, -10.0);
    struct Row { double angle, gain; const char* source; };
    const Row rows[] = {
        // main lobe, Gmax - 2.5e-3 (D/lambda phi)^2 = 49.662 - 3.244
        {0.3, 46.417279, "main lobe"},
        // side lobes, 29 - 25 log10(phi)
        {5.0, 11.525750, "29 - 25 log 5"},
        {7.0, 7.872549, "29 - 25 log 7"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.source);
        EXPECT_NEAR(YNear(c.plot, r.angle), r.gain, 1e-4);
        EXPECT_NEAR(TemplateGainDbi(in, r.angle), r.gain, 1e-6);
    }
    EXPECT_EQ(c.lines[0], "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8");
    EXPECT_EQ(c.lines[1], "Bench~");
    EXPECT_EQ(c.lines[2], "Antenna Aperture = 3.00 metres");
    EXPECT_EQ(c.lines[3], "Efficiency = 65.00 %");
    EXPECT_EQ(c.lines[4], "Frequency = 12.000000 GHz");
    EXPECT_EQ(c.plot.points.size(), std::size_t(kWidth));
    EXPECT_TRUE(c.messages.empty());
}

TEST(GainTemplate, TitlesWarningsAndAGainWithNoTemplate)
{
    struct Row { const char* name; bool co, bo; const char* title; bool warned; };
    const Row rows[] = {
        {"co-polar BO.1213", true, true, "Antenna Gain Template (Co-Polar) - BO.1213", false},
        {"cross-polar BO.1213", false, true, "Antenna Gain Template (Cross-Polar) - BO.1213", false},
        {"cross-polar asked of the combined", false, false, "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const GraphContent c = GainTemplateGraph({1.2, 65.0, 12.0, 26.3, r.co, r.bo}, "", kWidth);
        EXPECT_EQ(c.lines[0], r.title);
        ASSERT_EQ(c.messages.size(), r.warned ? 1u : 0u);
        if (r.warned) {
            EXPECT_EQ(c.messages[0].text, "Only co-polar is defined in AP8/S.580");
            EXPECT_EQ(c.messages[0].caption, "Cross-polar Option Invalid");
        }
        // 1.2 m, 65 %, 12 GHz: Gmax = 41.703 dBi tops the axis.
        EXPECT_NEAR(c.plot.yMaximum, 41.702967, 1e-6);
        EXPECT_TRUE(c.plot.curveShown);
    }
    // 1 cm at 700 MHz: Gmax = -72 dBi, under the -10 dBi floor: a message, no graph.
    const GraphContent none = GainTemplateGraph({0.01, 50.0, 0.7, 20.0, true, false}, "", kWidth);
    EXPECT_FALSE(none.plot.curveShown);
    ASSERT_EQ(none.messages.size(), 1u);
    EXPECT_NE(none.messages[0].text.find("-10 dBi"), std::string::npos);
}

TEST(BeamPattern, UniformCircularAndLineSourceApertures)
{
    // 1.2 m at 12 GHz: lambda = 0.0249827 m, u = pi D sin(theta) / lambda.
    // Half range 224 lambda / D = 4.6634 degrees.
    EXPECT_NEAR(BeamPatternLimitDeg(1.2, 12.0), 4.663438, 1e-5);
    struct Row { double angle, circular, line; const char* source; };
    const Row rows[] = {
        // u = 0.79011: 2 J1(u)/u = 0.923969, sin u / u = 0.899154
        {0.3, 0.923969, 0.899154, "0.3 degrees"},
        // u = 1.61628, the half-power point of 2 J1(u)/u: 0.707126; sin u / u = 0.618064
        {0.6137, 0.707126, 0.618064, "-3 dB of the circular aperture"},
        // u = 3.83191, the first zero of J1; sin u / u = 0.166179
        {1.4551, 0.0, 0.166179, "first null of the circular aperture"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.source);
        EXPECT_NEAR(BeamPatternValue(r.angle, 1.2, 12.0, false), r.circular, 1e-4);
        EXPECT_NEAR(BeamPatternValue(r.angle, 1.2, 12.0, true), r.line, 1e-4);
    }
    for (bool rectangular : {false, true}) {
        const GraphContent c = BeamPatternGraph({12.0, 1.2}, rectangular, "Bench", kWidth);
        const GraphPlot& p = c.plot;
        ASSERT_EQ(p.points.size(), std::size_t(kWidth));
        EXPECT_NEAR(p.xMaximum, 4.663438, 1e-5);
        EXPECT_TRUE(p.dbLinesShown);
        // Symmetric about boresight; no sample on it, so every value stays below 1.
        for (std::size_t i = 1; i < p.points.size(); ++i) {
            EXPECT_FLOAT_EQ(p.points[i].y, p.points[std::size_t(kWidth) - i].y);
            EXPECT_FLOAT_EQ(p.points[i].x, -p.points[std::size_t(kWidth) - i].x);
            EXPECT_LT(p.points[i].y, 1.0f);
        }
        const double middle = YNear(p, 0.0);
        EXPECT_GT(middle, 0.9999);
        // -3 dB where the formula puts it, within the field change over half a step (0.0063 degrees)
        EXPECT_NEAR(YNear(p, rectangular ? 0.5284 : 0.6137), 0.7071, 5e-3);
    }
    // A 1 cm aperture at 700 MHz: 224 lambda / D is 9594 degrees, held at 180.
    EXPECT_EQ(BeamPatternLimitDeg(0.01, 0.7), 180.0);
}

TEST(GainAperture, ParabolicGainOnlyFrom25Dbi)
{
    // 12 GHz, 65 %, apertures to 7.37 m (steps of 0.01 m):
    // G = 10 log10(0.65 (pi D / 0.0249827)^2).
    const GraphContent c = GainApertureGraph({12.0, 65.0, 7.37}, "Bench", kWidth);
    struct Row { double d, g; };
    const Row rows[] = {{0.5, 34.098742}, {1.2, 41.702967}, {3.0, 49.661767}};
    for (const Row& r : rows) EXPECT_NEAR(YNear(c.plot, r.d), r.g, r.g * kF32) << r.d;
    // 25 dBi needs D = lambda/pi sqrt(10^2.5 / 0.65) = 0.1754 m: the curve starts at the 0.18 m step.
    ASSERT_FALSE(c.plot.points.empty());
    EXPECT_NEAR(c.plot.points.front().x, 0.18, 1e-6);
    EXPECT_EQ(c.plot.yMinimum, 25.0);
    EXPECT_EQ(c.plot.xAxisPosition, 25.0);
    EXPECT_NEAR(c.plot.yMaximum, ApertureGainDbi(7.36, 65.0, 0.0249827), 1e-4);
    EXPECT_EQ(c.lines[0], "Antenna Gain v Aperture");
    EXPECT_EQ(c.lines[2], "Efficiency = 65.00 %");
    // 1 GHz, 50 %, 0.1 m reaches -2.6 dBi at most: nothing above 25 dBi, a message and no graph.
    const GraphContent none = GainApertureGraph({1.0, 50.0, 0.1}, "", kWidth);
    EXPECT_FALSE(none.plot.curveShown);
    EXPECT_EQ(none.messages.size(), 1u);
}

TEST(EirpAperture, ApertureForTheRequiredCarrierToNoise)
{
    // 12 GHz, 150 K, 36 MHz, C/N 6 dB over 41000 km:
    // L = 20 log10(4 pi 4.1e7 / 0.0249827) = 206.287 dB;
    // G/T = (6 - E) - 228.599 + 75.563 + 206.287; G = G/T + 21.761;
    // D = (1/pi) sqrt(10^(G/10) lambda^2 / 0.65).
    AntSysInputs in;
    in.frequencyGHz = 12.0, in.systemNoiseK = 150.0, in.bandwidthMHz = 36.0, in.requiredCnDb = 6.0;
    EXPECT_NEAR(EirpGraphPathLossDb(12.0), 206.287085, 1e-5);
    struct Row { double eirp, d; };
    const Row rows[] = {{30.0, 3.504435}, {40.0, 1.108200}, {50.0, 0.350443}};
    for (const Row& r : rows) EXPECT_NEAR(ApertureForEirpM(in, r.eirp), r.d, 1e-5) << r.eirp;
    const GraphContent c = EirpApertureGraph(in, "Bench", kWidth);
    EXPECT_EQ(c.plot.xMinimum, 30.0);
    EXPECT_EQ(c.plot.xMaximum, 70.0);
    // "auto": the axis ends at the aperture of the left end, the first point.
    EXPECT_NEAR(c.plot.yMaximum, 3.504435, 1e-5);
    EXPECT_NEAR(c.plot.points.front().y, 3.504435, 3.5 * kF32);
    EXPECT_NEAR(YNear(c.plot, 40.0), 1.108200, 5e-3);  // the nearest step is 0.0136 dB off 40
    EXPECT_EQ(c.lines[5], "Free space loss = 206.3 dB");
    EXPECT_EQ(c.lines[7], "Antenna efficiency = 65 %");
    // 8 GHz starts the high band; just under it the low one.
    EXPECT_EQ(EirpAxisRange(8.0).minimum, 30.0);
    EXPECT_EQ(EirpAxisRange(7.99).minimum, 25.0);
    EXPECT_EQ(EirpAxisRange(7.99).maximum, 55.0);
    // A typed limit keeps only the apertures up to it.
    in.autoAperture = false, in.maximumApertureM = 1.0;
    for (const PlotPoint& p : EirpApertureGraph(in, "", kWidth).plot.points) EXPECT_LE(p.y, 1.0f);
}

TEST(Parabola, DepthAndFocusOfTheDish)
{
    // y = x^2 / (4 f), f = f/D x D.  1.8 m, f/D 0.35: f = 0.63 m.
    struct Row { double x, y; };
    const Row rows[] = {{0.9, 0.321429}, {0.45, 0.080357}, {0.3, 0.035714}};
    for (const Row& r : rows) EXPECT_NEAR(ParabolaDepthM(r.x, 1.8, 0.35), r.y, 1e-6) << r.x;
    const GraphContent c = ParabolaGraph({1.8, 0.35}, "Bench", kWidth);
    EXPECT_NEAR(c.plot.yMaximum, 0.63, 1e-12);
    EXPECT_NEAR(YNear(c.plot, 0.45), 0.080357, 2e-4);  // the step is 0.00122 m
    EXPECT_EQ(c.lines[0], "Parabola Plot (f/D=0.35,D=1.80m)");
    EXPECT_EQ(c.lines[4], "Focal distance (along y axis) = 0.63 metres");
    // f/D 0.25: the focus in the rim's plane, the axis ends at f = D/4 = the rim depth.
    EXPECT_NEAR(ParabolaGraph({2.0, 0.25}, "", kWidth).plot.yMaximum, 0.5, 1e-12);
    EXPECT_NEAR(ParabolaDepthM(1.0, 2.0, 0.25), 0.5, 1e-12);
    // A deeper dish: the y axis ends at D/2.
    EXPECT_NEAR(ParabolaGraph({2.0, 0.2}, "", kWidth).plot.yMaximum, 1.0, 1e-12);
}

TEST(NoiseTemperature, FromTheNoiseFigure)
{
    // T = 290 (10^(F/10) - 1): 1 dB 75.088 K, 3 dB 288.626 K, 0 dB 0 K.
    EXPECT_NEAR(NoiseTemperatureK(1.0), 75.088369, 1e-5);
    EXPECT_NEAR(NoiseTemperatureK(3.0), 288.626071, 1e-5);
    const GraphContent c = NoiseTempGraph("Bench", kWidth);
    EXPECT_EQ(c.plot.points.front().y, 0.0f);
    // The last step is 736 x 3 / 737 = 2.99593 dB: 288.084 K, just under the 300 K top.
    EXPECT_NEAR(c.plot.points.back().x, 2.995929, 1e-5);
    EXPECT_NEAR(c.plot.points.back().y, 288.08399, 1e-3);
    EXPECT_EQ(c.plot.yMaximum, 300.0);
    EXPECT_EQ(c.lines, (std::vector<std::string>{"Noise Temperature v Noise Figure (290K)", "Bench~"}));
}

TEST(PolarMount, DeclinationOffsetAndPolarAxisCorrection)
{
    // K = 6.6107941 earth radii: offset = 90 - atan(sqrt(K^2 - cos^2 phi) / sin phi).
    struct Row { double lat, offset; };
    const Row rows[] = {{0.0, 0.0}, {45.0, 6.140244}, {89.99, 8.601791}};
    for (const Row& r : rows) EXPECT_NEAR(DeclinationOffsetDeg(r.lat), r.offset, 1e-5) << r.lat;
    const GraphContent offset = DeclinationOffsetGraph("", kWidth);
    EXPECT_NEAR(YNear(offset.plot, 45.0), 6.14, 0.01);  // the step is 0.122 degrees
    EXPECT_EQ(offset.plot.yMaximum, 9.0);
    // The correction is near 0 at both ends and peaks at 0.6906 degrees at 43.6 degrees.
    EXPECT_NEAR(PolarAxisCorrectionDeg(43.6), 0.690571, 1e-5);
    EXPECT_LT(PolarAxisCorrectionDeg(0.0), 1e-5);
    EXPECT_LT(PolarAxisCorrectionDeg(89.9), 0.01);
    const GraphContent correction = PolarAxisCorrectionGraph("", kWidth);
    double peak = 0.0;
    for (const PlotPoint& p : correction.plot.points) peak = std::max(peak, double(p.y));
    EXPECT_NEAR(peak, 0.6906, 1e-4);
    EXPECT_EQ(correction.plot.yMaximum, 0.7);
    EXPECT_EQ(correction.lines[0], "Modified Polar Axis Correction");
}

TEST(EbNoBer, UncodedCoherentBpsk)
{
    // Q(sqrt(2 Eb/No)) = BER: 9.588 dB for 1e-5, 10.530 dB for 1e-6, 12.550 dB for 1e-9.
    const EbNoInputs bpsk{"2", 2.0, 0};
    struct Row { double log10Ber, ebNo; };
    const Row rows[] = {{-5.0, 9.587858}, {-6.0, 10.529832}, {-9.0, 12.549550}};
    for (const Row& r : rows) EXPECT_NEAR(EbNoForBerDb(bpsk, r.log10Ber), r.ebNo, kBisectTol) << r.log10Ber;
    const GraphContent c = EbNoBerGraph(bpsk, "Bench", kWidth);
    // The y axis ends where 1e-9 is reached, so the curve starts in the top left corner.
    EXPECT_NEAR(c.plot.yMaximum, 12.549550, kBisectTol);
    EXPECT_EQ(c.plot.points.front().x, -9.0f);
    EXPECT_EQ(c.plot.points.front().y, static_cast<float>(c.plot.yMaximum));
    EXPECT_EQ(c.lines[0], "Graph: Eb/No v BER uncoded (coherent BPSK)");
    // QPSK per bit is BPSK.
    EXPECT_NEAR(EbNoForBerDb({"4", 4.0, 1}, -5.0), 9.587858, kBisectTol);
}

TEST(EbNoBer, KindFromTheRadiosAndTitles)
{
    struct Row { const char* name; std::uint16_t one, psk, qam; int kind; const char* title; };
    const Row rows[] = {
        {"one bit", 1, 0, 0, 0, "Graph: Eb/No v BER uncoded (coherent BPSK)"},
        {"PSK", 0, 1, 0, 1, "Graph: Eb/No v BER uncoded (coherent 8-PSK)"},
        {"QAM", 0, 0, 1, 2, "Graph: Eb/No v BER uncoded (coherent 8-QAM)"},
        {"several set: the last wins", 1, 1, 1, 2, "Graph: Eb/No v BER uncoded (coherent 8-QAM)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EbNoRecord rec{};
        PutText(rec.levels, "8");
        rec.oneBit.Set(r.one), rec.psk.Set(r.psk), rec.qam.Set(r.qam);
        const EbNoInputs in = ReadEbNo(rec);
        EXPECT_EQ(in.kind, r.kind);
        EXPECT_EQ(EbNoBerGraph(in, "", kWidth).lines[0], r.title);
    }
}

TEST(Shannon, CapacityBoundary)
{
    // Eb/No = 10 log10((2^r - 1) / r), r = 2^x: x = -4 gives -1.497 dB
    // (above the -1.592 dB limit 10 log10 ln 2), x = 0 gives 0, x = 3 gives 15.035 dB.
    struct Row { double x, ebNo; };
    const Row rows[] = {{-4.0, -1.497334}, {0.0, 0.0}, {3.0, 15.034502}};
    for (const Row& r : rows) EXPECT_NEAR(ShannonEbNoDb(r.x), r.ebNo, 1e-6) << r.x;
    const GraphContent c = ShannonGraph("Bench", kWidth);
    EXPECT_NEAR(c.plot.points.front().y, -1.497334, 1e-5);
    EXPECT_GT(c.plot.points.front().y, -1.5918);
    EXPECT_NEAR(c.plot.points.back().y, ShannonEbNoDb(3.0 - 7.0 / kWidth), 1e-4);
    EXPECT_EQ(c.lines.size(), 9u);
    EXPECT_EQ(c.lines[6], "(4) Infinite bandwidth is required for Eb/No <= -1.6dB");
}

// Rain graphs over maps that hold one rain rate everywhere.
class RainGraph : public ::testing::Test {
protected:
    void TearDown() override { FreeItuMaps(); }
    static RainGraphInputs Site(double lat, double lon, double height, double availability, double limit, const char* pol)
    {
        RainGraphInputs in;
        in.latitude = lat, in.longitude = lon, in.heightKm = height, in.availabilityPct = availability;
        in.frequencyLimitGHz = limit;
        PutText(in.texts.polarization, pol);
        return in;
    }
};

TEST_F(RainGraph, PublishedCasesOfTheRainModel)
{
    struct Row {
        const char* source;
        double lat, lon, height, availability, tau, elevation, frequency, rate, expected, tol;
        const char* pol;
    };
    const Row rows[] = {
        // ITU-R Study Group 3 London case, P.618-13 by hand: A0.01 = 6.7279573 dB at 14.25 GHz.
        {"London", 51.5, -0.14, 0.0691, 99.99, 0.0, 31.07699124, 14.25, 26.48052, 6.7279573, 1e-4, "H"},
        // Kuala Lumpur by hand (chi and beta terms): A0.1 = 65.651071 dB at 30 GHz, circular.
        {"Kuala Lumpur", 3.133, 101.7, 0.05, 99.9, std::numbers::pi / 4, 20.0, 30.0, 99.15, 65.651071, 2e-3, "C"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.source);
        proptest::UniformAtmosphere atmosphere;
        atmosphere.r001 = static_cast<float>(r.rate);
        atmosphere.Install();
        // A frequency limit that puts step 368 on the case's frequency.
        const double limit = r.frequency * kWidth / 368.0;
        const GraphContent c = RainAttenGraphAt(Site(r.lat, r.lon, r.height, r.availability, limit, r.pol), r.tau,
                                                r.elevation, "Bench", kWidth);
        ASSERT_EQ(c.plot.points.size(), std::size_t(kWidth));
        EXPECT_NEAR(c.plot.points[368].x, r.frequency, 1e-5);
        EXPECT_NEAR(c.plot.points[368].y, r.expected, r.tol);
        // No rain loss at (nearly) 0 Hz; the axis ends at the largest value.
        EXPECT_LT(c.plot.points[0].y, 1e-6);
        EXPECT_FLOAT_EQ(static_cast<float>(c.plot.yMaximum), c.plot.points.back().y);
        EXPECT_FALSE(c.setsDocTitle);
    }
}

TEST_F(RainGraph, NoRainGivesAHundredthOfADecibelAxisAndTheNotesFollowTheFields)
{
    proptest::UniformAtmosphere atmosphere;
    atmosphere.r001 = 0.0f;
    atmosphere.Install();
    AttenRecord rec{};
    PutText(rec.location, "Lisbon");
    PutText(rec.satellite, "Testsat");
    PutText(rec.siteLatitude, "38.72N");
    PutText(rec.siteLongitude, "9.14W");
    PutText(rec.siteAltitude, "0.1");
    PutText(rec.satelliteLongitude, "10.0W");
    PutText(rec.polarization, "V");
    PutText(rec.availability, "99.99");
    PutText(rec.frequencyLimit, "30");
    proptest::RecordedNotices notices;
    const GraphContent c = RainAttenGraph(ReadRain(rec), 0.0, "Bench", kWidth);
    EXPECT_TRUE(c.plot.curveShown);
    EXPECT_EQ(c.plot.yMaximum, 0.01);
    EXPECT_TRUE(notices.notices.empty());
    const std::vector<std::string> expectedStart = {"Rain Attenuation v Frequency (ITU-R Model)", "Bench~",
                                                    "Location = Lisbon", "Satellite = Testsat",
                                                    "Site latitude = 38.72N", "Site longitude = 9.14W",
                                                    "Site altitude = 0.100 km", "Satellite longitude = 10.0W"};
    ASSERT_GE(c.lines.size(), expectedStart.size() + 4);
    for (std::size_t i = 0; i < expectedStart.size(); ++i) EXPECT_EQ(c.lines[i], expectedStart[i]);
    EXPECT_EQ(c.lines[9], "Availability (average year) =  99.990 %");
    EXPECT_EQ(c.lines[10], "Rain Model (mm/h) = ITU-R (0.000)");
    EXPECT_EQ(c.lines[11], "Polarization = Vertical");
}

TEST_F(RainGraph, ALowSatelliteLeavesTheGraphBlank)
{
    // From 60N, a satellite 80 degrees of longitude away is below 3 degrees.
    RainGraphInputs in = Site(60.0, 0.0, 0.0, 99.9, 30.0, "H");
    in.satelliteLongitude = 80.0;
    proptest::RecordedNotices notices;
    const GraphContent c = RainAttenGraph(in, 0.0, "", kWidth);
    EXPECT_FALSE(c.plot.curveShown);
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_NE(notices.notices[0].text.find("Elevation < 3"), std::string::npos);
}

TEST(Absorption, ElevationWithoutRefraction)
{
    // el = atan((cos phi cos d - 1/K) / sqrt(1 - cos^2 phi cos^2 d)), K = 6.6107941.
    struct Row { double lat, lon, satLon, el; };
    const Row rows[] = {
        {0.0, 10.0, 10.0, 90.0},          // on the equator under the satellite
        {51.5, 0.0, 0.0, 31.054215},
        {45.0, 0.0, 30.0, 30.253149},
        {0.0, 0.0, -60.0, 21.933724},
    };
    for (const Row& r : rows) EXPECT_NEAR(AbsorptionElevationDeg(r.lat, r.lon, r.satLon), r.el, 1e-5) << r.lat;
}

TEST(Absorption, WaterAndOxygenLinesOverAUniformAtmosphere)
{
    proptest::UniformAtmosphere{}.Install();
    AbsorbGraphInputs in;
    in.latitude = 46.5, in.longitude = 7.75, in.satelliteLongitude = 7.75;
    in.availabilityPct = 95.0, in.frequencyLimitGHz = 70.0, in.absorptionLimitDb = 20.0;
    const GraphContent c = AbsorptionGraph(in, "Bench", kWidth);
    FreeItuMaps();
    ASSERT_TRUE(c.plot.curveShown);
    EXPECT_EQ(c.plot.xMinimum, 1.0);
    EXPECT_EQ(c.plot.yMaximum, 20.0);
    // The water vapour line (22.235 GHz, widened and moved up a little by the
    // slant-path scaling) makes a local maximum inside 18 .. 26 GHz, and the
    // oxygen complex near 60 GHz is the strongest loss of the range.
    double waterPeakAt = 0.0, waterPeak = 0.0, oxygenPeakAt = 0.0, oxygenPeak = 0.0;
    for (const PlotPoint& p : c.plot.points) {
        if (p.x > 18.0 && p.x < 26.0 && p.y > waterPeak) waterPeak = p.y, waterPeakAt = p.x;
        if (p.y > oxygenPeak) oxygenPeak = p.y, oxygenPeakAt = p.x;
    }
    EXPECT_NEAR(waterPeakAt, 22.9, 1.0);
    EXPECT_NEAR(oxygenPeakAt, 60.0, 3.0);
    EXPECT_GT(oxygenPeak, 10.0 * waterPeak);
    EXPECT_EQ(c.lines[0], "Atmospheric Absorption v Frequency");
    EXPECT_EQ(c.lines.back(), "Availability = 95.0000 % (probability, p=5% for p<5%)");
}

TEST(FormRecords, NumbersAreReadAsTheCLibraryReadsThem)
{
    struct Row { const char* text; double value; };
    const Row rows[] = {{"12.5", 12.5}, {" +3e2", 300.0}, {"0.0007GHz", 0.0007}, {"", 0.0}, {"abc", 0.0}, {"-0.5", -0.5}};
    for (const Row& r : rows) EXPECT_EQ(FieldNumber(r.text), r.value) << r.text;
    EXPECT_TRUE(IsAuto("AUTO"));
    EXPECT_TRUE(IsAuto("Auto"));
    EXPECT_FALSE(IsAuto("auto2"));
    AntSysRecord rec{};
    PutText(rec.frequency, "12");
    PutText(rec.maximumAperture, "aUtO");
    EXPECT_TRUE(ReadAntSys(rec).autoAperture);
    TemplateRecord t{};
    PutText(t.diameter, "1.2");
    t.bo1213.Set(1);
    const TemplateInputs in = ReadTemplate(t);
    EXPECT_EQ(in.diameterM, 1.2);
    EXPECT_TRUE(in.bo1213);
    EXPECT_FALSE(in.coPolar);
}

}  // namespace
