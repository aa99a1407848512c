#include "rftools/calculators/wind_loading.h"

#include <numbers>

namespace rfcalc {

namespace {
// Dynamic pressure of sea-level air per (km/h)^2, in kgf/m^2 (about
// 0.5 rho v^2 / g), and the model's factors on the pressure and on the speed.
constexpr double kPressurePerSpeedSquared = 0.004826;
constexpr double kDensityFactor = 0.98;
constexpr double kSpeedFactor = 0.95;
// The two load factors on the force, applied in this order.
constexpr double kDragFactor = 1.3;
constexpr double kGustFactor = 1.2;
constexpr double kMeshSurface = 0.6;
}  // namespace

WindLoad WindLoadOf(const WindLoadInputs& in)
{
    const double speed = kSpeedFactor * in.windSpeed_kmh;
    const double pressure = kPressurePerSpeedSquared * kDensityFactor * speed * speed;
    const double surface = in.mesh ? kMeshSurface : 1.0;
    const double area = std::numbers::pi * (in.minorDiameter_m / 2.0) * (in.majorDiameter_m / 2.0) * surface;
    const double force = pressure * kDragFactor * kGustFactor * area;
    WindLoad r;
    r.moment_kgm = force * in.centreToFrame_m;
    r.ballast_kg = r.moment_kgm / in.poleToFrameEdge_m - in.weight_kg;
    return r;
}

}  // namespace rfcalc
