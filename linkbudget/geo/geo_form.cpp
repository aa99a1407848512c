#include "linkbudget/geo/geo_form.h"

#include <cstdio>

#include "linkbudget/engine/input_text.h"
#include "linkbudget/geo/geo_window.h"

using F = TUpLinkForm;

namespace {

using namespace budgethint;

// Besides the entries the non-GEO dialog has too: the interferers and the
// satellite's longitude.
constexpr auto kEntryHints = Joined(bentpipe::Hints<F>(), std::array<HintEntry, 17>{{
    {F::kUpAsiDensity1, 0, kUpDensity}, {F::kUpAsiDensity2, 0, kUpDensity}, {F::kUpAsiDensity3, 0, kUpDensity},
    {F::kUpAsiDensity4, 0, kUpDensity}, {F::kDnAsiDensity1, 0, kDnDensity}, {F::kDnAsiDensity2, 0, kDnDensity},
    {F::kDnAsiDensity3, 0, kDnDensity}, {F::kDnAsiDensity4, 0, kDnDensity},
    {F::kUpAsiLongitude1, 0, kSlot}, {F::kUpAsiLongitude2, 0, kSlot}, {F::kUpAsiLongitude3, 0, kSlot},
    {F::kUpAsiLongitude4, 0, kSlot}, {F::kDnAsiLongitude1, 0, kSlot}, {F::kDnAsiLongitude2, 0, kSlot},
    {F::kDnAsiLongitude3, 0, kSlot}, {F::kDnAsiLongitude4, 0, kSlot}, {F::kSatLongitude, 0, kSlot},
}});

}  // namespace

const FormLayout& TUpLinkForm::Layout()
{
    static const FormLayout layout = [] {
        FormLayout L(kPageCount, 12);
        // ---- Uplink -----------------------------------------------------------
        L.Entry(0, kUpSiteName, 41, "Site name");
        L.Entry(0, kUpLatitude, 13, "Site latitude \xB0");
        L.Entry(0, kUpLongitude, 13, "Site longitude \xB0");
        L.Entry(0, kUpAltitude, 13, "Site altitude km");
        L.Entry(0, kUpFrequency, 13, "Frequency GHz");
        L.Entry(0, kUpPolarization, 2, "Polarization (V,H or C)");
        L.Entry(0, kUpAvailability, 13, "Availability %");
        L.Entry(0, kUpDiameter, 13, "Antenna diameter (m)");
        L.Entry(0, kUpEfficiency, 13, "Ant. eff,gain  %,dBi");
        L.Entry(0, kUpCouplingLoss, 13, "Coupling loss dB");
        L.Entry(0, kUpMispointing, 13, "Antenna mispointing dB");
        L.Entry(0, kUpOtherLosses, 13, "Other path losses dB");
        L.Entry(0, kUpCsatAci, 13, "Csat/ACIo dB-Hz");
        L.Entry(0, kUpCsatXpi, 13, "Csat/XPIo dB-Hz");
        L.Entry(0, kHpaObo, 13, "ES HPA OBO dB");
        L.Entry(0, kCarriersPerHpa, 13, "No of carriers / HPA");
        L.Entry(0, kHpaCim, 13, "HPA C/IMo dB-Hz");
        L.Entry(0, kUpc, 13, "UPC dB");
        L.Entry(0, kHpaPower, 13, "HPA power W");
        InterferencePage(L, 1, true);
        // ---- Downlink -----------------------------------------------------------
        L.Entry(2, kDnSiteName, 41, "Site name");
        L.Entry(2, kDnLatitude, 13, "Site latitude \xB0");
        L.Entry(2, kDnLongitude, 13, "Site longitude \xB0");
        L.Entry(2, kDnAltitude, 13, "Site altitude km");
        L.Entry(2, kDnFrequency, 13, "Frequency GHz");
        L.Entry(2, kDnPolarization, 2, "Polarization (V,H or C)");
        L.Entry(2, kDnAvailability, 13, "Availability %");
        L.Entry(2, kDnDiameter, 13, "Antenna diameter (m)");
        L.Entry(2, kDnEfficiency, 13, "Ant. eff,gain  %,dBi");
        L.Entry(2, kDnCouplingLoss, 13, "Coupling loss dB");
        L.Entry(2, kDnMispointing, 13, "Antenna mispointing dB");
        L.Entry(2, kDnOtherLosses, 13, "Other path losses dB");
        L.Entry(2, kLnbNoise, 13, "LNB noise fig,temp dB,K");
        L.Entry(2, kAntennaNoise, 13, "Antenna noise temp. K");
        L.Entry(2, kDnCsatAci, 13, "Csat/ACIo dB-Hz");
        L.Entry(2, kDnCsatXpi, 13, "Csat/XPIo dB-Hz");
        InterferencePage(L, 3, false);
        RainPage(L, 4);
        SatellitePage(L, 5);
        CarrierPage(L, 6, 5);
        InterferenceUnits(L, 0, 2, FormLayout::kPageTop + 9 * FormLayout::kRow);
        L.Footer(kTab, {{kSite, "Site"}, {kSatellite, "Satellite"}, {kReverse, "Reverse"}, {kFreeze, "Freeze"}},
                 kSuggestion);
        return L;
    }();
    return layout;
}

