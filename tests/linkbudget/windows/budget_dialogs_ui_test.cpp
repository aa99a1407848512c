// What the four budget dialogs share, run on each of them from one table:
// the transfer buffer, OK and Cancel, the field checks, Freeze, the
// modulation-and-coding buttons with Manual, the Site and Satellite pickers,
// Reverse, the interference units, the suggestion and the entries' hints.
// Each row opens its own kind of window on its hand budget and drives the
// dialog through its buttons, as a user does.  A text no document can hold
// is refused alike in a budget's site and in the other forms' names.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTabBar>
#include <cstddef>
#include <map>

#include "framework/databases/country_win.h"
#include "framework/databases/satellite_win.h"
#include "linkbudget/geo/geo_batch_form.h"
#include "linkbudget/modcod/modcod_dialog.h"
#include "tests/linkbudget/windows/budget_kinds.h"

namespace {

using namespace lbtest;

class BudgetDialogs : public KindsFixture {
protected:
    static void ShowPage(platform::Dialog& dialog, const Kind& d, int page)
    {
        qobject_cast<QTabBar*>(dialog.Control(d.tab))->setCurrentIndex(page);
    }
};

struct OffsetRow {
    const char* kind;
    int id;
    std::size_t offset;
};
#define GEO(id, field) {"GEO", G::id, offsetof(GeoLinkInputRecord, field)}
#define LEO(id, field) {"non-GEO", L::id, offsetof(NonGeoLinkInputRecord, field)}
#define LEO_GEO_ID(id, field) {"non-GEO", G::id, offsetof(NonGeoLinkInputRecord, field)}  // a button of both
#define UP(id, field) {"isolated uplink", U::id, offsetof(UplinkInputRecord, field)}
#define DOWN(id, field) {"isolated downlink", D::id, offsetof(DownlinkInputRecord, field)}

// Where the stored record holds each field: a control out of its place
// shifts the fields after it.  Every control of a page belongs to that page only.
TEST(BudgetDialogTables, TransferBufferIsTheRecord)
{
    const OffsetRow rows[] = {
        GEO(kUpSiteName, upSiteName), GEO(kUpPolarization, upPolarization), GEO(kHpaPower, hpaPower),
        GEO(kUpAsiLongitude1, upAsiLongitude), GEO(kUpInclude2, upAsiInclude), GEO(kUpKnownTotal, upAsiKnownTotal),
        GEO(kUpCsatAsi, upCsatAsi), GEO(kDnSiteName, dnSiteName), GEO(kLnbNoise, lnbNoise),
        GEO(kDnCsatAsi, dnCsatAsi), GEO(kDualFade, dualFade), GEO(kUpCraneUsa, upCraneUsa),
        GEO(kUpRainRate, upRainRate), GEO(kXpiColocated, xpiColocated), GEO(kDnItuRate, dnItuRate),
        GEO(kDnDepolarization, dnDepolarization), GEO(kSatName, satName),
        GEO(kCarriersPerTransponder, carriersPerTransponder), GEO(kServiceName, serviceName),
        GEO(kSystemMargin, systemMargin), GEO(kMqam, mqam), GEO(kModulationOrder, modulationOrder),
        GEO(kSspa, sspa), GEO(kEsNo, targetEsNo), GEO(kSymbolRate, symbolRate), GEO(kModcodText, modcodText),
        GEO(kUpCsatIo, upCsatIoUnits), GEO(kDnCi, dnCiUnits),
        LEO(kUpElevation, upElevation), LEO(kUpLongitudeDiff, upLongitudeDiff), LEO(kUpPolarization, upPolarization),
        LEO(kUpCsatAsi, upCsatAsi), LEO(kHpaPower, hpaPower), LEO(kDnSiteName, dnSiteName), LEO(kDnRange, dnRange),
        LEO(kAntennaNoise, antennaNoise), LEO(kDnCsatXpi, dnCsatXpi), LEO_GEO_ID(kDualFade, dualFade),
        LEO_GEO_ID(kUpItuRate, upItuRate), LEO(kUpRainRate, upRainRate),
        LEO_GEO_ID(kXpiColocated, xpiColocated), LEO(kSatName, satName),
        LEO(kGtRef, gtRef), LEO(kCarriersPerTransponder, carriersPerTransponder), LEO(kServiceName, serviceName),
        LEO_GEO_ID(kMqam, mqam), LEO(kModulationOrder, modulationOrder),
        LEO_GEO_ID(kSspa, sspa), LEO(kModcodText, modcodText),
        LEO_GEO_ID(kDnCi, dnCiUnits),
        UP(kPolarization, polarization), UP(kAvailability, availability), UP(kHpaPower, hpaPower),
        UP(kItuAuto, ituAuto), UP(kRainRate, rainRate), UP(kXpiColocated, xpiColocated), UP(kSatName, satName),
        UP(kLongitudeDifference, longitudeDifference), UP(kGeo, geo), UP(kNonGeo, nonGeo),
        UP(kRequiredTarget, requiredTarget), UP(kSystemMargin, systemMargin), UP(kMqam, mqam),
        UP(kModulationOrder, modulationOrder), UP(kEsNo, targetEsNo), UP(kSymbolRate, symbolRate),
        UP(kModcodText, modcodText), UP(kCsatIo, csatIoUnits), UP(kCi, ciUnits),
        DOWN(kPolarization, polarization), DOWN(kLnbNoise, lnbNoise), DOWN(kLoadImpedance, loadImpedance),
        DOWN(kCim, cim), DOWN(kItuAuto, ituAuto), DOWN(kRainRate, rainRate), DOWN(kDepolarization, depolarization),
        DOWN(kSatName, satName), DOWN(kEirp, eirp), DOWN(kGeo, geo), DOWN(kNonGeo, nonGeo),
        DOWN(kRequiredTarget, requiredTarget), DOWN(kModulationOrder, modulationOrder),
        DOWN(kSymbolRate, symbolRate), DOWN(kModcodText, modcodText), DOWN(kCsatIo, csatIoUnits), DOWN(kCi, ciUnits),
    };
    const std::map<std::string, std::vector<platform::ControlSpec>> tables = {
        {"GEO", G::ControlTable()}, {"non-GEO", L::ControlTable()},
        {"isolated uplink", U::ControlTable()}, {"isolated downlink", D::ControlTable()}};
    for (const Kind& k : kKinds) EXPECT_EQ(platform::TransferSize(tables.at(k.name)), k.recordSize) << k.name;
    for (const OffsetRow& r : rows)
        EXPECT_EQ(platform::TransferOffset(tables.at(r.kind), r.id), long(r.offset)) << r.kind << " " << r.id;
    const std::map<std::string, std::vector<std::vector<int>>> pages = {
        {"GEO", G::PageControls()}, {"non-GEO", L::PageControls()},
        {"isolated uplink", U::PageControls()}, {"isolated downlink", D::PageControls()}};
    for (const auto& [kind, controls] : pages) {
        std::map<int, std::size_t> owner;
        for (std::size_t p = 0; p < controls.size(); ++p)
            for (int id : controls[p]) EXPECT_TRUE(owner.emplace(id, p).second) << kind << " " << id;
    }
}
#undef GEO
#undef LEO
#undef LEO_GEO_ID
#undef UP
#undef DOWN

// OK on a valid record recalculates and marks the document changed.  A
// cancelled edit, by the Cancel button or by Escape, keeps its typing for the
// next opening of the dialog only: the record, a recalculation, the report
// and the saved document keep the value of the last OK, and the document is
// not marked changed.  Reading the document again forgets the typing.
TEST_F(BudgetDialogs, CancelledTypingShowsAgainButIsNeverSaved)
{
    for (const Kind& d : kKinds)
        for (const int end : testsupport::kCancelEnds) {
            SCOPED_TRACE(std::string(d.name) + ", " + testsupport::EndName(end));
            Opened w = d.open(owned, true);
            const std::string path = (app->dir.Path() / (std::string("kept.") + d.extension)).string();
            ASSERT_TRUE(w.window->SaveFile(path.c_str()));
            ASSERT_TRUE(w.window->LoadFile(path.c_str()));
            Edit(d, w, [&d](platform::Dialog& dialog) { dialog.SetControlText(d.frequency, "12.5"); }, platform::IDOK);
            ASSERT_GT(w.window->Lines(), 0);
            EXPECT_TRUE(w.window->Changed);
            const std::string report = w.window->Report();
            w.window->Changed = false;

            Edit(d, w, [&d, end](platform::Dialog& dialog) {
                dialog.SetControlText(d.frequency, "11.5");
                testsupport::End(dialog, end);
                EXPECT_EQ(dialog.Closed(), end == testsupport::kEscape) << "Escape ends it as Cancel does";
            }, end);
            EXPECT_EQ(w.field(d.frequency), "12.5");
            EXPECT_EQ(w.window->Report(), report);
            EXPECT_FALSE(w.window->Changed);
            w.recalculate();
            EXPECT_EQ(w.window->Report(), report);
            ASSERT_TRUE(w.window->SaveFile(path.c_str()));
            Opened back = d.open(owned, false);
            ASSERT_TRUE(back.window->LoadFile(path.c_str()));
            EXPECT_EQ(back.field(d.frequency), "12.5");
            EXPECT_EQ(back.window->Report(), report);

            // Shown at the next opening, and again after a Cancel that changed
            // nothing.
            std::string shown;
            const auto look = [&d, &shown](platform::Dialog& dialog) { shown = dialog.GetControlText(d.frequency); };
            for (int opening = 0; opening < 2; ++opening) {
                Edit(d, w, look, platform::IDCANCEL);
                EXPECT_EQ(shown, "11.5") << opening;
            }
            ASSERT_TRUE(w.window->LoadFile(path.c_str()));
            Edit(d, w, look, platform::IDCANCEL);
            EXPECT_EQ(shown, "12.5");
            EXPECT_TRUE(Messages().empty());
        }
}

struct FieldCheck {
    const char* kind;
    std::vector<std::pair<int, const char*>> edits;  // over the hand budget
    std::vector<std::pair<int, int>> checks;         // buttons set
    const char* caption;
    const char* message;  // null: accepted
};

// A bad field shows its message and keeps the dialog open (the script then
// cancels it) without a report; the message names the first bad field in
// the dialog's order.
TEST_F(BudgetDialogs, FieldChecksInTheirOrder)
{
    const char* range = "Range Error";
    const FieldCheck cases[] = {
        {"GEO", {{G::kUpFrequency, "99"}}, {}, range, "Frequency (up)\r\nRange 0.000700 to 55.000000 GHz"},
        {"GEO", {{G::kUpAvailability, "30"}}, {}, range, "Availability (up)\r\nRange 40.000000 to 99.999990 %"},
        {"GEO", {{G::kUpLatitude, "40.00"}}, {}, "Suffix Missing Error (N,S,E or W)", "Site latitude (up)"},
        {"GEO", {{G::kDnSiteName, ""}}, {}, "Empty Field Error", "Site name (down)"},
        {"GEO", {{G::kLnbNoise, "+0"}}, {}, range, "LNB noise temperature\r\nRange 0.010000 to 1000.000000 K"},
        {"GEO", {{G::kLnbNoise, "7"}}, {}, range, "LNB noise figure\r\nRange 0.010000 to 6.500000 dB"},
        {"GEO", {{G::kUpEfficiency, "5"}}, {}, range, "Antenna efficiency (up)\r\nRange 10.000000 to 100.000000 %"},
        {"GEO", {{G::kTransponderIbo, "AUTO"}, {G::kTransponderObo, "auto"}}, {}, "Input Error",
         "IBO and OB0 cannot both be AUTO"},
        {"GEO", {{G::kTransponderBandwidth, "0"}}, {}, range, "Transponder bandwidth\r\nRange 0.000010 to 6000.000000 MHz"},
        {"GEO", {{G::kHpaPower, "9000"}}, {}, range, "HPA Power\r\nRange 0.000010 to 5000.000000 W"},
        // "mineq" in any case passes the HPA check; so does one automatic back-off.
        {"GEO", {{G::kHpaPower, "MinEq"}, {G::kTransponderObo, "auto"}}, {}, nullptr, nullptr},
        // The modcod's name ends its report line: no closing "#" (the line
        // mark).
        {"GEO", {{G::kModcodText, "QPSK 3/4#"}}, {}, "Invalid Character Error",
         "Modcod\r\nThis field takes no \"#\" at the end (the report's line mark)"},
        {"isolated downlink", {{D::kModcodText, ""}}, {}, nullptr, nullptr},
        // The ranges that differ from the GEO dialog, at and past their ends.
        {"non-GEO", {{L::kUpRange, "2000000"}}, {}, nullptr, nullptr},
        {"non-GEO", {{L::kUpRange, "2000001"}}, {}, range, "Satellite range (up)\r\nRange 1.000000 to 2000000.000000 km"},
        {"non-GEO", {{L::kDnElevation, "91"}}, {}, range, "Satellite elevation (down)\r\nRange 0.000000 to 90.000000 degrees"},
        {"non-GEO", {{L::kDnLongitudeDiff, "81"}}, {}, range,
         "Site/Sat longitude difference (down)\r\nRange 0.000000 to 80.000000 degrees"},
        {"non-GEO", {{L::kUpLongitudeDiff, "81"}}, {}, range,
         "Site/Sat Longitude difference (up)\r\nRange 0.000000 to 80.000000 degrees"},
        {"non-GEO", {{L::kUpMispointing, "30"}}, {}, nullptr, nullptr},
        {"non-GEO", {{L::kDnMispointing, "51"}}, {}, range, "Antenna mispoint loss (down)\r\nRange 0.000000 to 50.000000 dB"},
        {"non-GEO", {{L::kOverhead, "60"}}, {}, range, "Information rate overhead\r\nRange 0.000000 to 50.000000 %"},
        {"non-GEO", {{L::kUpAvailability, "30"}}, {}, range, "Availability (up)\r\nRange 40.000000 to 99.999990 %"},
        {"non-GEO", {{L::kDnCsatAsi, "0"}}, {}, range, "Csat/ASIo or C/ASI (down)\r\nRange 1.000000 to 300.000000 dB-Hz or dB"},
        {"non-GEO", {{L::kHpaPower, "9000"}}, {}, range, "HPA Capability\r\nRange 0.000010 to 5000.000000 W"},
        {"non-GEO", {{L::kAntennaNoise, "600"}}, {}, range, "Downlink receive antenna noise\r\nRange 1.000000 to 500.000000 K"},
        {"non-GEO", {{L::kSfdRef, "0"}}, {}, range, "Satellite SFD(ref)\r\nRange -200.000000 to -10.000000 dB/m2"},
        {"isolated uplink", {{U::kLatitude, "40.00"}}, {}, "Suffix Missing Error (N,S,E or W)", "Site latitude"},
        {"isolated uplink", {{U::kAltitude, "26"}}, {}, range, "Site altitude\r\nRange -0.500000 to 25.000000 km"},
        // Availability is asked before the frequency.
        {"isolated uplink", {{U::kFrequency, "99"}, {U::kAvailability, "30"}}, {}, range,
         "Availability\r\nRange 40.000000 to 99.999990 %"},
        {"isolated uplink", {{U::kFrequency, "99"}}, {}, range, "Frequency\r\nRange 0.000700 to 55.000000 GHz"},
        {"isolated uplink", {{U::kEfficiency, "5"}}, {}, range, "Antenna efficiency\r\nRange 10.000000 to 100.000000 %"},
        {"isolated uplink", {{U::kMispointing, "51"}}, {}, range, "Antenna mispoint\r\nRange 0.000000 to 50.000000 dB"},
        {"isolated uplink", {{U::kCsatAsi, "0.5"}}, {}, range,
         "C/ASIo or C/ASI\r\nRange 1.000000 to 300.000000 dB-Hz or dB"},
        {"isolated uplink", {{U::kPowerControl, "41"}}, {}, range, "Uplink Power Control\r\nRange 0.000000 to 40.000000 dB"},
        {"isolated uplink", {{U::kHpaPower, "9000"}}, {}, range, "HPA power\r\nRange 0.000010 to 5000.000000 W"},
        // Only "min" skips the HPA power check; "mineq" is no number.
        {"isolated uplink", {{U::kHpaPower, "MIN"}}, {}, nullptr, nullptr},
        {"isolated uplink", {{U::kHpaPower, "mineq"}}, {}, "Invalid Character Error", "HPA power"},
        {"isolated uplink", {{U::kServiceName, ""}}, {}, "Empty Field Error", "Service name"},
        {"isolated uplink", {{U::kSatGt, "101"}}, {}, range, "Satellite receive G/T\r\nRange -50.000000 to 100.000000 dB/K"},
        // Non GEO: the satellite longitude is not asked, the range is; GEO the other way round.
        {"isolated uplink", {{U::kSatLongitude, "x"}, {U::kRange, "0.5"}}, {}, range,
         "Satellite range\r\nRange 1.000000 to 2000000.000000 km"},
        {"isolated uplink", {{U::kSatLongitude, "10"}, {U::kRange, "0"}}, {{U::kGeo, 1}, {U::kNonGeo, 0}},
         "Suffix Missing Error (N,S,E or W)", "Satellite longitude"},
        {"isolated uplink", {{U::kSatLongitude, "10E"}, {U::kRange, "0"}}, {{U::kGeo, 1}, {U::kNonGeo, 0}}, nullptr,
         nullptr},
        {"isolated uplink", {{U::kLongitudeDifference, "81"}}, {}, range,
         "Longitude difference\r\nRange 0.000000 to 80.000000 degrees"},
        {"isolated uplink", {{U::kRequiredTarget, "101"}}, {}, range,
         "Required target up (Eb/No or Es/No)\r\nRange -40.000000 to 100.000000 dB"},
        {"isolated uplink", {{U::kOverhead, "51"}}, {}, range, "Information rate overhead\r\nRange 0.000000 to 50.000000 %"},
        {"isolated downlink", {{D::kSiteName, ""}}, {}, "Empty Field Error", "Site name"},
        // The frequency is asked before the availability.
        {"isolated downlink", {{D::kFrequency, "99"}, {D::kAvailability, "30"}}, {}, range,
         "Frequency\r\nRange 0.000700 to 55.000000 GHz"},
        {"isolated downlink", {{D::kAvailability, "30"}}, {}, range, "Availability\r\nRange 40.000000 to 99.999990 %"},
        {"isolated downlink", {{D::kEfficiency, "5"}}, {}, range,
         "Antenna efficiency (down)\r\nRange 10.000000 to 100.000000 %"},
        {"isolated downlink", {{D::kOtherLosses, "-1"}}, {}, range, "Other path losses\r\nRange 0.000000 to 30.000000 dB"},
        {"isolated downlink", {{D::kLnbNoise, "+0"}}, {}, range, "LNB noise temperature\r\nRange 0.010000 to 1000.000000 K"},
        {"isolated downlink", {{D::kLnbNoise, "7"}}, {}, range, "LNB noise figure\r\nRange 0.010000 to 6.500000 dB"},
        // The load impedance is asked before the antenna noise.
        {"isolated downlink", {{D::kAntennaNoise, "0"}, {D::kLoadImpedance, "10"}}, {}, range,
         "LNB load impedance\r\nRange 20.000000 to 100.000000 ohms"},
        {"isolated downlink", {{D::kAntennaNoise, "0"}}, {}, range, "Receive antenna noise\r\nRange 1.000000 to 500.000000 K"},
        // The LNB gain takes any text; "auto" skips the antenna noise.
        {"isolated downlink", {{D::kLnbGain, "lots"}, {D::kAntennaNoise, "Auto"}}, {}, nullptr, nullptr},
        {"isolated downlink", {{D::kCsatXpi, "0"}}, {}, range,
         "Csat/XPIo or C/XPI\r\nRange 1.000000 to 300.000000 dB-Hz or dB"},
        {"isolated downlink", {{D::kCim, "0"}}, {}, range, "Csat/IM\r\nRange 1.000000 to 300.000000 dB"},
        {"isolated downlink", {{D::kServiceName, ""}}, {}, "Empty Field Error", "Service Name"},
        {"isolated downlink", {{D::kEirp, "101"}}, {}, range, "Satellite EIRP\r\nRange -10.000000 to 100.000000 dBW"},
        {"isolated downlink", {{D::kSatLongitude, "x"}, {D::kRange, "0.5"}}, {}, range,
         "Satellite range\r\nRange 1.000000 to 2000000.000000 km"},
        {"isolated downlink", {{D::kRequiredTarget, "-41"}}, {}, range,
         "Required target (Eb/No or Es/No)\r\nRange -40.000000 to 100.000000 dB"},
    };
    for (const FieldCheck& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + ": " + (c.message ? c.message : "accepted"));
        const Kind& k = KindNamed(c.kind);
        Opened w = k.open(owned, true);
        const auto& [lastId, lastText] = c.edits.back();
        const std::string before = w.field(lastId);
        app->messages.calls.clear();
        Edit(k, w, [&c](platform::Dialog& d) {
            for (const auto& [id, text] : c.edits) d.SetControlText(id, text);
            for (const auto& [id, state] : c.checks) d.SetCheck(id, state);
        }, platform::IDOK);
        if (!c.message) {
            EXPECT_TRUE(Messages().empty());
            EXPECT_GT(w.window->Lines(), 0);
            continue;
        }
        ASSERT_EQ(app->messages.calls.size(), 1u);
        EXPECT_EQ(app->messages.calls[0].text, c.message);
        EXPECT_EQ(app->messages.calls[0].caption, c.caption);
        EXPECT_EQ(w.window->Lines(), 0);
        // The refused typing is cancelled: it comes back at the next
        // opening, but the record keeps what it held.
        EXPECT_EQ(w.field(lastId), before);
        std::string shown;
        Edit(k, w, [&shown, id = lastId](platform::Dialog& d) { shown = d.GetControlText(id); }, platform::IDCANCEL);
        EXPECT_EQ(shown, lastText);
    }
}

