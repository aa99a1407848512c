// Isolated downlink budget: a whole budget against figures worked out by hand
// (textbook noise and power sums of the fixed atmosphere), its searches and
// edge cases, and the "*.rdn" document in every version of its layout.
#include "linkbudget/rgn_downlink_budget.h"

#include "budget_fixtures.h"
#include "rgn_fixtures.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Bench {
    FixedAtmosphere atm;
    RecordingHost host;
    RgnDownlinkBudget budget{atm, host};
    Bench()
    {
        atm.gas = 0.2;
        atm.scintillation = 0.3;
        atm.cloud = 0.4;
        atm.rain = 3.0;
        HandDownlink(budget.record);
    }
};

constexpr double kTol = 1e-6;

TEST(RgnDownlinkBudget, HandCalculatedBudget)
{
    Bench b;
    ASSERT_EQ(b.budget.Recalculate(), RgnDownlinkBudget::Outcome::Completed);
    const RgnDownlinkBudget& d = b.budget;
    EXPECT_EQ(d.errorCode, 0);
    EXPECT_NEAR(d.geo.antennaGain, 41.702966803657674, kTol);
    EXPECT_NEAR(d.geo.effectiveAperture, -1.3363426989572331, kTol);
    EXPECT_NEAR(d.geo.freeSpaceLoss, 205.6270800751721, kTol);
    EXPECT_NEAR(d.path.lnbTemperature, 75.0, 1e-12);
    EXPECT_NEAR(d.path.clearSkySystemTemp, 126.25185349464101, kTol);
    EXPECT_NEAR(d.path.rainSystemTemp, 258.90282024908987, kTol);
    EXPECT_NEAR(d.path.clearSkyGt, 20.490589176813174, kTol);
    EXPECT_NEAR(d.path.noiseIncrease, 3.1189901858065143, kTol);
    EXPECT_NEAR(d.path.degradation, 6.518990185806514, kTol);

    struct Want {
        const IsolatedDownlinkResult& col;
        double cNo, cNoIo, ebNoIo, excess, pfd, powerDbw, levelDbuV, flange;
    } wants[] = {
        {d.clear, 92.5628304016411, 82.35597127537059, 19.133778328031397, 13.133778328031397,
         -112.98777057255715, -59.524113271514395, 79.2264993624026, -176.28539362829682},
        {d.rainy, 86.04384021583459, 81.10954618342534, 17.887353236086142, 11.887353236086142,
         -119.50676075836367, -66.04310345732091, 72.70750917659609, -182.80438381410332},
    };
    for (const Want& w : wants) {
        EXPECT_NEAR(w.col.cNo, w.cNo, kTol);
        EXPECT_NEAR(w.col.cIo, 82.79115843322133, kTol);
        EXPECT_NEAR(w.col.cIm, 25.0, 1e-9);
        EXPECT_NEAR(w.col.cNoIo, w.cNoIo, kTol);
        EXPECT_NEAR(w.col.ebNoIo, w.ebNoIo, kTol);
        EXPECT_NEAR(w.col.excessMargin, w.excess, kTol);
        EXPECT_NEAR(w.col.pfd, w.pfd, kTol);
        EXPECT_NEAR(w.col.carrierPowerDbw, w.powerDbw, kTol);
        EXPECT_NEAR(w.col.carrierPowerDbm, w.powerDbw + 30.0, kTol);
        EXPECT_NEAR(w.col.carrierLevelDbuV, w.levelDbuV, kTol);
        EXPECT_NEAR(w.col.carrierLevelDbmV, w.levelDbuV - 60.0, kTol);
        EXPECT_NEAR(w.col.flangeDensity, w.flange, kTol);
        EXPECT_NEAR(w.col.satelliteDensity, 50.0 - 61.46128035678238, kTol);
    }
    EXPECT_STREQ(d.texts.availability, "99.9000");
    EXPECT_STREQ(d.texts.worstAvailability, "99.6154");
}

