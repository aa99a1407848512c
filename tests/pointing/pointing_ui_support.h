// Shared by the window tests of the pointing tools: the application over a
// temporary program folder with a fixed clock, the company line "Orbiscope
// Test Bench" and the windows under test registered; file helpers; and the
// frame rendered as a user sees it.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QMdiSubWindow>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/app/config_files.h"
#include "framework/forms/record_fields.h"
#include "pointing/sun/solar_out_record.h"
#include "pointing/sun/sun_registration.h"
#include "tests/framework/app/gui_support.h"

namespace pointingtest {

class WindowFixture : public ::testing::Test {
protected:
    // The clock reads `now`; `registerWindows` registers what is under test.
    WindowFixture(std::time_t when, void (*registerWindows)()) : now(when), registerWindows_(registerWindows) {}
    void SetUp() override
    {
        startDir = std::filesystem::current_path();
        app = std::make_unique<testsupport::AppFixture>();
        platform::SetClockOverride([this] { return now; });
        SetUpRecord setup;
        setup.bytes = app->app->SetUpRecord;
        setup.SetCompany("Orbiscope Test Bench");
        EditSetUp(setup);
        app->app->SetUpRecord = setup.bytes;
        registerWindows_();
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
    virtual void EditSetUp(SetUpRecord&) {}

    // The message boxes shown, as "caption|text".
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
    template <class Window>
    Window* ActiveWindow() const
    {
        auto* child = app->app->Client()->ActiveDocumentChild();
        return child ? dynamic_cast<Window*>(child->Document()) : nullptr;
    }
    template <class Window>
    Window* Open(const std::string& path) const
    {
        app->app->Client()->OpenFile(path.c_str());
        QCoreApplication::processEvents();
        return ActiveWindow<Window>();
    }

    std::time_t now;
    std::filesystem::path startDir;
    std::unique_ptr<testsupport::AppFixture> app;

private:
    void (*registerWindows_)();
};

// Tuesday 5 March 2024, 12:00 UTC, with the sun's windows and batches.
class SunWindows : public WindowFixture {
protected:
    SunWindows() : WindowFixture(1709640000, orbiscope::RegisterSunWindows) {}
};

// London looking at 28.2E in 2025, local time in zone 0.
inline void FillLondon(SolarOutRecord& r)
{
    PutText(r.siteName, "London");
    PutText(r.satName, "Testsat 28.2E");
    PutText(r.siteLatitude, "51.50N");
    PutText(r.siteLongitude, "0.12W");
    PutText(r.satLongitude, "28.2E");
    PutText(r.year, "2025");
    PutText(r.zone, "0");
    PutText(r.aperture, "1.2");
    PutText(r.frequency, "11.7");
}

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

// Lays the active child at the frame's top left, saves the frame to `png`
// and returns the share of dark (text) pixels in the child's own window: a
// painted report shows a few per cent, a blank or black window none or most.
inline double ShotTextShare(testsupport::AppFixture& f, QSize frame, QSize child, const std::filesystem::path& png)
{
    f.app->Frame()->resize(frame);
    auto* c = f.app->Client()->ActiveDocumentChild();
    c->move(0, 0);
    c->resize(child);
    QCoreApplication::processEvents();
    f.app->Frame()->grab().toImage().save(QString::fromStdString(png.string()));
    const QImage window = c->widget()->grab().toImage();
    long dark = 0;
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x) dark += qGray(window.pixel(x, y)) < 96;
    return double(dark) / (double(window.width()) * window.height());
}

inline constexpr double kTextShareMin = 0.01, kTextShareMax = 0.3;

}  // namespace pointingtest
