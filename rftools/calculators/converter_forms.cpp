#include "rftools/calculators/converter_forms.h"

#include "propagation/coordinates.h"
#include "rftools/calculators/calculator_rows.h"
#include "rftools/calculators/result_text.h"
#include "rftools/calculators/unit_conversion.h"

using platform::ControlSpec;

namespace {

constexpr int kInput = 13;    // char[13]: 12 characters
constexpr int kOutput = 41;

constexpr HintEntry kDegMinHints[] = {{kAnyControl, 7169, "Enter degrees, minutes and seconds"}};
constexpr HintEntry kMinDegHints[] = {{TMinDegForm::kDegrees, 7405, "Enter decimal degree value"}};
constexpr HintEntry kCalcFreqHints[] = {
    {TCalcFreqForm::kWavelength, 7167, "Wavelength to be converted (0.003m to 300,000m)"}};
constexpr HintEntry kCalcWavelengthHints[] = {
    {TCalcWavelengthForm::kFrequency, 7168, "Frequency to be converted (0.000001 to 100.0 GHz)"}};
constexpr HintEntry kNoiseTempHints[] = {
    {TNoiseFigForm::kTemperature, 7170, "Noise temperature to convert (0 to 11000K)"}};
constexpr HintEntry kNoiseFigHints[] = {{TNoiseTempForm::kFigure, 7171, "Noise figure to convert (0 to 16dB)"}};

// One input row and one result row.
std::vector<ControlSpec> OneInputTable(const char* label, int inputId, const char* resultLabel, int resultId)
{
    return calcrows::Table({{label, inputId, kInput}, {resultLabel, resultId, kOutput, true}});
}

}  // namespace

// clang-format off
TDegMinEntry::TDegMinEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kDegMinHints) {}
TMinDegEntry::TMinDegEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kMinDegHints) {}
TCalcFreqEntry::TCalcFreqEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kCalcFreqHints) {}
TCalcWavelengthEntry::TCalcWavelengthEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kCalcWavelengthHints) {}
TNoiseTempEntry::TNoiseTempEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kNoiseTempHints) {}
TNoiseFigEntry::TNoiseFigEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kNoiseFigHints) {}
// clang-format on

// ---- D:M:S to degrees ---------------------------------------------------------

std::vector<ControlSpec> TDegMinForm::ControlTable()
{
    std::vector<ControlSpec> t;
    const calcrows::Columns narrow{calcrows::kFieldX, 60};
    calcrows::AddRows(t, {{"Degrees", kDegrees, 4},
                          {"Minutes", kMinutes, 3},
                          {"Seconds", kSeconds, 3}}, narrow);
    calcrows::AddRows(t, {{"Result (degrees) =", kResult, kOutput, true}}, {}, 3);
    return calcrows::WithButtons(std::move(t), 4);
}

TDegMinForm::TDegMinForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Convert D:M:S to Degrees", ControlTable())
{
    calcrows::MakeEntries<TDegMinEntry>(this);
}

bool TDegMinForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kDegrees, "Degrees", FieldType::Integer, 0, 360, ""},
        {kMinutes, "Minutes", FieldType::Integer, 0, 59, ""},
        {kSeconds, "Seconds", FieldType::Integer, 0, 59, ""},
    };
    if (!CheckFields(record, kChecks)) return false;
    const double degrees =
        rfcalc::DmsToDegrees(record.Integer(kDegrees), record.Integer(kMinutes), record.Integer(kSeconds));
    record.SetText(kResult, rfcalc::FormatFixed(degrees, 4));
    return true;
}

// ---- degrees to D:M:S ---------------------------------------------------------

std::vector<ControlSpec> TMinDegForm::ControlTable()
{
    return OneInputTable("Degrees", kDegrees, "Result (D:M:S) =", kResult);
}

TMinDegForm::TMinDegForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Convert Degrees to D:M:S", ControlTable())
{
    calcrows::MakeEntries<TMinDegEntry>(this);
}

