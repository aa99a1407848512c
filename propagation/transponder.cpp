#include "propagation/transponder.h"

#include <cmath>
#include <initializer_list>

namespace {

// c0 + c1 x + c2 x^2 + ..., every power taken separately and the terms summed
// in ascending order of power, as the fits were made.
double Polynomial(double x, std::initializer_list<double> coefficients)
{
    double sum = 0.0;
    int power = 0;
    for (double c : coefficients) sum += c * std::pow(x, power++);
    return sum;
}

double LimitBackoff(double x)
{
    return x > 20.0 ? 20.0 : x;
}

enum class CarrierCurve { Single, Two, Many };

CarrierCurve CurveFor(double carriers)
{
    const double n = std::floor(carriers);
    if (n == 1.0) return CarrierCurve::Single;
    if (n == 2.0) return CarrierCurve::Two;
    return CarrierCurve::Many;
}

}  // namespace

const char* detail::TransponderTypeName(TransponderType type)
{
    switch (type) {
    case TransponderTwta: return "TWTA";
    case TransponderLtwta: return "LTWTA";
    case TransponderSspa: return "SSPA";
    }
    return "";
}

double TransponderOutputBackoff(double inputBackoff, double carriers, TransponderType type)
{
    const double x = LimitBackoff(inputBackoff);
    const CarrierCurve curve = CurveFor(carriers);
    switch (type) {
    case TransponderTwta:
        if (curve == CarrierCurve::Single)
            return Polynomial(x, {0.0227120228, 0.0248387324, 0.0213374616, 0.00404278321,
                                  -0.000301172825, 6.2212887e-06});
        if (curve == CarrierCurve::Two)
            return Polynomial(x, {1.22460932, 0.155155023, -0.0269357064, 0.0078844656,
                                  -0.000416292734, 7.21962481e-06});
        return Polynomial(x, {1.78387178, 0.0241814289, 0.0174930232, 0.00224745534,
                              -0.000132717574, 2.24216666e-06});
    case TransponderLtwta:
        if (curve == CarrierCurve::Single)
            return Polynomial(x, {0.0197069836, -0.019027826, 0.0527616778, 0.0130009859,
                                  -0.00185978731, 8.91372461e-05, -1.48801198e-06});
        if (curve == CarrierCurve::Two)
            return Polynomial(x, {1.47911763, 0.0970037474, -0.0619779297, 0.0281850218,
                                  -0.00264043224, 0.000103912965, -1.51487836e-06});
        return Polynomial(x, {1.83147747, 0.00290095384, 0.0614601677, -0.000808585804,
                              -1.77845292e-05});
    case TransponderSspa:
        if (curve == CarrierCurve::Many)
            return Polynomial(x, {1.50786205, 0.39726969, 0.00167671176, 0.00541092432,
                                  -0.000370065955, 7.44394607e-06});
        return Polynomial(x, {-0.0108126662, 0.187888419, 0.136160816, -0.0114876988,
                              0.000480743376, -7.92329852e-06});
    }
    return 0.0;
}

double InputBackoffForOutputBackoff(double outputBackoff, double carriers, TransponderType type)
{
    double lo = 0.0, hi = 20.0, step = 50.0, mid = 0.0;
    while (step > 1e-4) {
        mid = (lo + hi) / 2.0;
        step /= 2.0;
        if (outputBackoff <= TransponderOutputBackoff(mid, carriers, type)) hi = mid;
        else lo = mid;
    }
    return mid < 0.0 ? 0.0 : mid;
}

double TransponderCarrierToIm(double inputBackoff, TransponderType type, double frequency)
{
    const double x = LimitBackoff(inputBackoff);
    switch (type) {
    case TransponderTwta:
        return Polynomial(x, {11.2002487, 0.39844194, 0.0130896892, 0.000951745973,
                              8.62088889e-05, -4.6582737e-06, 3.57311648e-08});
    case TransponderLtwta:
        if (frequency < 9.0)
            return Polynomial(x, {10.5975081, 0.984119015, 0.22899283, -0.086682402,
                                  0.0148831847, -0.000956821745, 2.01910492e-05});
        if (frequency < 15.0)
            return Polynomial(x, {11.6127509, 1.1912336, -0.240381108, 0.0846000327,
                                  -0.0063223553, 0.000139561271});
        return Polynomial(x, {7.89735545, 2.43128561, -0.141217105, 0.0918818025,
                              0.000222237213, -0.00328268323, 0.000412387179,
                              -1.96979799e-05, 3.3616671e-07});
    case TransponderSspa:
        return Polynomial(x, {10.6502243, 0.450767113, 0.606091098, -0.0852430521,
                              0.00526714138, -0.000118205399});
    }
    return 0.0;
}
