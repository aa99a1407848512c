#include "linkbudget/nongeo/nongeo_form.h"

#include "linkbudget/engine/input_text.h"
#include "linkbudget/nongeo/nongeo_window.h"

using F = TLeoLinkForm;

namespace {

using namespace budgethint;

// Besides the entries the GEO dialog has too: each station's satellite geometry.
constexpr auto kEntryHints = Joined(bentpipe::Hints<F>(), std::array<HintEntry, 6>{{
    {F::kUpElevation, 0, kElevation}, {F::kDnElevation, 0, kElevation},
    {F::kUpRange, 0, kRange}, {F::kDnRange, 0, kRange},
    {F::kUpLongitudeDiff, 0, kLongitudeDifference}, {F::kDnLongitudeDiff, 0, kLongitudeDifference},
}});

}  // namespace

void TLeoLinkForm::LinkPage(FormLayout& L, int page, bool up)
{
    L.Entry(page, up ? kUpSiteName : kDnSiteName, 41, "Site name");
    L.Entry(page, up ? kUpLatitude : kDnLatitude, 13, "Site latitude \xB0");
    L.Entry(page, up ? kUpLongitude : kDnLongitude, 13, "Site longitude \xB0");
    L.Entry(page, up ? kUpElevation : kDnElevation, 13, "Sat. elevation \xB0");
    L.Entry(page, up ? kUpRange : kDnRange, 13, "Sat. range km");
    L.Entry(page, up ? kUpLongitudeDiff : kDnLongitudeDiff, 13, "Site/Sat long. diff. \xB0");
    L.Entry(page, up ? kUpAltitude : kDnAltitude, 13, "Site altitude km");
    L.Entry(page, up ? kUpFrequency : kDnFrequency, 13, "Frequency GHz");
    L.Entry(page, up ? kUpPolarization : kDnPolarization, 2, "Polarization (V,H or C)");
    L.Entry(page, up ? kUpAvailability : kDnAvailability, 13, "Availability %");
    L.Entry(page, up ? kUpDiameter : kDnDiameter, 13, "Antenna diameter (m)");
    L.Entry(page, up ? kUpEfficiency : kDnEfficiency, 13, "Ant. eff,gain  %,dBi");
    L.Entry(page, up ? kUpCouplingLoss : kDnCouplingLoss, 13, "Coupling loss dB");
    L.Entry(page, up ? kUpMispointing : kDnMispointing, 13, "Antenna mispointing dB");
    L.Entry(page, up ? kUpOtherLosses : kDnOtherLosses, 13, "Other path losses dB");
    if (!up) {
        L.Entry(page, kLnbNoise, 13, "LNB noise fig,temp dB,K");
        L.Entry(page, kAntennaNoise, 13, "Antenna noise temp. K");
    }
    L.Entry(page, up ? kUpCsatAci : kDnCsatAci, 13, "Csat/ACIo dB-Hz");
    L.Entry(page, up ? kUpCsatAsi : kDnCsatAsi, 13, "Csat/ASIo dB-Hz");
    L.Entry(page, up ? kUpCsatXpi : kDnCsatXpi, 13, "Csat/XPIo dB-Hz");
    if (up) {
        L.Entry(page, kHpaObo, 13, "ES HPA OBO dB");
        L.Entry(page, kCarriersPerHpa, 13, "No of carriers / HPA");
        L.Entry(page, kHpaCim, 13, "HPA C/IMo dB-Hz");
        L.Entry(page, kUpc, 13, "UPC dB");
        L.Entry(page, kHpaPower, 13, "HPA power W");
    }
}

