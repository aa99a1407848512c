// Fixed-width record fields: texts cut and zero-filled as an edit's transfer
// leaves them, read only up to their last byte, and button states as
// little-endian words at any offset.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/forms/record_fields.h"
#include "framework/forms/scratch_record.h"

namespace {

TEST(RecordFields, PutTextCutsAndZeroFills)
{
    struct Case {
        const char* text;
        std::string bytes;  // all 6 bytes of the field afterwards
    };
    const Case cases[] = {
        {"AUTO", std::string("AUTO\0\0", 6)},
        {"12345", std::string("12345\0", 6)},
        {"1234567", std::string("12345\0", 6)},
        {"", std::string(6, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        char field[6];
        std::memset(field, 'z', sizeof field);
        PutText(field, c.text);
        EXPECT_EQ(std::string(field, sizeof field), c.bytes);
    }
}

TEST(RecordFields, ReadersStopAtTheLastByte)
{
    char full[4] = {'a', 'b', 'c', 'd'};  // no terminator, as a damaged file leaves it
    EXPECT_EQ(FieldView(full), "abc");
    EXPECT_EQ(FieldText(full), "abc");
    char shortText[4] = {'x', '\0', 'y', 'z'};
    EXPECT_EQ(FieldView(shortText), "x");
    TerminateText(full);
    EXPECT_EQ(full[3], '\0');

    char a[3] = {'u', 'p', '\0'}, b[3] = {'d', 'n', '\0'};
    SwapText(a, b);
    EXPECT_STREQ(a, "dn");
    EXPECT_STREQ(b, "up");
}

TEST(RecordFields, ButtonStatesAreLittleEndianAtOddOffsets)
{
#pragma pack(push, 1)
    struct Record {
        char text[3];
        ButtonState state;
    } r{};
#pragma pack(pop)
    static_assert(offsetof(Record, state) == 3);
    r.state.Set(0x0201);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    EXPECT_EQ(bytes[3], 0x01);
    EXPECT_EQ(bytes[4], 0x02);
    EXPECT_EQ(r.state.Value(), 0x0201);
    EXPECT_TRUE(r.state.On());
    r.state.Set(0);
    EXPECT_FALSE(r.state.On());
}

// Transfer layout of the table below: edit A (5 bytes) at 0, check box at 5,
// edit B (4 bytes) at 7; the static and the push button transfer nothing.
TEST(ScratchRecord, ClearsTextTailsOverAControlTable)
{
    using platform::ControlKind;
    std::vector<platform::ControlSpec> controls(5);
    controls[0].kind = ControlKind::Static;
    controls[1].kind = ControlKind::Edit, controls[1].id = 10, controls[1].textLimit = 5;
    controls[2].kind = ControlKind::CheckBox, controls[2].id = 11;
    controls[3].kind = ControlKind::Edit, controls[3].id = 12, controls[3].textLimit = 4;
    controls[4].kind = ControlKind::PushButton, controls[4].id = 13;

    struct Case { const char* name; std::string before, after; };
    const Case cases[] = {
        {"tails after the terminators", std::string("ab\0xy\x07\x09q\0zz", 11), std::string("ab\0\0\0\x07\x09q\0\0\0", 11)},
        {"full texts and states untouched", std::string("abcde\x00\x00wxyz", 11), std::string("abcde\x00\x00wxyz", 11)},
        {"record shorter than the table", std::string("a\0b\0c\0\0q\0z", 10), std::string("a\0\0\0\0\0\0q\0\0", 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = c.before;
        ClearTextTails(std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()), controls);
        EXPECT_EQ(bytes, c.after);
    }
}

}  // namespace
