// The input-dialog base: its close check, the member field checks with their
// boxes and the silent flag, and the transfer layout of a form's controls.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "framework/forms/form.h"
#include "tests/framework/app/gui_support.h"

using platform::ControlKind;
using platform::ControlSpec;

namespace {

ControlSpec MakeControl(ControlKind kind, int id, int limit = 0, bool groupStart = false, bool transfer = true)
{
    ControlSpec c;
    c.kind = kind;
    c.id = id;
    c.textLimit = limit;
    c.groupStart = groupStart;
    c.transfer = transfer;
    c.text = "x";
    return c;
}

// A dialog of every kind of control, the transferring ones among others that
// take no part.
std::vector<ControlSpec> MixedTable()
{
    using K = ControlKind;
    return {
        MakeControl(K::Static, 0),
        MakeControl(K::Edit, 10, 5),
        MakeControl(K::CheckBox, 11),
        MakeControl(K::GroupBox, 0),
        MakeControl(K::RadioButton, 12, 0, true),
        MakeControl(K::RadioButton, 13),
        MakeControl(K::ListBox, 14),
        MakeControl(K::Edit, 15, 3),
        MakeControl(K::Edit, 16, 20, false, false),  // a result field: shown, never transferred
        MakeControl(K::ComboBox, 17),
        MakeControl(K::CheckBox, 18),
        MakeControl(K::PushButton, platform::IDOK),
        MakeControl(K::PushButton, platform::IDCANCEL),
    };
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> v;
    for (int b : values) v.push_back(std::uint8_t(b));
    return v;
}

class FormTest : public ::testing::Test {
protected:
    ~FormTest() override { platform::ClearDialogDrivers(); }
    testsupport::AppFixture f;
};

TEST_F(FormTest, MixedControlTableTransfersPackedInCreationOrder)
{
    TForm form(nullptr, 4000, "Test", MixedTable());
    const auto& table = form.Controls();
    EXPECT_EQ(platform::TransferSize(table), 16u);  // 5 + 2 + 2 + 2 + 3 + 2
    const std::pair<int, long> offsets[] = {{10, 0}, {11, 5}, {12, 7}, {13, 9}, {15, 11}, {18, 14},
                                            {14, -1}, {16, -1}, {17, -1}, {platform::IDOK, -1}};
    for (const auto& [id, off] : offsets) EXPECT_EQ(platform::TransferOffset(table, id), off) << id;

    form.SetControlText(10, "\xB0" "abcdefg");  // cut to the limit less the terminator; Latin-1 kept
    form.SetCheck(11, 1);
    form.SetCheck(12, 1);
    form.SetCheck(13, 1);  // the group is exclusive: 12 goes off
    form.SetControlText(15, "xy");
    form.SetControlText(16, "not transferred");
    form.SetCheck(18, 0);

    std::vector<std::uint8_t> buffer(16, 0xCC);
    form.SetTransferBuffer(buffer.data(), buffer.size());
    form.TransferData(platform::TransferDirection::Get);
    const auto expected = Bytes({0xB0, 'a', 'b', 'c', 0, 1, 0, 0, 0, 1, 0, 'x', 'y', 0, 0, 0});
    EXPECT_EQ(buffer, expected);
    // The form's own reading of its controls gives the same bytes.
    EXPECT_EQ(form.ReadControls(), expected);

    // And back: words at odd offsets, a text that fills its field.
    const auto values = Bytes({'w', 'x', 'y', 'z', 'q', 0, 0, 1, 0, 0, 0, 'a', 'b', 'c', 1, 0});
    form.WriteControls(values);
    EXPECT_EQ(form.GetControlText(10), "wxyz");  // terminated at its last byte
    EXPECT_EQ(form.GetCheck(11), 0);
    EXPECT_EQ(form.GetCheck(12), 1);
    EXPECT_EQ(form.GetCheck(13), 0);
    EXPECT_EQ(form.GetControlText(15), "ab");
    EXPECT_EQ(form.GetCheck(18), 1);
}

TEST_F(FormTest, BaseCloseCheckRefusesOk)
{
    auto table = MixedTable();
    TForm form(nullptr, 4001, "Test", table);
    int calls = 0;
    platform::SetDialogDriver(4001, [&calls](platform::Dialog&) { return ++calls == 1 ? platform::IDOK : 0; });
    std::vector<std::uint8_t> buffer(16, 0);
    form.SetTransferBuffer(buffer.data(), buffer.size());
    EXPECT_EQ(form.Execute(), platform::IDCANCEL);
    EXPECT_FALSE(form.Closed());
    EXPECT_TRUE(f.messages.calls.empty());
}

struct CheckCase {
    const char* name;
    std::function<bool(TForm&)> check;
    std::vector<const char*> captions;  // the boxes, in order; none when it passes
    bool passes;
};

TEST_F(FormTest, MemberChecksShowTheirBoxesUnlessSilent)
{
    const std::vector<CheckCase> cases = {
        {"range", [](TForm& t) { return t.CheckField("Site latitude", "95N", FieldType::Latitude, 0, 90, "\xB0N,\xB0S"); },
         {"Range Error"}, false},
        {"good latitude", [](TForm& t) { return t.CheckField("Site latitude", "53.42N", FieldType::Latitude, 0, 90, ""); },
         {}, true},
        {"date", [](TForm& t) { return t.CheckDate(29, 2, 1900); }, {"Date Input Error"}, false},
        {"M=6 QAM", [](TForm& t) { return t.CheckMary("6", false, true); }, {"Modulation", "Value of M (QAM)"}, false},
        {"gain", [](TForm& t) { return t.CheckAntennaGain("1.2", "43.58", "12", 2); }, {"Antenna gain (down)"}, false},
        {"bad fraction", [](TForm& t) { return t.CheckFraction("5/4", 0, 1, "FEC rate"); }, {"Input Error"}, false},
        {"spacing", [](TForm& t) { return t.CheckSatelliteSpacing("10.0E", "13.0E", "10.0E", "", "", 1, 0, 0); },
         {"Satellite Longitude Error"}, false},
        {"carrier", [](TForm& t) { return t.CheckCarrierSpacing("1.35", "1.2"); }, {"Input Error"}, false},
    };
    for (const CheckCase& c : cases) {
        for (bool silent : {false, true}) {
            f.messages.calls.clear();
            TForm form(nullptr, 4002, "Test", MixedTable());
            form.SetSilent(silent);
            EXPECT_EQ(c.check(form), c.passes) << c.name;
            const std::size_t boxes = silent ? 0 : c.captions.size();
            ASSERT_EQ(f.messages.calls.size(), boxes) << c.name << (silent ? " silent" : "");
            for (std::size_t k = 0; k < boxes; ++k) {
                EXPECT_EQ(f.messages.calls[k].caption, c.captions[k]) << c.name;
                EXPECT_EQ(f.messages.calls[k].Icon(), platform::MB_ICONEXCLAMATION) << c.name;
                EXPECT_TRUE(f.messages.calls[k].hasOwner) << c.name;
            }
        }
    }
}

TEST_F(FormTest, FailedCheckKeepsItsTextInTheMessageBuffer)
{
    TForm form(nullptr, 4003, "Test", MixedTable());
    EXPECT_FALSE(form.Silent());
    form.SetSilent(true);
    EXPECT_FALSE(form.CheckField("Site latitude", "95N", FieldType::Latitude, 0, 90, "\xB0N,\xB0S"));
    EXPECT_STREQ(form.MessageBuffer, "Site latitude\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S");
    EXPECT_TRUE(f.messages.calls.empty());

    // A text longer than the buffer is cut, not overrun.
    const std::string label(3000, 'L');
    EXPECT_FALSE(form.CheckField(label, "", FieldType::Real, 0, 1, ""));
    EXPECT_EQ(std::string(form.MessageBuffer), std::string(TForm::kMessageBufferSize - 1, 'L'));
}

struct TransferCase {
    std::size_t offset, size;
    const char* text;
    const char* expectedRead;
    bool inside;  // the field lies within the record
};

TEST(TransferFields, TextsAndWordsStayInsideTheirRecord)
{
    std::array<std::uint8_t, 8> record{};
    const TransferCase cases[] = {
        {0, 4, "ab", "ab", true},
        {0, 4, "abcdef", "abc", true},  // three characters and the terminator
        {4, 4, "wxyz", "wxy", true},
        {6, 4, "zz", "", false},        // reaches past the record: neither written nor read
        {8, 1, "a", "", false},
        {0, 0, "a", "", false},
    };
    for (const TransferCase& c : cases) {
        record.fill(0xEE);
        transfer::SetText(record, c.offset, c.size, c.text);
        EXPECT_EQ(transfer::GetText(record, c.offset, c.size), c.expectedRead) << c.offset << "/" << c.size;
        if (!c.inside) {
            for (std::uint8_t b : record) EXPECT_EQ(b, 0xEE);
        }
    }
    // A field with no terminator reads up to its last byte.
    record.fill('Q');
    EXPECT_EQ(transfer::GetText(record, 2, 5), "QQQQ");

    record.fill(0);
    transfer::SetWord(record, 3, 0x1234);
    EXPECT_EQ(record[3], 0x34);
    EXPECT_EQ(record[4], 0x12);
    EXPECT_EQ(transfer::GetWord(record, 3), 0x1234);
    transfer::SetWord(record, 7, 0xFFFF);  // one byte short of a word
    EXPECT_EQ(record[7], 0);
    EXPECT_EQ(transfer::GetWord(record, 7), 0);
}

}  // namespace
