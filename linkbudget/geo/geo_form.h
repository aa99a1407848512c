// TUpLinkForm: the input dialog of the GEO link budget (dialog 14030), seven
// pages on a tab control over the window's input record.  The controls are
// created in the record's field order, so that the dialog's transfer buffer
// is the record itself.
#pragma once

#include "linkbudget/geo/bent_pipe_form.h"
#include "linkbudget/geo/geo_record.h"

class TUpLinkWin;

// Every entry of the dialog: its hint in the status bar and, for the
// Satellite button of the interference pages, the entry last focused.
class TUpLinkEntry : public TBudgetEntry {
public:
    TUpLinkEntry(TForm* parent, int id, int textLimit, HintTable hints) : TBudgetEntry(parent, id, textLimit, hints, true)
    {
    }
};

class TUpLinkForm : public TBentPipeForm<TUpLinkForm, GeoLinkInputRecord, TUpLinkWin> {
public:
    using Entry = TUpLinkEntry;
    static constexpr int kResourceId = 14030;
    static constexpr int kPageCount = 7;
    static constexpr const char* kCaption = "Edit GEO Link Budget Parameters";
    static constexpr const char* kPageTitles[kPageCount] = {"Uplink",     "ASI (up)",  "Downlink", "ASI (down)",
                                                            "Rain Model", "Satellite", "Carriers"};
    static constexpr void (*kTerminate)(GeoLinkInputRecord&) = TerminateGeoLinkTexts;

    enum ControlId : int {
        // Buttons and the tab control.
        kSite = budgetform::kSite, kSatellite = budgetform::kSatellite, kReverse = budgetform::kReverse,
        kFreeze = budgetform::kFreeze, kDvbs = budgetform::kDvbs, kDvbs2x = budgetform::kDvbs2x,
        kNs3 = budgetform::kNs3, kNs4 = budgetform::kNs4, kManual = budgetform::kManual, kTab = 5704,
        kSuggestion = budgetform::kSuggestion,
        // Interference units.
        kUpCi = bentpipe::kUpCi, kUpCsatIo = bentpipe::kUpCsatIo, kDnCi = bentpipe::kDnCi,
        kDnCsatIo = bentpipe::kDnCsatIo,
        // Option buttons.
        kOneBit = bentpipe::kOneBit, kMapsk = bentpipe::kMapsk, kMqam = bentpipe::kMqam, kTwta = bentpipe::kTwta,
        kLtwta = bentpipe::kLtwta, kSspa = bentpipe::kSspa, kEbNo = bentpipe::kEbNo, kEsNo = bentpipe::kEsNo,
        kInfoRate = bentpipe::kInfoRate, kSymbolRate = bentpipe::kSymbolRate,
        kUpItuAuto = bentpipe::kUpItuAuto, kUpCraneTc = bentpipe::kUpCraneTc, kUpCraneUsa = bentpipe::kUpCraneUsa,
        kUpClearSky = bentpipe::kUpClearSky, kUpItuRate = bentpipe::kUpItuRate, kDnItuAuto = bentpipe::kDnItuAuto,
        kDnCraneTc = bentpipe::kDnCraneTc, kDnCraneUsa = bentpipe::kDnCraneUsa, kDnClearSky = bentpipe::kDnClearSky,
        kDnItuRate = bentpipe::kDnItuRate, kUpDepolarization = bentpipe::kUpDepolarization,
        kDnDepolarization = bentpipe::kDnDepolarization, kXpiColocated = bentpipe::kXpiColocated,
        kDualFade = bentpipe::kDualFade,
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
        kTargetGroup = bentpipe::kTargetGroup, kRateGroup = bentpipe::kRateGroup,
        kModulationGroup = bentpipe::kModulationGroup, kModcodGroup = bentpipe::kModcodGroup,
        kTransponderGroup = bentpipe::kTransponderGroup, kUpUnitsGroup = bentpipe::kUpUnitsGroup,
        kDnUnitsGroup = bentpipe::kDnUnitsGroup, kUpRainGroup = bentpipe::kUpRainGroup,
        kDnRainGroup = bentpipe::kDnRainGroup, kMLabel = bentpipe::kMLabel, kStaticFirst = 14810,
    };
    // The static label beside an entry.
    static constexpr int LabelOf(int entryId) { return FormLayout::LabelOf(entryId); }

    TUpLinkForm(QWidget* parent, TUpLinkWin& window);

    static const FormLayout& Layout();
    static HintTable Hints();

    // Every field check in the order the dialog asks them, over a record
    // whose texts are ended; stops at the first failure (whose message is
    // shown unless the form is silent).
    bool CheckFields(const GeoLinkInputRecord& record);

    // The picked satellite: on an interference page, the longitude of the
    // interferer whose entry was focused last; elsewhere the wanted satellite.
    void CmSatellite();

private:
    static void InterferencePage(FormLayout& L, int page, bool up);
    bool CheckInterferers(const GeoLinkInputRecord& r, bool up);
};
