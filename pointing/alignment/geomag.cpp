#include "pointing/alignment/geomag.h"

#include <cmath>

// Follows the routine of NOAA's World Magnetic Model C program (geomag.c)
// statement by statement.

TGeoMag::TGeoMag()
    : epoch(2025.0f),
      maxord_(12),
      c_{}, cd_{}, tc_{}, snorm_{}, p_{}, dp_{}, k_{}, fn_{}, fm_{}, sp_{}, cp_{}, pp_{},
      a_(6378.137f), b_(6356.7524f), re_(6371.2f),
      pi_(3.1415927f),
      otime_(-1000.0f), oalt_(-1000.0f), olat_(-1000.0f), olon_(-1000.0f) {
    dtr_ = pi_ / 180.0f;
    rtd_ = 180.0f / pi_;
    a2_ = a_ * a_;
    b2_ = b_ * b_;
    c2_ = a2_ - b2_;
    a4_ = a2_ * a2_;
    b4_ = b2_ * b2_;
    c4_ = a4_ - b4_;
    snorm_[0] = 1.0f;
    sp_[0] = 0.0f;
    cp_[0] = 1.0f;
    p_[0] = 1.0f;
    dp_[0][0] = 0.0f;
    // The order-1 recursion used at the geographic poles starts from 1.
    pp_[0] = 1.0f;
}

void TGeoMag::LoadCoefficients() {
    for (int i = 0; i < kOrder; ++i) {
        for (int j = 0; j < kOrder; ++j) {
            c_[i][j] = 0.0f;
            cd_[i][j] = 0.0f;
        }
    }
    for (const CoefficientRow& row : kWmm2025) {
        const int n = static_cast<int>(row.n);
        const int m = static_cast<int>(row.m);
        if (n < 0 || n > maxord_ || m < 0 || m > n) continue;
        c_[m][n] = static_cast<float>(row.g);
        cd_[m][n] = static_cast<float>(row.gDot);
        if (m != 0) {
            c_[n][m - 1] = static_cast<float>(row.h);
            cd_[n][m - 1] = static_cast<float>(row.hDot);
        }
    }

    // Schmidt semi-normalisation of the Gauss coefficients.
    snorm_[0] = 1.0f;
    fm_[0] = 0.0f;
    for (int n = 1; n <= maxord_; ++n) {
        snorm_[n] = snorm_[n - 1] * static_cast<float>(2 * n - 1) / static_cast<float>(n);
        int j = 2;
        for (int m = 0; m <= n; ++m) {
            k_[m][n] = static_cast<float>((n - 1) * (n - 1) - m * m) /
                       static_cast<float>((2 * n - 1) * (2 * n - 3));
            if (m > 0) {
                const float flnmj = static_cast<float>((n - m + 1) * j) / static_cast<float>(n + m);
                snorm_[n + m * kOrder] = snorm_[n + (m - 1) * kOrder] * std::sqrt(flnmj);
                j = 1;
                c_[n][m - 1] = snorm_[n + m * kOrder] * c_[n][m - 1];
                cd_[n][m - 1] = snorm_[n + m * kOrder] * cd_[n][m - 1];
            }
            c_[m][n] = snorm_[n + m * kOrder] * c_[m][n];
            cd_[m][n] = snorm_[n + m * kOrder] * cd_[m][n];
        }
        fn_[n] = static_cast<float>(n + 1);
        fm_[n] = static_cast<float>(n);
    }
    k_[1][1] = 0.0f;
    dp_[0][0] = 0.0f;
    p_[0] = 1.0f;
    pp_[0] = 1.0f;

    otime_ = oalt_ = olat_ = olon_ = -1000.0f;
}

