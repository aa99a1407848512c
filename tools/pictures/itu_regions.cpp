// Picture 87, "ITU Regions": the world in equirectangular projection, land
// and sea tinted by ITU region, the boundary lines A, B and C, and a legend.
#include <QPainter>

#include <array>
#include <cmath>
#include <stdexcept>

#include "pictures.h"

namespace pictures {

namespace {

// Countries wholly in Region 1 whatever the lines say (Radio Regulations
// No. 5.3), and Iran, wholly in Region 3 (Nos. 5.3 and 5.5), by their
// codes in countries.txt.
const char* const kRegionOneCountries[] = {"ARM", "AZE", "GEO", "KAZ", "KGZ", "MNG",
                                           "RUS", "TJK", "TKM", "TUR", "UKR", "UZB"};
const char* const kRegionThreeCountries[] = {"IRN"};

// The sea north of the Russian Federation between lines A and C (No. 5.3)
// has no southern limit in the Regulations; drawn from the Arctic Circle.
constexpr double kArcticSeaLatitude = 66.5;
constexpr double kLineALongitude = 40.0;
constexpr double kLineCBeringLongitude = -168.9769;

QImage Rasterize(int width, int height, const std::vector<Ring>& rings, const Projection& project)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(AreaPath(rings, project), Qt::white);
    return image;
}

void Paint(QImage& target, const std::vector<Ring>& rings, const Projection& project, QRgb value)
{
    QPainter p(&target);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(AreaPath(rings, project), QColor::fromRgb(value));
}

}  // namespace

ItuRegionMap::ItuRegionMap(const WorldData& world, int width, int height)
    : width_(width), height_(height), regions_(width, height, QImage::Format_RGB32)
{
    const Projection project = Equirectangular(QRectF(0, 0, width, height));
    regions_.fill(qRgb(1, 0, 0));
    // The code is appended to its letter: a literal put in front of a
    // temporary string makes GCC 12 at -O3 warn of an impossible overlap.
    for (int region = 1; region <= 3; ++region)
        Paint(regions_, Select(world.ituRegions, std::string("R").append(std::to_string(region))), project,
              qRgb(region, 0, 0));
    for (const char* code : kRegionOneCountries)
        Paint(regions_, Select(world.countries, code), project, qRgb(1, 0, 0));
    for (const char* code : kRegionThreeCountries)
        Paint(regions_, Select(world.countries, code), project, qRgb(3, 0, 0));
    land_ = Rasterize(width, height, world.land, project);
}

bool ItuRegionMap::LandAt(int x, int y) const
{
    return qRed(land_.pixel(x, y)) != 0;
}

int ItuRegionMap::RegionAt(int x, int y) const
{
    const double lon = -180 + (x + 0.5) * 360 / width_;
    const double lat = 90 - (y + 0.5) * 180 / height_;
    if (!LandAt(x, y) && lat > kArcticSeaLatitude && (lon >= kLineALongitude || lon <= kLineCBeringLongitude))
        return 1;
    return qRed(regions_.pixel(x, y));
}

namespace {

constexpr int kWidth = 392, kHeight = 235, kMapHeight = 196;

enum Colour : std::uint8_t {
    kBlack, kWhite, kCoast, kLine, kSea1, kLand1, kSea2, kLand2, kSea3, kLand3, kText,
};

const std::vector<QRgb> kPalette = {
    qRgb(0, 0, 0),       qRgb(255, 255, 255), qRgb(70, 70, 70),    qRgb(200, 0, 0),
    qRgb(252, 232, 200), qRgb(228, 160, 80),  qRgb(214, 238, 206), qRgb(112, 176, 96),
    qRgb(228, 216, 244), qRgb(160, 128, 200), qRgb(90, 90, 90),    qRgb(128, 128, 128),
    qRgb(192, 192, 192), qRgb(0, 0, 128),     qRgb(0, 128, 0),     qRgb(128, 0, 0),
};

QColor C(Colour c)
{
    return QColor::fromRgb(kPalette[c]);
}

Colour Fill(int region, bool land)
{
    static constexpr Colour kFills[3][2] = {{kSea1, kLand1}, {kSea2, kLand2}, {kSea3, kLand3}};
    return kFills[region - 1][land ? 1 : 0];
}

void DrawLabel(QPainter& p, const Projection& project, GeoPoint at, const QString& text, int dx)
{
    const QPointF pt = project(at);
    p.drawText(QPointF(pt.x() + dx, pt.y()), text);
}

void DrawLegend(QPainter& p)
{
    p.fillRect(0, kMapHeight, kWidth, kHeight - kMapHeight, C(kWhite));
    p.setPen(C(kBlack));
    p.drawLine(0, kMapHeight, kWidth - 1, kMapHeight);
    p.setFont(PixelFont(11));
    const Colour swatches[3] = {kLand1, kLand2, kLand3};
    const int top = kMapHeight + 14;
    for (int i = 0; i < 3; ++i) {
        const int x = 10 + 88 * i;
        p.fillRect(x, top, 16, 10, C(swatches[i]));
        p.setPen(C(kBlack));
        p.drawRect(x, top, 15, 9);
        p.drawText(x + 22, top + 9, QString("Region %1").arg(i + 1));
    }
    const int x = 10 + 88 * 3;
    p.setPen(QPen(C(kLine), 2));
    p.drawLine(x, top + 5, x + 16, top + 5);
    p.setPen(C(kBlack));
    p.drawText(x + 22, top + 9, "Lines A, B, C");
}

}  // namespace

Indexed ItuRegions(const WorldData& world)
{
    const ItuRegionMap map(world, kWidth, kMapHeight);
    QImage image = Blank(kWidth, kHeight, kPalette[kWhite]);
    for (int y = 0; y < kMapHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, y, kPalette[Fill(map.RegionAt(x, y), map.LandAt(x, y))]);

    const Projection project = Equirectangular(QRectF(0, 0, kWidth, kMapHeight));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(C(kCoast), 0));
    p.drawPath(OutlinePath(world.land, project));
    std::vector<Ring> lines;
    for (const Ring& r : world.ituRegions)
        if (r.line)
            lines.push_back(r);
    p.setPen(QPen(C(kLine), 0));
    p.drawPath(OutlinePath(lines, project));

    p.setFont(PixelFont(11, true));
    p.setPen(C(kLine));
    DrawLabel(p, project, {60, -56}, "A", 3);
    DrawLabel(p, project, {-20, -56}, "B", 3);
    DrawLabel(p, project, {-120, -56}, "C", 3);
    p.setFont(PixelFont(18, true));
    p.setPen(C(kBlack));
    DrawLabel(p, project, {12, -42}, "1", 0);
    DrawLabel(p, project, {-100, -42}, "2", 0);
    DrawLabel(p, project, {95, -42}, "3", 0);
    DrawLegend(p);
    p.end();
    return ToIndexed(image, kPalette);
}

}  // namespace pictures
