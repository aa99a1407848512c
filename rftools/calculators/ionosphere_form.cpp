#include "rftools/calculators/ionosphere_form.h"

#include "framework/app/orbiscope.h"
#include "framework/forms/control_table.h"
#include "rftools/calculators/calculator_rows.h"
#include "rftools/calculators/result_text.h"

using platform::ControlSpec;

namespace {

constexpr int kField = 13;

constexpr HintEntry kIonHints[] = {{TIonForm::kFrequency, 7115, "Frequency (1 to 100 GHz)"}};
constexpr HintEntry kEWHints[] = {
    {TIonForm::kEast, 7800, "Select equatorial path for satellites EAST"},
    {TIonForm::kWest, 7801, "Select equatorial path for Satellites WEST"},
};
constexpr HintEntry kSSNHints[] = {
    {TIonForm::kSunspot10to15, 7802, "Select sunspot numbers 10-15 (Data: March 75-76)"},
    {TIonForm::kSunspot12to26, 7803, "Select sunspot numbers 12-26 (Data: June 76-77)"},
    {TIonForm::kSunspot20to70, 7804, "Select sunspot numbers 20-70 (Data: March 77-78)"},
    {TIonForm::kSunspot44to110, 7805, "Select sunspot numbers 44-110 (Data: October 77-78)"},
    {TIonForm::kSunspot110to160, 7806, "Select sunspot numbers 110-160 (Data: November 78-79)"},
    {TIonForm::kSunspot153to165, 7807, "Select sunspot numbers 153-165 (Data: June 79-80)"},
};

// The sunspot buttons in the order of rfcalc::SunspotRange.
constexpr int kSunspotButtons[6] = {
    TIonForm::kSunspot10to15,  TIonForm::kSunspot12to26,   TIonForm::kSunspot20to70,
    TIonForm::kSunspot44to110, TIonForm::kSunspot110to160, TIonForm::kSunspot153to165,
};

}  // namespace

// clang-format off
TIonEntry::TIonEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kIonHints) {}
TEWRadioButton::TEWRadioButton(TForm* parent, int id) : THintedRadioButton(parent, id, kEWHints) {}
TSSNRadioButton::TSSNRadioButton(TForm* parent, int id) : THintedRadioButton(parent, id, kSSNHints) {}
// clang-format on

std::vector<ControlSpec> TIonForm::ControlTable()
{
    using namespace controls;
    std::vector<ControlSpec> t;
    calcrows::AddRows(t, {{"Frequency GHz", kFrequency, kField},
                          {"Availability %", kAvailability, kField},
                          {"Fluctuation (p-p) dB", kFluctuation, kField, true},
                          {"Scintillation Index", kIndex, kField, true},
                          {"One way loss dB", kLoss, kField, true}});
    const int y = calcrows::Y(5);
    t.push_back(Group("Equatorial Ionospheric Path Data", 10, y, 430, 74));
    t.push_back(Radio(kEast, "Satellites East ( EL approx 20\xB0 )", 20, y + 20, 400, true));
    t.push_back(Radio(kWest, "Satellites West ( EL approx 30\xB0 )", 20, y + 46, 400));
    const int s = y + 84;
    t.push_back(Group("Sun Spot Number Range", 10, s, 430, 74));
    t.push_back(Radio(kSunspot10to15, "10-15", 20, s + 20, 130, true));
    t.push_back(Radio(kSunspot12to26, "12-26", 160, s + 20, 130));
    t.push_back(Radio(kSunspot20to70, "20-70", 300, s + 20, 130));
    t.push_back(Radio(kSunspot44to110, "44-110", 20, s + 46, 130));
    t.push_back(Radio(kSunspot110to160, "110-160", 160, s + 46, 130));
    t.push_back(Radio(kSunspot153to165, "153-165", 300, s + 46, 130));
    std::vector<ControlSpec> done = calcrows::WithButtons(std::move(t), 11);
    done.push_back(Button(kRefMap, "Ref. Map", 370, calcrows::Y(11) + 8, 70));
    return done;
}

TIonForm::TIonForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Ionospheric Scintillation Loss", ControlTable())
{
    calcrows::MakeEntries<TIonEntry>(this);
    new TEWRadioButton(this, kEast);
    new TEWRadioButton(this, kWest);
    for (int id : kSunspotButtons) new TSSNRadioButton(this, id);
    SetHandler(kRefMap, [this] { CmRefMap(); });
}

std::optional<rfcalc::SunspotRange> TIonForm::RangeOf(const CalculatorRecord& record)
{
    bool on[6] = {};
    for (int i = 0; i < 6; ++i) on[i] = record.On(kSunspotButtons[i]);
    return rfcalc::SunspotRangeOf(on);
}

bool TIonForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kFrequency, "Frequency", FieldType::Real, 0.1, 10, "GHz"},
        {kAvailability, "Signal availability", FieldType::Real, 95, 99.99, "% of average year"},
    };
    if (!CheckFields(record, kChecks)) return false;
    // A record with no range set (after Clear) has no fit to use.
    const std::optional<rfcalc::SunspotRange> range = RangeOf(record);
    if (!range) {
        Warn(kNoRangeText, kNoRangeCaption);
        return false;
    }
    const rfcalc::Scintillation s =
        rfcalc::ScintillationAt(record.Number(kFrequency), record.Number(kAvailability), *range, record.On(kEast));
    record.SetText(kFluctuation, rfcalc::FormatFixed(s.fluctuation_dB, 1));
    record.SetText(kIndex, rfcalc::FormatFixed(s.index, 2));
    record.SetText(kLoss, rfcalc::FormatFixed(s.loss_dB, 1));
    return true;
}

void TIonForm::CmRefMap()
{
    if (TOrbiscope* app = App()) app->Dispatch(kScintillationMapCommand);
}

namespace calculators {

void RegisterIonosphereForm() { RegisterCalculatorForm<TIonForm>(TIonForm::kCommand); }

}  // namespace calculators