// The interferers of one link: four satellites by EIRP density and
// longitude (the first always counts), or a known total.
void TUpLinkForm::InterferencePage(FormLayout& L, int page, bool up)
{
    using K = platform::ControlKind;
    constexpr int top = FormLayout::kPageTop;
    const int density = up ? kUpAsiDensity1 : kDnAsiDensity1;
    const int longitude = up ? kUpAsiLongitude1 : kDnAsiLongitude1;
    const int include = up ? kUpInclude2 : kDnInclude2;
    const int known = up ? kUpKnownTotal : kDnKnownTotal;
    const int manual = up ? kUpCsatAsi : kDnCsatAsi;
    const int base = kStaticFirst + (up ? 0 : 10);
    L.Label(page, base, up ? "Interfering Uplinks (Sat1 is first interfering satellite)"
                           : "Interfering Downlinks (Sat1 is first interfering satellite)",
            20, top, 500);
    L.Label(page, base + 1, up ? "Include Switches" : "Include switches", 20, top + 30, 120);
    L.Label(page, base + 2, "EIRP density dBW/Hz", 150, top + 30, 170);
    L.Label(page, base + 3, up ? "Satellite longitude\xB0" : "Satellite longitude", 330, top + 30, 170);
    L.Label(page, base + 4, "Sat1", 20, top + 60, 100);
    char name[40];
    for (int i = 0; i < 4; ++i) {
        std::snprintf(name, sizeof name, "Sat%d EIRP density dBW/Hz", i + 1);
        L.EntryAt(page, density + i, 13, 150, top + 58 + 30 * i, 160, name);
    }
    for (int i = 0; i < 4; ++i) {
        std::snprintf(name, sizeof name, "Sat%d satellite longitude \xB0", i + 1);
        L.EntryAt(page, longitude + i, 13, 330, top + 58 + 30 * i, 160, name);
    }
    const char* sats[] = {"Sat2", "Sat3", "Sat4"};
    for (int i = 0; i < 3; ++i) L.Option(page, K::CheckBox, include + i, sats[i], 20, top + 88 + 30 * i, 100);
    L.Option(page, K::CheckBox, known, "Use known total value below (option)", 20, top + 190, 320);
    // The label keeps clear of its entry in either units ("C/ASI dB").
    L.Label(page, LabelOf(manual), "Csat/ASIo dB-Hz", 20, top + 222, 125);
    L.EntryAt(page, manual, 13, 150, top + 220, 160);
}

HintTable TUpLinkForm::Hints() { return kEntryHints; }

TUpLinkForm::TUpLinkForm(QWidget* parent, TUpLinkWin& window) : TBentPipeForm(parent, window)
{
    for (int id : {kUpInclude2, kUpInclude3, kUpInclude4, kDnInclude2, kDnInclude3, kDnInclude4})
        new TIncludeSatCheckBox(this, id);
    for (int id : {kUpKnownTotal, kDnKnownTotal}) new TASIManualCheckBox(this, id);
    SetHandler(kSatellite, [this] { CmSatellite(); });
}

void TUpLinkForm::CmSatellite()
{
    if (!PickSatellite()) return;
    const TOrbiscope& app = *App();
    GeoLinkInputRecord r = Scratch();
    const int page = SelectedPage();
    if (page == 1 || page == 3) {
        const int first = page == 1 ? kUpAsiLongitude1 : kDnAsiLongitude1;
        const int i = app.LastFocusedEntry - first;
        if (i < 0 || i > 3) return;
        PutText((page == 1 ? r.upAsiLongitude : r.dnAsiLongitude)[i], app.PickedSatLongitude);
    } else {
        PutText(r.satName, app.PickedSatName);
        PutText(r.satLongitude, app.PickedSatLongitude);
    }
    PutScratch(r);
}

