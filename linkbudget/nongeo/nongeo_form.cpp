#include "linkbudget/nongeo/nongeo_form.h"

#include "linkbudget/engine/input_text.h"
#include "linkbudget/nongeo/nongeo_window.h"

using F = TLeoLinkForm;

namespace {

// ---- hints -------------------------------------------------------------------
constexpr const char* kSiteName = "Name of earth station location";
constexpr const char* kLatitude = "Earth station latitude (0 to 90 degrees, suffix N or S)";
constexpr const char* kLongitude = "Earth station longitude (0 to 180 degrees, suffix E or W)";
constexpr const char* kElevation = "Snapshot elevation of non-geo satellite (degrees)";
constexpr const char* kRange = "Range of non-geo satellite (km)";
constexpr const char* kLongitudeDiff = "Estimate of worst case site/satellite longitude difference (degrees)";
constexpr const char* kAltitude = "Site altitude in km or use AUTO";
constexpr const char* kFrequency = "Frequency (1 to 100 GHz)";
constexpr const char* kPolarization = "Electric field polarization (V=Vertical, H=Horizontal, or C=Circular)";
constexpr const char* kXpi = "Value for Csat/XPIo or C/XPI according to input label";
constexpr const char* kAci = "Value for Csat/ACIo or C/ACI according to input label";
constexpr const char* kAsi = "Value for Csat/AAIo or C/ASI according to input label";
constexpr const char* kAvailability = "'Average year' availability (95.0 to 99.999%)";
constexpr const char* kMispoint = "Antenna mispoint losses (dB)";
constexpr const char* kOther = "Other path losses (+ve for radome loss or -ve for site diversity gain";
constexpr const char* kDiameter = "Aperture of earth station antenna (0.2 to 50 metres)";
constexpr const char* kEfficiency = "Antenna efficiency(%) or prefix with '+' for a gain(dBi) for link budgets";
constexpr const char* kCoupling = "Waveguide losses [0 to 20dB)";
constexpr const char* kRainRate = "ITU-R manual rain rate value (mm/hr)";
constexpr const char* kAuto = "AUTO or a specific value";

constexpr HintEntry kEntryHints[] = {
    {F::kUpSiteName, 0, kSiteName}, {F::kDnSiteName, 0, kSiteName},
    {F::kUpLatitude, 0, kLatitude}, {F::kDnLatitude, 0, kLatitude},
    {F::kUpLongitude, 0, kLongitude}, {F::kDnLongitude, 0, kLongitude},
    {F::kUpElevation, 0, kElevation}, {F::kDnElevation, 0, kElevation},
    {F::kUpRange, 0, kRange}, {F::kDnRange, 0, kRange},
    {F::kUpLongitudeDiff, 0, kLongitudeDiff}, {F::kDnLongitudeDiff, 0, kLongitudeDiff},
    {F::kUpAltitude, 0, kAltitude}, {F::kDnAltitude, 0, kAltitude},
    {F::kUpFrequency, 0, kFrequency}, {F::kDnFrequency, 0, kFrequency},
    {F::kUpPolarization, 0, kPolarization}, {F::kDnPolarization, 0, kPolarization},
    {F::kHpaCim, 0, "Value for Csat/IMo or C/IM according to input label"},
    {F::kUpCsatXpi, 0, kXpi}, {F::kDnCsatXpi, 0, kXpi},
    {F::kUpCsatAci, 0, kAci}, {F::kDnCsatAci, 0, kAci},
    {F::kUpCsatAsi, 0, kAsi}, {F::kDnCsatAsi, 0, kAsi},
    {F::kUpAvailability, 0, kAvailability}, {F::kDnAvailability, 0, kAvailability},
    {F::kUpMispointing, 0, kMispoint}, {F::kDnMispointing, 0, kMispoint},
    {F::kUpOtherLosses, 0, kOther}, {F::kDnOtherLosses, 0, kOther},
    {F::kUpDiameter, 0, kDiameter}, {F::kDnDiameter, 0, kDiameter},
    {F::kUpEfficiency, 0, kEfficiency}, {F::kDnEfficiency, 0, kEfficiency},
    {F::kUpCouplingLoss, 0, kCoupling}, {F::kDnCouplingLoss, 0, kCoupling},
    {F::kHpaPower, 0, "MIN, MAX or specific value for HPA power (typ. MIN)"},
    {F::kHpaObo, 0, "Earth station HPA output back-off (typ. 1 to 5dB)"},
    {F::kLnbNoise, 0, "LNB noise figure(dB) or temp.(K) : Prefix with '+' for temp."},
    {F::kAntennaNoise, 0, "Value for antenna noise (1 to 500K)"},
    {F::kDnRainRate, 0, kRainRate}, {F::kUpRainRate, 0, kRainRate},
    {F::kSatName, 0, "Name of satellite"},
    {F::kFca, 0, "FCA (flux control attenuator) setting (typ: 0 to 16dB)"},
    {F::kTransponderBandwidth, 0, "Enter full transponder bandwidth (typ. 24 to 72MHz)"},
    {F::kEirpSaturation, 0, "Saturation EIRP of satellite (dBW)"},
    {F::kSfdRef, 0, "Reference satellite SFD value in dBW/m2"},
    {F::kGtReceive, 0, "Satellite receive G/T value (-50 to 100 dBK)"},
    {F::kGtRef, 0, "Reference satellite receive G/T value in dBK"},
    {F::kAlc, 0, "ALC range dB (typ: 0dB with older satellites)"},
    {F::kCim, 0, kAuto}, {F::kTransponderObo, 0, kAuto},
    {F::kTransponderIbo, 0, "Transponder total Input back-off (0 to 30dB)"},
    {F::kEirpBeamPeak, 0, "Leave blank or enter the beam peak EIRP reference value in dBW (optional)"},
    {F::kModulationOrder, 0, "Value of M for M-ary modulation scheme (Set M=2 for 1 bit/symbol schemes)"},
    {F::kImplementationLoss, 0, "Degradation, enter 0 if not known (dB)"},
    {F::kCoverage, 0, "Coverage of service"},
    {F::kServiceName, 0, "Name of service or customer"},
    {F::kRate, 0, "Information rate in Mbps (or symbol rate in Mbaud if option is flagged)"},
    {F::kRequiredTarget, 0, "Target Eb/No or Es/No required [-40 to 50 dB]"},
    {F::kRollOff, 0, "(1 + roll off factor) (typ. 1.2)"},
    {F::kFecRate, 0, "FEC code rate (typ. 0.5, 0.75 or 0.875)"},
    {F::kSystemMargin, 0, "Margin to allow for uncertainty of system parameters (typ. 0 to 3 dB)"},
    {F::kOverhead, 0, "Signalling overhead, if any, added to the info rate"},
    {F::kSpreadingGain, 0, "Spreading gain (dB) for spread spectrum transmission (typ. 0)"},
    {F::kAllocationStep, 0, "Allocated bandwidth incremental step size (typ. 0.100MHz)"},
    {F::kCarrierSpacing, 0, "Carrier spacing factor (typ. 1.4)"},
};

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

bool TLeoLinkForm::ValidateFields(const NonGeoLinkInputRecord& in)
{
    using namespace budgetcheck;
    NonGeoLinkInputRecord r = in;
    TerminateNonGeoLinkTexts(r);
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
