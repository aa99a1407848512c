#include "pointing/sun/outage_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>
#include <vector>

#include "framework/output/report_format.h"
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
// refraction lifts the apparent sun by 0 to 1.47 degrees, with a bounded
// slope and two jumps (outage_search.h).  Along the great circle between
// two geometric directions the apparent direction moves at most (1 + slope)
// times as fast vertically and cos(e + lift) / cos(e) < kLiftStretch times
// as fast across (lifted only above -5 degrees); the circle crosses each
// jump's elevation at most twice.  So between two steps the separation from
// the satellite changes by at most the geometric motion times
// (kLiftStretch + slope), plus twice the jumps the elevations between them
// may reach, plus rounding.
constexpr double kMaxSunRateRadPerHour = 15.2 * kDegToRad;
constexpr double kLiftStretch = 1.01;
// Rounding of a computed separation, radians, the acos near the axis being
// the worst (about 1.5e-8); counted once in every bound.
constexpr double kRoundingRad = 2e-7;

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

// How much the separation can change over n steps before or after a step at
// apparent elevation `elevation` (radians): rate x n + constant.  The lowest
// geometric elevation reached decides which refraction pieces and jumps count.
struct Reach {
    double perStep, constant;
    double Over(double n) const { return perStep * n + constant; }
};
Reach ReachOver(double elevation, double n, double stepHours)
{
    const double perStep = kMaxSunRateRadPerHour * stepHours;
    const double lowestDeg = elevation / kDegToRad - kRefractionMaxLiftDeg - perStep * n / kDegToRad;
    double slope = kRefractionSlopeLow, jumpDeg = kRefractionJumpAt15Deg + kRefractionJumpAtMinus5Deg;
    if (lowestDeg > 15.0) {
        slope = kRefractionSlopeHigh;
        jumpDeg = 0.0;
    } else if (lowestDeg > -5.0) {
        jumpDeg = kRefractionJumpAt15Deg;
    }
    return {(kLiftStretch + slope) * perStep, 2.0 * jumpDeg * kDegToRad + kRoundingRad};
}

// The number of steps after a step at `elevation` over which the separation
// surely changes by less than `margin` (radians): the sun stays on the side
// of the -12 dB edge it is on when margin is its distance from the edge.
long SureSteps(double margin, double elevation, double stepHours)
{
    if (!(margin > 0.0)) return 0;
    const double perStepDeg = kMaxSunRateRadPerHour * stepHours / kDegToRad;
    const double elevationDeg = elevation / kDegToRad;
    // The refraction pieces from the smoothest; each holds while the lowest
    // elevation stays above its floor (no floor for the last).
    const double floors[] = {15.0, -5.0, -1e9};
    double best = 0.0;
    for (double floorDeg : floors) {
        const double room = (elevationDeg - kRefractionMaxLiftDeg - floorDeg) / perStepDeg;  // steps the piece holds for
        if (!(room > 0.0)) continue;
        const double limit = std::min(std::ceil(room) - 1.0, 1e9);
        const Reach r = ReachOver(elevation, limit, stepHours);
        const double x = (margin - r.constant) / r.perStep;
        if (!(x > 0.0)) continue;
        best = std::max(best, std::min(std::ceil(x) - 1.0, limit));
    }
    return static_cast<long>(best);
}

// A step of one day's passage whose sun position was computed.
struct Probe {
    long index;  // steps from the passage's first inside step
    double t, s, elevation;
};

