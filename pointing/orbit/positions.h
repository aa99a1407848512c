// The numbers of the satellite positions table: every element set of a file
// propagated to one instant, with its sub-satellite point and its look angles
// from one site, in the chosen sort order.  The window only formats them.
#pragma once

#include "pointing/orbit/sgp4sdp4.h"

#include <cstdint>
#include <vector>

// The observer.
struct TleSite {
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    double altitude = 0;   // km
};

// How longitudes are shown: -180..180 east positive, 0..360 east, or
// 0..360 west.
enum class LongitudeDisplay : std::uint8_t { Modulo180, DegreesEast, DegreesWest };

enum class TleSortField : std::uint8_t {
    Name, Id, Inclination, Latitude, Longitude, Altitude, Azimuth, Elevation, Range
};

// Why a row holds no position.
enum class TleRowState : std::uint8_t { Ok, ChecksumError, BadElements, Decayed };

// One row of the table.  Angles in degrees, distances in km; the longitude in
// the display form asked for.  A row whose state is not Ok carries only its
// name and catalogue number.
struct TleSatPosition {
    char name[25] = {};
    float catalogue = 0;
    float inclination = 0;
    float latitude = 0;
    float longitude = 0;
    float altitude = 0;
    float azimuth = 0;
    float elevation = 0;
    float range = 0;
    TleRowState state = TleRowState::Ok;
};

// The row's message: "TLE file checksum error", "bad elements" or "decayed";
// empty for a good row.
const char* TleRowMessage(TleRowState state);

// Case-blind name order and ascending number order: -1, 0 or 1.
int CompareName(const char* a, const char* b);
int CompareColumn(float a, float b);

// The positions of every set of the model's table at a Julian date (UTC),
// in file order.
void ComputeSatPositions(TSgp4Sdp4& model, double julianDate, const TleSite& site, LongitudeDisplay display,
                         std::vector<TleSatPosition>& rows);

// Orders the rows by the field, ascending; rows of equal key keep their order,
// and rows without a position follow the others when the field is one that
// only a position has (inclination and after).
void SortSatPositions(std::vector<TleSatPosition>& rows, TleSortField field);
