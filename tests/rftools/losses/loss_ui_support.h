// Shared by the window tests of the atmospheric losses: the application over
// a temporary program folder with a fixed clock and company line, the loss
// windows registered, and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fake_atmosphere.h"
#include "framework/app/config_files.h"
#include "rftools/losses/loss_registration.h"
#include "tests/framework/app/gui_support.h"

namespace losstest {

// Tuesday 5 March 2024, 12:00 UTC.
inline constexpr std::time_t kFixedClock = 1709640000;

class LossFixture : public ::testing::Test {
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
        orbiscope::RegisterLossWindows();
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

    std::filesystem::path startDir;
    std::unique_ptr<testsupport::AppFixture> app;
};

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool HasLine(const std::string& report, const std::string& line)
{
    const std::vector<std::string> lines = Lines(report);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace losstest
