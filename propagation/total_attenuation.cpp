#include "propagation/total_attenuation.h"

#include <cmath>
#include <limits>

namespace {

double PowerSumDb(double sum)
{
    if (!(sum > 0.0)) sum = 1e-12;
    if (std::isinf(sum)) sum = std::numeric_limits<double>::max();   // keeps the result finite
    return -10.0 * std::log10(sum);
}

double Linear(double db) { return std::pow(10.0, -db / 10.0); }

}  // namespace

double TotalAttenuation(double gaseous, double rain, double cloud, double scintillation,
                        double availability)
{
    const float p = static_cast<float>(100.0 - availability);
    if (p > 5.0f) return gaseous + std::sqrt(cloud * cloud + scintillation * scintillation);
    const double wet = rain + cloud;
    return gaseous + std::sqrt(wet * wet + scintillation * scintillation);
}

double CombineCN2(double a, double b)
{
    return PowerSumDb(Linear(a) + Linear(b));
}

double CombineCN3(double a, double b, double c)
{
    return PowerSumDb(Linear(a) + Linear(b) + Linear(c));
}

double CombineCN4(double a, double b, double c, double d)
{
    return PowerSumDb(Linear(a) + Linear(b) + Linear(c) + Linear(d));
}
