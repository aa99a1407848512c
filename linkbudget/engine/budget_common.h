// What the arithmetic of every budget kind shares: Boltzmann's constant, the
// calculation error codes, what the engine asks of its window, the budgets'
// bisection, and the availability texts of the report.  Free of Qt.
#pragma once

#include <cstddef>
#include <cstdint>

// Boltzmann's constant, dBW/K/Hz.
inline constexpr double kBoltzmannDb = -228.5993213;

// Calculation error codes a budget can leave for its window (the window
// shows their texts, framework/output/docfile.h).
enum BudgetError : std::int32_t {
    kErrNegativeMargin = -501,
    kErrBandwidthOverspill = -502,
    kErrOversaturation = -504,
    kErrTooManyCarriers = -505,
    kErrAdjacentBelowHorizon = -512,
    kErrTransponderOverused = -513,
};

// What a budget's window must do for it that the engine cannot: the
// polarization tilt (it depends on the set-up record) and the elevation
// messages (message boxes belong to the window).  Every budget kind uses it.
class GeoLinkHost {
public:
    virtual ~GeoLinkHost() = default;
    // Tilt of the polarization plane in radians.
    virtual double PolarizationTerm(double latitude, double longitudeDifference,
                                    const char* polarization) = 0;
    // Shows the low-elevation message when one is due; false stops the budget.
    virtual bool CheckLowElevation(double elevation) = 0;
};

// Text of a value cut (not rounded) to the given decimals, for the report.
void FormatTruncated(char (&out)[20], double value, int decimals);

// One link's availability as the report prints it: the average year and the
// worst month, "N/A" where a figure does not apply.
struct AvailabilityTexts {
    char availability[20], annualDowntime[20], worstAvailability[20], worstDowntime[20];
};

// The texts of a link at `availability` percent from the first four fields of
// its path record: all "N/A" at 100 % (clear sky), the worst-month pair
// "N/A" when the worst-month unavailability is outside its valid range.
void FillAvailabilityTexts(AvailabilityTexts& texts, double availability, double worstMonthUnavailability,
                           double worstMonthAvailability, double annualDowntime, double worstMonthDowntime);

namespace lbcalc {

inline constexpr double kPi = 3.14159265358979323846;

// Map arguments are 32-bit floats; a value a float cannot hold (a damaged
// record) would make the conversion undefined, so it is brought into range.
float MapArgument(double value);

// Antenna efficiency in percent of an aperture whose gain is given in dBi.
double EfficiencyFromGain(double gainDbi, double diameterM, double wavelengthM);

// Copies a record text of `srcSize` bytes into a parsed text, cut at its
// terminator, its size or the destination's last byte.
template <std::size_t N>
void CopyText(char (&dst)[N], const char* src, std::size_t srcSize)
{
    std::size_t n = 0;
    while (n < srcSize && n < N - 1 && src[n] != '\0') {
        dst[n] = src[n];
        ++n;
    }
    dst[n] = '\0';
}

// The budgets' bisection: the interval is halved while a step that starts at
// 50 stays above the tolerance (19 trials at 1e-4); `keepLower(x)` says
// whether the trial x becomes the new lower bound.  Returns the last trial.
template <class KeepLower>
double Bisect(double lower, double upper, KeepLower keepLower, double tolerance = 1e-4)
{
    double step = 50.0, trial = lower;
    while (step > tolerance) {
        trial = 0.5 * (lower + upper);
        step *= 0.5;
        if (keepLower(trial))
            lower = trial;
        else
            upper = trial;
    }
    return trial;
}

}  // namespace lbcalc
