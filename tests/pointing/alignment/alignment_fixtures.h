// Shared by the look-angle and dual-feed tests: the fixed date the magnetic
// declination is taken at.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "pointing/alignment/alignment_records.h"
#include "propagation/coordinates.h"

namespace aligntest {

// Sunday 15 March 2026, 12:00 UTC: the declination is taken at the decimal
// year 2026 + 74/365 = 2026.20274.
inline constexpr std::time_t kFixedClock = 1773576000;

class FixedDate : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDeclinationClock([] { return std::chrono::system_clock::from_time_t(kFixedClock); });
    }
    void TearDown() override { SetDeclinationClock({}); }
};

// The records of the golden reports (alignment_golden.h).
inline LookAngleInputRecord MadridRecord()
{
    LookAngleInputRecord r = NewLookAngleRecord();
    PutText(r.siteName, "Madrid, Spain");
    PutText(r.satelliteName, "Hispasat 30W");
    PutText(r.siteLatitude, "40.42N");
    PutText(r.siteLongitude, "3.70W");
    PutText(r.satelliteLongitude, "30.00W");
    PutText(r.inclination, "2.5");
    PutText(r.polarizationCant, "5");
    PutText(r.offsetFocusAngle, "22.3");
    return r;
}

inline LookAngleInputRecord SydneyLookRecord()
{
    LookAngleInputRecord r = NewLookAngleRecord();
    PutText(r.siteName, "Sydney, Australia");
    PutText(r.satelliteName, "Testsat 151.2E");
    PutText(r.siteLatitude, "33.87S");
    PutText(r.siteLongitude, "151.21E");
    PutText(r.satelliteLongitude, "151.2E");
    PutText(r.inclination, "3");
    return r;
}

// Two satellites either side of north, the gain given in dBi.
inline DualFeedInputRecord SydneyDualRecord()
{
    DualFeedInputRecord r{};
    PutText(r.siteName, "Sydney, Australia");
    PutText(r.primaryName, "Testsat 148E");
    PutText(r.secondaryName, "Testsat 154E");
    PutText(r.siteLatitude, "33.87S");
    PutText(r.siteLongitude, "151.21E");
    PutText(r.primaryLongitude, "148.0E");
    PutText(r.secondaryLongitude, "154.0E");
    PutText(r.aperture, "1.2");
    PutText(r.efficiency, "+38.5");
    PutText(r.frequency, "12.5");
    PutText(r.fOverD, "0.45");
    PutText(r.beamfactor, "1.1");
    return r;
}

}  // namespace aligntest
