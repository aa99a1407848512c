// The digital bandwidth calculator through its dialog: the record's bytes,
// the first opening, the three "i/p" inputs, the checks, and the modcods
// taken from the "Select Modcod" dialog.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "linkbudget/modcod_dialog.h"
#include "rftools/calculators/bandwidth_form.h"
#include "rftools/calculators/calculator_registration.h"
#include "tests/framework/app/gui_support.h"
#include "tests/rftools/calculators/calculator_driver.h"

namespace {

using F = TCalcBWForm;

TEST(BandwidthRecord, FieldsSitWhereTheStoredRecordHoldsThem)
{
    const auto table = F::ControlTable();
    EXPECT_EQ(platform::TransferSize(table), 275u);
    const std::pair<int, long> offsets[] = {
        {F::kInfoRate, 0},     {F::kOverhead, 13},   {F::kFec, 26},         {F::kSpreading, 39},
        {F::kRollOff, 52},     {F::kSpacing, 65},    {F::kStep, 78},        {F::kSymbolRate, 91},
        {F::kOccupied, 104},   {F::kAllocated, 117}, {F::kEbNo, 130},       {F::kEsNo, 143},
        {F::kEfficiency, 156}, {F::kOneBit, 169},    {F::kPsk, 171},        {F::kQam, 173},
        {F::kM, 175},          {F::kInfoRateInput, 188}, {F::kSymbolRateInput, 190}, {F::kOccupiedInput, 192},
        {F::kModcodText, 194},
    };
    for (const auto& [id, offset] : offsets) EXPECT_EQ(platform::TransferOffset(table, id), offset) << id;
}

class BandwidthTest : public ::testing::Test {
protected:
    BandwidthTest() { orbiscope::RegisterCalculatorForms(); }
    ~BandwidthTest() override { platform::ClearDialogDrivers(); }

    void Run(std::vector<int> buttons, std::function<void(platform::Dialog&, int)> script)
    {
        calctest::RunCalculator(*f.app, F::kCommand, std::move(buttons), std::move(script));
    }
    // A carrier typed in: info rate 1, no overhead, 1 + roll-off 1.2, spacing
    // 1.4, QPSK.
    static void TypeCarrier(platform::Dialog& d, const char* fec, const char* step)
    {
        d.SetControlText(F::kInfoRate, "1");
        d.SetControlText(F::kOverhead, "0");
        d.SetControlText(F::kFec, fec);
        d.SetControlText(F::kSpreading, "0");
        d.SetControlText(F::kRollOff, "1.2");
        d.SetControlText(F::kSpacing, "1.4");
        d.SetControlText(F::kStep, step);
        d.SetControlText(F::kM, "4");
    }
    static std::vector<std::string> Rates(platform::Dialog& d)
    {
        return {d.GetControlText(F::kInfoRate), d.GetControlText(F::kSymbolRate), d.GetControlText(F::kOccupied),
                d.GetControlText(F::kAllocated)};
    }

