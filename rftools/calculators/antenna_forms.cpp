#include "rftools/calculators/antenna_forms.h"

#include "framework/forms/control_table.h"
#include "rftools/calculators/antenna_geometry.h"
#include "rftools/calculators/calculator_rows.h"
#include "rftools/calculators/receive_chain.h"
#include "rftools/calculators/result_text.h"
#include "rftools/calculators/wind_loading.h"

using platform::ControlSpec;

namespace {

constexpr int kInput = 13;
constexpr int kOutput = 41;
constexpr int kShort = 13;   // the result fields of char[13]

constexpr const char* kApertureHint = "Aperture of earth station antenna (0.2 to 50 metres)";
constexpr const char* kFrequencyHint = "Frequency (1 to 100 GHz)";

constexpr HintEntry kFocalMHints[] = {
    {TFocalMForm::kDiameter, 7116, kApertureHint},
    {TFocalMForm::kDepth, 7210, "Measured depth of the parabolic antenna"},
};
constexpr HintEntry kFocalfDHints[] = {
    {TFocalfDForm::kDiameter, 7116, kApertureHint},
    {TFocalfDForm::kRatio, 7209, "Enter f/D ratio of the parabolic antenna"},
};
constexpr HintEntry kCalcBeamwidthHints[] = {
    {TCalcBeamwidthForm::kLevel, 7166,
     "Enter dB down point at which the nominal beamwidth is calculated (-0.1 to -20dB)"},
    {TCalcBeamwidthForm::kFrequency, 7115, kFrequencyHint},
    {TCalcBeamwidthForm::kAperture, 7116, kApertureHint},
};
constexpr HintEntry kOffAxisHints[] = {
    {TOffAxisForm::kDiameter, 7116, kApertureHint},
    {TOffAxisForm::kFrequency, 7115, kFrequencyHint},
    {TOffAxisForm::kAngle, 7230, "Displacement angle offset from boresight"},
};
constexpr HintEntry kWndHints[] = {
    {TWndForm::kSpeed, 7702, "Enter design wind speed (km/h)"},
    {TWndForm::kCentreToFrame, 7703, "Height from dish centre to frame (m)"},
    {TWndForm::kPoleToEdge, 7704, "Distance from mounting pole to edge of frame (m)"},
    {TWndForm::kWeight, 7705, "Weight of assembly including dish, mounting pole and frame (kg)"},
    {TWndForm::kMajor, 7706, "Major diameter of the dish (m)"},
    {TWndForm::kMinor, 7707, "Minor diameter of the dish (m)"},
};
constexpr HintEntry kAntTypeHints[] = {
    {TWndForm::kSolid, 7708, "Select for solid dish surface"},
    {TWndForm::kMesh, 7709, "Select for mesh dish surface"},
};
constexpr const char* kInsertionHint = "The gain (+ve) or loss (-ve) of this item inserted after the LNA/LNB (dB)";
constexpr const char* kNoiseHint = "Noise figure in dB or noise temperature in K : Prefix with + for temp";
constexpr HintEntry kCalcGTHints[] = {
    {TCalcGTForm::kAntennaGain, 7134, "Antenna gain in dB"},
    {TCalcGTForm::kAntennaNoise, 7118, "Value for antenna noise (1 to 500K)"},
    {TCalcGTForm::kWaveguide, 7120, "Waveguide losses [0 to 20dB)"},
    {TCalcGTForm::kLnaGain, 7123, "Enter gain of the LNB (10 to 100dB)"},
    {TCalcGTForm::kLnaNoise, 7119, "LNB noise figure(dB) or temp.(K) : Prefix with '+' for temp."},
    {8807, 7128, kInsertionHint}, {8809, 7128, kInsertionHint}, {8811, 7128, kInsertionHint},
    {8813, 7128, kInsertionHint}, {8815, 7128, kInsertionHint}, {8817, 7128, kInsertionHint},
    {8808, 7130, kNoiseHint}, {8810, 7130, kNoiseHint}, {8812, 7130, kNoiseHint},
    {8814, 7130, kNoiseHint}, {8816, 7130, kNoiseHint}, {8818, 7130, kNoiseHint},
    {TCalcGTForm::kReceiverNoise, 7130, kNoiseHint},
};

}  // namespace

