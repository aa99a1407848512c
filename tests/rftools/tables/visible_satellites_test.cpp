// The visible-satellites tables: whole reports for a fixed list, sites and
// date, the look angles against the textbook geometry, and the band and
// elevation rules.
#include <gtest/gtest.h>

#include "pointing/alignment/look_angles.h"
#include "rftools/tables/visible_satellites.h"
#include "tables_support.h"

namespace {

using namespace orbiscope::tables;
using tablestest::Satellite;

constexpr std::size_t kC = 3, kKu = 5, kKa = 6;

RecSiteRecord London(const char* minimumElevation)
{
    RecSiteRecord r{};
    PutText(r.siteName, "London");
    PutText(r.siteLatitude, "51.50N");
    PutText(r.siteLongitude, "0.12W");
    PutText(r.minimumElevation, minimumElevation);
    return r;
}

// golden/visible_london.txt, reviewed: magnetic azimuth = true azimuth -
// 1.08 (London's declination on 2026-01-01), the look angles those of the
// national table's textbook check; Gamma (120E) lies below the
// horizon, Beta carries Ku alone, record 0 is not listed, and the
// unterminated name and band texts end at their 19th character.
TEST(VisibleSatellites, GoldenOneSite)
{
    tablestest::FixedDeclinationDate date;
    RecSiteRecord r = London("5");
    r.bands[kC].Set(1);
    r.bands[kKa].Set(1);
    const auto table = VisibleSatellites(r, tablestest::TestSatellites(), tablestest::kHeading);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->text, tablestest::Golden("visible_london.txt"));
    EXPECT_EQ(table->lineCount, 35);
    EXPECT_EQ(table->caption, "Visible Satellites (51.50N,0.12W)");
    EXPECT_EQ(table->tabs.positions, (std::vector<int>{20, 29, 38, 47, 56, 65}));
}

// golden/visible_london_nairobi.txt, reviewed: listed only when both sites
// see a satellite at 10 degrees or more; the site-1 location ends in a tab.
TEST(VisibleSatellites, GoldenTwoSites)
{
    tablestest::FixedDeclinationDate date;
    RecSite2Record r{};
    PutText(r.site1Name, "London");
    PutText(r.site1Latitude, "51.50N");
    PutText(r.site1Longitude, "0.12W");
    PutText(r.site2Name, "Nairobi");
    PutText(r.site2Latitude, "1.28S");
    PutText(r.site2Longitude, "36.82E");
    PutText(r.minimumElevation, "10");
    r.bands[kKu].Set(1);
    const auto table = VisibleSatellites2Sites(r, tablestest::TestSatellites(), tablestest::kHeading);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->text, tablestest::Golden("visible_london_nairobi.txt"));
    EXPECT_EQ(table->caption, "Satellites Visible (2 Sites)");
    EXPECT_EQ(table->tabs.positions, (std::vector<int>{20, 28, 36, 44, 51, 58, 66, 74, 81, 88}));
}

struct BandCase {
    const char* name;
    std::vector<std::size_t> ticked;
    const char* bandText;
    bool listed;
};
const BandCase kBands[] = {
    {"C refuses Ku alone", {kC}, "Ku", false},
    {"the search is case-sensitive", {kKu}, "KU", false},
    {"a capital C anywhere counts", {kC}, "Ku (Cband spare)", true},
    {"Other matches a question mark", {8}, "?", true},
};

TEST(VisibleSatellites, BandRule)
{
    for (const BandCase& c : kBands) {
        ButtonState bands[kBandCount] = {};
        for (std::size_t b : c.ticked) bands[b].Set(1);
        EXPECT_EQ(SatelliteHasBand(c.bandText, bands), c.listed) << c.name;
    }
}

// The band column of the row that starts with `name`; empty when not listed.
std::string BandOf(const TableText& t, const std::string& name)
{
    for (const std::string& line : tablestest::Lines(t.text))
        if (line.rfind(name + "\t", 0) == 0) return line.substr(line.rfind('\t') + 1);
    return {};
}

