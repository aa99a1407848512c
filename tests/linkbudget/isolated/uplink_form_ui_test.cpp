// The isolated uplink dialog, driven offscreen: its transfer buffer is the
// record byte for byte; OK checks the fields in their order and recalculates;
// the GEO / non-GEO choice decides which geometry is checked.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fstream>

#include "framework/app/orbiscope.h"
#include "linkbudget/isolated/uplink_form.h"
#include "linkbudget/isolated/uplink_window.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

using F = TRgnUpLinkForm;

template <std::size_t N>
std::string Str(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

TEST(RgnUpLinkFormTable, TransferBufferIsTheRecord)
{
    const auto table = F::ControlTable();
    EXPECT_EQ(platform::TransferSize(table), 697u);
    const struct { int id; std::size_t offset; } fields[] = {
        {F::kSiteName, offsetof(UplinkInputRecord, siteName)},
        {F::kPolarization, offsetof(UplinkInputRecord, polarization)},
        {F::kAvailability, offsetof(UplinkInputRecord, availability)},
        {F::kHpaPower, offsetof(UplinkInputRecord, hpaPower)},
        {F::kItuAuto, offsetof(UplinkInputRecord, ituAuto)},
        {F::kItuRate, offsetof(UplinkInputRecord, ituRate)},
        {F::kRainRate, offsetof(UplinkInputRecord, rainRate)},
        {F::kXpiColocated, offsetof(UplinkInputRecord, xpiColocated)},
        {F::kSatName, offsetof(UplinkInputRecord, satName)},
        {F::kServiceName, offsetof(UplinkInputRecord, serviceName)},
        {F::kLongitudeDifference, offsetof(UplinkInputRecord, longitudeDifference)},
        {F::kGeo, offsetof(UplinkInputRecord, geo)},
        {F::kNonGeo, offsetof(UplinkInputRecord, nonGeo)},
        {F::kRequiredTarget, offsetof(UplinkInputRecord, requiredTarget)},
        {F::kSystemMargin, offsetof(UplinkInputRecord, systemMargin)},
        {F::kMqam, offsetof(UplinkInputRecord, mqam)},
        {F::kModulationOrder, offsetof(UplinkInputRecord, modulationOrder)},
        {F::kEsNo, offsetof(UplinkInputRecord, targetEsNo)},
        {F::kSymbolRate, offsetof(UplinkInputRecord, symbolRate)},
        {F::kModcodText, offsetof(UplinkInputRecord, modcodText)},
        {F::kCsatIo, offsetof(UplinkInputRecord, csatIoUnits)},
        {F::kCi, offsetof(UplinkInputRecord, ciUnits)},
    };
    for (const auto& f : fields) EXPECT_EQ(platform::TransferOffset(table, f.id), long(f.offset)) << f.id;
    std::map<int, int> owner;
    for (int p = 0; p < F::kPageCount; ++p)
        for (int id : F::PageControls()[std::size_t(p)]) EXPECT_TRUE(owner.emplace(id, p).second) << id;
}

class RgnUpLinkForm : public lbtest::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        TRgnUpLinkWin::SetAtmosphere(&atmosphere);
    }
    void TearDown() override
    {
        rgn.clear();
        TRgnUpLinkWin::SetAtmosphere(nullptr);
        WindowFixture::TearDown();
    }
    TRgnUpLinkWin& Window()
    {
        rgn.push_back(std::make_unique<TRgnUpLinkWin>(nullptr, nullptr, nullptr));
        TRgnUpLinkWin& w = *rgn.back();
        HandRecord(w.Record());
        SetText(w.Record().satName, "Bird");
        SetText(w.Record().serviceName, "Trunk");
        return w;
    }
    void Edit(TRgnUpLinkWin& w, std::function<void(F&)> edit, int button)
    {
        platform::SetDialogDriver(F::kResourceId, [edit, button, calls = 0](platform::Dialog& d) mutable {
            if (calls++ > 0) return int(platform::IDCANCEL);
            if (edit) edit(static_cast<F&>(d));
            return button;
        });
        w.CmEditInputs();
    }
    std::vector<std::unique_ptr<TRgnUpLinkWin>> rgn;
};

TEST_F(RgnUpLinkForm, ValidRecordIsAcceptedAndRecalculated)
{
    TRgnUpLinkWin& w = Window();
    Edit(w, nullptr, platform::IDOK);
    EXPECT_TRUE(app->messages.calls.empty());
    EXPECT_GT(w.Lines(), 0);
    EXPECT_TRUE(w.Changed);
}

struct BadField {
    std::vector<std::pair<int, const char*>> edits;
    const char* caption;
    const char* message;
};

