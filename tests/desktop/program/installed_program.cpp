#include "tests/desktop/program/installed_program.h"

#include <QCoreApplication>
#include <cstdlib>

#include "framework/app/mdiclient.h"
#include "framework/app/registration.h"
#include "imaging/registration.h"
#include "linkbudget/registration.h"
#include "platform/services.h"
#include "pointing/registration.h"
#include "rftools/registration.h"
#include "tests/framework/app/gui_support.h"

namespace wholeprogram {

namespace fs = std::filesystem;

namespace {

// The maps are large and only read: the program folder links to them.
bool LinkedFromBuild(const fs::path& file)
{
    return file.extension() == ".TXT" || file.filename() == "TIMEZONE.GIF";
}

// Town and satellite lists are edited by the record editors: copies.
bool CopiedFromBuild(const fs::path& file) { return file.extension() == ".twn" || file.extension() == ".geo"; }

void LayProgramFolder(const fs::path& build, const fs::path& program)
{
    fs::create_directories(program);
    for (const auto& entry : fs::directory_iterator(build)) {
        const fs::path& file = entry.path();
        if (LinkedFromBuild(file)) fs::create_symlink(file, program / file.filename());
        else if (CopiedFromBuild(file)) fs::copy_file(file, program / file.filename());
    }
    fs::create_directory_symlink(build / "help", program / "help");
}

}  // namespace

void SettleEvents()
{
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

fs::path InstalledProgram::BuildDir()
{
    testsupport::App();
    return QCoreApplication::applicationDirPath().toStdString();
}

void InstalledProgram::SetEnvironment(const char* name, const fs::path& value)
{
    const char* old = std::getenv(name);
    savedEnvironment_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    fs::create_directories(value);
    ::setenv(name, value.c_str(), 1);
}

InstalledProgram::InstalledProgram()
{
    // The home first: the application object reads it as it is created.
    const fs::path home = root_.Path() / "home";
    SetEnvironment("HOME", home);
    SetEnvironment("XDG_CONFIG_HOME", home / ".config");
    SetEnvironment("XDG_DATA_HOME", home / ".local/share");
    SetEnvironment("XDG_CACHE_HOME", home / ".cache");
    // The maps as the build parsed them once: parsing them again would only
    // hold the walk back for seconds in an unoptimised build.
    testsupport::ShareParsedMaps(home / ".cache");
    SetEnvironment("XDG_RUNTIME_DIR", home / "run");
    fs::permissions(home / "run", fs::perms::owner_all);
    LayProgramFolder(BuildDir(), ProgramDir());
    SetEnvironment("ORBISCOPE_HOME", ProgramDir());
    fs::create_directories(Documents());

    orbiscope::ClearRegistrations();
    orbiscope::RegisterFrameworkSubsystem();
    orbiscope::RegisterLinkBudgetSubsystem();
    orbiscope::RegisterPointingSubsystem();
    orbiscope::RegisterRfToolsSubsystem();
    orbiscope::RegisterImagingSubsystem();
    TOrbiscopeMDIClient::ResetMapLoader();

    // As the program's entry starts it.
    app_ = std::make_unique<TOrbiscope>();
    app_->BecomeFirstInstance();
    app_->InitMainWindow();
    app_->ProcessCmdLine({});
    app_->Frame()->show();
    QCoreApplication::processEvents();
}

InstalledProgram::~InstalledProgram()
{
    if (app_ && app_->Client())
        for (auto* child : app_->Client()->Children()) child->CloseWithoutAsking();
    QCoreApplication::processEvents();
    app_.reset();
    orbiscope::ClearRegistrations();
    platform::HelpViewer::SetSink({});
    for (auto it = savedEnvironment_.rbegin(); it != savedEnvironment_.rend(); ++it) {
        if (it->second) ::setenv(it->first.c_str(), it->second->c_str(), 1);
        else ::unsetenv(it->first.c_str());
    }
}

}  // namespace wholeprogram
