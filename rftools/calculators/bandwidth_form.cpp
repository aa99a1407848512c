#include "rftools/calculators/bandwidth_form.h"

#include <QLineEdit>
#include <QAbstractButton>

#include "framework/forms/control_table.h"
#include "framework/forms/evaluate.h"
#include "linkbudget/modcod/modcod_dialog.h"
#include "rftools/calculators/calculator_rows.h"
#include "rftools/calculators/digital_bandwidth.h"
#include "rftools/calculators/result_text.h"

using platform::ControlSpec;

namespace {

constexpr int kField = 13;
constexpr int kModcodTextSize = 81;

constexpr HintEntry kCalcBWHints[] = {
    {TCalcBWForm::kInfoRate, 7139, "Information rate in Mbps (or symbol rate in Mbaud if option is flagged)"},
    {TCalcBWForm::kOverhead, 7215, "Signalling overhead, if any, added to the info rate"},
    {TCalcBWForm::kFec, 7216, "FEC code rate (typ. 0.5, 0.75 or 0.875)"},
    {TCalcBWForm::kSpreading, 7225, "Spreading gain (dB) for spread spectrum transmission (typ. 0)"},
    {TCalcBWForm::kRollOff, 7226, "(1 + roll off factor) (typ. 1.2)"},
    {TCalcBWForm::kSpacing, 7218, "Carrier spacing factor (typ. 1.4)"},
    {TCalcBWForm::kStep, 7219, "Allocated bandwidth incremental step size (typ. 0.100MHz)"},
    {TCalcBWForm::kSymbolRate, 7239, "Carrier symbol rate (Msymbols/sec)"},
    {TCalcBWForm::kOccupied, 7606, "Occupied bandwidth of the carrier in MHz"},
    {TCalcBWForm::kM, 7177, "Value of M for M-ary modulation scheme (Set M=2 for 1 bit/symbol schemes)"},
};

// The left column: labels, fields and the "i/p" buttons beside three of them.
const calcrows::Columns kLeft{210, 120};
constexpr int kInputButtonX = 340;
constexpr int kRightX = 410;

// The field each "i/p" button makes the input.
int FieldOf(int selector)
{
    switch (selector) {
    case TCalcBWForm::kSymbolRateInput: return TCalcBWForm::kSymbolRate;
    case TCalcBWForm::kOccupiedInput: return TCalcBWForm::kOccupied;
    default: return TCalcBWForm::kInfoRate;
    }
}

constexpr int kSelectors[] = {TCalcBWForm::kInfoRateInput, TCalcBWForm::kSymbolRateInput,
                              TCalcBWForm::kOccupiedInput};

}  // namespace

TCalcBWEntry::TCalcBWEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kCalcBWHints) {}

std::vector<ControlSpec> TCalcBWForm::ControlTable()
{
    using namespace controls;
    std::vector<ControlSpec> t;
    calcrows::AddRows(t, {{"Info. rate Mbps", kInfoRate, kField},
                          {"Overhead % info rate", kOverhead, kField},
                          {"FEC code rate", kFec, kField},
                          {"Spreading gain dB", kSpreading, kField},
                          {"(1 + Roll off factor)", kRollOff, kField},
                          {"Carrier spacing factor", kSpacing, kField},
                          {"BW allocation step MHz", kStep, kField},
                          {"Symbol rate (Mbaud)", kSymbolRate, kField},
                          {"Occupied Bandwidth MHz", kOccupied, kField},
                          {"Allocated Bandwidth (MHz)", kAllocated, kField, true},
                          {"Eb/No dB", kEbNo, kField, true},
                          {"Es/No dB", kEsNo, kField, true},
                          {"Spectral efficiency. bps/Hz", kEfficiency, kField, true}}, kLeft);

    const int m = calcrows::Y(0);
    t.push_back(Group("Modulation", kRightX, m, 250, 128));
    t.push_back(Radio(kOneBit, "1 bit/symbol", kRightX + 10, m + 20, 220, true));
    t.push_back(Radio(kPsk, "M-PSK / M-APSK", kRightX + 10, m + 44, 220));
    t.push_back(Radio(kQam, "M-QAM", kRightX + 10, m + 68, 220));
    t.push_back(Label("M=", kRightX + 10, m + 97, 30));
    t.push_back(Edit(kM, kField, kRightX + 45, m + 96, 100));

    t.push_back(Radio(kInfoRateInput, "i/p", kInputButtonX, calcrows::Y(0), 55, true));
    t.push_back(Radio(kSymbolRateInput, "i/p", kInputButtonX, calcrows::Y(7), 55));
    t.push_back(Radio(kOccupiedInput, "i/p", kInputButtonX, calcrows::Y(8), 55));

    t.push_back(Label("Modcod", calcrows::kLabelX, calcrows::Y(13) + 1, 190));
    t.push_back(ReadOnlyEdit(kModcodText, kModcodTextSize, kLeft.fieldX, calcrows::Y(13), 450));

    const int g = calcrows::Y(5);
    t.push_back(Group("Modcod", kRightX, g, 250, 118));
    t.push_back(Button(kDvbs, "DVBS", kRightX + 15, g + 22, 105));
    t.push_back(Button(kDvbs2x, "DVBS2X", kRightX + 130, g + 22, 105));
    t.push_back(Button(kNs3, "NS3", kRightX + 15, g + 54, 105));
    t.push_back(Button(kNs4, "NS4", kRightX + 130, g + 54, 105));
    t.push_back(Button(kManual, "Manual", kRightX + 15, g + 86, 105));
    return calcrows::WithButtons(std::move(t), 14);
}

