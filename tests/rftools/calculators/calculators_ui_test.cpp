// The calculators of the Calculate menu run from their commands: record
// layouts at the byte level, typed values against independent results, the
// messages of refused inputs, and the whole life of three dialogs (OK twice,
// Clear, Cancel, the stored record at the next opening).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/forms/calculator.h"
#include "rftools/calculators/antenna_forms.h"
#include "rftools/calculators/calculator_registration.h"
#include "rftools/calculators/converter_forms.h"
#include "rftools/calculators/ionosphere_form.h"
#include "rftools/calculators/link_forms.h"
#include "tests/rftools/calculators/calculator_driver.h"

namespace {

using platform::ControlSpec;

// ---- record layouts ---------------------------------------------------------------

// The record sizes are the published ones of each calculator's description;
// both the dialog's control table and the program's table of calculators
// (which sizes the stored record) must give them.
struct LayoutCase {
    int command;
    std::vector<ControlSpec> table;
    long bytes;
    std::vector<std::pair<int, long>> offsets;   // control id, byte offset
};

TEST(CalculatorRecords, FieldsSitWhereTheStoredRecordsHoldThem)
{
    const LayoutCase cases[] = {
        {6511, TDegMinForm::ControlTable(), 51, {{2203, 0}, {2202, 4}, {2201, 7}, {2211, 10}}},
        {6526, TMinDegForm::ControlTable(), 54, {{2231, 0}, {2232, 13}}},
        {6517, TCalcFreqForm::ControlTable(), 54, {{2701, 0}, {2711, 13}}},
        {6516, TCalcWavelengthForm::ControlTable(), 54, {{2610, 0}, {2611, 13}}},
        {6514, TNoiseFigForm::ControlTable(), 54, {{2410, 0}, {2411, 13}}},
        {6513, TNoiseTempForm::ControlTable(), 54, {{2310, 0}, {2311, 13}}},
        {6520, TFocalMForm::ControlTable(), 67, {{14027, 0}, {8011, 13}, {8012, 26}}},
        {6521, TFocalfDForm::ControlTable(), 67, {{14027, 0}, {8001, 13}, {8002, 26}}},
        {6515, TCalcBeamwidthForm::ControlTable(), 80, {{2510, 0}, {208, 13}, {14027, 26}, {2511, 39}}},
        {6522, TOffAxisForm::ControlTable(), 142,
         {{14027, 0}, {14028, 13}, {208, 26}, {2654, 39}, {2651, 52}, {2655, 93}, {2657, 134}, {2656, 136},
          {2658, 138}, {2659, 140}}},
        {6528, TWndForm::ControlTable(), 108,
         {{8038, 0}, {8035, 13}, {8036, 26}, {8037, 39}, {8033, 52}, {8034, 65}, {8049, 78}, {8039, 91},
          {8032, 104}, {8031, 106}}},
        {6535, TCalcGTForm::ControlTable(), 273,
         {{8801, 0}, {14036, 13}, {14031, 26}, {216, 39}, {212, 52}, {8807, 65}, {8808, 78}, {8809, 91},
          {8812, 130}, {8817, 195}, {8818, 208}, {8819, 221}, {8820, 234}, {8821, 247}, {8822, 260}}},
        {1313, TIonForm::ControlTable(), 81,
         {{208, 0}, {4516, 13}, {1310, 26}, {1311, 39}, {1312, 52}, {1308, 65}, {1309, 67}, {1301, 69},
          {1302, 71}, {1303, 73}, {1304, 75}, {1306, 77}, {1307, 79}}},
        {1314, TDegrToCimForm::ControlTable(), 67, {{2713, 0}, {2716, 13}, {2715, 26}}},
        {1315, TCimToDegrForm::ControlTable(), 67, {{2713, 0}, {2714, 13}, {2717, 26}}},
        {6534, TPowSumForm::ControlTable(), 84,
         {{2951, 0}, {2952, 13}, {2953, 26}, {2954, 39}, {2955, 52}, {2959, 65}, {2956, 78}, {2957, 80},
          {2958, 82}}},
        {6523, TPowerForm::ControlTable(), 149, {{2672, 0}, {2673, 13}, {2674, 26}, {2675, 67}, {2676, 108}}},
        {1316, TSdivForm::ControlTable(), 78, {{2801, 0}, {2802, 13}, {208, 26}, {5603, 39}, {2803, 52}, {2804, 65}}},
        {6519, TSigAvailForm::ControlTable(), 136, {{2910, 0}, {2911, 13}, {2912, 54}, {2913, 95}}},
        {6512, TAntNoiseForm::ControlTable(), 78, {{202, 0}, {203, 13}, {206, 26}, {14028, 39}, {208, 52}, {24011, 65}}},
    };
    for (const LayoutCase& c : cases) {
        const orbiscope::CalculatorInfo* info = orbiscope::FindCalculatorInfo(c.command);
        ASSERT_NE(info, nullptr) << c.command;
        EXPECT_EQ(platform::TransferSize(c.table), std::size_t(c.bytes)) << info->form;
        EXPECT_EQ(info->bufferBytes, c.bytes) << info->form;
        for (const auto& [id, offset] : c.offsets)
            EXPECT_EQ(platform::TransferOffset(c.table, id), offset) << info->form << " control " << id;
    }
}

// ---- running the calculators ------------------------------------------------------

class CalculatorsTest : public calctest::CalculatorFixture {
protected:
    CalculatorsTest() : CalculatorFixture(orbiscope::RegisterCalculatorForms)
    {
        platform::HelpViewer::SetSink([this](const platform::HelpRequest& r) {
            help.push_back(r.contextId);
            return true;
        });
    }
    std::vector<int> help;
};

TEST_F(CalculatorsTest, EveryCalculatorOfTheMenuOpensAndHelpsAtItsDialog)
{
    const std::pair<int, const char*> cases[] = {
        {6531, "Digital Bandwidth Calculator"}, {6523, "Flange Power Density"}, {6534, "Power Ratio Addition"},
        {1314, "Convert Degradation to C/IM"}, {1315, "Convert C/IM to Degradation"},
        {6511, "Convert D:M:S to Degrees"}, {6526, "Convert Degrees to D:M:S"}, {6514, "Convert to Noise Figure"},
        {6513, "Convert to Noise Temperature"}, {6515, "Calculate Nominal Beamwidth"},
        {6516, "Convert to Wavelength"}, {6517, "Convert to Frequency"},
        {1316, "Site Diversity Gain (<20km separation)"}, {6519, "Convert Availability"},
        {6521, "Focal Distance Form"}, {6520, "Focal Distance (f/D not known)"},
        {6528, "Edit Wind Loading Parameters"}, {6522, "Antenna Gain Calculator"},
        {6512, "Estimate Antenna Noise"}, {6535, "G/T Calculator"}, {1313, "Ionospheric Scintillation Loss"},
    };
    for (const auto& [command, caption] : cases) {
        std::string shown;
        help.clear();
        Run(command, {platform::IDHELP}, [&](platform::Dialog& d, int step) {
            if (step == 0) shown = d.windowTitle().toStdString();
        });
        EXPECT_EQ(shown, caption) << command;
        EXPECT_EQ(help, std::vector<int>{orbiscope::FindCalculatorInfo(command)->dialog}) << command;
    }
}

// One OK with typed values: the texts of the result fields, or the one
// message that refuses the inputs (the result fields then keep "-").
struct ComputeCase {
    const char* name;
    int command;
    std::vector<std::pair<int, const char*>> typed;   // id, text
    std::vector<int> on;                              // radio buttons and check boxes set
    std::vector<std::pair<int, const char*>> shown;   // result id, text
    const char* caption = nullptr;                    // the expected message, if any
};

// Antenna 50 dBi at 30 K, no waveguide, LNA at 50 K; insertion 1 as given,
// the other five 0 dB "auto".
std::vector<std::pair<int, const char*>> GtChain(const char* lnaGain, const char* insertion1,
                                                 const char* autoText, const char* receiver)
{
    std::vector<std::pair<int, const char*>> typed = {
        {8801, "50"}, {14036, "30"}, {14031, "0"}, {216, lnaGain}, {212, "+50"}, {8807, insertion1},
        {8808, autoText}, {8819, receiver}};
    for (int id = 8809; id <= 8817; id += 2) typed.insert(typed.end(), {{id, "0"}, {id + 1, "auto"}});
    return typed;
}

const std::vector<ComputeCase>& ComputeCases()
{
    static const std::vector<ComputeCase> cases = {
        // D:M:S and the ionosphere's results: the life tests below.
        {"dms-60-minutes", 6511, {{2203, "0"}, {2202, "60"}, {2201, "0"}}, {}, {{2211, "-"}}, "Range Error"},
        {"to-dms", 6526, {{2231, "1.5"}}, {}, {{2232, "1 :30 :00"}}},
        // c / 0.3 m = 0.999308 GHz; c / 1 GHz = 0.299792 m.
        {"frequency", 6517, {{2701, "0.3"}}, {}, {{2711, "0.999308"}}},
        {"wavelength", 6516, {{2610, "1"}}, {}, {{2611, "0.299792"}}},
        {"noise-figure", 6514, {{2410, "0"}}, {}, {{2411, "0.00"}}},
        {"noise-temperature", 6513, {{2310, "3"}}, {}, {{2311, "288.63"}}},
        // Focus of the parabola through the rim: 0.9^2 / (4 x 0.3).
        {"focal-depth", 6520, {{14027, "1.8"}, {8011, "0.3"}}, {}, {{8012, "0.675"}}},
        {"focal-ratio", 6521, {{14027, "2"}, {8001, "0.35"}}, {}, {{8002, "0.700"}}},
        // 1.19 x the Airy -3 dB width 2 asin(1.6137 lambda / (pi D)) = 1.19 x 1.4706.
        {"beamwidth", 6515, {{2510, "-3"}, {208, "12"}, {14027, "1"}}, {}, {{2511, "1.75"}}},
        {"beamwidth-too-small", 6515, {{2510, "-6"}, {208, "2"}, {14027, "0.1"}}, {}, {{2511, "-"}},
         TCalcBeamwidthForm::kErrorCaption},
        // eta (pi D / lambda)^2: 15812 = 41.99 dBi; on axis the template gives it back.
        {"gain-on-axis", 6522, {{14027, "1"}, {14028, "100"}, {208, "12"}, {2654, "0"}}, {2657, 2659},
         {{2651, "41.99"}, {2655, "41.99"}}},
        // 29 - 25 log10(5) = 11.53 dBi on the S.580 envelope, co-polar whatever was asked.
        {"gain-cross-polar-ap8", 6522, {{14027, "1.2"}, {14028, "65"}, {208, "12"}, {2654, "5"}}, {2656, 2659},
         {{2651, "41.70"}, {2655, "11.53"}}, "Cross-polar Option Invalid"},
        {"wind-solid", 6528, {{8038, "100"}, {8035, "1"}, {8036, "1"}, {8037, "0"}, {8033, "1"}, {8034, "1"}},
         {8032}, {{8049, "52.30"}, {8039, "52.30"}}},
        {"wind-mesh", 6528, {{8038, "100"}, {8035, "1"}, {8036, "1"}, {8037, "0"}, {8033, "1"}, {8034, "1"}},
         {8031}, {{8049, "31.38"}, {8039, "31.38"}}},
        {"ion-at-limit", 1313, {{208, "4"}, {4516, "98.3"}}, {1309, 1306}, {{1310, "1.6"}, {1312, "1.2"}}},
        // Friis: 50 + 30 + 0 + 2610 / 1e6 K; G/T = 50 - 10 log10(80.0026).
        {"gt", 6535, GtChain("60", "0", "AUTO", "10"), {}, {{8820, "80.003"}, {8821, "1.058"}, {8822, "30.969"}}},
        // An amplifier given "auto" noise: 290 (1 - 10) / 10 = -261 K sinks the chain below 0 K.
        {"gt-below-zero", 6535, GtChain("0", "10", "auto", "0"), {}, {{8820, "-"}}, TCalcGTForm::kErrorCaption},
        {"degradation-to-cim", 1314, {{2713, "10"}, {2716, "1"}}, {}, {{2715, "16.87"}}},
        {"cim-to-degradation", 1315, {{2713, "10"}, {2714, "16.87"}}, {}, {{2717, "1.00"}}},
        {"cim-at-esno", 1315, {{2713, "10"}, {2714, "10"}}, {}, {{2717, "-"}}, TCimToDegrForm::kErrorCaption},
        // 20 - 10 log10(3); value 4 is off, its text never read until its box is on.
        {"power-sum-3", 6534, {{2951, "20"}, {2952, "20"}, {2953, "20"}, {2954, "x"}}, {2956},
         {{2959, "15.23"}}},
        {"power-sum-bad-4", 6534, {{2951, "20"}, {2952, "20"}, {2954, "x"}}, {2957}, {{2959, "-"}},
         "Invalid Character Error"},
        {"flange", 6523, {{2672, "100"}, {2673, "36"}}, {},
         {{2674, "0.00000278"}, {2675, "-55.56"}, {2676, "-19.54"}}},
        // ITU-R P.618 diversity gain, worked by hand: a = 10.1326, b = 0.45835,
        // Gd = 10.0292, x e^-0.5 x 1.18 x 1.09 = 7.82 dB.
        {"site-diversity", 1316, {{2801, "10"}, {2802, "15"}, {208, "20"}, {5603, "30"}, {2803, "45"}}, {},
         {{2804, "7.82"}}},
        {"availability", 6519, {{2910, "99.9"}}, {}, {{2911, "99.9788"}, {2912, "99.9802"}, {2913, "99.9856"}}},
        {"availability-90", 6519, {{2910, "90"}}, {}, {{2911, "Invalid"}, {2912, "Invalid"}, {2913, "97.4953"}}},
        {"antenna-noise-no-suffix", 6512, {{202, "51.5"}, {203, "0.1W"}, {206, "28.2E"}, {14028, "65"},
          {208, "12"}}, {}, {{24011, "-"}}, "Suffix Missing Error (N,S,E or W)"},
        {"antenna-noise-beyond-horizon", 6512, {{202, "51.5N"}, {203, "0.1W"}, {206, "100.1W"}, {14028, "65"},
          {208, "12"}}, {}, {{24011, "-"}}, "Elevation Error"},
    };
    return cases;
}

TEST_F(CalculatorsTest, TypedValuesGiveTheirResults)
{
    for (const ComputeCase& c : ComputeCases()) {
        f.messages.calls.clear();
        std::vector<std::string> shown;
        // Clear first: what the previous case left in the stored record goes.
        Run(c.command, {TCalculatorForm::kClear, platform::IDOK}, [&](platform::Dialog& d, int step) {
            if (step == 1) {
                for (const auto& [id, text] : c.shown) d.SetControlText(id, "-");
                for (const auto& [id, text] : c.typed) d.SetControlText(id, text);
                for (int id : c.on) d.SetCheck(id, 1);
            } else if (step == 2) {
                for (const auto& [id, text] : c.shown) shown.push_back(d.GetControlText(id));
            }
        });
        std::vector<std::string> expected;
        for (const auto& [id, text] : c.shown) expected.emplace_back(text);
        EXPECT_EQ(shown, expected) << c.name;
        if (c.caption) {
            ASSERT_EQ(f.messages.calls.size(), 1u) << c.name;
            EXPECT_EQ(f.messages.calls[0].caption, c.caption) << c.name;
        } else {
            EXPECT_TRUE(f.messages.calls.empty()) << c.name << ": " << f.messages.calls[0].caption;
        }
    }
}

// ---- three dialogs through their whole life -----------------------------------------

TEST_F(CalculatorsTest, DegMinKeepsItsFieldsInTheStoredRecord)
{
    const int command = TDegMinForm::kCommand;
    std::vector<std::string> afterFirst, afterSecond, afterClear;
    Run(command, {platform::IDOK, platform::IDOK, TCalculatorForm::kClear, platform::IDOK},
        [&](platform::Dialog& d, int step) {
            if (step == 0) {
                d.SetControlText(2203, "45");
                d.SetControlText(2202, "0");
                d.SetControlText(2201, "36");
            }
            const std::vector<std::string> now = {d.GetControlText(2203), d.GetControlText(2211)};
            if (step == 1) afterFirst = now;
            if (step == 2) afterSecond = now;
            if (step == 3) afterClear = {d.GetControlText(2203), d.GetControlText(2202), d.GetControlText(2201),
                                         d.GetControlText(2211)};
            if (step == 4) {
                // Clear then OK: the first field in order is the empty one.
                ASSERT_EQ(f.messages.calls.size(), 1u);
                EXPECT_EQ(f.messages.calls[0].caption, "Empty Field Error");
                EXPECT_EQ(f.messages.calls[0].text, "Degrees");
                d.SetControlText(2203, "12");
                d.SetControlText(2202, "15");
                d.SetControlText(2201, "0");
            }
        });
    EXPECT_EQ(afterFirst, (std::vector<std::string>{"45", "45.0100"}));
    EXPECT_EQ(afterSecond, afterFirst);   // OK twice: the same result, the dialog still open
    EXPECT_EQ(afterClear, (std::vector<std::string>{"", "", "", ""}));

    // Cancel stored what the fields held, unchecked and uncomputed, byte for byte.
    std::vector<std::uint8_t> expected(51, 0);
    std::memcpy(expected.data() + 0, "12", 2);
    std::memcpy(expected.data() + 4, "15", 2);
    std::memcpy(expected.data() + 7, "0", 1);
    const auto stored = Stored(command);
    EXPECT_EQ(std::vector<std::uint8_t>(stored.begin(), stored.end()), expected);

    std::vector<std::string> reopened;
    Run(command, {}, [&](platform::Dialog& d, int) {
        reopened = {d.GetControlText(2203), d.GetControlText(2202), d.GetControlText(2201), d.GetControlText(2211)};
    });
    EXPECT_EQ(reopened, (std::vector<std::string>{"12", "15", "0", ""}));
}

// The first opening's East and 153-165 are the stored record's seeds (the
// record tests), at the offsets of these buttons (the layout test above).
TEST_F(CalculatorsTest, IonosphereStartsOnItsDefaultsAndRefusesNoRange)
{
    const int command = TIonForm::kCommand;
    std::vector<std::string> results;
    int mapCommands = 0;
    orbiscope::RegisterWindowBuilder(TIonForm::kScintillationMapCommand,
                                     [&mapCommands](TMyWindow&, int bitmap) { mapCommands += bitmap == 99; });
    Run(command, {platform::IDOK, TIonForm::kRefMap, TCalculatorForm::kClear, platform::IDOK},
        [&](platform::Dialog& d, int step) {
            if (step == 0) {
                d.SetControlText(208, "1.5");
                d.SetControlText(4516, "99.9");
            }
            if (step == 1) results = {d.GetControlText(1310), d.GetControlText(1311), d.GetControlText(1312)};
            if (step == 3) {
                d.SetControlText(208, "1.5");
                d.SetControlText(4516, "99.9");
            }
        });
    EXPECT_EQ(results, (std::vector<std::string>{"41.8", "1.39", "29.6"}));
    EXPECT_EQ(mapCommands, 1);   // "Ref. Map" opened the scintillation map
    // After Clear no sunspot range is on: the calculator asks for one.
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].caption, TIonForm::kNoRangeCaption);
    EXPECT_EQ(f.messages.calls[0].text, TIonForm::kNoRangeText);
    // Cancel stored the cleared states: every button off.
    const auto stored = Stored(command);
    for (std::size_t off = 65; off < 81; ++off) EXPECT_EQ(stored[off], 0) << off;
}

