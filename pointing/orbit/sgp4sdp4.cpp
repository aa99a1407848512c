// The element table, the conversion of an element set into the model's units,
// and the choice between SGP4 and SDP4.
#include "pointing/orbit/sgp4sdp4.h"

#include "pointing/orbit/orbit_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

using namespace orbit_constants;

namespace {

// An inclination field of exactly 0 is taken as this, degrees.
constexpr double kZeroInclinationDeg = 1e-6;
constexpr double kMaxInclinationDeg = 180.0;
constexpr std::size_t kElementLineLength = 69;

// The integer part of a number, or 0 when it does not fit.
std::int32_t WholeNumber(double value) {
    if (!(std::fabs(value) < 2147483647.0)) return 0;
    return static_cast<std::int32_t>(std::trunc(value));
}

OrbitStatus CheckElements(const TleElements& e) {
    const double values[] = {e.meanAnomaly, e.rightAscension, e.argumentOfPerigee, e.eccentricity,
                             e.inclination, e.meanMotion, e.bstar, e.epoch};
    for (double v : values) {
        if (!std::isfinite(v)) return OrbitStatus::BadElements;
    }
    if (e.eccentricity < 0.0 || e.eccentricity >= 1.0) return OrbitStatus::BadElements;
    if (e.inclination < 0.0 || e.inclination >= kMaxInclinationDeg * kDegToRad) return OrbitStatus::BadElements;
    if (!(e.meanMotion > 0.0)) return OrbitStatus::BadElements;
    return OrbitStatus::Ok;
}

}  // namespace

TSgp4Sdp4::TSgp4Sdp4() = default;

void TSgp4Sdp4::SetEntries(std::vector<TleEntry> entries) {
    entries_ = std::move(entries);
    prepared_.assign(entries_.size(), PreparedSet{});
    deep_.clear();
    current_ = nullptr;
}

double TSgp4Sdp4::TleField(const char* line, int first, int last) {
    if (line == nullptr || first < 1 || last < first) return 0.0;
    const std::size_t length = strnlen(line, kElementLineLength + 1);
    if (static_cast<std::size_t>(first) > length) return 0.0;
    const char* begin = line + first - 1;
    const char* end = line + std::min<std::size_t>(static_cast<std::size_t>(last), length);
    while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
    if (begin < end && *begin == '+') {
        ++begin;
        if (begin < end && *begin == '-') return 0.0;
    }
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value);
    return result.ec == std::errc() ? value : 0.0;
}

void TSgp4Sdp4::ConvertSet(const TleEntry& entry, PreparedSet& set) {
    const char* l1 = entry.line1;
    const char* l2 = entry.line2;
    TleElements& el = set.elements;
    el = TleElements{};

    set.catalogueNumber = WholeNumber(TleField(l1, 3, 7));
    el.epoch = TleField(l1, 19, 32);
    set.epochJulianDate = JulianDateOfEpoch(el.epoch);
    el.meanMotionDot2 = TleField(l1, 34, 43);
    const double ddotMantissa = TleField(l1, 45, 50) * 1e-5;
    const double ddotExponent = TleField(l1, 51, 52);
    const double bstarMantissa = TleField(l1, 54, 59) * 1e-5;
    const double bstarExponent = TleField(l1, 60, 61);
    set.elementSetNumber = WholeNumber(TleField(l1, 66, 68));

    double inclinationDeg = TleField(l2, 9, 16);
    el.rightAscension = TleField(l2, 18, 25);
    el.eccentricity = TleField(l2, 27, 33) * 1e-7;
    el.argumentOfPerigee = TleField(l2, 35, 42);
    el.meanAnomaly = TleField(l2, 44, 51);
    el.meanMotion = TleField(l2, 53, 63);

    if (inclinationDeg == 0.0) inclinationDeg = kZeroInclinationDeg;
    el.meanMotionDdot6 = ddotMantissa * std::pow(10.0, ddotExponent);
    el.bstar = bstarMantissa * std::pow(10.0, bstarExponent);

    el.rightAscension *= kDegToRad;
    el.argumentOfPerigee *= kDegToRad;
    el.meanAnomaly *= kDegToRad;
    el.inclination = inclinationDeg * kDegToRad;
    el.meanMotion *= kTwoPi / kMinutesPerDay;
    el.meanMotionDot2 *= kTwoPi / (kMinutesPerDay * kMinutesPerDay);
    el.meanMotionDdot6 *= kTwoPi / (kMinutesPerDay * kMinutesPerDay * kMinutesPerDay);

    const orbit_detail::RecoveredMotion recovered =
        orbit_detail::RecoverMeanMotion(el.meanMotion, el.eccentricity, std::cos(el.inclination));
    const double periodMin = kTwoPi / recovered.meanMotion;
    el.deepSpace = periodMin >= orbit_detail::kDeepSpacePeriodMin ? 1 : 0;
    el.initialise = 1;

    set.elementStatus = CheckElements(el);
    set.converted = true;
    set.initialised = false;
}

