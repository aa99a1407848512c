#include "pointing/sun/outage_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "pointing/sun/sun.h"
#include "propagation/antenna.h"
#include "propagation/coordinates.h"

namespace orbiscope::sun {

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
const char* const kShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegToRad = kPi / 180.0;
constexpr double kWideFactor = 1.5;
constexpr double kStartHour = 5.0;     // local standard time
constexpr double kEndHour = 19.0;
constexpr double kMinuteStepHours = 1.0 / 120.0;   // 30 s
constexpr double kSecondStepHours = 1.0 / 7200.0;  // 0.5 s
constexpr double kNoneYet = 24.0;      // begin and peak before the first inside step

// Bounds behind SkipFarSteps.  The sun's geometric direction turns with the
// Earth (15.04 deg/h at most, on the celestial equator) plus its own motion
// along the ecliptic (0.04 deg/h); the bound keeps a margin over both.  The
// refraction lifts the apparent sun by 0 to 1.42 degrees (its largest value
// is near -3 degrees of elevation), so two apparent positions differ by at
// most the geometric motion plus that span; sun_test.cpp checks the span.
constexpr double kMaxSunRateRadPerHour = 15.2 * kDegToRad;
constexpr double kRefractionSpanRad = 1.5 * kDegToRad;

// The inside/outside state of one day's time loop.
struct DayRecord {
    bool hadEvent = false, medium = false, high = false;
    double begin = kNoneYet, end = 0.0, peak = kNoneYet;
    double closest = 360.0;  // radians; any real separation is smaller

    void Inside(double t, double s, const BeamThresholds& th)
    {
        hadEvent = true;
        if (s < closest) {
            closest = s;
            peak = t;
        }
        if (t < begin) begin = t;
        if (t > end) end = t;
        if (s <= th.th3) {
            medium = true;
            if (s <= th.th1) high = true;
        }
    }
    const char* Depth() const { return high ? "High" : medium ? "Medium" : "Low"; }
};

// A time of day moved to GMT, with the whole days it crossed.
struct ShiftedTime {
    double hours;
    int dayShift;
};
ShiftedTime ToGmt(double localHours, double zone)
{
    double h = localHours - zone;
    if (h < 0.0) return {h + 24.0, -1};
    if (h > 24.0) return {h - 24.0, +1};
    return {h, 0};
}

ClockTime SplitHours(bool wholeMinutes, double hours)
{
    ClockTime c;
    int negative = 0;
    TSun::HoursToHms(wholeMinutes, hours, c.h, c.m, c.s, negative);
    return c;
}

OutageEvent MakeEvent(const TSun& sun, double day, const DayRecord& r, const OutageInputs& in)
{
    OutageEvent e;
    e.dayNumber = day;
    e.beginHours = r.begin;
    e.peakHours = r.peak;
    e.endHours = r.end;
    e.depth = r.Depth();
    e.closestDeg = r.closest / kDegToRad;
    e.seconds = in.secondRefinement;
    double begin = r.begin, peak = r.peak, end = r.end;
    int dateShift = 0;
    if (in.gmtOutput) {
        // The row's date is the date of its begin time in the time shown.
        const ShiftedTime b = ToGmt(r.begin, in.zone);
        begin = b.hours;
        dateShift = b.dayShift;
        peak = ToGmt(r.peak, in.zone).hours;
        end = ToGmt(r.end, in.zone).hours;
    }
    e.begin = SplitHours(in.minuteRefinement, begin);
    e.peak = SplitHours(in.minuteRefinement, peak);
    e.end = SplitHours(in.minuteRefinement, end);
    double dayOfMonth = 0.0;
    int year = 0;
    sun.CalendarDate(day + dateShift, dayOfMonth, e.month, year);
    e.day = static_cast<int>(dayOfMonth);
    return e;
}

// Steps after the current one that cannot come within th12 of the axis,
// the current separation being s (radians).
long StepsOutOfReach(double s, double th12, double stepHours)
{
    const double room = s - th12 - kRefractionSpanRad;
    if (!(room > 0.0)) return 0;
    const double steps = std::floor(room / (kMaxSunRateRadPerHour * stepHours)) - 1.0;
    return steps > 0.0 ? static_cast<long>(std::min(steps, 1e9)) : 0;
}

}  // namespace

BeamThresholds OutageThresholds(double apertureM, double frequencyGHz, bool wide)
{
    const double lambda = Wavelength(frequencyGHz);
    auto half = [&](double levelDb) {
        double angleDeg = BeamAngleAtLevel(levelDb, lambda, apertureM, 0) + kSunDiameterDeg;
        if (wide) angleDeg *= kWideFactor;
        return angleDeg * kPi / 360.0;
    };
    return {half(-1.0), half(-3.0), half(-12.0)};
}

