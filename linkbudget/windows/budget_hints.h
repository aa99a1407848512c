// The status-bar hints of the budget dialogs' entries.  A field that several
// dialogs ask for shows the same hint in each; the texts are the program's
// own, odd spellings included.
#pragma once

#include <array>
#include <cstddef>

#include "framework/forms/form_controls.h"

namespace budgethint {

// The earth station.
inline constexpr const char* kSiteName = "Name of earth station location";
inline constexpr const char* kLatitude = "Earth station latitude (0 to 90 degrees, suffix N or S)";
inline constexpr const char* kLongitude = "Earth station longitude (0 to 180 degrees, suffix E or W)";
inline constexpr const char* kAltitude = "Site altitude in km or use AUTO";
inline constexpr const char* kFrequency = "Frequency (1 to 100 GHz)";
inline constexpr const char* kPolarization = "Electric field polarization (V=Vertical, H=Horizontal, or C=Circular)";
inline constexpr const char* kAvailability = "'Average year' availability (95.0 to 99.999%)";
inline constexpr const char* kDiameter = "Aperture of earth station antenna (0.2 to 50 metres)";
inline constexpr const char* kEfficiency =
    "Antenna efficiency(%) or prefix with '+' for a gain(dBi) for link budgets";
inline constexpr const char* kCoupling = "Waveguide losses [0 to 20dB)";
inline constexpr const char* kMispoint = "Antenna mispoint losses (dB)";
inline constexpr const char* kOtherLosses = "Other path losses (+ve for radome loss or -ve for site diversity gain";
inline constexpr const char* kLnbNoise = "LNB noise figure(dB) or temp.(K) : Prefix with '+' for temp.";
inline constexpr const char* kAntennaNoise = "Value for antenna noise (1 to 500K)";
inline constexpr const char* kLnbGain = "Enter gain of the LNB (10 to 100dB)";
inline constexpr const char* kLoadImpedance = "Matching impedance of the LNB output (usually 50 or 75 ohms)";
inline constexpr const char* kRainRate = "ITU-R manual rain rate value (mm/hr)";

// Interference and the earth station's amplifier.
inline constexpr const char* kAci = "Value for Csat/ACIo or C/ACI according to input label";
inline constexpr const char* kAsi = "Value for Csat/AAIo or C/ASI according to input label";
inline constexpr const char* kXpi = "Value for Csat/XPIo or C/XPI according to input label";
inline constexpr const char* kHpaCim = "Value for Csat/IMo or C/IM according to input label";
inline constexpr const char* kHpaObo = "Earth station HPA output back-off (typ. 1 to 5dB)";
inline constexpr const char* kCarriersPerHpa = "Number of simultaneous carriers the HPA handles";
inline constexpr const char* kUpc = "Dynamic carrier control range (typ. 8 to 13dB)";
inline constexpr const char* kHpaPower = "MIN, MAX or specific value for HPA power (typ. MIN)";
inline constexpr const char* kUpDensity = "Interfering uplink EIRP density, in direction of wanted satellite dBW/Hz";
inline constexpr const char* kDnDensity = "EIRP density of interfering satellite toward earth station dBW/Hz";

// The satellite.
inline constexpr const char* kSatName = "Name of satellite";
inline constexpr const char* kSlot = "Orbital slot of satellite (0 to 180 degrees, suffix E or W)";
inline constexpr const char* kGtRef = "Reference satellite receive G/T value in dBK";
inline constexpr const char* kSfdRef = "Reference satellite SFD value in dBW/m2";
inline constexpr const char* kGtReceive = "Satellite receive G/T value (-50 to 100 dBK)";
inline constexpr const char* kFca = "FCA (flux control attenuator) setting (typ: 0 to 16dB)";
inline constexpr const char* kAlc = "ALC range dB (typ: 0dB with older satellites)";
inline constexpr const char* kEirpSaturation = "Saturation EIRP of satellite (dBW)";
inline constexpr const char* kEirpBeamPeak =
    "Leave blank or enter the beam peak EIRP reference value in dBW (optional)";
inline constexpr const char* kTransponderBandwidth = "Enter full transponder bandwidth (typ. 24 to 72MHz)";
inline constexpr const char* kInterferingBandwidth = "Mandwidth of adjacent satellite interfering network (MHz)";
inline constexpr const char* kIbo = "Transponder total Input back-off (0 to 30dB)";
inline constexpr const char* kAuto = "AUTO or a specific value";
inline constexpr const char* kElevation = "Snapshot elevation of non-geo satellite (degrees)";
inline constexpr const char* kRange = "Range of non-geo satellite (km)";
inline constexpr const char* kLongitudeDifference =
    "Estimate of worst case site/satellite longitude difference (degrees)";

// The carrier.
inline constexpr const char* kServiceName = "Name of service or customer";
inline constexpr const char* kCoverage = "Coverage of service";
inline constexpr const char* kTarget = "Target Eb/No or Es/No required [-40 to 50 dB]";
inline constexpr const char* kRate = "Information rate in Mbps (or symbol rate in Mbaud if option is flagged)";
inline constexpr const char* kOverhead = "Signalling overhead, if any, added to the info rate";
inline constexpr const char* kFecRate = "FEC code rate (typ. 0.5, 0.75 or 0.875)";
inline constexpr const char* kSpreadingGain = "Spreading gain (dB) for spread spectrum transmission (typ. 0)";
inline constexpr const char* kRollOff = "(1 + roll off factor) (typ. 1.2)";
inline constexpr const char* kCarrierSpacing = "Carrier spacing factor (typ. 1.4)";
inline constexpr const char* kAllocationStep = "Allocated bandwidth incremental step size (typ. 0.100MHz)";
inline constexpr const char* kImplementationLoss = "Degradation, enter 0 if not known (dB)";
inline constexpr const char* kSystemMargin = "Margin to allow for uncertainty of system parameters (typ. 0 to 3 dB)";
inline constexpr const char* kModulationOrder =
    "Value of M for M-ary modulation scheme (Set M=2 for 1 bit/symbol schemes)";

// Two tables as one.
template <std::size_t A, std::size_t B>
constexpr std::array<HintEntry, A + B> Joined(const std::array<HintEntry, A>& a, const std::array<HintEntry, B>& b)
{
    std::array<HintEntry, A + B> all{};
    for (std::size_t i = 0; i < A; ++i) all[i] = a[i];
    for (std::size_t i = 0; i < B; ++i) all[A + i] = b[i];
    return all;
}

// The carrier's entries from the target to M, by the ids of dialog `F`
// (the modcod text has no hint).
template <class F>
constexpr std::array<HintEntry, 11> CarrierHints()
{
    return {{{F::kRequiredTarget, 0, kTarget}, {F::kRate, 0, kRate}, {F::kOverhead, 0, kOverhead},
             {F::kFecRate, 0, kFecRate}, {F::kSpreadingGain, 0, kSpreadingGain}, {F::kRollOff, 0, kRollOff},
             {F::kCarrierSpacing, 0, kCarrierSpacing}, {F::kAllocationStep, 0, kAllocationStep},
             {F::kImplementationLoss, 0, kImplementationLoss}, {F::kSystemMargin, 0, kSystemMargin},
             {F::kModulationOrder, 0, kModulationOrder}}};
}

}  // namespace budgethint
