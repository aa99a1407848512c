// The non-GEO link-budget input dialog, driven offscreen: its transfer buffer
// is the record byte for byte; OK checks the fields with the non-GEO ranges
// and recalculates; Site, Reverse and the interference labels.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <map>

#include "linkbudget/geo/geo_form.h"
#include "linkbudget/nongeo/nongeo_form.h"
#include "tests/linkbudget/nongeo/nongeo_support.h"

namespace {

using F = TLeoLinkForm;
using G = TUpLinkForm;

template <std::size_t N>
std::string Str(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

TEST(LeoLinkFormTable, TransferBufferIsTheRecord)
{
    const auto table = F::ControlTable();
    EXPECT_EQ(platform::TransferSize(table), 1178u);
    const struct { int id; std::size_t offset; } fields[] = {
        {F::kUpSiteName, offsetof(NonGeoLinkInputRecord, upSiteName)},
        {F::kUpElevation, offsetof(NonGeoLinkInputRecord, upElevation)},
        {F::kUpLongitudeDiff, offsetof(NonGeoLinkInputRecord, upLongitudeDiff)},
        {F::kUpPolarization, offsetof(NonGeoLinkInputRecord, upPolarization)},
        {F::kUpCsatAsi, offsetof(NonGeoLinkInputRecord, upCsatAsi)},
        {F::kHpaPower, offsetof(NonGeoLinkInputRecord, hpaPower)},
        {F::kDnSiteName, offsetof(NonGeoLinkInputRecord, dnSiteName)},
        {F::kDnRange, offsetof(NonGeoLinkInputRecord, dnRange)},
        {F::kAntennaNoise, offsetof(NonGeoLinkInputRecord, antennaNoise)},
        {F::kDnCsatXpi, offsetof(NonGeoLinkInputRecord, dnCsatXpi)},
        {G::kDualFade, offsetof(NonGeoLinkInputRecord, dualFade)},
        {G::kUpItuRate, offsetof(NonGeoLinkInputRecord, upItuRate)},
        {F::kUpRainRate, offsetof(NonGeoLinkInputRecord, upRainRate)},
        {G::kXpiColocated, offsetof(NonGeoLinkInputRecord, xpiColocated)},
        {G::kDnDepolarization, offsetof(NonGeoLinkInputRecord, dnDepolarization)},
        {F::kSatName, offsetof(NonGeoLinkInputRecord, satName)},
        {F::kGtRef, offsetof(NonGeoLinkInputRecord, gtRef)},
        {F::kCarriersPerTransponder, offsetof(NonGeoLinkInputRecord, carriersPerTransponder)},
        {F::kServiceName, offsetof(NonGeoLinkInputRecord, serviceName)},
        {G::kMqam, offsetof(NonGeoLinkInputRecord, mqam)},
        {F::kModulationOrder, offsetof(NonGeoLinkInputRecord, modulationOrder)},
        {G::kSspa, offsetof(NonGeoLinkInputRecord, sspa)},
        {G::kEsNo, offsetof(NonGeoLinkInputRecord, targetEsNo)},
        {F::kModcodText, offsetof(NonGeoLinkInputRecord, modcodText)},
        {G::kUpCsatIo, offsetof(NonGeoLinkInputRecord, upCsatIoUnits)},
        {G::kDnCi, offsetof(NonGeoLinkInputRecord, dnCiUnits)},
    };
    for (const auto& f : fields) EXPECT_EQ(platform::TransferOffset(table, f.id), long(f.offset)) << f.id;
    std::map<int, int> owner;
    for (int p = 0; p < F::kPageCount; ++p)
        for (int id : F::PageControls()[std::size_t(p)]) EXPECT_TRUE(owner.emplace(id, p).second) << id;
}

class LeoLinkForm : public lbtest::LeoWindowFixture {
protected:
    TLeoLinkWin& NamedWindow()
    {
        TLeoLinkWin& w = NewLeoWindow();
        lbtest::FillNamedLeoHandBudget(w.Record());
        return w;
    }
    void Edit(TLeoLinkWin& w, std::function<void(F&)> edit, int button)
    {
        platform::SetDialogDriver(F::kResourceId, [edit, button, calls = 0](platform::Dialog& d) mutable {
            if (calls++ > 0) return int(platform::IDCANCEL);
            if (edit) edit(static_cast<F&>(d));
            return button;
        });
        w.CmEditInputs();
    }
};

TEST_F(LeoLinkForm, ValidRecordIsAcceptedAndRecalculated)
{
    TLeoLinkWin& w = NamedWindow();
    Edit(w, nullptr, platform::IDOK);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(w.Changed);
    EXPECT_TRUE(lbtest::HasLine(w, "Excess margin\t13.72\t13.72\t13.72\tdB#"));
}

struct FieldCase {
    int id;
    const char* text;
    const char* message;  // null: accepted
};

// The ranges that differ from the GEO dialog, at and past their ends.
TEST_F(LeoLinkForm, NonGeoRanges)
{
    const FieldCase cases[] = {
        {F::kUpRange, "2000000", nullptr},
        {F::kUpRange, "2000001", "Satellite range (up)\r\nRange 1.000000 to 2000000.000000 km"},
        {F::kDnElevation, "91", "Satellite elevation (down)\r\nRange 0.000000 to 90.000000 degrees"},
        {F::kDnLongitudeDiff, "81", "Site/Sat longitude difference (down)\r\nRange 0.000000 to 80.000000 degrees"},
        {F::kUpLongitudeDiff, "81", "Site/Sat Longitude difference (up)\r\nRange 0.000000 to 80.000000 degrees"},
        {F::kUpMispointing, "30", nullptr},
        {F::kDnMispointing, "51", "Antenna mispoint loss (down)\r\nRange 0.000000 to 50.000000 dB"},
        {F::kOverhead, "60", "Information rate overhead\r\nRange 0.000000 to 50.000000 %"},
        {F::kUpAvailability, "30", "Availability (up)\r\nRange 40.000000 to 99.999990 %"},
        {F::kDnCsatAsi, "0", "Csat/ASIo or C/ASI (down)\r\nRange 1.000000 to 300.000000 dB-Hz or dB"},
        {F::kHpaPower, "9000", "HPA Capability\r\nRange 0.000010 to 5000.000000 W"},
        {F::kAntennaNoise, "600", "Downlink receive antenna noise\r\nRange 1.000000 to 500.000000 K"},
        {F::kSfdRef, "0", "Satellite SFD(ref)\r\nRange -200.000000 to -10.000000 dB/m2"},
    };
    for (const FieldCase& c : cases) {
        TLeoLinkWin& w = NamedWindow();
        app->messages.calls.clear();
        Edit(w, [&c](F& f) { f.SetControlText(c.id, c.text); }, platform::IDOK);
        if (!c.message) {
            EXPECT_TRUE(Messages().empty()) << c.text;
            EXPECT_GT(w.Lines(), 0) << c.text;
            continue;
        }
        ASSERT_EQ(app->messages.calls.size(), 1u) << c.message;
        EXPECT_EQ(app->messages.calls[0].text, c.message);
        EXPECT_EQ(w.Lines(), 0) << c.message;
    }
}

TEST_F(LeoLinkForm, ReverseSwapsTheStationsAndTheirGeometry)
{
    TLeoLinkWin& w = NamedWindow();
    NonGeoLinkInputRecord before = w.Record();
    F::ClearTextTails(before);
    NonGeoLinkInputRecord once{}, twice{};
    platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog& d) {
        auto& f = static_cast<F&>(d);
        f.CmReverse();
        once = f.Scratch();
        f.CmReverse();
        twice = f.Scratch();
        return int(platform::IDCANCEL);
    });
    w.CmEditInputs();
    EXPECT_EQ(Str(once.upSiteName), "Krakow");
    EXPECT_EQ(Str(once.upElevation), "40");
    EXPECT_EQ(Str(once.dnRange), "1500");
    EXPECT_EQ(Str(once.dnLongitudeDiff), "12.5");
    EXPECT_EQ(Str(once.upFrequency), "14");  // stays
    EXPECT_EQ(Str(once.upCsatAsi), "300");   // stays
    EXPECT_EQ(std::memcmp(&twice, &before, sizeof before), 0);
}

