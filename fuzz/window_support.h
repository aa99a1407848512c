// Shared by the fuzz entry points of the document windows and the batch
// forms: one application under the offscreen platform over a folder of its
// own (no maps loaded, no user: boxes take their first button, dialogs are
// cancelled).  A document target gets a fresh window of the given class for
// every input, which reads the input as its document, checks it and
// recalculates as the window does when it opens one; a batch target runs the
// frame's command with the input as its file.
#pragma once

#include <QApplication>
#include <QOpenGLContext>
#include <QStandardPaths>
#include <clocale>
#include <cstdlib>
#include <memory>

#include "framework/app/mdiclient.h"
#include "framework/app/orbiscope.h"
#include "fuzz/fuzz_support.h"
#include "platform/registry.h"
#include "platform/services.h"

namespace fuzzsupport {

class WindowHarness {
public:
    struct NoCheck {
        template <class Window>
        void operator()(Window&) const
        {
        }
    };

    static WindowHarness& Get()
    {
        static WindowHarness harness;
        return harness;
    }

    // `check` looks at the window after the load (a property that must hold
    // whatever the input).
    template <class Window, class Check = NoCheck>
    void Load(const std::uint8_t* data, std::size_t size, const char* inputName, Check check = {})
    {
        const std::filesystem::path input = Input(data, size, inputName);
        if (input.empty()) return;
        {
            auto window = std::make_unique<Window>(nullptr, nullptr, nullptr);
            window->LoadFile(input.c_str());
            check(*window);
        }
        // What a load posts (the input dialog of a record that fails its
        // checks) is not run: nobody could answer it.
        QCoreApplication::removePostedEvents(nullptr);
    }

    // The input as a file of the harness's folder; empty when it could not be
    // written.
    std::filesystem::path Input(const std::uint8_t* data, std::size_t size, const char* inputName) const
    {
        std::filesystem::path input = folder_ / inputName;
        if (!WriteInput(input, data, size)) return {};
        return input;
    }

    // A file name in the harness's folder.
    std::filesystem::path File(const char* name) const { return folder_ / name; }

    // Runs a command of the frame as its menu item does.
    void Dispatch(int command)
    {
        orbiscope_->Dispatch(command);
        QCoreApplication::removePostedEvents(nullptr);
    }

private:
    WindowHarness()
    {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        QStandardPaths::setTestModeEnabled(true);
        app_ = std::make_unique<QApplication>(argc_, argv_);
        // The harness lives until exit.  A window's native part asks for the
        // current GL context when it is destroyed, from a per-thread store
        // that Qt builds when first asked: asking now builds it before the
        // harness is complete, so that it outlives the windows the harness
        // destroys at exit (a batch's progress window gives the frame one).
        QOpenGLContext::currentContext();
        std::setlocale(LC_NUMERIC, "C");
        folder_ = InputFolder() / "program";
        std::filesystem::create_directories(folder_);
        platform::SetProgramDirectoryOverride(folder_);
        platform::Registry::SetFolder(folder_);
        TOrbiscopeMDIClient::SetMapLoader({});
        orbiscope_ = std::make_unique<TOrbiscope>();
        orbiscope_->InitMainWindow();
    }
    ~WindowHarness()
    {
        orbiscope_.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    int argc_ = 1;
    char name_[8] = "fuzz";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
    std::filesystem::path folder_;
    std::unique_ptr<TOrbiscope> orbiscope_;
};

}  // namespace fuzzsupport