bool TMinDegForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {{kDegrees, "Degrees", FieldType::Real, 0, 360, ""}};
    if (!CheckFields(record, kChecks)) return false;
    record.SetText(kResult, rfcalc::FormatDms(rfcalc::DegreesToDms(record.Number(kDegrees))));
    return true;
}

// ---- wavelength to frequency --------------------------------------------------

std::vector<ControlSpec> TCalcFreqForm::ControlTable()
{
    return OneInputTable("Wavelength metres", kWavelength, "Frequency GHz =", kResult);
}

TCalcFreqForm::TCalcFreqForm(QWidget* parent) : TCalculatorForm(parent, kCommand, "Convert to Frequency", ControlTable())
{
    calcrows::MakeEntries<TCalcFreqEntry>(this);
}

bool TCalcFreqForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kWavelength, "Wavelength", FieldType::Real, 0.002998, 300000, "metres"}};
    if (!CheckFields(record, kChecks)) return false;
    record.SetText(kResult, rfcalc::FormatFixed(rfcalc::WavelengthToFrequency(record.Number(kWavelength)), 6));
    return true;
}

// ---- frequency to wavelength --------------------------------------------------

std::vector<ControlSpec> TCalcWavelengthForm::ControlTable()
{
    return OneInputTable("Frequency GHz", kFrequency, "Wavelength m =", kResult);
}

TCalcWavelengthForm::TCalcWavelengthForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Convert to Wavelength", ControlTable())
{
    calcrows::MakeEntries<TCalcWavelengthEntry>(this);
}

bool TCalcWavelengthForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {{kFrequency, "Frequency", FieldType::Real, 0.000001, 100, "GHz"}};
    if (!CheckFields(record, kChecks)) return false;
    record.SetText(kResult, rfcalc::FormatFixed(Wavelength(record.Number(kFrequency)), 6));
    return true;
}

// ---- noise temperature to noise figure ----------------------------------------

std::vector<ControlSpec> TNoiseFigForm::ControlTable()
{
    return OneInputTable("Noise temperature K", kTemperature, "Noise Figure dB =", kResult);
}

TNoiseFigForm::TNoiseFigForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Convert to Noise Figure", ControlTable())
{
    calcrows::MakeEntries<TNoiseTempEntry>(this);
}

bool TNoiseFigForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kTemperature, "Noise temperature", FieldType::Real, 0, 10752, "K"}};
    if (!CheckFields(record, kChecks)) return false;
    record.SetText(kResult, rfcalc::FormatFixed(rfcalc::NoiseTemperatureToFigure(record.Number(kTemperature)), 2));
    return true;
}

// ---- noise figure to noise temperature ----------------------------------------

std::vector<ControlSpec> TNoiseTempForm::ControlTable()
{
    return OneInputTable("Noise figure dB", kFigure, "Noise temperature K =", kResult);
}

TNoiseTempForm::TNoiseTempForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Convert to Noise Temperature", ControlTable())
{
    calcrows::MakeEntries<TNoiseFigEntry>(this);
}

bool TNoiseTempForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {{kFigure, "Noise figure", FieldType::Real, 0, 16, "dB"}};
    if (!CheckFields(record, kChecks)) return false;
    record.SetText(kResult, rfcalc::FormatFixed(rfcalc::NoiseFigureToTemperature(record.Number(kFigure)), 2));
    return true;
}

namespace calculators {

void RegisterConverterForms()
{
    RegisterCalculatorForm<TDegMinForm>(TDegMinForm::kCommand);
    RegisterCalculatorForm<TMinDegForm>(TMinDegForm::kCommand);
    RegisterCalculatorForm<TCalcFreqForm>(TCalcFreqForm::kCommand);
    RegisterCalculatorForm<TCalcWavelengthForm>(TCalcWavelengthForm::kCommand);
    RegisterCalculatorForm<TNoiseFigForm>(TNoiseFigForm::kCommand);
    RegisterCalculatorForm<TNoiseTempForm>(TNoiseTempForm::kCommand);
}

}  // namespace calculators
