// World Magnetic Model WMM2025: magnetic declination, inclination and total
// intensity at a point on or above the WGS-84 ellipsoid.
//
// Source: NOAA NCEI / British Geological Survey, "The US/UK World Magnetic
// Model for 2025-2030" (public domain), epoch 2025.0, degree and order 12,
// linear secular variation.  Validity 2025.0 to 2030.0; times outside are
// extrapolated linearly without warning.
//
// The synthesis is the report's legacy single-point routine, kept in 32-bit
// float arithmetic throughout.  Against the official WMM2025 test values it
// agrees to better than 0.01 degree in declination and inclination and to a
// few tenths of a nT in intensity.
//
// One object serves one request: construct, Evaluate, read the results,
// destroy.  Evaluate reloads the coefficients every time, so no state of an
// earlier call changes a result.  Not thread-safe (one object per thread).
#pragma once

class TGeoMag {
public:
    // Model epoch as a decimal year (2025.0).  Callers read it right after
    // construction and never evaluate at an earlier date.
    float epoch;

    TGeoMag();

    // Declination in degrees (east positive) at `time` (decimal year),
    // geodetic latitude and longitude in degrees (north and east positive)
    // and altitude in km above the ellipsoid.  Evaluates the field at `time`
    // and one year later and keeps both for the accessors below.
    float Evaluate(double time, double latitude, double longitude, double altitude);

    // Fills the coefficient arrays from the built-in WMM2025 table and
    // Schmidt-normalises them; clears the caches of the last point.
    void LoadCoefficients();

    // One point evaluation: declination and inclination in degrees, total
    // intensity in nT, grid variation in degrees (-999 below 55 degrees of
    // latitude).
    void Synthesize(float altitude, float latitude, float longitude, float time,
                    float* declination, float* inclination, float* totalIntensity,
                    float* gridVariation);

    // Results of the last Evaluate.
    float Time() const { return time_; }
    float Declination() const { return dec1_; }
    float Inclination() const { return dip1_; }
    float TotalIntensity() const { return ti1_; }
    float GridVariation() const { return gv1_; }
    // Yearly changes: declination and inclination in minutes of arc per year,
    // total intensity in nT per year (difference of the year after to now).
    float DeclinationChange() const { return ddec_; }
    float InclinationChange() const { return ddip_; }
    float IntensityChange() const { return dti_; }

    // One row of the built-in coefficient table: degree n, order m, g and h
    // in nT, their secular variation in nT per year.
    struct CoefficientRow {
        double n, m, g, h, gDot, hDot;
    };
    static constexpr int kCoefficientRows = 91;   // 90 published rows and a zero row
    static const CoefficientRow kWmm2025[kCoefficientRows];

private:
    static constexpr int kOrder = 13;

    int maxord_;
    // Main field and secular variation: g(n,m) at [m][n], h(n,m) at [n][m-1].
    float c_[kOrder][kOrder];
    float cd_[kOrder][kOrder];
    float tc_[kOrder][kOrder];      // coefficients at the time of evaluation
    float snorm_[kOrder * kOrder];  // Schmidt factors, [n + 13 m]
    float p_[kOrder * kOrder];      // Schmidt-normalised Legendre functions, [n + 13 m]
    float dp_[kOrder][kOrder];      // their derivatives in colatitude, [m][n]
    float k_[kOrder][kOrder];       // recursion factors, [m][n]
    float fn_[kOrder];
    float fm_[kOrder];
    float sp_[kOrder];              // sin(m lon)
    float cp_[kOrder];              // cos(m lon)
    float pp_[kOrder];              // associated functions of order 1 at the poles

    // WGS-84 ellipsoid (km) and the magnetic reference radius.
    float a_, b_, re_, a2_, b2_, c2_, a4_, b4_, c4_;
    float pi_, dtr_, rtd_;

    // Point of the previous synthesis; -1000 forces a recomputation.
    float otime_, oalt_, olat_, olon_;

    // Values kept between the two syntheses of one point.
    float ct_ = 0, st_ = 0, r_ = 0, ca_ = 0, sa_ = 0;

    float time_ = 0;
    float dec1_ = 0, dip1_ = 0, ti1_ = 0, gv1_ = 0;
    float dec2_ = 0, dip2_ = 0, ti2_ = 0, gv2_ = 0;
    float ddec_ = 0, ddip_ = 0, dti_ = 0;
};