// An editor's record form over its buffer, run as the editor runs it.
template <class Form>
std::function<void()> RecordForm(std::span<std::uint8_t> buffer, const char* caption)
{
    return [=] {
        Form form(nullptr, caption);
        form.SetTransferBuffer(buffer.data(), buffer.size());
        form.Execute();
    };
}

struct TypedText {
    const char* field;
    const char* typed;         // as the user pastes it (UTF-8 here)
    const char* stored;        // the field's bytes after OK; null: refused
    std::string refusal = {};  // the box's text, when not the Latin-1 one
};

// Wherever a name is typed (the town and satellite editors, a budget's site),
// a character no document can store is refused on OK: the box names the
// field by its label, the field takes the focus, the dialog stays open with
// the text as typed, and nothing is stored.  So are a line break or tab
// pasted into a one-line field, and a name ending in the report's line mark
// "#".  The next opening of an editor's form shows what the record holds; a
// budget's shows the cancelled typing whole, the refused text as typed beside
// the rest (never the record's name beside the places Reverse moved).
// Latin-1 is stored one byte a character and reads back the same.  Reverse
// moves the sites' names as typed, and such a name is refused where it lands.
// A field holding a file's name takes any name: stored as the file system's
// bytes, shown as the file system names it.
TEST_F(BudgetDialogs, TextsNoDocumentHoldsAreRefusedNamingTheirField)
{
    using CF = TCityForm;
    using GF = TGeoForm;
    using BF = TGeoBatchForm;
    std::uint8_t town[CF::kTransferSize] = {};
    transfer::SetText(town, CF::kNameAt, CF::kNameSize, "Leeds");
    transfer::SetText(town, CF::kLatitudeAt, CF::kCoordinateSize, "53.48N");
    transfer::SetText(town, CF::kLongitudeAt, CF::kCoordinateSize, "1.33W");
    std::uint8_t satellite[GF::kTransferSize] = {};
    transfer::SetText(satellite, GF::kNameAt, GF::kNameSize, "Alpha");
    transfer::SetText(satellite, GF::kLongitudeAt, GF::kLongitudeSize, "19.2E");
    transfer::SetWord(satellite, GF::kBandsAt + 2 * 3, 1);  // C band
    Opened budget = KindNamed("GEO").open(owned, true);
    const auto batchTable = BF::ControlTable();
    const std::span<std::uint8_t> batchStored = app->app->FormRecord(BF::kStoredRecord);
    // A program's name in bytes that are no UTF-8 (another system's name),
    // left alone: it fills its field, and shows as nearly three times as many
    // bytes.
    const std::size_t executableAt = std::size_t(platform::TransferOffset(batchTable, BF::kExecutable));
    const std::string otherSystems = "/opt/" + std::string(255, '\xE9');
    transfer::SetText(batchStored, executableAt, 261, otherSystems);
    transfer::SetText(batchStored, std::size_t(platform::TransferOffset(batchTable, BF::kOutputBase)), 261, "out");
    std::vector<std::uint8_t> batch(platform::TransferSize(batchTable));

    struct Field {
        int resource, id;  // the field checked, typed into unless `typedId` says
        const char* label;
        std::function<void()> run;
        std::function<std::string()> stored;
        int typedId = 0;                                      // typed into, when not `id`
        std::function<void(platform::Dialog&)> before = {};  // after the typing, before OK
        std::function<void(platform::Dialog&)> after = {};   // once refused
        // At the next opening after a refusal: a budget's form shows the
        // cancelled typing.
        std::function<void(platform::Dialog&)> again = {};
        bool keepsTyping() const { return resource == G::kResourceId; }
    };
    const auto siteName = [](platform::Dialog& d, int id) {
        return qobject_cast<QLineEdit*>(d.Control(id))->text().toStdString();
    };
    const std::string downSite = budget.field(G::kDnSiteName);
    const std::string upLatitude = budget.field(G::kUpLatitude), downLatitude = budget.field(G::kDnLatitude);
    const auto reverse = [](platform::Dialog& d) { d.OnButton(budgetform::kReverse); };
    const auto name = [](std::span<std::uint8_t> record, std::size_t at, std::size_t size) {
        return [=] { return transfer::GetText(record, at, size); };
    };
    const std::map<std::string, Field> fields = {
        {"town",
         {CF::kResourceId, CF::kName, "Town/City", RecordForm<CF>(town, "Add Town/City Record"),
          name(town, CF::kNameAt, CF::kNameSize)}},
        {"satellite",
         {GF::kResourceId, GF::kName, "Satellite", RecordForm<GF>(satellite, "Add Satellite Record"),
          name(satellite, GF::kNameAt, GF::kNameSize)}},
        {"site",
         {G::kResourceId, G::kUpSiteName, "Site name", budget.edit, [&] { return budget.field(G::kUpSiteName); }}},
        // Typed as the uplink's, then Reverse: it lands in the downlink's, and
        // stays there with the uplink's latitude, as the stations Reverse moved
        // do.
        {"site reversed",
         {G::kResourceId, G::kDnSiteName, "Site name", budget.edit, [&] { return budget.field(G::kDnSiteName); },
          G::kUpSiteName, reverse, [&](platform::Dialog& d) { EXPECT_EQ(siteName(d, G::kUpSiteName), downSite); },
          [&](platform::Dialog& d) {
              EXPECT_EQ(siteName(d, G::kUpSiteName), downSite);
              EXPECT_EQ(d.GetControlText(G::kUpLatitude), downLatitude);
              EXPECT_EQ(d.GetControlText(G::kDnLatitude), upLatitude);
          }}},
        // Typed as the downlink's, "大阪" as the uplink's, then Reverse: they
        // change places.
        {"sites swapped",
         {G::kResourceId, G::kUpSiteName, "Site name", budget.edit, [&] { return budget.field(G::kUpSiteName); },
          G::kDnSiteName,
          [&](platform::Dialog& d) {
              qobject_cast<QLineEdit*>(d.Control(G::kUpSiteName))->setText(QString::fromUtf8("大阪"));
              reverse(d);
          },
          [&](platform::Dialog& d) { EXPECT_EQ(siteName(d, G::kDnSiteName), "大阪"); }}},
        // In its group on the carrier page, named by the group's title.
        {"modcod",
         {G::kResourceId, G::kModcodText, "Modcod", budget.edit, [&] { return budget.field(G::kModcodText); }}},
        {"batch input",
         {BF::kResourceId, BF::kInputFile, "Input filename",
          [&] {
              BF form(nullptr, batch.data(), batch.size());
              form.Execute();
          },
          name(batchStored, std::size_t(platform::TransferOffset(batchTable, BF::kInputFile)), 261)}},
    };
    const std::string kLatin1Only = "This field takes Western European (Latin-1) letters only";
    const std::string kOneLine = "This field takes one line of text, without tabs or control characters";
    const std::string kLineMark = "This field takes no \"#\" at the end (the report's line mark)";
    const TypedText rows[] = {
        {"town", "Москва", nullptr},
        {"town", "東京", nullptr},
        {"town", "Base \U0001F600", nullptr},
        {"town", "Zürich", "Z\xFCrich"},
        {"satellite", "Луч-5", nullptr},
        {"satellite", "東京Sat", nullptr},
        {"satellite", "\U0001F6F0 1", nullptr},
        {"satellite", "Zürich", "Z\xFCrich"},
        {"site", "Москва", nullptr},
        {"site", "東京", nullptr},
        {"site", "Base \U0001F600", nullptr},
        {"site", "Zürich", "Z\xFCrich"},
        {"site reversed", "東京", nullptr},
        {"sites swapped", "東京", nullptr},
        {"site", "One\nTwo", nullptr, "Site name\r\n" + kOneLine},
        {"town", "Leeds\tWest", nullptr, "Town/City\r\n" + kOneLine},
        {"site", "Leeds#", nullptr, "Site name (up)\r\n" + kLineMark},
        {"satellite", "Alpha#", nullptr, "Satellite name\r\n" + kLineMark},
        {"site", "Leeds #1", "Leeds #1"},
        {"modcod", "QPSK\n3/4", nullptr, "Modcod\r\n" + kOneLine},
        {"modcod", "8PSK ⅔", nullptr},
        {"batch input", "/data/Téléchargements/in.txt", "/data/T\xC3\xA9l\xC3\xA9" "chargements/in.txt"},
        {"batch input", "/data/Документы/in.txt",
         "/data/\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B/in.txt"},
    };
    for (const TypedText& t : rows) {
        SCOPED_TRACE(std::string(t.field) + ": " + t.typed);
        const Field& f = fields.at(t.field);
        const std::string before = f.stored();
        budget.forgetTyping();  // each row from the record
        app->messages.calls.clear();
        int calls = 0;
        bool open = false, focused = false;
        QString kept;
        platform::SetDialogDriver(f.resource, [&](platform::Dialog& d) {
            auto* edit = qobject_cast<QLineEdit*>(d.Control(f.id));
            if (calls++ == 0) {
                auto* typedIn = qobject_cast<QLineEdit*>(d.Control(f.typedId ? f.typedId : f.id));
                QGuiApplication::clipboard()->setText(QString::fromUtf8(t.typed));
                typedIn->selectAll();
                typedIn->paste();
                if (f.before) f.before(d);
                return int(platform::IDOK);
            }
            open = !d.Closed();
            kept = edit->text();
            focused = d.focusWidget() == edit;
            if (f.after) f.after(d);
            return int(platform::IDCANCEL);
        });
        f.run();
        if (t.stored) {
            EXPECT_EQ(calls, 1);
            EXPECT_TRUE(Messages().empty());
            EXPECT_EQ(f.stored(), t.stored);
        } else {
            ASSERT_EQ(app->messages.calls.size(), 1u);
            EXPECT_EQ(app->messages.calls[0].caption, "Invalid Character Error");
            EXPECT_EQ(app->messages.calls[0].text,
                      !t.refusal.empty() ? t.refusal : std::string(f.label) + "\r\n" + kLatin1Only);
            EXPECT_TRUE(open);
            EXPECT_EQ(kept.toStdString(), t.typed);
            EXPECT_TRUE(focused);
            EXPECT_EQ(f.stored(), before);
        }
        QString shown;
        platform::SetDialogDriver(f.resource, [&](platform::Dialog& d) {
            shown = qobject_cast<QLineEdit*>(d.Control(f.id))->text();
            if (!t.stored && f.again) f.again(d);
            return int(platform::IDCANCEL);
        });
        f.run();
        const QString next = t.stored || f.keepsTyping() ? QString::fromUtf8(t.typed)
                                                         : QString::fromLatin1(before.data(), qsizetype(before.size()));
        EXPECT_EQ(shown, next);
    }
    EXPECT_EQ(transfer::GetText(batchStored, executableAt, 261), otherSystems);
}