// clang-format off
TFocalMEntry::TFocalMEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kFocalMHints) {}
TFocalfDEntry::TFocalfDEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kFocalfDHints) {}
TCalcBeamwidthEntry::TCalcBeamwidthEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kCalcBeamwidthHints) {}
TOffAxisEntry::TOffAxisEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kOffAxisHints) {}
TWndEntry::TWndEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kWndHints) {}
TAntTypeRadioButton::TAntTypeRadioButton(TForm* parent, int id) : THintedRadioButton(parent, id, kAntTypeHints) {}
TCalcGTEntry::TCalcGTEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kCalcGTHints) {}
// clang-format on

// ---- focal distance from the depth ----------------------------------------------

std::vector<ControlSpec> TFocalMForm::ControlTable()
{
    return calcrows::Table({{"Antenna diameter m", kDiameter, kInput},
                            {"Measured dish depth m", kDepth, kInput},
                            {"Focal distance m = ", kResult, kOutput, true}});
}

TFocalMForm::TFocalMForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Focal Distance (f/D not known)", ControlTable())
{
    calcrows::MakeEntries<TFocalMEntry>(this);
}

bool TFocalMForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kDiameter, "Antenna diameter", FieldType::Real, 0.01, 50, "Metres"},
        {kDepth, "Measured dish depth", FieldType::Real, 0.001, 20, "Metres"},
    };
    if (!CheckFields(record, kChecks)) return false;
    const double focal = rfcalc::FocalDistanceFromDepth(record.Number(kDiameter), record.Number(kDepth));
    record.SetText(kResult, rfcalc::FormatFixed(focal, 3));
    return true;
}

// ---- focal distance from f/D ------------------------------------------------------

std::vector<ControlSpec> TFocalfDForm::ControlTable()
{
    return calcrows::Table({{"Antenna diameter m", kDiameter, kInput},
                            {"f/D ratio", kRatio, kInput},
                            {"Focal distance m  =", kResult, kOutput, true}});
}

TFocalfDForm::TFocalfDForm(QWidget* parent) : TCalculatorForm(parent, kCommand, "Focal Distance Form", ControlTable())
{
    calcrows::MakeEntries<TFocalfDEntry>(this);
}

bool TFocalfDForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kDiameter, "Antenna diameter", FieldType::Real, 0.01, 50, "metres"},
        {kRatio, "f/D ratio", FieldType::Real, 0.1, 1.5, ""},
    };
    if (!CheckFields(record, kChecks)) return false;
    const double focal = rfcalc::FocalDistanceFromRatio(record.Number(kRatio), record.Number(kDiameter));
    record.SetText(kResult, rfcalc::FormatFixed(focal, 3));
    return true;
}

// ---- nominal beamwidth ------------------------------------------------------------

std::vector<ControlSpec> TCalcBeamwidthForm::ControlTable()
{
    return calcrows::Table({{"Relative amplitude dB (-ve)", kLevel, kInput},
                            {"Operation frequency GHz", kFrequency, kInput},
                            {"Aperture size metres", kAperture, kInput},
                            {"Nominal beamwidth degrees =", kResult, kOutput, true}});
}

TCalcBeamwidthForm::TCalcBeamwidthForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Calculate Nominal Beamwidth", ControlTable())
{
    calcrows::MakeEntries<TCalcBeamwidthEntry>(this);
}

bool TCalcBeamwidthForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kLevel, "Relative amplitude (-ve)", FieldType::Real, -20, -0.1, "dB"},
        {kFrequency, "Operation frequency", FieldType::Real, 0.0007, 55, "GHz"},
        {kAperture, "Aperture dimension", FieldType::Real, 0.1, 50, "metres"},
    };
    if (!CheckFields(record, kChecks)) return false;
    const rfcalc::NominalBeamwidth beam =
        rfcalc::NominalBeamwidthAt(record.Number(kLevel), record.Number(kFrequency), record.Number(kAperture));
    if (!beam.defined) {
        Warn(kNoBeamText, kErrorCaption);
        return false;
    }
    record.SetText(kResult, rfcalc::FormatFixed(beam.width_deg, 2));
    return true;
}

// ---- boresight and off-axis gain --------------------------------------------------

