#include "rftools/calculators/link_forms.h"

#include <vector>

#include "framework/databases/pickers.h"
#include "framework/app/orbiscope.h"
#include "framework/forms/control_table.h"
#include "propagation/coordinates.h"
#include "propagation/rain.h"
#include "rftools/calculators/calculator_rows.h"
#include "rftools/calculators/link_level.h"
#include "rftools/calculators/result_text.h"

using platform::ControlSpec;

namespace {

constexpr int kInput = 13;
constexpr int kOutput = 41;
constexpr int kShort = 13;

constexpr const char* kDegrees = "\xB0";   // Latin-1 degree sign

constexpr HintEntry kEsNoHint = {2713, 7339, "Required EsNo in dB"};
constexpr HintEntry kDegrToCimHints[] = {kEsNoHint, {TDegrToCimForm::kDegradation, 7341, "Non-linear degradation in dB"}};
constexpr HintEntry kCimToDegrHints[] = {kEsNoHint, {TCimToDegrForm::kCim, 7340, "Downlink C/IM in dB"}};
constexpr HintEntry kPowSumHints[] = {{kAnyControl, 9210, "Enter a power ratio value in dB"}};
constexpr HintEntry kPowerHints[] = {
    {TPowerForm::kPower, 7241, "Total power available at HPA output flange (W)"},
    {TPowerForm::kBandwidth, 7242, "Occupied bandwidth (MHz)"},
};
constexpr HintEntry kSdivHints[] = {
    {TSdivForm::kSeparation, 2805, "Separation (km) between the two sites"},
    {TSdivForm::kAttenuation, 2806, "Path rain attenuation (dB) for a single site"},
    {TSdivForm::kFrequency, 7115, "Frequency (1 to 100 GHz)"},
    {TSdivForm::kElevation, 7191, "Antenna elevation angle (1\xB0 to 90\xB0)"},
    {TSdivForm::kBaselineAngle, 2807, "Angle (deg) between AZ of propagation path and baseline of sites (<90)"},
};
constexpr HintEntry kSigAvailHints[] = {
    {TSigAvailForm::kWorstMonth, 7172, "Worst month availability to convert (97.0 to 99.999%)"}};
constexpr HintEntry kAntNoiseHints[] = {
    {TAntNoiseForm::kLatitude, 7109, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
    {TAntNoiseForm::kLongitude, 7110, "Earth station longitude (0 to 180 degrees, suffix E or W)"},
    {TAntNoiseForm::kSatellite, 7113, "Orbital slot of satellite (0 to 180 degrees, suffix E or W)"},
    {TAntNoiseForm::kEfficiency, 7117, "Antenna efficiency(%) or prefix with '+' for a gain(dBi) for link budgets"},
    {TAntNoiseForm::kFrequency, 7115, "Frequency (1 to 100 GHz)"},
};

constexpr CalculatorCheck kEsNoCheck = {2713, "Reqd EsNo", FieldType::Real, -10, 100, "dB"};

}  // namespace

// clang-format off
TDegrToCimEntry::TDegrToCimEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kDegrToCimHints) {}
TCimToDegrEntry::TCimToDegrEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kCimToDegrHints) {}
TPowSumEntry::TPowSumEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kPowSumHints) {}
TPowerEntry::TPowerEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kPowerHints) {}
TSdivEntry::TSdivEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kSdivHints) {}
TSigAvailEntry::TSigAvailEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kSigAvailHints) {}
TAntNoiseEntry::TAntNoiseEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kAntNoiseHints) {}
// clang-format on

// ---- degradation to C/IM ----------------------------------------------------------

std::vector<ControlSpec> TDegrToCimForm::ControlTable()
{
    return calcrows::Table({{"Required Es/No dB", kEsNo, kInput},
                            {"Degradation dB", kDegradation, kInput},
                            {"Equivalent C/IM dB = ", kResult, kOutput, true}});
}

TDegrToCimForm::TDegrToCimForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Convert Degradation to C/IM", ControlTable())
{
    calcrows::MakeEntries<TDegrToCimEntry>(this);
}

bool TDegrToCimForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        kEsNoCheck,
        {kDegradation, "Non Linear Degradation", FieldType::Real, 0.01, 10, "dB"},
    };
    if (!CheckFields(record, kChecks)) return false;
    const double cim = rfcalc::DegradationToCim(record.Number(kEsNo), record.Number(kDegradation));
    record.SetText(kResult, rfcalc::FormatFixed(cim, 2));
    return true;
}