// Freeze wants a calculated budget; frozen, only the availability and the
// carrier's target, modulation and modcod stay open to typing.
TEST_F(BudgetDialogs, FreezeNeedsACalculatedBudgetAndLeavesTheAvailabilityOpen)
{
    for (const Kind& d : kKinds) {
        Opened fresh = d.open(owned, true);
        app->messages.calls.clear();
        Edit(d, fresh, [](platform::Dialog& dialog) { dialog.OnButton(budgetform::kFreeze); }, platform::IDCANCEL);
        ASSERT_EQ(app->messages.calls.size(), 1u) << d.name;
        EXPECT_EQ(app->messages.calls[0].text, "Cannot freeze/unfeeze until link budget is recalculated") << d.name;
        EXPECT_EQ(app->messages.calls[0].caption, "Invalid Option") << d.name;
        EXPECT_FALSE(fresh.frozen()) << d.name;

        Opened w = d.open(owned, true);
        Edit(d, w, nullptr, platform::IDOK);
        app->messages.calls.clear();
        struct {
            bool frequency = true, availability = false, target = false;
        } enabled;
        Edit(d, w, [&](platform::Dialog& dialog) {
            dialog.OnButton(budgetform::kFreeze);
            enabled.frequency = dialog.Control(d.frequency)->isEnabled();
            enabled.availability = dialog.Control(d.availability)->isEnabled();
            ShowPage(dialog, d, d.carrierPage);
            enabled.target = dialog.Control(d.target)->isEnabled();
        }, platform::IDCANCEL);
        EXPECT_TRUE(Messages().empty()) << d.name;
        EXPECT_TRUE(w.frozen()) << d.name;
        EXPECT_FALSE(enabled.frequency) << d.name;
        EXPECT_TRUE(enabled.availability) << d.name;
        EXPECT_TRUE(enabled.target) << d.name;
    }
}

