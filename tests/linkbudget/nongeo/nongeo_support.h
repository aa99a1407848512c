// Shared by the non-GEO window tests: the GEO hand budget seen from a
// satellite that is not geostationary (each station types its geometry), and
// non-GEO windows over the same fixed atmosphere as the GEO window tests.
#pragma once

#include "linkbudget/nongeo/nongeo_window.h"
#include "tests/linkbudget/windows/window_support.h"

namespace lbtest {

// Up: 30 degrees, 1500 km, 12.5 degrees; down: 40 degrees, 2000 km, 0.
inline void FillNamedLeoHandBudget(NonGeoLinkInputRecord& r)
{
    SetNonGeoLinkRecordDefaults(r);
    SetText(r.upSiteName, "Valencia");
    SetText(r.upLatitude, "40.00N");
    SetText(r.upLongitude, "0.00E");
    SetText(r.upElevation, "30");
    SetText(r.upRange, "1500");
    SetText(r.upLongitudeDiff, "12.5");
    SetText(r.upAltitude, "0.1");
    SetText(r.upFrequency, "14");
    SetText(r.upPolarization, "V");
    SetText(r.upAvailability, "99.9");
    SetText(r.upDiameter, "2.4");
    SetText(r.upEfficiency, "65");
    SetText(r.upCouplingLoss, "1");
    SetText(r.upMispointing, "0");
    SetText(r.upOtherLosses, "0");
    SetText(r.upCsatAci, "300");
    SetText(r.upCsatAsi, "300");
    SetText(r.upCsatXpi, "300");
    SetText(r.hpaObo, "3");
    SetText(r.carriersPerHpa, "1");
    SetText(r.hpaCim, "300");
    SetText(r.upc, "0");
    SetText(r.hpaPower, "MIN");
    SetText(r.dnSiteName, "Krakow");
    SetText(r.dnLatitude, "50.00N");
    SetText(r.dnLongitude, "20.00E");
    SetText(r.dnElevation, "40");
    SetText(r.dnRange, "2000");
    SetText(r.dnLongitudeDiff, "0");
    SetText(r.dnAltitude, "0.1");
    SetText(r.dnFrequency, "12");
    SetText(r.dnPolarization, "H");
    SetText(r.dnAvailability, "99.9");
    SetText(r.dnDiameter, "1.2");
    SetText(r.dnEfficiency, "65");
    SetText(r.dnCouplingLoss, "0");
    SetText(r.dnMispointing, "0");
    SetText(r.dnOtherLosses, "0");
    SetText(r.lnbNoise, "+50");
    SetText(r.antennaNoise, "30");
    SetText(r.dnCsatAci, "300");
    SetText(r.dnCsatAsi, "300");
    SetText(r.dnCsatXpi, "300");
    r.upItuAuto.Set(0);
    r.upClearSky.Set(1);
    r.dnItuAuto.Set(0);
    r.dnClearSky.Set(1);
    SetText(r.satName, "Testsat LEO");
    SetText(r.gtRef, "0");
    SetText(r.sfdRef, "-90");
    SetText(r.gtReceive, "0");
    SetText(r.fca, "0");
    SetText(r.alc, "0");
    SetText(r.eirpSaturation, "50");
    SetText(r.transponderBandwidth, "36");
    SetText(r.transponderIbo, "6");
    SetText(r.transponderObo, "3");
    SetText(r.cim, "300");
    SetText(r.carriersPerTransponder, "1");
    SetText(r.serviceName, "Trunk");
    SetText(r.coverage, "Europe");
    SetText(r.requiredTarget, "4.5");
    SetText(r.rate, "10");
    SetText(r.overhead, "0");
    SetText(r.fecRate, "3/4");
    SetText(r.spreadingGain, "0");
    SetText(r.rollOff, "1.35");
    SetText(r.carrierSpacing, "1.4");
    SetText(r.allocationStep, "0");
    SetText(r.implementationLoss, "0");
    SetText(r.systemMargin, "0");
    SetText(r.modulationOrder, "4");
}

class LeoWindowFixture : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        TLeoLinkWin::SetAtmosphere(&atmosphere);
    }
    void TearDown() override
    {
        leoWindows.clear();
        TLeoLinkWin::SetAtmosphere(nullptr);
        WindowFixture::TearDown();
    }
    TLeoLinkWin& NewLeoWindow(const char* fileName = nullptr)
    {
        leoWindows.push_back(std::make_unique<TLeoLinkWin>(nullptr, nullptr, fileName));
        return *leoWindows.back();
    }
    // The hand budget, calculated; `edit` changes the record first.
    template <class Edit>
    TLeoLinkWin& LeoHandWindow(Edit edit)
    {
        TLeoLinkWin& w = NewLeoWindow();
        FillNamedLeoHandBudget(w.Record());
        edit(w.Record());
        w.Recalculate();
        return w;
    }
    TLeoLinkWin& LeoHandWindow()
    {
        return LeoHandWindow([](NonGeoLinkInputRecord&) {});
    }

    std::vector<std::unique_ptr<TLeoLinkWin>> leoWindows;
};

}  // namespace lbtest
