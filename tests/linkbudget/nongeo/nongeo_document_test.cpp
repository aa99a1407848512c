// Non-GEO link-budget record and documents at the byte level: the record's
// layout and defaults, the saved file, and files of every older layout built
// byte by byte from the field sequences of their versions.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>

#include <filesystem>
#include <string>
#include <vector>

#include "linkbudget/nongeo/nongeo_document.h"
#include "tests/linkbudget/engine/budget_fixtures.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
void Set(char (&field)[N], const char* text)
{
    std::snprintf(field, N, "%s", text);
}

TEST(NonGeoRecord, FieldOffsets)
{
    const struct { std::size_t offset, expected; const char* name; } cases[] = {
        {offsetof(NonGeoLinkInputRecord, upLatitude), 41, "up latitude"},
        {offsetof(NonGeoLinkInputRecord, upElevation), 67, "up elevation"},
        {offsetof(NonGeoLinkInputRecord, upRange), 80, "up range"},
        {offsetof(NonGeoLinkInputRecord, upLongitudeDiff), 93, "up longitude difference"},
        {offsetof(NonGeoLinkInputRecord, upPolarization), 132, "up polarization"},
        {offsetof(NonGeoLinkInputRecord, upCsatAsi), 225, "up C/ASI"},
        {offsetof(NonGeoLinkInputRecord, hpaPower), 303, "HPA power"},
        {offsetof(NonGeoLinkInputRecord, dnSiteName), 316, "down site name"},
        {offsetof(NonGeoLinkInputRecord, dnLongitudeDiff), 409, "down longitude difference"},
        {offsetof(NonGeoLinkInputRecord, dnPolarization), 448, "down polarization"},
        {offsetof(NonGeoLinkInputRecord, lnbNoise), 528, "LNB"},
        {offsetof(NonGeoLinkInputRecord, dnCsatAsi), 567, "down C/ASI"},
        {offsetof(NonGeoLinkInputRecord, dualFade), 593, "dual fade"},
        {offsetof(NonGeoLinkInputRecord, upItuAuto), 595, "up ITU-R auto"},
        {offsetof(NonGeoLinkInputRecord, upRainRate), 605, "up rain rate"},
        {offsetof(NonGeoLinkInputRecord, xpiColocated), 620, "XPI co-located"},
        {offsetof(NonGeoLinkInputRecord, dnItuAuto), 622, "down ITU-R auto"},
        {offsetof(NonGeoLinkInputRecord, dnDepolarization), 645, "down depolarization"},
        {offsetof(NonGeoLinkInputRecord, satName), 647, "satellite name"},
        {offsetof(NonGeoLinkInputRecord, gtRef), 688, "G/T ref"},
        {offsetof(NonGeoLinkInputRecord, carriersPerTransponder), 831, "carriers per transponder"},
        {offsetof(NonGeoLinkInputRecord, serviceName), 844, "service name"},
        {offsetof(NonGeoLinkInputRecord, systemMargin), 1043, "system margin"},
        {offsetof(NonGeoLinkInputRecord, oneBitPerSymbol), 1056, "1 bit/symbol"},
        {offsetof(NonGeoLinkInputRecord, modulationOrder), 1062, "M="},
        {offsetof(NonGeoLinkInputRecord, twta), 1075, "TWTA"},
        {offsetof(NonGeoLinkInputRecord, targetEbNo), 1081, "Eb/No"},
        {offsetof(NonGeoLinkInputRecord, infoRate), 1085, "info rate"},
        {offsetof(NonGeoLinkInputRecord, modcodText), 1089, "modcod text"},
        {offsetof(NonGeoLinkInputRecord, upCsatIoUnits), 1170, "up Csat/Io"},
        {offsetof(NonGeoLinkInputRecord, dnCiUnits), 1176, "down C/I"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.offset, c.expected) << c.name;
}

TEST(NonGeoRecord, DefaultsAtTheirBytes)
{
    NonGeoLinkInputRecord r;
    std::memset(&r, 0x5A, sizeof r);
    SetNonGeoLinkRecordDefaults(r);
    const auto* b = reinterpret_cast<const std::uint8_t*>(&r);
    const auto text = [&](std::size_t at) { return std::string(reinterpret_cast<const char*>(b + at)); };
    const auto state = [&](std::size_t at) { return b[at] | (b[at + 1] << 8); };
    const struct { std::size_t at; const char* text; } texts[] = {
        {106, "AUTO"}, {422, "AUTO"}, {450, "AUTO"}, {541, "AUTO"}, {805, "AUTO"}, {818, "AUTO"},
        {831, "AUTO"}, {264, "1"}, {303, "MIN"}, {978, "0"}, {1030, "0"}, {1062, "4"}, {1089, "Manual"},
        {0, ""}, {67, ""}, {93, ""}, {225, ""}, {647, ""},
    };
    for (const auto& t : texts) EXPECT_EQ(text(t.at), t.text) << t.at;
    const std::size_t on[] = {1077, 1058, 1081, 1085, 595, 622, 618, 645, 620, 1170, 1174};
    for (std::size_t at : on) EXPECT_EQ(state(at), 1) << at;
    const std::size_t off[] = {593, 597, 603, 624, 630, 1056, 1060, 1075, 1079, 1083, 1087, 1172, 1176};
    for (std::size_t at : off) EXPECT_EQ(state(at), 0) << at;
}

TEST(NonGeoRecord, EmptyLongitudeDifferenceBecomesZero)
{
    const struct { const char* up; const char* down; double upValue, downValue; const char* upAfter, *downAfter; }
        cases[] = {
            {"", "", 0.0, 0.0, "0", "0"},
            {"12.5", "", 12.5, 0.0, "12.5", "0"},
            {"", "3", 0.0, 3.0, "0", "3"},
            {"abc", "7.25", 0.0, 7.25, "abc", "7.25"},  // text that is no number stays for the dialog
        };
    for (const auto& c : cases) {
        NonGeoLinkInputRecord r;
        SetNonGeoLinkRecordDefaults(r);
        Set(r.upLongitudeDiff, c.up);
        Set(r.dnLongitudeDiff, c.down);
        Set(r.upElevation, "35.5");
        Set(r.upRange, "1500");
        Set(r.dnElevation, "12");
        Set(r.dnRange, "2500.25");
        NonGeoGeometry up, down;
        ParseNonGeoGeometry(r, up, down);
        EXPECT_DOUBLE_EQ(up.longitudeDifference, c.upValue) << c.up;
        EXPECT_DOUBLE_EQ(down.longitudeDifference, c.downValue) << c.down;
        EXPECT_EQ(FieldText(r.upLongitudeDiff), c.upAfter);
        EXPECT_EQ(FieldText(r.dnLongitudeDiff), c.downAfter);
        EXPECT_DOUBLE_EQ(up.elevation, 35.5);
        EXPECT_DOUBLE_EQ(up.range, 1500.0);
        EXPECT_DOUBLE_EQ(down.elevation, 12.0);
        EXPECT_DOUBLE_EQ(down.range, 2500.25);
    }
}

// ---- documents -------------------------------------------------------------

class FileBuilder {
public:
    explicit FileBuilder(std::uint16_t version) { Word(version); }
    template <std::size_t N>
    FileBuilder& Text(const char (&field)[N])
    {
        for (std::size_t i = 0; i < N; ++i) bytes.push_back(std::uint8_t(field[i]));
        return *this;
    }
    template <class... F>
    FileBuilder& Texts(const F&... fields)
    {
        (Text(fields), ...);
        return *this;
    }
    FileBuilder& Text13(const char* text)
    {
        char f[13] = {};
        Set(f, text);
        return Text(f);
    }
    FileBuilder& State(const ButtonState& s) { return Word(s.Value()); }
    FileBuilder& Word(std::uint16_t v)
    {
        bytes.push_back(std::uint8_t(v & 0xFF));
        bytes.push_back(std::uint8_t(v >> 8));
        return *this;
    }
    FileBuilder& Skip(std::size_t n)
    {
        bytes.insert(bytes.end(), n, 0xEE);
        return *this;
    }
    Bytes bytes;
};

// A budget whose every text is distinct, so a field read at the wrong place
// shows.
NonGeoLinkInputRecord Distinct()
{
    NonGeoLinkInputRecord r;
    SetNonGeoLinkRecordDefaults(r);
    Set(r.upSiteName, "Valencia"); Set(r.upLatitude, "39.47N"); Set(r.upLongitude, "0.38W");
    Set(r.upElevation, "35"); Set(r.upRange, "1500"); Set(r.upLongitudeDiff, "12");
    Set(r.upAltitude, "0.05"); Set(r.upFrequency, "14.25"); Set(r.upPolarization, "V");
    Set(r.upAvailability, "99.7"); Set(r.upDiameter, "2.4"); Set(r.upEfficiency, "65");
    Set(r.upCouplingLoss, "0.5"); Set(r.upMispointing, "0.3"); Set(r.upOtherLosses, "0.2");
    Set(r.upCsatAci, "95"); Set(r.upCsatAsi, "94"); Set(r.upCsatXpi, "93");
    Set(r.hpaObo, "3"); Set(r.carriersPerHpa, "2"); Set(r.hpaCim, "70"); Set(r.upc, "4"); Set(r.hpaPower, "MIN");
    Set(r.dnSiteName, "Krakow"); Set(r.dnLatitude, "50.06N"); Set(r.dnLongitude, "19.94E");
    Set(r.dnElevation, "25"); Set(r.dnRange, "2100"); Set(r.dnLongitudeDiff, "22");
    Set(r.dnAltitude, "0.22"); Set(r.dnFrequency, "11.7"); Set(r.dnPolarization, "H");
    Set(r.dnAvailability, "99.8"); Set(r.dnDiameter, "1.2"); Set(r.dnEfficiency, "60");
    Set(r.dnCouplingLoss, "0.4"); Set(r.dnMispointing, "0.35"); Set(r.dnOtherLosses, "0.1");
    Set(r.lnbNoise, "0.8"); Set(r.antennaNoise, "45"); Set(r.dnCsatAci, "96"); Set(r.dnCsatAsi, "97");
    Set(r.dnCsatXpi, "98");
    r.dualFade.Set(1);
    r.upItuAuto.Set(0); r.upCraneTc.Set(1); r.upRainRate[0] = '4'; r.upRainRate[1] = '2';
    r.upDepolarization.Set(0); r.xpiColocated.Set(0);
    r.dnItuAuto.Set(0); r.dnItuRate.Set(1); Set(r.dnRainRate, "33");
    r.dnDepolarization.Set(0);
    Set(r.satName, "Low Orbiter 1"); Set(r.gtRef, "2"); Set(r.sfdRef, "-85"); Set(r.gtReceive, "1.5");
    Set(r.fca, "6"); Set(r.alc, "1"); Set(r.eirpSaturation, "50"); Set(r.eirpBeamPeak, "51");
    Set(r.transponderBandwidth, "36"); Set(r.transponderIbo, "7"); Set(r.transponderObo, "5");
    Set(r.cim, "20"); Set(r.carriersPerTransponder, "8");
    Set(r.serviceName, "Trunk"); Set(r.coverage, "Europe"); Set(r.requiredTarget, "5.5"); Set(r.rate, "2.048");
    Set(r.overhead, "5"); Set(r.fecRate, "3/4"); Set(r.spreadingGain, "0.5"); Set(r.rollOff, "1.35");
    Set(r.carrierSpacing, "1.4"); Set(r.allocationStep, "0.125"); Set(r.implementationLoss, "0.7");
    Set(r.systemMargin, "1.5");
    r.mapsk.Set(0); r.mqam.Set(1); Set(r.modulationOrder, "16");
    r.ltwta.Set(0); r.sspa.Set(1); r.targetEbNo.Set(0); r.targetEsNo.Set(1);
    r.infoRate.Set(0); r.symbolRate.Set(1); Set(r.modcodText, "16APSK 3/4");
    r.upCsatIoUnits.Set(0); r.upCiUnits.Set(1); r.dnCsatIoUnits.Set(1); r.dnCiUnits.Set(0);
    return r;
}

// The file of version v of the 9000 generation, written from its field
// sequence.  `fecDivisor` is the version-9000 divisor text; `minEq` the
// flag of the versions that carry it.
Bytes Build9000(int v, const NonGeoLinkInputRecord& r, const char* fecDivisor = "1", std::uint16_t minEq = 1)
{
    FileBuilder f{std::uint16_t(v)};
    f.Texts(r.upSiteName, r.upLatitude, r.upLongitude, r.upElevation, r.upRange);
    if (v >= 9002) f.Text(r.upLongitudeDiff);
    if (v != 9001) f.Text(r.upAltitude);
    f.Texts(r.upFrequency, r.upPolarization, r.upAvailability, r.upDiameter, r.upEfficiency, r.upCouplingLoss,
            r.upMispointing, r.upOtherLosses, r.upCsatAci, r.upCsatAsi, r.upCsatXpi, r.hpaObo, r.carriersPerHpa,
            r.hpaCim, r.upc);
    if (v == 9000) f.Skip(13);
    f.Text(r.hpaPower);
    f.Texts(r.dnSiteName, r.dnLatitude, r.dnLongitude, r.dnElevation, r.dnRange);
    if (v >= 9002) f.Text(r.dnLongitudeDiff);
    if (v != 9001) f.Text(r.dnAltitude);
    f.Texts(r.dnFrequency, r.dnPolarization, r.dnAvailability, r.dnDiameter, r.dnEfficiency, r.dnCouplingLoss,
            r.dnMispointing, r.dnOtherLosses, r.lnbNoise, r.antennaNoise, r.dnCsatAci, r.dnCsatAsi, r.dnCsatXpi);
    if (v < 9002) f.Skip(2);
    if (v >= 9004) f.State(r.dualFade);
    f.State(r.upItuAuto);
    if (v == 9000) f.Skip(4);
    if (v >= 9003) f.State(r.upCraneTc).State(r.upCraneUsa);
    if (v >= 9009) f.State(r.upClearSky);
    f.State(r.upItuRate).Text(r.upRainRate);
    if (v >= 9011) f.State(r.upDepolarization);
    if (v == 9012) f.State(r.xpiColocated);
    f.State(r.dnItuAuto);
    if (v == 9000) f.Skip(4);
    if (v >= 9003) f.State(r.dnCraneTc).State(r.dnCraneUsa);
    if (v >= 9009) f.State(r.dnClearSky);
    f.State(r.dnItuRate).Text(r.dnRainRate);
    if (v >= 9011) f.State(r.dnDepolarization);
    f.Texts(r.satName, r.gtRef, r.sfdRef, r.gtReceive, r.fca, r.alc, r.eirpSaturation);
    if (v >= 9010) f.Text(r.eirpBeamPeak);
    f.Texts(r.transponderBandwidth, r.transponderIbo, r.transponderObo, r.cim);
    if (v != 9007) f.Text(r.carriersPerTransponder);
    f.Texts(r.serviceName, r.coverage, r.requiredTarget, r.rate, r.overhead, r.fecRate, r.spreadingGain);
    if (v == 9000) f.Text13(fecDivisor);
    f.Texts(r.rollOff, r.carrierSpacing, r.allocationStep);
    if (v >= 9004) f.Text(r.implementationLoss);
    f.Text(r.systemMargin);
    if (v < 9012 && v != 9005) f.Word(minEq);
    f.State(r.oneBitPerSymbol).State(r.mapsk).State(r.mqam).Text(r.modulationOrder);
    if (v == 9000) f.Skip(13);
    f.State(r.twta).State(r.ltwta).State(r.sspa);
    if (v >= 9001) f.State(r.targetEbNo).State(r.targetEsNo);
    if (v >= 9004) f.State(r.infoRate).State(r.symbolRate).Text(r.modcodText);
    if (v >= 9009) f.State(r.upCsatIoUnits).State(r.upCiUnits);
    if (v >= 9011) f.State(r.dnCsatIoUnits).State(r.dnCiUnits);
    return f.bytes;
}

Bytes Build7001(int v, const NonGeoLinkInputRecord& r, const char* fecDivisor = "1", std::uint16_t minEq = 1)
{
    FileBuilder f{std::uint16_t(v)};
    f.Texts(r.upSiteName, r.upLatitude, r.upLongitude, r.upElevation, r.upRange, r.upAltitude, r.upFrequency,
            r.upPolarization, r.upAvailability);
    if (v == 7001) f.Skip(26);
    f.Texts(r.upDiameter, r.upEfficiency, r.upCouplingLoss, r.upMispointing, r.upCsatAci, r.upCsatAsi, r.upCsatXpi,
            r.hpaObo, r.carriersPerHpa, r.hpaCim, r.upc);
    f.Skip(13).Text(r.hpaPower);
    f.Texts(r.dnSiteName, r.dnLatitude, r.dnLongitude, r.dnElevation, r.dnRange, r.dnAltitude, r.dnFrequency,
            r.dnPolarization, r.dnAvailability);
    if (v == 7001) f.Skip(26);
    f.Texts(r.dnDiameter, r.dnEfficiency, r.dnCouplingLoss, r.dnMispointing, r.lnbNoise, r.antennaNoise,
            r.dnCsatAci, r.dnCsatAsi, r.dnCsatXpi);
    f.Skip(10).Text(r.upRainRate).Skip(8).Text(r.dnRainRate);
    f.Texts(r.satName, r.gtReceive, r.sfdRef, r.fca, r.alc, r.eirpSaturation, r.transponderBandwidth,
            r.transponderIbo, r.transponderObo, r.cim, r.carriersPerTransponder);
    f.Texts(r.serviceName, r.coverage, r.requiredTarget, r.rate, r.overhead, r.fecRate, r.spreadingGain);
    f.Text13(fecDivisor);
    f.Texts(r.rollOff, r.carrierSpacing, r.allocationStep, r.systemMargin);
    f.Word(minEq);
    f.State(r.oneBitPerSymbol).State(r.mapsk).State(r.mqam).Text(r.modulationOrder);
    f.Skip(13).State(r.twta).State(r.sspa);
    return f.bytes;
}

class NonGeoDocuments : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orbiscope-llb-XXXXXX").string();
        dir = mkdtemp(pattern.data());
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Write(const Bytes& bytes, const char* name = "doc.llb")
    {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path;
    }
    bool Load(const Bytes& bytes, NonGeoLinkInputRecord& r)
    {
        return ReadNonGeoDocument(Write(bytes).c_str(), r, notice);
    }
    std::filesystem::path dir;
    std::int32_t notice = 0;
};