std::vector<ControlSpec> TOffAxisForm::ControlTable()
{
    using namespace controls;
    std::vector<ControlSpec> t;
    calcrows::AddRows(t, {{"Antenna diameter metres", kDiameter, kInput},
                          {"Boresight efficiency %", kEfficiency, kInput},
                          {"Frequency GHz", kFrequency, kInput},
                          {"Off axis angle (degrees)", kAngle, kInput},
                          {"Boresight gain dBi =", kBoresight, kOutput, true},
                          {"Off-axis gain dBi =", kOffAxis, kOutput, true}});
    const int y = calcrows::Y(6);
    t.push_back(Group("Pattern", 10, y, 260, 72));
    t.push_back(Radio(kCoPolar, "Co-polar pattern", 20, y + 20, 240, true));
    t.push_back(Radio(kCrossPolar, "Cross-polar pattern (BO.1213 only)", 20, y + 44, 240));
    t.push_back(Group("Template", 280, y, 180, 72));
    t.push_back(Radio(kBo1213, "BO.1213", 290, y + 20, 165, true));
    t.push_back(Radio(kAp8, "Combined AP8/S.580", 290, y + 44, 165));
    return calcrows::WithButtons(std::move(t), 9);
}

TOffAxisForm::TOffAxisForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Antenna Gain Calculator", ControlTable())
{
    calcrows::MakeEntries<TOffAxisEntry>(this);
    new TOffAxisRadioButton(this, kCoPolar);
    new TOffAxisRadioButton(this, kCrossPolar);
    new TTxRxRadioButton(this, kBo1213);
    new TTxRxRadioButton(this, kAp8);
}

bool TOffAxisForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kDiameter, "Antenna Diameter", FieldType::Real, 0.01, 50, "metres"},
        {kEfficiency, "Antenna Efficiency", FieldType::Real, 10, 100, "%"},
        {kFrequency, "Frequency", FieldType::Real, 0.0007, 55, "GHz"},
        {kAngle, "Off axis angle", FieldType::Real, 0, 180, "degrees"},
    };
    if (!CheckFields(record, kChecks)) return false;
    const rfcalc::AntennaGains g =
        rfcalc::AntennaGainsAt(record.Number(kDiameter), record.Number(kEfficiency), record.Number(kFrequency),
                               record.Number(kAngle), record.On(kCoPolar), record.On(kBo1213));
    if (g.crossPolarUndefined)
        platform::MessageBox(this, "Only co-polar is defined in AP8/S.580", "Cross-polar Option Invalid",
                             platform::MB_OK);
    record.SetText(kBoresight, rfcalc::FormatFixed(g.boresight_dBi, 2));
    record.SetText(kOffAxis, rfcalc::FormatFixed(g.offAxis_dBi, 2));
    return true;
}

// ---- wind loading -----------------------------------------------------------------

std::vector<ControlSpec> TWndForm::ControlTable()
{
    using namespace controls;
    std::vector<ControlSpec> t;
    calcrows::AddRows(t, {{"Design wind speed  km/h", kSpeed, kInput},
                          {"Dish centre to frame distance  m", kCentreToFrame, kInput},
                          {"Pole to frame edge distance  m", kPoleToEdge, kInput},
                          {"Total assembly  weight  kg", kWeight, kInput},
                          {"Major diameter  m", kMajor, kInput},
                          {"Minor diameter  m", kMinor, kInput},
                          {"Overturning moment  kg.m", kMoment, kShort, true},
                          {"Additional ballast required  kg", kBallast, kShort, true}});
    const int y = calcrows::Y(8);
    t.push_back(Group("Antenna Type", 10, y, 260, 50));
    t.push_back(Radio(kSolid, "Solid", 20, y + 20, 100, true));
    t.push_back(Radio(kMesh, "Mesh", 140, y + 20, 100));
    return calcrows::WithButtons(std::move(t), 10);
}

TWndForm::TWndForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Edit Wind Loading Parameters", ControlTable())
{
    calcrows::MakeEntries<TWndEntry>(this);
    new TAntTypeRadioButton(this, kSolid);
    new TAntTypeRadioButton(this, kMesh);
}

bool TWndForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kSpeed, "Windspeed", FieldType::Real, 1, 300, "km/h"},
        {kCentreToFrame, "Dish centre to ground distance", FieldType::Real, 0.1, 20, "m"},
        {kPoleToEdge, "Pole to frame edge distance", FieldType::Real, 0.1, 20, "m"},
        {kWeight, "Total assembly weight", FieldType::Real, 0, 5000, "kg"},
        {kMajor, "Major antenna diameter", FieldType::Real, 0.2, 50, "m"},
        {kMinor, "Minor antenna diameter", FieldType::Real, 0.2, 50, "m"},
    };
    if (!CheckFields(record, kChecks)) return false;
    rfcalc::WindLoadInputs in;
    in.windSpeed_kmh = record.Number(kSpeed);
    in.centreToFrame_m = record.Number(kCentreToFrame);
    in.poleToFrameEdge_m = record.Number(kPoleToEdge);
    in.weight_kg = record.Number(kWeight);
    in.majorDiameter_m = record.Number(kMajor);
    in.minorDiameter_m = record.Number(kMinor);
    in.mesh = record.On(kMesh);
    const rfcalc::WindLoad load = rfcalc::WindLoadOf(in);
    record.SetText(kMoment, rfcalc::FormatFixed(load.moment_kgm, 2));
    record.SetText(kBallast, rfcalc::FormatFixed(load.ballast_kg, 2));
    return true;
}

