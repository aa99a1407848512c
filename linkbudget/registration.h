// How the link budgets plug into the MDI client.
#pragma once

namespace orbiscope {
// Registers the link-budget document windows (called from main).
void RegisterLinkBudgetSubsystem();
}  // namespace orbiscope
