#include "propagation/ber.h"

#include <cmath>
#include <numbers>

namespace {

double ValidM(double m)
{
    return m >= 2.0 ? m : 2.0;
}

}  // namespace

double Erfc(double x)
{
    if (x < 0.0) return 1.0 - Erfc(-x);
    const double phi = std::exp(-x * x / 2.0) / std::sqrt(2.0 * std::numbers::pi);
    if (x <= 8.0) {
        const double t = 1.0 / (1.0 + 0.2316419 * x);
        return phi * (0.31938153 * t - 0.356563782 * t * t + 1.781477937 * t * t * t -
                      1.821255978 * t * t * t * t + 1.330274429 * t * t * t * t * t);
    }
    return phi / x;
}

double Log2(double x)
{
    return std::log(x) / std::log(2.0);
}

double BerBpsk(double ebNo)
{
    const double e = std::pow(10.0, 0.1 * ebNo);
    return Erfc(std::sqrt(2.0 * e));
}

double BerMpsk(double m, double ebNo)
{
    m = ValidM(m);
    const double e = std::pow(10.0, 0.1 * ebNo);
    const double k = Log2(m);
    return 2.0 * Erfc(std::sqrt(2.0 * k * e) * std::sin(std::numbers::pi / m));
}

double BerMqam(double m, double ebNo)
{
    m = ValidM(m);
    const double e = std::pow(10.0, 0.1 * ebNo);
    const double k = Log2(m);
    const double q = Erfc(std::sqrt(k * e) * std::sqrt(3.0 / (m - 1.0)));
    const double s = std::sqrt(m);
    const double correct = (1.0 / m) * (4.0 * (1.0 - q) * (1.0 - q) +
                                        4.0 * (s - 2.0) * (1.0 - q) * (1.0 - 2.0 * q) +
                                        (s - 2.0) * (s - 2.0) * (1.0 - 2.0 * q) * (1.0 - 2.0 * q));
    return 1.0 - correct;
}

double EbNoForBer(int kind, double m, unsigned char symbolRate, double target, double factor)
{
    double k = 1.0;
    if (symbolRate == 0) k = Log2(ValidM(m));
    const double offset = factor > 0.0 ? 10.0 * std::log10(factor) : 0.0;

    double lo = 0.0, hi = 40.0, step = 40.0, mid = 20.0;
    while (step > 0.001) {
        mid = (lo + hi) / 2.0;
        step /= 2.0;
        double v;
        switch (kind) {
        case 0: v = BerBpsk(mid - offset); break;
        case 1: v = BerMpsk(m, mid) / k; break;
        case 2: v = BerMqam(m, mid) / k; break;
        default: continue;
        }
        if (v < target) hi = mid;
        else lo = mid;
    }
    return mid;
}

double RateBandwidth(unsigned char direction, double value, double rollOff, double gain,
                     double codeRate, double m)
{
    const double b = std::pow(10.0, 0.1 * gain);
    const double k = Log2(m);
    double numerator, denominator;
    if (direction == 0) {
        numerator = value * k * codeRate;
        denominator = b * (1.0 + 0.01 * rollOff);
    } else {
        numerator = b * (value + 0.01 * rollOff * value);
        denominator = codeRate * k;
    }
    if (denominator == 0.0 || !std::isfinite(denominator)) return 0.0;
    return numerator / denominator;
}
