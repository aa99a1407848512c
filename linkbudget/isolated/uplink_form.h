// TRgnUpLinkForm: the input dialog of the isolated uplink budget (dialog
// 5520), four pages on a tab control over the window's input record.  The
// controls are created in the record's field order, so that the dialog's
// transfer buffer is the record itself.
#pragma once

#include "linkbudget/isolated/isolated_form.h"
#include "linkbudget/isolated/uplink_record.h"

class TRgnUpLinkWin;

// Every entry of the dialog shows its hint in the status bar on focus.
class TRgnUpLinkEntry : public TBudgetEntry {
public:
    TRgnUpLinkEntry(TForm* parent, int id, int textLimit, HintTable hints)
        : TBudgetEntry(parent, id, textLimit, hints, false)
    {
    }
};

class TRgnUpLinkForm : public TIsolatedForm<TRgnUpLinkForm, UplinkInputRecord, TRgnUpLinkWin> {
public:
    using Entry = TRgnUpLinkEntry;
    static constexpr int kResourceId = 5520;
    static constexpr int kPageCount = 4;
    static constexpr const char* kCaption = "Edit Uplink Parameters";
    static constexpr const char* kPageTitles[kPageCount] = {"Uplink", "Rain Model", "Satellite", "Carrier"};
    static constexpr void (*kTerminate)(UplinkInputRecord&) = TerminateUplinkTexts;

    enum ControlId : int {
        kSite = budgetform::kSite, kSatellite = budgetform::kSatellite, kFreeze = budgetform::kFreeze,
        kDvbs = budgetform::kDvbs, kDvbs2x = budgetform::kDvbs2x, kNs3 = budgetform::kNs3, kNs4 = budgetform::kNs4,
        kManual = budgetform::kManual, kTab = 5521, kSuggestion = budgetform::kSuggestion,
        kCi = 3450, kCsatIo = 3451, kGeo = 5608, kNonGeo = 5609,
        kItuAuto = 5560, kCraneTc, kCraneUsa, kClearSky, kItuRate, kDepolarization, kXpiColocated,
        kOneBit, kMapsk, kMqam, kEbNo, kEsNo, kInfoRate, kSymbolRate,
        // Entries, in record order.
        kSiteName = 5700, kLatitude, kLongitude, kAltitude, kFrequency, kPolarization, kAvailability,
        kDiameter, kEfficiency, kCouplingLoss, kMispointing, kOtherLosses, kCsatAci, kCsatAsi, kCsatXpi,
        kHpaCim, kHpaObo, kPowerControl, kHpaPower, kRainRate, kSatName, kServiceName, kSatGt,
        kSatBandwidth, kSatLongitude, kRange, kElevation, kLongitudeDifference, kRequiredTarget, kRate,
        kOverhead, kFecRate, kSpreadingGain, kRollOff, kCarrierSpacing, kAllocationStep,
        kImplementationLoss, kSystemMargin, kModulationOrder, kModcodText,
        // Group boxes and statics without a label of their own.
        kTargetGroup = 5760, kRateGroup, kModulationGroup, kModcodGroup, kUnitsGroup, kRainGroup,
        kOrbitGroup, kMLabel,
    };
    static constexpr int LabelOf(int entryId) { return FormLayout::LabelOf(entryId); }

    TRgnUpLinkForm(QWidget* parent, TRgnUpLinkWin& window);

    static const FormLayout& Layout();
    static HintTable Hints();

    // Every field check in the order the dialog asks them, over a record
    // whose texts are ended; stops at the first failure (whose message is
    // shown unless the form is silent).
    bool CheckFields(const UplinkInputRecord& record);
};
