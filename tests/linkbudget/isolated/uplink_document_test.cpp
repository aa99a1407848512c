// The isolated uplink record's layout and the "*.rup" document byte by byte
// in every version it reads.
#include "linkbudget/isolated/uplink_document.h"

#include "tests/linkbudget/engine/budget_fixtures.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

TEST(UplinkInputRecord, FieldOffsets)
{
    struct { std::size_t offset, want; } fields[] = {
        {offsetof(UplinkInputRecord, latitude), 41}, {offsetof(UplinkInputRecord, polarization), 93},
        {offsetof(UplinkInputRecord, hpaPower), 251}, {offsetof(UplinkInputRecord, ituAuto), 264},
        {offsetof(UplinkInputRecord, rainRate), 274}, {offsetof(UplinkInputRecord, xpiColocated), 289},
        {offsetof(UplinkInputRecord, satName), 291}, {offsetof(UplinkInputRecord, geo), 451},
        {offsetof(UplinkInputRecord, requiredTarget), 455},
        {offsetof(UplinkInputRecord, implementationLoss), 559},
        {offsetof(UplinkInputRecord, oneBitPerSymbol), 585},
        {offsetof(UplinkInputRecord, modulationOrder), 591},
        {offsetof(UplinkInputRecord, targetEbNo), 604}, {offsetof(UplinkInputRecord, infoRate), 608},
        {offsetof(UplinkInputRecord, modcodText), 612}, {offsetof(UplinkInputRecord, csatIoUnits), 693},
        {offsetof(UplinkInputRecord, ciUnits), 695},
    };
    for (const auto& f : fields) EXPECT_EQ(f.offset, f.want);

    UplinkInputRecord r;
    SetUplinkRecordDefaults(r);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(&r);
    EXPECT_STREQ(reinterpret_cast<const char*>(b + 67), "AUTO");
    EXPECT_EQ(b[264], 1);
    EXPECT_EQ(b[287], 1);
    EXPECT_EQ(b[289], 1);
    EXPECT_EQ(b[451], 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(b + 507), "0");
    EXPECT_STREQ(reinterpret_cast<const char*>(b + 559), "0");
    EXPECT_EQ(b[587], 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(b + 591), "4");
    EXPECT_EQ(b[604], 1);
    EXPECT_EQ(b[608], 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(b + 612), "Manual");
    EXPECT_EQ(b[693], 1);
    EXPECT_EQ(b[695], 0);
}

TEST(UplinkDocument, CurrentVersionBytes)
{
    UplinkInputRecord r;
    HandRecord(r);
    const std::vector<unsigned char> bytes = EncodeUplinkDocument(r);
    ASSERT_EQ(bytes.size(), 699u);
    EXPECT_EQ(bytes[0], 0x62);  // 7010 = 0x1B62
    EXPECT_EQ(bytes[1], 0x1B);
    EXPECT_EQ(std::memcmp(bytes.data() + 2, &r, 697), 0);

    UplinkInputRecord back;
    ASSERT_TRUE(DecodeUplinkDocument(bytes.data(), bytes.size(), back));
    EXPECT_EQ(std::memcmp(&back, &r, 697), 0);
}

// An older document: the current record with the fields its version lacks
// cut out, each field filled with a marker so that a shift shows.
std::vector<unsigned char> OldDocument(std::uint16_t version, const UplinkInputRecord& r)
{
    struct Absent { std::size_t offset, size; std::uint16_t from; };
    const Absent absent[] = {{266, 4, 7006}, {270, 2, 7008}, {287, 2, 7009}, {289, 2, 7010},
                             {559, 13, 7007}, {608, 85, 7007}, {693, 4, 7008}};
    const unsigned char* b = reinterpret_cast<const unsigned char*>(&r);
    std::vector<unsigned char> out = {static_cast<unsigned char>(version & 0xFF),
                                      static_cast<unsigned char>(version >> 8)};
    for (std::size_t i = 0; i < 697; ++i) {
        bool skip = false;
        for (const Absent& a : absent)
            if (version < a.from && i >= a.offset && i < a.offset + a.size) skip = true;
        if (!skip) out.push_back(b[i]);
    }
    return out;
}

TEST(UplinkDocument, EveryVersionRead)
{
    UplinkInputRecord r;
    HandRecord(r);
    SetText(r.systemMargin, "1.5");
    SetText(r.serviceName, "Service");
    r.craneUsa.Set(1);
    r.clearSky.Set(1);
    r.depolarization.Set(0);
    r.xpiColocated.Set(0);
    SetText(r.implementationLoss, "0.7");
    r.infoRate.Set(0);
    r.symbolRate.Set(1);
    SetText(r.modcodText, "QPSK 3/4");
    r.csatIoUnits.Set(0);
    r.ciUnits.Set(1);

    struct Version { std::uint16_t version; std::size_t recordSize; } versions[] = {
        {7005, 585}, {7006, 589}, {7007, 687}, {7008, 693}, {7009, 695}, {7010, 697}};
    for (const Version& v : versions) {
        SCOPED_TRACE(v.version);
        const std::vector<unsigned char> file = OldDocument(v.version, r);
        ASSERT_EQ(file.size(), 2 + v.recordSize);
        UplinkInputRecord got;
        ASSERT_TRUE(DecodeUplinkDocument(file.data(), file.size(), got));
        EXPECT_STREQ(got.serviceName, "Service");
        EXPECT_STREQ(got.systemMargin, "1.5");
        EXPECT_STREQ(got.rollOff, "1.35");
        EXPECT_EQ(got.craneUsa.On(), v.version >= 7006);
        EXPECT_EQ(got.clearSky.On(), v.version >= 7008);
        EXPECT_EQ(got.depolarization.On(), v.version < 7009);
        EXPECT_EQ(got.xpiColocated.On(), v.version < 7010);
        EXPECT_STREQ(got.implementationLoss, v.version >= 7007 ? "0.7" : "0");
        EXPECT_STREQ(got.modcodText, v.version >= 7007 ? "QPSK 3/4" : "Manual");
        EXPECT_EQ(got.infoRate.On(), v.version < 7007);
        EXPECT_EQ(got.ciUnits.On(), v.version >= 7008);
        EXPECT_EQ(got.csatIoUnits.On(), v.version < 7008);

        // One byte short of its version is refused.
        UplinkInputRecord shortRead;
        EXPECT_FALSE(DecodeUplinkDocument(file.data(), file.size() - 1, shortRead));
    }
}

TEST(UplinkDocument, RefusedFiles)
{
    std::vector<unsigned char> file(699, 0);
    UplinkInputRecord r;
    for (std::uint16_t version : {7004, 7011, 0, 8010}) {
        file[0] = static_cast<unsigned char>(version & 0xFF);
        file[1] = static_cast<unsigned char>(version >> 8);
        EXPECT_FALSE(DecodeUplinkDocument(file.data(), file.size(), r)) << version;
    }
    EXPECT_FALSE(DecodeUplinkDocument(file.data(), 1, r));
    EXPECT_FALSE(DecodeUplinkDocument(file.data(), 0, r));

    // Texts without a terminator are cut at their field's end, never run on.
    std::memset(file.data(), 'A', file.size());
    file[0] = 0x62;
    file[1] = 0x1B;
    ASSERT_TRUE(DecodeUplinkDocument(file.data(), file.size(), r));
    EXPECT_EQ(std::strlen(r.siteName), 40u);
    EXPECT_EQ(std::strlen(r.modcodText), 80u);
}

}  // namespace