// ---- G/T --------------------------------------------------------------------------

namespace {

int InsertionGainId(int i) { return TCalcGTForm::kFirstInsertion + 2 * i; }
int InsertionNoiseId(int i) { return TCalcGTForm::kFirstInsertion + 2 * i + 1; }

// The grid of the chain: a row per stage, gain and noise side by side.
constexpr int kGridLabelX = 10;
constexpr int kGainX = 140;
constexpr int kNoiseX = 290;
constexpr int kGridWidth = 130;

}  // namespace

std::vector<ControlSpec> TCalcGTForm::ControlTable()
{
    using namespace controls;
    static const char* const kInsertionLabels[rfcalc::kInsertionCount] = {
        "Insertion 1", "Insertion 2", "Insertion 3", "Insertion 4", "Insertion 5", "Insertion 6"};
    std::vector<ControlSpec> t;
    calcrows::AddRows(t, {{"Antenna gain dB", kAntennaGain, kInput},
                          {"Ant. noise temp K", kAntennaNoise, kInput},
                          {"Waveguide loss dB", kWaveguide, kInput}});
    t.push_back(Label("Loss (-ve) / Gain (+ve) dB", kGainX - 10, calcrows::Y(3), kNoiseX - kGainX + 5));
    t.push_back(Label("Noise fig , temp. (dB , K)", kNoiseX, calcrows::Y(3) - 8, kGridWidth + 20, 18));
    t.push_back(Label("prefix noise temp with +", kNoiseX, calcrows::Y(3) + 10, kGridWidth + 20, 18));
    auto row = [&t](int r, const char* label, int gainId, int noiseId) {
        const int y = calcrows::Y(r);
        t.push_back(Label(label, kGridLabelX, y + 1, kGainX - kGridLabelX - 10));
        if (gainId) t.push_back(Edit(gainId, kInput, kGainX, y, kGridWidth));
        t.push_back(Edit(noiseId, kInput, kNoiseX, y, kGridWidth));
    };
    row(4, "LNA/LNB", kLnaGain, kLnaNoise);
    for (int i = 0; i < rfcalc::kInsertionCount; ++i)
        row(5 + i, kInsertionLabels[i], InsertionGainId(i), InsertionNoiseId(i));
    row(11, "Receiver", 0, kReceiverNoise);
    const int y = calcrows::Y(12);
    t.push_back(Group("Result", 10, y, 430, 110));
    t.push_back(Label("System Noise Temp. K", 20, y + 23, 250));
    t.push_back(ReadOnlyEdit(kSystemTemperature, kShort, kNoiseX, y + 22, kGridWidth));
    t.push_back(Label("System noise figure dB", 20, y + 51, 250));
    t.push_back(ReadOnlyEdit(kNoiseFigure, kShort, kNoiseX, y + 50, kGridWidth));
    t.push_back(Label("G/T dB/K", 20, y + 79, 250));
    t.push_back(ReadOnlyEdit(kGOverT, kShort, kNoiseX, y + 78, kGridWidth));
    t.push_back(Label("For passive components (e.g cables) enter AUTO in noise field", 10, y + 118, 430));
    return calcrows::WithButtons(std::move(t), 17);
}

TCalcGTForm::TCalcGTForm(QWidget* parent) : TCalculatorForm(parent, kCommand, "G/T Calculator", ControlTable())
{
    calcrows::MakeEntries<TCalcGTEntry>(this);
}

namespace {

rfcalc::NoiseEntry NoiseOf(const CalculatorRecord& record, int id)
{
    const std::string text = record.Text(id);
    return {rfcalc::NoiseKindOf(text), LeadingNumber(text)};
}

}  // namespace