TCalcBWForm::TCalcBWForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Digital Bandwidth Calculator", ControlTable())
{
    calcrows::MakeEntries<TCalcBWEntry>(this);
    for (int id : {kOneBit, kPsk, kQam}) new TModulationRadioButton(this, id);
    for (int id : kSelectors) {
        new TBWSelectRadioButton(this, id);
        SetHandler(id, [this, id] { CmInputSelector(id); });
        if (auto* b = qobject_cast<QAbstractButton*>(Control(id)))
            QObject::connect(b, &QAbstractButton::clicked, this, [this, id] { OnButton(id); });
    }
    SetHandler(kManual, [this] { CmManual(); });
    SetHandler(kDvbs, [this] { CmModcod(modcod::kDvbs); });
    SetHandler(kDvbs2x, [this] { CmModcod(modcod::kDvbs2); });
    SetHandler(kNs3, [this] { CmModcod(modcod::kNs3); });
    SetHandler(kNs4, [this] { CmModcod(modcod::kNs4); });
}

void TCalcBWForm::SetReadOnly(int id, bool readOnly)
{
    if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) edit->setReadOnly(readOnly);
}

bool TCalcBWForm::IsReadOnly(int id) const
{
    const auto* edit = qobject_cast<const QLineEdit*>(Control(id));
    return edit && edit->isReadOnly();
}

void TCalcBWForm::SetupWindow()
{
    TCalculatorForm::SetupWindow();
    ApplyInputSelector(kInfoRateInput);
    for (int id : kSelectors)
        if (GetCheck(id) != 0) ApplyInputSelector(id);
}

void TCalcBWForm::ApplyInputSelector(int id)
{
    for (int selector : kSelectors) SetReadOnly(FieldOf(selector), selector != id);
}

void TCalcBWForm::CmInputSelector(int id)
{
    SetCheck(id, 1);
    ApplyInputSelector(id);
}

void TCalcBWForm::ClearDefaults(CalculatorRecord& record)
{
    record.SetOn(kPsk, true);
    record.SetOn(kInfoRateInput, true);
}

void TCalcBWForm::CmManual()
{
    CalculatorRecord record = ReadRecord();
    record.SetText(kModcodText, "Manual");
    WriteRecord(record);
}

void TCalcBWForm::CmModcod(int standard)
{
    CalculatorRecord record = ReadRecord();
    const double rate = record.Number(kInfoRate);
    if (rate == 0.0) {
        Warn(kNoRateText, kNoRateCaption);
        return;
    }
    TGetModcodDlg dialog(this, standard);
    if (dialog.Execute() != platform::IDOK) return;
    const ModcodSelection& s = dialog.Selection();

    record.SetText(kModcodText, s.text);
    record.SetText(kFec, rfcalc::FormatFixed(rfcalc::ModcodCodeRate(s.efficiency, s.log2M), 4));
    record.SetText(kM, std::to_string(s.m));
    record.SetText(kEbNo, rfcalc::FormatFixed(s.ebNo, 2));
    record.SetText(kEsNo, rfcalc::FormatFixed(s.esNo, 2));
    record.SetText(kEfficiency, rfcalc::FormatFixed(s.efficiency, 6));
    // DVB-S2X's BPSK rows are one bit a symbol; DVB-S's 16-QAM rows are QAM.
    const bool oneBit = standard == modcod::kDvbs2 && s.type == 0;
    const bool qam = standard == modcod::kDvbs && s.type == 2;
    record.SetOn(kOneBit, oneBit);
    record.SetOn(kPsk, !oneBit && !qam);
    record.SetOn(kQam, qam);
    WriteRecord(record);
    OnButton(platform::IDOK);
}

