// The digital bandwidth calculator (dialog 2850, 275 bytes): information
// rate, symbol rate, occupied and allocated bandwidth of a digital carrier.
// One of the first three is the input, chosen with its "i/p" button; the
// modulation and FEC are typed or taken from a modcod table of one of four
// standards through the "Select Modcod" dialog.
#pragma once

#include <vector>

#include "framework/forms/calculator.h"

class TCalcBWEntry : public THintedEdit {
public:
    TCalcBWEntry(TForm* parent, int id, int textLimit);
};

class TCalcBWForm : public TCalculatorForm {
public:
    static constexpr int kCommand = 6531;
    enum ControlId : int {
        kInfoRate = 14001, kOverhead = 14045, kFec = 14043, kSpreading = 14068, kRollOff = 14054,
        kSpacing = 14069, kStep = 14055, kSymbolRate = 2851, kOccupied = 2852, kAllocated = 2853,
        kEbNo = 2841, kEsNo = 2842, kEfficiency = 2846,
        kOneBit = 4739, kPsk = 4740, kQam = 4741, kM = 4742,
        kInfoRateInput = 2843, kSymbolRateInput = 2844, kOccupiedInput = 2845,
        kModcodText = 242,
        kDvbs = 137, kDvbs2x = 136, kNs3 = 139, kNs4 = 140, kManual = 119,
    };
    static constexpr const char* kNoRateCaption = "Error";
    static constexpr const char* kNoRateText = "Info Rate and optional overhead must be entered";

    explicit TCalcBWForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

    // Shows the stored record, then makes writable only the field whose
    // "i/p" button is on (the information rate when none is).
    void SetupWindow() override;
    // An "i/p" button: its field becomes the input, the other two results.
    void CmInputSelector(int id);
    void CmManual();
    // standard: 0 DVB-S, 1 DVB-S2X, 2 NS3, 3 NS4.
    void CmModcod(int standard);

    bool IsReadOnly(int id) const;

protected:
    bool Calculate(CalculatorRecord& record) override;
    void ClearDefaults(CalculatorRecord& record) override;

private:
    // The read-only states of an "i/p" button, its radio left as it is.
    void ApplyInputSelector(int id);
    void SetReadOnly(int id, bool readOnly);
};

namespace calculators {
void RegisterBandwidthForm();
}  // namespace calculators