TEST_F(NonGeoDocuments, CurrentFileIsVersionAndRecordAndReadsBack)
{
    const NonGeoLinkInputRecord r = Distinct();
    // The current layout written from its field sequence.
    const Bytes bytes = Build9000(9012, r);
    ASSERT_EQ(bytes.size(), 1180u);
    EXPECT_EQ(bytes[0], 0x34);  // 9012 = 0x2334, little-endian
    EXPECT_EQ(bytes[1], 0x23);
    EXPECT_EQ(std::memcmp(bytes.data() + 2, &r, 1178), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()) + 2 + 93), "12");  // up longitude difference

    NonGeoLinkInputRecord back;
    ASSERT_TRUE(Load(bytes, back));
    EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
    EXPECT_EQ(notice, 0);
}

TEST_F(NonGeoDocuments, RefusedFiles)
{
    const NonGeoLinkInputRecord r = Distinct();
    Bytes shortCurrent = Build9000(9012, r);
    shortCurrent.pop_back();
    Bytes short7002 = Build7001(7002, r);
    short7002.pop_back();
    const struct { const char* name; Bytes bytes; } cases[] = {
        {"version 7000", FileBuilder(7000).Skip(1300).bytes},
        {"version 7003", FileBuilder(7003).Skip(1300).bytes},
        {"version 8999", FileBuilder(8999).Skip(1300).bytes},
        {"version 9013", FileBuilder(9013).Skip(1300).bytes},
        {"version 2013", FileBuilder(2013).Skip(1337).bytes},
        {"current one byte short", shortCurrent},
        {"7002 one byte short", short7002},
        {"version word only", FileBuilder(9012).bytes},
        {"one byte", Bytes{0x34}},
        {"empty", Bytes{}},
    };
    for (const auto& c : cases) {
        NonGeoLinkInputRecord out;
        EXPECT_FALSE(Load(c.bytes, out)) << c.name;
        EXPECT_EQ(notice, 0) << c.name;
    }
    NonGeoLinkInputRecord out;
    EXPECT_FALSE(ReadNonGeoDocument((dir / "missing.llb").string().c_str(), out, notice));
    EXPECT_FALSE(ReadNonGeoDocument(nullptr, out, notice));
}