// DVB-S row 0 (QPSK 1/2): efficiency 188/204 x 1/2 x 2 = 0.92157 bit/symbol,
// so the code rate written is 0.92157 / log2 4 = 0.4608, and the target the
// row's Eb/No, 4.14 - 10 log10(0.92157) = 4.49 dB.  The chosen modcod fixes
// the code rate and M until Manual frees them again.
TEST_F(BudgetDialogs, ModcodFromTheTablesAndBackToManual)
{
    platform::SetDialogDriver(TGetModcodDlg::kResourceId, [](platform::Dialog&) { return int(platform::IDOK); });
    for (const Kind& d : kKinds) {
        app->app->SelectedModcod = ModcodSelection{};
        Opened empty = d.open(owned, true);
        app->messages.calls.clear();
        Edit(d, empty, [&d](platform::Dialog& dialog) {
            dialog.SetControlText(d.rate, "");
            dialog.OnButton(budgetform::kDvbs);
        }, platform::IDCANCEL);
        ASSERT_EQ(app->messages.calls.size(), 1u) << d.name;
        EXPECT_EQ(app->messages.calls[0].text, "Info Rate and optional overhead must be entered") << d.name;
        EXPECT_EQ(app->messages.calls[0].caption, "Error") << d.name;
        EXPECT_EQ(empty.field(d.modcodText), "Manual") << d.name;

        Opened w = d.open(owned, true);
        struct {
            std::string fec, m, target, modcod, manual;
            bool fecOn = true, mOn = true, fecOnAgain = false, mOnAgain = false;
        } seen;
        Edit(d, w, [&](platform::Dialog& dialog) {
            ShowPage(dialog, d, d.carrierPage);
            dialog.OnButton(budgetform::kDvbs);
            seen.fec = dialog.GetControlText(d.fec);
            seen.m = dialog.GetControlText(d.modulationOrder);
            seen.target = dialog.GetControlText(d.target);
            seen.modcod = dialog.GetControlText(d.modcodText);
            seen.fecOn = dialog.Control(d.fec)->isEnabled();
            seen.mOn = dialog.Control(d.modulationOrder)->isEnabled();
            dialog.OnButton(budgetform::kManual);
            seen.manual = dialog.GetControlText(d.modcodText);
            seen.fecOnAgain = dialog.Control(d.fec)->isEnabled();
            seen.mOnAgain = dialog.Control(d.modulationOrder)->isEnabled();
        }, platform::IDCANCEL);
        EXPECT_EQ(seen.fec, "0.4608") << d.name;
        EXPECT_EQ(seen.m, "4") << d.name;
        EXPECT_EQ(seen.target, "4.49") << d.name;
        EXPECT_EQ(seen.modcod, "DVBS 4-PSK (1/2)") << d.name;
        EXPECT_FALSE(seen.fecOn) << d.name;
        EXPECT_FALSE(seen.mOn) << d.name;
        EXPECT_EQ(seen.manual, "Manual") << d.name;
        EXPECT_TRUE(seen.fecOnAgain) << d.name;
        EXPECT_TRUE(seen.mOnAgain) << d.name;
    }
}

