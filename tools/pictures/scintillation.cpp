// Picture 99, "L-band Ionospheric Scintillation Fading": two globes, for a
// solar maximum and a solar minimum year, shaded by the depth of night-time
// fading at L band in bands of magnetic latitude: the equatorial anomaly
// crests either side of the magnetic equator, the quiet middle latitudes,
// the auroral and polar zones.  A schematic: the bands follow the magnetic
// field of the World Magnetic Model, the depths are classes, not contours.
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "pictures.h"
#include "pointing/alignment/geomag.h"

namespace pictures {

namespace {

constexpr int kWidth = 800, kHeight = 430;
constexpr int kGlobeRadius = 160, kGlobeY = 200;
constexpr int kGlobeX[2] = {200, 600};
// The view: over the Atlantic, where the anomaly crests lie over land on
// both sides, tilted north to show the auroral zone.
constexpr double kViewLon = -30, kViewLat = 12;
constexpr double kModelYear = 2025.5;
constexpr double kIonosphereKm = 350;   // height of the F-region peak
constexpr int kLegendSwatch = 16;

enum Depth { kSlight, kModerate, kStrong, kSevere };

// Upper bound of |magnetic latitude| (degrees) of each band and its depth.
struct Band {
    double upTo;
    Depth depth;
};
const Band kSolarMaximum[] = {{10, kStrong}, {22, kSevere}, {30, kModerate}, {55, kSlight}, {91, kModerate}};
const Band kSolarMinimum[] = {{22, kModerate}, {60, kSlight}, {72, kModerate}, {91, kSlight}};

enum Colour : std::uint8_t {
    kWhite, kBlack, kCoast, kEquator, kSeaSlight, kLandSlight, kSeaModerate, kLandModerate,
    kSeaStrong, kLandStrong, kSeaSevere, kLandSevere, kGrey,
};
const std::vector<QRgb> kPalette = {
    qRgb(255, 255, 255), qRgb(0, 0, 0),       qRgb(60, 60, 60),    qRgb(0, 0, 160),
    qRgb(214, 232, 246), qRgb(150, 180, 200), qRgb(255, 240, 150), qRgb(212, 192, 86),
    qRgb(255, 190, 110), qRgb(218, 138, 58),  qRgb(240, 110, 100), qRgb(186, 58, 52),
    qRgb(128, 128, 128), qRgb(192, 192, 192), qRgb(0, 128, 0),     qRgb(128, 0, 0),
};

Colour Fill(Depth d, bool land)
{
    return static_cast<Colour>(kSeaSlight + 2 * d + (land ? 1 : 0));
}

Depth DepthAt(const Band* bands, std::size_t n, double magneticLatitude)
{
    const double m = std::abs(magneticLatitude);
    for (std::size_t i = 0; i < n; ++i)
        if (m < bands[i].upTo)
            return bands[i].depth;
    return bands[n - 1].depth;
}

// Magnetic (dip) latitude on a one-degree grid: atan(tan(I) / 2) from the
// inclination I of the World Magnetic Model at the ionosphere's height.
class DipLatitudeGrid {
public:
    DipLatitudeGrid() : values_(181 * 361)
    {
        TGeoMag model;
        for (int lat = -90; lat <= 90; ++lat)
            for (int lon = -180; lon <= 180; ++lon) {
                model.Evaluate(kModelYear, lat, lon, kIonosphereKm);
                const double inclination = model.Inclination() * std::numbers::pi / 180;
                values_[Index(lat, lon)] = std::atan(std::tan(inclination) / 2) * 180 / std::numbers::pi;
            }
    }