void TGeoMag::Synthesize(float alt, float glat, float glon, float time, float* dec,
                         float* dip, float* ti, float* gv) {
    const float dt = time - epoch;
    const float rlat = glat * dtr_;
    const float rlon = glon * dtr_;
    const float srlon = std::sin(rlon);
    const float srlat = std::sin(rlat);
    const float crlon = std::cos(rlon);
    const float crlat = std::cos(rlat);
    const float srlat2 = srlat * srlat;
    const float crlat2 = crlat * crlat;
    sp_[1] = srlon;
    cp_[1] = crlon;

    const bool placeChanged = (alt != oalt_ || glat != olat_);

    // Geodetic to spherical coordinates.
    if (placeChanged) {
        const float q = std::sqrt(a2_ - c2_ * srlat2);
        const float q1 = alt * q;
        const float q2 = ((q1 + a2_) / (q1 + b2_)) * ((q1 + a2_) / (q1 + b2_));
        ct_ = srlat / std::sqrt(q2 * crlat2 + srlat2);
        st_ = std::sqrt(1.0f - ct_ * ct_);
        const float r2 = alt * alt + 2.0f * q1 + (a4_ - c4_ * srlat2) / (q * q);
        r_ = std::sqrt(r2);
        const float d = std::sqrt(a2_ * crlat2 + b2_ * srlat2);
        ca_ = (alt + d) / r_;
        sa_ = c2_ * crlat * srlat / (r_ * d);
    }
    if (glon != olon_) {
        for (int m = 2; m <= maxord_; ++m) {
            sp_[m] = sp_[1] * cp_[m - 1] + cp_[1] * sp_[m - 1];
            cp_[m] = cp_[1] * cp_[m - 1] - sp_[1] * sp_[m - 1];
        }
    }

    const float ct = ct_;
    const float st = st_;
    const float aor = re_ / r_;
    float ar = aor * aor;
    float br = 0.0f, bt = 0.0f, bp = 0.0f, bpp = 0.0f;

    for (int n = 1; n <= maxord_; ++n) {
        ar = ar * aor;
        for (int m = 0; m <= n; ++m) {
            // Schmidt-normalised associated Legendre functions and their
            // derivatives, by recursion in degree.
            if (placeChanged) {
                if (n == m) {
                    p_[n + m * kOrder] = st * p_[n - 1 + (m - 1) * kOrder];
                    dp_[m][n] = st * dp_[m - 1][n - 1] + ct * p_[n - 1 + (m - 1) * kOrder];
                } else if (n == 1 && m == 0) {
                    p_[n + m * kOrder] = ct * p_[n - 1 + m * kOrder];
                    dp_[m][n] = ct * dp_[m][n - 1] - st * p_[n - 1 + m * kOrder];
                } else if (n > 1 && n != m) {
                    if (m > n - 2) {
                        p_[n - 2 + m * kOrder] = 0.0f;
                        dp_[m][n - 2] = 0.0f;
                    }
                    p_[n + m * kOrder] = ct * p_[n - 1 + m * kOrder] - k_[m][n] * p_[n - 2 + m * kOrder];
                    dp_[m][n] = ct * dp_[m][n - 1] - st * p_[n - 1 + m * kOrder] -
                                k_[m][n] * dp_[m][n - 2];
                }
            }
            // Coefficients at the time of evaluation.
            if (time != otime_) {
                tc_[m][n] = c_[m][n] + dt * cd_[m][n];
                if (m != 0) tc_[n][m - 1] = c_[n][m - 1] + dt * cd_[n][m - 1];
            }

            const float par = ar * p_[n + m * kOrder];
            float temp1, temp2;
            if (m == 0) {
                temp1 = tc_[m][n] * cp_[m];
                temp2 = tc_[m][n] * sp_[m];
            } else {
                temp1 = tc_[m][n] * cp_[m] + tc_[n][m - 1] * sp_[m];
                temp2 = tc_[m][n] * sp_[m] - tc_[n][m - 1] * cp_[m];
            }
            bt = bt - ar * temp1 * dp_[m][n];
            bp += fm_[m] * temp2 * par;
            br += fn_[n] * temp1 * par;

            // At a geographic pole the east component divides by sin(colatitude)
            // = 0; take its limit from the order-1 functions instead.
            if (st == 0.0f && m == 1) {
                if (n == 1) {
                    pp_[n] = pp_[n - 1];
                } else {
                    pp_[n] = ct * pp_[n - 1] - k_[m][n] * pp_[n - 2];
                }
                const float parp = ar * pp_[n];
                bpp += fm_[m] * temp2 * parp;
            }
        }
    }

    bp = (st == 0.0f) ? bpp : bp / st;

    // Rotate from spherical to geodetic components: X north, Y east, Z down.
    // bt already holds the sum with its minus sign (dp is the derivative in
    // colatitude); negating it once more would reverse the north component
    // and put the declinations near 180 degrees.
    const float bx = -bt * ca_ - br * sa_;
    const float by = bp;
    const float bz = bt * sa_ - br * ca_;
    const float bh = std::sqrt(bx * bx + by * by);
    *ti = std::sqrt(bh * bh + bz * bz);
    *dec = std::atan2(by, bx) * rtd_;
    *dip = std::atan2(bz, bh) * rtd_;

    // Grid variation, used in polar navigation.
    *gv = -999.0f;
    if (std::fabs(glat) >= 55.0f) {
        if (glat > 0.0f && glon >= 0.0f) *gv = *dec - glon;
        if (glat > 0.0f && glon < 0.0f) *gv = *dec + std::fabs(glon);
        if (glat < 0.0f && glon >= 0.0f) *gv = *dec + glon;
        if (glat < 0.0f && glon < 0.0f) *gv = *dec - std::fabs(glon);
        if (*gv > +180.0f) *gv -= 360.0f;
        if (*gv < -180.0f) *gv += 360.0f;
    }

    otime_ = time;
    oalt_ = alt;
    olat_ = glat;
    olon_ = glon;
}

float TGeoMag::Evaluate(double time, double latitude, double longitude, double altitude) {
    const float alt = static_cast<float>(altitude);
    const float lat = static_cast<float>(latitude);
    const float lon = static_cast<float>(longitude);
    time_ = static_cast<float>(time);

    LoadCoefficients();
    Synthesize(alt, lat, lon, time_, &dec1_, &dip1_, &ti1_, &gv1_);
    const float nextYear = time_ + 1.0f;
    Synthesize(alt, lat, lon, nextYear, &dec2_, &dip2_, &ti2_, &gv2_);

    ddec_ = (dec2_ - dec1_) * 60.0f;
    ddip_ = (dip2_ - dip1_) * 60.0f;
    dti_ = ti2_ - ti1_;
    return dec1_;
}
