// What the GEO and non-GEO dialogs share: both edit a bent pipe from an
// uplink earth station through a transponder to a downlink earth station, so
// their records name the same fields, their rain, satellite and carrier pages
// are laid out alike, and they label, enable, pick and reverse the same way.
// The GEO dialog adds its interference pages and its satellite longitude;
// the non-GEO dialog its typed geometry.
#pragma once

#include "linkbudget/windows/budget_checks.h"
#include "linkbudget/windows/budget_form.h"
#include "linkbudget/windows/budget_hints.h"

namespace bentpipe {

// The buttons, option buttons and groups both dialogs have, by the ids both use.
enum ControlId : int {
    kUpCi = 3450, kUpCsatIo = 3451, kDnCi = 3453, kDnCsatIo = 3454,
    kOneBit = 4739, kMapsk = 4740, kMqam = 4741, kTwta = 14063, kLtwta = 14066, kSspa = 14062,
    kEbNo = 5517, kEsNo = 5518, kInfoRate = 4749, kSymbolRate = 4750,
    kUpItuAuto = 14071, kUpCraneTc = 14702, kUpCraneUsa = 14704, kUpClearSky = 14703, kUpItuRate = 14705,
    kDnItuAuto = 14706, kDnCraneTc = 14713, kDnCraneUsa = 14709, kDnClearSky = 14714, kDnItuRate = 14710,
    kUpDepolarization = 14717, kDnDepolarization = 14718, kXpiColocated = 14719, kDualFade = 14720,
    kTargetGroup = 14800, kRateGroup, kModulationGroup, kModcodGroup, kTransponderGroup, kUpUnitsGroup,
    kDnUnitsGroup, kUpRainGroup, kDnRainGroup, kMLabel,
};

// The hints of the entries both dialogs have, by the ids of dialog `F`
// ("Carriers per transponder" and the modcod text have none).
template <class F>
constexpr auto Hints()
{
    using namespace budgethint;
    constexpr std::array<HintEntry, 57> links{{
        {F::kUpSiteName, 0, kSiteName}, {F::kDnSiteName, 0, kSiteName},
        {F::kUpLatitude, 0, kLatitude}, {F::kDnLatitude, 0, kLatitude},
        {F::kUpLongitude, 0, kLongitude}, {F::kDnLongitude, 0, kLongitude},
        {F::kUpAltitude, 0, kAltitude}, {F::kDnAltitude, 0, kAltitude},
        {F::kUpFrequency, 0, kFrequency}, {F::kDnFrequency, 0, kFrequency},
        {F::kUpPolarization, 0, kPolarization}, {F::kDnPolarization, 0, kPolarization},
        {F::kUpAvailability, 0, kAvailability}, {F::kDnAvailability, 0, kAvailability},
        {F::kUpDiameter, 0, kDiameter}, {F::kDnDiameter, 0, kDiameter},
        {F::kUpEfficiency, 0, kEfficiency}, {F::kDnEfficiency, 0, kEfficiency},
        {F::kUpCouplingLoss, 0, kCoupling}, {F::kDnCouplingLoss, 0, kCoupling},
        {F::kUpMispointing, 0, kMispoint}, {F::kDnMispointing, 0, kMispoint},
        {F::kUpOtherLosses, 0, kOtherLosses}, {F::kDnOtherLosses, 0, kOtherLosses},
        {F::kUpCsatAci, 0, kAci}, {F::kDnCsatAci, 0, kAci},
        {F::kUpCsatXpi, 0, kXpi}, {F::kDnCsatXpi, 0, kXpi},
        {F::kUpCsatAsi, 0, kAsi}, {F::kDnCsatAsi, 0, kAsi},
        {F::kHpaObo, 0, kHpaObo}, {F::kCarriersPerHpa, 0, kCarriersPerHpa}, {F::kHpaCim, 0, kHpaCim},
        {F::kUpc, 0, kUpc}, {F::kHpaPower, 0, kHpaPower},
        {F::kLnbNoise, 0, kLnbNoise}, {F::kAntennaNoise, 0, kAntennaNoise},
        {F::kUpRainRate, 0, kRainRate}, {F::kDnRainRate, 0, kRainRate},
        {F::kSatName, 0, kSatName}, {F::kGtRef, 0, kGtRef}, {F::kSfdRef, 0, kSfdRef},
        {F::kGtReceive, 0, kGtReceive}, {F::kFca, 0, kFca}, {F::kAlc, 0, kAlc},
        {F::kEirpSaturation, 0, kEirpSaturation}, {F::kEirpBeamPeak, 0, kEirpBeamPeak},
        {F::kTransponderBandwidth, 0, kTransponderBandwidth}, {F::kTransponderIbo, 0, kIbo},
        {F::kTransponderObo, 0, kAuto}, {F::kCim, 0, kAuto},
        {F::kServiceName, 0, kServiceName}, {F::kCoverage, 0, kCoverage},
    }};
    return Joined(links, CarrierHints<F>());
}

}  // namespace bentpipe