// ---- C/IM to degradation ----------------------------------------------------------

std::vector<ControlSpec> TCimToDegrForm::ControlTable()
{
    return calcrows::Table({{"Required Es/No dB", kEsNo, kInput},
                            {"C/IM dB", kCim, kInput},
                            {"Equivalent Degradation dB = ", kResult, kOutput, true}});
}

TCimToDegrForm::TCimToDegrForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Convert C/IM to Degradation", ControlTable())
{
    calcrows::MakeEntries<TCimToDegrEntry>(this);
}

bool TCimToDegrForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {kEsNoCheck, {kCim, "C/IM", FieldType::Real, 1, 300, "dB"}};
    if (!CheckFields(record, kChecks)) return false;
    const std::optional<double> degradation = rfcalc::CimToDegradation(record.Number(kEsNo), record.Number(kCim));
    if (!degradation) {
        Warn(kNotAboveText, kErrorCaption);
        return false;
    }
    record.SetText(kResult, rfcalc::FormatFixed(*degradation, 2));
    return true;
}

// ---- power ratio addition ---------------------------------------------------------

std::vector<ControlSpec> TPowSumForm::ControlTable()
{
    using namespace controls;
    std::vector<ControlSpec> t;
    calcrows::AddRows(t, {{"Value 1 dB", kValue1, kInput}, {"Value 2 dB", kValue2, kInput}});
    // Values 3 to 5 have their "Include" box in place of a label.
    for (int i = 0; i < 3; ++i) t.push_back(Edit(kValue3 + i, kInput, calcrows::kFieldX, calcrows::Y(2 + i), 140));
    calcrows::AddRows(t, {{"Power Ratio Total dB", kTotal, kShort, true}}, {}, 5);
    t.push_back(Check(kInclude3, "Include Value 3 dB", calcrows::kLabelX, calcrows::Y(2), 260));
    t.push_back(Check(kInclude4, "Include value 4 dB", calcrows::kLabelX, calcrows::Y(3), 260));
    t.push_back(Check(kInclude5, "Include value 5 dB", calcrows::kLabelX, calcrows::Y(4), 260));
    return calcrows::WithButtons(std::move(t), 6);
}

TPowSumForm::TPowSumForm(QWidget* parent) : TCalculatorForm(parent, kCommand, "Power Ratio Addition", ControlTable())
{
    calcrows::MakeEntries<TPowSumEntry>(this);
    for (int id : {kInclude3, kInclude4, kInclude5}) new TIncludeCheckBox(this, id);
}

bool TPowSumForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kValue1, "Value 1", FieldType::Real, -1000, 1000, "dB"},
        {kValue2, "Value 2", FieldType::Real, -1000, 1000, "dB"},
        {kValue3, "Value 3", FieldType::Real, -1000, 1000, "dB"},
        {kValue4, "Value 4", FieldType::Real, -1000, 1000, "dB"},
        {kValue5, "Value 5", FieldType::Real, -1000, 1000, "dB"},
    };
    static constexpr int kIncludes[] = {0, 0, kInclude3, kInclude4, kInclude5};
    std::vector<double> values;
    for (int i = 0; i < 5; ++i) {
        // A value whose box is off is neither checked nor used.
        if (kIncludes[i] != 0 && !record.On(kIncludes[i])) continue;
        if (!CheckFields(record, std::span(kChecks + i, 1))) return false;
        values.push_back(record.Number(kChecks[i].id));
    }
    record.SetText(kTotal, rfcalc::FormatFixed(rfcalc::PowerRatioSum(values), 2));
    return true;
}

// ---- flange power density ---------------------------------------------------------

std::vector<ControlSpec> TPowerForm::ControlTable()
{
    return calcrows::Table({{"Total output power W", kPower, kInput},
                            {"Bandwidth MHz", kBandwidth, kInput},
                            {"Flange power density W/Hz =", kWattsPerHz, kOutput, true},
                            {"Flange EIRP density dBW/Hz =", kDbwPerHz, kOutput, true},
                            {"Flange EIRP density dBW/4kHz =", kDbwPer4kHz, kOutput, true}});
}