    testsupport::AppFixture f;
};

// Never stored, the record keeps what the menu command preset: spreading 0,
// M-PSK, the information rate as the input (the only writable rate).
TEST_F(BandwidthTest, FirstOpeningShowsThePresets)
{
    std::vector<int> states;
    std::vector<bool> readOnly;
    std::string spreading;
    Run({}, [&](platform::Dialog& d, int) {
        auto& form = static_cast<F&>(d);
        for (int id : {F::kOneBit, F::kPsk, F::kQam, F::kInfoRateInput, F::kSymbolRateInput, F::kOccupiedInput})
            states.push_back(d.GetCheck(id));
        for (int id : {F::kInfoRate, F::kSymbolRate, F::kOccupied}) readOnly.push_back(form.IsReadOnly(id));
        spreading = d.GetControlText(F::kSpreading);
    });
    EXPECT_EQ(states, (std::vector<int>{0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(readOnly, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(spreading, "0");
}

TEST_F(BandwidthTest, RatesOfTypedCarriers)
{
    struct Case {
        const char* name;
        const char* fec;
        const char* step;
        std::vector<std::string> rates;   // info, symbol, occupied, allocated
    };
    // Rs = 1 Mbit/s / (1/2 x 2 bits) = 1 Mbaud; 1.2 and 1.4 times it.
    const Case cases[] = {
        {"step-0.1", "1/2", "0.1", {"1", "1.0000", "1.2000", "1.4000"}},
        {"step-0", "1/2", "0", {"1", "1.0000", "1.2000", "1.4000"}},
        {"step-1", "1/2", "1", {"1", "1.0000", "1.2000", "2.0000"}},
        {"fec-3/4", "3/4", "0.1", {"1", "0.6667", "0.8000", "1.0000"}},   // 1.4 x 0.6667 = 0.9333
        {"fec-0.5-expression", "(1+2)/6", "0.1", {"1", "1.0000", "1.2000", "1.4000"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> shown;
        Run({platform::IDOK}, [&](platform::Dialog& d, int step) {
            if (step == 0) TypeCarrier(d, c.fec, c.step);
            if (step == 1) shown = Rates(d);
        });
        EXPECT_EQ(shown, c.rates) << c.name;
        EXPECT_TRUE(f.messages.calls.empty()) << c.name;
    }
}

// 6 Mbit/s, 1/2, QPSK: Rs = 6, 1.35 x 6 = 8.1 = 81 steps of 0.1 exactly.
TEST_F(BandwidthTest, AWholeNumberOfStepsIsNotRaisedAStep)
{
    std::string allocated;
    Run({platform::IDOK}, [&](platform::Dialog& d, int step) {
        if (step == 0) {
            TypeCarrier(d, "1/2", "0.1");
            d.SetControlText(F::kInfoRate, "6");
            d.SetControlText(F::kSpacing, "1.35");
        }
        if (step == 1) allocated = d.GetControlText(F::kAllocated);
    });
    EXPECT_EQ(allocated, "8.1000");
}

TEST_F(BandwidthTest, EachInputSelectorMakesItsFieldTheInput)
{
    std::vector<std::string> bySymbolRate, byOccupied;
    std::vector<bool> symbolReadOnly, occupiedReadOnly;
    Run({F::kSymbolRateInput, platform::IDOK, F::kOccupiedInput, platform::IDOK},
        [&](platform::Dialog& d, int step) {
            auto& form = static_cast<F&>(d);
            auto states = [&form] {
                return std::vector<bool>{form.IsReadOnly(F::kInfoRate), form.IsReadOnly(F::kSymbolRate),
                                         form.IsReadOnly(F::kOccupied)};
            };
            if (step == 0) {
                TypeCarrier(d, "1/2", "0.1");
                d.SetControlText(F::kInfoRate, "99");
            }
            if (step == 1) {
                symbolReadOnly = states();
                d.SetControlText(F::kSymbolRate, "1");
            }
            if (step == 2) bySymbolRate = Rates(d);
            if (step == 3) {
                occupiedReadOnly = states();
                d.SetControlText(F::kOccupied, "2.4");   // Rs = 2.4 / 1.2 = 2 Mbaud
            }
            if (step == 4) byOccupied = Rates(d);
        });
    EXPECT_EQ(symbolReadOnly, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(bySymbolRate, (std::vector<std::string>{"1.0000", "1.0000", "1.2000", "1.4000"}));
    EXPECT_EQ(occupiedReadOnly, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(byOccupied, (std::vector<std::string>{"2.0000", "2.0000", "2.4000", "2.8000"}));
    // Cancel stored the occupied bandwidth as the input.
    const auto stored = f.app->FormRecord(40);
    EXPECT_EQ(transfer::GetWord(stored, 188), 0);
    EXPECT_EQ(transfer::GetWord(stored, 192), 1);
}

// A record with no "i/p" on (never stored) computes from the information
// rate, and checks it first.
TEST_F(BandwidthTest, NoInputSelectorMeansTheInformationRate)
{
    std::string symbolRate;
    Run({platform::IDOK, platform::IDOK}, [&](platform::Dialog& d, int step) {
        if (step == 0) {
            TypeCarrier(d, "1/2", "0.1");
            d.SetCheck(F::kInfoRateInput, 0);
            d.SetControlText(F::kInfoRate, "");
        }
        if (step == 1) d.SetControlText(F::kInfoRate, "2");
        if (step == 2) symbolRate = d.GetControlText(F::kSymbolRate);
    });
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].caption, "Empty Field Error");
    EXPECT_EQ(f.messages.calls[0].text, "Information rate");
    EXPECT_EQ(symbolRate, "2.0000");
}

TEST_F(BandwidthTest, RefusedInputs)
{
    struct Case {
        const char* name;
        int id;
        const char* text;
        bool qam;
        const char* caption;
        const char* message;
    };
    const Case cases[] = {
        {"spacing-below-roll-off", F::kSpacing, "1.1", false, "Input Error",
         "Carrier spacing factor must be  >= (1 + Roll-off) factor)"},
        {"fec-not-a-fraction", F::kFec, "3/0", false, "Input Error", "FEC fractional expression or value"},
        {"fec-above-one", F::kFec, "4/3", false, "Input Error", "FEC fractional expression or value"},
        {"m-not-a-power", F::kM, "6", false, "Modulation", "M must be 2 raised to a positve integer power"},
        {"qam-of-four", F::kM, "4", true, "Value of M (QAM)", "M must be >= 8"},
    };
    for (const Case& c : cases) {
        f.messages.calls.clear();
        std::string symbolRate;
        Run({platform::IDOK}, [&](platform::Dialog& d, int step) {
            if (step == 0) {
                TypeCarrier(d, "1/2", "0.1");
                d.SetControlText(F::kSymbolRate, "before");
                d.SetControlText(c.id, c.text);
                if (c.qam) d.SetCheck(F::kQam, 1);
            }
            if (step == 1) symbolRate = d.GetControlText(F::kSymbolRate);
        });
        ASSERT_EQ(f.messages.calls.size(), 1u) << c.name;
        EXPECT_EQ(f.messages.calls[0].caption, c.caption) << c.name;
        EXPECT_EQ(f.messages.calls[0].text, c.message) << c.name;
        EXPECT_EQ(symbolRate, "before") << c.name;
    }
}

TEST_F(BandwidthTest, ModcodButtonWithoutAnInformationRateOpensNothing)
{
    int modcodRuns = 0;
    platform::SetDialogDriver(TGetModcodDlg::kResourceId, [&modcodRuns](platform::Dialog&) {
        ++modcodRuns;
        return platform::IDCANCEL;
    });
    Run({F::kDvbs}, [&](platform::Dialog& d, int step) {
        if (step == 0) d.SetControlText(F::kInfoRate, "");
    });
    EXPECT_EQ(modcodRuns, 0);
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].caption, F::kNoRateCaption);
    EXPECT_EQ(f.messages.calls[0].text, F::kNoRateText);
}

// DVB-S 16-QAM 3/4: 188/204 x 3/4 x 4 = 2.764706 bit/s/Hz, FEC 2.764706 / 4 =
// 0.6912, Eb/No = 13.42 - 10 log10(2.764706) = 9.00 dB; 10 Mbit/s then needs
// 10 / (0.6912 x 4) = 3.6169 Mbaud.
TEST_F(BandwidthTest, ModcodRowFillsTheFieldsAndComputes)
{
    platform::SetDialogDriver(TGetModcodDlg::kResourceId, [](platform::Dialog& d) {
        d.ListSetSelIndex(TGetModcodDlg::kList, 8);
        return platform::IDOK;
    });
    std::vector<std::string> fields;
    std::vector<int> modulation;
    Run({F::kDvbs, F::kManual}, [&](platform::Dialog& d, int step) {
        if (step == 0) {
            TypeCarrier(d, "1/2", "0.1");
            d.SetControlText(F::kInfoRate, "10");
        }
        if (step == 1) {
            for (int id : {F::kModcodText, F::kFec, F::kM, F::kEbNo, F::kEsNo, F::kEfficiency, F::kSymbolRate})
                fields.push_back(d.GetControlText(id));
            for (int id : {F::kOneBit, F::kPsk, F::kQam}) modulation.push_back(d.GetCheck(id));
        }
        if (step == 2) fields.push_back(d.GetControlText(F::kModcodText));
    });
    EXPECT_EQ(fields, (std::vector<std::string>{"DVBS 16-QAM (3/4)", "0.6912", "16", "9.00", "13.42", "2.764706",
                                                "3.6169", "Manual"}));
    EXPECT_EQ(modulation, (std::vector<int>{0, 0, 1}));
    EXPECT_TRUE(f.messages.calls.empty());
}

TEST_F(BandwidthTest, DvbS2xBpskRowIsOneBitPerSymbol)
{
    platform::SetDialogDriver(TGetModcodDlg::kResourceId, [](platform::Dialog& d) {
        d.OnButton(TGetModcodDlg::kShortFrames);
        d.ListSetSelIndex(TGetModcodDlg::kList, 2);   // "BPSK (1/5)) *" of the short frames
        return platform::IDOK;
    });
    std::vector<int> modulation;
    std::string m;
    Run({F::kDvbs2x}, [&](platform::Dialog& d, int step) {
        if (step == 0) {
            TypeCarrier(d, "1/2", "0.1");
            d.SetCheck(F::kQam, 1);
        }
        if (step == 1) {
            for (int id : {F::kOneBit, F::kPsk, F::kQam}) modulation.push_back(d.GetCheck(id));
            m = d.GetControlText(F::kM);
        }
    });
    EXPECT_EQ(modulation, (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(m, "2");
    EXPECT_TRUE(f.messages.calls.empty());   // M = 2 with one bit a symbol passes the checks
}

TEST_F(BandwidthTest, ClearPutsBackTheTwoButtonsButNotTheInputFields)
{
    std::vector<int> states;
    std::vector<bool> readOnly;
    std::string fec;
    Run({F::kSymbolRateInput, TCalculatorForm::kClear}, [&](platform::Dialog& d, int step) {
        if (step == 0) {
            TypeCarrier(d, "1/2", "0.1");
            d.SetCheck(F::kQam, 1);
        }
        if (step == 2) {
            auto& form = static_cast<F&>(d);
            for (int id : {F::kOneBit, F::kPsk, F::kQam, F::kInfoRateInput, F::kSymbolRateInput}) states.push_back(d.GetCheck(id));
            for (int id : {F::kInfoRate, F::kSymbolRate}) readOnly.push_back(form.IsReadOnly(id));
            fec = d.GetControlText(F::kFec);
        }
    });
    EXPECT_EQ(states, (std::vector<int>{0, 1, 0, 1, 0}));
    EXPECT_EQ(readOnly, (std::vector<bool>{true, false}));   // as the symbol-rate selector left them
    EXPECT_EQ(fec, "");
}

}  // namespace