template <class Derived, class Record, class Window>
class TBentPipeForm : public TBudgetForm<Derived, Record, Window> {
    using Base = TBudgetForm<Derived, Record, Window>;

public:
    TBentPipeForm(QWidget* parent, Window& window) : Base(parent, window)
    {
        using namespace bentpipe;
        using D = Derived;
        for (const platform::ControlSpec& c : Base::ControlTable())
            if (c.kind == platform::ControlKind::Edit) new typename D::Entry(this, c.id, c.textLimit, D::Hints());
        new TDualFadeCheckBox(this, kDualFade);
        for (int id : {kUpItuAuto, kUpCraneTc, kUpCraneUsa, kUpClearSky, kUpItuRate, kDnItuAuto, kDnCraneTc,
                       kDnCraneUsa, kDnClearSky, kDnItuRate})
            new TRainModelRadioButton(this, id);
        for (int id : {kUpDepolarization, kDnDepolarization}) new TIncDepolCheckBox(this, id);
        new TXPIColocateCheckBox(this, kXpiColocated);
        Base::MakeCarrierButtons();
        for (int id : {kTwta, kLtwta, kSspa}) new TTransponderRadioButton(this, id);
        for (int id : {kUpCi, kUpCsatIo, kDnCi, kDnCsatIo}) new TInterferenceRadioButton(this, id);

        this->SetHandler(budgetform::kSite, [this] { CmSite(); });
        this->SetHandler(budgetform::kReverse, [this] { CmReverse(); });
        Base::BindUnits(kUpCi, [this] { this->window_.UpInterferenceCI = true; });
        Base::BindUnits(kUpCsatIo, [this] { this->window_.UpInterferenceCI = false; });
        Base::BindUnits(kDnCi, [this] { this->window_.DnInterferenceCI = true; });
        Base::BindUnits(kDnCsatIo, [this] { this->window_.DnInterferenceCI = false; });
    }

    // The labels of the interference entries by each link's units.
    void LabelInterference()
    {
        using D = Derived;
        const auto label = [this](int id, const char* text) { this->SetControlText(FormLayout::LabelOf(id), text); };
        const bool up = this->window_.UpInterferenceCI;
        label(D::kHpaCim, up ? "HPA C/IM dB" : "HPA Csat/IMo dB-Hz");
        label(D::kUpCsatAci, up ? "C/ACI dB" : "Csat/ACIo dB-Hz");
        label(D::kUpCsatAsi, up ? "C/ASI dB" : "Csat/ASIo dB-Hz");
        label(D::kUpCsatXpi, up ? "C/XPI dB" : "Csat/XPIo dB-Hz");
        const bool dn = this->window_.DnInterferenceCI;
        label(D::kDnCsatAci, dn ? "C/ACI dB" : "Csat/ACIo dB-Hz");
        label(D::kDnCsatAsi, dn ? "C/ASI dB" : "Csat/ASIo dB-Hz");
        label(D::kDnCsatXpi, dn ? "C/XPI dB" : "Csat/XPIo dB-Hz");
    }

    // The page's controls; the HPA power only while the carriers are AUTO;
    // the uplink availability is the overall one when the downlink's is AUTO.
    void EnableFields(int page)
    {
        using D = Derived;
        using bentpipe::kDnCraneTc, bentpipe::kDnCraneUsa, bentpipe::kUpCraneTc, bentpipe::kUpCraneUsa;
        const Record r = Base::Scratch();
        const bool carriersAuto = lbtext::IsKeyword(r.carriersPerTransponder, "AUTO");
        const bool splitAvailability = lbtext::IsKeyword(r.dnAvailability, "AUTO");
        LabelInterference();
        Base::ShowPageControls(page, {kUpCraneTc, kUpCraneUsa, kDnCraneTc, kDnCraneUsa});
        if (!carriersAuto) {
            this->EnableControl(D::kHpaPower, false);
            this->EnableControl(FormLayout::LabelOf(D::kHpaPower), false);
        }
        this->SetControlText(FormLayout::LabelOf(D::kUpAvailability),
                             splitAvailability ? "Overall availability %" : "Availability %");
        Base::EnableFrozenAndManual(r, {FormLayout::LabelOf(D::kUpAvailability), D::kUpAvailability,
                                        FormLayout::LabelOf(D::kDnAvailability), D::kDnAvailability});
        this->window_.DialogPage = page;
    }

