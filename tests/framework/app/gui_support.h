// Shared by the window tests of the framework: one QApplication for the
// binary, a temporary program directory, recorded message boxes and a
// document window that records the commands it receives.
#pragma once

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QSize>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "framework/app/mdiclient.h"
#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "framework/output/mywindow.h"
#include "platform/dialog.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/registry.h"
#include "platform/single_instance.h"
#include "platform/services.h"
#include "tests/platform/file_support.h"
#include "tests/platform/qt_app.h"

namespace testsupport {

// The screen the application is to have, asked for before it is made: the
// offscreen platform's own is 800 x 600, too small to show what stands
// beside a large form.  Empty: the platform's.
inline QSize& RequestedScreen()
{
    static QSize size;
    return size;
}

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "test_framework";
    static char platformOption[] = "-platform";
    static std::string platformValue;
    static char* argv[] = {name, nullptr, nullptr, nullptr};
    static QApplication* app = [] {
        QStandardPaths::setTestModeEnabled(true);
        if (RequestedScreen().isValid() && qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) {
            const std::filesystem::path config = std::filesystem::temp_directory_path() /
                                                 ("orbiscope-screen-" + std::to_string(QCoreApplication::applicationPid()) + ".json");
            std::ofstream(config) << R"({"screens": [{"name": "Screen", "x": 0, "y": 0, "width": )"
                                  << RequestedScreen().width() << R"(, "height": )" << RequestedScreen().height()
                                  << R"(, "logicalDpi": 96, "dpr": 1}]})";
            platformValue = "offscreen:configfile=" + config.string();
            argv[1] = platformOption;
            argv[2] = platformValue.data();
            argc = 3;
        }
        auto* a = new QApplication(argc, argv);
        if (!platformValue.empty()) std::filesystem::remove(platformValue.substr(platformValue.find('=') + 1));  // read by now
        QApplication::setQuitOnLastWindowClosed(false);
        std::setlocale(LC_NUMERIC, "C");
        return a;
    }();
    return *app;
}

// The single-instance socket of a program started with XDG_RUNTIME_DIR set
// to `runtimeDir`.
inline std::filesystem::path ServerPathIn(const std::filesystem::path& runtimeDir)
{
    return platform::SingleInstance(QString::fromLatin1(orbiscope::kMainTitle), runtimeDir).ServerPath();
}

// Lays links to the maps' copies that the build parsed once (the build's
// "map-copies") where a program start whose cache folder is `cacheHome`
// looks for its own, so that it reads them rather than parse the thirty
// texts: an unoptimised build parses for longer than a later start waits for
// a new first instance, and what a test judges must not hang on that.  The
// copies are only read: a start that finds one stale writes its own in the
// link's place.  Gives how many were laid.
inline int ShareParsedMaps(const std::filesystem::path& cacheHome)
{
    App();  // the build is where the test binary is
    const std::filesystem::path copies =
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "map-copies";
    const std::filesystem::path maps = cacheHome / "orbiscope" / "maps";
    std::filesystem::create_directories(maps);
    int laid = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(copies, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".grid") {
            std::filesystem::create_symlink(it->path(), maps / it->path().filename());
            ++laid;
        }
    return laid;
}

using TempDir = testfiles::TempFolder;

// Caption and text of message boxes.
using Boxes = std::vector<std::pair<std::string, std::string>>;

// Records every message box and answers as told.
struct MessageRecorder {
    std::vector<platform::MessageBoxCall> calls;
    int answer = platform::IDOK;
    int yesNoAnswer = platform::IDNO;
    MessageRecorder()
    {
        platform::SetMessageBoxSink([this](const platform::MessageBoxCall& c) {
            calls.push_back(c);
            return c.YesNo() ? yesNoAnswer : answer;
        });
    }
    ~MessageRecorder() { platform::SetMessageBoxSink({}); }
    // Caption and text of each box, in the order shown.
    Boxes Shown() const
    {
        Boxes shown;
        for (const auto& c : calls) shown.emplace_back(c.caption, c.text);
        return shown;
    }
};

