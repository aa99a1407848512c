// What the isolated uplink and downlink dialogs share: four pages (the
// earth station, the rain model, the satellite and the carrier) over the
// same-named fields of their records, laid out alike, with the Site and
// Satellite buttons, one set of interference units and the same enabling.
// Each dialog adds the entries only its link has and checks its fields in
// its own order.
#pragma once

#include "linkbudget/windows/budget_checks.h"
#include "linkbudget/windows/budget_form.h"
#include "linkbudget/windows/budget_hints.h"

namespace isolated {

// The hints of the entries both dialogs have, by the ids of dialog `F`
// (the modcod text has none).
template <class F>
constexpr auto Hints()
{
    using namespace budgethint;
    constexpr std::array<HintEntry, 22> shared{{
        {F::kSiteName, 0, kSiteName}, {F::kLatitude, 0, kLatitude}, {F::kLongitude, 0, kLongitude},
        {F::kAltitude, 0, kAltitude}, {F::kFrequency, 0, kFrequency}, {F::kPolarization, 0, kPolarization},
        {F::kAvailability, 0, kAvailability}, {F::kDiameter, 0, kDiameter}, {F::kEfficiency, 0, kEfficiency},
        {F::kCouplingLoss, 0, kCoupling}, {F::kMispointing, 0, kMispoint}, {F::kOtherLosses, 0, kOtherLosses},
        {F::kCsatAci, 0, kAci}, {F::kCsatAsi, 0, kAsi}, {F::kCsatXpi, 0, kXpi},
        {F::kRainRate, 0, kRainRate}, {F::kSatName, 0, kSatName}, {F::kServiceName, 0, kServiceName},
        {F::kSatLongitude, 0, kSlot}, {F::kRange, 0, kRange}, {F::kElevation, 0, kElevation},
        {F::kLongitudeDifference, 0, kLongitudeDifference},
    }};
    return Joined(shared, CarrierHints<F>());
}

}  // namespace isolated

template <class Derived, class Record, class Window>
class TIsolatedForm : public TBudgetForm<Derived, Record, Window> {
    using Base = TBudgetForm<Derived, Record, Window>;

public:
    TIsolatedForm(QWidget* parent, Window& window) : Base(parent, window)
    {
        using D = Derived;
        for (const platform::ControlSpec& c : Base::ControlTable())
            if (c.kind == platform::ControlKind::Edit) new typename D::Entry(this, c.id, c.textLimit, D::Hints());
        for (int id : {int(D::kItuAuto), int(D::kCraneTc), int(D::kCraneUsa), int(D::kClearSky), int(D::kItuRate)})
            new TRainModelRadioButton(this, id);
        new TIncDepolCheckBox(this, D::kDepolarization);
        if constexpr (requires { D::kXpiColocated; }) new TXPIColocateCheckBox(this, D::kXpiColocated);
        for (int id : {int(D::kGeo), int(D::kNonGeo)}) new TGEOSelectRadioButton(this, id);
        Base::MakeCarrierButtons();
        for (int id : {int(D::kCi), int(D::kCsatIo)}) new TInterferenceRadioButton(this, id);

        this->SetHandler(budgetform::kSite, [this] { CmSite(); });
        this->SetHandler(budgetform::kSatellite, [this] { CmSatellite(); });
        Base::BindUnits(D::kCi, [this] { this->window_.InterferenceCI = true; });
        Base::BindUnits(D::kCsatIo, [this] { this->window_.InterferenceCI = false; });
    }

    // The labels of the interference entries by the units chosen.
    void LabelInterference()
    {
        using D = Derived;
        const bool ci = this->window_.InterferenceCI;
        if constexpr (requires { D::kHpaCim; })
            this->SetControlText(FormLayout::LabelOf(D::kHpaCim), ci ? "HPA C/IM dB" : "HPA Csat/IMo dB-Hz");
        this->SetControlText(FormLayout::LabelOf(D::kCsatAci), ci ? "C/ACI dB" : "Csat/ACIo dB-Hz");
        this->SetControlText(FormLayout::LabelOf(D::kCsatAsi), ci ? "C/ASI dB" : "Csat/ASIo dB-Hz");
        this->SetControlText(FormLayout::LabelOf(D::kCsatXpi), ci ? "C/XPI dB" : "Csat/XPIo dB-Hz");
    }

    void EnableFields(int page)
    {
        using D = Derived;
        const Record r = Base::Scratch();
        LabelInterference();
        Base::ShowPageControls(page, {D::kCraneTc, D::kCraneUsa});
        Base::EnableFrozenAndManual(r, {FormLayout::LabelOf(D::kAvailability), D::kAvailability});
        this->window_.DialogPage = page;
    }