    double At(double lat, double lon) const
    {
        const double y = std::clamp(lat, -90.0, 89.999), x = std::clamp(lon, -180.0, 179.999);
        const int j = static_cast<int>(std::floor(y)), i = static_cast<int>(std::floor(x));
        const double fy = y - j, fx = x - i;
        return (1 - fy) * ((1 - fx) * values_[Index(j, i)] + fx * values_[Index(j, i + 1)]) +
               fy * ((1 - fx) * values_[Index(j + 1, i)] + fx * values_[Index(j + 1, i + 1)]);
    }

private:
    static std::size_t Index(int lat, int lon) { return static_cast<std::size_t>((lat + 90) * 361 + (lon + 180)); }
    std::vector<double> values_;
};

struct GeoSample {
    bool onGlobe = false;
    double lat = 0, lon = 0;
};

// Inverse orthographic projection of a pixel of a globe.
GeoSample Unproject(int px, int py, int cx)
{
    const double x = (px + 0.5 - cx) / kGlobeRadius, y = (kGlobeY - (py + 0.5)) / kGlobeRadius;
    const double rho2 = x * x + y * y;
    if (rho2 > 1)
        return {};
    const double z = std::sqrt(1 - rho2);
    const double lat0 = kViewLat * std::numbers::pi / 180;
    const double lat = std::asin(z * std::sin(lat0) + y * std::cos(lat0));
    double lon = kViewLon + std::atan2(x, z * std::cos(lat0) - y * std::sin(lat0)) * 180 / std::numbers::pi;
    lon = std::remainder(lon, 360.0);
    return {true, lat * 180 / std::numbers::pi, lon};
}

struct GlobePixel {
    bool onGlobe = false, land = false;
    double magneticLatitude = 0;
};

void DrawGlobe(QImage& image, int cx, const Band* bands, std::size_t n, const QImage& landMask,
               const DipLatitudeGrid& dip)
{
    const int size = 2 * kGlobeRadius + 2, left = cx - kGlobeRadius - 1, top = kGlobeY - kGlobeRadius - 1;
    std::vector<GlobePixel> px(static_cast<std::size_t>(size * size));
    const auto at = [size](int x, int y) { return static_cast<std::size_t>(y * size + x); };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const GeoSample s = Unproject(left + x, top + y, cx);
            if (!s.onGlobe)
                continue;
            const int mx = std::clamp(static_cast<int>((s.lon + 180) / 360 * landMask.width()), 0, landMask.width() - 1);
            const int my = std::clamp(static_cast<int>((90 - s.lat) / 180 * landMask.height()), 0, landMask.height() - 1);
            px[at(x, y)] = {true, qRed(landMask.pixel(mx, my)) != 0, dip.At(s.lat, s.lon)};
        }
    for (int y = 0; y + 1 < size; ++y)
        for (int x = 0; x + 1 < size; ++x) {
            const GlobePixel& p = px[at(x, y)];
            if (!p.onGlobe)
                continue;
            const GlobePixel& r = px[at(x + 1, y)];
            const GlobePixel& d = px[at(x, y + 1)];
            Colour c = Fill(DepthAt(bands, n, p.magneticLatitude), p.land);
            if ((r.onGlobe && r.land != p.land) || (d.onGlobe && d.land != p.land))
                c = kCoast;
            if ((r.onGlobe && (r.magneticLatitude < 0) != (p.magneticLatitude < 0)) ||
                (d.onGlobe && (d.magneticLatitude < 0) != (p.magneticLatitude < 0)))
                c = kEquator;
            image.setPixel(left + x, top + y, kPalette[c]);
        }
}

// Each depth's two tints side by side, sea then land, after a key saying so.
void DrawLegend(QPainter& p)
{
    const char* const labels[] = {"under 2 dB", "2 to 10 dB", "10 to 20 dB", "over 20 dB"};
    p.setFont(PixelFont(12));
    const int top = 376;
    p.setPen(QColor::fromRgb(kPalette[kBlack]));
    p.drawText(20, top + 11, "Sea | land:");
    for (int d = 0; d < 4; ++d) {
        const int x = 96 + 132 * d;
        for (const bool land : {false, true}) {
            const int left = x + (land ? kLegendSwatch : 0);
            p.fillRect(left, top, kLegendSwatch, 12, QColor::fromRgb(kPalette[Fill(static_cast<Depth>(d), land)]));
            p.setPen(QColor::fromRgb(kPalette[kBlack]));
            p.drawRect(left, top, kLegendSwatch - 1, 11);
        }
        p.drawText(x + 2 * kLegendSwatch + 6, top + 11, labels[d]);
    }
    p.setPen(QPen(QColor::fromRgb(kPalette[kEquator]), 2));
    p.drawLine(640, top + 6, 660, top + 6);
    p.setPen(QColor::fromRgb(kPalette[kBlack]));
    p.drawText(666, top + 11, "magnetic equator");
    p.setFont(PixelFont(11));
    p.drawText(40, top + 36,
               "Schematic: depth of night-time fading at L band (about 1.5 GHz) by magnetic latitude, "
               "from the World Magnetic Model 2025.");
}

}  // namespace

Indexed ScintillationFading(const WorldData& world)
{
    QImage landMask(2048, 1024, QImage::Format_RGB32);
    landMask.fill(0u);
    {
        QPainter p(&landMask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillPath(AreaPath(world.land, Equirectangular(QRectF(0, 0, 2048, 1024))), Qt::white);
    }
    const DipLatitudeGrid dip;
    QImage image = Blank(kWidth, kHeight, kPalette[kWhite]);
    DrawGlobe(image, kGlobeX[0], kSolarMaximum, std::size(kSolarMaximum), landMask, dip);
    DrawGlobe(image, kGlobeX[1], kSolarMinimum, std::size(kSolarMinimum), landMask, dip);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor::fromRgb(kPalette[kBlack]), 0));
    p.setBrush(Qt::NoBrush);
    p.setFont(PixelFont(15, true));
    const char* const titles[] = {"Solar maximum", "Solar minimum"};
    for (int g = 0; g < 2; ++g) {
        p.drawEllipse(QPoint(kGlobeX[g], kGlobeY), kGlobeRadius, kGlobeRadius);
        const int w = QFontMetrics(p.font()).horizontalAdvance(titles[g]);
        p.drawText(kGlobeX[g] - w / 2, 26, titles[g]);
    }
    DrawLegend(p);
    p.end();
    return ToIndexed(image, kPalette);
}

}  // namespace pictures
