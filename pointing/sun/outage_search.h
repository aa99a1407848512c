// The solar-outage search: on which days of a season the sun passes through
// an earth station's beam towards a geostationary satellite, and when.
//
// One search walks the days of a season group and the hours 05-19 of each
// (local standard time), with a coarse step until the sun first enters the
// -12 dB beam, then backs up and walks on with the fine step of the chosen
// resolution.  The window and the three batches share it; each owner decides
// where the rows go through an OutageSink.
#pragma once

#include <string>
#include <string_view>

class TSun;

namespace orbiscope::sun {

// The sun's apparent diameter added to every beam width, degrees.
inline constexpr double kSunDiameterDeg = 0.52498;
// The beam formula needs an aperture of at least this many wavelengths.
inline constexpr double kMinimumApertureWavelengths = 1.22;

struct SeasonGroup {
    int firstDay, firstMonth, lastDay, lastMonth;
};
inline constexpr SeasonGroup kEarlySeason{10, 2, 30, 4};
inline constexpr SeasonGroup kLateSeason{15, 8, 31, 10};

struct OutageInputs {
    double satelliteElevation = 0;   // degrees, apparent
    double satelliteAzimuth = 0;     // degrees, true
    int year = 2025;
    double zone = 0;                 // hours east of Greenwich (local standard time - UT)
    double apertureM = 1;            // antenna diameter, m
    double frequencyGHz = 12;
    bool wide = false;               // "Wide (pessimistic)" beam
    bool minuteRefinement = true;    // "Nearest minute"
    bool secondRefinement = false;   // "Nearest second"
    bool gmtOutput = false;          // times in GMT instead of local standard time
};

// Half-angles (radians) from the beam axis to the -1, -3 and -12 dB points,
// the sun's radius included, widened by half for the wide option.
struct BeamThresholds {
    double th1 = 0, th3 = 0, th12 = 0;
};
BeamThresholds OutageThresholds(double apertureM, double frequencyGHz, bool wide);

// Whether an aperture is large enough for the beam formula at a frequency
// (at least 1.22 wavelengths); below it every threshold would be undefined.
bool ApertureResolvesBeam(double apertureM, double frequencyGHz);
// The smallest such aperture, m.
double MinimumAperture(double frequencyGHz);
// Why an aperture cannot serve at a frequency, for a "Range Error" box; empty
// when it can.  When even the largest aperture a form allows is too small,
// the text blames the frequency, since no entry could satisfy it.
std::string ApertureRangeMessage(double apertureM, double frequencyGHz, std::string_view frequencyText,
                                 double largestApertureM);

struct ClockTime {
    int h = 0, m = 0, s = 0;
};

// One day on which the sun enters the beam.
struct OutageEvent {
    int month = 1;            // 1..12, of the date the row shows
    int day = 1;              // day of month
    ClockTime begin, peak, end;
    const char* depth = "";   // "Low", "Medium" or "High"
    double closestDeg = 0;    // closest angle between sun and beam axis
    bool seconds = false;     // shown to the second (else to the minute)
    double dayNumber = 0;     // the searched date (local), TSun day number
    double beginHours = 0, peakHours = 0, endHours = 0;  // local standard time, as found
};

// Where the rows of a search go.
class OutageSink {
public:
    virtual ~OutageSink() = default;
    virtual void Event(const OutageEvent& event) = 0;
    // The search ended without an event.
    virtual void NoOutages() = 0;
    // Called after each time step that computed a sun position (owners on
    // the user-interface thread pump their messages here on a time budget).
    // False stops the search at once: the events found so far stay reported.
    virtual bool Step() { return true; }
};

// How the time loop visits its steps.  Both give the same rows: SkipFarSteps
// only leaves out the sun positions of steps whose side of the -12 dB edge
// is certain, and of inside steps that cannot be the closest one (the sun's
// apparent direction moves at a bounded rate), advancing the time exactly as
// every step would.
enum class Stepping { SkipFarSteps, EveryStep };

// The refraction's bounds behind SkipFarSteps (TSun::Refraction; checked in
// sun_test.cpp): its largest lift, degrees; its slope, degree of lift per
// degree of elevation, above 15 degrees and between -5 and 15 degrees; and
// its jumps at those two elevations, degrees.
inline constexpr double kRefractionMaxLiftDeg = 1.47;
inline constexpr double kRefractionSlopeHigh = 0.0042;
inline constexpr double kRefractionSlopeLow = 0.70;
inline constexpr double kRefractionJumpAt15Deg = 0.0011;
inline constexpr double kRefractionJumpAtMinus5Deg = 0.37;

// Searches one season group of inputs.year for the site of `sun`; returns
// the number of events (those found before the sink stopped the search).  Inputs must have passed ApertureResolvesBeam.
int FindOutages(TSun& sun, const OutageInputs& inputs, SeasonGroup group, OutageSink& sink,
                Stepping stepping = Stepping::SkipFarSteps);

// Angle (radians) between the sun at (elevation, azimuth) and the satellite
// direction, both radians; the cosine is clamped so that a sun exactly on the
// axis gives 0, not NaN.
double SunSatelliteSeparation(double sunElevation, double sunAzimuth, double satElevation, double satAzimuth);

// The event columns after the date: "\t%.2d:%.2d" three times (or with
// seconds), then "\t%s\t%.2lf" (or "%.4lf") with depth and closest angle.
std::string FormatEventColumns(const OutageEvent& event);

extern const char* const kMonthNames[12];       // "January" ...
extern const char* const kShortMonthNames[12];  // "Jan" ...

}  // namespace orbiscope::sun
