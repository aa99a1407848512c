// Total attenuation of a slant path (ITU-R P.618-13 section 2.5) and the power
// sums with which the budgets combine ratios given in dB.
#pragma once

// dB.  p = 100 - availability as a 32-bit float: for p of 5 % or less
// A_G + sqrt((A_R + A_C)^2 + A_S^2); above 5 % the rain term is left out,
// A_G + sqrt(A_C^2 + A_S^2).
double TotalAttenuation(double gaseous, double rain, double cloud, double scintillation,
                        double availability);

// -10 log10 of the sum of 10^(-x/10) over the ratios (dB).  A sum of 0 or
// less, or not a number, counts as 1e-12 (the result is then 120 dB); an
// overflowing sum gives the most negative finite result.
double CombineCN2(double a, double b);
double CombineCN3(double a, double b, double c);
double CombineCN4(double a, double b, double c, double d);