    // The picked town becomes the earth station.
    void CmSite()
    {
        if (!Base::PickSite()) return;
        const TOrbiscope& app = *this->App();
        Record r = Base::Scratch();
        PutText(r.siteName, app.PickedSiteName);
        PutText(r.latitude, app.PickedSiteLatitude);
        PutText(r.longitude, app.PickedSiteLongitude);
        PutText(r.altitude, app.PickedSiteAltitude);
        Base::PutScratch(r);
    }
    // The picked satellite's name and longitude.
    void CmSatellite()
    {
        if (!Base::PickSatellite()) return;
        const TOrbiscope& app = *this->App();
        Record r = Base::Scratch();
        PutText(r.satName, app.PickedSatName);
        PutText(r.satLongitude, app.PickedSatLongitude);
        Base::PutScratch(r);
    }

protected:
    // ---- the pages ------------------------------------------------------------
    // The station's entries that both records begin with, on the first page.
    static void StationEntries(FormLayout& L)
    {
        using D = Derived;
        L.Entry(0, D::kSiteName, 41, "Site name");
        L.Entry(0, D::kLatitude, 13, "Site latitude \xB0");
        L.Entry(0, D::kLongitude, 13, "Site longitude \xB0");
        L.Entry(0, D::kAltitude, 13, "Site altitude km");
        L.Entry(0, D::kFrequency, 13, "Frequency GHz");
        L.Entry(0, D::kPolarization, 2, "Polarization (V,H or C)");
        L.Entry(0, D::kAvailability, 13, "Availability %");
        L.Entry(0, D::kDiameter, 13, "Antenna diameter (m)");
        L.Entry(0, D::kEfficiency, 13, "Ant. eff,gain  %,dBi");
        L.Entry(0, D::kCouplingLoss, 13, "Coupling loss dB");
        L.Entry(0, D::kMispointing, 13, "Antenna mispointing dB");
        L.Entry(0, D::kOtherLosses, 13, "Other path losses dB");
    }
    // The rain model page; the Crane buttons are never shown, the others sit
    // side by side.
    static void RainPage(FormLayout& L, const char* title)
    {
        using D = Derived;
        using K = platform::ControlKind;
        const int y = FormLayout::kPageTop;
        L.Group(1, D::kRainGroup, title, 16, y, 760, 90);
        const std::pair<int, const char*> rain[5] = {{D::kItuAuto, "ITU-R (auto)"}, {D::kCraneTc, "Crane T-C"},
                                                     {D::kCraneUsa, "Crane USA"}, {D::kClearSky, "Clear sky"},
                                                     {D::kItuRate, "ITU (mm/h)"}};
        const int xs[5] = {30, 30, 30, 180, 330};
        for (int i = 0; i < 5; ++i) L.Option(1, K::RadioButton, rain[i].first, rain[i].second, xs[i], y + 20, 140, i == 0);
        L.Label(1, FormLayout::LabelOf(D::kRainRate), "Rain rate mm/h", 30, y + 54, 150);
        L.EntryAt(1, D::kRainRate, 13, 180, y + 54, 120);
        L.Option(1, K::CheckBox, D::kDepolarization, "Include depolarization", 30, y + 100, 220);
        if constexpr (requires { D::kXpiColocated; })
            L.Option(1, K::CheckBox, D::kXpiColocated, "XPI source co-located", 260, y + 100, 220);
    }
    // The satellite page; `powerId` is the satellite's own figure (G/T or EIRP).
    static void SatellitePage(FormLayout& L, int powerId, const char* powerLabel)
    {
        using D = Derived;
        L.Entry(2, D::kSatName, 41, "Satellite name");
        L.Entry(2, D::kServiceName, 41, "Service name");
        L.Entry(2, powerId, 13, powerLabel);
        L.Entry(2, D::kSatBandwidth, 13, "Sat bandwidth MHz");
        L.Entry(2, D::kSatLongitude, 13, "Satellite longitude \xB0");
        L.Entry(2, D::kRange, 13, "Range km");
        L.Entry(2, D::kElevation, 13, "Elevation \xB0");
        L.Entry(2, D::kLongitudeDifference, 13, "Site/Sat long. diff. \xB0");
        L.Options(2, D::kOrbitGroup, "Satellite orbit", {{D::kGeo, "GEO"}, {D::kNonGeo, "Non GEO"}});
    }
    // The carrier page.
    static void CarrierPage(FormLayout& L) { Base::CarrierChoices(L, 3, Base::CarrierFields(L, 3)); }
    // The pages after the first and what lies below them; the interference
    // units come last in the record.
    static void OtherPages(FormLayout& L, const char* rainTitle, int powerId, const char* powerLabel)
    {
        RainPage(L, rainTitle);
        SatellitePage(L, powerId, powerLabel);
        CarrierPage(L);
        UnitsAndFooter(L);
    }
    // The interference units, last in the record, and what lies below the pages.
    static void UnitsAndFooter(FormLayout& L)
    {
        using D = Derived;
        L.Options(0, D::kUnitsGroup, "Interference units", {{D::kCsatIo, "Csat/Io (dB-Hz)"}, {D::kCi, "C/I (dB)"}});
        L.Footer(D::kTab, {{budgetform::kSite, "Site"}, {budgetform::kSatellite, "Satellite"},
                           {budgetform::kFreeze, "Freeze"}},
                 budgetform::kSuggestion);
    }

    // ---- the checks ---------------------------------------------------------------
    // Where the satellite is: a longitude, or a non-GEO satellite's range,
    // elevation and longitude difference.
    bool CheckOrbit(const Record& r)
    {
        using budgetcheck::Real;
        if (r.geo.On() && !this->CheckField("Satellite longitude", FieldView(r.satLongitude), FieldType::Longitude, 0,
                                            180, budgetcheck::kLongitudeUnit))
            return false;
        if (r.nonGeo.On())
            return Real(*this, "Satellite range", FieldView(r.range), 1, 2000000, "km") &&
                   Real(*this, "Satellite elevation", FieldView(r.elevation), 0, 90, "degrees") &&
                   Real(*this, "Longitude difference", FieldView(r.longitudeDifference), 0, 80, "degrees");
        return true;
    }
};