// Site on the first page fills its station; Satellite (where the dialog has
// it) fills the wanted satellite from the carrier page.  A picker cancelled
// changes nothing.
TEST_F(BudgetDialogs, PickersFillTheStationAndTheSatellite)
{
    bool pick = true;
    const auto site = [this, &pick](TForm&) {
        std::strcpy(app->app->PickedSiteName, "Goonhilly");
        std::strcpy(app->app->PickedSiteLatitude, "50.05N");
        std::strcpy(app->app->PickedSiteLongitude, "5.18W");
        std::strcpy(app->app->PickedSiteAltitude, "0.1");
        return pick;
    };
    const auto satellite = [this, &pick](TForm&) {
        std::strcpy(app->app->PickedSatName, "Picked");
        std::strcpy(app->app->PickedSatLongitude, "19.20E");
        return pick;
    };
    G::SetSitePicker(site), L::SetSitePicker(site), U::SetSitePicker(site), D::SetSitePicker(site);
    G::SetSatellitePicker(satellite), U::SetSatellitePicker(satellite), D::SetSatellitePicker(satellite);
    for (const bool picked : {true, false}) {
        pick = picked;
        for (const Kind& d : kKinds) {
            Opened w = d.open(owned, true);
            const std::string siteBefore = w.field(d.siteName), latitudeBefore = w.field(d.siteLatitude);
            const std::string satBefore = d.satName ? w.field(d.satName) : "";
            const std::string slotBefore = d.satName ? w.field(d.satLongitude) : "";
            std::string siteName, latitude, satName, satLongitude;
            Edit(d, w, [&](platform::Dialog& dialog) {
                dialog.OnButton(budgetform::kSite);
                siteName = dialog.GetControlText(d.siteName);
                latitude = dialog.GetControlText(d.siteLatitude);
                if (!d.satName) return;
                ShowPage(dialog, d, d.carrierPage);
                dialog.OnButton(budgetform::kSatellite);
                satName = dialog.GetControlText(d.satName);
                satLongitude = dialog.GetControlText(d.satLongitude);
            }, platform::IDCANCEL);
            EXPECT_EQ(siteName, picked ? "Goonhilly" : siteBefore) << d.name;
            EXPECT_EQ(latitude, picked ? "50.05N" : latitudeBefore) << d.name;
            if (!d.satName) continue;
            EXPECT_EQ(satName, picked ? "Picked" : satBefore) << d.name;
            EXPECT_EQ(satLongitude, picked ? "19.20E" : slotBefore) << d.name;
        }
    }
    for (auto set : {G::SetSitePicker, L::SetSitePicker, U::SetSitePicker, D::SetSitePicker}) set({});
    for (auto set : {G::SetSatellitePicker, U::SetSatellitePicker, D::SetSatellitePicker}) set({});
}

