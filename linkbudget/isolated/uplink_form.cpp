#include "linkbudget/isolated/uplink_form.h"

#include "linkbudget/engine/input_text.h"
#include "linkbudget/isolated/uplink_window.h"

using F = TRgnUpLinkForm;

namespace {

// ---- hints -------------------------------------------------------------------
constexpr HintEntry kEntryHints[] = {
    {F::kSiteName, 0, "Name of earth station location"},
    {F::kLatitude, 0, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
    {F::kLongitude, 0, "Earth station longitude (0 to 180 degrees, suffix E or W)"},
    {F::kAltitude, 0, "Site altitude in km or use AUTO"},
    {F::kFrequency, 0, "Frequency (1 to 100 GHz)"},
    {F::kPolarization, 0, "Electric field polarization (V=Vertical, H=Horizontal, or C=Circular)"},
    {F::kAvailability, 0, "'Average year' availability (95.0 to 99.999%)"},
    {F::kDiameter, 0, "Aperture of earth station antenna (0.2 to 50 metres)"},
    {F::kEfficiency, 0, "Antenna efficiency(%) or prefix with '+' for a gain(dBi) for link budgets"},
    {F::kCouplingLoss, 0, "Waveguide losses [0 to 20dB)"},
    {F::kMispointing, 0, "Antenna mispointing losses (dB)"},
    {F::kOtherLosses, 0, "Other path losses (+ve for radome loss or -ve for site diversity gain"},
    {F::kCsatAci, 0, "Value for Csat/ACIo or C/ACI according to input label"},
    {F::kCsatAsi, 0, "Value for Csat/AAIo or C/ASI according to input label"},
    {F::kCsatXpi, 0, "Value for Csat/XPIo or C/XPI according to input label"},
    {F::kHpaCim, 0, "Value for Csat/IMo or C/IM according to input label"},
    {F::kHpaObo, 0, "Earth station HPA output back-off (typ. 1 to 5dB)"},
    {F::kHpaPower, 0, "MIN, MAX or specific value for HPA power (typ. MIN)"},
    {F::kRainRate, 0, "ITU-R manual rain rate value (mm/hr)"},
    {F::kSatName, 0, "Name of satellite"},
    {F::kServiceName, 0, "Name of service or customer"},
    {F::kSatGt, 0, "Satellite receive G/T value (-50 to 100 dBK)"},
    {F::kSatBandwidth, 0, "Mandwidth of adjacent satellite interfering network (MHz)"},
    {F::kSatLongitude, 0, "Orbital slot of satellite (0 to 180 degrees, suffix E or W)"},
    {F::kRange, 0, "Range of non-geo satellite (km)"},
    {F::kElevation, 0, "Snapshot elevation of non-geo satellite (degrees)"},
    {F::kLongitudeDifference, 0, "Estimate of worst case site/satellite longitude difference (degrees)"},
    {F::kRequiredTarget, 0, "Target Eb/No or Es/No required [-40 to 50 dB]"},
    {F::kRate, 0, "Information rate in Mbps (or symbol rate in Mbaud if option is flagged)"},
    {F::kOverhead, 0, "Signalling overhead, if any, added to the info rate"},
    {F::kFecRate, 0, "FEC code rate (typ. 0.5, 0.75 or 0.875)"},
    {F::kSpreadingGain, 0, "Spreading gain (dB) for spread spectrum transmission (typ. 0)"},
    {F::kRollOff, 0, "(1 + roll off factor) (typ. 1.2)"},
    {F::kCarrierSpacing, 0, "Carrier spacing factor (typ. 1.4)"},
    {F::kAllocationStep, 0, "Allocated bandwidth incremental step size (typ. 0.100MHz)"},
    {F::kImplementationLoss, 0, "Degradation, enter 0 if not known (dB)"},
    {F::kSystemMargin, 0, "Margin to allow for uncertainty of system parameters (typ. 0 to 3 dB)"},
    {F::kModulationOrder, 0, "Value of M for M-ary modulation scheme (Set M=2 for 1 bit/symbol schemes)"},
};

}  // namespace

const FormLayout& TRgnUpLinkForm::Layout()
{
    static const FormLayout layout = [] {
        FormLayout L(kPageCount, 12);
        StationEntries(L);
        L.Entry(0, kCsatAci, 13, "C/ACIo dB-Hz");
        L.Entry(0, kCsatAsi, 13, "C/ASIo dB-Hz");
        L.Entry(0, kCsatXpi, 13, "C/XPIo dB-Hz");
        L.Entry(0, kHpaCim, 13, "HPA C/IMo dB-Hz");
        L.Entry(0, kHpaObo, 13, "ES HPA OBO dB");
        L.Entry(0, kPowerControl, 13, "Uplink power control dB");
        L.Entry(0, kHpaPower, 13, "HPA power W");
        OtherPages(L, "Uplink Rain Model", kSatGt, "Satellite G/T dB/K");
        return L;
    }();
    return layout;
}

HintTable TRgnUpLinkForm::Hints() { return kEntryHints; }

TRgnUpLinkForm::TRgnUpLinkForm(QWidget* parent, TRgnUpLinkWin& window) : TIsolatedForm(parent, window) {}

bool TRgnUpLinkForm::ValidateFields(const UplinkInputRecord& in)
{
    using namespace budgetcheck;
    UplinkInputRecord r = in;
    TerminateUplinkTexts(r);
    return CheckPlace(*this, "Site name", "Site latitude", "Site longitude", FieldView(r.siteName),
                      FieldView(r.latitude), FieldView(r.longitude)) &&
           CheckAltitude(*this, "Site altitude", r.altitude) &&
           Real(*this, "Availability", FieldView(r.availability), 40, 99.99999, "%") &&
           Real(*this, "Frequency", FieldView(r.frequency), 0.0007, 55, "GHz") &&
           CheckField("Polarization", FieldView(r.polarization), FieldType::Polarization, 0, 0, "") &&
           Real(*this, "Antenna aperture", FieldView(r.diameter), 0.002, 50, "m") &&
           CheckAntenna(*this, "Antenna gain", "Antenna efficiency", r.efficiency, r.diameter, r.frequency, 1) &&
           Real(*this, "Coupling loss", FieldView(r.couplingLoss), 0, 20, "dB") &&
           Real(*this, "Antenna mispoint", FieldView(r.mispointing), 0, 50, "dB") &&
           Real(*this, "Other path losses", FieldView(r.otherLosses), -30, 30, "dB") &&
           Real(*this, "C/ACIo or C/ACI", FieldView(r.csatAci), 1, 300, "dB-Hz or dB") &&
           Real(*this, "C/ASIo or C/ASI", FieldView(r.csatAsi), 1, 300, "dB-Hz or dB") &&
           Real(*this, "C/XPIo or C/XPI", FieldView(r.csatXpi), 1, 300, "dB-Hz or dB") &&
           Real(*this, "C/IMo or C/IM", FieldView(r.hpaCim), 1, 300, "dB-Hz or dB") &&
           Real(*this, "Earth station HPA back off", FieldView(r.hpaObo), 0, 30, "dB") &&
           Real(*this, "Uplink Power Control", FieldView(r.powerControl), 0, 40, "dB") &&
           (lbtext::IsKeyword(r.hpaPower, "min") || Real(*this, "HPA power", FieldView(r.hpaPower), 0.00001, 5000, "W")) &&
           (!r.ituRate.On() || Real(*this, "Uplink rain rate", FieldView(r.rainRate), 0, 200, "mm/hr")) &&
           CheckField("Satellite name", FieldView(r.satName), FieldType::Text, 0, 0, "") &&
           CheckField("Service name", FieldView(r.serviceName), FieldType::Text, 0, 0, "") &&
           Real(*this, "Satellite receive G/T", FieldView(r.satGt), -50, 100, "dB/K") &&
           Real(*this, "Satellite bandwidth", FieldView(r.satBandwidth), 0.00001, 6000, "MHz") && CheckOrbit(r) &&
           CheckCarrier(*this, r, "Required target up (Eb/No or Es/No)", 50) &&
           CheckCarrierSpacing(FieldView(r.rollOff), FieldView(r.carrierSpacing));
}