bool TCalcBWForm::Calculate(CalculatorRecord& record)
{
    // A record never stored has no "i/p" on: the information rate is the
    // input, and is checked as such.
    const bool symbolIn = record.On(kSymbolRateInput);
    const bool occupiedIn = record.On(kOccupiedInput);
    const bool infoIn = record.On(kInfoRateInput) || (!symbolIn && !occupiedIn);
    const CalculatorCheck info{kInfoRate, "Information rate", FieldType::Real, 0.00001, 6000, "Mbps"};
    static constexpr CalculatorCheck kBeforeFec[] = {{kOverhead, "Overhead", FieldType::Real, 0, 100, "%"}};
    static constexpr CalculatorCheck kAfterFec[] = {
        {kSpreading, "Spreading Gain", FieldType::Real, 0, 30, "dB"},
        {kRollOff, "Roll off factor + 1", FieldType::Real, 1, 2, ""},
        {kSpacing, "Carrier spacing factor", FieldType::Real, 0.5, 3, ""},
        {kStep, "Allocated bandwidth step size", FieldType::Real, 0, 10, "MHz"},
    };
    const CalculatorCheck symbol{kSymbolRate, "Symbol rate", FieldType::Real, 0.00001, 6000, "Mbaud"};
    const CalculatorCheck occupied{kOccupied, "Occupied Bandwidth", FieldType::Real, 0.00001, 6000, "MHz"};

    if (infoIn && !CheckFields(record, std::span(&info, 1))) return false;
    if (!CheckFields(record, kBeforeFec)) return false;
    if (!CheckFraction(record.Text(kFec), 0.001, 1.0, "FEC")) return false;
    if (!CheckFields(record, kAfterFec)) return false;
    if (symbolIn && !CheckFields(record, std::span(&symbol, 1))) return false;
    if (occupiedIn && !CheckFields(record, std::span(&occupied, 1))) return false;
    if (!CheckMary(record.Text(kM), record.On(kOneBit), record.On(kQam))) return false;
    if (!CheckCarrierSpacing(record.Text(kRollOff), record.Text(kSpacing))) return false;

    rfcalc::BandwidthInputs in;
    in.input = rfcalc::ChosenBandwidthInput(symbolIn, occupiedIn);
    in.informationRate_Mbps = record.Number(kInfoRate);
    in.overhead_percent = record.Number(kOverhead);
    TEvaluate evaluate;
    const std::string fec = record.Text(kFec);
    in.codeRate = evaluate.Evaluate(fec.c_str(), 1.0, 0, 0);
    in.spreadingGain_dB = record.Number(kSpreading);
    in.rollOffPlusOne = record.Number(kRollOff);
    in.spacingFactor = record.Number(kSpacing);
    in.step_MHz = record.Number(kStep);
    in.symbolRate_Mbaud = record.Number(kSymbolRate);
    in.occupied_MHz = record.Number(kOccupied);
    in.m = record.Number(kM);

    const rfcalc::BandwidthResult r = rfcalc::DigitalBandwidth(in);
    if (in.input != rfcalc::BandwidthInput::InformationRate)
        record.SetText(kInfoRate, rfcalc::FormatFixed(r.informationRate_Mbps, 4));
    record.SetText(kSymbolRate, rfcalc::FormatFixed(r.symbolRate_Mbaud, 4));
    record.SetText(kOccupied, rfcalc::FormatFixed(r.occupied_MHz, 4));
    record.SetText(kAllocated, rfcalc::FormatFixed(r.allocated_MHz, 4));
    return true;
}

namespace calculators {

void RegisterBandwidthForm() { RegisterCalculatorForm<TCalcBWForm>(TCalcBWForm::kCommand); }

}  // namespace calculators