TEST_F(CalculatorsTest, GainOverTemperatureResultsSurviveCancelAndReopen)
{
    const int command = TCalcGTForm::kCommand;
    const auto typed = GtChain("60", "-3", "auto", "10");
    std::vector<std::string> results;
    Run(command, {platform::IDOK}, [&](platform::Dialog& d, int step) {
        if (step == 0)
            for (const auto& [id, text] : typed) d.SetControlText(id, text);
        if (step == 1) results = {d.GetControlText(8820), d.GetControlText(8821), d.GetControlText(8822)};
    });
    // A 3 dB cable after the LNA: 290 (1 - 0.5012) / 0.5012 / 1e6 = 0.000289 K
    // more, and the receiver's 2610 K now over 0.5e6.
    EXPECT_EQ(results, (std::vector<std::string>{"80.005", "1.058", "30.969"}));
    const auto stored = Stored(command);
    EXPECT_EQ(transfer::GetText(stored, 65, 13), "-3");
    EXPECT_EQ(transfer::GetText(stored, 78, 13), "auto");
    EXPECT_EQ(transfer::GetText(stored, 234, 13), "80.005");
    EXPECT_EQ(transfer::GetText(stored, 260, 13), "30.969");

    std::vector<std::string> reopened;
    Run(command, {}, [&](platform::Dialog& d, int) {
        reopened = {d.GetControlText(212), d.GetControlText(8820), d.GetControlText(8822)};
    });
    EXPECT_EQ(reopened, (std::vector<std::string>{"+50", "80.005", "30.969"}));
}

}  // namespace