// The least separation the steps strictly between two probes can have.
double LowestBetween(const Probe& a, const Probe& b, double stepHours)
{
    const double n = static_cast<double>(b.index - a.index);
    const Reach ra = ReachOver(a.elevation, n, stepHours), rb = ReachOver(b.elevation, n, stepHours);
    // max(a.s - ra(x), b.s - rb(n - x)) is least where the two meet.
    double x = (a.s - ra.constant - b.s + rb.constant + rb.perStep * n) / (ra.perStep + rb.perStep);
    x = std::clamp(x, 1.0, n - 1.0);
    return std::max(a.s - ra.Over(x), b.s - rb.Over(n - x));
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

std::string ApertureRangeMessage(double apertureM, double frequencyGHz, std::string_view frequencyText,
                                 double largestApertureM)
{
    if (ApertureResolvesBeam(apertureM, frequencyGHz)) return {};
    const std::string frequency(frequencyText);
    char text[200];
    if (!ApertureResolvesBeam(largestApertureM, frequencyGHz))
        std::snprintf(text, sizeof text,
                      "Frequency\r\n%s GHz is too low for any antenna aperture up to %.0f m (the beam needs 1.22 "
                      "wavelengths)",
                      frequency.c_str(), largestApertureM);
    else
        std::snprintf(text, sizeof text, "Antenna aperture\r\nmust be at least %.4f m at %s GHz (1.22 wavelengths)",
                      MinimumAperture(frequencyGHz), frequency.c_str());
    return text;
}

double SunSatelliteSeparation(double sunElevation, double sunAzimuth, double satElevation, double satAzimuth)
{
    const double cE = std::cos(satElevation), sE = std::sin(satElevation);
    const double cA = std::cos(satAzimuth) * cE, sA = std::sin(satAzimuth) * cE;
    const double ce = std::cos(sunElevation);
    const double c = std::sin(sunElevation) * sE + ce * std::sin(sunAzimuth) * sA + ce * std::cos(sunAzimuth) * cA;
    return std::fabs(std::acos(std::clamp(c, -1.0, 1.0)));
}

namespace {

// One season's search.  The day loop is the plain one: from `start` to 19 h
// in steps, the first entry into the beam backing up for the fine step.
// With SkipFarSteps the steps whose side of the edge is certain are left
// out, and a passage, once entered, is finished by Passage.
class Search {
public:
    Search(TSun& sun, const OutageInputs& in, OutageSink& sink, bool skip)
        : sun_(sun), in_(in), sink_(sink), skip_(skip), th_(OutageThresholds(in.apertureM, in.frequencyGHz, in.wide)),
          satEl_(in.satelliteElevation * kDegToRad), satAz_(in.satelliteAzimuth * kDegToRad)
    {
    }

    int Run(SeasonGroup group)
    {
        const double coarseStep = th_.th1 / kDegToRad / 15.0;
        const double backUp = 2.0 * (th_.th12 / kDegToRad) / 15.0;
        const double first = sun_.JulianDay(group.firstDay, group.firstMonth, in_.year);
        const double last = sun_.JulianDay(group.lastDay, group.lastMonth, in_.year);
        start_ = kStartHour;
        step_ = coarseStep;
        minuteCopy_ = in_.minuteRefinement;
        secondCopy_ = in_.secondRefinement;
        int events = 0;
        DayRecord today;
        for (double day = first; day <= last;) {
            const bool previousHadEvent = today.hadEvent;
            today = DayRecord{};
            sun_.SetJulianDay(day);
            DayEnd end = Day(today, skip_, backUp);
            if (end == DayEnd::BoundBroken) {
                // Not expected: the bounds failed at a step.  The plain day
                // loop gives the rows all the same.
                today = DayRecord{};
                end = Day(today, false, backUp);
            }
            if (end == DayEnd::Stopped) return events;
            if (end == DayEnd::BackedUp) continue;  // the same day again
            if (today.hadEvent) {
                ++events;
                sink_.Event(MakeEvent(sun_, day, today, in_));
            }
            if (previousHadEvent && !today.hadEvent) break;  // the season's run of days is over
            day += 1.0;
        }
        if (events == 0) sink_.NoOutages();
        return events;
    }

private:
    enum class DayEnd { Done, BackedUp, Stopped, BoundBroken };

    // The sun's separation from the satellite at local time t of the day set.
    double At(double t, bool nutation)
    {
        sun_.PositionAt(sun_.SiderealTime(t, in_.year, in_.zone, 0), nutation);
        return SunSatelliteSeparation(sun_.Elevation, sun_.Azimuth, satEl_, satAz_);
    }

    DayEnd Day(DayRecord& today, bool skip, double backUp)
    {
        bool wasInside = false;
        bool nutation = true;
        for (double t = start_; t <= kEndHour;) {
            const double s = At(t, nutation);
            const bool inside = s <= th_.th12;
            if (inside && (minuteCopy_ || secondCopy_)) {
                // First entry into the beam: search this day again from a
                // little earlier with the fine step.
                step_ = minuteCopy_ ? kMinuteStepHours : kSecondStepHours;
                (minuteCopy_ ? minuteCopy_ : secondCopy_) = false;
                start_ = t - backUp;
                return DayEnd::BackedUp;
            }
            nutation = false;
            if (inside && skip) return Passage({0, t, s, sun_.Elevation}, today);
            if (inside) today.Inside(t, s, th_);
            if (!sink_.Step()) return DayEnd::Stopped;
            if (wasInside && !inside) break;  // the day's passage is over
            wasInside = inside;
            t += step_;
            if (skip && !inside) {
                for (long k = SureSteps(s - th_.th12, sun_.Elevation, step_); k > 0 && t <= kEndHour; --k) t += step_;
            }
        }
        return DayEnd::Done;
    }

    // Evaluates the step `steps` after `from` (its time advanced step by
    // step, as the plain loop does) into `p`.
    Probe ProbeAfter(const Probe& from, long steps)
    {
        double t = from.t;
        for (long k = 0; k < steps; ++k) t += step_;
        const double s = At(t, false);
        return {from.index + steps, t, s, sun_.Elevation};
    }

    // The rest of a day from its first inside step: what the plain loop
    // records of the passage (its first and last inside step, the closest
    // step, the depth), from as few sun positions as the bounds allow.
    DayEnd Passage(const Probe& entry, DayRecord& today)
    {
        if (!sink_.Step()) return DayEnd::Stopped;
        probes_.assign(1, entry);
        bool exited = false;
        Probe exit {};
        for (;;) {
            const Probe c = probes_.back();
            // Steps surely inside, then the first step that may not be.
            const long sure = SureSteps(th_.th12 - c.s, c.elevation, step_);
            double t = c.t, previous = c.t;
            long k = 0;
            bool dayOver = false;
            for (; k <= sure; ++k) {
                previous = t;
                t += step_;
                if (!(t <= kEndHour)) {
                    dayOver = true;
                    break;
                }
            }
            // The last step of the passage, when not yet computed.
            auto lastInside = [&](long stepsAfterC) {
                if (stepsAfterC == 0) return true;
                const double s = At(previous, false);
                const Probe p{c.index + stepsAfterC, previous, s, sun_.Elevation};
                if (!sink_.Step()) return false;
                probes_.push_back(p);
                return true;
            };
            if (dayOver) {
                if (!lastInside(k)) return DayEnd::Stopped;
                break;
            }
            const double s = At(t, false);
            const Probe p{c.index + k, t, s, sun_.Elevation};
            if (!sink_.Step()) return DayEnd::Stopped;
            if (p.s <= th_.th12) {
                probes_.push_back(p);
                continue;
            }
            if (!lastInside(k - 1)) return DayEnd::Stopped;
            exit = p;
            exited = true;
            break;
        }
        for (const Probe& p : probes_) {
            if (!(p.s <= th_.th12)) return DayEnd::BoundBroken;
        }
        // The closest step: between two computed steps, compute more only
        // where the bounds allow a separation at or below the least so far.
        double least = probes_.front().s;
        for (const Probe& p : probes_) least = std::min(least, p.s);
        gaps_.clear();
        for (std::size_t i = 0; i + 1 < probes_.size(); ++i) gaps_.emplace_back(probes_[i], probes_[i + 1]);
        if (exited) gaps_.emplace_back(probes_.back(), exit);
        const std::size_t passageProbes = probes_.size();
        while (!gaps_.empty()) {
            const auto [a, b] = gaps_.back();
            gaps_.pop_back();
            if (b.index - a.index < 2 || LowestBetween(a, b, step_) > least) continue;
            const Probe m = ProbeAfter(a, (b.index - a.index) / 2);
            if (!sink_.Step()) return DayEnd::Stopped;
            if (!(m.s <= th_.th12)) return DayEnd::BoundBroken;
            probes_.push_back(m);
            least = std::min(least, m.s);
            gaps_.emplace_back(a, m);
            gaps_.emplace_back(m, b);
        }
        // Record in step order, as the plain loop does.
        std::sort(probes_.begin() + static_cast<std::ptrdiff_t>(passageProbes), probes_.end(),
                  [](const Probe& x, const Probe& y) { return x.index < y.index; });
        std::inplace_merge(probes_.begin(), probes_.begin() + static_cast<std::ptrdiff_t>(passageProbes),
                           probes_.end(),
                           [](const Probe& x, const Probe& y) { return x.index < y.index; });
        for (const Probe& p : probes_) today.Inside(p.t, p.s, th_);
        return DayEnd::Done;
    }

    TSun& sun_;
    const OutageInputs& in_;
    OutageSink& sink_;
    const bool skip_;
    const BeamThresholds th_;
    const double satEl_, satAz_;
    double start_ = kStartHour;
    double step_ = 0;
    bool minuteCopy_ = false, secondCopy_ = false;
    std::vector<Probe> probes_;
    std::vector<std::pair<Probe, Probe>> gaps_;
};

}  // namespace

int FindOutages(TSun& sun, const OutageInputs& in, SeasonGroup group, OutageSink& sink, Stepping stepping)
{
    return Search(sun, in, sink, stepping == Stepping::SkipFarSteps).Run(group);
}

std::string FormatEventColumns(const OutageEvent& e)
{
    if (e.seconds)
        return ReportFormat("\t%.2d:%.2d:%.2d\t%.2d:%.2d:%.2d\t%.2d:%.2d:%.2d\t%s\t%.4lf", e.begin.h, e.begin.m,
                            e.begin.s, e.peak.h, e.peak.m, e.peak.s, e.end.h, e.end.m, e.end.s, e.depth, e.closestDeg);
    return ReportFormat("\t%.2d:%.2d\t%.2d:%.2d\t%.2d:%.2d\t%s\t%.2lf", e.begin.h, e.begin.m, e.peak.h, e.peak.m,
                        e.end.h, e.end.m, e.depth, e.closestDeg);
}

}  // namespace orbiscope::sun
