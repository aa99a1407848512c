// The whole program for the desktop tests: the framework's application
// fixture with every subsystem registered as the program's entry registers
// it, over a program directory that sees the build's town and satellite
// lists.
#pragma once

#include "imaging/registration.h"
#include "linkbudget/registration.h"
#include "pointing/registration.h"
#include "rftools/registration.h"
#include "tests/framework/app/gui_support.h"

namespace desktoptest {

class ProgramFixture : public testsupport::AppFixture {
public:
    ProgramFixture()
    {
        // The test program lives in the build folder, beside the data files.
        const std::filesystem::path build = QCoreApplication::applicationDirPath().toStdString();
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(build, ec))
            if (entry.path().extension() == ".twn" || entry.path().extension() == ".geo")
                std::filesystem::create_symlink(entry.path(), dir.Path() / entry.path().filename(), ec);
        platform::HelpViewer::SetSink([](const platform::HelpRequest&) { return false; });
        orbiscope::ClearRegistrations();
        orbiscope::RegisterFrameworkSubsystem();
        orbiscope::RegisterLinkBudgetSubsystem();
        orbiscope::RegisterPointingSubsystem();
        orbiscope::RegisterRfToolsSubsystem();
        orbiscope::RegisterImagingSubsystem();
        app->Frame()->resize(1000, 720);
        QCoreApplication::processEvents();
    }
    ~ProgramFixture()
    {
        platform::SetDialogInspector({});
        platform::ClearDialogDrivers();
    }
};

}  // namespace desktoptest