TEST_F(NonGeoDocuments, DamagedTextsEndAtTheirLastByte)
{
    Bytes bytes = FileBuilder(9012).bytes;
    bytes.resize(2 + 1178, 'A');
    NonGeoLinkInputRecord r;
    ASSERT_TRUE(Load(bytes, r));
    EXPECT_EQ(std::strlen(r.upSiteName), 40u);  // terminated in its last byte
    EXPECT_EQ(std::strlen(r.upLongitudeDiff), 12u);  // terminated in its last byte
    EXPECT_EQ(std::strlen(r.modcodText), 80u);  // terminated in its last byte
    // A longer file is read only as far as the record goes.
    bytes.resize(2 + 1178 + 50, 'B');
    ASSERT_TRUE(Load(bytes, r));
    EXPECT_EQ(r.dnCiUnits.Value(), 0x4141);
}

std::string Value(const ButtonState& b) { return std::to_string(b.Value()); }
template <std::size_t N>
std::string Value(const char (&field)[N])
{
    return FieldText(field);
}

// The fields in which a record differs from the one wanted: "field: got | wanted".
std::vector<std::string> Differences(const NonGeoLinkInputRecord& got, const NonGeoLinkInputRecord& want)
{
    std::vector<std::string> out;
#define DIFFER(f) \
    if (Value(got.f) != Value(want.f)) out.push_back(#f ": " + Value(got.f) + " | " + Value(want.f));
    ORBISCOPE_COMMON_TEXTS(DIFFER)
    DIFFER(upElevation) DIFFER(upRange) DIFFER(upLongitudeDiff) DIFFER(dnElevation) DIFFER(dnRange)
    DIFFER(dnLongitudeDiff)
#undef DIFFER
    return out;
}

// Every version of the 9000 generation: the fields it stores come back at
// their places, the ones it lacks take their stated values.
TEST_F(NonGeoDocuments, EveryVersionFrom9000)
{
    const NonGeoLinkInputRecord r = Distinct();
    for (int v = 9000; v <= 9012; ++v) {
        SCOPED_TRACE(v);
        NonGeoLinkInputRecord want = r;
        if (v < 9002) Set(want.upLongitudeDiff, "0"), Set(want.dnLongitudeDiff, "0"), Set(want.cim, "AUTO");
        if (v == 9001) Set(want.upAltitude, "AUTO"), Set(want.dnAltitude, "AUTO");
        if (v < 9004) want.dualFade.Set(0);
        if (v < 9003) want.upCraneTc.Set(0);
        if (v < 9011) want.upDepolarization.Set(1), want.dnDepolarization.Set(1);
        if (v < 9012) want.xpiColocated.Set(1);
        if (v < 9010) Set(want.eirpBeamPeak, "");
        if (v == 9007) Set(want.carriersPerTransponder, "AUTO");
        if (v == 9000) Set(want.fecRate, "0.7500");
        if (v < 9001) want.targetEsNo.Set(0), want.targetEbNo.Set(1);
        if (v < 9004) {
            Set(want.implementationLoss, "0"), Set(want.modcodText, "Manual");
            want.infoRate.Set(1), want.symbolRate.Set(0);
        }
        // The downlink's units are a copy of the uplink's until 9011 stored their own.
        if (v < 9011) want.dnCiUnits = want.upCiUnits, want.dnCsatIoUnits = want.upCsatIoUnits;
        if (v < 9009) {
            for (ButtonState* b : {&want.upCiUnits, &want.dnCiUnits}) b->Set(0);
            for (ButtonState* b : {&want.upCsatIoUnits, &want.dnCsatIoUnits}) b->Set(1);
        }
        NonGeoLinkInputRecord out;
        ASSERT_TRUE(Load(Build9000(v, r), out));
        EXPECT_EQ(Differences(out, want), std::vector<std::string>{});
        EXPECT_EQ(notice, v >= 9002 ? 0 : -514);
    }
}

TEST_F(NonGeoDocuments, MinEqFlagAndAvailabilityKeyword)
{
    NonGeoLinkInputRecord r = Distinct();
    Set(r.dnAvailability, "Auto-");
    const struct { int version; std::uint16_t flag; const char* hpa; } cases[] = {
        {9011, 0, "MINEQ"}, {9011, 1, "MIN"}, {9000, 0, "MINEQ"}, {9004, 7, "MIN"},
        {7001, 0, "MINEQ"}, {7002, 1, "MIN"},
    };
    for (const auto& c : cases) {
        NonGeoLinkInputRecord out;
        const Bytes bytes = c.version < 9000 ? Build7001(c.version, r, "1", c.flag) : Build9000(c.version, r, "1", c.flag);
        ASSERT_TRUE(Load(bytes, out)) << c.version;
        EXPECT_EQ(FieldText(out.hpaPower), c.hpa) << c.version;
        if (c.version >= 9000) {
            EXPECT_EQ(FieldText(out.dnAvailability), "AUTO") << c.version;
        }
    }
    // Version 9005 carries no flag: the record follows the margin directly.
    NonGeoLinkInputRecord out;
    ASSERT_TRUE(Load(Build9000(9005, r), out));
    EXPECT_EQ(FieldText(out.hpaPower), "MIN");
    EXPECT_EQ(FieldText(out.modulationOrder), "16");
}

TEST_F(NonGeoDocuments, FecDivisorOfTheOldestFiles)
{
    const struct { const char* fec; const char* divisor; const char* expected; } cases[] = {
        {"7", "8", "0.8750"}, {"1", "2", "0.5000"}, {"3/4", "0", "3/4"}, {"2", "x", "2"},
    };
    for (const auto& c : cases) {
        NonGeoLinkInputRecord r = Distinct();
        Set(r.fecRate, c.fec);
        NonGeoLinkInputRecord out;
        ASSERT_TRUE(Load(Build9000(9000, r, c.divisor), out)) << c.fec;
        EXPECT_EQ(FieldText(out.fecRate), c.expected) << c.fec << "/" << c.divisor;
        ASSERT_TRUE(Load(Build7001(7002, r, c.divisor), out)) << c.fec;
        EXPECT_EQ(FieldText(out.fecRate), c.expected) << c.fec << "/" << c.divisor;
    }
}

// The 7000 generation holds neither the longitude differences, the G/T
// reference (a copy of the receive G/T), the other losses, the beam-peak
// EIRP, the implementation loss, the modcod, dual fade, the LTWTA, the
// targets, the rates, the rain models' kinds, the units (C/I) nor the
// depolarization; its code rate is divided by the divisor text, as in 9000.
TEST_F(NonGeoDocuments, The7000Generation)
{
    const NonGeoLinkInputRecord r = Distinct();
    NonGeoLinkInputRecord want = r;
    Set(want.upLongitudeDiff, "0"), Set(want.dnLongitudeDiff, "0"), Set(want.gtRef, "1.5");
    Set(want.upOtherLosses, "0"), Set(want.dnOtherLosses, "0"), Set(want.implementationLoss, "0");
    Set(want.modcodText, "Manual"), Set(want.eirpBeamPeak, ""), Set(want.fecRate, "0.7500");
    // C/IM "20" becomes AUTO without the legacy message.
    Set(want.cim, "AUTO");
    for (ButtonState* on : {&want.targetEbNo, &want.infoRate, &want.upItuAuto, &want.dnItuAuto, &want.upCiUnits,
                            &want.dnCiUnits, &want.upDepolarization, &want.dnDepolarization, &want.xpiColocated})
        on->Set(1);
    for (ButtonState* off : {&want.dualFade, &want.ltwta, &want.targetEsNo, &want.symbolRate, &want.upCraneTc,
                             &want.dnItuRate, &want.upCsatIoUnits, &want.dnCsatIoUnits})
        off->Set(0);
    for (int v : {7001, 7002}) {
        SCOPED_TRACE(v);
        NonGeoLinkInputRecord out;
        ASSERT_TRUE(Load(Build7001(v, r), out));
        EXPECT_EQ(notice, 0);
        EXPECT_EQ(Differences(out, want), std::vector<std::string>{});
    }
}

}  // namespace
