// Shared by the look-angle and dual-feed tests: the fixed date the magnetic
// declination is taken at.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

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

}  // namespace aligntest
