// TLeoLinkForm: the input dialog of the non-GEO link budget (dialog 5600),
// five pages on a tab control over the window's input record.  The controls
// are created in the record's field order, so that the dialog's transfer
// buffer is the record itself.
#pragma once

#include "linkbudget/geo/bent_pipe_form.h"
#include "linkbudget/nongeo/nongeo_record.h"

class TLeoLinkWin;

// Every entry of the dialog: its hint in the status bar; it records itself
// as the entry last focused.
class TLeoLinkEntry : public TBudgetEntry {
public:
    TLeoLinkEntry(TForm* parent, int id, int textLimit, HintTable hints) : TBudgetEntry(parent, id, textLimit, hints, true)
    {
    }
};

class TLeoLinkForm : public TBentPipeForm<TLeoLinkForm, NonGeoLinkInputRecord, TLeoLinkWin> {
public:
    using Entry = TLeoLinkEntry;
    static constexpr int kResourceId = 5600;
    static constexpr int kPageCount = 5;
    static constexpr const char* kCaption = "Edit NON-GEO Link Budget Parameters";
    static constexpr const char* kPageTitles[kPageCount] = {"Uplink", "Downlink", "Rain Models", "Satellite",
                                                            "Carriers and Modulation"};
    static constexpr void (*kTerminate)(NonGeoLinkInputRecord&) = TerminateNonGeoLinkTexts;

    // The buttons, option buttons and groups are those of the GEO dialog.
    enum ControlId : int {
        kTab = 5706,
        kTargetGroup = bentpipe::kTargetGroup, kRateGroup = bentpipe::kRateGroup,
        kModulationGroup = bentpipe::kModulationGroup,
        kModcodGroup = bentpipe::kModcodGroup, kMLabel = bentpipe::kMLabel, kOneBit = bentpipe::kOneBit,
        kMapsk = bentpipe::kMapsk, kMqam = bentpipe::kMqam, kEbNo = bentpipe::kEbNo, kEsNo = bentpipe::kEsNo,
        kInfoRate = bentpipe::kInfoRate, kSymbolRate = bentpipe::kSymbolRate,
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
    static constexpr int LabelOf(int entryId) { return FormLayout::LabelOf(entryId); }

    TLeoLinkForm(QWidget* parent, TLeoLinkWin& window);

    static const FormLayout& Layout();
    static HintTable Hints();

    // Every field check in the order the dialog asks them, over a record
    // whose texts are ended; stops at the first failure (whose message is
    // shown unless the form is silent).
    bool CheckFields(const NonGeoLinkInputRecord& record);

private:
    static void LinkPage(FormLayout& L, int page, bool up);
};
