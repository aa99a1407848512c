// The whole program for the desktop tests: one QApplication, every
// subsystem registered as the program's entry registers it, a temporary
// program directory that sees the build's town and satellite lists, and
// recorded message boxes.
#pragma once

#include <QApplication>
#include <QStandardPaths>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/app/mdiclient.h"
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "imaging/registration.h"
#include "linkbudget/registration.h"
#include "platform/dialog.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "pointing/registration.h"
#include "rftools/registration.h"

namespace desktoptest {

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "test_desktop";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        QStandardPaths::setTestModeEnabled(true);
        auto* a = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        std::setlocale(LC_NUMERIC, "C");
        return a;
    }();
    return *app;
}

// The folder the test binary runs in holds the build's data files.
inline std::filesystem::path BuildFolder()
{
    const char* home = std::getenv("ORBISCOPE_HOME");
    return home ? std::filesystem::path(home) : std::filesystem::current_path();
}

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orbiscope-desktop-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The program with its frame, over a temporary program directory that links
// the build's country files and satellite list; the ITU-R maps are not loaded.
class ProgramFixture {
public:
    ProgramFixture()
    {
        App();
        LinkDataFiles();
        platform::SetProgramDirectoryOverride(dir.Path());
        platform::Registry::SetFolder(dir.Path() / "registry");
        platform::SetMessageBoxSink([this](const platform::MessageBoxCall& c) {
            ++messages;
            return c.YesNo() ? platform::IDNO : platform::IDOK;
        });
        platform::HelpViewer::SetSink([](int) { return false; });
        TOrbiscopeMDIClient::SetMapLoader({});
        orbiscope::ClearRegistrations();
        orbiscope::RegisterFrameworkSubsystem();
        orbiscope::RegisterLinkBudgetSubsystem();
        orbiscope::RegisterPointingSubsystem();
        orbiscope::RegisterRfToolsSubsystem();
        orbiscope::RegisterImagingSubsystem();
        app = std::make_unique<TOrbiscope>();
        app->InitMainWindow();
        app->Frame()->resize(1000, 720);
        app->Frame()->show();
        QCoreApplication::processEvents();
    }
    ~ProgramFixture()
    {
        platform::SetDialogInspector({});
        platform::ClearDialogDrivers();
        for (auto* c : app->Client()->Children()) c->CloseWithoutAsking();
        QCoreApplication::processEvents();
        app.reset();
        orbiscope::ClearRegistrations();
        TOrbiscopeMDIClient::ResetMapLoader();
        platform::SetProgramDirectoryOverride({});
        platform::Registry::SetFolder({});
        platform::ClearFileDialogAnswers();
        platform::HelpViewer::SetSink({});
        platform::SetMessageBoxSink({});
    }

    TempDir dir;
    int messages = 0;
    std::unique_ptr<TOrbiscope> app;

private:
    void LinkDataFiles()
    {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(BuildFolder(), ec)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".twn" || ext == ".geo")
                std::filesystem::create_symlink(entry.path(), dir.Path() / entry.path().filename(), ec);
        }
    }
};

}  // namespace desktoptest
