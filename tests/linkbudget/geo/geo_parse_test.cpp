// Turning the record's texts into numbers and flags.
#include "tests/linkbudget/engine/budget_fixtures.h"
#include "linkbudget/engine/input_text.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

class Parse : public ::testing::Test {
protected:
    FixedAtmosphere atmosphere;
    RecordingHost host;
    GeoLinkBudget budget{atmosphere, host};
    GeoLinkInputRecord& r = budget.record;
    GeoLinkInputs& in = budget.in;
    void SetUp() override { FillHandBudget(r); }
};

TEST_F(Parse, KeywordsIgnoreCaseButMustFillTheWholeText)
{
    const struct { const char* text; bool flag; } rows[] = {
        {"auto", true}, {"Auto", true}, {"AUTO", true}, {"aUtO", true},
        {"auto-", false}, {"auto ", false}, {" auto", false}, {"", false}, {"12", false},
    };
    for (const auto& row : rows) {
        SetText(r.transponderObo, row.text);
        SetText(r.antennaNoise, row.text);
        SetText(r.dnAvailability, row.text);
        budget.ParseInputs();
        EXPECT_EQ(in.oboAuto, row.flag) << '"' << row.text << '"';
        EXPECT_EQ(in.antennaNoiseAuto, row.flag) << '"' << row.text << '"';
        EXPECT_EQ(in.splitAvailability, row.flag) << '"' << row.text << '"';
    }
}

TEST_F(Parse, HpaPowerKeywordsEachSetOnlyTheirOwnFlag)
{
    const struct { const char* text; bool min, mineq, max; double value; } rows[] = {
        {"min", true, false, false, 0.0},  {"MIN", true, false, false, 0.0},
        {"MinEq", false, true, false, 0.0}, {"mineq", false, true, false, 0.0},
        {"Max", false, false, true, 0.0},  {"250", false, false, false, 250.0},
        {"mini", false, false, false, 0.0},
    };
    for (const auto& row : rows) {
        SetText(r.hpaPower, row.text);
        budget.ParseInputs();
        EXPECT_EQ(in.hpaMin, row.min) << row.text;
        EXPECT_EQ(in.hpaMinEq, row.mineq) << row.text;
        EXPECT_EQ(in.hpaMax, row.max) << row.text;
        EXPECT_EQ(in.hpaPower, row.value) << row.text;
    }
}

TEST_F(Parse, AntennaEntryIsGainWhenSigned)
{
    // 40 dBi on a 2.4 m dish at 14 GHz: 100 x 10^4 x lambda^2 / (pi D)^2 = 8.066 %.
    const struct { const char* text; bool gain; double efficiency; } rows[] = {
        {"+40", true, 8.0663}, {"40", false, 40.0}, {"-3", true, 100.0 * 0.501187 * 0.0214137 * 0.0214137 / (3.14159265 * 2.4 * 3.14159265 * 2.4)},
    };
    for (const auto& row : rows) {
        SetText(r.upEfficiency, row.text);
        budget.ParseInputs();
        EXPECT_EQ(in.up.gainGiven, row.gain) << row.text;
        EXPECT_NEAR(in.up.efficiency, row.efficiency, 1e-3 * row.efficiency) << row.text;
        EXPECT_STREQ(r.upEfficiency, row.text);  // the record keeps the text as typed
    }
}

TEST_F(Parse, LnbEntryIsTemperatureWithPlus)
{
    SetText(r.lnbNoise, "+290");
    budget.ParseInputs();
    EXPECT_TRUE(in.lnbIsTemperature);
    EXPECT_EQ(in.lnb, 290.0);
    SetText(r.lnbNoise, "1.2");
    budget.ParseInputs();
    EXPECT_FALSE(in.lnbIsTemperature);
    EXPECT_EQ(in.lnb, 1.2);
}

TEST_F(Parse, NegativeUplinkLossIsDiversityGain)
{
    const struct { const char* up; const char* dn; double gain, upLoss, entered, dnLoss; } rows[] = {
        {"-2", "-2", 2.0, 0.0, -2.0, -2.0},
        {"1.5", "0", 0.0, 1.5, 1.5, 0.0},
        {"", "", 0.0, 0.0, 0.0, 0.0},
    };
    for (const auto& row : rows) {
        SetText(r.upOtherLosses, row.up);
        SetText(r.dnOtherLosses, row.dn);
        budget.ParseInputs();
        EXPECT_EQ(in.diversityGain, row.gain) << row.up;
        EXPECT_EQ(in.up.otherLosses, row.upLoss) << row.up;
        EXPECT_EQ(in.otherLossesEntered, row.entered) << row.up;
        EXPECT_EQ(in.dn.otherLosses, row.dnLoss) << row.dn;
    }
}

