// Every document window whose calculation can stop before its report (an
// elevation below 3 degrees, a satellite below the horizon), given an OK the
// calculation refuses: the message shows and the report stays, and nothing
// that is saved changes.  The record stays the one the report was computed
// from, the document is not marked changed by that OK, the next edit shows
// what was typed (until the document is read again), and a save writes the
// bytes it wrote before.
#include <gtest/gtest.h>

#include "pointing/alignment/angle_win.h"
#include "pointing/alignment/dual_win.h"
#include "pointing/sun/solar_form_layout.h"
#include "pointing/sun/solar_out_form.h"
#include "pointing/sun/solar_out_win.h"
#include "rftools/losses/loss_forms.h"
#include "rftools/losses/rain_atten_win.h"
#include "tests/linkbudget/windows/budget_kinds.h"
#include "tests/pointing/alignment/alignment_fixtures.h"
#include "tests/pointing/pointing_ui_support.h"
#include "tests/rftools/losses/loss_ui_support.h"

namespace {

using namespace lbtest;

// A window of one kind on a record it can calculate.
struct Document {
    TMyWindow* window = nullptr;
    std::function<void()> edit;
    std::function<void()> recalculate;
    std::function<std::vector<std::uint8_t>()> record;  // its bytes
    std::function<std::string()> suggestion;            // a budget's, for its dialog
};

template <class Win, class Fill>
Document Adopt(Owned& owned, Fill fill)
{
    Win* win = new Win(nullptr, nullptr, nullptr);
    owned.emplace_back(win);
    fill(win->Record());
    const auto bytes = [win] {
        const auto* r = reinterpret_cast<const std::uint8_t*>(&win->Record());
        return std::vector<std::uint8_t>(r, r + sizeof win->Record());
    };
    return {win, [win] { win->CmEditInputs(); }, [win] { win->Recalculate(); }, bytes, {}};
}

Document OfKind(Owned& owned, const char* kind)
{
    const Opened w = KindNamed(kind).open(owned, true);
    return {w.window, w.edit, w.recalculate, w.bytes, w.suggestion};
}

constexpr const char* kLow = "ERROR: Elevation < 3 degrees (some atmospheric models are invalid)";
constexpr const char* kBelow = "Satellite below horizon";

struct RefusedRow {
    const char* kind;
    int form, field;
    const char* refused;
    const char* message;
    Document (*open)(Owned&);
};

const RefusedRow kRefused[] = {
    {"GEO", G::kResourceId, G::kSatLongitude, "150.0E", kLow, [](Owned& o) { return OfKind(o, "GEO"); }},
    {"non-GEO", L::kResourceId, L::kUpElevation, "2", kLow, [](Owned& o) { return OfKind(o, "non-GEO"); }},
    {"isolated uplink", U::kResourceId, U::kElevation, "2", kLow,
     [](Owned& o) { return OfKind(o, "isolated uplink"); }},
    {"isolated downlink", D::kResourceId, D::kElevation, "2", kLow,
     [](Owned& o) { return OfKind(o, "isolated downlink"); }},
    {"losses", TRainForm::kResourceId, lossform::kSatLongitude, "150.0E", kLow,
     [](Owned& o) { return Adopt<TRainAttenWin>(o, losstest::FillLondon); }},
    {"look angles", TAngleForm::kResourceId, TAngleForm::kSatelliteLongitude, "150.0E", kBelow,
     [](Owned& o) { return Adopt<TAngleWin>(o, [](auto& r) { r = aligntest::MadridRecord(); }); }},
    {"dual feed", TDualForm::kResourceId, TDualForm::kSecondaryLongitude, "30.0W", kBelow,
     [](Owned& o) { return Adopt<TDualWin>(o, [](auto& r) { r = aligntest::SydneyDualRecord(); }); }},
    {"solar outage", TSolarOutForm::kResourceId, solarform::kSatLongitude, "150.0E", kBelow,
     [](Owned& o) { return Adopt<TSolarOutWin>(o, pointingtest::FillLondon); }},
};

class RefusedEdit : public KindsFixture {
protected:
    void SetUp() override
    {
        KindsFixture::SetUp();
        TRainAttenWin::SetAtmosphere(&atmosphere);
    }
    void TearDown() override
    {
        TRainAttenWin::SetAtmosphere(nullptr);
        KindsFixture::TearDown();
    }
};

// Whether the document was changed before the OK or not, it is as it was.
TEST_F(RefusedEdit, NothingThatIsSavedChanges)
{
    for (const RefusedRow& row : kRefused)
        for (const bool changedBefore : {false, true}) {
            SCOPED_TRACE(std::string(row.kind) + (changedBefore ? ", changed before" : ", unchanged before"));
            const Document d = row.open(owned);
            d.recalculate();
            ASSERT_GT(d.window->Lines(), 0);
            const std::string path = (app->dir.Path() / "refused.doc").string();
            ASSERT_TRUE(d.window->SaveFile(path.c_str()));
            const std::string saved = pointingtest::ReadFile(path);
            const std::vector<std::uint8_t> record = d.record();
            const std::string report = d.window->Report();
            const std::string suggestion = d.suggestion ? d.suggestion() : "";
            d.window->Changed = changedBefore;
            app->messages.calls.clear();

            testsupport::TypeThenEnd(row.form, row.field, row.refused, platform::IDOK);
            d.edit();
            ASSERT_EQ(Messages(), std::vector<std::string>{row.message});
            EXPECT_EQ(d.window->Report(), report);
            EXPECT_EQ(d.record(), record);
            EXPECT_EQ(d.window->Changed, changedBefore);
            if (d.suggestion) {
                EXPECT_EQ(d.suggestion(), suggestion);
            }
            ASSERT_TRUE(d.window->SaveFile(path.c_str()));
            EXPECT_EQ(pointingtest::ReadFile(path), saved);

            std::string shown;
            testsupport::ReadThenPress(row.form, row.field, shown, platform::IDCANCEL);
            d.edit();
            EXPECT_EQ(shown, row.refused);
            // Reading the document again forgets the typing.
            ASSERT_TRUE(d.window->LoadFile(path.c_str()));
            d.edit();
            EXPECT_NE(shown, row.refused);
        }
}

}  // namespace