TPowerForm::TPowerForm(QWidget* parent) : TCalculatorForm(parent, kCommand, "Flange Power Density", ControlTable())
{
    calcrows::MakeEntries<TPowerEntry>(this);
}

bool TPowerForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kPower, "HPA power at output flange", FieldType::Real, 1, 2000, "Watts"},
        {kBandwidth, "Occupied bandwidth", FieldType::Real, 0.00001, 6000, "MHz"},
    };
    if (!CheckFields(record, kChecks)) return false;
    const rfcalc::FlangeDensity d = rfcalc::FlangePowerDensity(record.Number(kPower), record.Number(kBandwidth));
    record.SetText(kWattsPerHz, rfcalc::FormatFixed(d.wattsPerHz, 8));
    record.SetText(kDbwPerHz, rfcalc::FormatFixed(d.dBWPerHz, 2));
    record.SetText(kDbwPer4kHz, rfcalc::FormatFixed(d.dBWPer4kHz, 2));
    return true;
}

// ---- site diversity gain ----------------------------------------------------------

std::vector<ControlSpec> TSdivForm::ControlTable()
{
    const calcrows::Columns wide{400, calcrows::kFieldWidth};   // room for the baseline label
    return calcrows::Table({{"Separation between two sites  km", kSeparation, kInput},
                            {"Rain attenuation at site  A  dB", kAttenuation, kInput},
                            {"Frequency  GHz", kFrequency, kInput},
                            {"Antenna elevation at site A  degrees", kElevation, kInput},
                            {" AZ angle of propagation path to sites baseline degrees", kBaselineAngle, kInput},
                            {"Site diversity gain dB", kResult, kShort, true}}, wide);
}

TSdivForm::TSdivForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Site Diversity Gain (<20km separation)", ControlTable())
{
    calcrows::MakeEntries<TSdivEntry>(this);
}

bool TSdivForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kSeparation, "Separation between sites km", FieldType::Real, 0, 20, "km"},
        {kAttenuation, "Rain attenuation at site dB", FieldType::Real, 0, 100, "dB"},
        {kFrequency, "Frequency GHz", FieldType::Real, 0.0007, 55, "GHz"},
        {kElevation, "Antenna elevation at site", FieldType::Real, 5, 90, "degrees"},
        {kBaselineAngle, "AZ angle between sites baseline and propagation path  degrees", FieldType::Real, 0, 90,
         "degrees"},
    };
    if (!CheckFields(record, kChecks)) return false;
    const double gain = SiteDiversityGain(record.Number(kSeparation), record.Number(kAttenuation),
                                          record.Number(kFrequency), record.Number(kElevation),
                                          record.Number(kBaselineAngle));
    record.SetText(kResult, rfcalc::FormatFixed(gain, 2));
    return true;
}

// ---- worst month to average year --------------------------------------------------

std::vector<ControlSpec> TSigAvailForm::ControlTable()
{
    using namespace controls;
    std::vector<ControlSpec> t;
    calcrows::AddRows(t, {{"Worst month %", kWorstMonth, kInput}});
    const char* const labels[] = {
        "Average year % (global planning) =",
        "Average year % (tropical, sub tropical  and temperate regions) =",
        "Average year % (dry temperate, polar and desert regions) =",
    };
    const int ids[] = {kGlobal, kTropical, kDry};
    // The labels are long: each stands on its own line above its field.
    for (int i = 0; i < 3; ++i) {
        const int y = calcrows::Y(1 + 2 * i);
        t.push_back(Label(labels[i], calcrows::kLabelX, y + 1, 430));
        t.push_back(ReadOnlyEdit(ids[i], kOutput, calcrows::kFieldX, y + calcrows::kPitch, 140));
    }
    return calcrows::WithButtons(std::move(t), 7);
}

TSigAvailForm::TSigAvailForm(QWidget* parent) : TCalculatorForm(parent, kCommand, "Convert Availability", ControlTable())
{
    calcrows::MakeEntries<TSigAvailEntry>(this);
}

bool TSigAvailForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kWorstMonth, "Worst month signal availability", FieldType::Real, 40, 99.99999, "%"}};
    if (!CheckFields(record, kChecks)) return false;
    const rfcalc::AverageYearAvailability a = rfcalc::AverageYearFromWorstMonth(record.Number(kWorstMonth));
    auto shown = [](const std::optional<double>& v) { return v ? rfcalc::FormatFixed(*v, 4) : std::string("Invalid"); };
    record.SetText(kGlobal, shown(a.globalPlanning));
    record.SetText(kTropical, shown(a.tropicalTemperate));
    record.SetText(kDry, shown(a.dryPolarDesert));
    return true;
}

