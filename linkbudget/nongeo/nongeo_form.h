// TLeoLinkForm: the input dialog of the non-GEO link budget (dialog 5600),
// five pages on a tab control over the window's input record.  The controls
// are created in the record's field order, so that the dialog's transfer
// buffer is the record itself.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "linkbudget/nongeo/nongeo_record.h"
#include "linkbudget/geo/geo_form.h"

class TLeoLinkWin;

// Every entry of the dialog: its hint in the status bar; it records itself
// as the entry last focused.
class TLeoLinkEntry : public TMyEdit {
public:
    TLeoLinkEntry(TForm* parent, int id, int textLimit, HintTable hints);
    void EvSetFocus() override;
};

class TLeoLinkForm : public TForm {
public:
    static constexpr int kResourceId = 5600;
    static constexpr int kPageCount = 5;

    // The buttons, option buttons and their groups are those of the GEO dialog.
    using G = TUpLinkForm;
    enum ControlId : int {
        kTab = 5706,
        // Entries, in record order.
        kUpSiteName = 15100, kUpLatitude, kUpLongitude, kUpElevation, kUpRange, kUpLongitudeDiff, kUpAltitude,
        kUpFrequency, kUpPolarization, kUpAvailability, kUpDiameter, kUpEfficiency, kUpCouplingLoss,
        kUpMispointing, kUpOtherLosses, kUpCsatAci, kUpCsatAsi, kUpCsatXpi, kHpaObo, kCarriersPerHpa, kHpaCim,
        kUpc, kHpaPower,
        kDnSiteName, kDnLatitude, kDnLongitude, kDnElevation, kDnRange, kDnLongitudeDiff, kDnAltitude,
        kDnFrequency, kDnPolarization, kDnAvailability, kDnDiameter, kDnEfficiency, kDnCouplingLoss,
        kDnMispointing, kDnOtherLosses, kLnbNoise, kAntennaNoise, kDnCsatAci, kDnCsatAsi, kDnCsatXpi,
        kUpRainRate, kDnRainRate,
        kSatName, kGtRef, kSfdRef, kGtReceive, kFca, kAlc, kEirpSaturation, kEirpBeamPeak, kTransponderBandwidth,
        kTransponderIbo, kTransponderObo, kCim, kCarriersPerTransponder,
        kServiceName, kCoverage, kRequiredTarget, kRate, kOverhead, kFecRate, kSpreadingGain, kRollOff,
        kCarrierSpacing, kAllocationStep, kImplementationLoss, kSystemMargin, kModulationOrder, kModcodText,
        kLastEntry,
    };
    static constexpr int LabelOf(int entryId) { return entryId + 1000; }

    TLeoLinkForm(QWidget* parent, TLeoLinkWin& window);

    static std::vector<platform::ControlSpec> ControlTable();
    // Clears the bytes after each text's terminator, as a run of the dialog
    // leaves them, so that records can be compared byte for byte.
    static void ClearTextTails(NonGeoLinkInputRecord& record);
    static const std::array<std::vector<int>, kPageCount>& PageControls();

    void SetupWindow() override;
    bool CanClose() override;

    // Every field check in the order the dialog asks them; stops at the first
    // failure (whose message is shown unless the form is silent).
    bool ValidateFields(const NonGeoLinkInputRecord& record);

    void EnableFields(int page);
    void LabelInterference();
    int SelectedPage() const;
    void SelectPage(int page);

    void CmSite();
    void CmReverse();
    void CmFreeze();
    void CmManual();
    void CmCancel();
    void SelectModcod(int standard);

    NonGeoLinkInputRecord Scratch() const;
    void PutScratch(const NonGeoLinkInputRecord& record);

    // The town picker the Site button runs (as the GEO dialog's).
    using Picker = std::function<bool(TForm& parent)>;
    static void SetSitePicker(Picker picker);

private:
    void Show(int id, bool shown);

    TLeoLinkWin& window_;
};
