// The observer at one instant, worked out once and used for every satellite
// of a refresh: the same arithmetic as TSgp4Sdp4::ObserverPosVel,
// LookAngles and SatLatLonAlt, which call these.
#pragma once

#include "pointing/orbit/orbit_types.h"

struct ObserverState {
    GeodeticPos site;    // theta: the local sidereal angle, rad
    EciVector position;  // km
    EciVector velocity;  // km/s
    double sinLat = 0, cosLat = 0, sinTheta = 0, cosTheta = 0;
};

// The site at a Greenwich sidereal angle (rad).
ObserverState ObserverAt(const GeodeticPos& site, double siderealAngle);
// Look angles of a satellite position (km) and velocity (km/s).
LookAngleSet LookAnglesFrom(const ObserverState& observer, const EciVector& position, const EciVector& velocity);
// Geodetic sub-satellite point of a position (km) at a Greenwich sidereal
// angle (rad); see TSgp4Sdp4::SatLatLonAlt.
GeodeticPos SubSatellitePoint(const EciVector& position, double siderealAngle);
