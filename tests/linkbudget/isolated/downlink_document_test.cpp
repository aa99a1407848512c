// The isolated downlink record's layout, the "*.rdn" document in every
// version of its layout, and the two older layouts, written field by field
// the way those versions stored them and read into the current record.
#include "linkbudget/isolated/downlink_document.h"

#include "tests/linkbudget/engine/budget_fixtures.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class OldFile {
public:
    explicit OldFile(std::uint16_t version)
    {
        bytes.push_back(static_cast<unsigned char>(version & 0xFF));
        bytes.push_back(static_cast<unsigned char>(version >> 8));
    }
    OldFile& Text(const char* text, std::size_t width = 13)
    {
        std::vector<unsigned char> field(width, 0);
        std::memcpy(field.data(), text, std::min(width - 1, std::strlen(text)));
        bytes.insert(bytes.end(), field.begin(), field.end());
        return *this;
    }
    OldFile& Skip(std::size_t n)
    {
        bytes.insert(bytes.end(), n, 0xEE);  // anything: the reader passes over it
        return *this;
    }
    OldFile& State(std::uint16_t v)
    {
        bytes.push_back(static_cast<unsigned char>(v & 0xFF));
        bytes.push_back(static_cast<unsigned char>(v >> 8));
        return *this;
    }
    OldFile& Wide(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
        return *this;
    }
    std::vector<unsigned char> bytes;
};

OldFile LayoutA(std::uint16_t v)
{
    OldFile f(v);
    f.Text("Old dish", 41).Text("51.5N").Text("0.1W");
    if (v != 3002) f.Text("0.05");
    f.Skip(13);
    f.Text("11.7").Text("0.6").Text("70").Text("45").Text("0.7").Text("0.1").Text("0.2").Text("58")
        .Text("50").Text("33").Text("34").Text("99.8").Text("H", 2);
    f.Skip(v == 3002 ? 164 : 172).Text("").Skip(8);
    f.Text("42").Text("Oldsat", 41).Text("28.2E").Text("52").Text("33").Text("27.5").Text("3");
    if (v != 3002) f.Text("4");
    f.Text("1.35").Text("5.5").State(0).State(1).State(0).Text("4").Skip(4);
    if (v == 3002) f.State(0).State(1);
    return f;
}

OldFile LayoutB(std::uint16_t v)
{
    OldFile f(v);
    f.Text("Older dish", 41);
    if (v <= 1953) f.Text("Oldest sat", 41);
    f.Text("48.1N").Text("11.6E");
    if (v <= 1957) f.Skip(13);
    f.Text("0.5").Skip(13);
    f.Text("12.1").Text("0.9").Text("68").Text("50").Text("0.9").Text("0.2").Text("0.3").Text("60")
        .Text("75").Text("31").Text("32").Text("99.7").Text("V", 2);
    if (v <= 1952) f.Skip(2);
    else if (v <= 1957) f.Skip(4);
    if (v <= 1959) f.Skip(26);
    if (v >= 1958) f.Skip(8).Text("38");
    if (v >= 1954) f.Text("Later sat", 41);
    f.Text("19.2E").Text("51");
    if (v <= 1953) f.Text("27");
    f.Text("30");
    if (v <= 1954) f.Text("5");
    f.Text(v >= 1956 ? "5" : "0.75");
    if (v >= 1956) f.Text("6");
    if (v != 1958) f.Text("1.25");
    f.Text("6.5");
    if (v == 1952)
        f.Wide(0x00020000).Wide(1).Wide(0);  // high halves are not states
    else
        f.State(0).State(1).State(0);
    f.Text("4");
    if (v >= 1954) f.Skip(14);
    return f;
}