    // The picked town becomes the uplink station on the first page, else the
    // downlink station; a station's typed satellite geometry stays as it was.
    void CmSite()
    {
        if (!Base::PickSite()) return;
        const TOrbiscope& app = *this->App();
        Record r = Base::Scratch();
        if (this->SelectedPage() == 0) {
            PutText(r.upSiteName, app.PickedSiteName);
            PutText(r.upLatitude, app.PickedSiteLatitude);
            PutText(r.upLongitude, app.PickedSiteLongitude);
            PutText(r.upAltitude, app.PickedSiteAltitude);
        } else {
            PutText(r.dnSiteName, app.PickedSiteName);
            PutText(r.dnLatitude, app.PickedSiteLatitude);
            PutText(r.dnLongitude, app.PickedSiteLongitude);
            PutText(r.dnAltitude, app.PickedSiteAltitude);
        }
        Base::PutScratch(r);
    }
    // The two earth stations change places: their sites, rain rates,
    // antennas and losses (and a non-GEO station's satellite geometry).
    void CmReverse()
    {
        Record r = Base::Scratch();
        SwapText(r.upSiteName, r.dnSiteName);
        SwapText(r.upLatitude, r.dnLatitude);
        SwapText(r.upLongitude, r.dnLongitude);
        if constexpr (requires { r.upElevation; }) {
            SwapText(r.upElevation, r.dnElevation);
            SwapText(r.upRange, r.dnRange);
            SwapText(r.upLongitudeDiff, r.dnLongitudeDiff);
        }
        SwapText(r.upAltitude, r.dnAltitude);
        SwapText(r.upRainRate, r.dnRainRate);
        SwapText(r.upDiameter, r.dnDiameter);
        SwapText(r.upCouplingLoss, r.dnCouplingLoss);
        SwapText(r.upMispointing, r.dnMispointing);
        SwapText(r.upOtherLosses, r.dnOtherLosses);
        Base::PutScratch(r);
    }

protected:
    // ---- the pages ------------------------------------------------------------
    // The rain models of both links, dual fade and depolarization; the Crane
    // buttons are never shown.
    static void RainPage(FormLayout& L, int page)
    {
        using namespace bentpipe;
        using D = Derived;
        using K = platform::ControlKind;
        constexpr int top = FormLayout::kPageTop;
        L.Option(page, K::CheckBox, kDualFade, "Calculate dual fade scenario", 20, top, 300);
        RainButtons(L, page, true, top + 30);
        L.Label(page, FormLayout::LabelOf(D::kUpRainRate), "Rain rate mm/h", 30, top + 84, 150);
        L.EntryAt(page, D::kUpRainRate, 13, 180, top + 82, 120);
        L.Option(page, K::CheckBox, kUpDepolarization, "Include depolarization", 330, top + 82, 220);
        L.Option(page, K::CheckBox, kXpiColocated, "XPI source co-located", 560, top + 82, 200);
        RainButtons(L, page, false, top + 140);
        L.Label(page, FormLayout::LabelOf(D::kDnRainRate), "Rain rate mm/h", 30, top + 194, 150);
        L.EntryAt(page, D::kDnRainRate, 13, 180, top + 192, 120);
        L.Option(page, K::CheckBox, kDnDepolarization, "Include depolarization", 330, top + 192, 220);
    }
    // The satellite and its transponder (a geostationary one with its longitude).
    static void SatellitePage(FormLayout& L, int page)
    {
        using D = Derived;
        L.Entry(page, D::kSatName, 41, "Satellite name");
        if constexpr (requires { D::kSatLongitude; }) L.Entry(page, D::kSatLongitude, 13, "Satellite longitude \xB0");
        L.Entry(page, D::kGtRef, 13, "G/T (ref) dB/K");
        L.Entry(page, D::kSfdRef, 13, "SFD (ref) dBW/m2");
        L.Entry(page, D::kGtReceive, 13, "G/T receive dB/K");
        L.Entry(page, D::kFca, 13, "FCA setting dB");
        L.Entry(page, D::kAlc, 13, "ALC dB");
        L.Entry(page, D::kEirpSaturation, 13, "EIRP (saturation) dBW");
        L.Entry(page, D::kEirpBeamPeak, 13, "EIRP (beam peak) dBW");
        L.Entry(page, D::kTransponderBandwidth, 13, "Tpdr. bandwidth MHz");
        L.Entry(page, D::kTransponderIbo, 13, "Transponder IBO dB");
        L.Entry(page, D::kTransponderObo, 13, "Transponder OBO dB");
        L.Entry(page, D::kCim, 13, "C/IM dB");
        L.Entry(page, D::kCarriersPerTransponder, 13, "Carriers per transponder");
    }
    // The carrier page; the transponder type, which the record keeps among
    // the carrier's buttons, is shown on the satellite page.
    static void CarrierPage(FormLayout& L, int page, int satellitePage)
    {
        using namespace bentpipe;
        using K = platform::ControlKind;
        L.Entry(page, Derived::kServiceName, 41, "Service name");
        L.Entry(page, Derived::kCoverage, 41, "Coverage");
        const auto places = Base::CarrierFields(L, page);
        const int y = FormLayout::kPageTop + 10 * FormLayout::kRow;
        L.Group(satellitePage, kTransponderGroup, "Transponder Type", 420, y, 360, FormLayout::GroupHeight(2));
        L.Option(satellitePage, K::RadioButton, kTwta, "TWTA", 430, y + 20, 100, true);
        L.Option(satellitePage, K::RadioButton, kLtwta, "LTWTA", 540, y + 20, 100);
        L.Option(satellitePage, K::RadioButton, kSspa, "SSPA", 650, y + 20, 100);
        Base::CarrierChoices(L, page, places);
    }
    // Each link's interference units, last in the record and first in their
    // page's list.
    static void InterferenceUnits(FormLayout& L, int upPage, int downPage, int y)
    {
        using namespace bentpipe;
        using K = platform::ControlKind;
        for (const auto& [page, group, csat, ci] :
             {std::tuple{upPage, kUpUnitsGroup, kUpCsatIo, kUpCi}, std::tuple{downPage, kDnUnitsGroup, kDnCsatIo, kDnCi}}) {
            L.Group(page, group, "Interference units", 420, y, 360, 2 * FormLayout::kRow);
            L.Option(page, K::RadioButton, csat, "Csat/Io (dB-Hz)", 430, y + 20, 160, true);
            L.Option(page, K::RadioButton, ci, "C/I (dB)", 600, y + 20, 160);
            L.PutFirst(page, {group, csat, ci});
        }
    }

