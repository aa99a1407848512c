#include "linkbudget/isolated/isolated_budget.h"

namespace isolated {

void LookAngles(const IsolatedInputs& in, RgnUplinkGeometry& geo)
{
    if (!in.geoMode) {
        geo.elevation = in.elevation;
        return;
    }
    double magneticAzimuth = 0.0;
    GeoLookAngles(in.latitude, in.longitude, in.satLongitude, 0.0, &geo.declination, &geo.range, &geo.elevation,
                  &geo.azimuth, &magneticAzimuth, &geo.polarizationOffset);
    geo.compassBearing = magneticAzimuth;
}

void DeriveGeometry(LinkAtmosphere& atm, const IsolatedInputs& in, RgnUplinkGeometry& geo)
{
    using lbcalc::kPi;
    geo.altitude = in.altitudeAuto
                       ? atm.TopoHeight(lbcalc::MapArgument(in.latitude), lbcalc::MapArgument(in.longitude))
                       : in.altitude;
    if (in.geoMode) {
        geo.longitudeDifference = LongitudeDifference(in.longitude, in.satLongitude);
    } else {
        geo.range = in.range;
        geo.elevation = in.elevation;
        geo.longitudeDifference = in.longitudeDifference;
    }
    const double rangeM = geo.range * 1000.0;
    geo.freeSpaceLoss = 20.0 * std::log10(4.0 * kPi * rangeM / geo.wavelength);
    geo.spreadingLoss = std::fabs(10.0 * std::log10(1.0 / (4.0 * kPi * rangeM * rangeM)));
}

double AntennaGain(const IsolatedInputs& in, double wavelengthM)
{
    const double aperture = lbcalc::kPi * in.diameter;
    return 10.0 * std::log10(aperture * aperture * in.efficiency / (wavelengthM * wavelengthM * 100.0));
}

lbpath::PathSite PathSiteOf(const IsolatedInputs& in, const RgnUplinkGeometry& geo)
{
    return lbpath::PathSite{in.latitude,   in.longitude,  in.frequency,         in.diameter,
                            in.efficiency, geo.elevation, geo.altitude,         geo.polarizationTerm,
                            in.rainRate,   in.polarization, in.rainSource,      in.clearSky};
}

}  // namespace isolated