// A list whose source gives no bands says "?" (or nothing) for every
// satellite; such satellites are listed whatever is ticked, showing "?",
// while a satellite of known bands still needs a ticked one.  All five sit
// at 28.2E, well above London's and Nairobi's horizons.
TEST(VisibleSatellites, UnknownBandIsListedWhateverIsTicked)
{
    const std::vector<SatelliteRecord> list = {
        Satellite("List", 0, "?"),         Satellite("Known C", 28.2f, "C"),  Satellite("Unknown", 28.2f, "?"),
        Satellite("Blank", 28.2f, ""),     Satellite("Spaced", 28.2f, " ? "), Satellite("Asks too", 28.2f, "Ku?"),
    };
    const struct {
        std::vector<std::size_t> ticked;
        bool knownListed;
    } kTicks[] = {{{kKu}, false}, {{kKa, kKu}, false}, {{kC}, true}, {{8}, false}};
    for (const auto& tick : kTicks) {
        SCOPED_TRACE(tick.ticked.front());
        RecSiteRecord one = London("5");
        RecSite2Record two{};
        PutText(two.site1Name, "London");
        PutText(two.site1Latitude, "51.50N");
        PutText(two.site1Longitude, "0.12W");
        PutText(two.site2Name, "Nairobi");
        PutText(two.site2Latitude, "1.28S");
        PutText(two.site2Longitude, "36.82E");
        PutText(two.minimumElevation, "5");
        for (std::size_t b : tick.ticked) one.bands[b].Set(1), two.bands[b].Set(1);
        for (const auto& table : {VisibleSatellites(one, list, {}), VisibleSatellites2Sites(two, list, {})}) {
            ASSERT_TRUE(table);
            EXPECT_EQ(BandOf(*table, "Unknown"), "?");
            EXPECT_EQ(BandOf(*table, "Blank"), "?");
            EXPECT_EQ(BandOf(*table, "Spaced"), "?");
            EXPECT_EQ(BandOf(*table, "Known C"), tick.knownListed ? "C" : "");
            // A "?" among known bands is no unknown band: "Other" or "Ku" lists it.
            const bool asksListed = tick.ticked.back() == kKu || tick.ticked.front() == 8;
            EXPECT_EQ(BandOf(*table, "Asks too"), asksListed ? "Ku?" : "");
            EXPECT_EQ(BandOf(*table, "List"), "") << "record 0 titles the list";
        }
    }
}

TEST(VisibleSatellites, UnknownBandTexts)
{
    const struct {
        const char* text;
        bool unknown;
    } kCases[] = {{"?", true}, {"", true}, {"  ", true}, {"\t?\t", true}, {"??", false},
                  {"C", false}, {"Q/V?", false}, {"? C", false}};
    for (const auto& c : kCases) EXPECT_EQ(BandUnknown(c.text), c.unknown) << '"' << c.text << '"';
}

// A site under the satellite sees it straight up; a satellite at exactly the
// minimum is listed (the field holds 12 characters: bracketed to 1e-9).
TEST(VisibleSatellites, ElevationRule)
{
    RecSiteRecord r = London("20");
    PutText(r.siteLatitude, "0.00N");
    PutText(r.siteLongitude, "28.20E");
    r.bands[kKu].Set(1);
    const std::vector<SatelliteRecord> list = {Satellite("", 0, ""), Satellite("Alpha", 28.2f, "Ku")};
    const auto overhead = VisibleSatellites(r, list, {});
    ASSERT_TRUE(overhead);
    EXPECT_EQ(tablestest::RowNumbers(*overhead, "Alpha", 4)[0], 90.0);

    const double elevation = LookAnglesFrom(51.5, -0.12, double(28.2f)).elevation;
    char minimum[13];
    std::snprintf(minimum, sizeof minimum, "%.9f", std::floor(elevation * 1e9) / 1e9);
    r = London(minimum);
    r.bands[kKu].Set(1);
    EXPECT_TRUE(VisibleSatellites(r, list, {})) << minimum;
    std::snprintf(minimum, sizeof minimum, "%.9f", std::ceil(elevation * 1e9) / 1e9);
    PutText(r.minimumElevation, minimum);
    EXPECT_FALSE(VisibleSatellites(r, list, {})) << minimum;
    PutText(r.minimumElevation, "0");
    EXPECT_FALSE(VisibleSatellites(r, std::vector{Satellite("Only the title", 28.2f, "Ku")}, {}));
}

}  // namespace