    // ---- the checks ---------------------------------------------------------------
    // The typed rain rates of the links that use one.
    bool CheckRainRates(const Record& r)
    {
        using budgetcheck::Real;
        return (!r.upItuRate.On() || Real(*this, "Uplink rain rate", FieldView(r.upRainRate), 0, 200, "mm/hr")) &&
               (!r.dnItuRate.On() || Real(*this, "Downlink rain rate", FieldView(r.dnRainRate), 0, 200, "mm/hr"));
    }
    // The transponder's back-offs (not both AUTO), C/IM and carrier count.
    bool CheckTransponder(const Record& r)
    {
        using budgetcheck::NotAuto;
        using budgetcheck::Real;
        if (NotAuto(r.transponderIbo) &&
            !Real(*this, "Transponder input back off", FieldView(r.transponderIbo), 0, 20, "dB"))
            return false;
        if (NotAuto(r.transponderObo) &&
            !Real(*this, "Transponder ouput back off", FieldView(r.transponderObo), 0, 20, "dB"))
            return false;
        if (!NotAuto(r.transponderIbo) && !NotAuto(r.transponderObo)) {
            this->ReportAboutField(FieldView(r.transponderIbo), "IBO and OB0 cannot both be AUTO", "Input Error");
            return false;
        }
        return (!NotAuto(r.cim) || Real(*this, "C/IM down", FieldView(r.cim), 1, 300, "dB")) &&
               (!NotAuto(r.carriersPerTransponder) ||
                Real(*this, "Number of carriers per transponder", FieldView(r.carriersPerTransponder), 1, 10000, ""));
    }
    // The service's name and coverage, then the carrier.
    bool CheckService(const Record& r, const char* targetLabel, double maximumOverheadPct)
    {
        return this->CheckField("Service Name", FieldView(r.serviceName), FieldType::Text, 0, 0, "") &&
               this->CheckField("Coverage", FieldView(r.coverage), FieldType::Text, 0, 0, "") &&
               budgetcheck::CheckCarrier(*this, r, targetLabel, maximumOverheadPct);
    }

private:
    static void RainButtons(FormLayout& L, int page, bool up, int y)
    {
        using namespace bentpipe;
        const int ids[5] = {up ? kUpItuAuto : kDnItuAuto, up ? kUpCraneTc : kDnCraneTc, up ? kUpCraneUsa : kDnCraneUsa,
                            up ? kUpClearSky : kDnClearSky, up ? kUpItuRate : kDnItuRate};
        const char* texts[5] = {"ITU-R (auto)", "Crane T-C", "Crane USA", "Clear sky", "ITU (mm/h)"};
        const int x[5] = {30, 180, 330, 180, 330};  // the Crane buttons are never shown
        L.Group(page, up ? kUpRainGroup : kDnRainGroup, up ? "Uplink Rain Model" : "Downlink Rain Model", 16, y, 760,
                90);
        for (int i = 0; i < 5; ++i)
            L.Option(page, platform::ControlKind::RadioButton, ids[i], texts[i], x[i], y + 20, 140, i == 0);
    }
};