bool TUpLinkForm::CheckInterferers(const GeoLinkInputRecord& r, bool up)
{
    using budgetcheck::Real;
    if ((up ? r.upAsiKnownTotal : r.dnAsiKnownTotal).On())
        return Real(*this, up ? "Manual value for Csat/ASIo or C/ASI (up)" : "Manual value for Csat/ASIo or C/ASI (down)",
                    FieldView(up ? r.upCsatAsi : r.dnCsatAsi), 1, 300, "dB-Hz or dB");
    const char* dir = up ? "uplink" : "downlink";
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && !(up ? r.upAsiInclude : r.dnAsiInclude)[i - 1].On()) continue;
        char label[80];
        std::snprintf(label, sizeof label, "EIRP density of interfering %s, Sat%d", dir, i + 1);
        if (!Real(*this, label, FieldView((up ? r.upAsiDensity : r.dnAsiDensity)[i]), -100, 100, "dBW/Hz"))
            return false;
        std::snprintf(label, sizeof label, "Interfering %s, Sat%d longitude", dir, i + 1);
        if (!CheckField(label, FieldView((up ? r.upAsiLongitude : r.dnAsiLongitude)[i]), FieldType::Longitude, 0, 180,
                        budgetcheck::kLongitudeUnit))
            return false;
    }
    return true;
}

