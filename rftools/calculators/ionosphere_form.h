// The ionospheric scintillation calculator (dialog 3100, 81 bytes): the
// fluctuation, scintillation index and one-way loss of an equatorial low-GHz
// path for a sunspot-number range, and the reference map of the
// scintillation regions.
#pragma once

#include <vector>

#include "framework/forms/calculator.h"
#include "rftools/calculators/ionospheric_scintillation.h"

// clang-format off
class TIonEntry : public THintedEdit { public: TIonEntry(TForm* parent, int id, int textLimit); };
class TEWRadioButton : public THintedRadioButton { public: TEWRadioButton(TForm* parent, int id); };
class TSSNRadioButton : public THintedRadioButton { public: TSSNRadioButton(TForm* parent, int id); };
// clang-format on

class TIonForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 1313;
    enum ControlId : int {
        kFrequency = 208, kAvailability = 4516, kFluctuation = 1310, kIndex = 1311, kLoss = 1312,
        kEast = 1308, kWest = 1309,
        kSunspot10to15 = 1301, kSunspot12to26 = 1302, kSunspot20to70 = 1303, kSunspot44to110 = 1304,
        kSunspot110to160 = 1306, kSunspot153to165 = 1307,
        kRefMap = 133,
    };
    // The Map menu's scintillation picture, which "Ref. Map" opens through the
    // main window.
    static constexpr int kScintillationMapCommand = 6222;
    static constexpr const char* kNoRangeCaption = "Sun Spot Number Range";
    static constexpr const char* kNoRangeText = "Select a sun spot number range";

    explicit TIonForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

    void CmRefMap();

protected:
    bool Calculate(CalculatorRecord& record) override;

private:
    static std::optional<rfcalc::SunspotRange> RangeOf(const CalculatorRecord& record);
};

namespace calculators {
void RegisterIonosphereForm();
}  // namespace calculators
