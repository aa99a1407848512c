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
    GeoLinkInputRecord geo;
    FillNamedHandBudget(geo);
    r = NonGeoFromGeo(geo);
    SetText(r.upElevation, "30");
    SetText(r.upRange, "1500");
    SetText(r.upLongitudeDiff, "12.5");
    SetText(r.dnElevation, "40");
    SetText(r.dnRange, "2000");
    SetText(r.dnLongitudeDiff, "0");
    SetText(r.satName, "Testsat LEO");
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
