#include "linkbudget/isolated/uplink_form.h"

#include "linkbudget/engine/input_text.h"
#include "linkbudget/isolated/uplink_window.h"

using F = TRgnUpLinkForm;

namespace {

using namespace budgethint;

// Besides the entries the downlink dialog has too: the amplifier, and the
// satellite's G/T and the interfering network's bandwidth.
constexpr auto kEntryHints = Joined(isolated::Hints<F>(), std::array<HintEntry, 6>{{
    {F::kHpaCim, 0, kHpaCim}, {F::kHpaObo, 0, kHpaObo}, {F::kPowerControl, 0, kUpc}, {F::kHpaPower, 0, kHpaPower},
    {F::kSatGt, 0, kGtReceive}, {F::kSatBandwidth, 0, kInterferingBandwidth},
}});

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

bool TRgnUpLinkForm::CheckFields(const UplinkInputRecord& r)
{
    using namespace budgetcheck;
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
