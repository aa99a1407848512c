// The slant range and Doppler calculator (Calculate > Slant Range and Doppler
// Shift): for a satellite in a circular orbit, from its height, the elevation
// at which a station sees it and the carrier frequency, the slant range, the
// orbital velocity and period and the Doppler shift.  A calculator like the
// others of the menu: OK computes and keeps the dialog open, Cancel keeps the
// seven fields for the next opening.
#pragma once

#include <vector>

#include "framework/forms/calculator.h"

class TRangeEntry : public THintedEdit {
public:
    TRangeEntry(TForm* parent, int id, int textLimit);
};

// Dialog 805; its record is seven char[13] texts (91 bytes): height,
// elevation, frequency, then the four results.
class TRangeForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 1317;
    enum ControlId : int {
        kHeight = 806, kElevation = 807, kFrequency = 208,
        kSlantRange = 5604, kVelocity = 808, kPeriod = 809, kDoppler = 810,
    };
    static constexpr int kFieldSize = 13;

    explicit TRangeForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    bool Calculate(CalculatorRecord& record) override;
};

namespace orbit {
// Binds command 1317 to the dialog.
void RegisterRangeCalculator();
}  // namespace orbit
