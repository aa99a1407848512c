// Byte layout, defaults and text safety of the GEO budget input record.
#include "linkbudget/geo/geo_record.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

#define FIELD(name) #name, offsetof(GeoLinkInputRecord, name), sizeof(GeoLinkInputRecord::name)

struct FieldRow {
    const char* name;
    std::size_t offset, size;
    std::size_t wantOffset, wantSize;
    bool isText() const
    {
        return wantSize == 41 || wantSize == 13 || wantSize == 52 || wantSize == 81 ||
               std::strstr(name, "Polarization") != nullptr;
    }
};

// Offsets and sizes of the stored "*.glb" record, as documents hold them.
const FieldRow kFields[] = {
    {FIELD(upSiteName), 0, 41},          {FIELD(upLatitude), 41, 13},
    {FIELD(upLongitude), 54, 13},        {FIELD(upAltitude), 67, 13},
    {FIELD(upFrequency), 80, 13},        {FIELD(upPolarization), 93, 2},
    {FIELD(upAvailability), 95, 13},     {FIELD(upDiameter), 108, 13},
    {FIELD(upEfficiency), 121, 13},      {FIELD(upCouplingLoss), 134, 13},
    {FIELD(upMispointing), 147, 13},     {FIELD(upOtherLosses), 160, 13},
    {FIELD(upCsatAci), 173, 13},         {FIELD(upCsatXpi), 186, 13},
    {FIELD(hpaObo), 199, 13},            {FIELD(carriersPerHpa), 212, 13},
    {FIELD(hpaCim), 225, 13},            {FIELD(upc), 238, 13},
    {FIELD(hpaPower), 251, 13},          {FIELD(upAsiDensity), 264, 52},
    {FIELD(upAsiLongitude), 316, 52},    {FIELD(upAsiInclude), 368, 6},
    {FIELD(upAsiKnownTotal), 374, 2},    {FIELD(upCsatAsi), 376, 13},
    {FIELD(dnSiteName), 389, 41},        {FIELD(dnLatitude), 430, 13},
    {FIELD(dnLongitude), 443, 13},       {FIELD(dnAltitude), 456, 13},
    {FIELD(dnFrequency), 469, 13},       {FIELD(dnPolarization), 482, 2},
    {FIELD(dnAvailability), 484, 13},    {FIELD(dnDiameter), 497, 13},
    {FIELD(dnEfficiency), 510, 13},      {FIELD(dnCouplingLoss), 523, 13},
    {FIELD(dnMispointing), 536, 13},     {FIELD(dnOtherLosses), 549, 13},
    {FIELD(lnbNoise), 562, 13},          {FIELD(antennaNoise), 575, 13},
    {FIELD(dnCsatAci), 588, 13},         {FIELD(dnCsatXpi), 601, 13},
    {FIELD(dnAsiDensity), 614, 52},      {FIELD(dnAsiLongitude), 666, 52},
    {FIELD(dnAsiInclude), 718, 6},       {FIELD(dnAsiKnownTotal), 724, 2},
    {FIELD(dnCsatAsi), 726, 13},         {FIELD(dualFade), 739, 2},
    {FIELD(upItuAuto), 741, 2},          {FIELD(upCraneTc), 743, 2},
    {FIELD(upCraneUsa), 745, 2},         {FIELD(upClearSky), 747, 2},
    {FIELD(upItuRate), 749, 2},          {FIELD(upRainRate), 751, 13},
    {FIELD(upDepolarization), 764, 2},   {FIELD(xpiColocated), 766, 2},
    {FIELD(dnItuAuto), 768, 2},          {FIELD(dnCraneTc), 770, 2},
    {FIELD(dnCraneUsa), 772, 2},         {FIELD(dnClearSky), 774, 2},
    {FIELD(dnItuRate), 776, 2},          {FIELD(dnRainRate), 778, 13},
    {FIELD(dnDepolarization), 791, 2},   {FIELD(satName), 793, 41},
    {FIELD(satLongitude), 834, 13},      {FIELD(gtRef), 847, 13},
    {FIELD(sfdRef), 860, 13},            {FIELD(gtReceive), 873, 13},
    {FIELD(fca), 886, 13},               {FIELD(alc), 899, 13},
    {FIELD(eirpSaturation), 912, 13},    {FIELD(eirpBeamPeak), 925, 13},
    {FIELD(transponderBandwidth), 938, 13}, {FIELD(transponderIbo), 951, 13},
    {FIELD(transponderObo), 964, 13},    {FIELD(cim), 977, 13},
    {FIELD(carriersPerTransponder), 990, 13}, {FIELD(serviceName), 1003, 41},
    {FIELD(coverage), 1044, 41},         {FIELD(requiredTarget), 1085, 13},
    {FIELD(rate), 1098, 13},             {FIELD(overhead), 1111, 13},
    {FIELD(fecRate), 1124, 13},          {FIELD(spreadingGain), 1137, 13},
    {FIELD(rollOff), 1150, 13},          {FIELD(carrierSpacing), 1163, 13},
    {FIELD(allocationStep), 1176, 13},   {FIELD(implementationLoss), 1189, 13},
    {FIELD(systemMargin), 1202, 13},     {FIELD(oneBitPerSymbol), 1215, 2},
    {FIELD(mapsk), 1217, 2},             {FIELD(mqam), 1219, 2},
    {FIELD(modulationOrder), 1221, 13},  {FIELD(twta), 1234, 2},
    {FIELD(ltwta), 1236, 2},             {FIELD(sspa), 1238, 2},
    {FIELD(targetEbNo), 1240, 2},        {FIELD(targetEsNo), 1242, 2},
    {FIELD(infoRate), 1244, 2},          {FIELD(symbolRate), 1246, 2},
    {FIELD(modcodText), 1248, 81},       {FIELD(upCsatIoUnits), 1329, 2},
    {FIELD(upCiUnits), 1331, 2},         {FIELD(dnCsatIoUnits), 1333, 2},
    {FIELD(dnCiUnits), 1335, 2},
};