// Each row breaks fields; the message names the first in the dialog's order.
TEST_F(RgnUpLinkForm, BadFieldsAreRefusedInTheirOrder)
{
    const BadField cases[] = {
        {{{F::kLatitude, "40.00"}}, "Suffix Missing Error (N,S,E or W)", "Site latitude"},
        {{{F::kAltitude, "26"}}, "Range Error", "Site altitude\r\nRange -0.500000 to 25.000000 km"},
        // Availability is asked before the frequency.
        {{{F::kFrequency, "99"}, {F::kAvailability, "30"}}, "Range Error",
         "Availability\r\nRange 40.000000 to 99.999990 %"},
        {{{F::kFrequency, "99"}}, "Range Error", "Frequency\r\nRange 0.000700 to 55.000000 GHz"},
        {{{F::kEfficiency, "5"}}, "Range Error", "Antenna efficiency\r\nRange 10.000000 to 100.000000 %"},
        {{{F::kMispointing, "51"}}, "Range Error", "Antenna mispoint\r\nRange 0.000000 to 50.000000 dB"},
        {{{F::kCsatAsi, "0.5"}}, "Range Error", "C/ASIo or C/ASI\r\nRange 1.000000 to 300.000000 dB-Hz or dB"},
        {{{F::kPowerControl, "41"}}, "Range Error", "Uplink Power Control\r\nRange 0.000000 to 40.000000 dB"},
        {{{F::kHpaPower, "9000"}}, "Range Error", "HPA power\r\nRange 0.000010 to 5000.000000 W"},
        {{{F::kServiceName, ""}}, "Empty Field Error", "Service name"},
        {{{F::kSatGt, "101"}}, "Range Error", "Satellite receive G/T\r\nRange -50.000000 to 100.000000 dB/K"},
        // Non GEO: the satellite longitude is not asked, the range is.
        {{{F::kSatLongitude, "x"}, {F::kRange, "0.5"}}, "Range Error",
         "Satellite range\r\nRange 1.000000 to 2000000.000000 km"},
        {{{F::kLongitudeDifference, "81"}}, "Range Error", "Longitude difference\r\nRange 0.000000 to 80.000000 degrees"},
        {{{F::kRequiredTarget, "101"}}, "Range Error",
         "Required target up (Eb/No or Es/No)\r\nRange -40.000000 to 100.000000 dB"},
        {{{F::kOverhead, "51"}}, "Range Error", "Information rate overhead\r\nRange 0.000000 to 50.000000 %"},
    };
    for (const BadField& c : cases) {
        TRgnUpLinkWin& w = Window();
        app->messages.calls.clear();
        Edit(w, [&c](F& f) {
            for (const auto& [id, text] : c.edits) f.SetControlText(id, text);
        }, platform::IDOK);
        ASSERT_EQ(app->messages.calls.size(), 1u) << c.message;
        EXPECT_EQ(app->messages.calls[0].text, c.message);
        EXPECT_EQ(app->messages.calls[0].caption, c.caption);
        EXPECT_EQ(w.Lines(), 0) << c.message;
    }
}

// Only "min" skips the HPA power check; "mineq" is not a number.
TEST_F(RgnUpLinkForm, OnlyMinSkipsTheHpaPower)
{
    for (const char* text : {"MIN", "mineq"}) {
        TRgnUpLinkWin& w = Window();
        app->messages.calls.clear();
        Edit(w, [text](F& f) { f.SetControlText(F::kHpaPower, text); }, platform::IDOK);
        EXPECT_EQ(app->messages.calls.empty(), std::string(text) == "MIN") << text;
    }
}

// GEO mode asks the satellite longitude and ignores the entered geometry.
TEST_F(RgnUpLinkForm, GeoModeAsksTheLongitude)
{
    TRgnUpLinkWin& w = Window();
    w.Record().geo.Set(1);
    w.Record().nonGeo.Set(0);
    SetText(w.Record().range, "0");
    SetText(w.Record().satLongitude, "10");
    Edit(w, nullptr, platform::IDOK);
    ASSERT_EQ(app->messages.calls.size(), 1u);
    EXPECT_EQ(app->messages.calls[0].text, "Satellite longitude");
    TRgnUpLinkWin& v = Window();
    v.Record().geo.Set(1);
    v.Record().nonGeo.Set(0);
    SetText(v.Record().range, "0");
    SetText(v.Record().satLongitude, "10E");
    app->messages.calls.clear();
    Edit(v, nullptr, platform::IDOK);
    EXPECT_TRUE(app->messages.calls.empty());
    EXPECT_GT(v.Lines(), 0);
}

TEST_F(RgnUpLinkForm, LabelsFollowTheInterferenceUnits)
{
    TRgnUpLinkWin& w = Window();
    std::string csat, ci;
    platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog& d) {
        auto& f = static_cast<F&>(d);
        csat = f.GetControlText(F::LabelOf(F::kHpaCim)) + "|" + f.GetControlText(F::LabelOf(F::kCsatAsi));
        f.OnButton(F::kCi);
        ci = f.GetControlText(F::LabelOf(F::kHpaCim)) + "|" + f.GetControlText(F::LabelOf(F::kCsatAsi));
        return int(platform::IDCANCEL);
    });
    w.CmEditInputs();
    EXPECT_EQ(csat, "HPA Csat/IMo dB-Hz|Csat/ASIo dB-Hz");
    EXPECT_EQ(ci, "HPA C/IM dB|C/ASI dB");
    EXPECT_TRUE(w.InterferenceCI);
}

TEST_F(RgnUpLinkForm, SuggestionIsShown)
{
    TRgnUpLinkWin& w = Window();
    w.Budget().suggestion = "Suggested availability setting = 99.9500%";
    std::string shown;
    platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog& d) {
        shown = d.GetControlText(F::kSuggestion);
        return int(platform::IDCANCEL);
    });
    w.CmEditInputs();
    EXPECT_EQ(shown, "Suggested availability setting = 99.9500%");
}

// A stored record that fails a check is not calculated: the window asks for
// the dialog instead.
TEST_F(RgnUpLinkForm, BadDocumentOpensTheDialog)
{
    TRgnUpLinkWin& w = Window();
    SetText(w.Record().frequency, "99");
    const std::string path = (std::filesystem::temp_directory_path() / "rgn_form_bad.rup").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    TRgnUpLinkWin& v = Window();
    app->messages.calls.clear();
    ASSERT_TRUE(v.LoadFile(path.c_str()));
    EXPECT_TRUE(app->messages.calls.empty());
    EXPECT_EQ(v.Lines(), 0);
    EXPECT_EQ(Str(v.Record().frequency), "99");
    std::filesystem::remove(path);
}

}  // namespace
