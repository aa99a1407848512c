// The two older downlink document layouts, written field by field the way
// those versions stored them, and read into the current record.
#include "linkbudget/rgn_downlink_record.h"

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

}  // namespace