bool TSgp4Sdp4::ConvertTleEntry(std::size_t index, bool check) {
    if (index >= entries_.size()) return false;
    PreparedSet& set = prepared_[index];
    if (!set.converted) {
        set.wellFormed = TlePairWellFormed(entries_[index].line1, entries_[index].line2);
        ConvertSet(entries_[index], set);
    }
    if (check && !set.wellFormed) return false;
    set.elements.initialise = 1;
    current_ = &set;
    return true;
}

const TleElements& TSgp4Sdp4::Elements() const {
    static const TleElements kNone{};
    return current_ != nullptr ? current_->elements : kNone;
}

double TSgp4Sdp4::EpochJulianDate() const { return current_ != nullptr ? current_->epochJulianDate : 0.0; }
std::int32_t TSgp4Sdp4::CatalogueNumber() const { return current_ != nullptr ? current_->catalogueNumber : 0; }
std::int32_t TSgp4Sdp4::ElementSetNumber() const { return current_ != nullptr ? current_->elementSetNumber : 0; }
OrbitStatus TSgp4Sdp4::ElementStatus() const {
    return current_ != nullptr ? current_->elementStatus : OrbitStatus::BadElements;
}

void TSgp4Sdp4::Initialise(PreparedSet& set) {
    set.initialised = true;
    if (set.elementStatus != OrbitStatus::Ok) return;
    const TleElements& el = set.elements;
    const bool deep = el.deepSpace != 0;
    orbit_detail::NearEarthTerms& n = set.nearEarth;
    orbit_detail::InitialiseNearEarth(el.meanAnomaly, el.rightAscension, el.argumentOfPerigee, el.eccentricity,
                                      el.inclination, el.meanMotion, el.bstar, !deep, n);
    set.resonance = orbit_detail::ResonanceState{};
    if (!deep) return;

    const double thgr = SiderealTimeEpoch(el.epoch, set.elements.daysSince1950);
    orbit_detail::DeepSpaceArgs args;
    args.eqsq = el.eccentricity * el.eccentricity;
    args.siniq = n.sinio;
    args.cosiq = n.cosio;
    args.rteqsq = n.betao;
    args.ao = n.aodp;
    args.cosq2 = n.cosio * n.cosio;
    args.sinomo = std::sin(el.argumentOfPerigee);
    args.cosomo = std::cos(el.argumentOfPerigee);
    args.bsq = n.betao2;
    args.xlldot = n.xmdot;
    args.omgdt = n.omgdot;
    args.xnodot = n.xnodot;
    args.xnodp = n.xnodp;
    if (set.deepIndex < 0) {
        set.deepIndex = static_cast<std::int32_t>(deep_.size());
        deep_.emplace_back();
    }
    orbit_detail::DeepSpaceInit(n, args, thgr, set.elements.daysSince1950,
                                deep_[static_cast<std::size_t>(set.deepIndex)]);
}

OrbitStatus TSgp4Sdp4::Sgp4(double t, std::int32_t initialise, EciVector& position, EciVector& velocity) {
    if (current_ == nullptr) return OrbitStatus::BadElements;
    if (initialise != 0 && !current_->initialised) Initialise(*current_);
    if (current_->elementStatus != OrbitStatus::Ok) return current_->elementStatus;
    if (!std::isfinite(t)) return OrbitStatus::BadElements;
    return orbit_detail::StepSgp4(current_->nearEarth, t, position, velocity);
}

OrbitStatus TSgp4Sdp4::Sdp4(double t, std::int32_t initialise, EciVector& position, EciVector& velocity) {
    if (current_ == nullptr) return OrbitStatus::BadElements;
    if (initialise != 0 && !current_->initialised) Initialise(*current_);
    if (current_->elementStatus != OrbitStatus::Ok) return current_->elementStatus;
    if (current_->deepIndex < 0 || !std::isfinite(t)) return OrbitStatus::BadElements;
    return orbit_detail::StepSdp4(current_->nearEarth, deep_[static_cast<std::size_t>(current_->deepIndex)],
                                  current_->resonance, t, position, velocity);
}

OrbitStatus TSgp4Sdp4::PropagateMinutes(double t, EciVector& position, EciVector& velocity) {
    if (current_ == nullptr) return OrbitStatus::BadElements;
    const TleElements& el = current_->elements;
    return el.deepSpace != 0 ? Sdp4(t, el.initialise, position, velocity)
                             : Sgp4(t, el.initialise, position, velocity);
}

OrbitStatus TSgp4Sdp4::Propagate(double julianDate, EciVector& position, EciVector& velocity) {
    if (current_ == nullptr) return OrbitStatus::BadElements;
    const double t = (julianDate - current_->epochJulianDate) * kMinutesPerDay;
    return PropagateMinutes(t, position, velocity);
}

void TSgp4Sdp4::ConvertSatState(EciVector& position, EciVector& velocity) {
    position.x *= kEarthRadiusKm;
    position.y *= kEarthRadiusKm;
    position.z *= kEarthRadiusKm;
    velocity.x *= kKmPerSecondPerEarthRadiusPerMinute;
    velocity.y *= kKmPerSecondPerEarthRadiusPerMinute;
    velocity.z *= kKmPerSecondPerEarthRadiusPerMinute;
    Magnitude(position);
    Magnitude(velocity);
}
