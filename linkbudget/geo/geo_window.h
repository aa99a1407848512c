// TUpLinkWin: the document window of the GEO bent-pipe link budget.  It owns
// the budget (input record, parsed values, results), runs the input dialog,
// recalculates, writes the report and reads and writes "*.glb" documents
// (and the older "*.upd" generation).
#pragma once

#include <cstdint>
#include <memory>

#include "framework/output/mywindow.h"
#include "linkbudget/geo/geo_budget.h"
#include "linkbudget/geo/geo_document.h"

class TUpLinkWin : public TMyWindow, public GeoLinkHost {
public:
    static constexpr int kWindowType = 10;
    static constexpr int kEditCommand = 6114;
    static constexpr std::uint16_t kFileVersion = kGeoFileVersion;

    // No parent and no title for document windows; a null file name gives an
    // empty window with the defaults of a new budget.
    TUpLinkWin(QWidget* parent, const char* title, const char* fileName);
    ~TUpLinkWin() override;

    void SetupWindow() override;
    void EvSetFocus() override;

    // Command 6114: the input dialog; OK recalculates.
    void CmEditInputs();
    // The whole budget from the record, its report and its error message.
    void Recalculate();
    void BuildReport();
    void BuildDualFadeSections();

    // ---- documents ----
    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;

    // ---- what the budget asks of its window ----
    double PolarizationTerm(double latitude, double longitudeDifference, const char* polarization) override;
    bool CheckLowElevation(double elevation) override;

    GeoLinkBudget& Budget() { return *budget_; }
    const GeoLinkBudget& Budget() const { return *budget_; }
    GeoLinkInputRecord& Record() { return budget_->record; }

    // State the input dialog keeps in the window between its runs.
    std::int32_t DialogPage = 0;           // page last shown, 0-6
    bool UpInterferenceCI = false;         // 1: uplink interference entered as C/I in dB
    bool DnInterferenceCI = false;

    // The propagation seam of every window made from now on (null: the
    // ITU-R models over the loaded maps).  Tests put a fixed atmosphere here.
    static void SetAtmosphere(LinkAtmosphere* atmosphere);

private:
    std::unique_ptr<GeoLinkBudget> budget_;
};
