// The magnetic model against the official WMM2025 test values and the
// published coefficient file, both read from the shared data folder.
#include "pointing/alignment/geomag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kWmmDir = ORBISCOPE_WMM_DIR;

constexpr double kDegreeTolerance = 0.01;     // declination and inclination, degrees
constexpr double kIntensityTolerance = 1.0;   // total intensity, nT

struct TestValue {
    double year, altitudeKm, latitude, longitude;
    double declination, inclination, x, y, z, f;
    double declinationRate;  // dD/dt, degrees per year
    double xRate, yRate;     // dX/dt, dY/dt, nT per year
};

// WMM2025_FINAL_TEST_VALUES_HIGHPREC.txt: 18 fields per row, '#' comments.
std::vector<TestValue> ReadTestValues() {
    std::vector<TestValue> rows;
    std::ifstream in(kWmmDir + "/WMM2025_FINAL_TEST_VALUES_HIGHPREC.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        double v[18];
        int count = 0;
        while (count < 18 && fields >> v[count]) ++count;
        if (count != 18) continue;
        rows.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[7], v[8], v[9], v[10], v[11], v[14], v[15]});
    }
    return rows;
}

TEST(MagneticModel, Wmm2025TestValues) {
    const std::vector<TestValue> rows = ReadTestValues();
    ASSERT_EQ(rows.size(), 100u) << "test value file not found under " << kWmmDir;
    for (const TestValue& t : rows) {
        auto model = std::make_unique<TGeoMag>();
        const float d = model->Evaluate(t.year, t.latitude, t.longitude, t.altitudeKm);
        // The file prints D and I to two decimals; its X, Y, Z carry the full
        // precision, so the reference angles are taken from them.
        const double refD = std::atan2(t.y, t.x) * 180.0 / M_PI;
        const double refI = std::atan2(t.z, std::hypot(t.x, t.y)) * 180.0 / M_PI;
        SCOPED_TRACE(testing::Message() << "row " << t.year << " " << t.altitudeKm << " km "
                                        << t.latitude << " " << t.longitude);
        EXPECT_NEAR(d, t.declination, 0.005 + kDegreeTolerance);
        EXPECT_NEAR(d, refD, kDegreeTolerance);
        EXPECT_NEAR(model->Inclination(), refI, kDegreeTolerance);
        EXPECT_NEAR(model->TotalIntensity(), t.f, kIntensityTolerance);
    }
}

// The pole branch: at a geographic pole the east component is taken as a
// limit; the result must be finite and continuous with the nearby latitude.
TEST(MagneticModel, GeographicPolesAreFiniteAndContinuous) {
    const struct {
        double latitude;
        double nearby;
        double longitude;
    } cases[] = {{90.0, 89.9999, 0.0}, {-90.0, -89.9999, 0.0}, {90.0, 89.9999, 120.0},
                 {-90.0, -89.9999, -60.0}};
    for (const auto& c : cases) {
        TGeoMag atPole;
        const float d = atPole.Evaluate(2025.5, c.latitude, c.longitude, 0.0);
        TGeoMag nearPole;
        const float dNear = nearPole.Evaluate(2025.5, c.nearby, c.longitude, 0.0);
        SCOPED_TRACE(testing::Message() << c.latitude << " " << c.longitude);
        ASSERT_TRUE(std::isfinite(d));
        EXPECT_NE(d, 0.0f);
        EXPECT_NEAR(d, dNear, kDegreeTolerance);
        EXPECT_TRUE(std::isfinite(atPole.Inclination()));
        EXPECT_NEAR(atPole.Inclination(), nearPole.Inclination(), kDegreeTolerance);
    }
}

// The grid variation of the official test row at 80S 240E (written here as
// 120W), and the -999 mark below 55 degrees of latitude.
TEST(MagneticModel, GridVariation) {
    TGeoMag model;
    const float d = model.Evaluate(2025.0, -80.0, -120.0, 0.0);
    // South and west: declination minus the longitude's magnitude, folded.
    double expected = d - 120.0;
    if (expected < -180.0) expected += 360.0;
    EXPECT_NEAR(model.GridVariation(), expected, 1e-4);
    EXPECT_GE(model.GridVariation(), -180.0f);
    EXPECT_LE(model.GridVariation(), 180.0f);

    model.Evaluate(2025.0, 54.9, 10.0, 0.0);
    EXPECT_EQ(model.GridVariation(), -999.0f);
}

