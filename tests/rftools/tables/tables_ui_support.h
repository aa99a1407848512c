// Shared by the table window tests: the application over a temporary program
// folder with a fixed clock and company line, the table window registered,
// a country file and "satlist.geo" written there, and the Table commands
// run through the client with their dialogs driven.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/app/config_files.h"
#include "framework/databases/pickers.h"
#include "rftools/tables/table_forms.h"
#include "rftools/tables/table_registration.h"
#include "rftools/tables/table_win.h"
#include "tables_support.h"
#include "tests/framework/app/gui_support.h"

namespace tablesui {

// Friday 1 March 2024, 12:00 UTC (before the magnetic model's epoch: the
// declinations are the epoch's).
inline constexpr std::time_t kFixedClock = 1709294400;

inline void SetTexts(platform::Dialog& d, const std::map<int, std::string>& texts)
{
    for (const auto& [id, text] : texts) d.SetControlText(id, text);
}

class TableFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        startDir = std::filesystem::current_path();
        app = std::make_unique<testsupport::AppFixture>();
        platform::SetClockOverride([] { return kFixedClock; });
        SetUpRecord setup;
        setup.bytes = app->app->SetUpRecord;
        setup.SetCompany("Orbiscope Test Bench");
        app->app->SetUpRecord = setup.bytes;
        orbiscope::RegisterTableWindows();
        WriteFile("satlist.geo", SatelliteFileBytes(SatList()));
        WriteFile("Testland.twn", TownFileBytes(Testland()));
        app->messages.calls.clear();
    }
    void TearDown() override
    {
        platform::ClearDialogDrivers();
        TTableForm::SetPickers({}, {});
        platform::SetClockOverride({});
        app.reset();
        std::filesystem::current_path(startDir);
    }

    static std::vector<SatelliteRecord> SatList() { return tablestest::TestSatellites(); }
    static std::vector<TownRecord> Testland() { return tablestest::Testland(); }
    void WriteFile(const char* name, const std::string& bytes) const
    {
        std::ofstream(app->dir / name, std::ios::binary) << bytes;
    }

    // The script of a dialog: fill its fields, press OK (again while it
    // stays open: a refused OK is then cancelled by the driver).
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
    TTableWin* Run(int command)
    {
        app->app->Client()->ShowTable(command);
        QCoreApplication::processEvents();
        auto* child = app->app->Client()->ActiveDocumentChild();
        return child ? dynamic_cast<TTableWin*>(child->Document()) : nullptr;
    }
    std::size_t OpenWindows() const { return app->app->Client()->Children().size(); }
    std::string Caption() const { return app->app->Client()->ActiveDocumentChild()->windowTitle().toStdString(); }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& c : app->messages.calls) texts.push_back(c.caption + "|" + c.text);
        return texts;
    }

    std::filesystem::path startDir;
    std::unique_ptr<testsupport::AppFixture> app;
};

}  // namespace tablesui