// Reverse swaps the two stations (and a non-GEO station's typed geometry);
// the frequencies, polarizations, efficiencies and interference stay.
// Twice, everything is as it was.
TEST_F(BudgetDialogs, ReverseSwapsTheStationsTwiceRestores)
{
    const struct {
        const char* kind;
        int upRainRate;
        std::vector<std::pair<int, const char*>> once;
    } rows[] = {
        {"GEO", G::kUpRainRate, {{G::kUpSiteName, "Krakow"}, {G::kDnLatitude, "40.00N"}, {G::kDnRainRate, "42"}, {G::kUpDiameter, "1.2"},
                 {G::kUpCouplingLoss, "0"}, {G::kUpFrequency, "14"}, {G::kUpPolarization, "V"}, {G::kUpEfficiency, "65"}}},
        {"non-GEO", L::kUpRainRate, {{L::kUpSiteName, "Krakow"}, {L::kUpElevation, "40"}, {L::kDnRange, "1500"},
                     {L::kDnLongitudeDiff, "12.5"}, {L::kUpFrequency, "14"}, {L::kUpCsatAsi, "300"}}},
    };
    for (const auto& row : rows) {
        const Kind& k = KindNamed(row.kind);
        Opened w = k.open(owned, true);
        w.set(row.upRainRate, "42");
        std::map<int, std::string> before, once, twice;
        Edit(k, w, [&](platform::Dialog& d) {
            for (const auto& c : d.Controls())
                if (c.kind == platform::ControlKind::Edit) before[c.id] = d.GetControlText(c.id);
            d.OnButton(budgetform::kReverse);
            for (const auto& [id, text] : row.once) once[id] = d.GetControlText(id);
            d.OnButton(budgetform::kReverse);
            for (const auto& [id, text] : before) twice[id] = d.GetControlText(id);
        }, platform::IDCANCEL);
        for (const auto& [id, text] : row.once) EXPECT_EQ(once[id], text) << row.kind << " " << id;
        EXPECT_EQ(twice, before) << row.kind;
    }
}

