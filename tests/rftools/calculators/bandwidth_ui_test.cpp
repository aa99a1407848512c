// The digital bandwidth calculator through its dialog: the record's bytes,
// the first opening, the three "i/p" inputs, the checks, and the modcods
// taken from the "Select Modcod" dialog.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "linkbudget/modcod/modcod_dialog.h"
#include "rftools/calculators/bandwidth_form.h"
#include "rftools/calculators/calculator_registration.h"
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

class BandwidthTest : public calctest::CalculatorFixture {
protected:
    BandwidthTest() : CalculatorFixture(orbiscope::RegisterCalculatorForms) {}

    void Run(std::vector<int> buttons, std::function<void(platform::Dialog&, int)> script)
    {
        CalculatorFixture::Run(F::kCommand, std::move(buttons), std::move(script));
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
};

// The stored record's presets (the information rate the input) are the
// record tests'; here each selector makes its own field the one to type in.
TEST_F(BandwidthTest, EachInputSelectorMakesItsFieldTheInput)
{
    std::vector<std::string> bySymbolRate, byOccupied;
    std::vector<bool> infoReadOnly, symbolReadOnly, occupiedReadOnly;
    Run({F::kSymbolRateInput, platform::IDOK, F::kOccupiedInput, platform::IDOK},
        [&](platform::Dialog& d, int step) {
            auto& form = static_cast<F&>(d);
            auto states = [&form] {
                return std::vector<bool>{form.IsReadOnly(F::kInfoRate), form.IsReadOnly(F::kSymbolRate),
                                         form.IsReadOnly(F::kOccupied)};
            };
            if (step == 0) {
                infoReadOnly = states();
                TypeCarrier(d, "(1+2)/6", "0.1");   // an FEC expression: 1/2
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
    EXPECT_EQ(infoReadOnly, (std::vector<bool>{false, true, true}));
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
    struct Case { const char* name; int id; const char* text; bool qam; const char* caption; const char* message; };
    const Case cases[] = {
        {"spacing-below-roll-off", F::kSpacing, "1.1", false, "Input Error",
         "Carrier spacing factor must be >= (1 + Roll-off factor)"},
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

// A modcod button runs "Select Modcod" on the chosen row, fills the fields
// from it and computes; without an information rate it opens nothing.
TEST_F(BandwidthTest, ModcodRowsFillTheFieldsAndCompute)
{
    struct Case {
        const char* name;
        int button;
        int frameButton;   // pressed in "Select Modcod" first, 0: none
        int row;
        const char* rate;
        std::vector<std::pair<int, std::string>> fields;
        std::vector<int> modulation;   // 1 bit/symbol, M-PSK, M-QAM
        int modcodRuns;
    };
    const Case cases[] = {
        // DVB-S 16-QAM 3/4: 188/204 x 3/4 x 4 = 2.764706 bit/s/Hz; FEC 2.764706 / 4 = 0.6912;
        // Eb/No = 13.42 - 10 log10(2.764706) = 9.00 dB; 10 Mbit/s / (0.6912 x 4) = 3.6169 Mbaud.
        {"dvbs-16qam", F::kDvbs, 0, 8, "10",
         {{F::kModcodText, "DVBS 16-QAM (3/4)"}, {F::kFec, "0.6912"}, {F::kM, "16"}, {F::kEbNo, "9.00"},
          {F::kEsNo, "13.42"}, {F::kEfficiency, "2.764706"}, {F::kSymbolRate, "3.6169"}},
         {0, 0, 1}, 1},
        // Short-frame "BPSK (1/5)) *": one bit a symbol, M = 2 passes the checks.
        {"s2x-bpsk", F::kDvbs2x, TGetModcodDlg::kShortFrames, 2, "1", {{F::kM, "2"}}, {1, 0, 0}, 1},
        {"no-rate", F::kDvbs, 0, 0, "", {{F::kModcodText, ""}}, {0, 1, 0}, 0},
    };
    for (const Case& c : cases) {
        f.messages.calls.clear();
        int runs = 0;
        platform::SetDialogDriver(TGetModcodDlg::kResourceId, [&c, &runs](platform::Dialog& d) {
            ++runs;
            if (c.frameButton) d.OnButton(c.frameButton);
            d.ListSetSelIndex(TGetModcodDlg::kList, c.row);
            return platform::IDOK;
        });
        std::vector<std::pair<int, std::string>> fields;
        std::vector<int> modulation;
        Run({TCalculatorForm::kClear, c.button}, [&](platform::Dialog& d, int step) {
            if (step == 1) {
                TypeCarrier(d, "1/2", "0.1");
                d.SetControlText(F::kInfoRate, c.rate);
            }
            if (step != 2) return;
            for (const auto& [id, text] : c.fields) fields.emplace_back(id, d.GetControlText(id));
            for (int id : {F::kOneBit, F::kPsk, F::kQam}) modulation.push_back(d.GetCheck(id));
        });
        EXPECT_EQ(fields, c.fields) << c.name;
        EXPECT_EQ(modulation, c.modulation) << c.name;
        EXPECT_EQ(runs, c.modcodRuns) << c.name;
        ASSERT_EQ(f.messages.calls.size(), c.modcodRuns ? 0u : 1u) << c.name;
        if (!c.modcodRuns) {
            EXPECT_EQ(f.messages.calls[0].text, F::kNoRateText);
        }
    }
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
