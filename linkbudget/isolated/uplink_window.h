// TRgnUpLinkWin: the document window of the isolated (regenerative) uplink
// budget.  It owns the budget, recalculates, writes the report and reads and
// writes "*.rup" documents.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/output/mywindow.h"
#include "linkbudget/isolated/uplink_budget.h"

class TRgnUpLinkWin : public TMyWindow, public GeoLinkHost {
public:
    static constexpr int kWindowType = 15;
    static constexpr int kEditCommand = 5524;

    TRgnUpLinkWin(QWidget* parent, const char* title, const char* fileName);
    ~TRgnUpLinkWin() override;

    void SetupWindow() override;
    void EvSetFocus() override;

    // Command 5524: the input dialog on the record; OK recalculates.
    void CmEditInputs();

    // The whole budget from the record, its report and its error message.
    void Recalculate();
    void BuildReport();

    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;

    double PolarizationTerm(double latitude, double longitudeDifference, const char* polarization) override;
    bool CheckLowElevation(double elevation) override;

    RgnUplinkBudget& Budget() { return *budget_; }
    UplinkInputRecord& Record() { return budget_->record; }

    bool InterferenceCI = false;   // interference entered as C/I in dB
    std::int32_t DialogPage = 0;   // page of the input dialog last shown

    // The propagation seam of every window made from now on (null: the
    // ITU-R models over the loaded maps).
    static void SetAtmosphere(LinkAtmosphere* atmosphere);

private:
    std::unique_ptr<RgnUplinkBudget> budget_;
};
