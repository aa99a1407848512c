// The builders of the three loss tables on a table window: each runs its form
// on the window's record and, after OK, writes the table; Cancel (or a
// satellite too low, or no country file) closes the window.
#pragma once

#include <functional>
#include <span>

#include "framework/output/mywindow.h"
#include "propagation/link_atmosphere.h"
#include "rftools/losses/loss_tables.h"

namespace orbiscope::losses {

// The models every losses window and table computes with: the ITU-R maps
// unless a test gives its own (null restores them).
LinkAtmosphere& LossAtmosphere();
void SetLossAtmosphere(LinkAtmosphere* atmosphere);

// The records of the country file the user chooses (record 0 names the
// country), or none when no file was chosen or read.
using CountryLoader = std::function<std::span<const TownRecord>()>;

// Table 6427: TRain2Form, then the country file, then the table.
void StartNationalAtmosLosses(TMyWindow& w, NationalLossInputRecord& r, const CountryLoader& loadCountry);
// Table 6425: TAvailForm, then the table.
void AvailabilityLosses(TMyWindow& w, AvailLossInputRecord& r);
// Table 6429: TAttenExtForm, then the table.
void FrequencyLosses(TMyWindow& w, FreqLossInputRecord& r);

}  // namespace orbiscope::losses
