// The three loss tables: the national table (every town of a country file,
// one satellite), the availability table (one site over a fixed ladder of
// availabilities) and the frequency table (one site over a frequency sweep).
// Each row is the loss chain of the atmospheric-losses window.  Here are the
// forms' records, the rows' numbers and the table text; the forms and the
// table window are in the window files beside.  Free of Qt.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "framework/databases/place_files.h"
#include "framework/forms/record_fields.h"
#include "framework/output/report_writer.h"
#include "propagation/link_atmosphere.h"
#include "rftools/losses/loss_chain.h"

#pragma pack(push, 1)

// The national table's form (stored values record 37).
struct NationalLossInputRecord {
    Text41 satName;
    Text13 satLongitude;
    Text13 frequency;      // GHz
    Text2 polarization;    // "V", "H" or "C"
    Text13 diameter;       // m
    Text13 efficiency;     // %
    Text13 availability;   // % of an average year
};

// The availability table's form (stored values record 7).
struct AvailLossInputRecord {
    Text41 siteName;
    Text41 satName;
    Text13 siteLatitude;
    Text13 siteLongitude;
    Text13 siteAltitude;       // km, or "auto"
    Text13 satLongitude;
    Text13 frequency;          // GHz
    Text13 elevationOverride;  // degrees, or "auto"
    Text2 polarization;
    Text13 diameter;
    Text13 efficiency;
    ButtonState ituModel;      // "ITU-R."
    ButtonState craneTc;       // "Crane T-C."
    ButtonState craneUsa;      // "Crane USA."
};

// The frequency table's form (stored values record 42).
struct FreqLossInputRecord {
    Text41 siteName;
    Text41 satName;
    Text13 siteLatitude;
    Text13 siteLongitude;
    Text13 siteAltitude;       // km, or "auto"
    Text13 satLongitude;
    Text2 polarization;
    Text13 diameter;
    Text13 efficiency;
    Text13 availability;
    Text13 rangeStart;         // GHz
    Text13 rangeEnd;           // GHz
    ButtonState ituModel;
    ButtonState craneTc;
    ButtonState craneUsa;
};

#pragma pack(pop)

static_assert(sizeof(NationalLossInputRecord) == 108, "the national losses record is 108 bytes");
static_assert(sizeof(AvailLossInputRecord) == 194, "the availability losses record is 194 bytes");
static_assert(sizeof(FreqLossInputRecord) == 207, "the frequency losses record is 207 bytes");

namespace orbiscope::losses {

// Column widths in average character widths; the tab stops are their running sums.
inline constexpr int kNationalColumns[] = {22, 10, 10, 8, 8, 8, 8, 9, 9};
inline constexpr int kAvailabilityColumns[] = {22, 10, 10, 10, 10, 10, 10};
inline constexpr int kFrequencyColumns[] = {22, 12, 12, 12, 12, 12};

// The numbers every row of one table shares.  Angles in degrees, lengths
// as named; the polarization text stays the form's.
struct LossTableInputs {
    double latitude = 0.0;
    double longitude = 0.0;
    double altitudeKm = 0.0;       // used (the terrain height for "auto")
    double satLongitude = 0.0;
    double frequencyGHz = 0.0;     // the availability table's frequency
    double availability = 0.0;     // the national and frequency tables' availability, %
    double diameterM = 0.0;
    double efficiencyPct = 0.0;
    double tiltRad = 0.0;          // availability and frequency tables
    char polarization[2] = {};
};

// ---- national table -----------------------------------------------------------

// Writes the whole table for records 1 to n of a country file (record 0
// names the country); towns where the satellite stands below 5 degrees get
// "EL<5" in their loss columns.  `restrictTilt` is the set-up option that
// holds linear tilts at 0 and 90 degrees.  Returns the window's title.
std::string WriteNationalLossTable(ReportWriter& line, const ReportHeading& heading,
                                   const NationalLossInputRecord& r, const LossTableInputs& in,
                                   std::span<const TownRecord> towns, LinkAtmosphere& atm, bool restrictTilt);

// ---- availability table ---------------------------------------------------------

// The ladder of availabilities, five decades from 99.999 % down to 40 %.
struct LadderDecade {
    double first, last, step;  // %
};
inline constexpr LadderDecade kAvailabilityLadder[] = {
    {99.999, 99.991, 0.001}, {99.99, 99.91, 0.01}, {99.9, 99.1, 0.1}, {99.0, 95.0, 1.0}, {90.0, 40.0, 10.0},
};
// The availabilities of one decade, stepped down from its first by repeated
// subtraction while within half a step of its last.
std::vector<double> DecadeAvailabilities(const LadderDecade& decade);

// The table's title, "Availability v Atmospheric Losses <frequency> GHz (ITU-R Model)".
std::string AvailabilityTableTitle(const AvailLossInputRecord& r);

// Writes the table for the site's look angles; `look.elevation` is the one
// the rows use (an override already applied).
void WriteAvailabilityLossTable(ReportWriter& line, const ReportHeading& heading, const AvailLossInputRecord& r,
                                const LossTableInputs& in, const SiteLook& look, LinkAtmosphere& atm);

// ---- frequency table ---------------------------------------------------------------

// The frequencies of a sweep from start to end (GHz): a start of 0 becomes
// 1e-12; the step is 0.01 GHz over a span of 10 GHz or less, else 0.1 GHz;
// the frequency grows by repeated addition while within half a step of the end.
std::vector<double> FrequencySweep(double startGHz, double endGHz);

inline constexpr const char* kFrequencyTableTitle = "Frequency v Atmospheric Losses";

void WriteFrequencyLossTable(ReportWriter& line, const ReportHeading& heading, const FreqLossInputRecord& r,
                             const LossTableInputs& in, const SiteLook& look, std::span<const double> frequencies,
                             LinkAtmosphere& atm);

}  // namespace orbiscope::losses
