// Shared by the solar-outage window and batch tests: the application over a
// temporary program folder with a fixed clock and company line, the sun's
// windows and commands registered, and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/app/config_files.h"
#include "pointing/sun/sun_registration.h"
#include "tests/framework/app/gui_support.h"

namespace suntest {

// Tuesday 5 March 2024, 12:00 UTC.
inline constexpr std::time_t kFixedClock = 1709640000;

class SunFixture : public ::testing::Test {
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
        orbiscope::RegisterSunWindows();
        app->messages.calls.clear();
    }
    void TearDown() override
    {
        platform::ClearDialogDrivers();
        platform::ClearFileDialogAnswers();
        platform::SetClockOverride({});
        app.reset();
        std::filesystem::current_path(startDir);
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& c : app->messages.calls) texts.push_back(c.caption + "|" + c.text);
        return texts;
    }
    std::filesystem::path Dir() const { return app->dir.Path(); }
    std::string WriteFile(const char* name, const std::string& bytes) const
    {
        const auto path = app->dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    std::filesystem::path startDir;
    std::unique_ptr<testsupport::AppFixture> app;
};

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace suntest