bool TCalcGTForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kFront[] = {
        {kAntennaGain, "Antenna Gain", FieldType::Real, 1, 100, "dB"},
        {kAntennaNoise, "Antenna Noise", FieldType::Real, 1, 1000, "K or dB"},
        {kWaveguide, "Waveguide Loss", FieldType::Real, 0, 20, "dB"},
        {kLnaGain, "LNA Gain", FieldType::Real, 0, 100, "dB"},
        {kLnaNoise, "LNA Noise", FieldType::Real, 0.01, 1000, "dB or K"},
    };
    static constexpr CalculatorCheck kInsertions[rfcalc::kInsertionCount][2] = {
        {{8807, "Insertion 1 (Gain/Loss)", FieldType::Real, -100, 100, "dB"},
         {8808, "Insertion 1 (Noise)", FieldType::Real, 0, 100, "K or dB"}},
        {{8809, "Insertion 2 (Gain/Loss)", FieldType::Real, -100, 100, "dB"},
         {8810, "Insertion 2 (Noise)", FieldType::Real, 0, 100, "K or dB"}},
        {{8811, "Insertion 3 (Gain/Loss)", FieldType::Real, -100, 100, "dB"},
         {8812, "Insertion 3 (Noise)", FieldType::Real, 0, 100, "K or dB"}},
        {{8813, "Insertion 4 (Gain/Loss)", FieldType::Real, -100, 100, "dB"},
         {8814, "Insertion 4 (Noise)", FieldType::Real, 0, 100, "K or dB"}},
        {{8815, "Insertion 5 (Gain/Loss)", FieldType::Real, -100, 100, "dB"},
         {8816, "Insertion 5 (Noise)", FieldType::Real, 0, 100, "K or dB"}},
        {{8817, "Insertion 6 (Gain/Loss)", FieldType::Real, -100, 100, "dB"},
         {8818, "Insertion 6 (Noise)", FieldType::Real, 0, 100, "K or dB"}},
    };
    static constexpr CalculatorCheck kReceiver[] = {
        {kReceiverNoise, "Receiver Noise)", FieldType::Real, 0, 100, "K"}};

    if (!CheckFields(record, kFront)) return false;
    for (const auto& insertion : kInsertions) {
        if (!CheckFields(record, std::span(insertion, 1))) return false;
        // "auto" (any case) is no number: its range check is skipped.
        const bool automatic = rfcalc::NoiseKindOf(record.Text(insertion[1].id)) == rfcalc::NoiseKind::Auto;
        if (!automatic && !CheckFields(record, std::span(insertion + 1, 1))) return false;
    }
    if (!CheckFields(record, kReceiver)) return false;

    rfcalc::ReceiveChain chain;
    chain.antennaGain_dB = record.Number(kAntennaGain);
    chain.antennaNoise_K = record.Number(kAntennaNoise);
    chain.waveguideLoss_dB = record.Number(kWaveguide);
    chain.lnaGain_dB = record.Number(kLnaGain);
    chain.lnaNoise = NoiseOf(record, kLnaNoise);
    for (int i = 0; i < rfcalc::kInsertionCount; ++i) {
        chain.insertionGain_dB[std::size_t(i)] = record.Number(InsertionGainId(i));
        chain.insertionNoise[std::size_t(i)] = NoiseOf(record, InsertionNoiseId(i));
    }
    chain.receiverNoise = NoiseOf(record, kReceiverNoise);

    const rfcalc::GainOverTemperature r = rfcalc::ChainGainOverTemperature(chain);
    if (!r.defined) {
        Warn(kNotPositiveText, kErrorCaption);
        return false;
    }
    record.SetText(kSystemTemperature, rfcalc::FormatFixed(r.systemTemperature_K, 3));
    record.SetText(kNoiseFigure, rfcalc::FormatFixed(r.noiseFigure_dB, 3));
    record.SetText(kGOverT, rfcalc::FormatFixed(r.gOverT_dBK, 3));
    return true;
}

namespace calculators {

void RegisterAntennaForms()
{
    RegisterCalculatorForm<TFocalMForm>(TFocalMForm::kCommand);
    RegisterCalculatorForm<TFocalfDForm>(TFocalfDForm::kCommand);
    RegisterCalculatorForm<TCalcBeamwidthForm>(TCalcBeamwidthForm::kCommand);
    RegisterCalculatorForm<TOffAxisForm>(TOffAxisForm::kCommand);
    RegisterCalculatorForm<TWndForm>(TWndForm::kCommand);
    RegisterCalculatorForm<TCalcGTForm>(TCalcGTForm::kCommand);
}

}  // namespace calculators
