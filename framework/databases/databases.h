// The framework's town and satellite databases, plugged into the client.
#pragma once

namespace databases {
// The country window (type 7), the satellite window (type 8) and the town
// picker behind the set-up dialog's Site button.
void RegisterDatabases();
}  // namespace databases
