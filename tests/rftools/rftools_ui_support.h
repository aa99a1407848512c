// Shared by the window tests of the tables and the atmospheric losses: the
// application over a temporary program folder with a fixed clock and company
// line, dialogs driven by script, and the Table commands run through the
// client.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/app/config_files.h"
#include "framework/databases/pickers.h"
#include "rftools/tables/table_win.h"
#include "tests/framework/app/gui_support.h"

namespace rftest {

// Tuesday 5 March 2024, 12:00 UTC (before the magnetic model's epoch: the
// declinations are the epoch's).
inline constexpr std::time_t kFixedClock = 1709640000;

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The application makes its program folder the current one; the
        // engine tests of the binary read the maps from the build folder.
        startDir = std::filesystem::current_path();
        app = std::make_unique<testsupport::AppFixture>();
        platform::SetClockOverride([] { return kFixedClock; });
        SetUpRecord setup;
        setup.bytes = app->app->SetUpRecord;
        setup.SetCompany("Orbiscope Test Bench");
        app->app->SetUpRecord = setup.bytes;
    }
    void TearDown() override
    {
        platform::ClearDialogDrivers();
        platform::ClearFileDialogAnswers();
        platform::SetClockOverride({});
        app.reset();
        std::filesystem::current_path(startDir);
    }

    std::filesystem::path Dir() const { return app->dir.Path(); }
    void WriteFile(const char* name, const std::string& bytes) const
    {
        std::ofstream(Dir() / name, std::ios::binary) << bytes;
    }
    // The script of a dialog: `fill` works it, `button` ends it.
    static void Drive(int dialog, std::function<void(platform::Dialog&)> fill, int button = platform::IDOK)
    {
        platform::SetDialogDriver(dialog, [fill, button](platform::Dialog& d) {
            if (fill) fill(d);
            return button;
        });
    }
    static void ChooseCountry(const char* file)
    {
        Drive(TGetCountryDlg::kResourceId, [file](platform::Dialog& d) {
            for (int i = 0; i < d.ListCount(TGetCountryDlg::kList); ++i)
                if (d.ListString(TGetCountryDlg::kList, i) == file) d.ListSetSelIndex(TGetCountryDlg::kList, i);
        });
    }
    // Runs a Table command; the table window it leaves, or null.
    TTableWin* RunTable(int command)
    {
        app->app->Client()->ShowTable(command);
        QCoreApplication::processEvents();
        auto* child = app->app->Client()->ActiveDocumentChild();
        return child ? dynamic_cast<TTableWin*>(child->Document()) : nullptr;
    }
    std::size_t OpenWindows() const { return app->app->Client()->Children().size(); }
    std::string Caption() const { return app->app->Client()->ActiveDocumentChild()->windowTitle().toStdString(); }
    // The message boxes shown, as "caption|text".
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& c : app->messages.calls) texts.push_back(c.caption + "|" + c.text);
        return texts;
    }

    std::filesystem::path startDir;
    std::unique_ptr<testsupport::AppFixture> app;
};

}  // namespace rftest
