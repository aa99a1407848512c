// Dialog transfer buffers at the byte level and the test driver.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <cstring>

#include "platform/dialog.h"
#include "tests/platform/qt_app.h"

namespace {

using platform::ControlKind;
using platform::ControlSpec;

std::vector<ControlSpec> TestControls()
{
    return {
        {ControlKind::Static, 100, "Name", 10, 10, 80, 20},
        {ControlKind::Edit, 101, "", 100, 10, 120, 20, 13},
        {ControlKind::CheckBox, 102, "Option", 10, 40, 100, 20},
        {ControlKind::Edit, 103, "", 100, 70, 120, 20, 41},
        {ControlKind::ListBox, 104, "", 10, 100, 100, 60},
        {ControlKind::RadioButton, 105, "Degrees", 10, 170, 100, 20, 0, true, true},
        {ControlKind::RadioButton, 106, "Radians", 120, 170, 100, 20},
        {ControlKind::Edit, 107, "", 100, 200, 120, 20, 5, false},  // takes no part
        {ControlKind::PushButton, platform::IDOK, "OK", 10, 230, 80, 25},
        {ControlKind::PushButton, platform::IDCANCEL, "Cancel", 100, 230, 80, 25},
    };
}

TEST(DialogTransfer, LayoutIsPackedInCreationOrder)
{
    const auto controls = TestControls();
    EXPECT_EQ(platform::TransferSize(controls), 13u + 2 + 41 + 2 + 2);
    EXPECT_EQ(platform::TransferOffset(controls, 101), 0);
    EXPECT_EQ(platform::TransferOffset(controls, 102), 13);  // a word at an odd offset
    EXPECT_EQ(platform::TransferOffset(controls, 103), 15);
    EXPECT_EQ(platform::TransferOffset(controls, 105), 56);
    EXPECT_EQ(platform::TransferOffset(controls, 106), 58);
    EXPECT_EQ(platform::TransferOffset(controls, 100), -1);
    EXPECT_EQ(platform::TransferOffset(controls, 104), -1);
    EXPECT_EQ(platform::TransferOffset(controls, 107), -1);
}

// The one walk of the layout: each field names its control-table entry,
// its kind, its offset and its size.
TEST(DialogTransfer, LayoutNamesEachFieldsEntry)
{
    struct Row {
        std::size_t index;
        int id;
        std::size_t offset, size;
        bool text;
    };
    const Row rows[] = {
        {1, 101, 0, 13, true}, {2, 102, 13, 2, false}, {3, 103, 15, 41, true}, {5, 105, 56, 2, false},
        {6, 106, 58, 2, false},
    };
    const auto layout = platform::TransferLayout(TestControls());
    ASSERT_EQ(layout.size(), std::size(rows));
    for (std::size_t i = 0; i < layout.size(); ++i) {
        EXPECT_EQ(layout[i].index, rows[i].index) << i;
        EXPECT_EQ(layout[i].id, rows[i].id) << i;
        EXPECT_EQ(layout[i].offset, rows[i].offset) << i;
        EXPECT_EQ(layout[i].size, rows[i].size) << i;
        EXPECT_EQ(layout[i].IsText(), rows[i].text) << i;
    }
}

TEST(DialogTransfer, GetWritesTheBytesSetReadsThemBack)
{
    platformtest::App();
    platform::Dialog d(nullptr, 800, "Test", TestControls());
    std::uint8_t buf[61];
    std::memset(buf, 0xEE, sizeof buf);
    d.SetTransferBuffer(buf, 60);
    d.SetControlText(101, "53.42N");
    d.SetCheck(102, 1);
    d.SetControlText(103, std::string("Caf\xE9 site", 9));  // Latin-1 stays one byte a character
    d.SetCheck(106, 1);
    d.TransferData(platform::TransferDirection::Get);
    std::uint8_t expected[61];
    std::memset(expected, 0, 60);
    expected[60] = 0xEE;  // never written past the buffer
    std::memcpy(expected, "53.42N", 6);
    expected[13] = 1;
    std::memcpy(expected + 15, "Caf\xE9 site", 9);
    expected[58] = 1;
    EXPECT_EQ(std::vector<std::uint8_t>(buf, buf + 61), std::vector<std::uint8_t>(expected, expected + 61));
    // The copy a form's checks read is the same bytes.
    EXPECT_EQ(d.ReadControls(), std::vector<std::uint8_t>(expected, expected + 60));

    // A text that fills its field without a terminator is cut at the last byte.
    std::memset(buf, 'X', 13);
    buf[56] = 1;
    buf[57] = 0;
    buf[58] = 0;
    platform::Dialog d2(nullptr, 800, "Test", TestControls());
    d2.SetTransferBuffer(buf, 60);
    d2.TransferData(platform::TransferDirection::Set);
    EXPECT_EQ(d2.GetControlText(101), std::string(12, 'X'));
    EXPECT_EQ(d2.GetControlText(103), "Caf\xE9 site");
    EXPECT_EQ(d2.GetCheck(102), 1);
    EXPECT_EQ(d2.GetCheck(105), 1);
    EXPECT_EQ(d2.GetCheck(106), 0);

    // A zero state turns the group's checked button off: no option set.
    buf[56] = 0;
    d2.TransferData(platform::TransferDirection::Set);
    EXPECT_EQ(d2.GetCheck(105), 0);
    EXPECT_EQ(d2.GetCheck(106), 0);
    d2.SetCheck(106, 1);
    EXPECT_EQ(d2.GetCheck(105), 0);  // still one group: checking one clears the other
    d2.SetCheck(105, 1);
    EXPECT_EQ(d2.GetCheck(106), 0);
}

// A text no record can hold never reads as another text: a copy read from
// the controls holds a token for it (never "??"), and the token put back
// into any control shows the text as typed; a one-character field cuts the
// token to its mark, which leaves its own text alone; a mark that stands for
// no text of the dialog shows as U+FFFD; a new text (Clear) replaces it.  A
// copy kept beyond the run holds such texts as typed, and shows them so in
// another dialog, where its tokens stand for nothing.
TEST(DialogTransfer, TextNoRecordHoldsMovesAsTypedThroughACopy)
{
    platformtest::App();
    std::vector<ControlSpec> controls = TestControls();
    controls.push_back({ControlKind::Edit, 108, "", 230, 10, 20, 20, 2});  // one character, at 60
    platform::Dialog d(nullptr, 800, "Test", controls);
    const auto text = [&d](int id) { return qobject_cast<QLineEdit*>(d.Control(id))->text(); };
    qobject_cast<QLineEdit*>(d.Control(103))->setText(QString::fromUtf8("東京 site"));
    qobject_cast<QLineEdit*>(d.Control(108))->setText(QString::fromUtf8("東"));
    EXPECT_EQ(d.UnstorableText(), 103);
    std::vector<std::uint8_t> copy = d.ReadControls();
    const std::string token = platform::transfer::GetText(copy, 15, 41);
    ASSERT_EQ(token.size(), 2u);
    EXPECT_EQ(token[0], '\x1A');
    platform::transfer::SetText(copy, 0, 13, token);
    d.WriteControls(copy);
    EXPECT_EQ(text(101), QString::fromUtf8("東京 site"));
    EXPECT_EQ(text(103), QString::fromUtf8("東京 site"));
    EXPECT_EQ(text(108), QString::fromUtf8("東"));

    d.SetCheck(102, 1);
    platform::Dialog later(nullptr, 800, "Test", controls);
    later.WriteTyping(d.ReadTyping());
    EXPECT_EQ(qobject_cast<QLineEdit*>(later.Control(103))->text(), QString::fromUtf8("東京 site"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(later.Control(108))->text(), QString::fromUtf8("東"));
    EXPECT_EQ(later.GetCheck(102), 1);

    platform::transfer::SetText(copy, 15, 41, "A\x1A\x1A");
    d.WriteControls(copy);
    EXPECT_EQ(text(103), QString::fromUtf8("A\uFFFD\uFFFD"));
    d.WriteControls(std::vector<std::uint8_t>(copy.size(), 0));
    EXPECT_EQ(text(103), "");
    EXPECT_EQ(d.UnstorableText(), 0);
}

// An edit holding a file's name shows it as the file system names it and
// takes at most its field's bytes, whole characters only.
TEST(DialogTransfer, FileNameEditCountsItsLimitInTheFileSystemsBytes)
{
    platformtest::App();
    ControlSpec file{ControlKind::Edit, 110, "", 10, 10, 200, 20, 9};
    file.fileName = true;
    platform::Dialog d(nullptr, 802, "Test", {file});
    auto* edit = qobject_cast<QLineEdit*>(d.Control(110));
    d.SetControlText(110, "/\xD0\xB0\xD0\xB1\xD0\xB2\xD0\xB3");  // "/абвг": 9 bytes for 8
    EXPECT_EQ(edit->text().toStdString(), "/абв");
    EXPECT_EQ(d.GetControlText(110), "/\xD0\xB0\xD0\xB1\xD0\xB2");
    QTest::keyClicks(edit, "x");  // the eighth byte
    QTest::keyClicks(edit, "x");  // a ninth
    EXPECT_EQ(edit->text().toStdString(), "/абвx");
    EXPECT_EQ(d.UnstorableText(), 0);

    // A name in bytes the file system's decoding does not give back (one
    // written by another system) keeps them while the edit is left alone,
    // however many more bytes it shows as, and becomes what the edit shows
    // once the user types in it, as far as that fits.
    d.SetControlText(110, "/a\xE9");
    EXPECT_EQ(edit->text(), QString::fromUtf8("/a\uFFFD"));
    EXPECT_EQ(d.GetControlText(110), "/a\xE9");
    QTest::keyClicks(edit, "b");
    EXPECT_EQ(d.GetControlText(110), "/a\xEF\xBF\xBD" "b");
    const std::string filled = "/\xE9\xE9\xE9\xE9\xE9\xE9\xE9";  // shown as 22 bytes
    d.SetControlText(110, filled);
    QTest::keyClicks(edit, "b");
    EXPECT_EQ(d.GetControlText(110), filled);
}

class CheckedDialog : public platform::Dialog {
public:
    CheckedDialog() : platform::Dialog(nullptr, 801, "Checked", TestControls()) {}
    bool CanClose() override
    {
        ++checks;
        return !GetControlText(101).empty();
    }
    int checks = 0;
};

TEST(DialogDriver, ScriptFillsControlsAndPressesButtons)
{
    platformtest::App();
    std::uint8_t buf[60] = {};
    std::memcpy(buf + 15, "kept", 4);
    int calls = 0;
    platform::SetDialogDriver(801, [&calls](platform::Dialog& d) {
        ++calls;
        EXPECT_EQ(d.GetControlText(103), "kept");  // set up from the buffer first
        if (calls == 2) d.SetControlText(101, "12.5");
        return platform::IDOK;
    });
    CheckedDialog d;
    d.SetTransferBuffer(buf, sizeof buf);
    EXPECT_EQ(d.Execute(), platform::IDOK);
    EXPECT_EQ(calls, 2);       // the first OK was refused, the dialog stayed
    EXPECT_EQ(d.checks, 2);
    EXPECT_STREQ(reinterpret_cast<char*>(buf), "12.5");

    // A script that never satisfies the check ends in Cancel, not a hang.
    platform::SetDialogDriver(801, [](platform::Dialog&) { return platform::IDOK; });
    CheckedDialog refused;
    EXPECT_EQ(refused.Execute(), platform::IDCANCEL);
    // Cancel leaves the buffer as it was.
    platform::SetDialogDriver(801, [](platform::Dialog& d) {
        d.SetControlText(101, "99");
        return platform::IDCANCEL;
    });
    CheckedDialog cancelled;
    cancelled.SetTransferBuffer(buf, sizeof buf);
    EXPECT_EQ(cancelled.Execute(), platform::IDCANCEL);
    EXPECT_STREQ(reinterpret_cast<char*>(buf), "12.5");
    platform::ClearDialogDrivers();

    // No script offscreen: cancelled at once.
    CheckedDialog unscripted;
    EXPECT_EQ(unscripted.Execute(), platform::IDCANCEL);
}

}  // namespace
