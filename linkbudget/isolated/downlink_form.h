// TRgnDownLinkForm: the input dialog of the isolated downlink budget (dialog
// 5522), four pages on a tab control over the window's input record.  The
// controls are created in the record's field order, so that the dialog's
// transfer buffer is the record itself.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "linkbudget/isolated/downlink_record.h"

class TRgnDownLinkWin;

// Every entry of the dialog shows its hint in the status bar on focus.
class TRgnDownLinkEntry : public TMyEdit {
public:
    TRgnDownLinkEntry(TForm* parent, int id, int textLimit, HintTable hints);
    void EvSetFocus() override;
};

class TRgnDownLinkForm : public TForm {
public:
    static constexpr int kResourceId = 5522;
    static constexpr int kPageCount = 4;

    enum ControlId : int {
        kSite = 126, kSatellite = 127, kFreeze = 134, kDvbs = 137, kDvbs2x = 136, kNs3 = 139, kNs4 = 140,
        kManual = 119, kTab = 5523, kSuggestion = 5223,
        kCi = 3453, kCsatIo = 3454, kGeo = 5608, kNonGeo = 5609,
        kItuAuto = 5560, kCraneTc, kCraneUsa, kClearSky, kItuRate, kDepolarization,
        kOneBit, kMapsk, kMqam, kEbNo, kEsNo, kInfoRate, kSymbolRate,
        // Entries, in record order.
        kSiteName = 5700, kLatitude, kLongitude, kAltitude, kFrequency, kPolarization, kAvailability,
        kDiameter, kEfficiency, kCouplingLoss, kMispointing, kOtherLosses, kLnbNoise, kAntennaNoise, kLnbGain,
        kLoadImpedance, kCsatAci, kCsatAsi, kCsatXpi, kCim, kRainRate, kSatName, kServiceName, kEirp,
        kSatBandwidth, kSatLongitude, kRange, kElevation, kLongitudeDifference, kRequiredTarget, kRate,
        kOverhead, kFecRate, kSpreadingGain, kRollOff, kCarrierSpacing, kAllocationStep,
        kImplementationLoss, kSystemMargin, kModulationOrder, kModcodText,
        // Group boxes and statics without a label of their own.
        kTargetGroup = 5760, kRateGroup, kModulationGroup, kModcodGroup, kUnitsGroup, kRainGroup,
        kOrbitGroup, kMLabel,
    };
    static constexpr int LabelOf(int entryId) { return entryId + 1000; }

    TRgnDownLinkForm(QWidget* parent, TRgnDownLinkWin& window);

    static std::vector<platform::ControlSpec> ControlTable();
    static void ClearTextTails(DownlinkInputRecord& record);
    static const std::array<std::vector<int>, kPageCount>& PageControls();

    void SetupWindow() override;
    bool CanClose() override;

    // Every field check in the order the dialog asks them; stops at the first
    // failure (whose message is shown unless the form is silent).
    bool ValidateFields(const DownlinkInputRecord& record);

    void EnableFields(int page);
    void LabelInterference();
    void ShowSuggestion();
    int SelectedPage() const;
    void SelectPage(int page);

    void CmSite();
    void CmSatellite();
    void CmFreeze();
    void CmManual();
    void CmCancel();
    void SelectModcod(int standard);

    DownlinkInputRecord Scratch() const;
    void PutScratch(const DownlinkInputRecord& record);

    // The town and satellite pickers of the Site and Satellite buttons (see
    // TUpLinkForm); until installed the buttons change nothing.
    using Picker = std::function<bool(TForm& parent)>;
    static void SetSitePicker(Picker picker);
    static void SetSatellitePicker(Picker picker);

private:
    void Show(int id, bool shown);

    TRgnDownLinkWin& window_;
};