static_assert(offsetof(GeoLinkInputRecord, dnCiUnits) + 2 == 1337);

TEST(GeoLinkRecord, EveryFieldAtItsOffset)
{
    EXPECT_EQ(sizeof(GeoLinkInputRecord), 1337u);
    std::size_t next = 0;
    for (const FieldRow& f : kFields) {
        EXPECT_EQ(f.offset, f.wantOffset) << f.name;
        EXPECT_EQ(f.size, f.wantSize) << f.name;
        EXPECT_EQ(f.wantOffset, next) << f.name << " does not follow its predecessor";
        next = f.wantOffset + f.wantSize;
    }
    EXPECT_EQ(next, 1337u);
}

// The bytes a new budget starts with, checked at their offsets in the buffer.
TEST(GeoLinkRecord, DefaultsAtTheByteLevel)
{
    GeoLinkInputRecord r;
    std::memset(&r, 0xAB, sizeof r);
    SetGeoLinkRecordDefaults(r);
    const auto* b = reinterpret_cast<const unsigned char*>(&r);
    const struct { std::size_t offset; const char* text; } texts[] = {
        {251, "MIN"}, {67, "AUTO"}, {212, "1"}, {456, "AUTO"}, {484, "AUTO"}, {575, "AUTO"},
        {964, "AUTO"}, {977, "AUTO"}, {990, "AUTO"}, {1137, "0"}, {1189, "0"}, {1221, "4"},
        {1248, "Manual"},
    };
    for (const auto& t : texts)
        EXPECT_STREQ(reinterpret_cast<const char*>(b + t.offset), t.text) << t.offset;
    const std::size_t statesOn[] = {741, 764, 766, 768, 791, 1217, 1236, 1240, 1244, 1329, 1333};
    for (std::size_t o : statesOn) {
        EXPECT_EQ(b[o], 1) << o;
        EXPECT_EQ(b[o + 1], 0) << o;
    }
    const std::size_t statesOff[] = {368, 370, 372, 374, 718, 724, 739, 743, 745, 747, 749, 770,
                                     772, 774, 776, 1215, 1219, 1234, 1238, 1242, 1246, 1331,
                                     1335};
    for (std::size_t o : statesOff) EXPECT_EQ(b[o] | b[o + 1], 0) << o;
    // Fields without a default are empty.
    for (std::size_t o : {0u, 41u, 80u, 93u, 95u, 793u, 1085u, 1124u}) EXPECT_EQ(b[o], 0) << o;
}

TEST(GeoLinkRecord, DamagedTextsAreTerminatedInTheirLastByte)
{
    GeoLinkInputRecord r;
    std::memset(&r, 'x', sizeof r);
    TerminateGeoLinkTexts(r);
    const auto* b = reinterpret_cast<const char*>(&r);
    for (const FieldRow& f : kFields) {
        if (!f.isText()) continue;
        const std::size_t unit = f.wantSize == 52 ? 13 : f.wantSize;
        for (std::size_t o = f.wantOffset; o < f.wantOffset + f.wantSize; o += unit)
            EXPECT_EQ(b[o + unit - 1], '\0') << f.name;
    }
}

TEST(GeoLinkRecord, ButtonStatesAreLittleEndianAndUnaligned)
{
    GeoLinkInputRecord r{};
    r.upAsiKnownTotal.Set(0x0102);
    const auto* b = reinterpret_cast<const unsigned char*>(&r);
    EXPECT_EQ(b[374], 0x02);
    EXPECT_EQ(b[375], 0x01);
    r.dualFade.Set(1);  // at an odd offset
    EXPECT_EQ(b[739], 1);
    EXPECT_TRUE(r.dualFade.On());
}

}  // namespace
