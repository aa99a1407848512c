// Error probabilities of uncoded coherent BPSK, M-PSK and square M-QAM in
// additive white Gaussian noise (textbook expressions), the Eb/No that reaches
// a target error probability, and the rate/bandwidth conversion of the
// bandwidth calculator.
//
// Eb/No in dB; M is the number of constellation points (2 to 256 from the
// dialogs; a value below 2 is taken as 2).
#pragma once

// The Gaussian tail Q(x) = P(N(0,1) > x), not the complementary error
// function: Abramowitz and Stegun 26.2.17 up to x = 8, phi(x)/x above.
// A negative x gives 1 - Q(-x).
double Erfc(double x);

// ln(x) / ln(2)
double Log2(double x);

double BerBpsk(double ebNo);              // Q(sqrt(2 Eb/No))
double BerMpsk(double m, double ebNo);    // symbol error probability 2 Q(sqrt(2 k Eb/No) sin(pi/M))
double BerMqam(double m, double ebNo);    // symbol error probability of square M-QAM

// Eb/No (dB) at which the model reaches `target`, by bisection over 0..40 dB
// (16 halvings).  kind 0 BPSK (factor X: 10 log10 X is subtracted from each
// trial Eb/No), 1 M-PSK, 2 M-QAM; symbolRate 0 divides the symbol error
// probability by log2 M.  Any other kind gives 20.
double EbNoForBer(int kind, double m, unsigned char symbolRate, double target, double factor);

// direction 0: information rate a k r / (b (1 + 0.01 alpha)) from a bandwidth a;
// any other: bandwidth b (a + 0.01 alpha a) / (r k) from a rate a;
// with b = 10^(0.1 g) (g the spreading gain, dB), k = log2 M, r the code rate
// and alpha the roll-off (overhead) in %.  0 where a denominator is 0.
double RateBandwidth(unsigned char direction, double value, double rollOff, double gain,
                     double codeRate, double m);
