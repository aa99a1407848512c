// Command routing: response tables of command id -> handler and enabler, and
// the chain a menu command travels (active document window, its MDI child,
// the MDI client, the frame, the application).
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <unordered_map>
#include <vector>

namespace platform {

// One object that answers commands.  A command without a handler anywhere in
// the chain is disabled; the first enabler along the chain decides, and
// without one a handler anywhere enables it.
class CommandTarget {
public:
    using Handler = std::function<void()>;
    using Enabler = std::function<bool()>;

    virtual ~CommandTarget() = default;

    void SetHandler(int id, Handler handler) { handlers_[id] = std::move(handler); }
    void SetEnabler(int id, Enabler enabler) { enablers_[id] = std::move(enabler); }
    void RemoveHandler(int id) { handlers_.erase(id); enablers_.erase(id); }

    bool HasHandler(int id) const { return handlers_.count(id) != 0; }
    bool HasEnabler(int id) const { return enablers_.count(id) != 0; }

    // Runs the handler; false when this target has none.
    virtual bool HandleCommand(int id);
    // The enabler's answer when this target has one for the id.
    bool QueryEnabler(int id, bool& enabled) const;

private:
    std::unordered_map<int, Handler> handlers_;
    std::unordered_map<int, Enabler> enablers_;
};

// The routing chain, rebuilt on every dispatch by the application.
using CommandChain = std::vector<CommandTarget*>;

// Dispatches along a chain: the first target with a handler takes it.
// Returns false when nobody handled the command.
bool RouteCommand(const CommandChain& chain, int id);

// Whether the command is available along the chain: the first enabler found
// decides; otherwise enabled when some target has a handler.
bool CommandEnabledOn(const CommandChain& chain, int id);

// Send = direct: the widget's target handles the command now (if it knows it).
// The widget must derive from CommandTarget.
bool SendCommand(QWidget* target, int id);

// Post = queued: delivered from the event loop, and dropped when the target
// is gone by then.
void PostCommand(QWidget* target, int id);

}  // namespace platform
