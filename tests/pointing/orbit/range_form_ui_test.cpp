// The slant range and Doppler calculator run from Calculate: circular-orbit
// figures worked from Kepler and plane geometry, the range messages, and the
// seven fields kept from one opening to the next.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "pointing/orbit/range_form.h"
#include "tests/rftools/calculators/calculator_driver.h"

namespace {

using F = TRangeForm;

class RangeFormTest : public calctest::CalculatorFixture {
protected:
    RangeFormTest() : CalculatorFixture(orbit::RegisterRangeCalculator) {}

    void Run(std::vector<int> buttons, std::function<void(platform::Dialog&, int)> script)
    {
        CalculatorFixture::Run(F::kCommand, std::move(buttons), std::move(script));
    }
    std::vector<std::string> Results(platform::Dialog& d)
    {
        return {d.GetControlText(F::kSlantRange), d.GetControlText(F::kVelocity), d.GetControlText(F::kPeriod),
                d.GetControlText(F::kDoppler)};
    }
};

// Height h over a sphere of R = 6378.14 km, orbit radius a = R + h:
// speed sqrt(mu / a), period 2 pi sqrt(a^3 / mu) (mu = 3.986005e14 m^3/s^2),
// slant range sqrt(a^2 - R^2 cos^2 el) - R sin el; the Doppler term is
// v (R cos(el) / a) f / c, the speed along the line of sight of a pass
// overhead.
TEST_F(RangeFormTest, CircularOrbits)
{
    struct Case {
        const char* name;
        const char* height;
        const char* elevation;
        const char* frequency;
        std::vector<std::string> results;   // km, m/s, s, kHz; "-" where refused
        const char* message = nullptr;      // the range message
    };
    const std::vector<std::string> refused(4, "-");
    const Case cases[] = {
        // Overhead a geostationary satellite: the height itself, one sidereal day.
        {"geo-zenith", "35786", "90", "12", {"35786.00", "3074.66", "86163.99", "0.00"}},
        // At the horizon: sqrt(a^2 - R^2) = 41678.94 km; R / a = 0.151269, so
        // 3074.66 x 0.151269 = 465.10 m/s along the line of sight, x 12e9 / c = 18.62 kHz.
        {"geo-horizon", "35786", "0", "12", {"41678.94", "3074.66", "86163.99", "18.62"}},
        // R cos(10) / a = 0.877496: 7462.23 x 0.877496 x 1.6e9 / c = 34.95 kHz.
        {"leo-780km", "780", "10", "1.6", {"2325.37", "7462.23", "6027.14", "34.95"}},
        {"too-low", "0.05", "45", "12", refused, "Orbital height (km)\r\nRange 0.100000 to 2000000.000000 km"},
        {"too-high-frequency", "35786", "45", "60", refused,
         "Carrier frequency GHz \r\nRange 0.000700 to 55.000000 GHz"},
    };
    for (const Case& c : cases) {
        f.messages.calls.clear();
        std::vector<std::string> shown;
        Run({TCalculatorForm::kClear, platform::IDOK}, [&](platform::Dialog& d, int step) {
            if (step == 1) {
                for (int id : {F::kSlantRange, F::kVelocity, F::kPeriod, F::kDoppler}) d.SetControlText(id, "-");
                d.SetControlText(F::kHeight, c.height);
                d.SetControlText(F::kElevation, c.elevation);
                d.SetControlText(F::kFrequency, c.frequency);
            } else if (step == 2) {
                shown = Results(d);
            }
        });
        EXPECT_EQ(shown, c.results) << c.name;
        ASSERT_EQ(f.messages.calls.size(), c.message ? 1u : 0u) << c.name;
        if (c.message) {
            EXPECT_EQ(f.messages.calls[0].text, c.message) << c.name;
        }
    }
}

// The stored record is seven texts of 13 bytes in the order of the fields.
TEST_F(RangeFormTest, CancelKeepsAllSevenFieldsForTheNextOpening)
{
    Run({platform::IDOK, platform::IDOK}, [&](platform::Dialog& d, int step) {
        if (step == 0) {
            d.SetControlText(F::kHeight, "35786");
            d.SetControlText(F::kElevation, "90");
            d.SetControlText(F::kFrequency, "12");
        }
    });
    std::vector<std::uint8_t> expected(91, 0);
    const char* texts[] = {"35786", "90", "12", "35786.00", "3074.66", "86163.99", "0.00"};
    for (int i = 0; i < 7; ++i) std::memcpy(expected.data() + 13 * i, texts[i], std::strlen(texts[i]));
    const auto stored = f.app->FormRecord(47);
    EXPECT_EQ(std::vector<std::uint8_t>(stored.begin(), stored.end()), expected);

    std::vector<std::string> reopened;
    Run({}, [&](platform::Dialog& d, int) {
        reopened = {d.GetControlText(F::kHeight), d.GetControlText(F::kElevation), d.GetControlText(F::kFrequency)};
        for (const std::string& r : Results(d)) reopened.push_back(r);
    });
    EXPECT_EQ(reopened, (std::vector<std::string>(std::begin(texts), std::end(texts))));

    // Clear empties all seven; OK then names the first empty field.
    f.messages.calls.clear();
    std::vector<std::string> cleared;
    Run({TCalculatorForm::kClear, platform::IDOK}, [&](platform::Dialog& d, int step) {
        if (step == 1) cleared = Results(d);
    });
    EXPECT_EQ(cleared, (std::vector<std::string>(4, "")));
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].caption, "Empty Field Error");
}

}  // namespace
