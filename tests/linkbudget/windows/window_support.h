// Shared by the window tests of the link budgets: the application over a
// temporary folder, a fixed clock and company name, and GEO windows whose
// propagation is a fixed (by default zero) atmosphere.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/linkbudget/engine/budget_fixtures.h"
#include "framework/app/config_files.h"
#include "linkbudget/geo/geo_window.h"
#include "tests/framework/app/gui_support.h"

namespace lbtest {

// The hand-checkable budget with the names a real one has (a name may not
// be empty when the dialog checks the record).
inline void FillNamedHandBudget(GeoLinkInputRecord& r)
{
    FillHandBudget(r);
    SetText(r.upSiteName, "Valencia");
    SetText(r.dnSiteName, "Krakow");
    SetText(r.satName, "Testsat 10E");
    SetText(r.serviceName, "Trunk");
    SetText(r.coverage, "Europe");
}

// Tuesday 5 March 2024, 12:00 UTC.
inline constexpr std::time_t kFixedClock = 1709640000;

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The application makes its program folder the current one; the
        // other tests of this binary read the maps from the build folder.
        startDir = std::filesystem::current_path();
        app = std::make_unique<testsupport::AppFixture>();
        platform::SetClockOverride([] { return kFixedClock; });
        SetUpRecord setup;
        setup.bytes = app->app->SetUpRecord;
        setup.SetCompany("Orbiscope Test Bench");
        app->app->SetUpRecord = setup.bytes;
        TUpLinkWin::SetAtmosphere(&atmosphere);
        app->messages.calls.clear();
    }
    void TearDown() override
    {
        TUpLinkWin::SetAtmosphere(nullptr);
        platform::ClearDialogDrivers();
        platform::SetClockOverride({});
        windows.clear();
        app.reset();
        std::filesystem::current_path(startDir);
    }
    TUpLinkWin& NewWindow()
    {
        windows.push_back(std::make_unique<TUpLinkWin>(nullptr, nullptr, nullptr));
        return *windows.back();
    }
    // The hand-checkable clear-sky budget, calculated.
    TUpLinkWin& HandWindow()
    {
        TUpLinkWin& w = NewWindow();
        FillNamedHandBudget(w.Record());
        w.Recalculate();
        return w;
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& c : app->messages.calls) texts.push_back(c.text);
        return texts;
    }

    std::filesystem::path startDir;
    std::unique_ptr<testsupport::AppFixture> app;
    FixedAtmosphere atmosphere;
    std::vector<std::unique_ptr<TUpLinkWin>> windows;
};

inline std::vector<std::string> ReportLines(const TMyWindow& w)
{
    std::vector<std::string> lines;
    std::string_view text = w.Report();
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

inline bool HasLine(const TMyWindow& w, const std::string& line)
{
    for (const auto& l : ReportLines(w))
        if (l == line) return true;
    return false;
}

}  // namespace lbtest
