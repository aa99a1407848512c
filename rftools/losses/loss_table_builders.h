// The builders of the three loss tables on a table window: each runs its form
// on the window's record and, after OK, shows the table; Cancel, no country
// file, or a satellite too low closes the window.
#pragma once

#include "propagation/link_atmosphere.h"

class TTableWin;

namespace orbiscope::losses {

// The models every losses window and table computes with: the ITU-R maps
// unless a test gives its own (null restores them).
LinkAtmosphere& LossAtmosphere();
void SetLossAtmosphere(LinkAtmosphere* atmosphere);

// Table 6427: TRain2Form, then the country file, then the table.
void StartNationalAtmosLosses(TTableWin& w);
// Table 6425: TAvailForm, then the table.
void AvailabilityLosses(TTableWin& w);
// Table 6429: TAttenExtForm, then the table.
void FrequencyLosses(TTableWin& w);

}  // namespace orbiscope::losses