double MinimumAperture(double frequencyGHz) { return kMinimumApertureWavelengths * Wavelength(frequencyGHz); }

bool ApertureResolvesBeam(double apertureM, double frequencyGHz)
{
    return std::isfinite(apertureM) && frequencyGHz > 0.0 && apertureM >= MinimumAperture(frequencyGHz);
}

double SunSatelliteSeparation(double sunElevation, double sunAzimuth, double satElevation, double satAzimuth)
{
    const double cE = std::cos(satElevation), sE = std::sin(satElevation);
    const double cA = std::cos(satAzimuth) * cE, sA = std::sin(satAzimuth) * cE;
    const double ce = std::cos(sunElevation);
    const double c = std::sin(sunElevation) * sE + ce * std::sin(sunAzimuth) * sA + ce * std::cos(sunAzimuth) * cA;
    return std::fabs(std::acos(std::clamp(c, -1.0, 1.0)));
}

int FindOutages(TSun& sun, const OutageInputs& in, SeasonGroup group, OutageSink& sink, Stepping stepping)
{
    const BeamThresholds th = OutageThresholds(in.apertureM, in.frequencyGHz, in.wide);
    const double coarseStep = th.th1 / kDegToRad / 15.0;
    const double backUp = 2.0 * (th.th12 / kDegToRad) / 15.0;
    const double satEl = in.satelliteElevation * kDegToRad;
    const double satAz = in.satelliteAzimuth * kDegToRad;
    const bool skip = stepping == Stepping::SkipFarSteps;

    const double first = sun.JulianDay(group.firstDay, group.firstMonth, in.year);
    const double last = sun.JulianDay(group.lastDay, group.lastMonth, in.year);
    double start = kStartHour;
    double step = coarseStep;
    bool minuteCopy = in.minuteRefinement;
    bool secondCopy = in.secondRefinement;
    int events = 0;
    DayRecord today;

    for (double day = first; day <= last;) {
        const bool previousHadEvent = today.hadEvent;
        today = DayRecord{};
        sun.SetJulianDay(day);
        bool wasInside = false;
        bool nutation = true;
        bool backedUp = false;
        for (double t = start; t <= kEndHour;) {
            const double lst = sun.SiderealTime(t, in.year, in.zone, 0);
            sun.PositionAt(lst, nutation);
            const double s = SunSatelliteSeparation(sun.Elevation, sun.Azimuth, satEl, satAz);
            const bool inside = s <= th.th12;
            if (inside && (minuteCopy || secondCopy)) {
                // First entry into the beam: search this day again from a
                // little earlier with the fine step.
                step = minuteCopy ? kMinuteStepHours : kSecondStepHours;
                (minuteCopy ? minuteCopy : secondCopy) = false;
                start = t - backUp;
                backedUp = true;
                break;
            }
            if (inside) today.Inside(t, s, th);
            nutation = false;
            if (!sink.Step()) return events;
            if (wasInside && !inside) break;  // the day's passage is over
            wasInside = inside;
            t += step;
            if (skip && !inside) {
                for (long k = StepsOutOfReach(s, th.th12, step); k > 0 && t <= kEndHour; --k) t += step;
            }
        }
        if (backedUp) continue;  // the same day again
        if (today.hadEvent) {
            ++events;
            sink.Event(MakeEvent(sun, day, today, in));
        }
        if (previousHadEvent && !today.hadEvent) break;  // the season's run of days is over
        day += 1.0;
    }
    if (events == 0) sink.NoOutages();
    return events;
}

std::string FormatEventColumns(const OutageEvent& e)
{
    char buf[160];
    if (e.seconds) {
        std::snprintf(buf, sizeof buf, "\t%.2d:%.2d:%.2d\t%.2d:%.2d:%.2d\t%.2d:%.2d:%.2d\t%s\t%.4lf", e.begin.h,
                      e.begin.m, e.begin.s, e.peak.h, e.peak.m, e.peak.s, e.end.h, e.end.m, e.end.s, e.depth,
                      e.closestDeg);
    } else {
        std::snprintf(buf, sizeof buf, "\t%.2d:%.2d\t%.2d:%.2d\t%.2d:%.2d\t%s\t%.2lf", e.begin.h, e.begin.m,
                      e.peak.h, e.peak.m, e.end.h, e.end.m, e.depth, e.closestDeg);
    }
    return buf;
}

}  // namespace orbiscope::sun
