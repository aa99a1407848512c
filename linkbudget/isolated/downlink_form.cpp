#include "linkbudget/isolated/downlink_form.h"

#include "linkbudget/engine/input_text.h"
#include "linkbudget/isolated/downlink_window.h"

using F = TRgnDownLinkForm;

namespace {

using namespace budgethint;

// Besides the entries the uplink dialog has too: the receiver, the
// transponder's C/IM, the satellite's EIRP and its transponder's bandwidth.
constexpr auto kEntryHints = Joined(isolated::Hints<F>(), std::array<HintEntry, 7>{{
    {F::kLnbNoise, 0, kLnbNoise}, {F::kAntennaNoise, 0, kAntennaNoise}, {F::kLnbGain, 0, kLnbGain},
    {F::kLoadImpedance, 0, kLoadImpedance}, {F::kCim, 0, kAuto}, {F::kEirp, 0, kEirpSaturation},
    {F::kSatBandwidth, 0, kTransponderBandwidth},
}});

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

bool TRgnDownLinkForm::CheckFields(const DownlinkInputRecord& r)
{
    using namespace budgetcheck;
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
