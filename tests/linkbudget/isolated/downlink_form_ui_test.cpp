// The isolated downlink dialog, driven offscreen: its transfer buffer is the
// record byte for byte; OK checks the fields in their order and recalculates.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <filesystem>

#include "framework/app/orbiscope.h"
#include "linkbudget/isolated/downlink_form.h"
#include "linkbudget/isolated/downlink_window.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

using F = TRgnDownLinkForm;

template <std::size_t N>
std::string Str(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

TEST(RgnDownLinkFormTable, TransferBufferIsTheRecord)
{
    const auto table = F::ControlTable();
    EXPECT_EQ(platform::TransferSize(table), 708u);
    const struct { int id; std::size_t offset; } fields[] = {
        {F::kSiteName, offsetof(DownlinkInputRecord, siteName)},
        {F::kPolarization, offsetof(DownlinkInputRecord, polarization)},
        {F::kLnbNoise, offsetof(DownlinkInputRecord, lnbNoise)},
        {F::kLoadImpedance, offsetof(DownlinkInputRecord, loadImpedance)},
        {F::kCim, offsetof(DownlinkInputRecord, cim)},
        {F::kItuAuto, offsetof(DownlinkInputRecord, ituAuto)},
        {F::kRainRate, offsetof(DownlinkInputRecord, rainRate)},
        {F::kDepolarization, offsetof(DownlinkInputRecord, depolarization)},
        {F::kSatName, offsetof(DownlinkInputRecord, satName)},
        {F::kEirp, offsetof(DownlinkInputRecord, eirp)},
        {F::kGeo, offsetof(DownlinkInputRecord, geo)},
        {F::kNonGeo, offsetof(DownlinkInputRecord, nonGeo)},
        {F::kRequiredTarget, offsetof(DownlinkInputRecord, requiredTarget)},
        {F::kModulationOrder, offsetof(DownlinkInputRecord, modulationOrder)},
        {F::kSymbolRate, offsetof(DownlinkInputRecord, symbolRate)},
        {F::kModcodText, offsetof(DownlinkInputRecord, modcodText)},
        {F::kCsatIo, offsetof(DownlinkInputRecord, csatIoUnits)},
        {F::kCi, offsetof(DownlinkInputRecord, ciUnits)},
    };
    for (const auto& f : fields) EXPECT_EQ(platform::TransferOffset(table, f.id), long(f.offset)) << f.id;
    std::map<int, int> owner;
    for (int p = 0; p < F::kPageCount; ++p)
        for (int id : F::PageControls()[std::size_t(p)]) EXPECT_TRUE(owner.emplace(id, p).second) << id;
}

class RgnDownLinkForm : public lbtest::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        TRgnDownLinkWin::SetAtmosphere(&atmosphere);
    }
    void TearDown() override
    {
        rgn.clear();
        TRgnDownLinkWin::SetAtmosphere(nullptr);
        WindowFixture::TearDown();
    }
    TRgnDownLinkWin& Window()
    {
        rgn.push_back(std::make_unique<TRgnDownLinkWin>(nullptr, nullptr, nullptr));
        TRgnDownLinkWin& w = *rgn.back();
        HandDownlink(w.Record());
        SetText(w.Record().satName, "Bird");
        SetText(w.Record().serviceName, "TV");
        return w;
    }
    void Edit(TRgnDownLinkWin& w, std::function<void(F&)> edit, int button)
    {
        platform::SetDialogDriver(F::kResourceId, [edit, button, calls = 0](platform::Dialog& d) mutable {
            if (calls++ > 0) return int(platform::IDCANCEL);
            if (edit) edit(static_cast<F&>(d));
            return button;
        });
        w.CmEditInputs();
    }
    std::vector<std::unique_ptr<TRgnDownLinkWin>> rgn;
};