TEST(DownlinkOldFiles, LayoutA)
{
    for (std::uint16_t v : {3000, 3001, 3002}) {
        SCOPED_TRACE(v);
        const std::vector<unsigned char> file = LayoutA(v).bytes;
        DownlinkInputRecord r;
        ASSERT_TRUE(DecodeDownlinkDocument(file.data(), file.size(), r));
        EXPECT_STREQ(r.siteName, "Old dish");
        EXPECT_STREQ(r.altitude, v == 3002 ? "AUTO" : "0.05");
        EXPECT_STREQ(r.frequency, "11.7");
        EXPECT_STREQ(r.lnbGain, "58");
        EXPECT_STREQ(r.loadImpedance, "50");
        EXPECT_STREQ(r.csatAci, "33");
        EXPECT_STREQ(r.csatXpi, "34");
        EXPECT_STREQ(r.polarization, "H");
        EXPECT_STREQ(r.csatAsi, "100");  // stored empty
        EXPECT_STREQ(r.rainRate, "42");
        EXPECT_STREQ(r.satName, "Oldsat");
        EXPECT_STREQ(r.eirp, "52");
        EXPECT_STREQ(r.fecRate, v == 3002 ? "3" : "0.7500");
        EXPECT_STREQ(r.rollOff, "1.35");
        EXPECT_STREQ(r.requiredTarget, "5.5");
        EXPECT_TRUE(r.mapsk.On());
        EXPECT_EQ(r.targetEbNo.On(), v != 3002);
        EXPECT_EQ(r.targetEsNo.On(), v == 3002);
        EXPECT_STREQ(r.mispointing, "0");
        EXPECT_STREQ(r.cim, "25");
        EXPECT_STREQ(r.serviceName, "N/A");
        EXPECT_STREQ(r.carrierSpacing, "1.4");
        EXPECT_STREQ(r.modcodText, "Manual");
        EXPECT_TRUE(r.symbolRate.On());
        EXPECT_TRUE(r.geo.On() && r.ituAuto.On() && r.csatIoUnits.On() && r.depolarization.On());

        DownlinkInputRecord cut;
        EXPECT_FALSE(DecodeDownlinkDocument(file.data(), file.size() - 1, cut));
        EXPECT_EQ(cut.siteName[0], '\0');
    }
}

TEST(DownlinkOldFiles, LayoutB)
{
    for (std::uint16_t v = 1951; v <= 1960; ++v) {
        SCOPED_TRACE(v);
        const std::vector<unsigned char> file = LayoutB(v).bytes;
        DownlinkInputRecord r;
        ASSERT_TRUE(DecodeDownlinkDocument(file.data(), file.size(), r));
        EXPECT_STREQ(r.siteName, "Older dish");
        EXPECT_STREQ(r.satName, v <= 1953 ? "Oldest sat" : "Later sat");
        EXPECT_STREQ(r.latitude, "48.1N");
        EXPECT_STREQ(r.altitude, "0.5");
        EXPECT_STREQ(r.csatXpi, "31");
        EXPECT_STREQ(r.csatAsi, "32");
        EXPECT_STREQ(r.polarization, "V");
        EXPECT_STREQ(r.rainRate, v >= 1958 ? "38" : "");
        EXPECT_STREQ(r.satLongitude, "19.2E");
        EXPECT_STREQ(r.eirp, "51");
        EXPECT_STREQ(r.satBandwidth, v <= 1953 ? "27" : "36");
        EXPECT_STREQ(r.rate, "30");
        EXPECT_STREQ(r.overhead, v <= 1954 ? "5" : "0");
        EXPECT_STREQ(r.fecRate, v >= 1956 ? "0.8333" : "0.75");
        EXPECT_STREQ(r.rollOff, v == 1958 ? "1.2" : "1.25");
        EXPECT_STREQ(r.requiredTarget, "6.5");
        EXPECT_FALSE(r.oneBitPerSymbol.On());
        EXPECT_TRUE(r.mapsk.On());
        EXPECT_FALSE(r.mqam.On());
        EXPECT_STREQ(r.modulationOrder, "4");
        EXPECT_STREQ(r.csatAci, "60");
        EXPECT_STREQ(r.cim, "25");
        EXPECT_EQ(r.symbolRate.On(), v >= 1955);
        EXPECT_EQ(r.infoRate.On(), v < 1955);
        EXPECT_TRUE(r.targetEbNo.On() && r.ituAuto.On() && r.geo.On() && r.depolarization.On());

        DownlinkInputRecord cut;
        EXPECT_FALSE(DecodeDownlinkDocument(file.data(), file.size() - 1, cut));
    }
}

TEST(DownlinkOldFiles, ZeroDenominatorKeepsTheNumerator)
{
    std::vector<unsigned char> file = LayoutA(3000).bytes;
    // The denominator is the field before roll-off, target, three states, M and 4 bytes.
    const std::size_t fecAt = file.size() - (13 + 13 + 2 + 2 + 2 + 13 + 4) - 13;
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(&file[fecAt])), "4");
    std::memcpy(&file[fecAt], "0\0", 2);
    DownlinkInputRecord r;
    ASSERT_TRUE(DecodeDownlinkDocument(file.data(), file.size(), r));
    EXPECT_STREQ(r.fecRate, "3");
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
