#include "canvas.h"

#include <QPainter>

#include <limits>
#include <stdexcept>

namespace pictures {

Projection Equirectangular(const QRectF& area)
{
    return [area](const GeoPoint& p) {
        return QPointF(area.left() + (p.lon + 180) / 360 * area.width(), area.top() + (90 - p.lat) / 180 * area.height());
    };
}

QPainterPath AreaPath(const std::vector<Ring>& rings, const Projection& project)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const Ring& r : rings) {
        if (r.line)
            continue;
        QPolygonF polygon;
        for (const GeoPoint& p : r.points)
            polygon << project(p);
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    return path;
}

QPainterPath OutlinePath(const std::vector<Ring>& rings, const Projection& project)
{
    QPainterPath path;
    for (const Ring& r : rings) {
        const std::size_t n = r.points.size();
        const std::size_t edges = r.line ? n - 1 : n;
        bool drawing = false;
        for (std::size_t i = 0; i < edges; ++i) {
            const GeoPoint& a = r.points[i];
            const GeoPoint& b = r.points[(i + 1) % n];
            if (!r.line && IsCutEdge(a, b)) {
                drawing = false;
                continue;
            }
            if (!drawing)
                path.moveTo(project(a));
            path.lineTo(project(b));
            drawing = true;
        }
    }
    return path;
}

QFont PixelFont(int pixelSize, bool bold)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QImage Blank(int width, int height, QRgb background)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

namespace {

int Nearest(QRgb c, const std::vector<QRgb>& palette)
{
    int best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = qRed(c) - qRed(palette[i]), dg = qGreen(c) - qGreen(palette[i]),
                   db = qBlue(c) - qBlue(palette[i]);
        const long d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

}  // namespace

Indexed ToIndexed(const QImage& image, const std::vector<QRgb>& palette)
{
    Indexed out;
    out.width = image.width();
    out.height = image.height();
    out.palette = palette;
    out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (int y = 0; y < out.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < out.width; ++x)
            out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) + static_cast<std::size_t>(x)] =
                static_cast<std::uint8_t>(Nearest(row[x] | 0xFF000000u, palette));
    }
    return out;
}

orbiscope::PackedDib ToPackedDib(const Indexed& picture, unsigned bitCount)
{
    orbiscope::ImageDib dib = orbiscope::ImageDib::New(bitCount, picture.width, picture.height,
                                                       static_cast<std::uint32_t>(picture.palette.size()));
    if (!dib.Valid() || picture.palette.size() > (std::size_t{1} << bitCount))
        throw std::runtime_error("cannot make a packed bitmap of this picture");
    for (std::size_t i = 0; i < picture.palette.size(); ++i) {
        const QRgb c = picture.palette[i];
        dib.SetPaletteEntry(static_cast<std::uint32_t>(i), {static_cast<std::uint8_t>(qBlue(c)),
                                                            static_cast<std::uint8_t>(qGreen(c)),
                                                            static_cast<std::uint8_t>(qRed(c)), 0});
    }
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            dib.SetPixel(x, y, picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                                              static_cast<std::size_t>(x)]);
    return dib.Detach();
}

}  // namespace pictures
