// Earth-station antenna patterns: the off-axis gain envelopes towards an
// adjacent satellite and the relative field patterns of uniformly illuminated
// apertures used by the calculators.
//
// Pattern A: the Radio Regulations Appendix 8 earth-station envelope, with
// 29 - 25 log10(phi) (ITU-R S.580-6) and -3.5 dBi over 20-26.3 degrees laid
// over it.  Pattern B: the ITU-R BO.1213 co-polar and cross-polar envelopes.
//
// Gains in dBi, angles in degrees, frequency in GHz, diameter and wavelength
// in m.  Off-axis angles are taken by magnitude; 0 is the boresight, angles
// beyond 180 degrees read as 180.
#pragma once

// selector 0: pattern A (copolar is not used); any other: pattern B, copolar
// nonzero for the co-polar envelope, 0 for the cross-polar one.
double OffAxisGain(double maxGain, double offAxisAngle, double frequency, double diameter,
                   unsigned char copolar, unsigned char selector);

double ReferencePatternA(double maxGain, double offAxisAngle, double frequency, double diameter);
double ReferencePatternB(double maxGain, double offAxisAngle, double frequency, double diameter,
                         unsigned char copolar);

// |2 J1(u) / u| with u = pi D sin(theta) / lambda, by its power series: 5 terms
// after the 1, or 16 when seriesLength is 1 (accurate up to u of about 12).
double CircularAperturePattern(double angle, double diameter, double wavelength, int seriesLength);

// |sin(u) / u| with u = pi D sin(theta) / lambda; 1 at u = 0.
double LineSourcePattern(double angle, double diameter, double wavelength);

// Full beam width (degrees) between the two directions where the pattern has
// fallen to `level` dB (negative): pattern 1 line source, any other the
// circular aperture.  The search runs from 0 to asin(1.22 lambda / D), held
// at 90 degrees for an aperture smaller than 1.22 wavelengths.
double BeamAngleAtLevel(double level, double wavelength, double diameter, int pattern);

// 10^(0.05 level)
double DbToAmplitudeRatio(double level);
