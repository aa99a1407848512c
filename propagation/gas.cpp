#include "propagation/gas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "propagation/atmosphere.h"

namespace {

#include "gas_tables.inc"

static_assert(sizeof(kOxygenLineTable) / sizeof(kOxygenLineTable[0]) == detail::kOxygenLineRows);
static_assert(sizeof(kOxygenHeightTable) / sizeof(kOxygenHeightTable[0]) == detail::kOxygenHeightRows);
static_assert(sizeof(kWaterVapourTable) / sizeof(kWaterVapourTable[0]) == detail::kWaterVapourRows);

constexpr double kDegToRad = std::numbers::pi / 180.0;

// Linear interpolation of the four coefficients of a frequency table between
// the first row whose frequency is greater than f and the row before it.
// Outside the table the end bracket is used with its end row's coefficients,
// so no row outside the table is read and nothing is extrapolated.
struct Coefficients { double c0, c1, c2, c3; };

Coefficients Interpolate(const double (*table)[5], int rows, double f)
{
    // The rows rise in frequency: the first one above f is found by halving.
    // A frequency that is not a number is above no row and takes the end one.
    int upper = int(std::upper_bound(table + 1, table + rows, f,
                                     [](double x, const double* row) { return x < row[0]; }) -
                    table);
    double weight;
    if (upper >= rows) {
        upper = rows - 1;
        weight = 1.0;
    } else {
        const double* lo = table[upper - 1];
        const double* hi = table[upper];
        weight = (f - lo[0]) / (hi[0] - lo[0]);
        if (!(weight > 0.0)) weight = 0.0;   // below the first row (or not a number)
    }
    const double* lo = table[upper - 1];
    const double* hi = table[upper];
    return {lo[1] + (hi[1] - lo[1]) * weight, lo[2] + (hi[2] - lo[2]) * weight,
            lo[3] + (hi[3] - lo[3]) * weight, lo[4] + (hi[4] - lo[4]) * weight};
}

// sin of a path elevation, held above 0 so that a grazing path stays finite.
double PathSine(double elevationRad)
{
    const double s = std::sin(elevationRad);
    return s > 0.0 ? s : std::sin(1e-6);
}

}  // namespace

namespace detail {
const double* OxygenLineRow(int row) { return kOxygenLineTable[row]; }
const double* OxygenHeightRow(int row) { return kOxygenHeightTable[row]; }
const double* WaterVapourRow(int row) { return kWaterVapourTable[row]; }
}  // namespace detail

namespace {

// What each oxygen line needs of the temperature ratio alone.  The ratio is
// held to float precision, and a budget asks for the gases of one site at
// many availabilities from the same mean temperature, so the powers and
// exponentials of the 44 lines are worked out once per ratio.
struct OxygenLineFactors {
    bool filled = false;
    double theta = 0.0;
    double thetaPow08 = 0.0;
    double exponential[detail::kOxygenLineRows] = {};
    double widthPower[detail::kOxygenLineRows] = {};
};

const OxygenLineFactors& LineFactorsAt(double theta)
{
    thread_local OxygenLineFactors held;
    if (!held.filled || std::memcmp(&held.theta, &theta, sizeof theta) != 0) {
        for (int i = 0; i < detail::kOxygenLineRows; ++i) {
            const double* line = kOxygenLineTable[i];
            held.exponential[i] = std::exp(line[2] * (1.0 - theta));
            held.widthPower[i] = std::pow(theta, 0.8 - line[4]);
        }
        held.thetaPow08 = std::pow(theta, 0.8);
        held.theta = theta;
        held.filled = true;
    }
    return held;
}

}  // namespace

double OxygenSlantAttenuation(double frequency, double elevationRad, double temperatureP,
                              double pressureP, double densityP, double temperatureMean,
                              double pressureMean, double densityMean)
{
    const double f = frequency;
    const double e = densityMean * temperatureMean * 0.004614674665436087;   // / 216.7
    const double theta = static_cast<float>(300.0 / temperatureMean);
    const double p = pressureMean - e;
    const OxygenLineFactors& factors = LineFactorsAt(theta);
    const double thetaPow08 = factors.thetaPow08;

    double sum = 0.0;
    for (int i = 0; i < detail::kOxygenLineRows; ++i) {
        const double* line = kOxygenLineTable[i];
        const double fi = line[0];
        const double strength = line[1] * 1e-7 * p * theta * theta * theta * factors.exponential[i];
        double width = line[3] * 1e-4 * (p * factors.widthPower[i] + 1.1 * e * theta);
        width = std::sqrt(width * width + 2.25e-6);
        const double delta = (line[5] + line[6] * theta) * 1e-4 * (p + e) * thetaPow08;
        const double shape =
            (f / fi) * ((width - delta * (fi - f)) / ((fi - f) * (fi - f) + width * width) +
                        (width - delta * (fi + f)) / ((fi + f) * (fi + f) + width * width));
        sum += strength * shape;
    }

    const double w = 5.6e-4 * (p + e) * thetaPow08;
    const double dry = f * p * theta * theta *
                       (6.14e-5 / (w * (1.0 + (f / w) * (f / w))) +
                        1.4e-12 * p * std::pow(theta, 1.5) / (1.0 + 1.9e-5 * std::pow(f, 1.5)));
    const double gammaO = 0.182 * f * (sum + dry);

    const Coefficients h = Interpolate(kOxygenHeightTable, detail::kOxygenHeightRows, f);
    const double heightO = h.c0 + h.c1 * temperatureP + h.c2 * pressureP + h.c3 * densityP;
    return gammaO * heightO / PathSine(elevationRad);
}

double WaterVapourSlantAttenuation(double frequency, double elevationRad, double contentP,
                                   double temperatureMean, double pressureMean,
                                   double densityMean)
{
    // The trailing row of zeros is not part of the frequency table.
    const Coefficients d = Interpolate(kWaterVapourTable, detail::kWaterVapourRows - 1, frequency);
    return (d.c0 + d.c1 * densityMean + d.c2 * temperatureMean + d.c3 * pressureMean) * contentP /
           PathSine(elevationRad);
}

double GaseousAttenuation(double latitude, double longitude, double frequency,
                          double elevation, double siteHeight, double availability)
{
    siteHeight = std::clamp(siteHeight, 0.0, 10.0);
    availability = std::clamp(availability, 50.0, 95.0);
    const double elevationRad = elevation * kDegToRad;

    const float lat = static_cast<float>(latitude);
    const float lon = static_cast<float>(longitude);
    const float h = static_cast<float>(siteHeight);
    const float a = static_cast<float>(availability);

    const double tMean = MeanTemperatureAt(lat, lon, h);
    const double pMean = MeanPressureAt(lat, lon, h);
    const double rhoMean = MeanWaterVapourDensityAt(lat, lon, h);
    const double tP = TemperatureAt(lat, lon, h, a);
    const double pP = PressureAt(lat, lon, h, a);
    const double rhoP = WaterVapourDensityAt(lat, lon, h, a);
    const double vP = WaterVapourContentAt(lat, lon, h, a);

    return OxygenSlantAttenuation(frequency, elevationRad, tP, pP, rhoP, tMean, pMean, rhoMean) +
           WaterVapourSlantAttenuation(frequency, elevationRad, vP, tMean, pMean, rhoMean);
}