TEST_F(RgnDownLinkForm, ValidRecordIsAcceptedAndRecalculated)
{
    TRgnDownLinkWin& w = Window();
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

TEST_F(RgnDownLinkForm, BadFieldsAreRefusedInTheirOrder)
{
    const BadField cases[] = {
        {{{F::kSiteName, ""}}, "Empty Field Error", "Site name"},
        // The frequency is asked before the availability.
        {{{F::kFrequency, "99"}, {F::kAvailability, "30"}}, "Range Error",
         "Frequency\r\nRange 0.000700 to 55.000000 GHz"},
        {{{F::kAvailability, "30"}}, "Range Error", "Availability\r\nRange 40.000000 to 99.999990 %"},
        {{{F::kEfficiency, "5"}}, "Range Error", "Antenna efficiency (down)\r\nRange 10.000000 to 100.000000 %"},
        {{{F::kOtherLosses, "-1"}}, "Range Error", "Other path losses\r\nRange 0.000000 to 30.000000 dB"},
        {{{F::kLnbNoise, "+0"}}, "Range Error", "LNB noise temperature\r\nRange 0.010000 to 1000.000000 K"},
        {{{F::kLnbNoise, "7"}}, "Range Error", "LNB noise figure\r\nRange 0.010000 to 6.500000 dB"},
        // The load impedance is asked before the antenna noise.
        {{{F::kAntennaNoise, "0"}, {F::kLoadImpedance, "10"}}, "Range Error",
         "LNB load impedance\r\nRange 20.000000 to 100.000000 ohms"},
        {{{F::kAntennaNoise, "0"}}, "Range Error", "Receive antenna noise\r\nRange 1.000000 to 500.000000 K"},
        {{{F::kCsatXpi, "0"}}, "Range Error", "Csat/XPIo or C/XPI\r\nRange 1.000000 to 300.000000 dB-Hz or dB"},
        {{{F::kCim, "0"}}, "Range Error", "Csat/IM\r\nRange 1.000000 to 300.000000 dB"},
        {{{F::kServiceName, ""}}, "Empty Field Error", "Service Name"},
        {{{F::kEirp, "101"}}, "Range Error", "Satellite EIRP\r\nRange -10.000000 to 100.000000 dBW"},
        {{{F::kSatLongitude, "x"}, {F::kRange, "0.5"}}, "Range Error",
         "Satellite range\r\nRange 1.000000 to 2000000.000000 km"},
        {{{F::kRequiredTarget, "-41"}}, "Range Error",
         "Required target (Eb/No or Es/No)\r\nRange -40.000000 to 100.000000 dB"},
    };
    for (const BadField& c : cases) {
        TRgnDownLinkWin& w = Window();
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

// The LNB gain takes any text; "auto" skips the antenna noise.
TEST_F(RgnDownLinkForm, UncheckedAndAutomaticFields)
{
    TRgnDownLinkWin& w = Window();
    Edit(w, [](F& f) {
        f.SetControlText(F::kLnbGain, "lots");
        f.SetControlText(F::kAntennaNoise, "Auto");
    }, platform::IDOK);
    EXPECT_TRUE(app->messages.calls.empty());
}

TEST_F(RgnDownLinkForm, LabelsFollowTheInterferenceUnits)
{
    TRgnDownLinkWin& w = Window();
    w.InterferenceCI = true;
    std::string ci, csat;
    platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog& d) {
        auto& f = static_cast<F&>(d);
        ci = f.GetControlText(F::LabelOf(F::kCsatAci)) + "|" + f.GetControlText(F::LabelOf(F::kCim));
        f.OnButton(F::kCsatIo);
        csat = f.GetControlText(F::LabelOf(F::kCsatAci)) + "|" + f.GetControlText(F::LabelOf(F::kCim));
        return int(platform::IDCANCEL);
    });
    w.CmEditInputs();
    EXPECT_EQ(ci, "C/ACI dB|C/IM dB");
    EXPECT_EQ(csat, "Csat/ACIo dB-Hz|C/IM dB");
    EXPECT_FALSE(w.InterferenceCI);
}

TEST_F(RgnDownLinkForm, SuggestionIsShownEachTime)
{
    TRgnDownLinkWin& w = Window();
    std::string shown;
    platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog& d) {
        shown = static_cast<F&>(d).GetControlText(F::kSuggestion);
        return int(platform::IDCANCEL);
    });
    for (const char* text : {"Suggested availability setting = 99.9500% or antenna size = 1.10m", "second"}) {
        w.Budget().suggestion = text;
        w.CmEditInputs();
        EXPECT_EQ(shown, text);
    }
}

TEST_F(RgnDownLinkForm, BadDocumentOpensTheDialog)
{
    TRgnDownLinkWin& w = Window();
    SetText(w.Record().loadImpedance, "5");
    const std::string path = (std::filesystem::temp_directory_path() / "rgn_form_bad.rdn").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    TRgnDownLinkWin& v = Window();
    app->messages.calls.clear();
    ASSERT_TRUE(v.LoadFile(path.c_str()));
    EXPECT_TRUE(app->messages.calls.empty());
    EXPECT_EQ(v.Lines(), 0);
    EXPECT_EQ(Str(v.Record().loadImpedance), "5");
    std::filesystem::remove(path);
}

}  // namespace
