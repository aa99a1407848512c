#include "tests/desktop/program/menu_walk.h"

#include "framework/app/mdiclient.h"
#include "framework/app/menus.h"
#include "framework/app/registration.h"

namespace wholeprogram {

namespace {

// Where the window is put before a command that arranges windows, so that
// the arrangement shows (a window already where Tile puts it would not move).
const QRect kOddPlace(7, 9, 311, 203);

class StateKeeper {
public:
    StateKeeper(InstalledProgram& program, Documents& documents) : program_(program), documents_(documents) {}

    // Closes everything and opens the state's window; false when it cannot be made.
    bool Enter(int state)
    {
        state_ = state;
        window_ = nullptr;
        CloseAllBut(nullptr);
        return Restore();
    }

    // Puts the state back after a command; false when its window cannot be made again.
    bool Restore()
    {
        platform::MdiFrame& frame = *program_.App().Frame();
        if (!frame.isVisible()) frame.show();  // after Exit
        CloseAllBut(window_);
        if (state_ == kNoWindow) return true;
        if (!window_) {
            window_ = documents_.OpenWindow(state_);
            SettleEvents();
            if (!window_) return false;
            place_ = window_->geometry();
        }
        window_->showNormal();
        window_->setGeometry(place_);
        program_.App().Client()->Activate(window_);
        // As a click into the window does.
        if (auto* child = dynamic_cast<TOrbiscopeMDIChild*>(window_.data()); child && child->Document())
            child->Document()->EvSetFocus();
        SettleEvents();
        return true;
    }

    // Moves the window out of the way of the arranging commands.
    void Prepare(int command)
    {
        if (!window_) return;
        if (command == orbiscope::CM_ARRANGEICONS) {
            window_->showMinimized();
            window_->move(kOddPlace.topLeft());
        } else if (command >= orbiscope::CM_CASCADE && command <= orbiscope::CM_TILEHORZ) {
            window_->setGeometry(kOddPlace);
        }
        SettleEvents();
    }

private:
    void CloseAllBut(platform::MdiChild* keep)
    {
        for (platform::MdiChild* c : program_.App().Client()->Children())
            if (c != keep) c->CloseWithoutAsking();
        SettleEvents();
    }

    InstalledProgram& program_;
    Documents& documents_;
    int state_ = kNoWindow;
    QPointer<platform::MdiChild> window_;
    QRect place_;
};

}  // namespace

std::vector<int> States()
{
    std::vector<int> states = {kNoWindow};
    for (const auto& t : orbiscope::WindowTypes()) states.push_back(t.type);
    return states;
}

MenuWalk WalkMenus(InstalledProgram& program, Documents& documents, DialogWalk& dialogs)
{
    MenuWalk walk;
    CommandProbe probe(program, dialogs);
    StateKeeper keeper(program, documents);
    const std::vector<int> commands = orbiscope::MainMenuCommands();

    dialogs.SetExploring(true);
    keeper.Enter(kNoWindow);
    for (int id : commands) {
        walk.exploration.push_back(probe.Run(id));
        keeper.Restore();
    }
    dialogs.SetExploring(false);

    for (int state : States()) {
        if (!keeper.Enter(state)) {
            walk.faults.push_back("no window of type " + std::to_string(state) + " could be opened");
            continue;
        }
        for (int id : commands) {
            keeper.Prepare(id);
            walk.outcomes.push_back({state, probe.Run(id)});
            if (!keeper.Restore()) {
                walk.faults.push_back("the window of type " + std::to_string(state) + " could not be opened again");
                break;
            }
        }
    }
    keeper.Enter(kNoWindow);
    return walk;
}

}  // namespace wholeprogram
