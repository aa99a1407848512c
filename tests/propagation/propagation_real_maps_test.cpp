// The propagation models on the real ITU-R maps: the Study Group 3 test
// sites, plausible figures, and a sweep over every value the dialogs accept.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "propagation/atmosphere.h"
#include "propagation/cloud.h"
#include "propagation/gas.h"
#include "propagation/noise.h"
#include "propagation/rain.h"
#include "propagation/scintillation.h"
#include "propagation/total_attenuation.h"
#include "propagation_fixtures.h"

namespace {

using RealAtmosphere = proptest::RealItuMaps;

// London, as in the hand derivations of the rain test: R0.01 of ITU-R
// P.837-7 there is 26.48052 mm/h.
TEST_F(RealAtmosphere, LondonTestSite)
{
    const auto rain = RainAttenuation(51.5, -0.14, 0.0, 0.0691, 31.07699124, 14.25, "H", 0, 0.0, 99.99);
    EXPECT_STREQ(rain.rainRateText, "26.481");
    EXPECT_STREQ(rain.modelName, "ITU-R");
    EXPECT_NEAR(rain.attenuation, 6.7279573, 1e-5);

    // Surface climate: mean 11 C, about 1015 hPa, 8 g/m3.
    EXPECT_NEAR(MeanTemperatureAt(51.5f, -0.14f, 0.0691f), 284.0, 2.0);
    EXPECT_NEAR(MeanPressureAt(51.5f, -0.14f, 0.0691f), 1008.0, 10.0);
    EXPECT_NEAR(MeanWaterVapourDensityAt(51.5f, -0.14f, 0.0691f), 8.4, 1.0);
    // Values for smaller percentages are the more extreme ones.
    EXPECT_GT(WaterVapourContentAt(51.5f, -0.14f, 0.0691f, 95.0f), WaterVapourContentAt(51.5f, -0.14f, 0.0691f, 50.0f));
    EXPECT_GT(CloudLiquidAt(51.5f, -0.14f, 95.0f), CloudLiquidAt(51.5f, -0.14f, 50.0f));

    // A Ku-band downlink there at 24 degrees, 99.9 %: a few dB of rain, a sky
    // below its clear-sky limit 0.81 Ts + 37.34 K, rain XPD above 15 dB.
    const double el = 24.0, f = 11.7, availability = 99.9;
    const double gas = GaseousAttenuation(51.5, -0.14, f, el, 0.0691, availability);
    const double wet = RainAttenuation(51.5, -0.14, std::numbers::pi / 4, 0.0691, el, f, "C", 0, 0, availability).attenuation;
    const double cloud = CloudAttenuation(51.5, -0.14, el, f, availability, 0.0691);
    const double scint = ScintillationFade(51.5, -0.14, 1.2, 65.0, el, f, availability, 0.0691);
    const double total = TotalAttenuation(gas, wet, cloud, scint, availability);
    EXPECT_GT(wet, 1.0);
    EXPECT_LT(wet, 6.0);
    EXPECT_GT(total, wet);
    const double ts = MeanTemperatureAt(51.5f, -0.14f, 0.0691f);
    EXPECT_GT(SkyNoiseTemp(total, ts), 50.0);
    EXPECT_LT(SkyNoiseTemp(total, ts), 0.81 * ts + 37.34);
    EXPECT_GT(RainXpd(f, 51.5, std::numbers::pi / 4, el, availability, wet, "C"), 15.0);
}

// Gaseous attenuation at 20 and 12 GHz, 30 degrees: a zenith figure of a few
// tenths of a dB at 20 GHz (near the 22 GHz vapour line) doubles on the slant
// path; at 12 GHz it is about a tenth of a dB at the zenith.
TEST_F(RealAtmosphere, GaseousFiguresOfTheRightOrder)
{
    const double at20 = GaseousAttenuation(51.5, -0.14, 20.0, 30.0, 0.0691, 99.0);
    const double at12 = GaseousAttenuation(51.5, -0.14, 12.0, 30.0, 0.0691, 99.0);
    EXPECT_GT(at20, 0.4);
    EXPECT_LT(at20, 1.5);
    EXPECT_GT(at12, 0.08);
    EXPECT_LT(at12, 0.4);
    // Humid tropics absorb more than the Sahara at the same geometry.
    EXPECT_GT(GaseousAttenuation(3.133, 101.7, 20.0, 30.0, 0.05, 99.0),
              2.0 * GaseousAttenuation(23.0, 30.0, 20.0, 30.0, 0.2, 99.0));
    // The 60 GHz oxygen complex is opaque.
    EXPECT_GT(GaseousAttenuation(51.5, -0.14, 60.0, 30.0, 0.0691, 99.0), 100.0);
}

// Every value the dialogs accept: latitude -90..90, longitude -180..180,
// altitude -0.5..25 km, frequency 0 (the graph axis start) to 100 GHz,
// availability 40..99.99999 % (and 100), elevation 0..90, aperture
// 0.002..50 m, efficiency 10..100 %.  No result may be NaN or infinite.
TEST_F(RealAtmosphere, SweepGivesOnlyFiniteNumbers)
{
    const double lats[] = {-90, -60, -30, -1e-9, 0, 3.1, 36, 51.5, 89.99, 90};
    const double lons[] = {-180, -120, -60, -0.14, 0, 60, 101.7, 179.99, 180};
    const double heights[] = {-0.5, 0, 2.5, 6.0, 6.5, 25};
    const double freqs[] = {0, 0.0007, 0.5, 1, 4, 6, 11.7, 20, 30, 55, 60, 100};
    const double availabilities[] = {40, 50, 80, 94.9, 95, 99, 99.99, 99.99999, 100};
    const double elevations[] = {0, 0.001, 3, 5, 24, 60, 90};
    long checked = 0;
    for (double lat : lats)
        for (double lon : lons) {
            const float la = static_cast<float>(lat), lo = static_cast<float>(lon);
            ASSERT_TRUE(std::isfinite(IsothermHeightAt(la, lo)));
            ASSERT_TRUE(std::isfinite(WetRefractivityAt(la, lo)));
            for (double h : heights)
                for (double a : availabilities) {
                    const float hf = static_cast<float>(h), af = static_cast<float>(a);
                    ASSERT_TRUE(std::isfinite(TemperatureAt(la, lo, hf, af)));
                    ASSERT_TRUE(std::isfinite(PressureAt(la, lo, hf, af)));
                    ASSERT_TRUE(std::isfinite(WaterVapourDensityAt(la, lo, hf, af)));
                    ASSERT_TRUE(std::isfinite(WaterVapourContentAt(la, lo, hf, af)));
                    ASSERT_TRUE(std::isfinite(CloudLiquidAt(la, lo, af)));
                    ASSERT_TRUE(std::isfinite(MeanPressureAt(la, lo, hf)));
                    for (double f : freqs)
                        for (double el : elevations) {
                            const double gas = GaseousAttenuation(lat, lon, f, el, h, a);
                            const auto rain = RainAttenuation(lat, lon, 0.3, h, el, f, "", 0, 0, a);
                            const double manual = RainAttenuation(lat, lon, 0.3, h, el, f, "", 1, 200, a).attenuation;
                            const double cloud = CloudAttenuation(lat, lon, el, f, a, h);
                            const double scint = ScintillationFade(lat, lon, 0.002, 10, el, f, a, h) +
                                                 ScintillationFade(lat, lon, 50, 100, el, f, a, h);
                            const double xpd = RainXpd(f, lat, 0.3, el, a, manual, "");
                            const double total = TotalAttenuation(gas, rain.attenuation, cloud, scint, a);
                            const double sys = SystemNoiseTemp(50, 0.3, 40, total, 290);
                            const double div = SiteDiversityGain(10, manual, f, el, 90);
                            ASSERT_TRUE(std::isfinite(gas) && std::isfinite(rain.attenuation) && std::isfinite(manual) &&
                                        std::isfinite(cloud) && std::isfinite(scint) && std::isfinite(xpd) &&
                                        std::isfinite(total) && std::isfinite(sys) && std::isfinite(div))
                                << lat << " " << lon << " h " << h << " f " << f << " el " << el << " a " << a << ": "
                                << gas << " " << rain.attenuation << " " << manual << " " << cloud << " " << scint << " "
                                << xpd;
                            ASSERT_GE(gas, 0.0);
                            ASSERT_GE(rain.attenuation, 0.0);
                            ASSERT_GE(cloud, 0.0);
                            ++checked;
                        }
                }
        }
    EXPECT_GT(checked, 400000);
}

}  // namespace