// The C/I units button relabels the interference entries and is kept by
// the window for the next dialog and the report.
TEST_F(BudgetDialogs, InterferenceUnitsRelabelTheEntries)
{
    for (const Kind& k : kKinds) {
        Opened w = k.open(owned, true);
        std::string before, after;
        Edit(k, w, [&](platform::Dialog& d) {
            before = d.GetControlText(FormLayout::LabelOf(k.upCiLabel));
            d.OnButton(k.upCi);
            after = d.GetControlText(FormLayout::LabelOf(k.upCiLabel));
        }, platform::IDCANCEL);
        EXPECT_EQ(before, k.csatLabel) << k.name;
        EXPECT_EQ(after, k.ciLabel) << k.name;
        EXPECT_TRUE(w.interferenceCI()) << k.name;
    }
}

// The dialog shows the window's suggestion each time it opens.
TEST_F(BudgetDialogs, SuggestionIsShownEachTime)
{
    for (const Kind& k : kKinds) {
        Opened w = k.open(owned, true);
        for (const char* text : {"Suggested availability setting = 99.9500% or antenna size = 1.10m", "second"}) {
            w.suggest(text);
            std::string shown;
            Edit(k, w, [&](platform::Dialog& d) { shown = d.GetControlText(budgetform::kSuggestion); }, platform::IDCANCEL);
            EXPECT_EQ(shown, text) << k.name;
        }
    }
}

