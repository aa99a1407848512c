#include "platform/command.h"

#include <QMetaObject>

namespace platform {

bool CommandTarget::HandleCommand(int id)
{
    auto it = handlers_.find(id);
    if (it == handlers_.end()) return false;
    // The handler may remove itself or destroy the target; run a copy.
    Handler h = it->second;
    h();
    return true;
}

bool CommandTarget::QueryEnabler(int id, bool& enabled) const
{
    auto it = enablers_.find(id);
    if (it == enablers_.end()) return false;
    enabled = it->second();
    return true;
}

bool RouteCommand(const CommandChain& chain, int id)
{
    for (CommandTarget* t : chain) {
        if (t && t->HasHandler(id)) return t->HandleCommand(id);
    }
    return false;
}

bool CommandEnabledOn(const CommandChain& chain, int id)
{
    // An enabler anywhere along the chain decides (a window may handle a
    // command whose availability the client judges); else any handler enables.
    for (CommandTarget* t : chain) {
        bool enabled = false;
        if (t && t->QueryEnabler(id, enabled)) return enabled;
    }
    for (CommandTarget* t : chain)
        if (t && t->HasHandler(id)) return true;
    return false;
}

bool SendCommand(QWidget* target, int id)
{
    auto* t = dynamic_cast<CommandTarget*>(target);
    return t && t->HandleCommand(id);
}

void PostCommand(QWidget* target, int id)
{
    QPointer<QWidget> guard(target);
    QMetaObject::invokeMethod(
        target,
        [guard, id] {
            if (guard) SendCommand(guard.data(), id);
        },
        Qt::QueuedConnection);
}

}  // namespace platform
