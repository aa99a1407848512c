// TLeoLinkWin: the document window of the non-GEO bent-pipe link budget.  It
// keeps the non-GEO input record (each earth station types the satellite's
// elevation, range and longitude difference, each link one C/ASI figure) and
// runs the same budget engine as the GEO window on it.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/output/mywindow.h"
#include "linkbudget/geo/geo_budget.h"
#include "linkbudget/nongeo/nongeo_document.h"
#include "linkbudget/nongeo/nongeo_record.h"

class TLeoLinkWin : public TMyWindow, public GeoLinkHost {
public:
    static constexpr int kWindowType = 16;
    static constexpr int kEditCommand = 6126;
    static constexpr std::uint16_t kFileVersion = kNonGeoFileVersion;

    TLeoLinkWin(QWidget* parent, const char* title, const char* fileName);
    ~TLeoLinkWin() override;

    void SetupWindow() override;
    void EvSetFocus() override;

    // Command 6126: the input dialog; OK recalculates.
    void CmEditInputs();
    // The budget from the record, its report and its error message.
    void Recalculate();
    void BuildReport();
    void BuildDualFadeSections();

    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;

    double PolarizationTerm(double latitude, double longitudeDifference, const char* polarization) override;
    bool CheckLowElevation(double elevation) override;

    NonGeoLinkInputRecord& Record() { return record_; }
    const GeoLinkBudget& Budget() const { return *budget_; }
    GeoLinkBudget& Budget() { return *budget_; }

    std::int32_t DialogPage = 0;    // page last shown, 0-4
    bool UpInterferenceCI = false;  // 1: uplink interference entered as C/I in dB
    bool DnInterferenceCI = false;

    // The propagation seam of every non-GEO window made from now on (null:
    // the ITU-R models over the loaded maps).
    static void SetAtmosphere(LinkAtmosphere* atmosphere);

private:
    NonGeoLinkInputRecord record_;
    std::unique_ptr<GeoLinkBudget> budget_;
};