// ---- antenna noise ----------------------------------------------------------------

std::vector<ControlSpec> TAntNoiseForm::ControlTable()
{
    using namespace controls;
    std::vector<ControlSpec> t;
    calcrows::AddRows(t, {{"Site latitude \xB0", kLatitude, kInput},
                          {"Site longitude \xB0", kLongitude, kInput},
                          {"Satellite longitude \xB0", kSatellite, kInput},
                          {"Antenna efficiency %", kEfficiency, kInput},
                          {"Frequency GHz", kFrequency, kInput},
                          {"Estimated antenna noise K =", kResult, kShort, true}});
    t.push_back(Button(kSiteButton, "Site", calcrows::kLabelX, calcrows::Y(6) + 4));
    t.push_back(Button(kSatelliteButton, "Satellite", 100, calcrows::Y(6) + 4));
    return calcrows::WithButtons(std::move(t), 7);
}

TAntNoiseForm::TAntNoiseForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Estimate Antenna Noise", ControlTable())
{
    calcrows::MakeEntries<TAntNoiseEntry>(this);
    SetHandler(kSiteButton, [this] { CmSite(); });
    SetHandler(kSatelliteButton, [this] { CmSatellite(); });
}

void TAntNoiseForm::CmSite()
{
    TOrbiscope* app = App();
    if (!app || !databases::PickTown(this)) return;
    CalculatorRecord record = ReadRecord();
    record.SetText(kLatitude, app->PickedSiteLatitude);
    record.SetText(kLongitude, app->PickedSiteLongitude);
    WriteRecord(record);
}

void TAntNoiseForm::CmSatellite()
{
    TOrbiscope* app = App();
    if (!app || !databases::PickSatellite(this)) return;
    CalculatorRecord record = ReadRecord();
    record.SetText(kSatellite, app->PickedSatLongitude);
    WriteRecord(record);
}

bool TAntNoiseForm::Calculate(CalculatorRecord& record)
{
    const std::string northSouth = std::string(kDegrees) + "N," + kDegrees + "S";
    const std::string westEast = std::string(kDegrees) + "W," + kDegrees + "E";
    const CalculatorCheck checks[] = {
        {kLatitude, "Site latitude", FieldType::Latitude, 0, 90, northSouth.c_str()},
        {kLongitude, "Site longitude", FieldType::Longitude, 0, 180, westEast.c_str()},
        {kSatellite, "Satellite longitude", FieldType::Longitude, 0, 180, westEast.c_str()},
        {kEfficiency, "Antenna efficiency", FieldType::Real, 20, 100, "%"},
        {kFrequency, "Frequency", FieldType::Real, 0.0007, 55, "GHz"},
    };
    if (!CheckFields(record, checks)) return false;
    const rfcalc::AntennaNoiseEstimate noise =
        rfcalc::EstimateAntennaNoise(ParseLatLon(record.Text(kLatitude)), ParseLatLon(record.Text(kLongitude)),
                                     ParseLatLon(record.Text(kSatellite)), record.Number(kEfficiency),
                                     record.Number(kFrequency));
    if (!noise.visible) {
        Warn(kBelowHorizonText, "Elevation Error");
        return false;
    }
    record.SetText(kResult, rfcalc::FormatFixed(noise.noise_K, 2));
    return true;
}

namespace calculators {

void RegisterLinkForms()
{
    RegisterCalculatorForm<TDegrToCimForm>(TDegrToCimForm::kCommand);
    RegisterCalculatorForm<TCimToDegrForm>(TCimToDegrForm::kCommand);
    RegisterCalculatorForm<TPowSumForm>(TPowSumForm::kCommand);
    RegisterCalculatorForm<TPowerForm>(TPowerForm::kCommand);
    RegisterCalculatorForm<TSdivForm>(TSdivForm::kCommand);
    RegisterCalculatorForm<TSigAvailForm>(TSigAvailForm::kCommand);
    RegisterCalculatorForm<TAntNoiseForm>(TAntNoiseForm::kCommand);
}

}  // namespace calculators