// The picked town goes to the uplink on the "Uplink" page and to the
// downlink on any other page ("Satellite" here); the geometry stays.
TEST_F(LeoLinkForm, SiteFillsTheStationOfThePage)
{
    F::SetSitePicker([this](TForm&) {
        std::snprintf(app->app->PickedSiteName, sizeof app->app->PickedSiteName, "%s", "Lisbon");
        std::snprintf(app->app->PickedSiteLatitude, sizeof app->app->PickedSiteLatitude, "%s", "38.72N");
        std::snprintf(app->app->PickedSiteLongitude, sizeof app->app->PickedSiteLongitude, "%s", "9.14W");
        std::snprintf(app->app->PickedSiteAltitude, sizeof app->app->PickedSiteAltitude, "%s", "0.05");
        return true;
    });
    for (int page : {0, 3}) {
        TLeoLinkWin& w = NamedWindow();
        NonGeoLinkInputRecord got{};
        platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog& d) {
            auto& f = static_cast<F&>(d);
            f.SelectPage(page);
            f.CmSite();
            got = f.Scratch();
            return int(platform::IDCANCEL);
        });
        w.CmEditInputs();
        const bool up = page == 0;
        EXPECT_EQ(Str(up ? got.upSiteName : got.dnSiteName), "Lisbon") << page;
        EXPECT_EQ(Str(up ? got.dnSiteName : got.upSiteName), up ? "Krakow" : "Valencia") << page;
        EXPECT_EQ(Str(up ? got.upLongitude : got.dnLongitude), "9.14W") << page;
        EXPECT_EQ(Str(up ? got.upElevation : got.dnElevation), up ? "30" : "40") << page;
    }
    F::SetSitePicker({});
}

TEST_F(LeoLinkForm, InterferenceLabelsFollowTheUnits)
{
    TLeoLinkWin& w = NamedWindow();
    w.UpInterferenceCI = true;
    std::string up, down;
    platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog& d) {
        auto& f = static_cast<F&>(d);
        up = f.GetControlText(F::LabelOf(F::kUpCsatAsi));
        down = f.GetControlText(F::LabelOf(F::kDnCsatAsi));
        return int(platform::IDCANCEL);
    });
    w.CmEditInputs();
    EXPECT_EQ(up, "C/ASI dB");
    EXPECT_EQ(down, "Csat/ASIo dB-Hz");
}

}  // namespace
