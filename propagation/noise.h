// Noise temperatures of a receiving earth station (ITU-R P.618-13 section 3:
// sky noise from the total atmospheric attenuation with a mean radiating
// temperature of 37.34 + 0.81 Ts and a cosmic background of 2.7 K).
//
// Attenuations in dB, temperatures in K, efficiency in %.
#pragma once

// (1 - t)(0.81 Ts + 37.34) + 2.7 t with t = 10^(-A/10).
double SkyNoiseTemp(double attenuation, double surfaceTemperature);

// Sky noise plus the ground seen by the spill-over: (1 - 0.01 eta) x 90 K.
double AntennaNoiseTemp(double efficiency, double surfaceTemperature, double attenuation);

// (1 - l) 290 + Trx + l (Ta + SkyNoiseTemp(A, Ts)) with l = 10^(-Lf/10): the
// feed loss Lf at 290 K in front of the receiver.  The budgets pass the
// clear-sky antenna temperature as Ta, with A = 0 in clear sky.
double SystemNoiseTemp(double receiverTemperature, double feedLoss, double antennaTemperature,
                       double attenuation, double surfaceTemperature);
