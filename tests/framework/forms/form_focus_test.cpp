// A field that fails its check takes the focus, on the page of a tabbed
// dialog that holds it, before its message shows; a closed form leaves no
// hint in the status bar.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStatusBar>
#include <QTabBar>
#include <optional>

#include "framework/forms/control_table.h"
#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "tests/framework/app/gui_support.h"

namespace {

enum : int { kTabs = 90, kLatitude = 101, kLongitude = 102, kFrequency = 201, kAvailability = 202, kRateGhz = 203 };

// Two pages under a tab bar, shown the way the budget dialogs show theirs:
// the other page's controls hidden.  The frequency and rate entries have
// headings above them rather than labels beside them.
class PagedForm : public TForm {
public:
    PagedForm() : TForm(nullptr, 4242, "Paged", Table())
    {
        auto* tabs = qobject_cast<QTabBar*>(Control(kTabs));
        tabs->addTab(QStringLiteral("Site"));
        tabs->addTab(QStringLiteral("Carrier"));
        QObject::connect(tabs, &QTabBar::currentChanged, this, [this](int page) { ShowPage(page); });
        ShowPage(0);
    }
    bool CanClose() override { return true; }
    int Page() const { return qobject_cast<QTabBar*>(Control(kTabs))->currentIndex(); }
    void SelectPage(int page) { qobject_cast<QTabBar*>(Control(kTabs))->setCurrentIndex(page); }

private:
    static std::vector<platform::ControlSpec> Table()
    {
        using namespace controls;
        return {
            Tabs(kTabs, 10, 10, 400, 28),
            Label("Site latitude", 10, 50, 120), Edit(kLatitude, 13, 140, 48, 100),
            Label("Site longitude", 10, 80, 120), Edit(kLongitude, 13, 140, 78, 100),
            Label("Frequency", 10, 50, 120), Edit(kFrequency, 13, 10, 72, 100),
            Label("Availability %", 140, 50, 120), Edit(kAvailability, 13, 140, 72, 100),
            Label("Rate GHz", 270, 50, 120), Edit(kRateGhz, 13, 270, 72, 100),
            Button(platform::IDOK, "OK", 10, 120),
        };
    }
    void ShowPage(int page)
    {
        const auto& specs = Controls();
        for (std::size_t i = 1; i + 1 < specs.size(); ++i) ControlAt(i)->setVisible((i <= 4) == (page == 0));
    }
};

struct FocusCase {
    const char* what;
    int startPage;
    std::vector<std::pair<int, const char*>> texts;  // entries filled before the check
    const char* label;
    const char* checked;
    FieldType type;
    int expectedFocus;   // 0: the focus stays where it was
    int expectedPage;
    int viewedFrom = 0;  // the entry whose field of a checked record the text is viewed from
};

class FailingField : public ::testing::TestWithParam<FocusCase> {};

TEST_P(FailingField, TakesTheFocusOnItsPage)
{
    testsupport::App();
    testsupport::MessageRecorder boxes;
    const FocusCase& c = GetParam();
    PagedForm form;
    for (const auto& [id, text] : c.texts) form.SetControlText(id, text);
    form.SelectPage(c.startPage);
    QWidget* before = form.focusWidget();
    bool focusedWhenShown = false;
    platform::SetMessageBoxSink([&](const platform::MessageBoxCall&) {
        focusedWhenShown = c.expectedFocus != 0 && form.focusWidget() == form.Control(c.expectedFocus);
        return platform::IDOK;
    });
    std::vector<std::uint8_t> record = form.ReadControls();
    std::string_view checked = c.checked;
    std::optional<TForm::CheckedRecord> scope;
    if (c.viewedFrom != 0) {
        checked = {reinterpret_cast<const char*>(record.data()) +
                       platform::TransferOffset(form.Controls(), c.viewedFrom),
                   checked.size()};
        scope.emplace(form, record);
    }
    EXPECT_FALSE(form.CheckField(c.label, checked, c.type, 0, 90, ""));
    EXPECT_EQ(form.Page(), c.expectedPage);
    if (c.expectedFocus == 0) {
        EXPECT_EQ(form.focusWidget(), before);
        return;
    }
    EXPECT_EQ(form.focusWidget(), form.Control(c.expectedFocus));
    EXPECT_TRUE(focusedWhenShown) << "the field is shown before its message";
    auto* edit = qobject_cast<QLineEdit*>(form.Control(c.expectedFocus));
    EXPECT_EQ(edit->selectedText().toStdString(), c.checked);
}

INSTANTIATE_TEST_SUITE_P(
    Form, FailingField,
    ::testing::Values(
        FocusCase{"the one entry holding the text, on the other page", 0, {{kFrequency, "12a"}}, "Frequency", "12a",
                  FieldType::Real, kFrequency, 1},
        FocusCase{"two entries hold 0: the label beside decides", 1, {{kLatitude, "0"}, {kLongitude, "0"}},
                  "Site longitude (up)", "0", FieldType::Longitude, kLongitude, 0},
        FocusCase{"several empty entries: the heading above decides", 0, {}, "Availability", "", FieldType::Real,
                  kAvailability, 1},
        FocusCase{"the label names no entry's label: the focus stays", 0, {{kLatitude, "0"}, {kLongitude, "0"}},
                  "Range", "0", FieldType::Latitude, 0, 0},
        FocusCase{"two labels match as well: the focus stays", 0, {{kLatitude, "7"}, {kLongitude, "7"}}, "Site",
                  "7", FieldType::Latitude, 0, 0},
        FocusCase{"the same, checked from a record: its field decides", 0, {{kLatitude, "7"}, {kLongitude, "7"}},
                  "Site", "7", FieldType::Latitude, kLongitude, 0, kLongitude},
        FocusCase{"an empty entry no label names, checked from a record", 0, {}, "Range", "", FieldType::Real,
                  kRateGhz, 1, kRateGhz}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(FailingField, SilentFormKeepsItsPage)
{
    testsupport::App();
    testsupport::MessageRecorder boxes;
    PagedForm form;
    form.SetSilent(true);
    form.SetControlText(kFrequency, "12a");
    EXPECT_FALSE(form.CheckField("Frequency", "12a", FieldType::Real, 0, 90, ""));
    EXPECT_EQ(form.Page(), 0);
    EXPECT_TRUE(boxes.calls.empty());
}

TEST(FormHint, ClosedFormLeavesNoHint)
{
    testsupport::AppFixture f;
    for (const int button : {platform::IDOK, platform::IDCANCEL}) {
        PagedForm form;
        platform::SetDialogDriver(4242, [&](platform::Dialog&) {
            ShowStatusHint(f.app.get(), "Frequency (1 to 100 GHz)");
            return button;
        });
        form.Execute();
        EXPECT_EQ(f.app->Frame()->StatusText(), "") << button;
        EXPECT_STREQ(f.app->HintText, "") << button;
    }
    platform::ClearDialogDrivers();
}

}  // namespace