// Records the help topics asked for instead of opening a help window, and
// with each the field that F1 asked from (0: none).
struct HelpRecorder {
    std::vector<int> topics;
    std::vector<std::pair<int, int>> requests;  // (topic, field)
    HelpRecorder()
    {
        platform::HelpViewer::SetSink([this](const platform::HelpRequest& r) {
            topics.push_back(r.contextId);
            requests.emplace_back(r.contextId, r.field);
            return true;
        });
    }
    ~HelpRecorder() { platform::HelpViewer::SetSink({}); }
};

// A document window that records its edit commands and can refuse to close.
class RecordingWindow : public TMyWindow {
public:
    RecordingWindow(int editCommand, const char* fileName) : TMyWindow(nullptr, nullptr, fileName)
    {
        if (fileName) openedWith = fileName;
        if (editCommand) SetHandler(editCommand, [this, editCommand] { received.push_back(editCommand); });
    }
    bool CanClose() override { return allowClose && TMyWindow::CanClose(); }
    std::vector<int> received;
    std::string openedWith;
    bool allowClose = true;
};

// The application with its frame over a temporary program directory, the
// registry in that folder and the maps switched off.
class AppFixture {
public:
    AppFixture()
    {
        App();
        platform::SetProgramDirectoryOverride(dir.Path());
        platform::Registry::SetFolder(dir.Path() / "registry");
        TOrbiscopeMDIClient::SetMapLoader({});
        orbiscope::ClearRegistrations();
        for (const auto& t : orbiscope::WindowTypes()) {
            const int edit = t.editCommand;
            orbiscope::RegisterWindowFactory(t.type, [edit](const char* name) { return new RecordingWindow(edit, name); });
        }
        app = std::make_unique<TOrbiscope>();
        app->InitMainWindow();
        app->Frame()->show();
        QCoreApplication::processEvents();
        // Start-up notices (no "orbisco.cfg" in a fresh folder) are not what
        // the tests look at.
        messages.calls.clear();
    }
    ~AppFixture()
    {
        for (auto* c : app->Client()->Children()) c->CloseWithoutAsking();
        QCoreApplication::processEvents();
        app.reset();
        orbiscope::ClearRegistrations();
        TOrbiscopeMDIClient::ResetMapLoader();
        platform::SetProgramDirectoryOverride({});
        platform::Registry::SetFolder({});
        platform::ClearFileDialogAnswers();
        platform::HelpViewer::SetSink({});
    }
    RecordingWindow* Active() const
    {
        auto* child = app->Client()->ActiveDocumentChild();
        return child ? dynamic_cast<RecordingWindow*>(child->Document()) : nullptr;
    }

    TempDir dir;
    MessageRecorder messages;
    std::unique_ptr<TOrbiscope> app;
};

// The two ways a user cancels a dialog: its Cancel button, or Escape (for a
// dialog script, "press no button").
inline constexpr int kEscape = 0;
inline constexpr int kCancelEnds[] = {platform::IDCANCEL, kEscape};
inline const char* EndName(int end) { return end == kEscape ? "Escape" : "Cancel"; }

// Ends a driven dialog as `end` says: the key Escape is pressed for kEscape;
// a script returns `end` as its button.
inline int End(platform::Dialog& dialog, int end)
{
    if (end == kEscape) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &escape);
    }
    return end;
}

// The next run of dialog `resourceId` types `text` into `id` and ends as `end` says.
inline void TypeThenEnd(int resourceId, int id, std::string text, int end)
{
    platform::SetDialogDriver(resourceId, [id, text, end](platform::Dialog& dialog) {
        dialog.SetControlText(id, text);
        return End(dialog, end);
    });
}

// The next run of dialog `resourceId` reads what `id` shows into `shown` and
// presses `button`.
inline void ReadThenPress(int resourceId, int id, std::string& shown, int button)
{
    platform::SetDialogDriver(resourceId, [id, &shown, button](platform::Dialog& dialog) {
        shown = dialog.GetControlText(id);
        return button;
    });
}

}  // namespace testsupport
