// TRgnDownLinkForm: the input dialog of the isolated downlink budget (dialog
// 5522), four pages on a tab control over the window's input record.  The
// controls are created in the record's field order, so that the dialog's
// transfer buffer is the record itself.
#pragma once

#include "linkbudget/isolated/downlink_record.h"
#include "linkbudget/isolated/isolated_form.h"

class TRgnDownLinkWin;

// Every entry of the dialog shows its hint in the status bar on focus.
class TRgnDownLinkEntry : public TBudgetEntry {
public:
    TRgnDownLinkEntry(TForm* parent, int id, int textLimit, HintTable hints)
        : TBudgetEntry(parent, id, textLimit, hints, false)
    {
    }
};

class TRgnDownLinkForm : public TIsolatedForm<TRgnDownLinkForm, DownlinkInputRecord, TRgnDownLinkWin> {
public:
    using Entry = TRgnDownLinkEntry;
    static constexpr int kResourceId = 5522;
    static constexpr int kPageCount = 4;
    static constexpr const char* kCaption = "Edit Downlink Parameters";
    static constexpr const char* kPageTitles[kPageCount] = {"Downlink", "Rain Model", "Satellite", "Carrier"};
    static constexpr void (*kTerminate)(DownlinkInputRecord&) = TerminateDownlinkTexts;

    enum ControlId : int {
        kSite = budgetform::kSite, kSatellite = budgetform::kSatellite, kFreeze = budgetform::kFreeze,
        kDvbs = budgetform::kDvbs, kDvbs2x = budgetform::kDvbs2x, kNs3 = budgetform::kNs3, kNs4 = budgetform::kNs4,
        kManual = budgetform::kManual, kTab = 5523, kSuggestion = budgetform::kSuggestion,
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
    static constexpr int LabelOf(int entryId) { return FormLayout::LabelOf(entryId); }

    TRgnDownLinkForm(QWidget* parent, TRgnDownLinkWin& window);

    static const FormLayout& Layout();
    static HintTable Hints();

    // Every field check in the order the dialog asks them, over a record
    // whose texts are ended; stops at the first failure (whose message is
    // shown unless the form is silent).
    bool CheckFields(const DownlinkInputRecord& record);
};
