#include "pointing/orbit/positions.h"

#include "pointing/orbit/observer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

using namespace orbit_constants;

namespace {

// Doubles too large for a float become infinite rather than undefined.
float ToFloat(double value) {
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

TleRowState RowState(OrbitStatus status) {
    switch (status) {
        case OrbitStatus::Ok: return TleRowState::Ok;
        case OrbitStatus::Decayed: return TleRowState::Decayed;
        case OrbitStatus::BadElements: break;
    }
    return TleRowState::BadElements;
}

// Latitude in degrees, south negative, from the sub-satellite point's angle
// in [0, 2 pi).
double LatitudeDegrees(double latitudeRad) {
    double degrees = latitudeRad * kRadToDeg;
    if (degrees > 90.0) degrees -= 360.0;
    return degrees;
}

double DisplayedLongitude(double longitudeRad, LongitudeDisplay display) {
    const double east = longitudeRad * kRadToDeg;
    switch (display) {
        case LongitudeDisplay::Modulo180: return east > 180.0 ? east - 360.0 : east;
        case LongitudeDisplay::DegreesWest: return 360.0 - east;
        case LongitudeDisplay::DegreesEast: break;
    }
    return east;
}

GeodeticPos ObserverSite(const TleSite& site) {
    GeodeticPos observer;
    observer.latitude = site.latitude * kDegToRad;
    const double east = site.longitude < 0.0 ? site.longitude + 360.0 : site.longitude;
    observer.longitude = TSgp4Sdp4::Modulus(east, 360.0) * kDegToRad;
    observer.altitude = site.altitude;
    return observer;
}

void FillPosition(TSgp4Sdp4& model, double julianDate, double siderealAngle, const ObserverState& observer,
                  LongitudeDisplay display, TleSatPosition& row) {
    EciVector position;
    EciVector velocity;
    const OrbitStatus status = model.Propagate(julianDate, position, velocity);
    row.inclination = ToFloat(model.Elements().inclination * kRadToDeg);
    if (status != OrbitStatus::Ok) {
        row.state = RowState(status);
        return;
    }
    TSgp4Sdp4::ConvertSatState(position, velocity);
    const LookAngleSet look = LookAnglesFrom(observer, position, velocity);
    const GeodeticPos point = SubSatellitePoint(position, siderealAngle);
    row.latitude = ToFloat(LatitudeDegrees(point.latitude));
    row.longitude = ToFloat(DisplayedLongitude(point.longitude, display));
    row.altitude = ToFloat(point.altitude);
    row.azimuth = ToFloat(look.azimuth * kRadToDeg);
    row.elevation = ToFloat(look.elevation * kRadToDeg);
    row.range = ToFloat(look.range);
    // A state that cannot be placed over the Earth is no position either.
    const float numbers[] = {row.latitude, row.longitude, row.altitude, row.azimuth, row.elevation, row.range};
    for (float v : numbers) {
        if (!std::isfinite(v)) row.state = TleRowState::BadElements;
    }
}

float SortKey(const TleSatPosition& row, TleSortField field) {
    switch (field) {
        case TleSortField::Id: return row.catalogue;
        case TleSortField::Inclination: return row.inclination;
        case TleSortField::Latitude: return row.latitude;
        case TleSortField::Longitude: return row.longitude;
        case TleSortField::Altitude: return row.altitude;
        case TleSortField::Azimuth: return row.azimuth;
        case TleSortField::Elevation: return row.elevation;
        case TleSortField::Range: return row.range;
        case TleSortField::Name: break;
    }
    return 0.0f;
}

}  // namespace

const char* TleRowMessage(TleRowState state) {
    switch (state) {
        case TleRowState::ChecksumError: return "TLE file checksum error";
        case TleRowState::BadElements: return "bad elements";
        case TleRowState::Decayed: return "decayed";
        case TleRowState::Ok: break;
    }
    return "";
}

int CompareName(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const char ca = AsciiLower(*a);
        const char cb = AsciiLower(*b);
        if (ca != cb) return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb) ? -1 : 1;
        if (ca == '\0') return 0;
    }
}

int CompareColumn(float a, float b) {
    if (a < b) return -1;
    if (a > b) return 1;
    return 0;
}

void ComputeSatPositions(TSgp4Sdp4& model, double julianDate, const TleSite& site, LongitudeDisplay display,
                         std::vector<TleSatPosition>& rows) {
    const double siderealAngle = TSgp4Sdp4::SiderealTime(julianDate);
    const ObserverState observer = ObserverAt(ObserverSite(site), siderealAngle);
    const std::vector<TleEntry>& entries = model.Entries();
    rows.assign(entries.size(), TleSatPosition{});
    for (std::size_t i = 0; i < entries.size(); ++i) {
        TleSatPosition& row = rows[i];
        std::memcpy(row.name, entries[i].name, sizeof row.name);
        row.name[sizeof row.name - 1] = '\0';
        if (!model.ConvertTleEntry(i, true)) {
            row.catalogue = ToFloat(std::trunc(TSgp4Sdp4::TleField(entries[i].line1, 3, 7)));
            row.state = TleRowState::ChecksumError;
            continue;
        }
        row.catalogue = ToFloat(model.CatalogueNumber());
        FillPosition(model, julianDate, siderealAngle, observer, display, row);
    }
}

void SortSatPositions(std::vector<TleSatPosition>& rows, TleSortField field) {
    if (field == TleSortField::Name) {
        std::stable_sort(rows.begin(), rows.end(), [](const TleSatPosition& a, const TleSatPosition& b) {
            return CompareName(a.name, b.name) < 0;
        });
        return;
    }
    const bool positionOnly = field != TleSortField::Id;
    std::stable_sort(rows.begin(), rows.end(), [field, positionOnly](const TleSatPosition& a, const TleSatPosition& b) {
        if (positionOnly) {
            const bool aHas = a.state == TleRowState::Ok;
            const bool bHas = b.state == TleRowState::Ok;
            if (aHas != bHas) return aHas;
        }
        return CompareColumn(SortKey(a, field), SortKey(b, field)) < 0;
    });
}
