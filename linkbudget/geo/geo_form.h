// TUpLinkForm: the input dialog of the GEO link budget (dialog 14030), seven
// pages on a tab control over the window's input record.  The controls are
// created in the record's field order, so that the dialog's transfer buffer
// is the record itself.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "linkbudget/geo/geo_record.h"

class TUpLinkWin;

// Every entry of the dialog: its hint in the status bar and, for the
// Satellite button of the interference pages, the entry last focused.
class TUpLinkEntry : public TMyEdit {
public:
    TUpLinkEntry(TForm* parent, int id, int textLimit, HintTable hints);
    void EvSetFocus() override;
};

class TUpLinkForm : public TForm {
public:
    static constexpr int kResourceId = 14030;
    static constexpr int kPageCount = 7;

    enum ControlId : int {
        // Buttons and the tab control.
        kSite = 126, kSatellite = 127, kReverse = 138, kFreeze = 134, kDvbs = 137, kDvbs2x = 136, kNs3 = 139,
        kNs4 = 140, kManual = 119, kTab = 5704, kSuggestion = 5223,
        // Interference units.
        kUpCi = 3450, kUpCsatIo = 3451, kDnCi = 3453, kDnCsatIo = 3454,
        // Option buttons.
        kOneBit = 4739, kMapsk = 4740, kMqam = 4741, kTwta = 14063, kLtwta = 14066, kSspa = 14062,
        kEbNo = 5517, kEsNo = 5518, kInfoRate = 4749, kSymbolRate = 4750,
        kUpItuAuto = 14071, kUpCraneTc = 14702, kUpCraneUsa = 14704, kUpClearSky = 14703, kUpItuRate = 14705,
        kDnItuAuto = 14706, kDnCraneTc = 14713, kDnCraneUsa = 14709, kDnClearSky = 14714, kDnItuRate = 14710,
        kUpDepolarization = 14717, kDnDepolarization = 14718, kXpiColocated = 14719, kDualFade = 14720,
        kUpInclude2 = 14721, kUpInclude3 = 14722, kUpInclude4 = 14723, kUpKnownTotal = 14724,
        kDnInclude2 = 14725, kDnInclude3 = 14726, kDnInclude4 = 14727, kDnKnownTotal = 14728,
        // Entries, in record order.
        kUpSiteName = 14100, kUpLatitude, kUpLongitude, kUpAltitude, kUpFrequency, kUpPolarization,
        kUpAvailability, kUpDiameter, kUpEfficiency, kUpCouplingLoss, kUpMispointing, kUpOtherLosses, kUpCsatAci,
        kUpCsatXpi, kHpaObo, kCarriersPerHpa, kHpaCim, kUpc, kHpaPower,
        kUpAsiDensity1, kUpAsiDensity2, kUpAsiDensity3, kUpAsiDensity4,
        kUpAsiLongitude1, kUpAsiLongitude2, kUpAsiLongitude3, kUpAsiLongitude4, kUpCsatAsi,
        kDnSiteName, kDnLatitude, kDnLongitude, kDnAltitude, kDnFrequency, kDnPolarization, kDnAvailability,
        kDnDiameter, kDnEfficiency, kDnCouplingLoss, kDnMispointing, kDnOtherLosses, kLnbNoise, kAntennaNoise,
        kDnCsatAci, kDnCsatXpi,
        kDnAsiDensity1, kDnAsiDensity2, kDnAsiDensity3, kDnAsiDensity4,
        kDnAsiLongitude1, kDnAsiLongitude2, kDnAsiLongitude3, kDnAsiLongitude4, kDnCsatAsi,
        kUpRainRate, kDnRainRate,
        kSatName, kSatLongitude, kGtRef, kSfdRef, kGtReceive, kFca, kAlc, kEirpSaturation, kEirpBeamPeak,
        kTransponderBandwidth, kTransponderIbo, kTransponderObo, kCim, kCarriersPerTransponder,
        kServiceName, kCoverage, kRequiredTarget, kRate, kOverhead, kFecRate, kSpreadingGain, kRollOff,
        kCarrierSpacing, kAllocationStep, kImplementationLoss, kSystemMargin, kModulationOrder, kModcodText,
        kLastEntry,
        // Group boxes and statics without a label of their own.
        kTargetGroup = 14800, kRateGroup, kModulationGroup, kModcodGroup, kTransponderGroup, kUpUnitsGroup,
        kDnUnitsGroup, kUpRainGroup, kDnRainGroup, kMLabel, kStaticFirst,
    };
    // The static label beside an entry.
    static constexpr int LabelOf(int entryId) { return entryId + 1000; }

    TUpLinkForm(QWidget* parent, TUpLinkWin& window);

    static std::vector<platform::ControlSpec> ControlTable();
    // Clears the bytes after each text's terminator, as a run of the dialog
    // leaves them, so that records can be compared byte for byte.
    static void ClearTextTails(GeoLinkInputRecord& record);
    // The controls of each page, in the order the tabs show them.
    static const std::array<std::vector<int>, kPageCount>& PageControls();

    void SetupWindow() override;
    bool CanClose() override;

    // Every field check in the order the dialog asks them; stops at the first
    // failure (whose message is shown unless the form is silent).
    bool ValidateFields(const GeoLinkInputRecord& record);

    void EnableFields(int page);
    void LabelInterference();
    void ShowSuggestion();
    int SelectedPage() const;
    void SelectPage(int page);

    void CmSite();
    void CmSatellite();
    void CmReverse();
    void CmFreeze();
    void CmManual();
    void CmCancel();
    void SelectModcod(int standard);

    // The controls' current values as a record (the window's record is not touched).
    GeoLinkInputRecord Scratch() const;
    void PutScratch(const GeoLinkInputRecord& record);

    // The town and satellite pickers the Site and Satellite buttons run: true
    // when the user picked one, which the picker leaves in the application's
    // picked-site or picked-satellite fields.  Until they are installed the
    // buttons change nothing.
    using Picker = std::function<bool(TForm& parent)>;
    static void SetSitePicker(Picker picker);
    static void SetSatellitePicker(Picker picker);

private:
    void Show(int id, bool shown);

    TUpLinkWin& window_;
};
