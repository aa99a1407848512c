// TRgnDownLinkWin: the document window of the isolated downlink
// budget.  It owns the budget, recalculates, writes the report and reads and
// writes "*.rdn" (and older "*.dlb", "*.dnd") documents.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/output/mywindow.h"
#include "linkbudget/isolated/downlink_budget.h"

class TRgnDownLinkWin : public TMyWindow, public GeoLinkHost {
public:
    static constexpr int kWindowType = 17;
    static constexpr int kEditCommand = 5525;

    TRgnDownLinkWin(QWidget* parent, const char* title, const char* fileName);
    ~TRgnDownLinkWin() override;

    void SetupWindow() override;
    void EvSetFocus() override;

    // Command 5525: the input dialog on the record; OK recalculates.
    void CmEditInputs();

    // The whole budget from the record, its report and its error message.
    void Recalculate();
    void BuildReport();

    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;

    double PolarizationTerm(double latitude, double longitudeDifference, const char* polarization) override;
    bool CheckLowElevation(double elevation) override;

    RgnDownlinkBudget& Budget() { return *budget_; }
    DownlinkInputRecord& Record() { return budget_->record; }

    std::int32_t DialogPage = 0;   // page of the input dialog last shown
    bool InterferenceCI = false;   // interference entered as C/I in dB

    // The propagation seam of every window made from now on (null: the
    // ITU-R models over the loaded maps).
    static void SetAtmosphere(LinkAtmosphere* atmosphere);

private:
    std::unique_ptr<RgnDownlinkBudget> budget_;
};