const FormLayout& TLeoLinkForm::Layout()
{
    static const FormLayout layout = [] {
        // The link pages hold more rows than the GEO ones: two columns of 14.
        FormLayout L(kPageCount, 14);
        LinkPage(L, 0, true);
        LinkPage(L, 1, false);
        RainPage(L, 2);
        SatellitePage(L, 3);
        CarrierPage(L, 4, 3);
        InterferenceUnits(L, 0, 1, FormLayout::kPageTop + 11 * FormLayout::kRow);
        L.Footer(kTab, {{budgetform::kSite, "Site"}, {budgetform::kReverse, "Reverse"}, {budgetform::kFreeze, "Freeze"}},
                 budgetform::kSuggestion);
        return L;
    }();
    return layout;
}

HintTable TLeoLinkForm::Hints() { return kEntryHints; }

TLeoLinkForm::TLeoLinkForm(QWidget* parent, TLeoLinkWin& window) : TBentPipeForm(parent, window) {}

bool TLeoLinkForm::CheckFields(const NonGeoLinkInputRecord& r)
{
    using namespace budgetcheck;
    const bool hpaKeyword = lbtext::IsKeyword(r.hpaPower, "min") || lbtext::IsKeyword(r.hpaPower, "max") ||
                            lbtext::IsKeyword(r.hpaPower, "mineq");
    return
        // Uplink
        CheckPlace(*this, "Site name (up)", "Site latitude (up)", "Site longitude (up)", FieldView(r.upSiteName),
                   FieldView(r.upLatitude), FieldView(r.upLongitude)) &&
        Real(*this, "Satellite elevation (up)", FieldView(r.upElevation), 0, 90, "degrees") &&
        Real(*this, "Satellite range (up)", FieldView(r.upRange), 1, 2000000, "km") &&
        Real(*this, "Site/Sat Longitude difference (up)", FieldView(r.upLongitudeDiff), 0, 80, "degrees") &&
        CheckAltitude(*this, "Site altitude (up)", r.upAltitude) &&
        Real(*this, "Availability (up)", FieldView(r.upAvailability), 40, 99.99999, "%") &&
        Real(*this, "Frequency (up)", FieldView(r.upFrequency), 0.0007, 55, "GHz") &&
        CheckField("Polarization (up)", FieldView(r.upPolarization), FieldType::Polarization, 0, 0, "") &&
        Real(*this, "Antenna aperture (up)", FieldView(r.upDiameter), 0.002, 50, "m") &&
        CheckAntenna(*this, "Antenna gain (up)", "Antenna efficiency (up)", r.upEfficiency, r.upDiameter,
                     r.upFrequency, 1) &&
        Real(*this, "Coupling loss (up)", FieldView(r.upCouplingLoss), 0, 20, "dB") &&
        Real(*this, "Antenna mispoint loss (up)", FieldView(r.upMispointing), 0, 50, "dB") &&
        Real(*this, "Other path losses (up)", FieldView(r.upOtherLosses), -30, 30, "dB") &&
        Real(*this, "Csat/ACIo or C/ACI (up)", FieldView(r.upCsatAci), 1, 300, "dB-Hz or dB") &&
        Real(*this, "Csat/ASIo or C/ASI (up)", FieldView(r.upCsatAsi), 1, 300, "dB-Hz or dB") &&
        Real(*this, "Csat/XPIo or C/XPI (up)", FieldView(r.upCsatXpi), 1, 300, "dB-Hz or dB") &&
        CheckField("Number of Carriers/ES HPA", FieldView(r.carriersPerHpa), FieldType::Integer, 1, 10000, "") &&
        Real(*this, "C/IMo or C/IM (up)", FieldView(r.hpaCim), 1, 300, "dB-Hz or dB") &&
        Real(*this, "Earth station HPA back off", FieldView(r.hpaObo), 0, 30, "dB") &&
        Real(*this, "Uplink Power Control", FieldView(r.upc), 0, 40, "dB") &&
        (hpaKeyword || Real(*this, "HPA Capability", FieldView(r.hpaPower), 0.00001, 5000, "W")) &&
        // Downlink
        CheckPlace(*this, "Site name (down)", "Site latitude (down)", "Site longitude (down)", FieldView(r.dnSiteName),
                   FieldView(r.dnLatitude), FieldView(r.dnLongitude)) &&
        Real(*this, "Satellite elevation (down)", FieldView(r.dnElevation), 0, 90, "degrees") &&
        Real(*this, "Satellite range (down)", FieldView(r.dnRange), 1, 2000000, "km") &&
        Real(*this, "Site/Sat longitude difference (down)", FieldView(r.dnLongitudeDiff), 0, 80, "degrees") &&
        CheckAltitude(*this, "Site altitude (down)", r.dnAltitude) &&
        Real(*this, "Frequency (down)", FieldView(r.dnFrequency), 0.0007, 55, "GHz") &&
        CheckField("Polarization (down)", FieldView(r.dnPolarization), FieldType::Polarization, 0, 0, "") &&
        (!NotAuto(r.dnAvailability) ||
         Real(*this, "Availability (down)", FieldView(r.dnAvailability), 40, 99.99999, "%")) &&
        Real(*this, "Antenna aperture (down)", FieldView(r.dnDiameter), 0.002, 50, "m") &&
        CheckAntenna(*this, "Antenna gain (down)", "Antenna efficiency (down)", r.dnEfficiency, r.dnDiameter,
                     r.dnFrequency, 2) &&
        Real(*this, "Coupling loss (down)", FieldView(r.dnCouplingLoss), 0, 20, "dB") &&
        Real(*this, "Antenna mispoint loss (down)", FieldView(r.dnMispointing), 0, 50, "dB") &&
        Real(*this, "Other path losses (down)", FieldView(r.dnOtherLosses), 0, 30, "dB") &&
        (r.lnbNoise[0] == '+' ? Real(*this, "LNB noise temperature", FieldView(r.lnbNoise), 0.01, 1000, "K")
                              : Real(*this, "LNB noise figure", FieldView(r.lnbNoise), 0.01, 6.5, "dB")) &&
        (!NotAuto(r.antennaNoise) ||
         Real(*this, "Downlink receive antenna noise", FieldView(r.antennaNoise), 1, 500, "K")) &&
        Real(*this, "Csat/ACIo or C/ACI (down)", FieldView(r.dnCsatAci), 1, 300, "dB-Hz or dB") &&
        Real(*this, "Csat/ASIo or C/ASI (down)", FieldView(r.dnCsatAsi), 1, 300, "dB-Hz or dB") &&
        Real(*this, "Csat/XPIo or C/XPI (down)", FieldView(r.dnCsatXpi), 1, 300, "dB-Hz or dB") &&
        CheckRainRates(r) &&
        // Satellite
        CheckField("Satellite name", FieldView(r.satName), FieldType::Text, 0, 0, "") &&
        Real(*this, "Satellite G/T(ref)", FieldView(r.gtRef), -50, 100, "dB/K") &&
        Real(*this, "Satellite SFD(ref)", FieldView(r.sfdRef), -200, -10, "dB/m2") &&
        Real(*this, "Satellite receive G/T", FieldView(r.gtReceive), -50, 100, "dB/K") &&
        Real(*this, "Satellite flux control attenuator (FCA)", FieldView(r.fca), 0, 60, "dB") &&
        Real(*this, "Satellite ALC", FieldView(r.alc), 0, 30, "dB") &&
        Real(*this, "Satellite EIRP (zero back off)", FieldView(r.eirpSaturation), -10, 100, "dBW") &&
        (r.eirpBeamPeak[0] == '\0' ||
         Real(*this, "Satellite EIRP (beam peak)", FieldView(r.eirpBeamPeak), -10, 100, "dBW")) &&
        Real(*this, "Transponder bandwidth", FieldView(r.transponderBandwidth), 0.00001, 6000, "MHz") &&
        CheckTransponder(r) &&
        // Carriers
        CheckService(r, "Required Eb/No or Es/No", 50) &&
        CheckCarrierSpacing(FieldView(r.rollOff), FieldView(r.carrierSpacing));
}
