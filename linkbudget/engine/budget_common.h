// What the arithmetic of every budget kind shares: Boltzmann's constant, the
// calculation error codes, what the engine asks of its window, and the
// result texts cut to their printed decimals.  Free of Qt.
#pragma once

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
