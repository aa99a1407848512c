// Drives a calculator of the Calculate menu as a user would: the command,
// then the dialog with typed values and button presses, ending with Cancel.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "framework/app/mdiclient.h"
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "platform/dialog.h"
#include "tests/framework/app/gui_support.h"

namespace calctest {

// The application works in its temporary program directory, which goes when
// the fixture goes; a fixture keeps this before it so that the tests after
// it find the working directory they started in.
class KeepWorkingDirectory {
public:
    KeepWorkingDirectory() : dir_(std::filesystem::current_path()) {}
    ~KeepWorkingDirectory()
    {
        std::error_code ignored;
        std::filesystem::current_path(dir_, ignored);
    }

private:
    std::filesystem::path dir_;
};

// `script` sees the dialog before each press of `buttons` (step 0 first); when
// the list is used up the next press is Cancel, which stores the fields.
inline void RunCalculator(TOrbiscope& app, int command, std::vector<int> buttons,
                          std::function<void(platform::Dialog&, int)> script = {})
{
    auto index = std::make_shared<int>(0);
    const int dialog = orbiscope::FindCalculatorInfo(command)->dialog;
    platform::SetDialogDriver(dialog, [buttons, script, index](platform::Dialog& d) {
        const int i = (*index)++;
        if (script) script(d, i);
        return i < int(buttons.size()) ? buttons[std::size_t(i)] : platform::IDCANCEL;
    });
    app.Client()->CmCalculator(command);
}

// The application with the forms that `registerForms` registers.
class CalculatorFixture : public ::testing::Test {
protected:
    explicit CalculatorFixture(void (*registerForms)()) { registerForms(); }
    ~CalculatorFixture() override { platform::ClearDialogDrivers(); }

    void Run(int command, std::vector<int> buttons, std::function<void(platform::Dialog&, int)> script = {})
    {
        RunCalculator(*f.app, command, std::move(buttons), std::move(script));
    }
    // The stored dialog values of the calculator of `command`.
    std::span<std::uint8_t> Stored(int command)
    {
        return f.app->FormRecord(orbiscope::FindCalculatorInfo(command)->storedRecord);
    }

    KeepWorkingDirectory keep;   // destroyed after the application
    testsupport::AppFixture f;
};

}  // namespace calctest
