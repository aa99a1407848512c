#include "pointing/sun/solar_out_record.h"

#include <cmath>
#include <string>

#include "framework/forms/field_check.h"
#include "propagation/coordinates.h"

namespace orbiscope::sun {

void SetSolarOutDefaults(SolarOutRecord& r)
{
    r = SolarOutRecord{};
    r.standard.Set(1);
    r.minute.Set(1);
    r.local.Set(1);
}

SolarOutInputs ParseSolarOutInputs(const SolarOutRecord& r)
{
    SolarOutInputs p;
    p.siteLatitude = ParseLatLon(FieldView(r.siteLatitude));
    p.siteLongitude = ParseLatLon(FieldView(r.siteLongitude));
    p.satLongitude = ParseLatLon(FieldView(r.satLongitude));
    p.year = static_cast<int>(std::trunc(LeadingNumber(FieldView(r.year))));
    p.zone = LeadingNumber(FieldView(r.zone));
    p.apertureM = LeadingNumber(FieldView(r.aperture));
    p.frequencyGHz = LeadingNumber(FieldView(r.frequency));
    return p;
}

OutageInputs SearchInputs(const SolarOutRecord& r, const SolarOutInputs& p, double satElevation, double satAzimuth)
{
    OutageInputs in;
    in.satelliteElevation = satElevation;
    in.satelliteAzimuth = satAzimuth;
    in.year = p.year;
    in.zone = p.zone;
    in.apertureM = p.apertureM;
    in.frequencyGHz = p.frequencyGHz;
    in.wide = !r.standard.On();
    in.minuteRefinement = r.minute.On();
    in.secondRefinement = r.second.On();
    in.gmtOutput = r.gmt.On();
    return in;
}

}  // namespace orbiscope::sun