bool TUpLinkForm::CheckFields(const GeoLinkInputRecord& r)
{
    using namespace budgetcheck;
    const auto spacing = [this](const GeoLinkInputRecord& x, bool up) {
        const auto& longitudes = up ? x.upAsiLongitude : x.dnAsiLongitude;
        const auto& include = up ? x.upAsiInclude : x.dnAsiInclude;
        return (up ? x.upAsiKnownTotal : x.dnAsiKnownTotal).On() ||
               CheckSatelliteSpacing(FieldView(x.satLongitude), FieldView(longitudes[0]), FieldView(longitudes[1]),
                                     FieldView(longitudes[2]), FieldView(longitudes[3]), include[0].Value(),
                                     include[1].Value(), include[2].Value());
    };
    const bool hpaKeyword = lbtext::IsKeyword(r.hpaPower, "min") || lbtext::IsKeyword(r.hpaPower, "max") ||
                            lbtext::IsKeyword(r.hpaPower, "mineq");
    return
        // Uplink
        CheckPlace(*this, "Site name (up)", "Site latitude (up)", "Site longitude (up)", FieldView(r.upSiteName),
                   FieldView(r.upLatitude), FieldView(r.upLongitude)) &&
        CheckAltitude(*this, "Site altitude (up)", r.upAltitude) &&
        Real(*this, "Frequency (up)", FieldView(r.upFrequency), 0.0007, 55, "GHz") &&
        CheckField("Polarization (up)", FieldView(r.upPolarization), FieldType::Polarization, 0, 0, "") &&
        Real(*this, "Availability (up)", FieldView(r.upAvailability), 40, 99.99999, "%") &&
        Real(*this, "Antenna aperture (up)", FieldView(r.upDiameter), 0.002, 50, "m") &&
        CheckAntenna(*this, "Antenna gain (up)", "Antenna efficiency (up)", r.upEfficiency, r.upDiameter,
                     r.upFrequency, 1) &&
        Real(*this, "Coupling loss (up)", FieldView(r.upCouplingLoss), 0, 20, "dB") &&
        Real(*this, "Antenna mispoint loss (up)", FieldView(r.upMispointing), 0, 10, "dB") &&
        Real(*this, "Other path losses (up)", FieldView(r.upOtherLosses), -30, 30, "dB") &&
        Real(*this, "Csat/ACIo or C/ACI (up)", FieldView(r.upCsatAci), 1, 300, "dB-Hz or dB") &&
        Real(*this, "Csat/XPIo or C/XPI (up)", FieldView(r.upCsatXpi), 1, 300, "dB-Hz or dB") &&
        Real(*this, "Earth station HPA back off", FieldView(r.hpaObo), 0, 30, "dB") &&
        CheckField("Number of Carriers/ES HPA", FieldView(r.carriersPerHpa), FieldType::Integer, 1, 10000, "") &&
        Real(*this, "C/IMo or C/IM (up)", FieldView(r.hpaCim), 1, 300, "dB-Hz or dB") &&
        Real(*this, "Uplink Power Control", FieldView(r.upc), 0, 40, "dB") &&
        (hpaKeyword || Real(*this, "HPA Power", FieldView(r.hpaPower), 0.00001, 5000, "W")) &&
        CheckInterferers(r, true) &&
        // Downlink
        CheckPlace(*this, "Site name (down)", "Site latitude (down)", "Site longitude (down)", FieldView(r.dnSiteName),
                   FieldView(r.dnLatitude), FieldView(r.dnLongitude)) &&
        CheckAltitude(*this, "Site altitude (down)", r.dnAltitude) &&
        Real(*this, "Frequency (down)", FieldView(r.dnFrequency), 0.0007, 55, "GHz") &&
        CheckField("Polarization (down)", FieldView(r.dnPolarization), FieldType::Polarization, 0, 0, "") &&
        (!NotAuto(r.dnAvailability) ||
         Real(*this, "Availability (down)", FieldView(r.dnAvailability), 40, 99.99999, "%")) &&
        Real(*this, "Antenna aperture (down)", FieldView(r.dnDiameter), 0.002, 50, "m") &&
        CheckAntenna(*this, "Antenna gain (down)", "Antenna efficiency (down)", r.dnEfficiency, r.dnDiameter,
                     r.dnFrequency, 2) &&
        Real(*this, "Coupling loss (down)", FieldView(r.dnCouplingLoss), 0, 20, "dB") &&
        Real(*this, "Antenna mispoint loss (down)", FieldView(r.dnMispointing), 0, 10, "dB") &&
        Real(*this, "Other path losses (down)", FieldView(r.dnOtherLosses), 0, 30, "dB") &&
        (r.lnbNoise[0] == '+' ? Real(*this, "LNB noise temperature", FieldView(r.lnbNoise), 0.01, 1000, "K")
                              : Real(*this, "LNB noise figure", FieldView(r.lnbNoise), 0.01, 6.5, "dB")) &&
        (!NotAuto(r.antennaNoise) ||
         Real(*this, "Receive antenna noise (down)", FieldView(r.antennaNoise), 1, 500, "K")) &&
        Real(*this, "Csat/ACIo or C/ACI (down)", FieldView(r.dnCsatAci), 1, 300, "dB-Hz or dB") &&
        Real(*this, "Csat/XPIo or C/XPI (down)", FieldView(r.dnCsatXpi), 1, 300, "dB-Hz or dB") &&
        CheckInterferers(r, false) && CheckRainRates(r) &&
        // Satellite
        CheckField("Satellite name", FieldView(r.satName), FieldType::Text, 0, 0, "") &&
        CheckField("Satellite longitude", FieldView(r.satLongitude), FieldType::Longitude, 0, 180, kLongitudeUnit) &&
        Real(*this, "Satellite G/T(ref)", FieldView(r.gtRef), -50, 100, "dB/K") &&
        Real(*this, "Satellite SFD(ref)", FieldView(r.sfdRef), -200, -10, "dB/m^2") &&
        Real(*this, "Satellite receive G/T", FieldView(r.gtReceive), -50, 100, "dB/K") &&
        Real(*this, "Satellite flux control attenuator (FCA)", FieldView(r.fca), 0, 60, "dB") &&
        Real(*this, "Satellite ALC", FieldView(r.alc), 0, 30, "dB") &&
        (r.eirpBeamPeak[0] == '\0' ||
         Real(*this, "Satellite EIRP (beam peak)", FieldView(r.eirpBeamPeak), -10, 100, "dBW")) &&
        Real(*this, "Satellite EIRP (zero back off)", FieldView(r.eirpSaturation), -10, 100, "dBW") &&
        Real(*this, "Transponder bandwidth", FieldView(r.transponderBandwidth), 0.00001, 6000, "MHz") &&
        CheckTransponder(r) &&
        // Carriers, then the satellite spacing and the carrier spacing that decides.
        CheckService(r, "Required Target (Eb/No or Es/No)", 100) && spacing(r, true) && spacing(r, false) &&
        CheckCarrierSpacing(FieldView(r.rollOff), FieldView(r.carrierSpacing));
}