// ---- hints ---------------------------------------------------------------------

template <class Form>
std::string HintOf(int id)
{
    return HintFor(Form::Hints(), id);
}

// Every entry shows a hint, but those whose string the program has none for.
template <class Form>
void EveryEntryHasAHint(const char* dialog, std::initializer_list<int> without)
{
    for (const auto& c : Form::ControlTable()) {
        if (c.kind != platform::ControlKind::Edit) continue;
        const bool none = std::find(without.begin(), without.end(), c.id) != without.end();
        EXPECT_EQ(HintOf<Form>(c.id).empty(), none) << dialog << " entry " << c.id;
    }
}

TEST(BudgetDialogHints, EveryEntryButCarriersPerTransponderAndModcodHasOne)
{
    EveryEntryHasAHint<G>("GEO", {G::kCarriersPerTransponder, G::kModcodText});
    EveryEntryHasAHint<L>("non-GEO", {L::kCarriersPerTransponder, L::kModcodText});
    EveryEntryHasAHint<U>("isolated uplink", {U::kModcodText});
    EveryEntryHasAHint<D>("isolated downlink", {D::kModcodText});
}

// The hints that differ between the dialogs, or that one of them lacked.
TEST(BudgetDialogHints, TheEntriesShowTheirOwnTexts)
{
    const struct {
        const char* entry;
        std::string hint;
        const char* expected;  // the program's string for the field
    } rows[] = {
        {"GEO UPC dB", HintOf<G>(G::kUpc), "Dynamic carrier control range (typ. 8 to 13dB)"},
        {"GEO No of carriers / HPA", HintOf<G>(G::kCarriersPerHpa), "Number of simultaneous carriers the HPA handles"},
        {"GEO ASI (down) density", HintOf<G>(G::kDnAsiDensity3),
         "EIRP density of interfering satellite toward earth station dBW/Hz"},
        {"non-GEO UPC dB", HintOf<L>(L::kUpc), "Dynamic carrier control range (typ. 8 to 13dB)"},
        {"non-GEO longitude difference", HintOf<L>(L::kDnLongitudeDiff),
         "Estimate of worst case site/satellite longitude difference (degrees)"},
        {"uplink mispointing", HintOf<U>(U::kMispointing), "Antenna mispoint losses (dB)"},
        {"uplink power control", HintOf<U>(U::kPowerControl), "Dynamic carrier control range (typ. 8 to 13dB)"},
        {"uplink Sat bandwidth", HintOf<U>(U::kSatBandwidth), "Mandwidth of adjacent satellite interfering network (MHz)"},
        {"downlink mispointing", HintOf<D>(D::kMispointing), "Antenna mispoint losses (dB)"},
        {"downlink LNB gain", HintOf<D>(D::kLnbGain), "Enter gain of the LNB (10 to 100dB)"},
        {"downlink load impedance", HintOf<D>(D::kLoadImpedance),
         "Matching impedance of the LNB output (usually 50 or 75 ohms)"},
    };
    for (const auto& r : rows) EXPECT_EQ(r.hint, r.expected) << r.entry;
}

}  // namespace