// The field's components change linearly with time at a fixed point (the
// coefficients do), so the file's X, Y and their yearly rates give the
// declination a year later or earlier exactly: D = atan2(Y + k dY/dt,
// X + k dX/dt).  The model's yearly change (the difference of the year after
// to the date) must be that change.  Where the horizontal field is strong
// the declination hardly curves within a year, and the change is also the
// file's own dD/dt; near the magnetic poles (H of a few thousand nT) it
// curves by up to 0.1 degree a year and only the exact change holds.
double DeclinationAfterYears(const TestValue& t, double years) {
    return std::atan2(t.y + years * t.yRate, t.x + years * t.xRate) * 180.0 / M_PI;
}

double Fold180(double degrees) { return std::remainder(degrees, 360.0); }

TEST(MagneticModel, YearlyChangeOfDeclinationFollowsTheTestValueRates) {
    constexpr double kRateTolerance = 5e-4;           // degrees per year (0.03')
    constexpr double kStrongHorizontalNt = 8000.0;
    constexpr double kDerivativeTolerance = 2e-3;     // degrees per year
    const std::vector<TestValue> rows = ReadTestValues();
    ASSERT_EQ(rows.size(), 100u);
    int strong = 0;
    for (const TestValue& t : rows) {
        TGeoMag model;
        model.Evaluate(t.year, t.latitude, t.longitude, t.altitudeKm);
        const double change = model.DeclinationChange() / 60.0;   // minutes of arc to degrees
        SCOPED_TRACE(testing::Message() << "row " << t.year << " " << t.altitudeKm << " km "
                                        << t.latitude << " " << t.longitude);
        EXPECT_NEAR(change, Fold180(DeclinationAfterYears(t, 1.0) - DeclinationAfterYears(t, 0.0)),
                    kRateTolerance);
        if (std::hypot(t.x, t.y) >= kStrongHorizontalNt) {
            ++strong;
            EXPECT_NEAR(change, t.declinationRate, kDerivativeTolerance);
        }
    }
    EXPECT_GE(strong, 80);
}

// An earlier date extrapolates backwards along the same lines: a year before
// the epoch rows of the test values.
TEST(MagneticModel, BackwardExtrapolationBeforeTheEpoch) {
    int checked = 0;
    for (const TestValue& t : ReadTestValues()) {
        if (t.year != 2025.0) continue;
        TGeoMag earlier;
        const float d = earlier.Evaluate(t.year - 1.0, t.latitude, t.longitude, t.altitudeKm);
        EXPECT_NEAR(Fold180(d - DeclinationAfterYears(t, -1.0)), 0.0, kDegreeTolerance)
            << t.latitude << " " << t.longitude << " " << t.altitudeKm;
        EXPECT_FLOAT_EQ(earlier.epoch, 2025.0f);
        ++checked;
    }
    EXPECT_GE(checked, 10);
}

// The built-in table equals the published coefficient file row by row.
TEST(MagneticModel, BuiltInTableMatchesCoefficientFile) {
    std::ifstream in(kWmmDir + "/WMM.COF");
    ASSERT_TRUE(in.good());
    std::string line;
    std::getline(in, line);   // header: epoch, model name, date
    EXPECT_NE(line.find("WMM-2025"), std::string::npos);
    int row = 0;
    while (std::getline(in, line)) {
        if (line.rfind("9999", 0) == 0) break;
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        double n, m, g, h, gd, hd;
        ASSERT_TRUE(fields >> n >> m >> g >> h >> gd >> hd) << line;
        ASSERT_LT(row, TGeoMag::kCoefficientRows - 1);
        const TGeoMag::CoefficientRow& r = TGeoMag::kWmm2025[row];
        EXPECT_EQ(r.n, n);
        EXPECT_EQ(r.m, m);
        EXPECT_EQ(r.g, g);
        EXPECT_EQ(r.h, h);
        EXPECT_EQ(r.gDot, gd);
        EXPECT_EQ(r.hDot, hd);
        ++row;
    }
    EXPECT_EQ(row, 90);
    const TGeoMag::CoefficientRow& last = TGeoMag::kWmm2025[90];
    EXPECT_EQ(last.n + last.m + last.g + last.h + last.gDot + last.hDot, 0.0);
}

}  // namespace
