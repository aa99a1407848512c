// The hand-checkable isolated uplink budget shared by its engine and window tests.
#pragma once

#include "tests/linkbudget/engine/budget_fixtures.h"
#include "linkbudget/isolated/downlink_record.h"
#include "linkbudget/isolated/uplink_record.h"

// What the uplink and downlink hand budgets share: a station at sea level
// that types its geometry (38000 km at 30 degrees, 10 degrees of longitude
// from the satellite), 99.9 %, each interference entry 90 dB-Hz in 36 MHz,
// and 2 Mbps + 5 % overhead at rate 3/4 with a 4.5 dB target.
template <class Record>
void HandCommon(Record& r)
{
    SetText(r.siteName, "Hand");
    SetText(r.altitude, "0");
    SetText(r.availability, "99.9");
    for (auto* field : {&r.csatAci, &r.csatAsi, &r.csatXpi}) SetText(*field, "90");
    SetText(r.satBandwidth, "36");
    r.geo.Set(0);
    r.nonGeo.Set(1);
    SetText(r.range, "38000");
    SetText(r.elevation, "30");
    SetText(r.longitudeDifference, "10");
    SetText(r.requiredTarget, "4.5");
    SetText(r.rate, "2");
    SetText(r.overhead, "5");
    SetText(r.fecRate, "3/4");
    SetText(r.rollOff, "1.35");
    SetText(r.carrierSpacing, "1.4");
    SetText(r.allocationStep, "0.1");
    SetText(r.implementationLoss, "0.5");
    SetText(r.systemMargin, "1");
}

// 14 GHz from a 2.4 m, 60 % dish over an entered 38000 km path at 30 degrees;
// 2 Mbps + 5 % overhead, rate 3/4 QPSK (1.4 Mbaud); 100 W HPA at 3 dB back-off;
// each interference entry 90 dB-Hz; a fixed atmosphere of gas 0.2, scintillation
// 0.3, cloud 0.4 and rain 3.0 dB.
inline void HandRecord(UplinkInputRecord& r)
{
    SetUplinkRecordDefaults(r);
    HandCommon(r);
    SetText(r.latitude, "40N");
    SetText(r.longitude, "0E");
    SetText(r.frequency, "14");
    SetText(r.polarization, "V");
    SetText(r.diameter, "2.4");
    SetText(r.efficiency, "60");
    SetText(r.couplingLoss, "0.5");
    SetText(r.mispointing, "0.3");
    SetText(r.otherLosses, "0.2");
    SetText(r.hpaCim, "90");
    SetText(r.hpaObo, "3");
    SetText(r.powerControl, "0");
    SetText(r.hpaPower, "100");
    SetText(r.satGt, "2");
}

// 50 dBW at 12 GHz over an entered 38000 km path at 30 degrees into a 1.2 m,
// 65 % dish with 0.2 dB coupling, a 75 K LNB (55 dB, 75 ohm) and 40 K of
// antenna noise; 2 Mbps + 5 % overhead at rate 3/4 QPSK; C/ACIo, C/ASIo and
// C/XPIo 90 dB-Hz, C/IM 25 dB.
inline void HandDownlink(DownlinkInputRecord& r)
{
    SetDownlinkRecordDefaults(r);
    HandCommon(r);
    SetText(r.latitude, "50N");
    SetText(r.longitude, "20E");
    SetText(r.frequency, "12");
    SetText(r.polarization, "H");
    SetText(r.diameter, "1.2");
    SetText(r.efficiency, "65");
    SetText(r.couplingLoss, "0.2");
    SetText(r.mispointing, "0.3");
    SetText(r.otherLosses, "0.1");
    SetText(r.lnbNoise, "+75");
    SetText(r.antennaNoise, "40");
    SetText(r.lnbGain, "55");
    SetText(r.loadImpedance, "75");
    SetText(r.cim, "25");
    SetText(r.eirp, "50");
}
