// The progress dialog: percentage, texts, the disabled parent and Cancel.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMainWindow>
#include <cmath>
#include <limits>

#include "framework/output/progress.h"
#include "tests/framework/app/gui_support.h"

namespace {

TEST(ProgressPercent, FactorOfOneHundredAndAHalf)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double value, start, end;
        int percent;
    } cases[] = {
        {0, 0, 9, 0},
        {4, 0, 9, 44},     // 4 x 100.5 / 9 = 44.67
        {8, 0, 9, 89},     // 89.33
        {9, 0, 9, 100},    // 100.5 capped
        {12, 0, 9, 100},   // beyond the end
        {1, 0, 199, 0},    // 0.505
        {198, 0, 199, 99}, // 99.99
        {199, 0, 199, 100},
        {15, 10, 20, 50},  // 50.25 from a start above 0
        {0, 0, 0, 100},    // a one-item batch: end = start
        {3, 5, 2, 100},    // end below the start
        {-1, 0, 9, 0},     // below the start
        {nan, 0, 9, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(orbiscope::ProgressPercent(c.value, c.start, c.end), c.percent) << c.value << " of " << c.start << ".." << c.end;
}

TEST(ProgressText, OnlyIntegerFieldsAreFilled)
{
    using orbiscope::FormatIntegers;
    EXPECT_EQ(FormatIntegers("Processing %d of %d", {3, 9}), "Processing 3 of 9");
    EXPECT_EQ(FormatIntegers("%d%%", {44}), "44%");
    EXPECT_EQ(FormatIntegers("[%3d|%-3d|%03d]", {7, 7, 7}), "[  7|7  |007]");
    EXPECT_EQ(FormatIntegers("%ld of %i", {1, 2}), "1 of 2");
    // Conversions that are not integers, and fields without a value, stay as text.
    EXPECT_EQ(FormatIntegers("%s %n %d %d", {5}), "%s %n 5 %d");
    EXPECT_EQ(FormatIntegers("100%", {}), "100%");
}

// While up, the dialog is the one window that takes input: modal, a child
// window of its parent, itself enabled so that Cancel works.
bool BlocksOthers(TProgressDialog& dialog)
{
    return dialog.isWindow() && dialog.isEnabled() && QGuiApplication::modalWindow() == dialog.windowHandle();
}

TEST(ProgressDialog, ShowsPercentAndItemsAndFreesItsParentAfterCancel)
{
    testsupport::App();
    QMainWindow parent;
    parent.resize(500, 300);
    parent.show();
    auto* dialog = new TProgressDialog(&parent, 9, 0, "Solar Outage Batch", "Processing site %d of %d", "%d%%");
    dialog->Create();
    EXPECT_TRUE(dialog->IsOpen());
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Solar Outage Batch");
    EXPECT_TRUE(BlocksOthers(*dialog));
    EXPECT_EQ(dialog->parentWidget(), &parent);
    EXPECT_EQ(dialog->Percent(), 0);
    EXPECT_EQ(dialog->Text(), "Processing site 0 of 9");
    EXPECT_EQ(dialog->GaugeText(), "0%");

    dialog->SetPercent(4);
    EXPECT_EQ(dialog->Percent(), 44);
    EXPECT_EQ(dialog->Text(), "Processing site 4 of 9");
    EXPECT_EQ(dialog->GaugeText(), "44%");

    dialog->SetPercent(9.7);
    EXPECT_EQ(dialog->Percent(), 100);
    EXPECT_EQ(dialog->Text(), "Processing site 9 of 9");

    dialog->OnButton(platform::IDCANCEL);
    EXPECT_FALSE(dialog->IsOpen());
    EXPECT_EQ(QGuiApplication::modalWindow(), nullptr);
    EXPECT_TRUE(parent.isEnabled());
    delete dialog;
    EXPECT_TRUE(parent.isEnabled());
}

TEST(ProgressDialog, DestroyedWhileUpFreesTheOtherWindows)
{
    testsupport::App();
    QWidget parent;
    parent.show();
    {
        TProgressDialog dialog(&parent, 0, 0, nullptr, "%d/%d", "%d%%");
        dialog.Create();
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Progress");
        EXPECT_EQ(dialog.Percent(), 100);  // end = start
        EXPECT_TRUE(BlocksOthers(dialog));
    }
    EXPECT_EQ(QGuiApplication::modalWindow(), nullptr);
    EXPECT_TRUE(parent.isEnabled());

    // A parent that was disabled before stays disabled.
    parent.setEnabled(false);
    {
        TProgressDialog dialog(&parent, 5, 0, nullptr, "", "");
        dialog.Create();
    }
    EXPECT_FALSE(parent.isEnabled());
}

}  // namespace