TEST(RgnDownlinkBudget, SuggestedAntennaJustClosesTheLink)
{
    Bench b;
    b.budget.Recalculate();
    const std::string s = b.budget.suggestion;
    ASSERT_EQ(s.rfind("Suggested availability setting = 99.9999% or antenna size = ", 0), 0u) << s;
    const double size = std::stod(s.substr(s.find("size = ") + 7));
    EXPECT_GT(size, 0.05);
    EXPECT_LT(size, 1.2);
    EXPECT_EQ(b.budget.in.diameter, 1.2);  // the search leaves the inputs as they were

    // The search's own figure, to the millimetre, leaves a margin of about 0.
    const double exact = b.budget.FindAntennaSize();
    EXPECT_NEAR(exact, size, 0.005);
    Bench at;
    char text[13];
    std::snprintf(text, sizeof text, "%.3f", exact);
    SetText(at.budget.record.diameter, text);
    at.budget.Recalculate();
    EXPECT_NEAR(at.budget.rainy.excessMargin, 0.0, 0.03);
}

TEST(RgnDownlinkBudget, EdgeCases)
{
    struct Case {
        const char* name;
        void (*edit)(DownlinkInputRecord&);
        void (*check)(const RgnDownlinkBudget&);
    } cases[] = {
        {"noise figure converted to a temperature",
         [](DownlinkInputRecord& r) { SetText(r.lnbNoise, "0.8"); },
         [](const RgnDownlinkBudget& d) {
             EXPECT_NEAR(d.path.lnbTemperature, (std::pow(10.0, 0.08) - 1.0) * 290.0, 1e-9);
         }},
        {"clear sky: no rain, no noise rise, N/A texts, search at its top",
         [](DownlinkInputRecord& r) { r.clearSky.Set(1); },
         [](const RgnDownlinkBudget& d) {
             EXPECT_EQ(d.in.availability, 100.0);
             EXPECT_EQ(d.path.rain, 0.0);
             EXPECT_EQ(d.path.noiseIncrease, 0.0);
             EXPECT_STREQ(d.texts.availability, "N/A");
             EXPECT_EQ(d.suggestion.rfind("Suggested availability setting = 99.9999%", 0), 0u);
         }},
        {"clear sky that does not close ends the search at 40",
         [](DownlinkInputRecord& r) {
             r.clearSky.Set(1);
             SetText(r.eirp, "-40");
         },
         [](const RgnDownlinkBudget& d) {
             EXPECT_EQ(d.suggestion,
                       "Suggested availability setting = 40.0000% or antenna size = 50.00m");
             EXPECT_EQ(d.errorCode, kErrNegativeMargin);
         }},
        {"antenna noise computed",
         [](DownlinkInputRecord& r) { SetText(r.antennaNoise, "Auto"); },
         [](const RgnDownlinkBudget& d) {
             // 35 % spill-over at 90 K plus sky noise through the 0.2 dB of gas.
             const double sky = (1.0 - std::pow(10.0, -0.02)) * (0.81 * 290.0 + 37.34);
             EXPECT_NEAR(d.in.antennaNoise, sky + 0.35 * 90.0, 1e-9);
         }},
        {"link that closes with the smallest dish",
         [](DownlinkInputRecord& r) { SetText(r.eirp, "90"); },
         [](const RgnDownlinkBudget& d) {
             EXPECT_NE(d.suggestion.find("antenna size = 0.00m"), std::string::npos) << d.suggestion;
         }},
        {"C/I units raised by the noise bandwidth",
         [](DownlinkInputRecord& r) {
             r.csatIoUnits.Set(0);
             r.ciUnits.Set(1);
             SetText(r.csatAci, "20");
         },
         [](const RgnDownlinkBudget& d) {
             EXPECT_NEAR(d.rainy.cAcio, 20.0 + 61.46128035678238, 1e-9);
         }},
        {"negative other losses used as entered",
         [](DownlinkInputRecord& r) { SetText(r.otherLosses, "-1"); },
         [](const RgnDownlinkBudget& d) {
             EXPECT_EQ(d.in.otherLosses, -1.0);
             EXPECT_NEAR(d.path.rain, 3.0, 1e-12);
         }},
        {"carrier wider than the satellite bandwidth",
         [](DownlinkInputRecord& r) { SetText(r.satBandwidth, "1"); },
         [](const RgnDownlinkBudget& d) { EXPECT_EQ(d.errorCode, kErrBandwidthOverspill); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        c.edit(b.budget.record);
        ASSERT_EQ(b.budget.Recalculate(), RgnDownlinkBudget::Outcome::Completed);
        c.check(b.budget);
    }
}

TEST(DownlinkInputRecord, FieldOffsets)
{
    struct { std::size_t offset, want; } fields[] = {
        {offsetof(DownlinkInputRecord, lnbNoise), 173}, {offsetof(DownlinkInputRecord, cim), 264},
        {offsetof(DownlinkInputRecord, ituAuto), 277}, {offsetof(DownlinkInputRecord, rainRate), 287},
        {offsetof(DownlinkInputRecord, depolarization), 300}, {offsetof(DownlinkInputRecord, eirp), 384},
        {offsetof(DownlinkInputRecord, geo), 462}, {offsetof(DownlinkInputRecord, implementationLoss), 570},
        {offsetof(DownlinkInputRecord, modulationOrder), 602},
        {offsetof(DownlinkInputRecord, modcodText), 623}, {offsetof(DownlinkInputRecord, ciUnits), 706},
    };
    for (const auto& f : fields) EXPECT_EQ(f.offset, f.want);
}

std::vector<unsigned char> OldDownlink(std::uint16_t version, const DownlinkInputRecord& r)
{
    struct Absent { std::size_t offset, size; std::uint16_t from; };
    const Absent absent[] = {{199, 26, 8008}, {279, 4, 8006}, {283, 2, 8009}, {300, 2, 8010},
                             {570, 13, 8007}, {619, 85, 8007}, {704, 4, 8009}};
    const unsigned char* b = reinterpret_cast<const unsigned char*>(&r);
    std::vector<unsigned char> out = {static_cast<unsigned char>(version & 0xFF),
                                      static_cast<unsigned char>(version >> 8)};
    for (std::size_t i = 0; i < 708; ++i) {
        bool skip = false;
        for (const Absent& a : absent)
            if (version < a.from && i >= a.offset && i < a.offset + a.size) skip = true;
        if (!skip) out.push_back(b[i]);
    }
    return out;
}

TEST(DownlinkDocument, EveryVersionRead)
{
    DownlinkInputRecord r;
    HandDownlink(r);
    SetText(r.lnbGain, "60");
    SetText(r.loadImpedance, "50");
    r.craneTc.Set(1);
    r.clearSky.Set(1);
    r.depolarization.Set(0);
    SetText(r.implementationLoss, "0.7");
    SetText(r.modcodText, "8PSK 2/3");
    r.ciUnits.Set(1);
    r.csatIoUnits.Set(0);

    const std::vector<unsigned char> current = EncodeDownlinkDocument(r);
    ASSERT_EQ(current.size(), 710u);
    EXPECT_EQ(current[0], 0x4A);  // 8010 = 0x1F4A
    EXPECT_EQ(current[1], 0x1F);
    EXPECT_EQ(std::memcmp(current.data() + 2, &r, 708), 0);

    struct Version { std::uint16_t version; std::size_t recordSize; } versions[] = {
        {8005, 572}, {8006, 576}, {8007, 674}, {8008, 700}, {8009, 706}, {8010, 708}};
    for (const Version& v : versions) {
        SCOPED_TRACE(v.version);
        const std::vector<unsigned char> file = OldDownlink(v.version, r);
        ASSERT_EQ(file.size(), 2 + v.recordSize);
        DownlinkInputRecord got;
        ASSERT_TRUE(DecodeDownlinkDocument(file.data(), file.size(), got));
        EXPECT_STREQ(got.eirp, "50");
        EXPECT_STREQ(got.systemMargin, "1");
        EXPECT_STREQ(got.cim, "25");
        EXPECT_STREQ(got.lnbGain, v.version >= 8008 ? "60" : "55");
        EXPECT_STREQ(got.loadImpedance, v.version >= 8008 ? "50" : "75");
        EXPECT_EQ(got.craneTc.On(), v.version >= 8006);
        EXPECT_EQ(got.clearSky.On(), v.version >= 8009);
        EXPECT_EQ(got.depolarization.On(), v.version < 8010);
        EXPECT_STREQ(got.implementationLoss, v.version >= 8007 ? "0.7" : "0");
        EXPECT_STREQ(got.modcodText, v.version >= 8007 ? "8PSK 2/3" : "Manual");
        EXPECT_EQ(got.ciUnits.On(), v.version >= 8009);
        DownlinkInputRecord shortRead;
        EXPECT_FALSE(DecodeDownlinkDocument(file.data(), file.size() - 1, shortRead));
    }
    DownlinkInputRecord other;
    std::vector<unsigned char> bad = current;
    bad[0] = 0x4B;  // 8011
    EXPECT_FALSE(DecodeDownlinkDocument(bad.data(), bad.size(), other));
}

}  // namespace