TEST_F(Parse, CoordinatesAndEmptyNumbers)
{
    SetText(r.satLongitude, "3.5w");
    SetText(r.upAsiLongitude[1], "12.0W");
    SetText(r.systemMargin, "");
    SetText(r.rate, "abc");
    budget.ParseInputs();
    EXPECT_EQ(in.satLongitude, 3.5);
    EXPECT_EQ(in.up.asiLongitude[1], -12.0);
    EXPECT_EQ(in.systemMargin, 0.0);
    EXPECT_EQ(in.rate, 0.0);
}

TEST_F(Parse, CraneModelsBecomeItuWithMapRates)
{
    r.upItuAuto.Set(0);
    r.upItuRate.Set(1);
    r.upCraneUsa.Set(1);
    r.dnItuAuto.Set(0);
    r.dnCraneTc.Set(1);
    budget.ParseInputs();
    EXPECT_TRUE(r.upCraneUsa.On());
    EXPECT_TRUE(r.upItuAuto.On());
    EXPECT_TRUE(r.dnItuAuto.On());
    EXPECT_EQ(in.up.rainSource, 0);
    EXPECT_EQ(in.dn.rainSource, 0);
}

TEST_F(Parse, RadioGroupsWithoutAStateKeepTheNewWindowChoice)
{
    const struct { int twta, ltwta, sspa, type; } amps[] = {
        {0, 0, 0, 1}, {1, 0, 0, 0}, {0, 0, 1, 2}, {1, 0, 1, 2},
    };
    for (const auto& a : amps) {
        r.twta.Set(a.twta);
        r.ltwta.Set(a.ltwta);
        r.sspa.Set(a.sspa);
        budget.ParseInputs();
        EXPECT_EQ(in.transponderType, a.type);
    }
    const struct { int one, psk, qam, mod; } mods[] = {
        {0, 0, 0, 1}, {1, 0, 0, 0}, {0, 0, 1, 2}, {1, 1, 0, 1},
    };
    for (const auto& m : mods) {
        r.oneBitPerSymbol.Set(m.one);
        r.mapsk.Set(m.psk);
        r.mqam.Set(m.qam);
        budget.ParseInputs();
        EXPECT_EQ(in.modulation, m.mod);
    }
}

TEST_F(Parse, SplitAvailabilityCopiesTheOverallTarget)
{
    SetText(r.upAvailability, "99.5");
    SetText(r.dnAvailability, "Auto");
    budget.ParseInputs();
    EXPECT_TRUE(in.splitAvailability);
    EXPECT_EQ(in.overallAvailability, 99.5);
}

TEST_F(Parse, FecRateExpression)
{
    const struct { const char* text; double value; } rows[] = {
        {"3/4", 0.75}, {"0.5", 0.5}, {"7/8", 0.875},
    };
    for (const auto& row : rows) {
        SetText(r.fecRate, row.text);
        budget.ParseInputs();
        EXPECT_NEAR(in.fecRate, row.value, 1e-12) << row.text;
    }
}

TEST(InputText, NumbersInTheCLocaleWhateverTheProcessLocale)
{
    const struct { const char* text; double value; } rows[] = {
        {"12.5", 12.5}, {"  -3", -3.0}, {"+7.25", 7.25}, {"1e3", 1000.0}, {"4.5dB", 4.5},
        {"", 0.0}, {"x", 0.0}, {"+-1", 0.0}, {"inf", 0.0}, {"nan", 0.0}, {"1e999", 0.0},
    };
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous != nullptr ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may be absent; the check holds either way
    for (const auto& row : rows) EXPECT_EQ(lbtext::Number(row.text), row.value) << row.text;
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST_F(Parse, UnterminatedTextsAreCutAtTheirLastByte)
{
    std::memset(r.rate, '9', sizeof r.rate);
    std::memset(r.overhead, '1', sizeof r.overhead);
    std::memset(r.satName, 'S', sizeof r.satName);
    budget.ParseInputs();
    EXPECT_EQ(in.rate, 999999999999.0);
    EXPECT_EQ(std::strlen(in.satName), 40u);
}

}  // namespace
