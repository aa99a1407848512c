#include "rftools/tables/solar_transit_table.h"

#include "pointing/sun/outage_search.h"
#include "pointing/sun/sun.h"
#include "propagation/coordinates.h"
#include "pointing/alignment/look_angles.h"

namespace orbiscope::tables {

namespace {

// The search's time window (hours of local standard time) and its tolerance.
constexpr double kDayStartHours = 0.0;
constexpr double kDayEndHours = 24.0;
constexpr double kToleranceHours = 0.0001;
// The sun at its meridian: due south seen from the equator or north of it,
// due north from south of it.
constexpr double kSouthDeg = 180.0;
constexpr double kNorthDeg = 0.0;

const char* MonthName(int month)
{
    return month >= 1 && month <= 12 ? orbiscope::sun::kMonthNames[month - 1] : "";
}

struct TransitInputs {
    double latitude = 0, longitude = 0, targetLongitude = 0, zone = 0;
    int month = 0, year = 0;
    bool transit = false;
};

TransitInputs Parse(const SolarTransitRecord& r)
{
    TransitInputs in;
    in.latitude = ParseLatLon(FieldText(r.siteLatitude));
    in.longitude = ParseLatLon(FieldText(r.siteLongitude));
    in.targetLongitude = ParseLatLon(FieldText(r.targetLongitude));
    in.zone = FieldNumber(FieldView(r.zone));
    in.month = int(FieldWhole(FieldView(r.month)));
    in.year = int(FieldWhole(FieldView(r.year)));
    in.transit = in.targetLongitude == in.longitude;
    return in;
}

// One day's row: "Never" when the sun does not reach the azimuth that day,
// "*" when it reaches the opposite bearing instead.
std::string DayRow(TSun& sun, const TransitInputs& in, double targetAzimuth, int day)
{
    sun.SetJulianDay(sun.JulianDay(day, in.month, in.year));
    // The search's bisection follows the sun's sweep through the south north
    // of the equator and through the north south of it, the same side the
    // target azimuth is taken from.
    const int direction = in.latitude >= 0.0 ? 1 : -1;
    const double t = sun.FindEvent(in.transit ? 1 : 0, kDayStartHours, kDayEndHours, kToleranceHours, targetAzimuth,
                                   in.year, in.zone, direction);
    const char* month = MonthName(in.month);
    if (t == orbiscope::sun::kNoEvent) return ReportFormat("%s %d\t%s", month, day, "Never");
    int h = 0, m = 0, s = 0, negative = 0;
    TSun::HoursToHms(false, t < 0.0 ? -t : t, h, m, s, negative);
    if (t < 0.0) return ReportFormat("%s %d *\t%.2d:%.2d:%.2d", month, day, h, m, s);
    return ReportFormat("%s %d\t%.2d:%.2d:%.2d", month, day, h, m, s);
}

}  // namespace

int DaysInMonth(int month, int year)
{
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

SolarTransitTable SolarTransit(const SolarTransitRecord& r, const ReportHeading& heading)
{
    const TransitInputs in = Parse(r);
    SolarTransitTable result;
    double targetAzimuth = in.latitude >= 0.0 ? kSouthDeg : kNorthDeg;
    std::string title = ReportFormat("Solar Transit Times (%d/%d)", in.month, in.year);
    if (!in.transit) {
        const SiteLookAngles look = LookAnglesFrom(in.latitude, in.longitude, in.targetLongitude);
        if (look.elevation < 0.0) {
            result.belowHorizon = true;
            return result;
        }
        targetAzimuth = look.trueAzimuth;
        title = ReportFormat("Sun/Satellite Azimuth Coincidence Times (%d/%d)", in.month, in.year);
    }

    TableText& t = result.table;
    t.tabs = AbsoluteTab(300);
    ReportWriter line = t.Writer();
    WriteReportHeading(line, title.c_str(), heading);
    line.Blank();
    line.Append("Notes~");
    line.Append("(1) All calculations in Local Standard Time (LST)");
    line.Append("(2) Add local daylight saving as appropriate");
    if (!in.transit) line.Append("(3) Dates marked with * , have sun's azimuth 180\xB0 different to that shown");
    line.Blank();
    line.Append("Site Details~");
    line("Site Location\t%s", FieldText(r.siteName).c_str());
    line("Site Latitude\t%s", FieldText(r.siteLatitude).c_str());
    line("Site Longitude\t%s", FieldText(r.siteLongitude).c_str());
    line("International Time Zone\t%s", FieldText(r.zone).c_str());
    if (!in.transit) line("Satellite Longitude\t%s degrees", FieldText(r.targetLongitude).c_str());
    line("Coincidence Azimuth\t%.2lf degrees", targetAzimuth);
    line("Month\t%s %s", MonthName(in.month), FieldText(r.year).c_str());
    line.Blank();
    line.Append(in.transit ? "Date\tSolar Transit Time~" : "Date\tTime (Sun AZ = Sat AZ)~");

    TSun sun(in.latitude, in.longitude);
    const int days = DaysInMonth(in.month, in.year);
    for (int day = 1; day <= days; ++day) line.Append(DayRow(sun, in, targetAzimuth, day));
    t.caption = in.transit ? ReportFormat("Solar Transit Times (%d/%d)", in.month, in.year)
                           : ReportFormat("Sun AZ = Sat AZ Times (%d/%d)", in.month, in.year);
    return result;
}

}  // namespace orbiscope::tables
