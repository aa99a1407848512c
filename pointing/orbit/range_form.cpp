#include "pointing/orbit/range_form.h"

#include <string>

#include "framework/forms/control_table.h"
#include "framework/output/report_format.h"
#include "propagation/coordinates.h"

using platform::ControlSpec;

namespace {

// The result fields have no hint: the status bar clears.
constexpr HintEntry kRangeHints[] = {
    {TRangeForm::kHeight, 810, "Enter orbital height of satellite in km"},
    {TRangeForm::kElevation, 811, "Enter elevation of satellite in degrees from earth station"},
    {TRangeForm::kFrequency, 7115, "Frequency (1 to 100 GHz)"},
};

constexpr int kLabelX = 10;
constexpr int kLabelWidth = 200;
constexpr int kFieldX = 220;
constexpr int kFieldWidth = 130;
constexpr int kPitch = 30;

std::string TwoDecimals(double value) { return ReportFormat("%.2f", value); }

}  // namespace

TRangeEntry::TRangeEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, kRangeHints) {}

std::vector<ControlSpec> TRangeForm::ControlTable()
{
    using namespace controls;
    struct Row {
        int id;
        const char* label;
        bool result;
    };
    static constexpr Row kRows[] = {
        {kHeight, "Orbital altitude km", false},       {kElevation, "Elevation degrees", false},
        {kFrequency, "Carrier frequency GHz", false},  {kSlantRange, "Slant range km =", true},
        {kVelocity, "Orbital velocity m/s =", true},   {kPeriod, "Orbital period s =", true},
        {kDoppler, "Doppler shift kHz =", true},
    };
    std::vector<ControlSpec> t;
    int y = 14;
    for (const Row& r : kRows) {
        t.push_back(Label(r.label, kLabelX, y + 1, kLabelWidth));
        t.push_back(r.result ? ReadOnlyEdit(r.id, kFieldSize, kFieldX, y, kFieldWidth)
                             : Edit(r.id, kFieldSize, kFieldX, y, kFieldWidth));
        y += kPitch;
    }
    for (ControlSpec& b : CalculatorButtons(y + 8)) t.push_back(std::move(b));
    return t;
}

TRangeForm::TRangeForm(QWidget* parent)
    : TCalculatorForm(parent, kCommand, "Calculate Slant Range and Doppler Shift", ControlTable())
{
    for (int id : {kHeight, kElevation, kFrequency, kSlantRange, kVelocity, kPeriod, kDoppler})
        new TRangeEntry(this, id, kFieldSize);
}

bool TRangeForm::Calculate(CalculatorRecord& record)
{
    static constexpr CalculatorCheck kChecks[] = {
        {kHeight, "Orbital height (km)", FieldType::Real, 0.1, 2000000, "km"},
        {kElevation, "Elevation degrees", FieldType::Real, 0, 90, "degrees"},
        {kFrequency, "Carrier frequency GHz ", FieldType::Real, 0.0007, 55, "GHz"},
    };
    if (!CheckFields(record, kChecks)) return false;
    double velocity = 0.0, doppler = 0.0, period = 0.0;
    const double slant_m = OrbitRangeDoppler(record.Number(kHeight), record.Number(kElevation),
                                             record.Number(kFrequency), &velocity, &doppler, &period);
    record.SetText(kSlantRange, TwoDecimals(slant_m * 0.001));
    record.SetText(kVelocity, TwoDecimals(velocity));
    record.SetText(kPeriod, TwoDecimals(period));
    record.SetText(kDoppler, TwoDecimals(doppler));
    return true;
}

namespace orbit {

void RegisterRangeCalculator() { RegisterCalculatorForm<TRangeForm>(TRangeForm::kCommand); }

}  // namespace orbit
