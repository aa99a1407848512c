#include "linkbudget/isolated/downlink_form.h"

#include "linkbudget/engine/input_text.h"
#include "linkbudget/isolated/downlink_window.h"

using F = TRgnDownLinkForm;

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
    {F::kLnbNoise, 0, "LNB noise figure(dB) or temp.(K) : Prefix with '+' for temp."},
    {F::kAntennaNoise, 0, "Value for antenna noise (1 to 500K)"},
    {F::kLnbGain, 0, "Enter gain of the LNB (10 to 100dB)"},
    {F::kLoadImpedance, 0, "Matching impedance of the LNB output (usually 50 or 75 ohms)"},
    {F::kCim, 0, "AUTO or a specific value"},
    {F::kEirp, 0, "Saturation EIRP of satellite (dBW)"},
    {F::kRainRate, 0, "ITU-R manual rain rate value (mm/hr)"},
    {F::kSatName, 0, "Name of satellite"},
    {F::kServiceName, 0, "Name of service or customer"},
    {F::kSatBandwidth, 0, "Enter full transponder bandwidth (typ. 24 to 72MHz)"},
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

const FormLayout& TRgnDownLinkForm::Layout()
{
    static const FormLayout layout = [] {
        FormLayout L(kPageCount, 12);
        StationEntries(L);
        L.Entry(0, kLnbNoise, 13, "LNB noise fig,temp dB,K");
        L.Entry(0, kAntennaNoise, 13, "Antenna noise temp. K");
        L.Entry(0, kLnbGain, 13, "LNB gain dB");
        L.Entry(0, kLoadImpedance, 13, "LNB load imp. ohms");
        L.Entry(0, kCsatAci, 13, "Csat/ACIo dB-Hz");
        L.Entry(0, kCsatAsi, 13, "Csat/ASIo dB-Hz");
        L.Entry(0, kCsatXpi, 13, "Csat/XPIo dB-Hz");
        L.Entry(0, kCim, 13, "C/IM dB");
        OtherPages(L, "Downlink Rain Model", kEirp, "EIRP dBW");
        return L;
    }();
    return layout;
}

HintTable TRgnDownLinkForm::Hints() { return kEntryHints; }

TRgnDownLinkForm::TRgnDownLinkForm(QWidget* parent, TRgnDownLinkWin& window) : TIsolatedForm(parent, window) {}

bool TRgnDownLinkForm::ValidateFields(const DownlinkInputRecord& in)
{
    using namespace budgetcheck;
    DownlinkInputRecord r = in;
    TerminateDownlinkTexts(r);
    return CheckPlace(*this, "Site name", "Site latitude", "Site longitude", FieldView(r.siteName),
                      FieldView(r.latitude), FieldView(r.longitude)) &&
           CheckAltitude(*this, "Site altitude", r.altitude) &&
           Real(*this, "Frequency", FieldView(r.frequency), 0.0007, 55, "GHz") &&
           CheckField("Polarization", FieldView(r.polarization), FieldType::Polarization, 0, 0, "") &&
           Real(*this, "Availability", FieldView(r.availability), 40, 99.99999, "%") &&
           Real(*this, "Antenna aperture", FieldView(r.diameter), 0.002, 50, "m") &&
           CheckAntenna(*this, "Antenna gain (down)", "Antenna efficiency (down)", r.efficiency, r.diameter,
                        r.frequency, 2) &&
           Real(*this, "Coupling loss", FieldView(r.couplingLoss), 0, 20, "dB") &&
           Real(*this, "Antenna mispoint", FieldView(r.mispointing), 0, 50, "dB") &&
           Real(*this, "Other path losses", FieldView(r.otherLosses), 0, 30, "dB") &&
           (r.lnbNoise[0] == '+' ? Real(*this, "LNB noise temperature", FieldView(r.lnbNoise), 0.01, 1000, "K")
                                 : Real(*this, "LNB noise figure", FieldView(r.lnbNoise), 0.01, 6.5, "dB")) &&
           // The LNB gain takes any text.
           Real(*this, "LNB load impedance", FieldView(r.loadImpedance), 20, 100, "ohms") &&
           (!NotAuto(r.antennaNoise) ||
            Real(*this, "Receive antenna noise", FieldView(r.antennaNoise), 1, 500, "K")) &&
           Real(*this, "Csat/ACIo or C/ACI", FieldView(r.csatAci), 1, 300, "dB-Hz or dB") &&
           Real(*this, "Csat/ASIo or C/ASI", FieldView(r.csatAsi), 1, 300, "dB-Hz or dB") &&
           Real(*this, "Csat/XPIo or C/XPI", FieldView(r.csatXpi), 1, 300, "dB-Hz or dB") &&
           Real(*this, "Csat/IM", FieldView(r.cim), 1, 300, "dB") &&
           (!r.ituRate.On() || Real(*this, "Downlink rain rate", FieldView(r.rainRate), 0, 200, "mm/hr")) &&
           CheckField("Satellite name", FieldView(r.satName), FieldType::Text, 0, 0, "") &&
           CheckField("Service Name", FieldView(r.serviceName), FieldType::Text, 0, 0, "") &&
           Real(*this, "Satellite EIRP", FieldView(r.eirp), -10, 100, "dBW") &&
           Real(*this, "Satellite bandwidth", FieldView(r.satBandwidth), 0.00001, 6000, "MHz") && CheckOrbit(r) &&
           CheckCarrier(*this, r, "Required target (Eb/No or Es/No)", 50) &&
           CheckCarrierSpacing(FieldView(r.rollOff), FieldView(r.carrierSpacing));
}
